// The data builder writes level pictures from its legend; the game reads them
// with its own colour table. The two are kept apart on purpose (the game
// does not link the builder), so these tests hold them together.
#include "game/play/LevelColours.h"
#include "levels/LevelCompiler.h"
#include "levels/LevelLegend.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = LevelColours::Kind;
using Layer = LevelColours::TileLayer;
using LegendKind = LevelLegend::Kind;

// What the builder's kind of cell must be in the game's table.
bool sameThing(const LevelLegend::Entry& entry, const LevelColours::Row& row)
{
    switch (entry.kind) {
    case LegendKind::SOLID:
        return row.layer == Layer::MAIN && row.tileCode == 0;
    case LegendKind::FIXED_SOLID:
        return row.layer == Layer::MAIN && row.tileCode == 6;
    case LegendKind::SCENERY:
        return row.layer == Layer::MAIN && row.tileCode >= 7;
    case LegendKind::FOREGROUND:
        return row.layer == Layer::FOREGROUND;
    case LegendKind::CREATURE:
        return row.kind != Kind::TILE && row.kind != Kind::TREASURE && row.kind != Kind::PLAYER_START
            && row.kind != Kind::CLAM && row.kind != Kind::SPIKES && row.kind != Kind::SENTINEL
            && row.kind != Kind::CRATE && row.kind != Kind::DOLPHIN;
    case LegendKind::SPIKES:
        return row.kind == Kind::SPIKES;
    case LegendKind::SENTINEL:
        return row.kind == Kind::SENTINEL;
    case LegendKind::CRATE:
        return row.kind == Kind::CRATE;
    case LegendKind::DOLPHIN:
        return row.kind == Kind::DOLPHIN;
    case LegendKind::PLAYER_START:
        return row.kind == Kind::PLAYER_START;
    case LegendKind::CHEST:
        return row.kind == Kind::TREASURE && row.treasureKind == 0;
    case LegendKind::GEM:
        return row.kind == Kind::TREASURE && row.treasureKind != 0;
    case LegendKind::CLAM:
        return row.kind == Kind::CLAM;
    case LegendKind::WATER:
        return false;
    }
    return false;
}

// Row number of the game's table for a pixel, 0 for water.
int gameRow(BITMAP* picture, int x, int y)
{
    const LevelColours::Row* row = LevelColours::at(picture, x, y);
    return row ? row->number : 0;
}

} // namespace

TEST(LevelColoursAgreementTest, TheLegendAndTheGameReadEveryColourAlike)
{
    const std::vector<LevelLegend::Entry>& legend = LevelLegend::entries();
    const std::vector<LevelColours::Row>& rows = LevelColours::rows();
    ASSERT_EQ(legend.size(), rows.size());
    for (size_t i = 0; i < legend.size(); ++i) {
        const LevelLegend::Entry& entry = legend[i];
        const LevelColours::Row& row = rows[i];
        SCOPED_TRACE(LevelLegend::describe(entry.symbol));
        EXPECT_EQ(LevelLegend::key(entry), LevelColours::key(row));
        EXPECT_EQ(&row, LevelColours::find(LevelLegend::key(entry)));
        EXPECT_EQ(entry.tileCode, row.tileCode);
        EXPECT_TRUE(sameThing(entry, row));
    }
    EXPECT_EQ(nullptr, LevelColours::find(LevelLegend::WATER_KEY));
}

TEST(LevelColoursAgreementTest, EveryCellOfTheCompiledLevelsReadsAsItsMapCharacter)
{
    ScratchDir scratch;
    LevelCompiler compiler;
    std::string path = scratch.path() + "/levels.dat";
    ASSERT_TRUE(compiler.build(std::string(TIDEWANDER_SOURCE_DIR) + "/data/levels", path));

    int conversion = get_color_conversion();
    set_color_conversion(COLORCONV_NONE);
    DATAFILE* levels = load_datafile(path.c_str());
    set_color_conversion(conversion);
    ASSERT_NE(nullptr, levels);
    for (int index = 0; index < LevelCompiler::OBJECT_COUNT - 1; ++index) {
        ASSERT_EQ(DAT_BITMAP, levels[index].type) << "object " << index;
        BITMAP* picture = static_cast<BITMAP*>(levels[index].dat);
        ASSERT_EQ(24, bitmap_color_depth(picture)) << "object " << index;
        // The game runs at 16 bits; a picture converted to it on loading
        // must still read the same.
        BITMAP* reduced = create_bitmap_ex(16, picture->w, picture->h);
        blit(picture, reduced, 0, 0, 0, 0, picture->w, picture->h);
        int faults = 0;
        for (int x = 0; x < picture->w && faults < 5; ++x) {
            for (int y = 0; y < picture->h && faults < 5; ++y) {
                int pixel = getpixel(picture, x, y);
                const LevelLegend::Entry* entry
                    = LevelLegend::findKey(LevelColours::key(getr24(pixel), getg24(pixel), getb24(pixel)));
                int expected = entry ? static_cast<int>(entry - LevelLegend::entries().data()) + 1 : 0;
                if (gameRow(picture, x, y) != expected || gameRow(reduced, x, y) != expected) {
                    ADD_FAILURE() << "object " << index << ", cell (" << x << ", " << y << ")";
                    ++faults;
                }
            }
        }
        destroy_bitmap(reduced);
    }
    unload_datafile(levels);
}
