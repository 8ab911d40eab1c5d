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
        // The squid is put into cell (7, 5) and swims round the corners
        // (400, 800), (800, 0) and (0, 400), each axis at the same speed, so
        // every swim slants first and runs straight after. Beaten, it sinks
        // the boulder at (8, 6) down its shaft to rest in (8, 10), and the
        // way into the vault beside the shaft opens. The fight takes three
        // frozen blots, all of a new fish's bubbles, so a miss must not lose
        // it: the fish needs a refill station.
        rules.minWidth = 11;
        rules.minHeight = 11;
        rules.mustBeOpen = { { 7, 5, "the squid starts there" }, { 5, 10, "the squid turns there" },
            { 0, 5, "the squid turns there" }, { 10, 0, "the squid turns there" },
            { 8, 7, "the boulder sinks through it" }, { 8, 8, "the boulder sinks through it" },
            { 8, 9, "the boulder sinks through it" }, { 8, 10, "the boulder comes to rest there" } };
        rules.mustBeRock = { { 8, 6, "the squid keeps its boulder there, over the vault" },
            { 8, 11, "the sunk boulder rests on it" } };
        rules.openPaths = { { 600, 440, 400, 800, "squid", true }, { 400, 800, 800, 0, "squid", true },
            { 800, 0, 0, 400, "squid", true }, { 0, 400, 400, 800, "squid", true } };
        // On its way up from (400, 800) it cuts across the boulder and the
        // corner of the shaft wall under it.
        rules.pathsMayCross = { { 8, 6, "the boulder" }, { 7, 7, "the shaft wall" } };
        rules.bossChanges
            = { { 8, 6, false }, { 8, 7, false }, { 8, 8, false }, { 8, 9, false }, { 8, 10, true } };
        rules.sealedUntilBeaten
            = { { 8, 7, "the boulder sinks through it" }, { 8, 8, "the boulder sinks through it" },
                  { 8, 9, "the boulder sinks through it" }, { 8, 10, "the boulder comes to rest there" } };
        rules.chestBehindBoss = true;
        rules.refillRequired = true;
        break;
    case 39:
        // The big boss bird starts at (740, 200) and crosses row 2 between
        // x = 680 and 120 for the rest of the fight, diving down whichever
        // of columns 1 to 8 the fish is in below it. Spikes at the bottom of
        // a dive wound it; beaten, it calls the chest to where it dived.
        rules.minWidth = 10;
        rules.minHeight = 4;
        rules.openPaths = { { 740, 200, 120, 200, "big boss bird", false, "flies" } };
        rules.spikeDives = { { 2, 1, 8, "big boss bird" } };
        rules.chests = ChestRule::BROUGHT;
        break;
    case 19:
        // A hall of at least 12 cells: the fish falls back before each blow
        // and lunges in between them, with the swordfish 200 pixels off.
        rules.duel = true;
        rules.minWidth = 12;
        rules.minHeight = 3;
        break;
    case 29:
        // The leviathan comes from the map; the validator knows its numbers.
        // Its rock at (3, 6) and (3, 7) needs a row below to open onto.
        rules.leviathanRequired = true;
        rules.minWidth = 4;
        rules.minHeight = 9;
        break;
    case 49:
        // The big shark idles at x = 880, swimming between y = 120 and 500;
        // it charges a fish that swims past x = 400, to 300 pixels right of
        // it, and runs back to x = 880 along the same height. Three crates
        // fed to it (or blown up beside it) beat it, and the beaten shark
        // opens the rock at (8, 5), the only way to the chests.
        rules.minWidth = 12;
        rules.minHeight = 7;
        rules.mustBeOpen.push_back({ 11, 1, "the big shark starts there" });
        rules.openPaths = { { 880, 120, 880, 500, "big shark" } };
        rules.charge = { 400, 300, 880, "big shark" };
        rules.startUpToX = 400;
        rules.startWhy = "past x = 400 the big shark charges the fish at once";
        rules.minCrates = 3;
        rules.cratesWhy = "the big shark has 3 hit points and each crate it swallows costs it one";
        rules.mustBeRock.push_back({ 8, 5, "the beaten big shark opens it to the way on" });
        rules.bossChanges = { { 8, 5, false } };
        rules.chestsAfterBoss = true;
        break;
    case 1000:
        // The shells rest on row 6 at x = 304, 400 and 496; the chest sinks
        // from (400, 300) to (400, 480) into the middle one.
        rules.startNotAt = { { 5, 3, "the chest sinks through it" }, { 5, 4, "the chest sinks through it" },
            { 5, 5, "the chest sinks through it" }, { 5, 6, "the chest sinks through it" },
            { 3, 6, "a shell within reach would be picked before the game starts" },
            { 4, 6, "a shell within reach would be picked before the game starts" },
            { 6, 6, "a shell within reach would be picked before the game starts" } };
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
        // 15 - 0.3 x their number. Each takes a bubble, and a new profile
        // has 3, so the fish tops up on the way to the third and the fifth.
        rules.timedRoute = { { 10, 13, 10.0, "the first bomb" }, { 19, 5, 14.7, "the second bomb" },
            { 3, 9, 14.4, "the third bomb", true }, { 9, 18, 14.1, "the fourth bomb" },
            { 19, 18, 13.8, "the fifth bomb", true } };
        rules.chests = ChestRule::SEALED;
        rules.minWidth = 20;
        rules.minHeight = 19;
        break;
    case 1002:
        rules.movement = Movement::DANCE;
        rules.startRequired = false;
        rules.chests = ChestRule::NONE;
        // Both fish step 40 pixels from the middle of their cells, which
        // takes a step right or down into the next cell; the prize comes
        // straight down from its cell to the fish.
        rules.mustBeOpen = { { 2, 4, "the fish dances there" }, { 7, 4, "the dancing fish stands there" },
            { 2, 1, "the prize chest appears there" }, { 3, 4, "the fish's step right goes there" },
            { 2, 5, "the fish's step down goes there" }, { 8, 4, "the dancing fish's step right goes there" },
            { 7, 5, "the dancing fish's step down goes there" },
            { 2, 2, "the prize chest comes down to the fish through it" },
            { 2, 3, "the prize chest comes down to the fish through it" } };
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
