#pragma once

#include <string>
#include <vector>

class Game;

// The help panel shown over level play on F1: a captured frame, the panel
// and four lines of advice picked by level number.
class HelpScreen {
public:
    static constexpr int LINES = 4;
    static constexpr int LINE_STEP = 24;
    static constexpr int LINE_DEPTH_BIAS = 600;
    static constexpr float FADE_SECONDS = 0.2f;

    // Fills the freshly pushed "helpText" state.
    static void build(Game& game);
    // The four lines for a level; fireKey names the key that blows bubbles.
    static std::vector<std::string> linesFor(int level, int coinsRequired, const std::string& fireKey);
    // The name of the first key bound to the player's "fire" action.
    static std::string fireKeyName(const Game& game);
};
