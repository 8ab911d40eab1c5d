#include "levels/LevelValidator.h"

#include "levels/LevelLegend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>

namespace {

constexpr int CELL = 80;

// The ride, followed in steps of one game tick.
constexpr int RIDE_STEP_X = 6; // 600 pixels a second for 10 ms
constexpr int RIDE_STEP_Y = 4; // 400 pixels a second for 10 ms
// A chest picked up on the ride counts once it has faded (0.5 s); the fish
// must still be alive then, with a frame or so to spare.
constexpr int RIDE_STEPS_AFTER_CHEST = 60;

// The chase: the shark bites within 80 pixels; a fish that needs every last
// pixel of its lead will not make it, so a cell's worth is kept in hand.
constexpr double FISH_CHASE_SPEED = 510.0;
constexpr double SHARK_SPEED = 500.0;
constexpr double SHARK_BITE = 80.0;
constexpr double CHASE_SLACK = 80.0;

// Timed errands (the bomb game): the fish swims 200 pixels a second, but
// nobody swims a perfect line, so only three quarters of the time count.
constexpr double SWIM_SPEED = 200.0;
constexpr double TIME_IN_HAND = 0.75;

// The dolphin of the coin levels: 400 pixels a second, first coin after 2.0 s,
// then one every 0.8 s. A player misses some, so half as many again as the
// target must fall before it leaves.
constexpr double DOLPHIN_SPEED = 400.0;
constexpr double DOLPHIN_FIRST_COIN = 2.0;
constexpr double DOLPHIN_COIN_INTERVAL = 0.8;

using Kind = LevelLegend::Kind;
using Problem = LevelValidator::Problem;

Kind kindAt(const LevelFile& level, int x, int y)
{
    const LevelLegend::Entry* entry = LevelLegend::find(level.at(x, y));
    return entry ? entry->kind : Kind::WATER;
}

std::string cellText(int x, int y)
{
    std::ostringstream text;
    text << "(" << x << ", " << y << ")";
    return text.str();
}

// The level as the fish and the creatures see it.
class Grid {
public:
    Grid(const LevelFile& level, const std::vector<LevelRules::Change>& changes)
        : w(level.width())
        , h(level.height())
        , rock(w * h)
        , statue(w * h)
        , spikes(w * h)
    {
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) {
                Kind kind = kindAt(level, x, y);
                rock[index(x, y)] = kind == Kind::SOLID || kind == Kind::FIXED_SOLID;
                statue[index(x, y)] = kind == Kind::SENTINEL;
                spikes[index(x, y)] = kind == Kind::SPIKES;
            }
        }
        for (const LevelRules::Change& change : changes) {
            if (inside(change.x, change.y)) {
                rock[index(change.x, change.y)] = change.solid;
            }
        }
    }

    int width() const { return w; }
    int height() const { return h; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    int index(int x, int y) const { return y * w + x; }
    // Solid for creatures (and outside the grid, which the game treats as rock).
    bool isRock(int x, int y) const { return !inside(x, y) || rock[index(x, y)]; }
    // The fish also bumps into statues; it never leaves the level.
    bool blocksFish(int x, int y) const { return isRock(x, y) || statue[index(x, y)]; }
    bool kills(int x, int y) const { return inside(x, y) && spikes[index(x, y)]; }
    bool passable(int x, int y) const { return !blocksFish(x, y) && !kills(x, y); }

private:
    int w;
    int h;
    std::vector<std::uint8_t> rock;
    std::vector<std::uint8_t> statue;
    std::vector<std::uint8_t> spikes;
};

using Reach = std::vector<std::uint8_t>;

// Flood fill from the start.
Reach swimReach(const Grid& grid, int startX, int startY)
{
    Reach reach(grid.width() * grid.height());
    if (!grid.passable(startX, startY)) {
        return reach;
    }
    std::deque<std::pair<int, int>> open { { startX, startY } };
    reach[grid.index(startX, startY)] = 1;
    const int steps[4][2] = { { 1, 0 }, { 0, -1 }, { 0, 1 }, { -1, 0 } };
    while (!open.empty()) {
        auto [x, y] = open.front();
        open.pop_front();
        for (int i = 0; i < 4; ++i) {
            int nx = x + steps[i][0];
            int ny = y + steps[i][1];
            if (grid.passable(nx, ny) && !reach[grid.index(nx, ny)]) {
                reach[grid.index(nx, ny)] = 1;
                open.push_back({ nx, ny });
            }
        }
    }
    return reach;
}

// Cells swum from one cell to every other, -1 where the fish cannot go.
std::vector<int> swimDistances(const Grid& grid, int fromX, int fromY)
{
    std::vector<int> distance(grid.width() * grid.height(), -1);
    if (!grid.passable(fromX, fromY)) {
        return distance;
    }
    std::deque<std::pair<int, int>> open { { fromX, fromY } };
    distance[grid.index(fromX, fromY)] = 0;
    const int steps[4][2] = { { 1, 0 }, { 0, -1 }, { 0, 1 }, { -1, 0 } };
    while (!open.empty()) {
        auto [x, y] = open.front();
        open.pop_front();
        for (const auto& step : steps) {
            int nx = x + step[0];
            int ny = y + step[1];
            if (grid.passable(nx, ny) && distance[grid.index(nx, ny)] < 0) {
                distance[grid.index(nx, ny)] = distance[grid.index(x, y)] + 1;
                open.push_back({ nx, ny });
            }
        }
    }
    return distance;
}

// The chase: the fish swims right at 510 pixels a second with the shark at
// 500 behind it. Moving one column on while changing row costs nothing (the
// fish swims diagonally at full speed on both axes, as long as it clips no
// corner); every cell climbed or dived straight up or down lets the shark
// close in by 500 x 80 / 510 pixels. A cell is reached when the way there
// costs less than the lead the fish has at that column.
Reach chaseReach(const Grid& grid, int startX, int startY, int sharkX)
{
    Reach reach(grid.width() * grid.height());
    if (!grid.passable(startX, startY)) {
        return reach;
    }
    const double lostPerCell = SHARK_SPEED * CELL / FISH_CHASE_SPEED;
    auto lead = [&](int column) {
        if (sharkX < 0) {
            return 1.0e9; // no shark behind
        }
        double seconds = (column - startX) * CELL / FISH_CHASE_SPEED;
        return (startX - sharkX) * CELL + (FISH_CHASE_SPEED - SHARK_SPEED) * seconds - SHARK_BITE
            - CHASE_SLACK;
    };
    // Fewest straight climbs or dives to each cell, column by column.
    const int none = 1 << 29;
    std::vector<int> cost(grid.width() * grid.height(), none);
    cost[grid.index(startX, startY)] = 0;
    for (int x = startX; x < grid.width(); ++x) {
        // Up and down within the column, a cell at a time.
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < grid.height(); ++i) {
                int y = pass == 0 ? i : grid.height() - 1 - i;
                int from = pass == 0 ? y - 1 : y + 1;
                if (grid.passable(x, y) && grid.inside(x, from) && cost[grid.index(x, from)] < none) {
                    cost[grid.index(x, y)] = std::min(cost[grid.index(x, y)], cost[grid.index(x, from)] + 1);
                }
            }
        }
        for (int y = 0; y < grid.height(); ++y) {
            int here = cost[grid.index(x, y)];
            if (here >= none) {
                continue;
            }
            if (here * lostPerCell <= lead(x)) {
                reach[grid.index(x, y)] = 1;
            } else {
                continue; // the shark has caught up by now
            }
            if (!grid.passable(x + 1, y)) {
                continue;
            }
            int& ahead = cost[grid.index(x + 1, y)];
            ahead = std::min(ahead, here);
            for (int dy : { -1, 1 }) {
                if (grid.passable(x, y + dy) && grid.passable(x + 1, y + dy)) {
                    int& slant = cost[grid.index(x + 1, y + dy)];
                    slant = std::min(slant, here);
                }
            }
        }
    }
    return reach;
}

// The ride: see the class comment. Positions are the fish's centre in level
// pixels; rows of states are heights in steps of RIDE_STEP_Y.
Reach rideReach(const Grid& grid, int startX, int startY)
{
    Reach reach(grid.width() * grid.height());
    const int levelWidth = grid.width() * CELL;
    const int heights = grid.height() * CELL / RIDE_STEP_Y;
    const int x0 = startX * CELL + CELL / 2;
    const int k0 = (startY * CELL + CELL / 2) / RIDE_STEP_Y;
    const int steps = (levelWidth - x0) / RIDE_STEP_X + 2;

    auto xAt = [&](int t) { return x0 + t * RIDE_STEP_X; };
    auto alive = [&](int t, int k) {
        int x = xAt(t);
        int y = k * RIDE_STEP_Y;
        return x < levelWidth && k >= 0 && k < heights && grid.passable(x / CELL, y / CELL);
    };

    // How many more steps the fish can survive from each state, up to the
    // number a chest needs; worked out backwards from the end of the level.
    std::vector<std::uint8_t> lasts(static_cast<size_t>(steps) * heights);
    for (int t = steps - 1; t >= 0; --t) {
        for (int k = 0; k < heights; ++k) {
            if (!alive(t, k)) {
                continue;
            }
            int best = 0;
            if (t + 1 < steps) {
                for (int dk = -1; dk <= 1; ++dk) {
                    int next = k + dk;
                    if (next >= 0 && next < heights) {
                        best = std::max(
                            best, static_cast<int>(lasts[static_cast<size_t>(t + 1) * heights + next]));
                    }
                }
            }
            lasts[static_cast<size_t>(t) * heights + k]
                = static_cast<std::uint8_t>(std::min(best + 1, RIDE_STEPS_AFTER_CHEST));
        }
    }

    std::vector<std::uint8_t> now(heights), next(heights);
    if (!alive(0, k0)) {
        return reach;
    }
    now[k0] = 1;
    for (int t = 0; t < steps; ++t) {
        bool any = false;
        std::fill(next.begin(), next.end(), 0);
        for (int k = 0; k < heights; ++k) {
            if (!now[k]) {
                continue;
            }
            if (lasts[static_cast<size_t>(t) * heights + k] >= RIDE_STEPS_AFTER_CHEST) {
                reach[grid.index(xAt(t) / CELL, k * RIDE_STEP_Y / CELL)] = 1;
            }
            for (int dk = -1; dk <= 1; ++dk) {
                // Steering into rock is refused and leaves the height as it
                // was, which the dk = 0 case already covers.
                if (t + 1 < steps && alive(t + 1, k + dk)) {
                    next[k + dk] = 1;
                    any = true;
                }
            }
        }
        if (!any) {
            break;
        }
        std::swap(now, next);
    }
    return reach;
}

struct DolphinRun {
    bool leaves = false; // it reaches row 1 and swims off
    double seconds = 0.0; // until it leaves
    int wallMissingRow = -1; // a row it swims along without a wall on the right
    int stuckRow = -1; // a row it turns back and forth in for ever, rock above both ends
    std::vector<std::pair<int, int>> cells; // every cell it swims through
};

// The coin dolphin: each lap it rises one cell if it can, then turns and
// swims along its row to the wall; it leaves on reaching row 1.
DolphinRun runDolphin(const Grid& grid, int startX, int startY, bool firstTurnGoesRight)
{
    DolphinRun run;
    int x = startX;
    int y = startY;
    bool right = !firstTurnGoesRight;
    std::set<std::tuple<int, int, bool>> seen;
    run.cells.push_back({ x, y });
    while (true) {
        if (y == 1) {
            run.leaves = true;
            return run;
        }
        if (!seen.insert({ x, y, right }).second) {
            run.stuckRow = y; // it circles its row for ever
            return run;
        }
        if (!grid.isRock(x, y - 1)) {
            --y;
            run.seconds += CELL / DOLPHIN_SPEED;
            run.cells.push_back({ x, y });
            if (y == 1) {
                run.seconds -= CELL / DOLPHIN_SPEED / 2; // row 1 begins half-way up
                run.leaves = true;
                return run;
            }
        }
        right = !right;
        int to = x;
        if (right) {
            while (to + 1 < grid.width() && !grid.isRock(to + 1, y)) {
                ++to;
            }
            if (to + 1 >= grid.width()) {
                run.wallMissingRow = y;
                return run;
            }
        } else {
            while (!grid.isRock(to - 1, y)) {
                --to;
            }
        }
        for (int c = std::min(x, to); c <= std::max(x, to); ++c) {
            run.cells.push_back({ c, y });
        }
        run.seconds += std::abs(to - x) * CELL / DOLPHIN_SPEED;
        x = to;
    }
}

int coinsDropped(double seconds)
{
    if (seconds < DOLPHIN_FIRST_COIN) {
        return 0;
    }
    return static_cast<int>((seconds - DOLPHIN_FIRST_COIN) / DOLPHIN_COIN_INTERVAL) + 1;
}

// Straight up and down from the start, as far as open water goes.
Reach columnReach(const Grid& grid, int startX, int startY)
{
    Reach reach(grid.width() * grid.height());
    for (int step : { -1, 1 }) {
        for (int y = startY; grid.inside(startX, y) && grid.passable(startX, y); y += step) {
            reach[grid.index(startX, y)] = 1;
        }
    }
    return reach;
}

const char* movementVerb(LevelRules::Movement movement)
{
    switch (movement) {
    case LevelRules::Movement::COLUMN:
        return "swimming up and down its own column";
    case LevelRules::Movement::CHASE:
        return "swimming ahead of the shark (never back left, and few straight climbs or dives)";
    case LevelRules::Movement::RIDE:
        return "riding (with time to ride on while it fades)";
    default:
        return "swimming";
    }
}

} // namespace

LevelValidator::LevelValidator(LevelRules rules)
    : rules(std::move(rules))
{
}

std::string LevelValidator::describe(const Problem& problem) const
{
    std::ostringstream text;
    if (rules.number >= 1000) {
        text << "mini-game " << rules.number;
    } else {
        text << "level " << rules.number;
    }
    text << " (" << LevelRules::fileName(rules.number) << ")";
    if (problem.x >= 0) {
        text << ", cell " << cellText(problem.x, problem.y);
    }
    text << ": " << problem.message;
    return text.str();
}

std::vector<Problem> LevelValidator::check(const LevelFile& level) const
{
    std::vector<Problem> problems;
    auto report = [&](int x, int y, const std::string& message) { problems.push_back({ x, y, message }); };

    const int w = level.width();
    const int h = level.height();
    if (w > LevelRules::MAX_WIDTH || h > LevelRules::MAX_HEIGHT) {
        std::ostringstream text;
        text << "the map is " << w << " x " << h << " cells; the game's tile grid holds at most "
             << LevelRules::MAX_WIDTH << " x " << LevelRules::MAX_HEIGHT;
        report(-1, -1, text.str());
        return problems;
    }
    if (w < rules.minWidth || h < rules.minHeight) {
        std::ostringstream text;
        text << "the map is " << w << " x " << h << " cells; this level needs at least " << rules.minWidth
             << " x " << rules.minHeight;
        report(-1, -1, text.str());
        return problems;
    }

    // The player start.
    std::vector<LevelFile::Cell> starts = level.find('P');
    bool haveStart = false;
    if (!rules.startRequired) {
        for (const LevelFile::Cell& start : starts) {
            report(start.x, start.y, "this mini-game places the fish itself; remove the player start 'P'");
        }
    } else if (starts.empty()) {
        report(-1, -1, "there is no player start 'P'");
    } else {
        haveStart = starts.size() == 1;
        for (size_t i = 1; i < starts.size(); ++i) {
            report(starts[i].x, starts[i].y,
                "a second player start 'P' (the first is at " + cellText(starts[0].x, starts[0].y) + ")");
        }
    }

    // Cells the game's own set-up needs.
    for (const LevelRules::Cell& cell : rules.mustBeOpen) {
        Kind kind = kindAt(level, cell.x, cell.y);
        if (cell.x >= w || cell.y >= h || kind == Kind::SOLID || kind == Kind::FIXED_SOLID) {
            report(cell.x, cell.y, "must be open water: " + cell.why);
        }
    }
    for (const LevelRules::Cell& cell : rules.startNotAt) {
        if (haveStart && starts[0].x == cell.x && starts[0].y == cell.y) {
            report(cell.x, cell.y, "the fish must not start here: " + cell.why);
        }
    }
    for (const LevelRules::Path& path : rules.openPaths) {
        double length = std::hypot(path.toX - path.fromX, path.toY - path.fromY);
        int samples = static_cast<int>(length / 10.0) + 1;
        for (int i = 0; i <= samples; ++i) {
            double along = static_cast<double>(i) / samples;
            int px = static_cast<int>(path.fromX + (path.toX - path.fromX) * along);
            int py = static_cast<int>(path.fromY + (path.toY - path.fromY) * along);
            int cx = std::min(px / CELL, w - 1);
            int cy = std::min(py / CELL, h - 1);
            Kind kind = kindAt(level, cx, cy);
            if (kind == Kind::SOLID || kind == Kind::FIXED_SOLID) {
                std::ostringstream text;
                text << "the " << path.who << " swims from (" << path.fromX << ", " << path.fromY << ") to ("
                     << path.toX << ", " << path.toY << ") in level pixels and would cross rock here";
                report(cx, cy, text.str());
                break;
            }
        }
    }

    // Chests.
    std::vector<LevelFile::Cell> chests = level.find('T');
    switch (rules.chests) {
    case LevelRules::ChestRule::REACHABLE:
        if (chests.empty()) {
            report(-1, -1, "there is no treasure chest 'T': the level would be over as soon as it starts");
        }
        break;
    case LevelRules::ChestRule::MOVED:
    case LevelRules::ChestRule::SEALED:
        if (chests.size() != 1) {
            report(-1, -1,
                "this mini-game needs exactly one treasure chest 'T', its prize; there are "
                    + std::to_string(chests.size()));
        }
        break;
    case LevelRules::ChestRule::NONE:
        for (const LevelFile::Cell& chest : chests) {
            report(chest.x, chest.y, "this mini-game makes its own prize chest; remove this one");
        }
        break;
    }

    if (rules.sharkRequired && level.find('S').empty()) {
        report(-1, -1, "a shark chase needs a shark 'S' behind the start");
    }

    // Crabs walk their ledge; one without rock under it never moves.
    for (const LevelFile::Cell& crab : level.find('c')) {
        Kind below = kindAt(level, crab.x, crab.y + 1);
        if (crab.y + 1 < h && below != Kind::SOLID && below != Kind::FIXED_SOLID) {
            report(crab.x, crab.y, "the crab has no rock under it to walk on");
        }
    }

    std::vector<LevelFile::Cell> dolphins = level.find('D');
    if (rules.coinsRequired > 0 && dolphins.size() != 1) {
        report(-1, -1,
            "a coin level needs exactly one dolphin 'D' to drop the coins; there are "
                + std::to_string(dolphins.size()));
    }

    // Reachability.
    std::vector<LevelRules::Change> changes = rules.bossChanges;
    if (!level.find('L').empty()) {
        // The beaten leviathan's rock falls out of column 3.
        changes.push_back({ 3, 6, false });
        changes.push_back({ 3, 7, false });
    }
    Grid grid(level, {});

    std::vector<LevelFile::Cell> treasures;
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            Kind kind = kindAt(level, x, y);
            if (kind == Kind::GEM || kind == Kind::CLAM
                || (kind == Kind::CHEST && rules.chests == LevelRules::ChestRule::REACHABLE)) {
                treasures.push_back({ x, y });
            }
        }
    }

    if (rules.movement == LevelRules::Movement::WALK) {
        report(-1, -1,
            "out-of-water levels have no reachability check yet (walking and jumping); "
            "add one before shipping this level");
        return problems;
    }
    if (rules.movement == LevelRules::Movement::DANCE) {
        for (const LevelFile::Cell& cell : treasures) {
            report(cell.x, cell.y,
                LevelLegend::describe(level.at(cell.x, cell.y))
                    + " can never be collected: the fish only dances here");
        }
        return problems;
    }
    if (!haveStart) {
        return problems;
    }

    const int sx = starts[0].x;
    const int sy = starts[0].y;
    int sharkX = -1; // the nearest shark behind the start
    for (const LevelFile::Cell& shark : level.find('S')) {
        if (shark.x < sx) {
            sharkX = std::max(sharkX, shark.x);
        }
    }
    if (rules.sharkRequired && sharkX < 0 && !level.find('S').empty()) {
        report(-1, -1, "the shark must start behind the fish, left of " + cellText(sx, sy));
    }
    auto reachFor = [&](const Grid& on) {
        switch (rules.movement) {
        case LevelRules::Movement::RIDE:
            return rideReach(on, sx, sy);
        case LevelRules::Movement::CHASE:
            return chaseReach(on, sx, sy, sharkX);
        case LevelRules::Movement::COLUMN:
            return columnReach(on, sx, sy);
        default:
            return swimReach(on, sx, sy);
        }
    };
    Reach reach = reachFor(grid);
    if (!changes.empty()) {
        // Whatever lies behind a boss's rock is reached once the boss is beaten.
        Reach after = reachFor(Grid(level, changes));
        for (size_t i = 0; i < reach.size(); ++i) {
            reach[i] = reach[i] || after[i];
        }
    }
    const std::string from
        = " cannot be reached from the start at " + cellText(sx, sy) + " by " + movementVerb(rules.movement);
    for (const LevelFile::Cell& cell : treasures) {
        if (!reach[grid.index(cell.x, cell.y)]) {
            report(cell.x, cell.y, LevelLegend::describe(level.at(cell.x, cell.y)) + from);
        }
    }
    for (const LevelRules::Cell& cell : rules.mustBeReachable) {
        if (!grid.inside(cell.x, cell.y) || !reach[grid.index(cell.x, cell.y)]) {
            report(cell.x, cell.y, cell.why + ", but it" + from);
        }
    }
    if (rules.startRightOf.x >= 0 && sx * CELL + CELL / 2 <= rules.startRightOf.x) {
        std::ostringstream text;
        text << "the fish must start right of x = " << rules.startRightOf.x << " (column "
             << (rules.startRightOf.x - CELL / 2) / CELL + 1
             << " or further right): " << rules.startRightOf.why;
        report(sx, sy, text.str());
    }
    for (const LevelRules::Row& row : rules.startColumnRows) {
        if (!grid.inside(sx, row.y) || !reach[grid.index(sx, row.y)]) {
            report(sx, row.y, row.why + ", but it" + from);
        }
    }
    int fromX = sx;
    int fromY = sy;
    for (const LevelRules::Stop& stop : rules.timedRoute) {
        std::vector<int> distance = swimDistances(grid, fromX, fromY);
        int cells = grid.inside(stop.x, stop.y) ? distance[grid.index(stop.x, stop.y)] : -1;
        std::ostringstream text;
        if (cells < 0) {
            text << stop.what << " goes here, but the fish cannot swim to it from " << cellText(fromX, fromY);
            report(stop.x, stop.y, text.str());
            break;
        }
        double needs = cells * CELL / SWIM_SPEED;
        if (needs > stop.seconds * TIME_IN_HAND) {
            text.precision(2);
            text << std::fixed << stop.what << " goes here, " << cells << " cells from "
                 << cellText(fromX, fromY) << ": " << needs << " s of swimming at best, with " << stop.seconds
                 << " s to do it in";
            report(stop.x, stop.y, text.str());
        }
        fromX = stop.x;
        fromY = stop.y;
    }
    if (rules.chests == LevelRules::ChestRule::SEALED) {
        Reach swim = swimReach(grid, sx, sy);
        for (const LevelFile::Cell& chest : chests) {
            if (swim[grid.index(chest.x, chest.y)]) {
                report(chest.x, chest.y,
                    "the prize chest can be reached by swimming, so the mini-game would end at once; "
                    "wall it in (it flies to the fish when the game is won)");
            }
        }
    }

    // The coin dolphin must drop enough coins where the fish can catch them.
    if (rules.coinsRequired > 0 && dolphins.size() == 1) {
        const LevelFile::Cell& dolphin = dolphins[0];
        int fewest = -1;
        for (bool goesRight : { false, true }) {
            DolphinRun run = runDolphin(grid, dolphin.x, dolphin.y, goesRight);
            if (run.wallMissingRow >= 0) {
                report(dolphin.x, run.wallMissingRow,
                    "the dolphin swims right along row " + std::to_string(run.wallMissingRow)
                        + " and finds no rock to turn at; close the row");
                fewest = -2;
                break;
            }
            // A dolphin that never gets to the top never leaves: coins rain
            // for ever and the fish can never run short.
            if (run.stuckRow >= 0) {
                report(dolphin.x, run.stuckRow,
                    "the dolphin turns back and forth along row " + std::to_string(run.stuckRow)
                        + " under rock for ever and never leaves at the top; open a way up");
                fewest = -2;
                break;
            }
            for (auto [cx, cy] : run.cells) {
                if (!reach[grid.index(cx, cy)]) {
                    report(cx, cy, "the dolphin drops its coins here, where the fish cannot follow");
                    fewest = -2;
                    break;
                }
            }
            if (fewest == -2) {
                break;
            }
            if (run.leaves) {
                int coins = coinsDropped(run.seconds);
                fewest = fewest < 0 ? coins : std::min(fewest, coins);
            }
        }
        int enough = rules.coinsRequired + (rules.coinsRequired + 1) / 2;
        if (fewest >= 0 && fewest < enough) {
            std::ostringstream text;
            text << "the dolphin drops only " << fewest
                 << " coins before it leaves at the top; the level needs " << rules.coinsRequired
                 << ", and at least " << enough << " leave room for misses";
            report(dolphin.x, dolphin.y, text.str());
        }
    }
    return problems;
}
