#include "game/app/TitleController.h"

#include "engine/media/AnimatedSprite.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/Menu.h"
#include "game/app/Game.h"
#include "game/play/Player.h"

namespace {

const char* const TITLE_MUSIC = "mus/title.ogg";

// Used when there is no screen to measure (nothing is drawn then anyway).
constexpr int FALLBACK_WIDTH = 800;
constexpr int FALLBACK_HEIGHT = 600;

constexpr float HIGH_WIDTH = 800.0f;
constexpr float HIGH_HEIGHT = 600.0f;
constexpr float LOW_WIDTH = 640.0f;
constexpr float LOW_HEIGHT = 480.0f;

} // namespace

TitleController::TitleController(Game* owner)
    : StateController("title")
    , fixedGame(owner)
{
}

Game* TitleController::game() const
{
    return fixedGame != nullptr ? fixedGame : Game::instance();
}

AnimatedSprite* TitleController::addPicture(const std::string& file, int frame, int x, int y, int layer)
{
    auto* picture = new AnimatedSprite();
    picture->datafile.load(file);
    picture->frame = static_cast<float>(frame);
    picture->alignment = 1;
    picture->setPosition(x, y);
    if (!game()->addSprite(picture, layer)) {
        delete picture;
        return nullptr;
    }
    return picture;
}

void TitleController::enter()
{
    Game* owner = game();
    if (owner == nullptr) {
        return;
    }

    // The fish itself is never shown here; it carries the key bindings that
    // the key configuration page edits. The state deletes it.
    player = new Player();
    owner->player = player;
    if (!owner->addSprite(player, -1)) {
        owner->player = nullptr;
        delete player;
        player = nullptr;
    }

    if (owner->sound != nullptr) {
        owner->sound->playMusicIfChanged(TITLE_MUSIC, true);
    }
    int width = FALLBACK_WIDTH;
    int height = FALLBACK_HEIGHT;
    if (owner->screen != nullptr) {
        owner->screen->captureFrame();
        width = owner->screen->width;
        height = owner->screen->height;
    }
    int halfWidth = width / 2;
    int halfHeight = height / 2;

    addPicture("title.dat", 0, halfWidth - 150, halfHeight - 180, TOP_LAYER);
    addPicture("title.dat", 1, halfWidth + 100, halfHeight + 200, TOP_LAYER);
    addPicture("bg0.dat", 0, halfWidth, halfHeight, BACKGROUND_LAYER);

    menu = new Menu(false);
    menu->alignment = 1;
    menu->lineSpacing = 0;
    menu->setPosition(halfWidth, halfHeight - MENU_RISE);
    menu->callback = [owner](const std::string& action) {
        // Sliders and text fields send nothing worth handling.
        if (!action.empty()) {
            owner->postAction(action);
        }
    };
    // The toggles start out showing the display settings in force.
    readDisplaySettings(owner);
    fillPages(owner);
    // Linking highlights the first line.
    menu->linkTo("Main");
    menu->update(SETTLE_STEP);
    menu->moveSound = "bubble";
    menu->activateSound = "bubblehit";
    if (!owner->addSprite(menu, TOP_LAYER)) {
        delete menu;
        menu = nullptr;
    }
    owner->titleMenu = menu;
}

void TitleController::fillPages(Game* owner)
{
    menu->addAction("Main", "Play!", "start");
    menu->addAction("Main", "Options", "LINKTO:Options");
    menu->addAction("Main", "Profiles", "LINKTO:NewProfile");
    menu->addAction("Main", "MiniGames", "LINKTO:MiniGames");
    menu->addAction("Main", "Credits", "credits");
    menu->addAction("Main", "Quit", "quit");

    menu->addAction("MiniGames", "Shell Game", "LEVEL:1000");
    menu->addAction("MiniGames", "Dorir Go Boom", "LEVEL:1001");
    menu->addAction("MiniGames", "Dance Dance Dorir", "LEVEL:1002");
    menu->addAction("MiniGames", "Dorir Invaders", "LEVEL:1003");
    menu->addAction("MiniGames", "Back", "LINKTO:Main");

    menu->addAction("BadMiniGame", "Mini Game Locked!", "LINKTO:MiniGames");
    menu->addAction("BadMiniGame", "Beat More Levels to Unlock", "LINKTO:MiniGames");

    int musicVolume = 255;
    int sfxVolume = 255;
    if (owner->sound != nullptr) {
        musicVolume = static_cast<int>(owner->sound->musicVolume);
        sfxVolume = owner->sound->sfxVolume;
    }
    menu->addSlider("Options", "Music", musicVolume, 255, [this](int volume) { changeMusicVolume(volume); });
    menu->addSlider("Options", "SFX", sfxVolume, 255, [this](int volume) { changeSfxVolume(volume); });
    // The choice lives in the profile; saved at once, it outlasts a quit.
    menu->addToggle(
        "Options", "Water Effect", "", &owner->waterEffect, "On", "Off", [owner] { owner->saveProgress(); });
    menu->addToggle(
        "Options", "Resolution", "", &owner->highResolution, "High", "Low", [this] { changeResolution(); });
    menu->addToggle(
        "Options", "Fullscreen", "", &owner->fullscreenOption, "On", "Off", [this] { changeDisplayMode(); });
    menu->addAction("Options", "Key Config", "LINKTO:KeyConfig");
    menu->addAction("Options", "Back", "exitOptionsMenu");

    if (player != nullptr) {
        menu->addKeyBinding("KeyConfig", "Up", "up", player);
        menu->addKeyBinding("KeyConfig", "Down", "down", player);
        menu->addKeyBinding("KeyConfig", "Left", "left", player);
        menu->addKeyBinding("KeyConfig", "Right", "right", player);
        menu->addKeyBinding("KeyConfig", "Action", "fire", player);
    }
    menu->addAction("KeyConfig", "Reset", "resetKeyConfig");
    menu->addAction("KeyConfig", "Back", "saveKeyConfig");

    for (const std::string& name : owner->profiles) {
        menu->addAction("NewProfile", name, "SETPROFILE:" + name);
    }
    menu->addAction("NewProfile", "Create New", "LINKTO:CreateNew");
    menu->addAction("NewProfile", "Delete...", "LINKTO:DeleteProfile");
    menu->addAction("NewProfile", "Back", "LINKTO:Main");

    menu->addTextField("CreateNew", "Name:", &owner->newProfileName, PROFILE_NAME_LENGTH);
    menu->addAction("CreateNew", "Create", "createNewProfile");
    menu->addAction("CreateNew", "Back", "LINKTO:NewProfile");

    for (const std::string& name : owner->profiles) {
        menu->addAction("DeleteProfile", "Delete: " + name, "DELPROFILE:" + name);
    }
    menu->addAction("DeleteProfile", "Back", "LINKTO:NewProfile");
}

void TitleController::leave()
{
    Game* owner = game();
    // The state deletes the menu and the fish right after this.
    if (owner != nullptr) {
        if (owner->titleMenu == menu) {
            owner->titleMenu = nullptr;
        }
        if (owner->player == player) {
            owner->player = nullptr;
        }
    }
    menu = nullptr;
    player = nullptr;
}

void TitleController::update(float dt)
{
    StateController::update(dt);
    if (Game* owner = game()) {
        readDisplaySettings(owner);
    }
}

void TitleController::readDisplaySettings(Game* owner)
{
    // Without a "resx" setting (a first start) the window opens 800 wide:
    // the toggle shows the size really shown, so the first choice of
    // "Resolution" changes it.
    float resx = owner->setting("resx");
    if (owner->screen != nullptr && owner->screen->width == static_cast<int>(HIGH_WIDTH)) {
        resx = HIGH_WIDTH;
    }
    owner->highResolution = resx == HIGH_WIDTH;
    owner->fullscreenOption = owner->setting("fullscreen") != 0.0f;
}

void TitleController::changeResolution()
{
    Game* owner = game();
    if (owner == nullptr) {
        return;
    }
    float width = owner->highResolution ? HIGH_WIDTH : LOW_WIDTH;
    float height = owner->highResolution ? HIGH_HEIGHT : LOW_HEIGHT;
    owner->settings["resx"] = width;
    owner->settings["resy"] = height;
    if (owner->screen != nullptr) {
        owner->screen->changeResolution(static_cast<int>(width), static_cast<int>(height));
    }
    owner->modeChanged();
    // Everything on the title is placed for the old size.
    owner->postAction("JUMPSTATE:title");
}

void TitleController::changeDisplayMode()
{
    Game* owner = game();
    if (owner == nullptr) {
        return;
    }
    owner->settings["fullscreen"] = owner->fullscreenOption ? 1.0f : 0.0f;
    if (owner->screen != nullptr && owner->screen->fullscreen != owner->fullscreenOption) {
        owner->toggleFullscreen();
        // A switch the display refused leaves the old mode in force; the
        // setting (and so the toggle) follows what is really shown.
        owner->settings["fullscreen"] = owner->screen->fullscreen ? 1.0f : 0.0f;
    }
    owner->modeChanged();
}

void TitleController::changeMusicVolume(int volume)
{
    Game* owner = game();
    if (owner != nullptr && owner->sound != nullptr) {
        owner->sound->setMusicVolume(volume);
    }
}

void TitleController::changeSfxVolume(int volume)
{
    Game* owner = game();
    if (owner != nullptr && owner->sound != nullptr) {
        owner->sound->setSfxVolume(volume);
        owner->sound->playThrottled("bubble", SFX_SAMPLE_INTERVAL);
    }
}
