#pragma once

#include <map>

class Game;

// The screens with no controller of their own that close a level or the
// game: the credits roll, the 100% award and the end of the game.
class EndScreens {
public:
    static constexpr int STORY_LEVELS = 50;
    static constexpr float AWARD_LOCK_SECONDS = 1.5f;
    static constexpr float AWARD_FADE_SECONDS = 0.5f;
    static constexpr float END_LOCK_SECONDS = 4.0f;
    static constexpr float END_FADE_SECONDS = 2.0f;
    static constexpr int END_PICTURE_OFFSET = 180;

    static void buildCredits(Game& game);
    static void buildHundredPercent(Game& game);
    static void buildEndOfGame(Game& game);

    // Every story level rated exactly 100%.
    static bool allLevelsPerfect(const std::map<int, int>& levelPercent);
};
