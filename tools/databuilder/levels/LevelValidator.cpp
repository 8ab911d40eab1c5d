#include "levels/LevelValidator.h"

#include "levels/LevelLegend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <functional>
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

// Out of the water the fish jumps at 500 pixels a second, and a held "up"
// takes 400 of the 980 of gravity off for up to two seconds: its tail rises
// about 215 pixels, two cells and a bit. It walks at 250 pixels a second,
// also in the air: about three cells at the top of a high jump (a second up
// there), two at the top of a low one. Dropping off an edge, its tail is in
// the row below at once and it falls through that row in 0.4 s, a cell's
// walk. Falls cost nothing.
constexpr int LOW_JUMP_DRIFT_CELLS = 2;
constexpr int HIGH_JUMP_DRIFT_CELLS = 3;

// The dolphin of the coin levels: 400 pixels a second, first coin after 2.0 s,
// then one every 0.8 s. A player misses some, so half as many again as the
// target must fall before it leaves.
constexpr double DOLPHIN_SPEED = 400.0;
constexpr double DOLPHIN_FIRST_COIN = 2.0;
constexpr double DOLPHIN_COIN_INTERVAL = 0.8;

// The swordfish's duel: it never comes nearer than 160 pixels (two cells)
// to either end of the level, so it stands in columns 2 to width - 3 and
// the last two columns are out of its reach. The fish starts three cells
// off, outside its blow (160) and its stalking distance (200).
constexpr int DUEL_MARGIN_CELLS = 2;
constexpr int DUEL_START_CELLS = 3;
// The leviathan, as the game has it: its coils hurt the fish anywhere left
// of x = 320 and above y = 400; it swallows whatever comes within 200 pixels
// of the point 200 pixels above it; its shots leave its jaws 200 pixels
// right of it and 160 up; beaten, its rock at (3, 6) and (3, 7) crumbles.
constexpr int COILS_RIGHT = 320;
constexpr int COILS_BOTTOM = 400;
constexpr int MOUTH_RISE = 200;
constexpr double SWALLOW_RADIUS = 200.0;
constexpr int JAWS_X = 200;
constexpr int JAWS_Y = -160;
constexpr int LEVIATHAN_ROCK[2][2] = { { 3, 6 }, { 3, 7 } };

using Kind = LevelLegend::Kind;
using Problem = LevelValidator::Problem;

Kind kindAt(const LevelFile& level, int x, int y)
{
    const LevelLegend::Entry* entry = LevelLegend::find(level.at(x, y));
    return entry ? entry->kind : Kind::WATER;
}

// Chests, gems and clams (each with its pearl) in the order the game makes
// their treasures: column by column from the left, top to bottom.
std::vector<LevelFile::Cell> treasureCells(const LevelFile& level)
{
    std::vector<LevelFile::Cell> cells;
    for (int x = 0; x < level.width(); ++x) {
        for (int y = 0; y < level.height(); ++y) {
            Kind kind = kindAt(level, x, y);
            if (kind == Kind::CHEST || kind == Kind::GEM || kind == Kind::CLAM) {
                cells.push_back({ x, y });
            }
        }
    }
    return cells;
}

std::string cellText(int x, int y)
{
    std::ostringstream text;
    text << "(" << x << ", " << y << ")";
    return text.str();
}

// Walks a straight swim in steps of 10 pixels; true with the first cell of
// rock on it.
bool firstRockOnPath(const LevelFile& level, const LevelRules::Path& path, int& cx, int& cy)
{
    double length = std::hypot(path.toX - path.fromX, path.toY - path.fromY);
    int samples = static_cast<int>(length / 10.0) + 1;
    for (int i = 0; i <= samples; ++i) {
        double along = static_cast<double>(i) / samples;
        int px = static_cast<int>(path.fromX + (path.toX - path.fromX) * along);
        int py = static_cast<int>(path.fromY + (path.toY - path.fromY) * along);
        cx = std::min(px / CELL, level.width() - 1);
        cy = std::min(py / CELL, level.height() - 1);
        Kind kind = kindAt(level, cx, cy);
        if (kind == Kind::SOLID || kind == Kind::FIXED_SOLID) {
            return true;
        }
    }
    return false;
}

bool isRockKind(Kind kind)
{
    return kind == Kind::SOLID || kind == Kind::FIXED_SOLID;
}

// Everything the game puts in its creature list where the map shows it.
// Refill stations are left out: their picture is hidden, so nothing takes
// them for a creature in sight.
bool startsAsCreature(char symbol)
{
    const LevelLegend::Entry* entry = LevelLegend::find(symbol);
    if (entry == nullptr || symbol == 'R') {
        return false;
    }
    switch (entry->kind) {
    case Kind::CREATURE:
    case Kind::SPIKES:
    case Kind::SENTINEL:
    case Kind::CRATE:
    case Kind::DOLPHIN:
    case Kind::CLAM:
        return true;
    default:
        return false;
    }
}

// Whether any part of the cell lies closer than the radius to the point.
bool cellTouchesCircle(int x, int y, double centreX, double centreY, double radius)
{
    double nearestX
        = std::clamp(centreX, static_cast<double>(x * CELL), static_cast<double>(x * CELL + CELL));
    double nearestY
        = std::clamp(centreY, static_cast<double>(y * CELL), static_cast<double>(y * CELL + CELL));
    double dx = nearestX - centreX;
    double dy = nearestY - centreY;
    return dx * dx + dy * dy < radius * radius;
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
        , crate(w * h)
    {
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) {
                Kind kind = kindAt(level, x, y);
                rock[index(x, y)] = kind == Kind::SOLID || kind == Kind::FIXED_SOLID;
                statue[index(x, y)] = kind == Kind::SENTINEL;
                spikes[index(x, y)] = kind == Kind::SPIKES;
                crate[index(x, y)] = kind == Kind::CRATE;
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
    // Out of the water crates are steps: the fish stands on them and jumps
    // from them. Pushing them about is not followed.
    bool walkable(int x, int y) const { return passable(x, y) && !crate[index(x, y)]; }
    bool footing(int x, int y) const
    {
        return blocksFish(x, y + 1) || (inside(x, y + 1) && crate[index(x, y + 1)]);
    }

private:
    int w;
    int h;
    std::vector<std::uint8_t> rock;
    std::vector<std::uint8_t> statue;
    std::vector<std::uint8_t> spikes;
    std::vector<std::uint8_t> crate;
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

// Out of the water: the fish walks along the ground, drops off edges and
// jumps. A jump goes straight up one or two cells first (the fish rises
// fast), then drifts sideways at that height and comes straight down; a fish
// that dropped off an edge drifts a cell in the row below. Every cell the
// fish's tail passes through counts as reached.
Reach walkReach(const Grid& grid, int startX, int startY)
{
    Reach reach(grid.width() * grid.height());
    if (!grid.walkable(startX, startY)) {
        return reach;
    }
    // How the fish is moving: a cell up in a jump (it may go one higher),
    // two cells up, drifting at the top, coming down after a jump, or
    // dropping off an edge (before and after its first row down).
    enum Phase { RISING, HIGH, DRIFTING, FALLING, DROPPING, DROPPED, PHASES };
    constexpr int DRIFTS = HIGH_JUMP_DRIFT_CELLS + 1;
    std::vector<std::uint8_t> seen(static_cast<size_t>(grid.width()) * grid.height() * PHASES * DRIFTS);
    struct State {
        int x;
        int y;
        Phase phase;
        int drift;
    };
    std::deque<State> open;
    auto visit = [&](int x, int y, Phase phase, int drift) {
        size_t at = (static_cast<size_t>(grid.index(x, y)) * PHASES + phase) * DRIFTS + drift;
        if (!seen[at]) {
            seen[at] = 1;
            open.push_back({ x, y, phase, drift });
        }
    };
    // The fish starts in the air and drops to the ground.
    visit(startX, startY, FALLING, 0);
    while (!open.empty()) {
        const State s = open.front();
        open.pop_front();
        reach[grid.index(s.x, s.y)] = 1;
        const bool standing = grid.footing(s.x, s.y);
        if (standing) {
            for (int dx : { -1, 1 }) {
                if (grid.walkable(s.x + dx, s.y)) {
                    visit(s.x + dx, s.y, DROPPING, 0);
                }
            }
            if (grid.walkable(s.x, s.y - 1)) {
                visit(s.x, s.y - 1, RISING, LOW_JUMP_DRIFT_CELLS);
            }
        }
        if (s.phase == RISING && grid.walkable(s.x, s.y - 1)) {
            visit(s.x, s.y - 1, HIGH, HIGH_JUMP_DRIFT_CELLS);
        }
        const bool drifts = s.phase == RISING || s.phase == HIGH || s.phase == DRIFTING || s.phase == DROPPED;
        if (drifts && s.drift > 0) {
            Phase next = s.phase == DROPPED ? DROPPED : DRIFTING;
            for (int dx : { -1, 1 }) {
                if (grid.walkable(s.x + dx, s.y)) {
                    visit(s.x + dx, s.y, next, s.drift - 1);
                }
            }
        }
        if (!standing && grid.walkable(s.x, s.y + 1)) {
            if (s.phase == DROPPING) {
                visit(s.x, s.y + 1, DROPPED, 1);
            } else if (s.phase == DROPPED) {
                visit(s.x, s.y + 1, DROPPED, s.drift);
            } else {
                visit(s.x, s.y + 1, FALLING, 0);
            }
        }
    }
    return reach;
}

// The first row at or below the given one that holds rock in the column;
// the level's height when there is none.
int firstRockBelow(const Grid& grid, int column, int row)
{
    int y = row;
    while (y < grid.height() && !grid.isRock(column, y)) {
        ++y;
    }
    return y;
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

// The duel can be fought and the chests are only won through it: see
// LevelRules::duel. The fish must start on the swordfish's left (it can
// never pass the swordfish alive: its nose hurts anything level with it).
void checkDuel(const LevelFile& level, const std::vector<LevelFile::Cell>& starts,
    const std::vector<LevelFile::Cell>& chests,
    const std::function<void(int, int, const std::string&)>& report)
{
    const int w = level.width();
    std::vector<LevelFile::Cell> swordfish = level.find('F');
    if (swordfish.size() != 1) {
        report(-1, -1,
            "the duel needs exactly one swordfish 'F'; there are " + std::to_string(swordfish.size()));
        return;
    }
    const LevelFile::Cell duellist = swordfish[0];
    const int lastColumn = w - 1 - DUEL_MARGIN_CELLS;
    if (duellist.x < DUEL_MARGIN_CELLS || duellist.x > lastColumn) {
        std::ostringstream text;
        text << "the swordfish keeps 160 pixels from both ends of the level (columns " << DUEL_MARGIN_CELLS
             << " to " << lastColumn << "); it cannot stand here";
        report(duellist.x, duellist.y, text.str());
    }
    if (starts.size() == 1 && starts[0].x > duellist.x - DUEL_START_CELLS) {
        report(starts[0].x, starts[0].y,
            "the fish must start at least " + std::to_string(DUEL_START_CELLS)
                + " cells left of the swordfish at " + cellText(duellist.x, duellist.y)
                + ", out of reach of its blow and with room to come at it");
    }
    // The fish meets the swordfish's sword only in the swordfish's own row,
    // and must be able to swim it from end to end.
    for (int x = 1; x < w - 1; ++x) {
        Kind kind = kindAt(level, x, duellist.y);
        if (kind == Kind::SOLID || kind == Kind::FIXED_SOLID || kind == Kind::SENTINEL || kind == Kind::SPIKES
            || kind == Kind::CRATE) {
            report(x, duellist.y,
                "the duel is fought along the swordfish's row, which must be open from end to end; "
                    + LevelLegend::describe(level.at(x, duellist.y)) + " is in the way");
        }
    }
    for (const LevelFile::Cell& chest : chests) {
        if (chest.x <= lastColumn) {
            std::ostringstream text;
            text << "the swordfish guards the chests from 160 pixels short of the right end: a chest left of "
                 << "column " << lastColumn + 1 << " is taken without beating it";
            report(chest.x, chest.y, text.str());
        }
    }
}

// The cells a sentinel statue watches: along its row the way it looks, up
// to the first rock or statue.
std::vector<LevelFile::Cell> watchedCells(const LevelFile& level, const LevelFile::Cell& statue)
{
    const int step = level.at(statue.x, statue.y) == '<' ? -1 : 1;
    std::vector<LevelFile::Cell> cells;
    for (int x = statue.x + step; x >= 0 && x < level.width(); x += step) {
        Kind kind = kindAt(level, x, statue.y);
        if (kind == Kind::SOLID || kind == Kind::FIXED_SOLID || kind == Kind::SENTINEL) {
            break;
        }
        cells.push_back({ x, statue.y });
    }
    return cells;
}

// A crate already in the statue's sight, or one above or below it with open
// water between, which the fish can push into the row.
bool crateCanBlock(const LevelFile& level, const std::vector<LevelFile::Cell>& watched)
{
    for (const LevelFile::Cell& cell : watched) {
        for (int step : { -1, 1 }) {
            for (int y = cell.y; y >= 0 && y < level.height(); y += step) {
                Kind kind = kindAt(level, cell.x, y);
                if (kind == Kind::CRATE) {
                    return true;
                }
                if (kind == Kind::SOLID || kind == Kind::FIXED_SOLID || kind == Kind::SENTINEL) {
                    break;
                }
            }
        }
    }
    return false;
}

// A statue whose sight the fish must cross to reach a chest needs a crate
// that can be pushed into its line of sight; otherwise its laser shuts the
// way for good.
template <typename ReachFor>
void checkSentinelHalls(const LevelFile& level, const std::vector<LevelFile::Cell>& chests,
    const Reach& reach, const ReachFor& reachFor, const std::vector<LevelRules::Change>& changes,
    const std::function<void(int, int, const std::string&)>& report)
{
    for (char symbol : { '<', '>' }) {
        for (const LevelFile::Cell& statue : level.find(symbol)) {
            std::vector<LevelFile::Cell> watched = watchedCells(level, statue);
            std::vector<LevelRules::Change> shut = changes;
            for (const LevelFile::Cell& cell : watched) {
                shut.push_back({ cell.x, cell.y, true });
            }
            const Grid without(level, shut);
            const Reach avoiding = reachFor(without);
            bool mustCross = false;
            for (const LevelFile::Cell& chest : chests) {
                const int at = without.index(chest.x, chest.y);
                mustCross = mustCross || (reach[at] && !avoiding[at]);
            }
            if (mustCross && !crateCanBlock(level, watched)) {
                report(statue.x, statue.y,
                    "the fish must cross this sentinel statue's sight to reach a chest, and no crate can be "
                    "pushed into its row to block it");
            }
        }
    }
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
    case LevelRules::Movement::WALK:
        return "walking and jumping (a jump climbs at most 2 cells)";
    default:
        return "swimming";
    }
}

} // namespace

LevelValidator::LevelValidator(LevelRules rules)
    : rules(std::move(rules))
{
}

std::string LevelValidator::describe(const Problem& problem, const std::string& file) const
{
    std::ostringstream text;
    if (rules.number >= 1000) {
        text << "mini-game " << rules.number;
    } else {
        text << "level " << rules.number;
    }
    text << " (" << (file.empty() ? LevelRules::fileName(rules.number) : file) << ")";
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
    for (const LevelRules::Cell& cell : rules.mustBeRock) {
        bool inside = cell.x < w && cell.y < h;
        Kind kind = inside ? kindAt(level, cell.x, cell.y) : Kind::SOLID;
        if (kind != Kind::SOLID && kind != Kind::FIXED_SOLID) {
            report(cell.x, cell.y, "must be rock: " + cell.why);
        }
    }
    auto mayCross = [&](int x, int y) {
        for (const LevelRules::Cell& cell : rules.pathsMayCross) {
            if (cell.x == x && cell.y == y) {
                return true;
            }
        }
        return false;
    };
    for (const LevelRules::Path& path : rules.openPaths) {
        // The legs of the swim; one unless it goes axis by axis.
        std::vector<std::pair<int, int>> points { { path.fromX, path.fromY } };
        int dx = path.toX - path.fromX;
        int dy = path.toY - path.fromY;
        if (path.axisByAxis && dx != 0 && dy != 0 && std::abs(dx) != std::abs(dy)) {
            int slant = std::min(std::abs(dx), std::abs(dy));
            points.push_back(
                { path.fromX + (dx < 0 ? -slant : slant), path.fromY + (dy < 0 ? -slant : slant) });
        }
        points.push_back({ path.toX, path.toY });
        bool crossed = false;
        for (size_t leg = 0; leg + 1 < points.size() && !crossed; ++leg) {
            auto [x0, y0] = points[leg];
            auto [x1, y1] = points[leg + 1];
            int steps = std::max({ std::abs(x1 - x0), std::abs(y1 - y0), 1 });
            // A pixel at a time; a point on the corner of four cells only
            // slips between them and touches none.
            for (int i = 0; i <= steps && !crossed; ++i) {
                double px = x0 + static_cast<double>(x1 - x0) * i / steps;
                double py = y0 + static_cast<double>(y1 - y0) * i / steps;
                if (std::fmod(px, CELL) == 0.0 && std::fmod(py, CELL) == 0.0) {
                    continue;
                }
                int cx = std::min(static_cast<int>(px) / CELL, w - 1);
                int cy = std::min(static_cast<int>(py) / CELL, h - 1);
                Kind kind = kindAt(level, cx, cy);
                if ((kind == Kind::SOLID || kind == Kind::FIXED_SOLID) && !mayCross(cx, cy)) {
                    std::ostringstream text;
                    text << "the " << path.who << " " << path.how << " from (" << path.fromX << ", "
                         << path.fromY << ") to (" << path.toX << ", " << path.toY
                         << ") in level pixels and would cross rock here";
                    report(cx, cy, text.str());
                    crossed = true;
                }
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
    case LevelRules::ChestRule::BROUGHT:
        if (chests.size() != 1) {
            report(-1, -1,
                "this level needs exactly one treasure chest 'T', the one the beaten boss brings; there are "
                    + std::to_string(chests.size()));
        }
        break;
    case LevelRules::ChestRule::NONE:
        for (const LevelFile::Cell& chest : chests) {
            report(chest.x, chest.y, "this mini-game makes its own prize chest; remove this one");
        }
        break;
    }

    if (rules.duel) {
        checkDuel(level, starts, chests, report);
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

    // The leviathan: one of it, with room to fight it, and its rock in place.
    std::vector<LevelFile::Cell> leviathans = level.find('L');
    if (rules.leviathanRequired && leviathans.empty()) {
        report(-1, -1, "this is the leviathan's level: place it with 'L'");
    }
    for (size_t i = 1; i < leviathans.size(); ++i) {
        report(leviathans[i].x, leviathans[i].y,
            "a second leviathan 'L' (the first is at " + cellText(leviathans[0].x, leviathans[0].y)
                + "): the level has one rock for it to break");
    }
    int jawsCellX = -1;
    int jawsCellY = -1;
    if (!leviathans.empty()) {
        const int px = leviathans[0].x * CELL + CELL / 2;
        const int py = leviathans[0].y * CELL + CELL / 2;
        const int mouthY = py - MOUTH_RISE;
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) {
                if (!cellTouchesCircle(x, y, px, mouthY, SWALLOW_RADIUS)) {
                    continue;
                }
                std::ostringstream where;
                where << "within 200 pixels of (" << px << ", " << mouthY << ")";
                if (isRockKind(kindAt(level, x, y))) {
                    report(x, y,
                        "must be open water: the leviathan swallows the shots carried " + where.str()
                            + " in level pixels");
                } else if (level.at(x, y) != 'L' && startsAsCreature(level.at(x, y))) {
                    report(x, y,
                        "the " + LevelLegend::describe(level.at(x, y)) + " starts " + where.str()
                            + ", where the leviathan would swallow it at once and lose a hit point");
                }
            }
        }
        const int jawsX = px + JAWS_X;
        const int jawsY = py + JAWS_Y;
        std::ostringstream jaws;
        jaws << "the leviathan's shots leave its jaws at (" << jawsX << ", " << jawsY << ") in level pixels";
        if (jawsX < 0 || jawsY < 0 || jawsX >= w * CELL || jawsY >= h * CELL) {
            report(leviathans[0].x, leviathans[0].y, jaws.str() + ", outside the level; move it");
        } else {
            jawsCellX = jawsX / CELL;
            jawsCellY = jawsY / CELL;
            if (isRockKind(kindAt(level, jawsCellX, jawsCellY))) {
                report(jawsCellX, jawsCellY, "must be open water: " + jaws.str());
            }
        }
        for (const auto& rock : LEVIATHAN_ROCK) {
            if (rock[0] >= w || rock[1] >= h || !isRockKind(kindAt(level, rock[0], rock[1]))) {
                report(rock[0], rock[1],
                    "must be rock: the beaten leviathan's rock crumbles here and opens the way on");
            }
        }
        if (haveStart) {
            const int fishX = starts[0].x * CELL + CELL / 2;
            const int fishY = starts[0].y * CELL + CELL / 2;
            if (fishX < COILS_RIGHT && fishY < COILS_BOTTOM) {
                report(starts[0].x, starts[0].y,
                    "the fish would start in the leviathan's coils (left of x = 320 and above y = 400 in "
                    "level pixels) and be hurt at once");
            }
        }
    }

    // Reachability.
    std::vector<LevelRules::Change> changes = rules.bossChanges;
    if (!leviathans.empty()) {
        // The beaten leviathan's rock falls out of column 3.
        for (const auto& rock : LEVIATHAN_ROCK) {
            changes.push_back({ rock[0], rock[1], false });
        }
    }
    Grid grid(level, {});

    std::vector<LevelFile::Cell> treasures;
    for (const LevelFile::Cell& cell : treasureCells(level)) {
        if (kindAt(level, cell.x, cell.y) != Kind::CHEST
            || rules.chests == LevelRules::ChestRule::REACHABLE) {
            treasures.push_back(cell);
        }
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
        case LevelRules::Movement::WALK:
            return walkReach(on, sx, sy);
        case LevelRules::Movement::COLUMN:
            return columnReach(on, sx, sy);
        default:
            return swimReach(on, sx, sy);
        }
    };
    Reach reach = reachFor(grid);
    const Reach beforeBeaten = reach;
    const Reach& before = beforeBeaten;
    if (!leviathans.empty()) {
        // The leviathan stands guard over every chest, and the fish must get
        // near its jaws to catch the shots in bubbles.
        for (const LevelFile::Cell& chest : chests) {
            if (reach[grid.index(chest.x, chest.y)]) {
                report(chest.x, chest.y,
                    "treasure chest 'T' can be reached before the leviathan is beaten; keep it behind the "
                    "leviathan's rock at (3, 6) and (3, 7)");
            }
        }
        if (jawsCellX >= 0 && !reach[grid.index(jawsCellX, jawsCellY)]) {
            report(jawsCellX, jawsCellY,
                "the leviathan's shots leave its jaws here, but the fish cannot swim there from the start at "
                    + cellText(sx, sy) + " to catch them in bubbles");
        }
    }
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
    if (rules.movement == LevelRules::Movement::SWIM || rules.movement == LevelRules::Movement::CHASE) {
        checkSentinelHalls(level, chests, reach, reachFor, changes, report);
    }
    for (const LevelRules::Cell& cell : rules.mustBeReachable) {
        if (!grid.inside(cell.x, cell.y) || !reach[grid.index(cell.x, cell.y)]) {
            report(cell.x, cell.y, cell.why + ", but it" + from);
        }
    }
    for (const LevelRules::Cell& cell : rules.sealedUntilBeaten) {
        if (grid.inside(cell.x, cell.y) && beforeBeaten[grid.index(cell.x, cell.y)]) {
            report(cell.x, cell.y,
                "the fish can get here before the boss is beaten, but " + cell.why + "; wall it off");
        }
    }
    if (rules.chestBehindBoss && !chests.empty()) {
        bool guarded = false;
        for (const LevelFile::Cell& chest : chests) {
            guarded = guarded || !beforeBeaten[grid.index(chest.x, chest.y)];
        }
        if (!guarded) {
            report(-1, -1,
                "every chest can be reached before the boss is beaten, so the level could be won "
                "without the fight; put one behind the rock the boss opens");
        }
    }
    if (rules.refillRequired) {
        bool refill = false;
        for (const LevelFile::Cell& station : level.find('R')) {
            refill = refill || beforeBeaten[grid.index(station.x, station.y)];
        }
        if (!refill) {
            report(-1, -1,
                "the fight takes more bubbles than a new fish carries; put a refill station 'R' where "
                "the fish can swim before the boss is beaten");
        }
    }
    if (rules.startUpToX >= 0 && sx * CELL + CELL / 2 > rules.startUpToX) {
        report(sx, sy,
            "the fish must start at or left of x = " + std::to_string(rules.startUpToX) + ": "
                + rules.startWhy);
    }
    if (rules.chestsAfterBoss) {
        std::string cells;
        for (const LevelRules::Change& change : rules.bossChanges) {
            cells += (cells.empty() ? "" : ", ") + cellText(change.x, change.y);
        }
        for (const LevelFile::Cell& chest : chests) {
            if (before[grid.index(chest.x, chest.y)]) {
                report(chest.x, chest.y,
                    LevelLegend::describe('T')
                        + " can be reached before the boss is beaten; the way to it must lead through "
                        + cells + ", which only the boss's defeat opens");
            }
        }
    }
    if (rules.minCrates > 0) {
        int crates = 0;
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) {
                crates += kindAt(level, x, y) == Kind::CRATE && before[grid.index(x, y)] ? 1 : 0;
            }
        }
        if (crates < rules.minCrates) {
            report(-1, -1,
                "the fish can get at only " + std::to_string(crates) + " crates ('x' or '*'); "
                    + rules.cratesWhy + ", so the level needs at least " + std::to_string(rules.minCrates));
        }
    }
    if (rules.charge.beyondX >= 0) {
        // The fish crosses the line in the first column past it; from each
        // height it can do that at, the charge and the run back must be
        // clear.
        const LevelRules::Charge& charge = rules.charge;
        const int column = (charge.beyondX + 1) / CELL;
        bool crossed = false;
        for (int row = 0; row < h && column < w; ++row) {
            if (!before[grid.index(column, row)]) {
                continue;
            }
            crossed = true;
            const int y = row * CELL + CELL / 2;
            const LevelRules::Path lane { charge.beyondX + 1 + charge.ahead, y, charge.runToX, y,
                charge.who };
            int cx = 0;
            int cy = 0;
            if (firstRockOnPath(level, lane, cx, cy)) {
                std::ostringstream text;
                text << "the " << charge.who << " charges a fish that crosses x = " << charge.beyondX
                     << " at " << cellText(column, row) << " to (" << lane.fromX << ", " << y
                     << ") in level pixels and runs back to (" << lane.toX << ", " << y
                     << "); it would cross rock here";
                report(cx, cy, text.str());
            }
        }
        if (!crossed) {
            report(-1, -1,
                "the fish can never swim past x = " + std::to_string(charge.beyondX) + ", so the "
                    + charge.who + " never charges and never swallows a crate");
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
    const std::vector<LevelFile::Cell> refills = level.find('R');
    for (const LevelRules::Stop& stop : rules.timedRoute) {
        std::vector<int> distance = swimDistances(grid, fromX, fromY);
        int cells = grid.inside(stop.x, stop.y) ? distance[grid.index(stop.x, stop.y)] : -1;
        std::ostringstream text;
        if (cells < 0) {
            text << stop.what << " goes here, but the fish cannot swim to it from " << cellText(fromX, fromY);
            report(stop.x, stop.y, text.str());
            break;
        }
        // By the refill station that makes the shortest way.
        std::string by;
        if (stop.topUp) {
            std::vector<int> toStop = swimDistances(grid, stop.x, stop.y);
            int best = -1;
            for (const LevelFile::Cell& refill : refills) {
                int there = distance[grid.index(refill.x, refill.y)];
                int on = toStop[grid.index(refill.x, refill.y)];
                if (there >= 0 && on >= 0 && (best < 0 || there + on < best)) {
                    best = there + on;
                    by = " by way of the refill station at " + cellText(refill.x, refill.y);
                }
            }
            if (best < 0) {
                text << stop.what << " goes here, and the fish runs short of bubbles on the way from "
                     << cellText(fromX, fromY) << ": put a bubble refill station 'R' where it can top up";
                report(stop.x, stop.y, text.str());
                fromX = stop.x;
                fromY = stop.y;
                continue;
            }
            cells = best;
        }
        double needs = cells * CELL / SWIM_SPEED;
        if (needs > stop.seconds * TIME_IN_HAND) {
            text.precision(2);
            text << std::fixed << stop.what << " goes here, " << cells << " cells from "
                 << cellText(fromX, fromY) << by << ": " << needs << " s of swimming at best, with "
                 << stop.seconds << " s to do it in";
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

    // Bosses lured onto spikes: somewhere along their flight there must be
    // spikes at the bottom of a dive with room above them for the fish.
    std::vector<LevelFile::Cell> beatenAt; // where a beaten diver stops
    for (const LevelRules::Dive& dive : rules.spikeDives) {
        std::vector<LevelFile::Cell> unreachedSpikes;
        for (int column = dive.firstColumn; column <= dive.lastColumn && column < w; ++column) {
            int ground = firstRockBelow(grid, column, dive.row);
            if (ground - 1 <= dive.row || !grid.kills(column, ground - 1)) {
                continue;
            }
            bool lured = false;
            for (int row = dive.row + 1; row < ground - 1; ++row) {
                lured = lured || reach[grid.index(column, row)];
            }
            if (lured) {
                beatenAt.push_back({ column, dive.row });
            } else {
                unreachedSpikes.push_back({ column, ground - 1 });
            }
        }
        if (!beatenAt.empty()) {
            continue;
        }
        if (!unreachedSpikes.empty()) {
            report(unreachedSpikes[0].x, unreachedSpikes[0].y,
                "the " + dive.who + " dives onto these spikes only after the fish, and the fish cannot get "
                    + "above them by " + movementVerb(rules.movement));
        } else {
            std::ostringstream text;
            text << "the " << dive.who
                 << " is only hurt by spikes where it lands from a dive: put spikes '^' "
                 << "in the last open cell above the first rock below row " << dive.row
                 << " of one of columns " << dive.firstColumn << " to " << dive.lastColumn
                 << ", with room above them for the fish";
            report(-1, -1, text.str());
        }
    }

    // A chest that the beaten boss brings must wait out of reach, be the
    // first treasure the game makes (the one the boss calls), and come to
    // where the fish can take it.
    if (rules.chests == LevelRules::ChestRule::BROUGHT && chests.size() == 1) {
        const LevelFile::Cell& chest = chests[0];
        for (const LevelFile::Cell& first : treasureCells(level)) {
            if (first.x != chest.x || first.y != chest.y) {
                report(first.x, first.y,
                    LevelLegend::describe(level.at(first.x, first.y))
                        + " is the level's first treasure (the game counts them column by column from the "
                          "left, top to bottom), so the beaten boss would call it instead of the chest at "
                        + cellText(chest.x, chest.y) + "; move the chest further left");
            }
            break;
        }
        // Swimming goes everywhere walking and jumping does (and a little
        // further: out of the water the fish picks things up 40 pixels above
        // its tail, which never takes it past a wall).
        Reach swim = swimReach(grid, sx, sy);
        if (swim[grid.index(chest.x, chest.y)]) {
            report(chest.x, chest.y,
                "the chest can be reached before the boss is beaten, so the level would end without the "
                "fight; wall it in (the beaten boss calls it out)");
        }
        for (const LevelFile::Cell& cell : beatenAt) {
            if (!reach[grid.index(cell.x, cell.y)]) {
                report(cell.x, cell.y,
                    "the beaten boss brings the chest here, above the spikes it was beaten on, but it"
                        + from);
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
