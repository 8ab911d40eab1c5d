#pragma once

#include <string>

// Everything about a level that its picture cannot say, fixed by the level
// number: which tiles and background it wears, what kind of level it is,
// the coin target, friends to ride, bosses and mini-game objects, and the
// music that goes with all that.
class LevelProperties {
public:
    static constexpr int STORY_LEVELS = 50; // 0 to 49
    static constexpr int FIRST_MINI_GAME = 1000; // 1000 to 1003
    static constexpr int LAST_MINI_GAME = 1003;

    // Level kinds; the 100 % coin bonus is only paid for plain, chase and
    // ride levels.
    static constexpr int PLAIN = 0;
    static constexpr int COIN_LEVEL = 1;
    static constexpr int SHARK_CHASE = 2;
    static constexpr int RIDE = 3;
    static constexpr int BOSS = 4;
    static constexpr int MINI_GAME = 5;

    enum class Ride { NONE, ZAZ, ROCKET };
    enum class Boss { NONE, SQUID, BIG_BOSS_BIRD, BIG_SHARK };
    enum class MiniGame { NONE, SHELL_GAME, BOMB_GAME, DANCE_GAME, INVADERS };

    struct Setup {
        int levelKind = PLAIN;
        int coinsRequired = 0; // 0: no coin target
        bool pushHelpText = false; // the level's help opens as it starts
        Ride ride = Ride::NONE;
        bool sharkChase = false;
        // The boss-battle flag: boss music and the boss start banner.
        bool squidBattle = false;
        Boss boss = Boss::NONE;
        // The cell a placed boss starts in (the big shark places itself).
        int bossColumn = 0, bossRow = 0;
        // The big boss bird starts again once it stands in its cell.
        bool bossResetAgain = false;
        MiniGame miniGame = MiniGame::NONE;
        // The dance game plays its own songs, so the level music stops.
        bool miniGameMusic = false;
        // Where the game puts the fish when the picture has no start.
        bool placesPlayer = false;
        int playerX = 0, playerY = 0;
        // Out of the water the fish walks and jumps, unless it rides.
        bool outOfWater = false;
    };

    // What the music and the start banner depend on; the plunger comes from
    // the level picture (a swordfish in it), the rest from the setup.
    struct Cues {
        int level = 0;
        bool miniGameMusic = false;
        bool sharkChase = false;
        bool holdsPlunger = false;
        bool bossBattle = false;
        bool ridesFriend = false;
        int coinsRequired = 0;
    };

    static bool isStoryLevel(int level) { return level >= 0 && level < STORY_LEVELS; }
    static bool isMiniGame(int level) { return level >= FIRST_MINI_GAME && level <= LAST_MINI_GAME; }
    // Numbers past the last story level (and below the mini-games) mean the
    // story has been played through.
    static bool isStoryFinished(int level) { return level >= STORY_LEVELS && level < FIRST_MINI_GAME; }

    // The level's object in lvl/levels.dat: the mini-games follow the story
    // levels. -1 for numbers that have no picture.
    static int pictureIndex(int level);
    // The tile set of both tile layers; "" for numbers without one.
    static std::string tileSet(int level);
    static std::string background(int level);
    static Setup setup(int level);

    static Cues cues(int level, bool holdsPlunger);
    // The track to play, "" when the music stops.
    static std::string music(const Cues& cues);
    // The frame of the "Ready, go" banner that opens a special level: 1 for
    // most, 2 for a boss or the swordfish, 3 for a shark chase; 0 when the
    // level starts without a banner.
    static int bannerFrame(const Cues& cues);
};
