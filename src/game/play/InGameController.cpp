#include "game/play/InGameController.h"

#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/ParticleSystem.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/Menu.h"
#include "game/app/Game.h"
#include "game/creatures/Creature.h"
#include "game/play/CreatureFactory.h"
#include "game/play/LevelLoader.h"
#include "game/play/LevelProperties.h"
#include "game/play/Player.h"
#include "game/play/TileMap.h"
#include "game/play/Treasure.h"

#include <allegro.h>

#include <algorithm>
#include <map>

namespace {

constexpr int BACKGROUND_LAYER = 0;
constexpr int MAIN_TILE_LAYER = 1;
constexpr int CREATURE_LAYER = 2;
constexpr int FOREGROUND_LAYER = 3;
constexpr int TOP_LAYER = 4;
constexpr int CELL_SIZE = 80;

// Used when there is no screen to measure (nothing is drawn then anyway).
constexpr int FALLBACK_WIDTH = 800;
constexpr int FALLBACK_HEIGHT = 600;

// The three emitters draw pictures 2, 0 and 1 of the particle file, half
// see-through and added onto the water.
constexpr int EMITTER_PICTURES[3] = { 2, 0, 1 };
constexpr int EMITTER_BLEND_ADD = 1;
constexpr int EMITTER_START_ALPHA = 128;

// The menu hangs this far above the middle of the screen, drawn over its
// backdrop.
constexpr int MENU_RISE = 75;
constexpr int MENU_OVER_BACKDROP = 1000;
constexpr int VOLUME_MAXIMUM = 255;
// Sliding the effects volume plays a bubble now and then, not every frame.
constexpr float SFX_SAMPLE_INTERVAL = 0.5f;

// The "Ready, go" banner of boss, chase, ride and coin levels: one picture sweeps across the
// middle and fades, the other rises from below and blinks in; the level
// stands still until both are done.
constexpr int SWEEP_START_X = -200;
constexpr int SWEEP_END_X = 800;
constexpr float SWEEP_SPEED = 500.0f;
constexpr int RISE_START_X = 400;
constexpr int RISE_START_Y = 800;
constexpr int RISE_END_Y = -100;
constexpr float RISE_SPEED = 200.0f;
constexpr float CHASE_RISE_SPEED = 400.0f;
constexpr int CHASE_BANNER_FRAME = 3;
constexpr float BANNER_SECONDS = 2.0f;
constexpr int BANNER_BLINKS = 2;

// The clock shows minutes and seconds up to 9:59.
constexpr float CLOCK_LIMIT = 599.0f;

constexpr int PERFECT_RATING = 100;
constexpr int PERFECT_BONUS_COINS = 20;
// The award screen lifts this freeze when the player moves on.
constexpr float AWARD_FREEZE_SECONDS = 999.0f;

constexpr int FULL_VOLUME = 255;
constexpr int PAN_CENTRE = 128;
constexpr int NORMAL_RATE = 1000;
constexpr float MUSIC_RATE_SLIDE_SECONDS = 0.1f;

// The treasure kinds that count, on the HUD and in the rating; kind 3 is
// never placed by a level.
constexpr int COUNTED_KINDS[] = { 0, 1, 2, 4 };

int valueAt(const std::map<int, int>& values, int level)
{
    auto found = values.find(level);
    return found != values.end() ? found->second : 0;
}

bool isCounted(int kind)
{
    return std::find(std::begin(COUNTED_KINDS), std::end(COUNTED_KINDS), kind) != std::end(COUNTED_KINDS);
}

// Collected counts by kind, from the treasures the fish has picked up.
void countCollected(Game& game)
{
    std::fill(std::begin(game.treasureCollected), std::end(game.treasureCollected), 0);
    for (const Treasure* treasure : game.treasures) {
        if (treasure != nullptr && treasure->collected && isCounted(treasure->kind())) {
            ++game.treasureCollected[treasure->kind()];
        }
    }
}

// Only plain levels, shark chases and rides pay for a perfect rating; coin
// levels, bosses and mini-games have their own rewards.
bool paysPerfectBonus(int levelKind)
{
    return levelKind == LevelProperties::PLAIN || levelKind == LevelProperties::SHARK_CHASE
        || levelKind == LevelProperties::RIDE;
}

} // namespace

InGameController::InGameController(Game* owner)
    : StateController("inGame")
    , fixedGame(owner)
{
}

Game* InGameController::game() const
{
    return fixedGame != nullptr ? fixedGame : Game::instance();
}

AnimatedSprite* InGameController::addPicture(Game& owner, const std::string& file, int x, int y, int layer)
{
    auto* picture = new AnimatedSprite();
    picture->datafile.load(file);
    picture->alignment = 1;
    picture->setPosition(x, y);
    if (!owner.addSprite(picture, layer)) {
        delete picture;
        return nullptr;
    }
    return picture;
}

void InGameController::enter()
{
    built = false;
    helpWaiting = false;
    Game* owner = game();
    if (owner == nullptr) {
        return;
    }
    const int level = owner->currentLevel;
    // A run of one level, finished, leads nowhere.
    if (owner->onlyLevel >= 0 && level != owner->onlyLevel) {
        DebugLog::log("Finished the level; quitting");
        owner->quit = true;
        return;
    }
    owner->tape.levelStarting(level);

    owner->levelClock = 0.0f;
    owner->levelDone = false;
    owner->addStateAction("openInGameMenu", KEY_ESC);
    owner->addStateAction("pushHelpText", KEY_F1);
    owner->addStateAction("pushPowerupShop", KEY_F5);
    owner->addStateAction("pushPowerupShop", KEY_TAB);

    Screen* screen = owner->screen;
    if (screen != nullptr) {
        screen->waterEffect = owner->waterEffect;
        screen->setCameraTarget(&owner->camera);
        screen->captureFrame();
    }
    owner->miniGameMusic = false;
    owner->frozen = false;
    owner->coinsRequired = 0;
    owner->levelWidth = FALLBACK_WIDTH;
    owner->levelHeight = FALLBACK_HEIGHT;
    std::fill(std::begin(owner->treasureTotals), std::end(owner->treasureTotals), 0);
    std::fill(std::begin(owner->treasureCollected), std::end(owner->treasureCollected), 0);

    auto* player = new Player();
    if (!owner->addSprite(player, CREATURE_LAYER)) {
        delete player;
        return;
    }
    owner->player = player;

    if (LevelProperties::isStoryFinished(level)) {
        owner->postAction("JUMPSTATE:eog");
        return;
    }

    buildScenery(*owner, level);
    buildMenu(*owner);

    if (!loadLevel(level)) {
        // Nothing to follow: the title comes next.
        if (screen != nullptr) {
            screen->setCameraTarget(nullptr);
        }
        owner->postAction("JUMPSTATE:title");
        return;
    }

    // A line per level in the log: what a bug report needs first.
    DebugLog::log("Entered level [" + std::to_string(level) + "]");
    applySetup(*owner, *player, level);
    const LevelProperties::Cues cues = LevelProperties::cues(level, player->holdingPlunger);
    startMusic(*owner, cues);
    showBanner(*owner, LevelProperties::bannerFrame(cues));

    for (const Treasure* treasure : owner->treasures) {
        if (treasure != nullptr && isCounted(treasure->kind())) {
            ++owner->treasureTotals[treasure->kind()];
        }
    }
    if (screen != nullptr && (player->outOfWater || player->dead)) {
        screen->waterEffect = false;
    }

    player->setFacing(true);
    owner->updateCamera();
    built = true;
    openHelpWhenFree(*owner);
    owner->fadeIn(fadeInSeconds);
}

void InGameController::buildScenery(Game& owner, int level)
{
    auto* background = new AnimatedSprite();
    background->datafile.load(LevelProperties::background(level));
    background->visible = true;
    if (!owner.addSprite(background, BACKGROUND_LAYER)) {
        delete background;
    }

    // Rock behind the creatures, weed in front of them; tall tiles hang
    // over the cell below, so columns are drawn from the bottom up.
    TileMap** layers[] = { &owner.mainLayer, &owner.foregroundLayer };
    const int layerIndex[] = { MAIN_TILE_LAYER, FOREGROUND_LAYER };
    for (int i = 0; i < 2; ++i) {
        auto* map = new TileMap();
        map->setTileSet(LevelProperties::tileSet(level));
        map->cellWidth = CELL_SIZE;
        map->cellHeight = CELL_SIZE;
        map->bottomUp = true;
        if (!owner.addSprite(map, layerIndex[i])) {
            delete map;
            map = nullptr;
        }
        *layers[i] = map;
    }

    for (int i = 0; i < 3; ++i) {
        auto* emitter = new ParticleSystem();
        emitter->datafile.load("particles.dat");
        emitter->blendMode = EMITTER_BLEND_ADD;
        emitter->imageIndex = EMITTER_PICTURES[i];
        emitter->startAlpha = EMITTER_START_ALPHA;
        emitter->camera = owner.screen;
        if (!owner.addSprite(emitter, FOREGROUND_LAYER)) {
            delete emitter;
            emitter = nullptr;
        }
        owner.emitters[i] = emitter;
    }
}

void InGameController::buildMenu(Game& owner)
{
    const int width = owner.screen != nullptr ? owner.screen->width : FALLBACK_WIDTH;
    const int height = owner.screen != nullptr ? owner.screen->height : FALLBACK_HEIGHT;

    // The backdrop and the menu stay out of sight until Esc calls them up.
    owner.menuBackdrop = addPicture(owner, "menubg.dat", width / 2, height / 2, TOP_LAYER);
    if (owner.menuBackdrop != nullptr) {
        owner.menuBackdrop->alpha = 0.0f;
        owner.menuBackdrop->visible = false;
    }

    auto* menu = new Menu(false);
    menu->alignment = 1;
    menu->setPosition(width / 2, height / 2 - MENU_RISE);
    // The layer draws lower sprites later; the menu stands higher than its
    // backdrop's centre but must be drawn over it.
    menu->depthBias = MENU_OVER_BACKDROP;
    menu->visible = false;
    Game* handler = &owner;
    menu->callback = [handler](const std::string& action) {
        // Sliders and toggles send nothing worth handling.
        if (!action.empty()) {
            handler->postAction(action);
        }
    };

    const bool miniGame = owner.currentLevel >= LevelProperties::FIRST_MINI_GAME;
    menu->addAction("Main", "Continue", "closeInGameMenu");
    menu->addAction("Main", "Restart", "JUMPSTATE:inGame");
    menu->addAction("Main", "Options", "LINKTO:Options");
    menu->addAction("Main", "Level Help", "inGameMenuOpensHelpText");
    menu->addAction("Main", "Power-Up Shop", "inGameMenuOpensPowerupShop");
    menu->addAction("Main", "Exit", miniGame ? "JUMPSTATE:title" : "JUMPSTATE:levelSelect");

    SoundManager* sound = owner.sound;
    const int musicVolume = sound != nullptr ? static_cast<int>(sound->musicVolume) : VOLUME_MAXIMUM;
    const int sfxVolume = sound != nullptr ? sound->sfxVolume : VOLUME_MAXIMUM;
    menu->addSlider("Options", "Music", musicVolume, VOLUME_MAXIMUM, [sound](int volume) {
        if (sound != nullptr) {
            sound->setMusicVolume(volume);
        }
    });
    menu->addSlider("Options", "SFX", sfxVolume, VOLUME_MAXIMUM, [sound](int volume) {
        if (sound != nullptr) {
            sound->setSfxVolume(volume);
            sound->playThrottled("bubble", SFX_SAMPLE_INTERVAL, FULL_VOLUME, PAN_CENTRE, NORMAL_RATE, false);
        }
    });
    // Saved at once, like the title's toggle: quitting from the menu keeps it.
    Game* game = &owner;
    menu->addToggle(
        "Options", "Water Effect", "", &owner.waterEffect, "On", "Off", [game] { game->saveProgress(); });
    menu->addAction("Options", "Back", "inGameMenuExitsOptions");
    menu->linkTo("Main");

    // The state keeps the menu; the action handler puts it on the top layer
    // while it is open.
    if (!owner.addSprite(menu, -1)) {
        delete menu;
        menu = nullptr;
    }
    owner.inGameMenu = menu;
}

bool InGameController::loadLevel(int level)
{
    Game* owner = game();
    return owner != nullptr && LevelLoader(*owner).loadLevel(level);
}

void InGameController::applySetup(Game& owner, Player& player, int level)
{
    owner.levelKind = LevelProperties::PLAIN;
    const LevelProperties::Setup setup = LevelProperties::setup(level);
    owner.levelKind = setup.levelKind;
    owner.coinsRequired = setup.coinsRequired;
    helpWaiting = setup.pushHelpText;
    if (setup.ride == LevelProperties::Ride::ZAZ) {
        player.rideRay();
    } else if (setup.ride == LevelProperties::Ride::ROCKET) {
        player.rideRocket();
    }

    if (Creature* boss = CreatureFactory::createBoss(setup.boss)) {
        if (setup.boss == LevelProperties::Boss::BIG_SHARK) {
            // The big shark finds its own way into the level.
            owner.addCreature(boss);
        } else {
            LevelLoader(owner).placeCreature(boss, setup.bossColumn, setup.bossRow, 0);
            if (setup.bossResetAgain) {
                // It works out its flight from the cell it now stands in.
                boss->reset();
            }
        }
    }

    if (Creature* miniGame = CreatureFactory::createMiniGame(setup.miniGame)) {
        owner.addCreature(miniGame);
        if (setup.miniGame == LevelProperties::MiniGame::DANCE_GAME) {
            owner.danceGame = miniGame;
        }
    }
    if (setup.miniGameMusic) {
        owner.miniGameMusic = true;
    }
    if (setup.placesPlayer) {
        player.setPosition(setup.playerX, setup.playerY);
    }
    // On the dance floor the fish steps out from where it was put and
    // glides back there.
    if (setup.miniGameMusic) {
        player.danceHomeX = static_cast<int>(player.x);
        player.danceHomeY = static_cast<int>(player.y);
    }

    // On dry land the fish hops, unless a friend carries it.
    if (setup.outOfWater && !player.ridingFriend) {
        player.setOutOfWater(true);
    }
}

void InGameController::startMusic(Game& owner, const LevelProperties::Cues& cues)
{
    if (owner.sound == nullptr) {
        return;
    }
    const std::string track = LevelProperties::music(cues);
    if (track.empty()) {
        owner.sound->stopMusic();
        // Forgotten, so that the next level with music starts it again
        // rather than taking the silent track for its own.
        owner.sound->currentMusic.clear();
        return;
    }
    // A restart of the same level keeps its track running.
    owner.sound->playMusicIfChanged(track, true);
}

void InGameController::showBanner(Game& owner, int frame)
{
    if (frame <= 0) {
        return;
    }
    const int width = owner.screen != nullptr ? owner.screen->width : FALLBACK_WIDTH;
    const int height = owner.screen != nullptr ? owner.screen->height : FALLBACK_HEIGHT;

    if (AnimatedSprite* sweep = addPicture(owner, "readygo.dat", SWEEP_START_X, height / 2, TOP_LAYER)) {
        sweep->moveTo(SWEEP_END_X, height / 2, SWEEP_SPEED);
        sweep->alpha = 255.0f;
        sweep->alphaTween.start(0.0f, BANNER_SECONDS, 0);
    }
    if (AnimatedSprite* rise = addPicture(owner, "readygo.dat", RISE_START_X, RISE_START_Y, TOP_LAYER)) {
        rise->frame = static_cast<float>(frame);
        rise->alpha = 0.0f;
        rise->alphaTween.pingPong = true;
        rise->alphaTween.start(255.0f, BANNER_SECONDS, BANNER_BLINKS);
        rise->moveTo(width / 2, RISE_END_Y, frame == CHASE_BANNER_FRAME ? CHASE_RISE_SPEED : RISE_SPEED);
    }
    owner.frozen = true;
    owner.freezeTimer = BANNER_SECONDS;
}

void InGameController::update(float dt)
{
    StateController::update(dt);
    Game* owner = game();
    if (owner == nullptr || !built) {
        return;
    }

    if (owner->freezeTimer > 0.0f) {
        owner->freezeTimer -= dt;
        if (owner->freezeTimer <= 0.0f) {
            owner->freezeTimer = 0.0f;
            owner->frozen = false;
        }
    }
    openHelpWhenFree(*owner);
    if (!owner->frozen && !owner->levelDone) {
        owner->levelClock = std::min(owner->levelClock + dt, CLOCK_LIMIT);
    }

    // The HUD shows the counts as the fish collects.
    countCollected(*owner);
    if (levelComplete(*owner)) {
        completeLevel(*owner);
    }
}

void InGameController::openHelpWhenFree(Game& owner)
{
    // The help screen will not open over a frozen level, so on a level
    // that starts with its banner it waits for the banner to finish.
    if (helpWaiting && !owner.frozen && owner.freezeTimer == 0.0f) {
        helpWaiting = false;
        owner.postAction("pushHelpText_true");
    }
}

bool InGameController::levelComplete(const Game& owner) const
{
    if (owner.levelDone || owner.player == nullptr) {
        return false;
    }
    // A last chest may fade out while the menu, the help or the shop is up;
    // the level is scored once the player is back in it, so that the next
    // level or the award never opens underneath them (the shop's Esc would
    // close the award instead of the shop).
    if (owner.inGameMenu != nullptr && owner.inGameMenu->visible) {
        return false;
    }
    if (owner.stateStack.empty() || owner.stateStack.back()->name != name) {
        return false;
    }
    if (owner.coinsRequired > 0 && owner.player->levelCoins < owner.coinsRequired) {
        return false;
    }
    // A chest only counts once it has faded out of the fish's hands.
    for (const Treasure* treasure : owner.treasures) {
        if (treasure != nullptr && treasure->kind() == Treasure::CHEST && treasure->alpha > 0.0f) {
            return false;
        }
    }
    return true;
}

int InGameController::rating(const Game& game)
{
    // A level with nothing to collect has had all of it collected.
    if (game.treasures.empty()) {
        return PERFECT_RATING;
    }
    int collected = 0;
    for (int kind : COUNTED_KINDS) {
        collected += game.treasureCollected[kind];
    }
    return collected * PERFECT_RATING / static_cast<int>(game.treasures.size());
}

void InGameController::completeLevel(Game& owner)
{
    owner.levelDone = true;
    if (owner.sound != nullptr) {
        owner.sound->play("levelcomplete", FULL_VOLUME, PAN_CENTRE, NORMAL_RATE, false);
    }
    const int level = owner.currentLevel;
    if (level < LevelProperties::FIRST_MINI_GAME && owner.highestLevel < level + 1) {
        owner.highestLevel = level + 1;
    }

    countCollected(owner);
    const int score = rating(owner);
    DebugLog::log("Finished level [" + std::to_string(level) + "] rated " + std::to_string(score) + "%");
    const int bestRating = valueAt(owner.levelPercent, level);
    // A faster run only counts as the best time when it collected as much.
    if (score >= bestRating) {
        const int bestTime = valueAt(owner.bestTimes, level);
        if (bestTime == 0 || static_cast<float>(bestTime) > owner.levelClock) {
            owner.bestTimes[level] = static_cast<int>(owner.levelClock);
        }
    }
    bool perfectBonus = false;
    if (score > bestRating) {
        owner.levelPercent[level] = score;
        if (score == PERFECT_RATING && paysPerfectBonus(owner.levelKind)) {
            owner.coins += PERFECT_BONUS_COINS;
            perfectBonus = true;
        }
    }

    owner.tape.levelFinished(level);
    owner.coins += owner.player->levelCoins;
    owner.currentLevel += 1;
    owner.saveProgress();

    // Both ways out replace or cover this state: nothing may follow here.
    if (perfectBonus) {
        owner.frozen = true;
        owner.freezeTimer = AWARD_FREEZE_SECONDS;
        owner.pushState("100%");
        return;
    }
    owner.jumpState(owner.currentLevel >= LevelProperties::FIRST_MINI_GAME ? "title" : "inGame");
}

void InGameController::leave()
{
    built = false;
    helpWaiting = false;
    Game* owner = game();
    if (owner == nullptr) {
        return;
    }
    owner->levelDone = false;
    owner->timeScale = 1.0f;
    if (owner->sound != nullptr) {
        owner->sound->slideMusicRate(NORMAL_RATE, MUSIC_RATE_SLIDE_SECONDS);
    }

    owner->bossHitPointsMax = 0;
    owner->bossHitPoints = 0;
    if (owner->screen != nullptr) {
        owner->screen->waterEffect = false;
        owner->screen->setCameraTarget(nullptr);
        if (owner->inGameMenu != nullptr && owner->screen->isValidLayer(TOP_LAYER)) {
            owner->screen->removeSprite(owner->inGameMenu, TOP_LAYER);
        }
    }

    // The state deletes everything it made right after this; nothing the
    // game keeps may point into it.
    owner->inGameMenu = nullptr;
    owner->menuBackdrop = nullptr;
    owner->clearLevelLists();
    owner->player = nullptr;
    owner->danceGame = nullptr;
    owner->mainLayer = nullptr;
    owner->foregroundLayer = nullptr;
    std::fill(std::begin(owner->emitters), std::end(owner->emitters), nullptr);
    owner->frozen = false;
    owner->freezeTimer = 0.0f;
}
