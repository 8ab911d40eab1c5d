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

TEST(LevelValidatorTest, SquidDenOpensItsVaultOnceTheSquidIsBeaten)
{
    // The squid swims a triangle through the open upper left; the vault
    // at the lower right is entered down column 8 below the plug at (8, 6).
    const std::string den = "...............#\n"
                            ".P.............#\n"
                            "..............##\n"
                            "............g.##\n"
                            "...........##..#\n"
                            "............#..#\n"
                            "#.......#####.G#\n"
                            "##.....#.#...###\n"
                            "##.....#.....T.#\n"
                            "##.....#.......#\n"
                            "##.....#.#######\n"
                            "################\n";
    EXPECT_TRUE(check(9, den).empty()) << all(check(9, den));

    // Without a way from the shaft into the vault the chest stays locked.
    std::string sealed = put(put(den, 9, 8, '#'), 9, 9, '#');
    EXPECT_TRUE(mentions(check(9, sealed), 13, 8, "cannot be reached")) << all(check(9, sealed));

    // Rock across the squid's way, and a den too small for its swim.
    std::string blocked = put(den, 6, 1, '#');
    EXPECT_TRUE(mentions(check(9, blocked), 6, 1, "squid swims from (800, 0) to (0, 400)"))
        << all(check(9, blocked));
    EXPECT_TRUE(mentions(check(9, "#####\n#P.T#\n#####\n"), -1, -1, "at least 11 x 11"));
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
    hold = put(hold, 8, 12, 'P');
    EXPECT_TRUE(check(1001, hold).empty()) << all(check(1001, hold));
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
    EXPECT_TRUE(mentions(late, 3, 9, "the third bomb goes here, 38 cells from (19, 5): 15.20 s"))
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

    // The shell game's chest sinks down column 5: the fish must not sit there.
    std::string shells = put(put(stage, 5, 3, 'P'), 1, 1, 'T');
    EXPECT_TRUE(mentions(check(1000, shells), 5, 3, "must not start here")) << all(check(1000, shells));
}

TEST(LevelValidatorTest, OutOfWaterLevelsAreRefusedUntilTheyHaveARule)
{
    EXPECT_TRUE(mentions(check(31, "#####\n#P.T#\n#####\n"), -1, -1, "no reachability check yet"));
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
