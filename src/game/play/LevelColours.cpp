#include "game/play/LevelColours.h"

#include <unordered_map>

namespace {

using Kind = LevelColours::Kind;
using Layer = LevelColours::TileLayer;
using Placement = LevelColours::Placement;
using Row = LevelColours::Row;

// Only the colours differ from row to row for most of the table; these build
// a row from what sets it apart.
Row tile(int r, int g, int b, Layer layer, int code)
{
    return Row { 0, r, g, b, layer, code, Kind::TILE, "", Placement::NONE, 0, false, false, false, false, 0,
        -1, 0, 0 };
}

Row creature(int r, int g, int b, Kind kind, const char* datafile, Placement placement = Placement::PLACED,
    int offsetY = 0)
{
    return Row { 0, r, g, b, Layer::NONE, -1, kind, datafile, placement, offsetY, false, false, false, false,
        0, -1, 0, 0 };
}

Row treasure(int r, int g, int b, int treasureKind)
{
    Row row = creature(r, g, b, Kind::TREASURE, "", Placement::AT_CENTRE);
    row.treasureKind = treasureKind;
    return row;
}

std::vector<Row> buildRows()
{
    std::vector<Row> rows;
    rows.push_back(tile(255, 0, 0, Layer::MAIN, 0));
    // The "every bit set" pixel, white in a 24-bit picture.
    rows.push_back(tile(255, 255, 255, Layer::MAIN, 6));
    rows.push_back(tile(20, 20, 20, Layer::MAIN, 7));
    rows.push_back(tile(30, 30, 30, Layer::MAIN, 8));
    rows.push_back(tile(40, 40, 40, Layer::MAIN, 9));
    rows.push_back(tile(50, 50, 50, Layer::FOREGROUND, 10));
    rows.push_back(tile(55, 55, 55, Layer::FOREGROUND, 11));
    rows.push_back(tile(60, 60, 60, Layer::MAIN, 12));
    rows.push_back(tile(65, 65, 65, Layer::MAIN, 13));
    rows.push_back(tile(70, 70, 70, Layer::MAIN, 14));
    rows.push_back(tile(75, 75, 75, Layer::MAIN, 15));
    rows.push_back(tile(80, 80, 80, Layer::MAIN, 16));
    rows.push_back(creature(148, 96, 48, Kind::CRAB, "crab.dat"));
    rows.push_back(creature(64, 0, 64, Kind::LEVIATHAN, "leviathan.dat"));
    rows.push_back(creature(148, 148, 96, Kind::EEL, "eel.dat"));
    rows.push_back(creature(0, 64, 0, Kind::ANGLER, "angler.dat"));
    rows.push_back(creature(255, 125, 0, Kind::SPIKES, "spikes.dat"));
    rows.push_back(creature(164, 164, 164, Kind::PIRATE_FISH, "piratefish.dat"));
    Row hanging = creature(125, 255, 0, Kind::SPIKES, "spikes.dat");
    hanging.hanging = true;
    rows.push_back(hanging);
    // The puffer floats; from the cell centre it would hang half a cell high.
    rows.push_back(creature(255, 164, 64, Kind::PUFFER_FISH, "mrpuffer.dat", Placement::PLACED, 40));
    rows.push_back(creature(100, 100, 0, Kind::CRATE, "crate.dat"));
    Row lookingLeft = creature(0, 255, 128, Kind::SENTINEL, "sentinel.dat");
    lookingLeft.facesLeft = true;
    rows.push_back(lookingLeft);
    rows.push_back(creature(0, 255, 148, Kind::SENTINEL, "sentinel.dat"));
    rows.push_back(creature(225, 225, 225, Kind::SEAGULL, "seagull.dat"));
    Row explosive = creature(164, 100, 0, Kind::CRATE, "excrate.dat");
    explosive.explosive = true;
    rows.push_back(explosive);
    rows.push_back(creature(0, 0, 0, Kind::SHARK, "sharky.dat"));
    rows.push_back(creature(0, 0, 255, Kind::PLAYER_START, "", Placement::AT_CENTRE));
    Row swordfish = creature(255, 0, 125, Kind::SWORDFISH, "swordfish.dat");
    swordfish.givesPlunger = true;
    rows.push_back(swordfish);
    rows.push_back(
        creature(0, 255, 255, Kind::JELLYFISH, "jellyfish.dat", Placement::POSITIONED_THEN_REGISTERED));
    rows.push_back(creature(0, 0, 64, Kind::CANNON, "cannon.dat", Placement::POSITIONED_THEN_REGISTERED));
    rows.push_back(creature(125, 0, 255, Kind::DOLPHIN, "dolphin.dat"));
    rows.push_back(creature(255, 0, 255, Kind::SLEEPY_FISH, "sleepyfish.dat"));
    rows.push_back(treasure(255, 255, 0, 0));
    rows.push_back(treasure(164, 255, 0, 1));
    rows.push_back(treasure(200, 200, 200, 4));
    rows.push_back(treasure(255, 0, 64, 2));
    rows.push_back(
        creature(125, 125, 125, Kind::REFILL, "bubble.dat", Placement::POSITIONED_THEN_REGISTERED));
    // The clam keeps a pearl, lying in its shell left of and below the centre.
    Row clam = creature(0, 255, 0, Kind::CLAM, "clam.dat", Placement::POSITIONED_THEN_REGISTERED);
    clam.treasureKind = 4;
    clam.treasureOffsetX = -10;
    clam.treasureOffsetY = 35;
    rows.push_back(clam);
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].number = static_cast<int>(i) + 1;
    }
    return rows;
}

bool isTrueColour(int depth)
{
    return depth == 24 || depth == 32;
}

} // namespace

const std::vector<Row>& LevelColours::rows()
{
    static const std::vector<Row> table = buildRows();
    return table;
}

const Row* LevelColours::find(int rgbKey)
{
    // Every cell of a level is looked up once when it loads, and most are
    // open water that no row matches: a hash lookup instead of a walk
    // through the whole table. The first row of a colour wins, as in the
    // table's own order.
    static const std::unordered_map<int, const Row*> byKey = [] {
        std::unordered_map<int, const Row*> index;
        for (const Row& row : rows()) {
            index.emplace(key(row), &row);
        }
        return index;
    }();
    auto found = byKey.find(rgbKey);
    return found == byKey.end() ? nullptr : found->second;
}

const Row* LevelColours::findPixel(int pixel, int depth)
{
    if (isTrueColour(depth)) {
        return find(key(getr_depth(depth, pixel), getg_depth(depth, pixel), getb_depth(depth, pixel)));
    }
    if (depth != 8 && depth != 15 && depth != 16) {
        return nullptr;
    }
    for (const Row& row : rows()) {
        if (makecol_depth(depth, row.red, row.green, row.blue) == pixel) {
            return &row;
        }
    }
    return nullptr;
}

const Row* LevelColours::at(BITMAP* picture, int x, int y)
{
    if (picture == nullptr || x < 0 || y < 0 || x >= picture->w || y >= picture->h) {
        return nullptr;
    }
    return findPixel(getpixel(picture, x, y), bitmap_color_depth(picture));
}
