#include "game/play/LevelProperties.h"

namespace {

// The screen a mini-game's fish is put on; the dance floor has no start in
// its picture.
constexpr int DANCE_FLOOR_X = 200;
constexpr int DANCE_FLOOR_Y = 360;

bool between(int level, int first, int last)
{
    return level >= first && level <= last;
}

} // namespace

int LevelProperties::pictureIndex(int level)
{
    if (isStoryLevel(level)) {
        return level;
    }
    if (isMiniGame(level)) {
        return level - FIRST_MINI_GAME + STORY_LEVELS;
    }
    return -1;
}

std::string LevelProperties::tileSet(int level)
{
    if (between(level, 0, 9) || level == 1000 || level == 1003) {
        return "tiles0.dat";
    }
    if (between(level, 10, 19) || level == 1001) {
        return "tiles1.dat";
    }
    if (between(level, 20, 39) || level == 1002) {
        return "tiles2.dat";
    }
    if (between(level, 40, 49)) {
        return "tiles4.dat";
    }
    return "";
}

std::string LevelProperties::background(int level)
{
    // One background per world of ten levels; everything else, the
    // mini-games included, shows the first world's.
    int world = isStoryLevel(level) ? level / 10 : 0;
    return "bg" + std::to_string(world) + ".dat";
}

LevelProperties::Setup LevelProperties::setup(int level)
{
    Setup s;
    switch (level) {
    case 0:
    case 1:
        s.pushHelpText = true;
        break;
    case 3:
        s.levelKind = COIN_LEVEL;
        s.coinsRequired = 10;
        break;
    case 5:
        s.levelKind = RIDE;
        s.ride = Ride::ZAZ;
        s.pushHelpText = true;
        break;
    case 7:
    case 17:
    case 26:
    case 48:
        s.levelKind = SHARK_CHASE;
        s.sharkChase = true;
        break;
    case 9:
        s.levelKind = BOSS;
        s.boss = Boss::SQUID;
        s.bossColumn = 7;
        s.bossRow = 5;
        s.squidBattle = true;
        break;
    case 14:
    case 22:
    case 46:
        s.levelKind = RIDE;
        s.ride = Ride::ZAZ;
        break;
    case 16:
        s.levelKind = COIN_LEVEL;
        s.coinsRequired = 15;
        break;
    case 25:
        s.levelKind = COIN_LEVEL;
        s.coinsRequired = 20;
        break;
    case 29:
        s.levelKind = BOSS;
        s.squidBattle = true;
        break;
    case 38:
        s.levelKind = RIDE;
        s.ride = Ride::ROCKET;
        break;
    case 39:
        s.levelKind = BOSS;
        s.boss = Boss::BIG_BOSS_BIRD;
        s.bossResetAgain = true;
        s.squidBattle = true;
        break;
    case 44:
        s.levelKind = COIN_LEVEL;
        s.coinsRequired = 30;
        break;
    case 49:
        s.levelKind = BOSS;
        s.boss = Boss::BIG_SHARK;
        break;
    case 1000:
        s.levelKind = MINI_GAME;
        s.miniGame = MiniGame::SHELL_GAME;
        break;
    case 1001:
        s.levelKind = MINI_GAME;
        s.miniGame = MiniGame::BOMB_GAME;
        break;
    case 1002:
        s.levelKind = MINI_GAME;
        s.miniGame = MiniGame::DANCE_GAME;
        s.miniGameMusic = true;
        s.placesPlayer = true;
        s.playerX = DANCE_FLOOR_X;
        s.playerY = DANCE_FLOOR_Y;
        break;
    case 1003:
        s.levelKind = MINI_GAME;
        s.miniGame = MiniGame::INVADERS;
        break;
    default:
        break;
    }
    s.outOfWater = between(level, 30, 39) && s.ride == Ride::NONE;
    return s;
}

LevelProperties::Cues LevelProperties::cues(int level, bool holdsPlunger)
{
    Setup s = setup(level);
    Cues c;
    c.level = level;
    c.miniGameMusic = s.miniGameMusic;
    c.sharkChase = s.sharkChase;
    c.holdsPlunger = holdsPlunger;
    c.bossBattle = s.squidBattle;
    c.ridesFriend = s.ride != Ride::NONE;
    c.coinsRequired = s.coinsRequired;
    return c;
}

std::string LevelProperties::music(const Cues& c)
{
    if (c.miniGameMusic) {
        return "";
    }
    if (c.sharkChase) {
        return "mus/shark.ogg";
    }
    if (c.holdsPlunger) {
        return "mus/boss.ogg";
    }
    if (c.bossBattle) {
        return "mus/squidbattle.ogg";
    }
    if (c.ridesFriend) {
        return "mus/rayblues.ogg";
    }
    if (c.coinsRequired > 0) {
        return "mus/montyrag.ogg";
    }
    int level = c.level;
    if (between(level, 0, 9) || level == 1000) {
        return "mus/underwater.ogg";
    }
    if (between(level, 10, 19) || level == 1001) {
        return "mus/piratelevel.ogg";
    }
    if (between(level, 20, 29)) {
        return "mus/underwatercity.ogg";
    }
    if (between(level, 30, 39)) {
        return "mus/underwater.ogg";
    }
    if (between(level, 40, 49) || level == 1003) {
        return "mus/heroics.ogg";
    }
    return "";
}

int LevelProperties::bannerFrame(const Cues& c)
{
    if (c.sharkChase) {
        return 3;
    }
    if (c.bossBattle || c.holdsPlunger) {
        return 2;
    }
    if (c.miniGameMusic || c.ridesFriend || c.coinsRequired > 0) {
        return 1;
    }
    return 0;
}
