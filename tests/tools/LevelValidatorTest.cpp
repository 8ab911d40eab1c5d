#include "levels/LevelValidator.h"
#include "levels/LevelFile.h"
#include "levels/LevelRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Problem = LevelValidator::Problem;

std::vector<Problem> check(const LevelRules& rules, const std::string& map)
{
    LevelFile level;
    EXPECT_TRUE(level.parse(map)) << level.error();
    return LevelValidator(rules).check(level);
}

std::vector<Problem> check(int number, const std::string& map)
{
    return check(LevelRules::forLevel(number), map);
}

std::string all(const std::vector<Problem>& problems)
{
    std::string text;
    for (const Problem& problem : problems) {
        text += "(" + std::to_string(problem.x) + ", " + std::to_string(problem.y) + ") " + problem.message
            + "\n";
    }
    return text;
}

bool mentions(const std::vector<Problem>& problems, int x, int y, const std::string& words)
{
    for (const Problem& problem : problems) {
        if (problem.x == x && problem.y == y && problem.message.find(words) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The map with one cell changed.
std::string put(const std::string& map, int x, int y, char symbol)
{
    std::string changed = map;
    size_t at = 0;
    for (int row = 0; row < y; ++row) {
        at = changed.find('\n', at) + 1;
    }
    changed[at + x] = symbol;
    return changed;
}

LevelRules ride()
{
    LevelRules rules = LevelRules::forLevel(5);
    EXPECT_EQ(LevelRules::Movement::RIDE, rules.movement);
    return rules;
}

} // namespace

TEST(LevelValidatorTest, AcceptsASimpleCave)
{
    EXPECT_TRUE(check(0, "#######\n#P..gT#\n#..m..#\n#######\n").empty());
}

TEST(LevelValidatorTest, RejectsBrokenStartsChestsAndSizes)
{
    std::vector<Problem> twoStarts = check(0, "######\n#P.T.#\n#...P#\n######\n");
    EXPECT_EQ(1u, twoStarts.size()) << all(twoStarts);
    EXPECT_TRUE(mentions(twoStarts, 4, 2, "a second player start 'P' (the first is at (1, 1))"))
        << all(twoStarts);

    std::vector<Problem> noStart = check(0, "#####\n#.T.#\n#####\n");
    EXPECT_TRUE(mentions(noStart, -1, -1, "no player start")) << all(noStart);

    std::vector<Problem> walledIn = check(0, "#######\n#P.#T.#\n#..#..#\n#######\n");
    EXPECT_EQ(1u, walledIn.size()) << all(walledIn);
    EXPECT_TRUE(mentions(walledIn, 4, 1, "treasure chest 'T' cannot be reached from the start at (1, 1)"))
        << all(walledIn);

    // Spikes and statues stand in the way as surely as rock does.
    std::vector<Problem> guarded = check(0, "#######\n#P.^.T#\n#..<..#\n#######\n");
    EXPECT_TRUE(mentions(guarded, 5, 1, "cannot be reached")) << all(guarded);

    std::vector<Problem> floating = check(0, "#######\n#P.c.T#\n#....c#\n#######\n");
    EXPECT_EQ(1u, floating.size()) << all(floating);
    EXPECT_TRUE(mentions(floating, 3, 1, "no rock under it")) << all(floating);

    std::vector<Problem> noChest = check(0, "####\n#Pg#\n####\n");
    EXPECT_TRUE(mentions(noChest, -1, -1, "no treasure chest")) << all(noChest);

    std::string wide = "P" + std::string(299, '.') + "T\n";
    std::vector<Problem> tooWide = check(0, wide);
    ASSERT_EQ(1u, tooWide.size()) << all(tooWide);
    EXPECT_TRUE(mentions(tooWide, -1, -1, "301 x 1 cells")) << all(tooWide);
    EXPECT_TRUE(check(0, "P" + std::string(298, '.') + "T\n").empty());

    std::string tall;
    for (int row = 0; row < 151; ++row) {
        tall += row == 0 ? "PT\n" : "..\n";
    }
    EXPECT_TRUE(mentions(check(0, tall), -1, -1, "2 x 151 cells"));
}

TEST(LevelValidatorTest, ProblemsNameTheLevelFileAndCell)
{
    LevelValidator validator(LevelRules::forLevel(7));
    EXPECT_EQ("level 7 (level07.txt), cell (3, 4): oops", validator.describe({ 3, 4, "oops" }));
    EXPECT_EQ("mini-game 1001 (minigame1001.txt): oops",
        LevelValidator(LevelRules::forLevel(1001)).describe({ -1, -1, "oops" }));
}

TEST(LevelValidatorTest, RideSteersOnlyAsFastAsTheFriendClimbs)
{
    // The tunnel of row 3 ends in rock at column 11 and the way on is row 1.
    // Climbing 80 pixels takes 0.2 s, in which the fish is carried 120
    // pixels on: three open columns are room enough.
    const std::string gentle = "########################\n"
                               "########......T.........\n"
                               "########...#############\n"
                               "#P.........#############\n"
                               "########################\n";
    EXPECT_TRUE(check(ride(), gentle).empty()) << all(check(ride(), gentle));

    // One column is not.
    const std::string steep = "########################\n"
                              "#########.....T.........\n"
                              "########.###############\n"
                              "#P.......###############\n"
                              "########################\n";
    std::vector<Problem> tooSteep = check(ride(), steep);
    EXPECT_TRUE(mentions(tooSteep, 14, 1, "by riding")) << all(tooSteep);

    // Rock above and below only stops the steering.
    const std::string tunnel = "##########\n"
                               "#P......T.......\n"
                               "################\n";
    EXPECT_TRUE(check(ride(), tunnel).empty());

    // The fish must live on while the last chest fades (0.5 s, 300 pixels):
    // a chest right before the end wall is never counted.
    const std::string tooLate = "###########\n"
                                "#P.......T#\n"
                                "###########\n";
    EXPECT_TRUE(mentions(check(ride(), tooLate), 9, 1, "by riding"));

    // Going back left is impossible on a ride.
    const std::string behind = "##########\n"
                               "#T.P..............\n"
                               "##########\n";
    EXPECT_TRUE(mentions(check(ride(), behind), 1, 1, "by riding"));
}

TEST(LevelValidatorTest, ChaseNeverTurnsBack)
{
    // Reaching the lower chest means doubling back under the shelf.
    const std::string map = "############\n"
                            "#S.P....T...\n"
                            "#.######....\n"
                            "#.T.........\n"
                            "############\n";
    std::vector<Problem> problems = check(7, map);
    EXPECT_EQ(1u, problems.size()) << all(problems);
    EXPECT_TRUE(mentions(problems, 2, 3, "never back left")) << all(problems);

    // Straight dives cost time that the shark, five cells behind, makes up:
    // three are fine, eight are not.
    std::string shaft = "S....P...####\n";
    for (int row = 0; row < 8; ++row) {
        shaft += "########.####\n";
    }
    EXPECT_TRUE(check(7, put(put(put(shaft, 9, 3, '.'), 10, 3, '.'), 11, 3, 'T')).empty());
    std::vector<Problem> deep = check(7, put(put(put(shaft, 9, 8, '.'), 10, 8, '.'), 11, 8, 'T'));
    EXPECT_TRUE(mentions(deep, 11, 8, "never back left")) << all(deep);

    std::vector<Problem> noShark = check(7, "#####\n#P.T.\n#####\n");
    EXPECT_TRUE(mentions(noShark, -1, -1, "needs a shark")) << all(noShark);
    EXPECT_TRUE(mentions(check(7, "#####\n#P.TS\n#####\n"), -1, -1, "the shark must start behind the fish"));
}

TEST(LevelValidatorTest, SquidDenKeepsTheSquidsWayOpenAndItsVaultShutUntilTheSquidIsBeaten)
{
    // The squid slants and swims straight round the open upper left; the
    // vault at the lower right is entered down the shaft under the boulder
    // at (8, 6).
    const std::string den = "###............#\n"
                            "##...........P.#\n"
                            "#..............#\n"
                            "..##.........R.#\n"
                            "..##........##.#\n"
                            "...............#\n"
                            "........#....T.#\n"
                            "#......#.#######\n"
                            "##.....#.......#\n"
                            "###....#.....T.#\n"
                            "####...#.......#\n"
                            "################\n";
    EXPECT_TRUE(check(9, den).empty()) << all(check(9, den));

    // Its real way from (800, 0) slants to (400, 400) before it runs along
    // row 5, so rock on the straight line between the corners is fine and
    // rock on the slant is not.
    EXPECT_TRUE(check(9, put(den, 6, 1, '#')).empty()) << all(check(9, put(den, 6, 1, '#')));
    std::string slant = put(den, 7, 2, '#');
    EXPECT_TRUE(mentions(check(9, slant), 7, 2, "squid swims from (800, 0) to (0, 400)"))
        << all(check(9, slant));
    std::string row = put(den, 2, 5, '#');
    EXPECT_TRUE(mentions(check(9, row), 2, 5, "would cross rock")) << all(check(9, row));

    // A boulder missing, or a shaft the fish could already swim into: the
    // boulder would come down on it.
    std::string noBoulder = put(den, 8, 6, '.');
    EXPECT_TRUE(mentions(check(9, noBoulder), 8, 6, "must be rock")) << all(check(9, noBoulder));
    EXPECT_TRUE(mentions(check(9, noBoulder), 8, 7, "before the boss is beaten")) << all(check(9, noBoulder));
    EXPECT_TRUE(mentions(check(9, noBoulder), -1, -1, "without the fight")) << all(check(9, noBoulder));
    std::string leaky = put(den, 7, 7, '.');
    EXPECT_TRUE(mentions(check(9, leaky), 8, 10, "comes to rest there")) << all(check(9, leaky));
    std::string plugged = put(den, 8, 9, '#');
    EXPECT_TRUE(mentions(check(9, plugged), 8, 9, "boulder sinks through it")) << all(check(9, plugged));
    std::string bottomless = put(den, 8, 11, '.');
    EXPECT_TRUE(mentions(check(9, bottomless), 8, 11, "rests on it")) << all(check(9, bottomless));

    // Without a way from the shaft into the vault its chest stays locked.
    std::string sealed = put(put(den, 9, 8, '#'), 9, 9, '#');
    sealed = put(sealed, 9, 10, '#');
    EXPECT_TRUE(mentions(check(9, sealed), 13, 9, "cannot be reached")) << all(check(9, sealed));

    // No refill station, or one shut in the vault.
    std::string dry = put(den, 13, 3, '.');
    EXPECT_TRUE(mentions(check(9, dry), -1, -1, "refill station")) << all(check(9, dry));
    std::string lockedRefill = put(dry, 11, 9, 'R');
    EXPECT_TRUE(mentions(check(9, lockedRefill), -1, -1, "refill station")) << all(check(9, lockedRefill));

    EXPECT_TRUE(mentions(check(9, "#####\n#P.T#\n#####\n"), -1, -1, "at least 11 x 11"));
}

TEST(LevelValidatorTest, SharkLairKeepsTheSharksLanesOpenAndItsHoardBehindItsRock)
{
    // Crates by the start, the shark's lanes across the top and down column
    // 11, and the hoard walled in below with (8, 5) in its wall.
    const std::string lair = "################\n"
                             "#..x...........#\n"
                             "#..x...........#\n"
                             "#P.*...........#\n"
                             "#...#####......#\n"
                             "#...#T..#......#\n"
                             "#...#...#......#\n"
                             "#...#####......#\n"
                             "################\n";
    EXPECT_TRUE(check(49, lair).empty()) << all(check(49, lair));

    std::string open = put(lair, 8, 5, '.');
    EXPECT_TRUE(mentions(check(49, open), 8, 5, "must be rock: the beaten big shark opens it"))
        << all(check(49, open));
    EXPECT_TRUE(mentions(check(49, open), 5, 5, "can be reached before the boss is beaten"))
        << all(check(49, open));
    std::string backDoor = put(lair, 4, 6, '.');
    EXPECT_TRUE(mentions(check(49, backDoor), 5, 5, "must lead through (8, 5)")) << all(check(49, backDoor));
    std::string sealed = put(lair, 7, 5, '#');
    EXPECT_TRUE(mentions(check(49, sealed), 5, 5, "cannot be reached")) << all(check(49, sealed));

    std::string swimBlocked = put(lair, 11, 6, '#');
    EXPECT_TRUE(mentions(check(49, swimBlocked), 11, 6, "big shark swims from (880, 120) to (880, 500)"))
        << all(check(49, swimBlocked));
    std::string runBlocked = put(lair, 10, 2, '#');
    EXPECT_TRUE(mentions(check(49, runBlocked), 10, 2,
        "charges a fish that crosses x = 400 at (5, 2) to (701, 200) in level pixels and runs back to (880, "
        "200)"))
        << all(check(49, runBlocked));
    std::string cornered = put(put(put(lair, 4, 1, '#'), 4, 2, '#'), 4, 3, '#');
    EXPECT_TRUE(mentions(check(49, cornered), -1, -1, "can never swim past x = 400"))
        << all(check(49, cornered));
    EXPECT_TRUE(mentions(check(49, put(lair, 3, 2, '.')), -1, -1, "can get at only 2 crates"));
    std::string lateStart = put(put(lair, 1, 3, '.'), 5, 3, 'P');
    EXPECT_TRUE(mentions(check(49, lateStart), 5, 3, "must start at or left of x = 400"))
        << all(check(49, lateStart));
    EXPECT_TRUE(mentions(check(49, "#####\n#P.T#\n#####\n"), -1, -1, "at least 12 x 7"));
}

TEST(LevelValidatorTest, SwordfishDuelNeedsItsHallItsRowAndTheChestsBehindIt)
{
    // The swordfish stands in columns 2 to 9 of a 12-cell hall; the chest
    // in column 10 lies past its reach.
    const std::string hall = "############\n"
                             "#..........#\n"
                             "#P....F...T#\n"
                             "#......g...#\n"
                             "############\n";
    EXPECT_TRUE(check(19, hall).empty()) << all(check(19, hall));

    // A chest the fish could take without passing the swordfish.
    std::vector<Problem> unguarded = check(19, put(hall, 9, 3, 'T'));
    EXPECT_TRUE(mentions(unguarded, 9, 3, "taken without beating it")) << all(unguarded);

    // Rock in the duel's row, a start within reach, a swordfish too near
    // the end, two swordfish or none.
    std::vector<Problem> blocked = check(19, put(hall, 8, 2, '#'));
    EXPECT_TRUE(mentions(blocked, 8, 2, "open from end to end")) << all(blocked);
    std::vector<Problem> close = check(19, put(put(hall, 1, 2, '.'), 4, 2, 'P'));
    EXPECT_TRUE(mentions(close, 4, 2, "at least 3 cells left of the swordfish at (6, 2)")) << all(close);
    std::vector<Problem> cornered = check(19, put(put(hall, 6, 2, '.'), 10, 1, 'F'));
    EXPECT_TRUE(mentions(cornered, 10, 1, "columns 2 to 9")) << all(cornered);
    EXPECT_TRUE(mentions(check(19, put(hall, 5, 1, 'F')), -1, -1, "exactly one swordfish 'F'; there are 2"));
    EXPECT_TRUE(mentions(check(19, put(hall, 6, 2, '.')), -1, -1, "there are 0"));
    EXPECT_TRUE(mentions(check(19, "#######\n#P...T#\n#######\n"), -1, -1, "at least 12 x 3"));
    EXPECT_TRUE(check(18, put(hall, 9, 3, 'T')).empty()) << "only the duel's level";
}

TEST(LevelValidatorTest, LeviathanLairKeepsTheFightPossibleAndTheVaultShutUntilItIsBeaten)
{
    // The leviathan at (1, 4) swallows within 200 pixels of (120, 160) and
    // fires from (320, 200); its rock at (3, 6) and (3, 7) seals the vault.
    const std::string lair = "..........######\n"
                             "...........6..g#\n"
                             "...............#\n"
                             ".......9......P#\n"
                             ".L.......R.....#\n"
                             "###.8..2...3.5##\n"
                             "################\n"
                             "################\n"
                             "##...4...p..1###\n"
                             "##.G...2...8.T##\n"
                             "################\n";
    EXPECT_TRUE(check(29, lair).empty()) << all(check(29, lair));

    // Rock over its head, a crab there to be swallowed, rock where its
    // shots are born, and a fish starting in its coils.
    std::string crowded = put(put(put(put(lair, 0, 0, '#'), 2, 2, 'c'), 4, 2, '#'), 14, 3, '.');
    crowded = put(crowded, 3, 3, 'P');
    std::vector<Problem> problems = check(29, crowded);
    EXPECT_TRUE(
        mentions(problems, 0, 0, "the leviathan swallows the shots carried within 200 pixels of (120, 160)"))
        << all(problems);
    EXPECT_TRUE(mentions(problems, 2, 2, "crab 'c' starts within 200 pixels")) << all(problems);
    EXPECT_TRUE(mentions(problems, 4, 2, "shots leave its jaws at (320, 200)")) << all(problems);
    EXPECT_TRUE(mentions(problems, 3, 3, "start in the leviathan's coils")) << all(problems);

    // A hole in its rock lets the fish into the vault before the fight; with
    // a second way into the vault the chest is no longer guarded.
    std::string holed = put(lair, 3, 7, '.');
    EXPECT_TRUE(mentions(check(29, holed), 3, 7, "must be rock")) << all(check(29, holed));
    std::string backDoor = put(put(lair, 12, 6, '.'), 12, 7, '.');
    EXPECT_TRUE(mentions(check(29, backDoor), 13, 9, "can be reached before the leviathan is beaten"))
        << all(check(29, backDoor));

    // Jaws the fish cannot get to, a second leviathan, and none at all.
    std::string walled = lair;
    for (int y = 0; y < 6; ++y) {
        walled = put(walled, 6, y, '#');
    }
    EXPECT_TRUE(mentions(check(29, walled), 4, 2, "the fish cannot swim there")) << all(check(29, walled));
    EXPECT_TRUE(mentions(check(29, put(lair, 8, 2, 'L')), 8, 2, "a second leviathan"));
    EXPECT_TRUE(mentions(check(29, put(lair, 1, 4, '.')), -1, -1, "place it with 'L'"));
}

TEST(LevelValidatorTest, CoinLevelNeedsADolphinThatDropsEnoughWhereTheFishCanGo)
{
    // A tall hall: the dolphin climbs from row 10 to row 1, sweeping the
    // hall once per row.
    std::string hall = "################\n";
    for (int row = 1; row <= 10; ++row) {
        hall += row == 10 ? "#P....D.....T..#\n" : "#..............#\n";
    }
    hall += "################\n";
    EXPECT_TRUE(check(3, hall).empty()) << all(check(3, hall));

    // Three rows to climb are over too soon for ten coins.
    const std::string shallow = "################\n"
                                "#..............#\n"
                                "#..............#\n"
                                "#P....D.....T..#\n"
                                "################\n";
    EXPECT_TRUE(mentions(check(3, shallow), 6, 3, "drops only")) << all(check(3, shallow));

    // A row open to the right edge gives the dolphin nowhere to turn.
    std::string open = put(hall, 15, 5, '.');
    EXPECT_TRUE(mentions(check(3, open), 6, 5, "finds no rock to turn at")) << all(check(3, open));

    // A roofed bay at the top right: the dolphin climbs into it and turns
    // back and forth under the rock for ever instead of leaving.
    std::string bay = hall;
    for (int column = 1; column <= 10; ++column) {
        bay = put(put(bay, column, 4, '#'), column, 3, '#');
    }
    for (int column = 11; column <= 14; ++column) {
        bay = put(bay, column, 3, '#');
    }
    EXPECT_TRUE(mentions(check(3, bay), 6, 4, "never leaves at the top")) << all(check(3, bay));

    EXPECT_TRUE(mentions(check(3, "####\n#PT#\n####\n"), -1, -1, "exactly one dolphin"));
}

TEST(LevelValidatorTest, MiniGameArenasFollowTheirGames)
{
    // The bomb game's prize must be walled in, or the fish just takes it.
    std::string hold;
    for (int row = 0; row < 19; ++row) {
        hold += std::string(20, '.') + (row == 0 ? "#T" : row == 1 ? "##" : "") + "\n";
    }
    hold = put(put(put(hold, 8, 12, 'P'), 11, 7, 'R'), 14, 18, 'R');
    EXPECT_TRUE(check(1001, hold).empty()) << all(check(1001, hold));
    // A new profile's three bubbles last two bombs and a spare: the fish tops
    // up on the way to the third and the fifth, at a station near enough.
    std::string dry = put(put(hold, 14, 18, '.'), 11, 7, '.');
    EXPECT_TRUE(mentions(check(1001, dry), 3, 9, "runs short of bubbles on the way from (19, 5)"))
        << all(check(1001, dry));
    EXPECT_TRUE(mentions(check(1001, dry), 19, 18, "runs short of bubbles on the way from (9, 18)"))
        << all(check(1001, dry));
    std::string far = put(put(hold, 11, 7, '.'), 0, 0, 'R');
    EXPECT_TRUE(
        mentions(check(1001, far), 3, 9, "36 cells from (19, 5) by way of the refill station at (0, 0)"))
        << all(check(1001, far));
    std::string open = put(hold, 21, 1, '.');
    EXPECT_TRUE(mentions(check(1001, open), 21, 0, "prize chest can be reached")) << all(check(1001, open));
    std::string blocked = put(hold, 10, 13, '#');
    EXPECT_TRUE(
        mentions(check(1001, blocked), 10, 13, "the first bomb goes here, but the fish cannot swim to it"))
        << all(check(1001, blocked));
    // A wall that sends the fish the long way round, from the second bomb
    // back to the third.
    std::string detour = hold;
    for (int y = 0; y < 18; ++y) {
        detour = put(detour, 15, y, '#');
    }
    std::vector<Problem> late = check(1001, detour);
    EXPECT_EQ(1u, late.size()) << all(late);
    EXPECT_TRUE(mentions(late, 3, 9,
        "the third bomb goes here, 38 cells from (19, 5) by way of the refill station at (14, 18): 15.20 s"))
        << all(late);

    // The dance game places the fish and makes its own chest.
    const std::string stage = "..........\n..........\n..........\n..........\n"
                              "..........\n..........\n..........\n##########\n";
    EXPECT_TRUE(check(1002, stage).empty()) << all(check(1002, stage));
    std::string crowded = put(put(put(stage, 1, 0, 'P'), 3, 0, 'T'), 5, 0, 'g');
    std::vector<Problem> problems = check(1002, crowded);
    EXPECT_TRUE(mentions(problems, 1, 0, "places the fish itself")) << all(problems);
    EXPECT_TRUE(mentions(problems, 3, 0, "makes its own prize chest")) << all(problems);
    EXPECT_TRUE(mentions(problems, 5, 0, "only dances")) << all(problems);
    std::string cramped = put(put(stage, 8, 4, '#'), 2, 3, '#');
    problems = check(1002, cramped);
    EXPECT_EQ(2u, problems.size()) << all(problems);
    EXPECT_TRUE(mentions(problems, 8, 4, "the dancing fish's step right")) << all(problems);
    EXPECT_TRUE(mentions(problems, 2, 3, "the prize chest comes down")) << all(problems);

    // The shell game's chest sinks down column 5: the fish must not sit there.
    std::string shells = put(put(stage, 5, 3, 'P'), 1, 1, 'T');
    EXPECT_TRUE(mentions(check(1000, shells), 5, 3, "must not start here")) << all(check(1000, shells));
    // Nor within reach of a shell, or it picks one as soon as the shells rest.
    std::string onSand = put(put(stage, 4, 6, 'P'), 1, 1, 'T');
    EXPECT_TRUE(mentions(check(1000, onSand), 4, 6, "would be picked")) << all(check(1000, onSand));
}

TEST(LevelValidatorTest, OutOfWaterTheFishWalksDropsAndJumpsTwoCellsUp)
{
    // A ledge two cells above the sand is one jump away; three is too many.
    const std::string ledge = "#########\n"
                              "#.......#\n"
                              "#....T..#\n"
                              "#...#####\n"
                              "#P..#####\n"
                              "#########\n";
    EXPECT_TRUE(check(31, ledge).empty()) << all(check(31, ledge));
    std::string cliff = put(put(put(put(ledge, 4, 2, '#'), 5, 2, '#'), 6, 2, '#'), 7, 2, '#');
    cliff = put(cliff, 5, 1, 'T');
    std::vector<Problem> tooHigh = check(31, cliff);
    EXPECT_EQ(1u, tooHigh.size()) << all(tooHigh);
    EXPECT_TRUE(mentions(tooHigh, 5, 1, "by walking and jumping (a jump climbs at most 2 cells)"))
        << all(tooHigh);
    // A crate is a step up.
    EXPECT_TRUE(check(31, put(cliff, 3, 4, 'x')).empty()) << all(check(31, put(cliff, 3, 4, 'x')));

    // Spikes are jumped, two cells of them but not three; and there is no
    // jumping at all under a low roof.
    const std::string pits = "############\n"
                             "#..........#\n"
                             "#..........#\n"
                             "#P.......T.#\n"
                             "###^^#######\n"
                             "############\n";
    EXPECT_TRUE(check(31, pits).empty()) << all(check(31, pits));
    std::vector<Problem> tooWide = check(31, put(pits, 5, 4, '^'));
    EXPECT_TRUE(mentions(tooWide, 9, 3, "cannot be reached")) << all(tooWide);
    std::string roofed = pits;
    for (int x = 1; x <= 5; ++x) {
        roofed = put(put(roofed, x, 2, '#'), x, 4, x == 3 ? '^' : '#');
    }
    std::vector<Problem> lowRoof = check(31, roofed);
    EXPECT_TRUE(mentions(lowRoof, 9, 3, "cannot be reached")) << all(lowRoof);
    EXPECT_TRUE(check(31, put(roofed, 3, 4, '#')).empty()) << "walking needs no room overhead";

    // A drop is free, and a hole in the floor is jumped; but the fish climbs
    // out of a shaft two cells deep, not three.
    const std::string well = "#.....#\n"
                             "#P...T#\n"
                             "###.###\n"
                             "###.###\n"
                             "###g###\n"
                             "#######\n";
    EXPECT_TRUE(check(31, well).empty()) << all(check(31, well));
    const std::string deep = "#######\n"
                             "#T....#\n"
                             "###.###\n"
                             "###.###\n"
                             "###P###\n"
                             "#######\n";
    std::vector<Problem> stuck = check(31, deep);
    EXPECT_EQ(1u, stuck.size()) << all(stuck);
    EXPECT_TRUE(mentions(stuck, 1, 1, "cannot be reached")) << all(stuck);
    std::string shallow = put(put(deep, 3, 4, '#'), 3, 3, 'P');
    EXPECT_TRUE(check(31, shallow).empty()) << all(check(31, shallow));
}

TEST(LevelValidatorTest, TheBigBossBirdNeedsItsRowSpikesToDiveOnAndABuriedChest)
{
    // Row 2 is the bird's; the pit in column 4 holds the spikes it dives
    // onto, and the chest lies under them until the beaten bird calls it up.
    const std::string beach = "..........\n"
                              "..........\n"
                              "..........\n"
                              "..........\n"
                              ".P.9.28..8\n"
                              "####^#####\n"
                              "##########\n"
                              "####T#####\n";
    EXPECT_TRUE(check(39, beach).empty()) << all(check(39, beach));
    EXPECT_TRUE(check(39, put(beach, 9, 3, 'g')).empty()) << "gems right of the chest";
    // Spikes lying on the sand where the fish jumps over them do as well.
    std::string flat = put(put(beach, 4, 5, '#'), 4, 4, '^');
    EXPECT_TRUE(check(39, flat).empty()) << all(check(39, flat));

    std::vector<Problem> blocked = check(39, put(beach, 7, 2, '#'));
    EXPECT_TRUE(mentions(blocked, 7, 2, "the big boss bird flies from (740, 200) to (120, 200)"))
        << all(blocked);
    std::vector<Problem> bare = check(39, put(beach, 4, 5, '#'));
    EXPECT_TRUE(mentions(bare, -1, -1, "only hurt by spikes where it lands from a dive")) << all(bare);

    // It only dives where it sees the fish: here the fish is fenced in,
    // below the bird's reach.
    const std::string fenced = "..........\n"
                               "..........\n"
                               "..........\n"
                               "...#......\n"
                               "...#......\n"
                               ".P.#......\n"
                               "####^#####\n"
                               "######T###\n";
    std::vector<Problem> unlured = check(39, fenced);
    EXPECT_EQ(1u, unlured.size()) << all(unlured);
    EXPECT_TRUE(mentions(unlured, 4, 6, "only after the fish, and the fish cannot get above them"))
        << all(unlured);

    // The chest: buried, the first treasure, and brought where the fish can
    // jump for it.
    std::string onTheSand = put(put(beach, 4, 7, '#'), 6, 4, 'T');
    EXPECT_TRUE(mentions(check(39, onTheSand), 6, 4, "can be reached before the boss is beaten"))
        << all(check(39, onTheSand));
    std::vector<Problem> gemFirst = check(39, put(beach, 2, 3, 'g'));
    EXPECT_TRUE(mentions(gemFirst, 2, 3, "is the level's first treasure")) << all(gemFirst);
    std::vector<Problem> twoChests = check(39, put(beach, 9, 3, 'T'));
    EXPECT_TRUE(mentions(twoChests, -1, -1, "exactly one treasure chest")) << all(twoChests);

    // On sand a row lower the fish still lures the bird, but cannot jump
    // as high as the bird it has beaten.
    const std::string low = "..........\n"
                            "..........\n"
                            "..........\n"
                            "..........\n"
                            "..........\n"
                            ".P........\n"
                            "####^#####\n"
                            "######T###\n";
    std::vector<Problem> outOfReach = check(39, low);
    EXPECT_EQ(1u, outOfReach.size()) << all(outOfReach);
    EXPECT_TRUE(mentions(outOfReach, 4, 2, "brings the chest here")) << all(outOfReach);
}

TEST(LevelValidatorTest, TheInvadersFishHoldsItsColumnBeyondTheFormationsLine)
{
    const std::string gallery = "........#T\n.........#\n..........\n..........\n"
                                ".........P\n..........\n..........\n7..8..9.2.\n";
    EXPECT_TRUE(check(1003, gallery).empty()) << all(check(1003, gallery));

    // Right on the line is too far left.
    std::string onTheLine = put(put(gallery, 9, 4, '.'), 8, 4, 'P');
    std::vector<Problem> problems = check(1003, onTheLine);
    EXPECT_EQ(1u, problems.size()) << all(problems);
    EXPECT_TRUE(mentions(problems, 8, 4, "must start right of x = 680 (column 9 or further right)"))
        << all(problems);

    // The fish never leaves its column, so rock above it keeps it from the
    // formation's top line even with a way round through the next column.
    std::string roofed = put(gallery, 9, 3, '#');
    problems = check(1003, roofed);
    EXPECT_EQ(1u, problems.size()) << all(problems);
    EXPECT_TRUE(mentions(problems, 9, 2,
        "the fish meets the formation's top line here, but it cannot be reached from the start at (9, 4) by "
        "swimming up and down its own column"))
        << all(problems);
    std::string floored = put(gallery, 9, 5, '#');
    EXPECT_TRUE(mentions(check(1003, floored), 9, 5, "bottom line")) << all(check(1003, floored));
}

TEST(LevelValidatorTest, ASentinelWhoseSightMustBeCrossedNeedsACrateThatCanBlockIt)
{
    // The statue at (1, 3) looks right along the only way to the chest.
    const std::string hall = "##########\n"
                             "#P.......#\n"
                             "#####.####\n"
                             "#>.......T\n"
                             "##########\n";
    std::vector<Problem> blind = check(21, hall);
    EXPECT_TRUE(mentions(blind, 1, 3, "must cross this sentinel statue's sight")) << all(blind);

    // A crate that can be pushed down the shaft into its row, or one already
    // in it, lets the fish by.
    EXPECT_TRUE(check(21, put(hall, 5, 1, 'x')).empty()) << all(check(21, put(hall, 5, 1, 'x')));
    EXPECT_TRUE(check(21, put(hall, 3, 3, '*')).empty());
    // A crate beyond rock is no help, and one behind the statue neither.
    EXPECT_FALSE(check(21, put(hall, 3, 0, 'x')).empty());

    // A statue looking away from the way on asks for nothing.
    EXPECT_TRUE(check(21, put(hall, 1, 3, '<')).empty());
}
