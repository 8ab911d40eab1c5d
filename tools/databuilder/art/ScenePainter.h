#pragma once

class DatafileWriter;
class TrueTypeFont;

// The places: the four tile sets, the five backgrounds and the world map.
class ScenePainter {
public:
    static void reefTiles(DatafileWriter& out, const TrueTypeFont& text);
    static void wreckTiles(DatafileWriter& out, const TrueTypeFont& text);
    static void ruinTiles(DatafileWriter& out, const TrueTypeFont& text);
    static void lairTiles(DatafileWriter& out, const TrueTypeFont& text);

    static void reefBackground(DatafileWriter& out, const TrueTypeFont& text);
    static void wreckBackground(DatafileWriter& out, const TrueTypeFont& text);
    static void cityBackground(DatafileWriter& out, const TrueTypeFont& text);
    static void shoreBackground(DatafileWriter& out, const TrueTypeFont& text);
    static void lairBackground(DatafileWriter& out, const TrueTypeFont& text);

    static void worldMap(DatafileWriter& out, const TrueTypeFont& text);

    // Where the level-select screen puts the node of each level (0-49).
    static const int NODE_POSITIONS[50][2];
};
