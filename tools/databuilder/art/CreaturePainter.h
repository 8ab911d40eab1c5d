#pragma once

#include "databuilder/art/FishPainter.h"

class DatafileWriter;
class TrueTypeFont;

// The hero fish, its friends, every creature and boss. Pictures face left
// unless the game draws them otherwise (the sentinel looks right; the
// friends that carry the fish, and the leviathan, face right).
class CreaturePainter {
public:
    // The hero's features, shared with the title, cutscene and award art.
    static FishPainter::Look dorirLook();

    static void dorir(DatafileWriter& out, const TrueTypeFont& text);
    static void ray(DatafileWriter& out, const TrueTypeFont& text);
    static void rocket(DatafileWriter& out, const TrueTypeFont& text);
    static void plunger(DatafileWriter& out, const TrueTypeFont& text);
    static void dolphin(DatafileWriter& out, const TrueTypeFont& text);
    static void angler(DatafileWriter& out, const TrueTypeFont& text);
    static void crab(DatafileWriter& out, const TrueTypeFont& text);
    static void eel(DatafileWriter& out, const TrueTypeFont& text);
    static void jellyfish(DatafileWriter& out, const TrueTypeFont& text);
    static void spikes(DatafileWriter& out, const TrueTypeFont& text);
    static void pirateFish(DatafileWriter& out, const TrueTypeFont& text);
    static void puffer(DatafileWriter& out, const TrueTypeFont& text);
    static void crate(DatafileWriter& out, const TrueTypeFont& text);
    static void explosiveCrate(DatafileWriter& out, const TrueTypeFont& text);
    static void sentinel(DatafileWriter& out, const TrueTypeFont& text);
    static void seagull(DatafileWriter& out, const TrueTypeFont& text);
    static void shark(DatafileWriter& out, const TrueTypeFont& text);
    static void cannon(DatafileWriter& out, const TrueTypeFont& text);
    static void cannonBall(DatafileWriter& out, const TrueTypeFont& text);
    static void clam(DatafileWriter& out, const TrueTypeFont& text);
    static void sleepyFish(DatafileWriter& out, const TrueTypeFont& text);
    static void gust(DatafileWriter& out, const TrueTypeFont& text);
    static void inkBlot(DatafileWriter& out, const TrueTypeFont& text);
    static void leviathan(DatafileWriter& out, const TrueTypeFont& text);
    static void leviathanShot(DatafileWriter& out, const TrueTypeFont& text);
    static void swordfish(DatafileWriter& out, const TrueTypeFont& text);
    static void bigBossBird(DatafileWriter& out, const TrueTypeFont& text);
    static void squid(DatafileWriter& out, const TrueTypeFont& text);
    static void bigShark(DatafileWriter& out, const TrueTypeFont& text);
    static void danceFish(DatafileWriter& out, const TrueTypeFont& text);
};
