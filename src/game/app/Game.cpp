#include "game/app/Game.h"

#include "engine/core/DebugLog.h"
#include "engine/core/Folders.h"
#include "engine/core/GameState.h"
#include "engine/core/SafeFile.h"
#include "engine/core/StateController.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/Menu.h"
#include "game/app/EndScreens.h"
#include "game/app/HelpScreen.h"
#include "game/app/Hud.h"
#include "game/app/LogoController.h"
#include "game/app/ProfileList.h"
#include "game/app/ProgressFile.h"
#include "game/app/TitleController.h"
#include "game/creatures/Creature.h"
#include "game/minigames/CutSceneController.h"
#include "game/play/InGameController.h"
#include "game/play/LevelSelectController.h"
#include "game/play/Player.h"
#include "game/play/PowerupShopController.h"
#include "game/play/TileMap.h"

#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

const char* const Game::SUPPORT_ADDRESS = "https://tidewander.example/support";

namespace {

Game* theGame = nullptr;

const char* const PROFILE_FOLDER = "profiles";
constexpr int LAYER_COUNT = 5;
constexpr float MENU_FADE_SECONDS = 0.25f;
constexpr float HELP_UNFREEZE_SECONDS = 0.1f;
// Creatures swim on the middle layer, between the tiles and the foreground.
constexpr int CREATURE_LAYER = 2;
// While riding, the camera looks ahead of the friend, to what comes at it.
constexpr float RIDE_LOOK_AHEAD = 200.0f;
constexpr int FALLBACK_WIDTH = 800;
constexpr int FALLBACK_HEIGHT = 600;
// The statue that walls the fish in is known by its pictures.
const char* const SENTINEL_DATAFILE = "dat/sentinel.dat";

bool contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

// The rest of an action text from a fixed position on ("" when it is shorter).
std::string argumentFrom(const std::string& action, size_t position)
{
    return action.size() > position ? action.substr(position) : std::string();
}

// A decimal number at the start of the text, as the menus write it; anything
// else reads as 0, and numbers too large for an int are held to its range.
int parseLevelNumber(const std::string& text)
{
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(start, &end, 10);
    if (end == start) {
        return 0;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

// The profiles' own folder, inside the folder the game writes to.
std::string profileFolder()
{
    return Folders::writable(PROFILE_FOLDER);
}

std::string profilesFile()
{
    return Folders::writable(ProfileList::FILE_NAME);
}

void makeProfileFolder()
{
    std::string folder = profileFolder();
    if (!file_exists(folder.c_str(), FA_DIREC | FA_HIDDEN | FA_RDONLY | FA_SYSTEM | FA_ARCH, nullptr)) {
        mkdir(folder.c_str(), 0777);
    }
}

// The files the game saves through a temporary beside them.
bool isGameFolderFile(const std::string& stem)
{
    return stem == "settings.cfg" || stem == ProfileList::FILE_NAME || stem == "volume.cfg";
}

bool isProfileFolderFile(const std::string& stem)
{
    const std::string bindings = ".cfg";
    if (stem == ".progress") {
        return true;
    }
    return stem.size() > bindings.size()
        && stem.compare(stem.size() - bindings.size(), bindings.size(), bindings) == 0
        && ProfileList::isSafeName(stem.substr(0, stem.size() - bindings.size()));
}

void deleteIfPresent(const std::string& path)
{
    if (exists(path.c_str())) {
        delete_file(path.c_str());
    }
}

} // namespace

Game::Game()
{
    theGame = this;
    standardResolutionsOnly = true;
    useMouse = false;
    DebugLog::setFatalMode(true);
    DebugLog::setFatalMessage(
        std::string("Fatal Error: Please visit Technical Support at ") + SUPPORT_ADDRESS);
}

Game::~Game()
{
    if (theGame == this) {
        theGame = nullptr;
    }
}

Game* Game::instance()
{
    return theGame;
}

void Game::init()
{
    Engine::init();
    highResolution = setting("resx") == 800.0f;
    fullscreenOption = setting("fullscreen") != 0.0f;
    noClear = true;
    DatafileManager::setDirectory("dat/");
    set_window_title("Tidewander by Korvenna");

    if (screen != nullptr) {
        screen->layers.resize(LAYER_COUNT);
        screen->layers[0].followCamera = false;
        screen->layers[4].followCamera = false;
    }

    ownedControllers.emplace_back(new TitleController(this));
    ownedControllers.emplace_back(new PowerupShopController(this));
    ownedControllers.emplace_back(new InGameController(this));
    ownedControllers.emplace_back(new LevelSelectController(this));
    ownedControllers.emplace_back(new LogoController(this));
    ownedControllers.emplace_back(new CutSceneController(this));
    for (const auto& controller : ownedControllers) {
        registerController(controller.get());
    }

    removeStaleTemporaries();
    readProfiles();
    loadProgress();

    allegroFont = font;
    fontData.load("font.dat");
    modeChanged();
    // A damaged file may hold something else where the font belongs.
    if (fontData.isLoaded() && fontData.getType(0) == DAT_FONT) {
        font = static_cast<FONT*>(fontData.get(0));
    }

    if (sound != nullptr) {
        sound->loadSamples("sfx/", ".ogg");
    }

    hudIcons.datafile.load("hud.dat");
    hudIcons.alignment = 1;
    hudIcons.setPosition(screen != nullptr ? screen->width / 2 : 400, 20);
    hearts.datafile.load("heart.dat");
    helpPanel.datafile.load("help.dat");
    powerupIcons.datafile.load("powerups.dat");

    if (!firstState.empty()) {
        jumpState(firstState);
    }
}

void Game::shutdown()
{
    // The game font goes with the datafiles; Allegro's own must be in place
    // for anything drawn after this.
    if (allegroFont != nullptr) {
        font = allegroFont;
    }
    Engine::shutdown();
}

void Game::stopOnRequest()
{
    tape.levelLeft();
    saveProgress();
    Engine::stopOnRequest();
}

void Game::update(float dt)
{
    if (!tape.beforeUpdate() && onlyLevel >= 0) {
        quit = true;
        return;
    }
    camera.stepUpdate(dt);
    Engine::update(dt);
    tape.afterUpdate(player);
    if (player != nullptr) {
        updateCamera();
    }
    if (returnTimer > 0.0f) {
        returnTimer -= dt;
        if (returnTimer <= 0.0f) {
            returnTimer = 0.0f;
            jumpState("inGame");
        }
    }
}

void Game::updateState(std::string name, float dt)
{
    if (name == "100%" || name == "eog") {
        if (inputLock > 0.0f) {
            inputLock -= dt;
            if (inputLock < 0.0f) {
                inputLock = 0.0f;
            }
        }
    }
}

void Game::stateEntered(const std::string& name)
{
    const bool outOfLevel = name == "title" || name == "levelSelect" || name == "eog" || name == "credits";
    if (outOfLevel) {
        tape.levelLeft();
    }
    // A run of one level ends with it.
    if (onlyLevel >= 0 && outOfLevel) {
        DebugLog::log("Left the level; quitting");
        quit = true;
        return;
    }
    if (name == "credits") {
        EndScreens::buildCredits(*this);
    } else if (name == "100%") {
        EndScreens::buildHundredPercent(*this);
    } else if (name == "eog") {
        EndScreens::buildEndOfGame(*this);
    } else if (name == "helpText") {
        HelpScreen::build(*this);
    }
}

void Game::stateLeaving(std::string name)
{
    returnTimer = 0.0f;
    Engine::stateLeaving(name);
    if (name == "credits") {
        noClear = true;
    } else if (name == "helpText") {
        freezeTimer = HELP_UNFREEZE_SECONDS;
        if ((player == nullptr || !player->outOfWater) && screen != nullptr) {
            screen->waterEffect = waterEffect;
        }
    }
}

void Game::modeChanged()
{
    if (fontData.isLoaded() && fontData.getType(1) == DAT_PALETTE) {
        set_palette(static_cast<RGB*>(fontData.get(1)));
    }
}

void Game::drawOverlay()
{
    if (screen != nullptr && screen->backBuffer != nullptr) {
        Hud::draw(*this, screen->backBuffer);
    }
}

// ---------------------------------------------------------------------------
// The action handler: one chain of tests, the first that matches with its
// edge acts and ends the call.

void Game::onAction(const std::string& action, bool pressed)
{
    // The end screens ignore every key until their lock has run out, so a
    // key still held from play cannot skip them.
    if ((isOnStack("eog") || isOnStack("100%")) && inputLock != 0.0f) {
        return;
    }
    const bool released = !pressed;

    if (action == "endLevel" && released) {
        jumpState(currentLevel >= 1000 ? "title" : "inGame");
        return;
    }
    if (action == "createNewProfile" && pressed) {
        createProfile(newProfileName);
        postAction("JUMPSTATE:title");
        return;
    }
    if (action == "inGameMenuOpensPowerupShop" && pressed) {
        postAction("closeInGameMenu");
        postAction("pushPowerupShop_true");
        if (menuBackdrop != nullptr) {
            menuBackdrop->visible = false;
        }
        return;
    }
    if (action == "inGameMenuOpensHelpText" && pressed) {
        postAction("closeInGameMenu");
        postAction("pushHelpText_true");
        if (menuBackdrop != nullptr) {
            menuBackdrop->visible = false;
        }
        return;
    }
    // Posted texts are always presses; these two re-enter with the release
    // that the overlays below open on.
    if (action == "pushHelpText_true" && pressed) {
        onAction("pushHelpText", false);
        return;
    }
    if (action == "pushPowerupShop_true" && pressed) {
        onAction("pushPowerupShop", false);
        return;
    }
    if ((action == "pushHelpText" || action == "pushPowerupShop") && released) {
        if (player != nullptr && !player->dead && !frozen && freezeTimer == 0.0f && !isOnStack("helpText")
            && !isOnStack("powerupShop")) {
            pushState(action == "pushHelpText" ? "helpText" : "powerupShop");
        }
        return;
    }
    if (action == "endHelp" && released) {
        if (isOnStack("helpText")) {
            popState();
        }
        return;
    }
    if (contains(action, "SETPROFILE")) {
        switchProfile(argumentFrom(action, 11));
        return;
    }
    if (contains(action, "DELPROFILE:")) {
        deleteProfile(argumentFrom(action, 11));
        return;
    }
    if (contains(action, "LEVEL")) {
        startLevel(parseLevelNumber(argumentFrom(action, 6)));
        return;
    }
    if (action == "credits" && pressed) {
        jumpState("credits");
        return;
    }
    if (action == "exitOptionsMenu" && pressed) {
        writeSettings();
        if (sound != nullptr) {
            sound->saveVolume();
        }
        if (titleMenu != nullptr) {
            titleMenu->linkTo("Main");
        }
        return;
    }
    if (action == "inGameMenuExitsOptions" && pressed) {
        if (sound != nullptr) {
            sound->saveVolume();
        }
        if (inGameMenu != nullptr) {
            inGameMenu->linkTo("Main");
        }
        return;
    }
    if (action == "saveKeyConfig" && pressed) {
        if (player != nullptr) {
            player->saveKeys(bindingsPath());
        }
        if (titleMenu != nullptr) {
            titleMenu->linkTo("Options");
        }
        return;
    }
    if (action == "resetKeyConfig" && pressed) {
        if (player != nullptr) {
            player->setDefaultKeys();
            player->saveKeys(bindingsPath());
        }
        return;
    }
    if (action == "openInGameMenu" && pressed) {
        openInGameMenu();
        return;
    }
    if (action == "closeInGameMenu" && pressed) {
        closeInGameMenu();
        return;
    }
    if (action == "quit" && pressed) {
        writeSettings();
        quit = true;
        return;
    }
    if (action == "start" && pressed) {
        jumpState(highestLevel == 0 ? "cutScene" : "levelSelect");
        return;
    }
    if (contains(action, "JUMPSTATE_FALSE:") && released) {
        std::string target = argumentFrom(action, 16);
        if (!target.empty()) {
            jumpState(target);
        }
        return;
    }
    if (contains(action, "JUMPSTATE:") && pressed) {
        std::string target = argumentFrom(action, 10);
        if (!target.empty()) {
            jumpState(target);
        }
        return;
    }
}

void Game::switchProfile(const std::string& name)
{
    if (!ProfileList::isSafeName(name)) {
        DebugLog::log("Profile name [" + name + "] cannot be used; staying with [" + currentProfile + "]");
        return;
    }
    currentProfile = name;
    loadProgress();
    if (player != nullptr) {
        player->loadKeysForProfile();
    }
    writeProfiles();
    jumpState("title");
}

void Game::deleteProfile(const std::string& name)
{
    if (profiles.size() <= 1) {
        confirm("Cannot Delete Profile [ESC]");
        return;
    }
    if (!confirm("Delete Profile [" + name + "]? [Y/N]")) {
        return;
    }
    int position = -1;
    for (int i = static_cast<int>(profiles.size()) - 1; i >= 0; --i) {
        if (profiles[i] == name) {
            position = i;
            break;
        }
    }
    if (position < 0) {
        return;
    }
    profiles.erase(profiles.begin() + position);
    deleteIfPresent(profileFolder() + "/" + name + ".dat");
    deleteIfPresent(profileFolder() + "/" + name + ".cfg");
    if (currentProfile == name) {
        currentProfile = profiles.front();
    }
    if (player != nullptr) {
        player->loadKeysForProfile();
    }
    loadProgress();
    writeProfiles();
    postAction("JUMPSTATE:title");
}

void Game::startLevel(int level)
{
    if (level >= 100) {
        // The mini-games open after 10, 20, 30 and 40 story levels.
        long game = static_cast<long>(level) - 1000;
        if (highestLevel < 10 * game + 10) {
            if (titleMenu != nullptr) {
                titleMenu->linkTo("BadMiniGame");
            }
            return;
        }
    }
    currentLevel = level;
    jumpState("inGame");
}

void Game::openInGameMenu()
{
    if (player == nullptr || player->dead || freezeTimer != 0.0f || inGameMenu == nullptr
        || inGameMenu->visible || isOnStack("helpText") || frozen) {
        return;
    }
    frozen = true;
    if (screen != nullptr) {
        screen->waterEffect = false;
    }
    if (returnTimer != 0.0f) {
        return;
    }
    player->clearBindings();
    if (menuBackdrop != nullptr) {
        menuBackdrop->visible = true;
        menuBackdrop->alphaTween.start(255.0f, MENU_FADE_SECONDS, 0);
    }
    inGameMenu->linkTo("Main");
    inGameMenu->bindActivateKeys();
    inGameMenu->visible = true;
    inGameMenu->select(0);
    if (screen != nullptr && screen->isValidLayer(4)) {
        screen->removeSprite(inGameMenu, 4);
        screen->addSprite(inGameMenu, 4);
    }
}

void Game::closeInGameMenu()
{
    frozen = false;
    if (screen != nullptr) {
        bool playerOutOfWater = player != nullptr && (player->outOfWater || player->rocketSmoke);
        screen->waterEffect = playerOutOfWater ? false : waterEffect;
    }
    if (player != nullptr) {
        player->loadKeysForProfile();
    }
    if (menuBackdrop != nullptr) {
        menuBackdrop->alphaTween.start(0.0f, MENU_FADE_SECONDS, 0);
    }
    if (inGameMenu != nullptr) {
        inGameMenu->visible = false;
        if (screen != nullptr && screen->isValidLayer(4)) {
            screen->removeSprite(inGameMenu, 4);
        }
    }
}

bool Game::confirm(const std::string& text)
{
    if (screen != nullptr && screen->backBuffer != nullptr) {
        BITMAP* target = screen->backBuffer;
        int w = screen->width;
        int h = screen->height;
        int th = text_height(font);
        drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
        set_trans_blender(0, 0, 0, 128);
        rectfill(target, 0, h / 2 - th / 2 - th / 4, w, h / 2 + th / 2 + th / 4, makecol(0, 0, 0));
        solid_mode();
        drawText(target, text, w / 2, h / 2 - th / 2, -1, 1);
        screen->present();
    }
    return waitForAnswer() == 1;
}

int Game::waitForAnswer()
{
    // Esc may be what brought the prompt up; it must come up first.
    for (;;) {
        if (keyboard_needs_poll()) {
            poll_keyboard();
        }
        if (!key[KEY_ESC]) {
            break;
        }
        rest(1);
    }
    for (;;) {
        if (sound != nullptr) {
            sound->update(0.0f);
        }
        if (keyboard_needs_poll()) {
            poll_keyboard();
        }
        if (key[KEY_Y]) {
            return 1;
        }
        if (key[KEY_N] || key[KEY_ESC]) {
            return 0;
        }
        rest(1);
    }
}

// ---------------------------------------------------------------------------
// Profiles and progress.

std::string Game::bindingsPath() const
{
    if (!ProfileList::isSafeName(currentProfile)) {
        return std::string();
    }
    return profileFolder() + "/" + currentProfile + ".cfg";
}

std::string Game::progressPath() const
{
    if (!ProfileList::isSafeName(currentProfile)) {
        return std::string();
    }
    return profileFolder() + "/" + currentProfile + ".dat";
}

// A write killed half-way leaves its temporary file behind; nothing will
// ever finish it, so the next start clears it away.
void Game::removeStaleTemporaries()
{
    std::vector<std::string> removed = SafeFile::removeLeftovers(Folders::writableRoot(), isGameFolderFile);
    std::vector<std::string> inProfiles = SafeFile::removeLeftovers(profileFolder(), isProfileFolderFile);
    removed.insert(removed.end(), inProfiles.begin(), inProfiles.end());
    for (const std::string& path : removed) {
        DebugLog::log("Removed [" + path + "], left over from an unfinished save");
    }
}

void Game::readProfiles()
{
    makeProfileFolder();
    ProfileList list;
    bool found = list.read(profilesFile());
    profilesUnreadable = list.unreadable;
    if (list.unreadable) {
        // Never replace what cannot be read: it may be whole on the disk.
        DebugLog::log("profiles.cfg cannot be read; playing as [" + std::string(ProfileList::DEFAULT_PROFILE)
            + "] and leaving the file as it is");
        profiles = { ProfileList::DEFAULT_PROFILE };
        currentProfile = ProfileList::DEFAULT_PROFILE;
        return;
    }
    for (const std::string& name : list.skipped) {
        DebugLog::log("Skipped profile [" + name + "] in profiles.cfg: not usable as a file name");
    }
    profiles = list.names;
    if (list.hasCurrent) {
        currentProfile = list.current;
    }
    if (profiles.empty()) {
        if (found && list.lineCount > 0) {
            // Nothing usable in it, but it is the player's file: keep a copy.
            std::string aside = SafeFile::keepAside(profilesFile());
            if (!aside.empty()) {
                DebugLog::log("profiles.cfg held no usable profile; kept as [" + aside + "]");
            } else {
                DebugLog::log("profiles.cfg held no usable profile and could not be kept aside");
            }
        }
        profiles.push_back(ProfileList::DEFAULT_PROFILE);
        currentProfile = ProfileList::DEFAULT_PROFILE;
        writeProfiles();
        return;
    }
    if (list.hasCurrent && std::find(profiles.begin(), profiles.end(), currentProfile) == profiles.end()) {
        // A file cut off mid-name or edited by hand: a profile no menu shows
        // must not be played.
        DebugLog::log("Current profile [" + currentProfile + "] is not in profiles.cfg; playing as ["
            + profiles.front() + "]");
        currentProfile = profiles.front();
    }
    if (!ProfileList::isSafeName(currentProfile)) {
        // No usable current profile named (a one-line file, or an unsafe
        // last line): the first of the list plays.
        currentProfile = profiles.front();
    }
}

void Game::writeProfiles()
{
    if (profilesUnreadable) {
        DebugLog::log("profiles.cfg could not be read at start; not replacing it");
        return;
    }
    if (!ProfileList::write(profilesFile(), profiles, currentProfile)) {
        DebugLog::log("Could not write profiles.cfg");
    }
}

void Game::loadProgress()
{
    std::string path = progressPath();
    if (path.empty()) {
        return;
    }
    ProgressFile file;
    ProgressFile::Result result = file.load(path);
    bool keptAside = true;
    if (result == ProgressFile::Result::Damaged) {
        std::string aside = SafeFile::keepAside(path);
        keptAside = !aside.empty();
        if (keptAside) {
            DebugLog::log("Progress file [" + path + "] is damaged; kept as [" + aside
                + "], the profile starts afresh");
        } else {
            DebugLog::log("Progress file [" + path
                + "] is damaged and could not be kept aside; the "
                  "profile starts afresh");
        }
    } else if (result == ProgressFile::Result::OutOfRange) {
        std::string aside = SafeFile::keepAside(path);
        keptAside = !aside.empty();
        DebugLog::log("Progress file [" + path + "] holds values no game could reach (" + file.problem + "); "
            + (keptAside ? "kept as [" + aside + "]" : "it could not be kept aside")
            + ", the profile starts afresh");
    }
    highestLevel = file.highestLevel;
    bubbleLimit = file.bubbleLimit;
    coins = file.coins;
    waterEffect = file.waterEffect;
    levelPercent = file.levelPercent;
    bestTimes = file.bestTimes;
    // A fresh file at once, but never over a damaged one still in place.
    if (result != ProgressFile::Result::Loaded && keptAside) {
        saveProgress();
    }
}

void Game::saveProgress()
{
    // A map of the player's own or a recording earns nothing in the story.
    if (onlyLevel >= 0) {
        return;
    }
    std::string path = progressPath();
    if (path.empty()) {
        return;
    }
    makeProfileFolder();
    ProgressFile file;
    file.highestLevel = highestLevel;
    file.bubbleLimit = bubbleLimit;
    file.coins = coins;
    file.waterEffect = waterEffect;
    file.levelPercent = levelPercent;
    file.bestTimes = bestTimes;
    if (!file.save(path)) {
        DebugLog::log("Could not write progress file [" + path + "]");
    }
}

void Game::createProfile(const std::string& name)
{
    if (static_cast<int>(profiles.size()) >= MAX_PROFILES) {
        return;
    }
    for (const std::string& known : profiles) {
        if (known == name) {
            return;
        }
    }
    if (!ProfileList::isSafeName(name)) {
        DebugLog::log("Profile name [" + name + "] cannot be used; no profile created");
        return;
    }
    currentProfile = name;
    // Files of this name are normally gone with the profile deleted before;
    // any still there belonged to a profile the list lost, so they are
    // kept aside rather than deleted.
    for (const std::string& path : { bindingsPath(), progressPath() }) {
        if (exists(path.c_str())) {
            std::string aside = SafeFile::keepAside(path);
            DebugLog::log("Profile [" + name + "] had a file [" + path + "] from before; "
                + (aside.empty() ? std::string("it could not be kept aside") : "kept as [" + aside + "]"));
        }
    }
    makeProfileFolder();
    if (player != nullptr) {
        player->setDefaultKeys();
        player->saveKeys(bindingsPath());
    }
    loadProgress();
    profiles.push_back(name);
    writeProfiles();
}

bool Game::isTileBlocked(int column, int row) const
{
    // Without a map there is nowhere to go.
    return mainLayer == nullptr || mainLayer->isTileBlocked(column, row);
}

bool Game::isSolidForPlayer(int column, int row) const
{
    if (mainLayer == nullptr) {
        return true;
    }
    // A sentinel statue is a wall to the fish, though creatures pass it.
    for (const Creature* creature : creatures) {
        if (creature != nullptr && creature->visible && creature->datafile.name == SENTINEL_DATAFILE
            && Creature::cellOf(creature->x) == column && Creature::cellOf(creature->y) == row) {
            return true;
        }
    }
    return mainLayer->isTileBlocked(column, row);
}

bool Game::obstacleAt(float x, float y) const
{
    int column = Creature::cellOf(x);
    int row = Creature::cellOf(y);
    for (const Creature* creature : creatures) {
        if (creature != nullptr && creature->visible && creature->obstacle
            && Creature::cellOf(creature->x) == column && Creature::cellOf(creature->y) == row) {
            return true;
        }
    }
    return false;
}

void Game::moveAlongRow(int direction, Creature* creature, float speed)
{
    static const int STEP_X[] = { -1, 1, 0, 0 };
    static const int STEP_Y[] = { 0, 0, -1, 1 };
    if (creature == nullptr) {
        return;
    }
    if (direction < 0 || direction > 3) {
        DebugLog::log("moveAlongRow: no direction [" + std::to_string(direction) + "]");
        return;
    }
    const int columns = levelWidth / Creature::CELL_SIZE;
    const int rows = levelHeight / Creature::CELL_SIZE;
    int column = Creature::cellOf(creature->x);
    int row = Creature::cellOf(creature->y);
    // The map grid ends every scan, whatever the level claims its size is.
    for (int steps = 0; steps < TileMap::COLUMNS + TileMap::ROWS; ++steps) {
        int nextColumn = column + STEP_X[direction];
        int nextRow = row + STEP_Y[direction];
        if (nextColumn < 0 || nextColumn >= columns || nextRow < 0 || nextRow >= rows
            || isTileBlocked(nextColumn, nextRow)
            || obstacleAt(static_cast<float>(Creature::cellCentre(nextColumn)),
                static_cast<float>(Creature::cellCentre(nextRow)))) {
            break;
        }
        column = nextColumn;
        row = nextRow;
    }
    creature->moveTo(Creature::cellCentre(column), Creature::cellCentre(row), speed);
}

void Game::addCreature(Creature* creature)
{
    if (creature == nullptr) {
        return;
    }
    creature->reset();
    // The level keeps it even when the help, the shop or the award lies on
    // top: those take their own sprites with them when they close, and the
    // creature list would be left pointing at a deleted creature.
    GameState* level = getState("inGame");
    bool kept
        = level != nullptr ? level->addSprite(creature, CREATURE_LAYER) : addSprite(creature, CREATURE_LAYER);
    if (!kept) {
        // Callers go on placing it, and the list still walks it, so it must
        // outlive this call; the game deletes it with the level's lists.
        DebugLog::log("addCreature: no state on the stack to keep the creature");
        strayCreatures.emplace_back(creature);
    }
    creatures.push_back(creature);
}

void Game::clearLevelLists()
{
    creatures.clear();
    treasures.clear();
    strayCreatures.clear();
}

void Game::updateCamera()
{
    if (player == nullptr) {
        return;
    }
    float targetX = player->x;
    float targetY = player->y;
    if (player->ridingFriend) {
        targetX = player->friendSprite.x + RIDE_LOOK_AHEAD;
        targetY = player->friendSprite.y;
    }
    const float halfWidth = static_cast<float>((screen != nullptr ? screen->width : FALLBACK_WIDTH) / 2);
    const float halfHeight = static_cast<float>((screen != nullptr ? screen->height : FALLBACK_HEIGHT) / 2);
    // The view never shows past the level's edges; a level narrower than the
    // screen keeps its right-hand (or lower) edge at the screen's.
    targetX = std::min(std::max(targetX, halfWidth), static_cast<float>(levelWidth) - halfWidth);
    targetY = std::min(std::max(targetY, halfHeight), static_cast<float>(levelHeight) - halfHeight);
    camera.x = targetX;
    camera.y = targetY;
}
