#include "levels/LevelRules.h"

#include <cstdio>
#include <iterator>

namespace {

constexpr int RIDE_LEVELS[] = { 5, 14, 22, 38, 46 };
constexpr int CHASE_LEVELS[] = { 7, 17, 26, 48 };

bool isOneOf(int number, const int* first, const int* last)
{
    for (const int* level = first; level != last; ++level) {
        if (*level == number) {
            return true;
        }
    }
    return false;
}

int coinTarget(int number)
{
    switch (number) {
    case 3:
        return 10;
    case 16:
        return 15;
    case 25:
        return 20;
    case 44:
        return 30;
    default:
        return 0;
    }
}

} // namespace

std::string LevelRules::fileName(int number)
{
    char name[32];
    if (number >= 1000) {
        std::snprintf(name, sizeof name, "minigame%d.txt", number);
    } else {
        std::snprintf(name, sizeof name, "level%02d.txt", number);
    }
    return name;
}

LevelRules LevelRules::forLevel(int number)
{
    LevelRules rules;
    rules.number = number;
    rules.coinsRequired = coinTarget(number);

    if (isOneOf(number, std::begin(RIDE_LEVELS), std::end(RIDE_LEVELS))) {
        rules.movement = Movement::RIDE;
    } else if (isOneOf(number, std::begin(CHASE_LEVELS), std::end(CHASE_LEVELS))) {
        rules.movement = Movement::CHASE;
        rules.sharkRequired = true;
    } else if (number >= 30 && number <= 39) {
        rules.movement = Movement::WALK;
    }

    switch (number) {
    case 9:
        // The squid is put into cell (7, 5) and swims a triangle through
        // (0, 400), (400, 800) and (800, 0); once beaten, the block at (8, 6)
        // sinks down column 8 and comes to rest in (8, 10).
        rules.minWidth = 11;
        rules.minHeight = 11;
        rules.mustBeOpen.push_back({ 7, 5, "the squid starts there" });
        rules.openPaths = { { 600, 440, 400, 800, "squid" }, { 400, 800, 800, 0, "squid" },
            { 800, 0, 0, 400, "squid" }, { 0, 400, 400, 800, "squid" } };
        rules.bossChanges
            = { { 8, 6, false }, { 8, 7, false }, { 8, 8, false }, { 8, 9, false }, { 8, 10, true } };
        break;
    case 49:
        rules.bossChanges = { { 8, 5, false } };
        break;
    case 1000:
        // The shells rest on row 6 at x = 304, 400 and 496; the chest sinks
        // from (400, 300) to (400, 480) into the middle one.
        rules.startNotAt = { { 5, 3, "the chest sinks through it" }, { 5, 4, "the chest sinks through it" },
            { 5, 5, "the chest sinks through it" }, { 5, 6, "the chest sinks through it" } };
        rules.mustBeReachable = { { 3, 6, "a shell rests there" }, { 5, 6, "a shell rests there" },
            { 6, 6, "a shell rests there" } };
        rules.mustBeOpen = { { 5, 3, "the chest sinks through it" }, { 5, 4, "the chest sinks through it" },
            { 5, 5, "the chest sinks through it" } };
        rules.chests = ChestRule::MOVED;
        rules.minWidth = 10;
        rules.minHeight = 8;
        break;
    case 1001:
        // The bombs are armed in turn; the first gives 10 seconds, the others
        // 15 - 0.3 x their number.
        rules.timedRoute = { { 10, 13, 10.0, "the first bomb" }, { 19, 5, 14.7, "the second bomb" },
            { 3, 9, 14.4, "the third bomb" }, { 9, 18, 14.1, "the fourth bomb" },
            { 19, 18, 13.8, "the fifth bomb" } };
        rules.chests = ChestRule::SEALED;
        rules.minWidth = 20;
        rules.minHeight = 19;
        break;
    case 1002:
        rules.movement = Movement::DANCE;
        rules.startRequired = false;
        rules.chests = ChestRule::NONE;
        rules.mustBeOpen = { { 2, 4, "the fish dances there" }, { 7, 4, "the dancing fish stands there" },
            { 2, 1, "the prize chest appears there" } };
        rules.minWidth = 10;
        rules.minHeight = 8;
        break;
    case 1003:
        // The formation sweeps rows 0 to 7 and steps right towards the fish
        // until it passes x = 680. The fish holds its column beyond that
        // line and only moves up and down, far enough to line up with the
        // formation's top line at its lowest (y = 160) and its bottom line
        // at its highest (y = 440).
        rules.movement = Movement::COLUMN;
        rules.startRightOf = { 680, "a fish of the formation that gets past x = 680 gets the player's fish" };
        rules.startColumnRows = { { 2, "the fish meets the formation's top line here" },
            { 5, "the fish meets the formation's bottom line here" } };
        rules.chests = ChestRule::SEALED;
        for (int x = 40; x <= 600; x += 80) {
            rules.openPaths.push_back({ x, 40, x, 560, "formation" });
        }
        rules.minWidth = 10;
        rules.minHeight = 8;
        break;
    default:
        break;
    }
    return rules;
}
