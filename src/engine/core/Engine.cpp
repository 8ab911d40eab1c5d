#include "engine/core/Engine.h"

#include "engine/core/DebugLog.h"
#include "engine/core/Folders.h"
#include "engine/core/GameState.h"
#include "engine/core/SafeFile.h"
#include "engine/core/StateController.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/PngWriter.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/TextSprite.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <vector>

std::atomic<int> Engine::tickCount { 0 };

namespace {

Engine* theEngine = nullptr;

constexpr float MAX_DT = 0.06666667f;
constexpr int MAX_CATCH_UP_TICKS = 6;
constexpr int SCRATCH_WIDTH = 800;
constexpr int SCRATCH_HEIGHT = 600;
constexpr int CREDITS_LAYER = 4;
constexpr float CREDITS_SPEED = 50.0f;
constexpr float CREDITS_FADE_SECONDS = 0.4f;
constexpr int DEFAULT_WIDTH = 800;
constexpr int DEFAULT_HEIGHT = 600;
constexpr int LOW_WIDTH = 640;
constexpr int LOW_HEIGHT = 480;
// Larger than any screen; keeps a damaged setting from asking for gigabytes.
constexpr int MAX_SIDE = 16384;

std::atomic<bool> stopAsked { false };

void stopSignal(int)
{
    Engine::requestStop();
}

void closeButtonPressed()
{
    Engine::requestStop();
}
END_OF_FUNCTION(closeButtonPressed)

// Allegro installs handlers of its own that abort on SIGTERM and SIGINT;
// ours replace them so a desktop logging out or Ctrl+C in a terminal ends
// the game the way "Quit" does, files saved.
void catchStopSignals()
{
    struct sigaction action { };
    action.sa_handler = stopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void timerTick()
{
    Engine::tickCount.fetch_add(1);
}
END_OF_FUNCTION(timerTick)

int assertionToLog(const char* message)
{
    DebugLog::log(message != nullptr ? message : "", true);
    return 0;
}

// A setting as a whole number; values no int can hold count as 0.
int settingToInt(float value)
{
    if (!std::isfinite(value) || value >= 2147483648.0f || value <= -2147483648.0f) {
        return 0;
    }
    return static_cast<int>(value);
}

// A settings value token: a decimal number, anything else reads as 0.
float parseSetting(const std::string& token)
{
    const char* start = token.c_str();
    char* end = nullptr;
    float value = std::strtof(start, &end);
    if (end == start || *end != '\0' || !std::isfinite(value)) {
        return 0.0f;
    }
    return value;
}

unsigned long milliseconds()
{
    using namespace std::chrono;
    return static_cast<unsigned long>(
        duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

Engine::Engine()
{
    theEngine = this;
    readSettings();
}

Engine::~Engine()
{
    // Normally shutdown() has emptied everything; this catches a frame that
    // never ran it (tests, early exits) without calling back into a
    // half-destroyed subclass.
    while (!stateStack.empty()) {
        GameState* top = stateStack.back();
        stateStack.pop_back();
        top->clear();
        delete top;
    }
    delete screen;
    screen = nullptr;
    delete sound;
    sound = nullptr;
    if (theEngine == this) {
        theEngine = nullptr;
    }
}

Engine* Engine::instance()
{
    return theEngine;
}

void Engine::init()
{
    srand(static_cast<unsigned>(time(nullptr)));
    DebugLog::log("KVEngine_19");
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
        std::string reason = allegro_error;
        DebugLog::log("Can't initialize Allegro" + (reason.empty() ? std::string(".") : ": " + reason), true);
        return;
    }
    detachAllegroConfig();
    sound = new SoundManager();
    LOCK_VARIABLE(tickCount);
    LOCK_FUNCTION(timerTick);
    install_timer();
    install_int(timerTick, 10);
    install_keyboard();
    if (useMouse) {
        install_mouse();
    }
    if (Gamepad::install()) {
        DebugLog::log("Gamepad found: it plays as the arrows, Space, Enter and Esc");
    }
    register_assert_handler(assertionToLog);
    catchStopSignals();

    int width = 0;
    int height = 0;
    bool fullscreen = false;
    configuredMode(width, height, fullscreen);
    screen = new Screen(width, height, fullscreen, false);
    LOCK_FUNCTION(closeButtonPressed);
    set_close_button_callback(closeButtonPressed);
}

void Engine::detachAllegroConfig()
{
    // Allegro saves its configuration as allegro.cfg when it closes (also
    // from its signal handler) whenever a driver has changed a value; that
    // file would land in the player's folder. The values read stay in use,
    // held in memory with no file behind them.
    std::string text;
    auto appendSection = [&text](const char* section) {
        const char** entries = nullptr;
        int count = list_config_entries(section, &entries);
        for (int i = 0; i < count; ++i) {
            text += std::string(entries[i]) + " = " + get_config_string(section, entries[i], "") + "\n";
        }
        free_config_entries(&entries);
    };
    appendSection(nullptr);
    const char** sections = nullptr;
    int count = list_config_sections(&sections);
    for (int i = 0; i < count; ++i) {
        text += std::string(sections[i]) + "\n";
        appendSection(sections[i]);
    }
    free_config_entries(&sections);
    set_config_data(text.c_str(), static_cast<int>(text.size()));
}

void Engine::configuredMode(int& width, int& height, bool& fullscreen)
{
    width = settingToInt(setting("resx"));
    height = settingToInt(setting("resy"));
    fullscreen = settingToInt(setting("fullscreen")) != 0;
    if (fullscreenOverride >= 0) {
        fullscreen = fullscreenOverride != 0;
    }
    // Allegro is asked for exactly this window and allocates its back buffer
    // from it, so a side that is negative or absurdly large counts as unset.
    auto sideOrUnset = [](const char* key, int side) {
        if (side < 0 || side > MAX_SIDE) {
            DebugLog::log(std::string("settings.cfg: ") + key + " " + std::to_string(side)
                + " cannot be a window side; the default is used");
            return 0;
        }
        return side;
    };
    width = sideOrUnset("resx", width);
    height = sideOrUnset("resy", height);
    if (width == 0) {
        width = DEFAULT_WIDTH;
    }
    if (height == 0) {
        height = DEFAULT_HEIGHT;
    }
    if (!standardResolutionsOnly) {
        return;
    }
    if (width != DEFAULT_WIDTH && width != LOW_WIDTH) {
        DebugLog::log("settings.cfg: resx " + std::to_string(width) + " is not a size the game offers; "
            + std::to_string(DEFAULT_WIDTH) + " x " + std::to_string(DEFAULT_HEIGHT) + " is used");
        width = DEFAULT_WIDTH;
        height = DEFAULT_HEIGHT;
        return;
    }
    // Each width the game offers has its own height.
    int matching = width == LOW_WIDTH ? LOW_HEIGHT : DEFAULT_HEIGHT;
    if (height != matching) {
        DebugLog::log("settings.cfg: resy " + std::to_string(height) + " does not go with resx "
            + std::to_string(width) + "; " + std::to_string(matching) + " is used");
        height = matching;
    }
}

void Engine::update(float dt)
{
    get_mouse_mickeys(&mouseMickeyX, &mouseMickeyY);
    gamepad.update();
    ActionMap::update(dt);
    if (screen != nullptr) {
        screen->update(dt);
    }
    if (sound != nullptr) {
        sound->update(dt);
    }

    // Every state from the bottom up, over the stack as it stands now: a
    // state pushed during the pass waits for the next frame, one popped
    // during the pass is skipped.
    std::vector<std::pair<GameState*, unsigned long>> pass;
    pass.reserve(stateStack.size());
    for (GameState* state : stateStack) {
        pass.emplace_back(state, state->serial);
    }
    for (const auto& [state, serial] : pass) {
        if (std::find(stateStack.begin(), stateStack.end(), state) == stateStack.end()
            || state->serial != serial) {
            continue;
        }
        std::string name = state->name;
        auto controller = controllers.find(name);
        if (controller != controllers.end()) {
            controller->second->update(dt);
        } else {
            updateState(name, dt);
        }
    }

    // Posted actions, including those posted while delivering.
    while (!actionQueue.empty()) {
        std::string action = actionQueue.front();
        actionQueue.pop_front();
        onAction(action, true);
    }

    // F12 belongs to no binding of the game's: it works on every screen.
    bool screenshotKey = key[KEY_F12] != 0;
    if (screenshotKey && !screenshotKeyDown) {
        saveScreenshot();
    }
    screenshotKeyDown = screenshotKey;

    if (setting("enableAltEnter") != 0.0f && (key_shifts & KB_ALT_FLAG) != 0 && key[KEY_ENTER] != 0) {
        toggleFullscreen();
    }
}

void Engine::loop()
{
    quit = false;
    tickCount = 0;
    framesThisSecond = 0;
    fps = 0;
    fpsAccumulator = 0.0f;
    lastFrameStart = milliseconds();
    do {
        if (stopAsked.exchange(false)) {
            stopOnRequest();
            if (quit) {
                break;
            }
        }
        if (fixedSteps) {
            while (tickCount.load() == 0 && !stopAsked.load()) {
                rest(1);
            }
            // A machine that falls far behind loses time rather than
            // running a burst of frames.
            const int ticks = std::min(tickCount.exchange(0), MAX_CATCH_UP_TICKS);
            for (int i = 0; i < ticks && !quit; ++i) {
                frame(1);
            }
            continue;
        }
        if (frameCap > 0) {
            waitForFrameSlot();
        }
        frame(tickCount.exchange(0));
    } while (!quit);
}

void Engine::waitForFrameSlot()
{
    const unsigned long interval = 1000UL / static_cast<unsigned long>(frameCap);
    // Sleeping a millisecond at a time keeps the loop off the processor;
    // dt still comes from the timer's ticks, so the game runs as before.
    while ((milliseconds() - lastFrameStart < interval || tickCount.load() == 0) && !stopAsked.load()) {
        rest(1);
    }
    lastFrameStart = milliseconds();
}

void Engine::requestStop()
{
    stopAsked.store(true);
}

bool Engine::stopRequested()
{
    return stopAsked.load();
}

void Engine::stopOnRequest()
{
    DebugLog::log("Asked to stop; quitting");
    writeSettings();
    quit = true;
}

std::string Engine::saveScreenshot()
{
    if (screen == nullptr || screen->backBuffer == nullptr) {
        return std::string();
    }
    std::string folder = Folders::writable("screenshots");
    if (!Folders::makeFolders(folder)) {
        DebugLog::log("Could not make the folder [" + folder + "] for screenshots");
        return std::string();
    }
    std::time_t now = std::time(nullptr);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
    // Two shots in one second keep both: the second gets a number.
    std::string path = folder + "/tidewander-" + stamp + ".png";
    for (int n = 2; exists(path.c_str()) && n < 100; ++n) {
        path = folder + "/tidewander-" + stamp + "-" + std::to_string(n) + ".png";
    }
    std::string error;
    if (!PngWriter::save(screen->backBuffer, path, error)) {
        DebugLog::log("Could not save a screenshot: " + error);
        return std::string();
    }
    DebugLog::log("Screenshot saved as [" + path + "]");
    return path;
}

void Engine::frame(int ticks)
{
    float dt = static_cast<float>(ticks * 10 * 0.001);
    if (dt > MAX_DT) {
        dt = MAX_DT;
    }
    if (timeScale != 1.0f) {
        dt *= timeScale;
    }

    update(dt);

    if (screen != nullptr && screen->backBuffer != nullptr && !noClear) {
        clear_to_color(screen->backBuffer, 0);
    }
    drawUnderlay();
    if (screen != nullptr) {
        screen->render();
    }
    drawOverlay();
    if (screen != nullptr) {
        screen->present();
    }

    ++framesThisSecond;
    if (resetTimer) {
        tickCount = 0;
        resetTimer = false;
    }
    fpsAccumulator += dt;
    if (fpsAccumulator > 1.0f) {
        fps = framesThisSecond;
        framesThisSecond = 0;
        fpsAccumulator = 0.0f;
    }
    // A frame inside one tick has no meaningful rate; keep the last one.
    if (dt > 0.0f) {
        instantFps = 1.0f / dt;
    }
    collectGarbage();
}

void Engine::shutdown()
{
    popAllStates();
    DatafileManager::unloadAll();
    delete screen;
    screen = nullptr;
    delete sound;
    sound = nullptr;
    allegro_exit();
}

void Engine::updateState(std::string, float) { }

void Engine::stateEntered(const std::string&) { }

void Engine::stateLeaving(std::string name)
{
    // The record being popped is the top one; only when the top has another
    // name does the search by name decide.
    GameState* state = nullptr;
    if (!stateStack.empty() && stateStack.back()->name == name) {
        state = stateStack.back();
    } else {
        state = getState(name);
    }
    if (state != nullptr) {
        state->clear();
    }
}

void Engine::modeChanged() { }

void Engine::drawOverlay() { }

void Engine::drawUnderlay() { }

void Engine::collectGarbage()
{
    for (auto state = stateStack.rbegin(); state != stateStack.rend(); ++state) {
        (*state)->purge();
    }
}

void Engine::drawText(BITMAP* target, FONT* textFont, std::string s, int x, int y, int colour)
{
    if (target == nullptr || textFont == nullptr) {
        return;
    }
    textout_ex(target, textFont, s.c_str(), x, y, colour, -1);
}

void Engine::drawText(BITMAP* target, std::string s, int x, int y, int colour, int align)
{
    if (target == nullptr || font == nullptr) {
        return;
    }
    switch (align) {
    case 0:
        textout_ex(target, font, s.c_str(), x, y, colour, -1);
        break;
    case 1:
        textout_centre_ex(target, font, s.c_str(), x, y, colour, -1);
        break;
    case 3:
        textout_right_ex(target, font, s.c_str(), x, y, colour, -1);
        break;
    default:
        break;
    }
}

int Engine::textHeight(FONT* textFont)
{
    return textFont != nullptr ? text_height(textFont) : 0;
}

int Engine::textLength(const std::string& s, FONT* textFont)
{
    return textFont != nullptr ? text_length(textFont, s.c_str()) : 0;
}

void Engine::registerController(StateController* controller)
{
    if (controller != nullptr) {
        controllers[controller->name] = controller;
    }
}

void Engine::pushState(const std::string& name)
{
    std::string stateName = name; // name may live in a record that a hook destroys
    stateStack.push_back(new GameState(this, screen, stateName));
    auto controller = controllers.find(stateName);
    if (controller != controllers.end()) {
        controller->second->enter();
    }
    stateEntered(stateName);
}

void Engine::popState()
{
    if (stateStack.empty()) {
        return;
    }
    GameState* top = stateStack.back();
    std::string name = top->name;
    auto controller = controllers.find(name);
    if (controller != controllers.end()) {
        controller->second->leave();
    }
    stateLeaving(name);
    auto found = std::find(stateStack.begin(), stateStack.end(), top);
    if (found != stateStack.end()) {
        stateStack.erase(found);
        delete top;
    }
}

void Engine::jumpState(const std::string& name)
{
    std::string stateName = name;
    popAllStates();
    pushState(stateName);
}

void Engine::popAllStates()
{
    while (!stateStack.empty()) {
        popState();
    }
}

GameState* Engine::getState(const std::string& name)
{
    for (GameState* state : stateStack) {
        if (state->name == name) {
            return state;
        }
    }
    return nullptr;
}

void Engine::addStateAction(std::string name, int code)
{
    if (stateStack.empty()) {
        DebugLog::log("Can't addStateAction without States.", true);
        return;
    }
    stateStack.back()->stateActions.push_back(name);
    bind(name, code);
}

bool Engine::addSprite(Sprite* sprite, int layer)
{
    if (stateStack.empty()) {
        return false;
    }
    return stateStack.back()->addSprite(sprite, layer);
}

void Engine::removeSprite(Sprite* sprite)
{
    if (!stateStack.empty()) {
        stateStack.back()->removeSprite(sprite);
    }
}

int Engine::postAction(const std::string& action)
{
    actionQueue.push_back(action);
    return static_cast<int>(actionQueue.size());
}

void Engine::readSettings()
{
    std::ifstream in(Folders::writable("settings.cfg"));
    if (!in) {
        return;
    }
    std::string key;
    std::string value;
    while (in >> key) {
        if (!(in >> value)) {
            break;
        }
        settings[key] = parseSetting(value);
    }
}

bool Engine::writeSettings()
{
    SafeFile file(Folders::writable("settings.cfg"));
    for (const auto& [key, value] : settings) {
        char number[32];
        std::snprintf(number, sizeof number, "%g", static_cast<double>(value));
        file.stream() << key << ' ' << number << '\n';
    }
    if (!file.commit()) {
        DebugLog::log("Can't write settings.cfg");
        return false;
    }
    return true;
}

float Engine::setting(const std::string& key)
{
    return settings[key];
}

void Engine::fadeIn(float seconds)
{
    if (screen == nullptr || screen->backBuffer == nullptr) {
        return;
    }
    BITMAP* scratch = create_bitmap(SCRATCH_WIDTH, SCRATCH_HEIGHT);

    // The new scene, drawn once and kept.
    clear_to_color(screen->backBuffer, 0);
    drawUnderlay();
    screen->render();
    drawOverlay();
    if (scratch != nullptr) {
        blit(screen->backBuffer, scratch, 0, 0, 0, 0, SCRATCH_WIDTH, SCRATCH_HEIGHT);
    }

    unsigned long start = milliseconds();
    unsigned long end = start + static_cast<unsigned long>(std::max(0.0f, seconds) * 1000.0f);
    float previous = seconds;
    while (scratch != nullptr && milliseconds() < end) {
        unsigned long iterationStart = milliseconds();
        if (sound != nullptr) {
            sound->update(previous);
        }
        blit(scratch, screen->backBuffer, 0, 0, 0, 0, SCRATCH_WIDTH, SCRATCH_HEIGHT);
        int alpha = 255;
        if (seconds > 0.0f) {
            alpha = 255 - static_cast<int>((milliseconds() - start) * 0.255 / seconds);
            alpha = std::clamp(alpha, 0, 255);
        }
        if (screen->snapshot != nullptr) {
            set_trans_blender(0, 0, 0, alpha);
            draw_trans_sprite(screen->backBuffer, screen->snapshot, 0, 0);
        }
        screen->present();
        previous = static_cast<float>((milliseconds() - iterationStart) * 0.001);
    }

    drawUnderlay();
    screen->render();
    drawOverlay();
    screen->present();
    resetTimer = true;
    if (scratch != nullptr) {
        destroy_bitmap(scratch);
    }
}

void Engine::creditsRoll(const std::string& file, FONT* textFont, const std::string& exitAction)
{
    int width = 0;
    int height = 0;
    if (screen != nullptr) {
        screen->captureFrame();
        width = screen->width;
        height = screen->height;
    }
    const int lineHeight = textHeight(textFont);

    // Every line starts below the screen and travels the same distance at
    // the same speed, so the block keeps its spacing as it scrolls.
    std::ifstream in(file);
    std::string line;
    for (int i = 0; std::getline(in, line); ++i) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        auto* text = new TextSprite();
        text->text = line;
        text->font = textFont;
        text->alignment = 1;
        text->setPosition(width / 2, height + (i + 2) * lineHeight);
        text->moveTo(width / 2, i * lineHeight - 100 * height, CREDITS_SPEED);
        if (!addSprite(text, CREDITS_LAYER)) {
            delete text;
            break;
        }
    }

    addStateAction(exitAction, ActionMap::ANY_KEY);
    fadeIn(CREDITS_FADE_SECONDS);
}

void Engine::toggleFullscreen()
{
    if (screen == nullptr) {
        return;
    }
    int width = screen->width;
    int height = screen->height;
    if (!screen->fullscreen) {
        if (set_gfx_mode(GFX_AUTODETECT, width, height, 0, 0) != 0) {
            set_gfx_mode(GFX_AUTODETECT_WINDOWED, width, height, 0, 0);
            return;
        }
        screen->fullscreen = true;
    } else {
        if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, width, height, 0, 0) != 0) {
            set_gfx_mode(GFX_AUTODETECT, width, height, 0, 0);
            return;
        }
        screen->fullscreen = false;
    }
    modeChanged();
}

bool Engine::addSpriteToState(Sprite* sprite, int layer)
{
    return theEngine != nullptr && theEngine->addSprite(sprite, layer);
}

void Engine::removeSpriteFromState(Sprite* sprite)
{
    if (theEngine != nullptr) {
        theEngine->removeSprite(sprite);
    }
}

void Engine::addActionToState(std::string name, int code)
{
    if (theEngine != nullptr) {
        theEngine->addStateAction(name, code);
    }
}

void Engine::fade(float seconds)
{
    if (theEngine != nullptr) {
        theEngine->fadeIn(seconds);
    }
}

void Engine::popTopState()
{
    if (theEngine != nullptr) {
        theEngine->popState();
    }
}

GameState* Engine::findState(const std::string& name)
{
    return theEngine != nullptr ? theEngine->getState(name) : nullptr;
}

int Engine::post(const std::string& action)
{
    return theEngine != nullptr ? theEngine->postAction(action) : 0;
}
