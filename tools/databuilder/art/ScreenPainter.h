#pragma once

class DatafileWriter;
class TrueTypeFont;

// Pickups, props of the mini-games and the screens around level play: HUD,
// hearts, help panel, power-up icons, title, logo, menu backdrop, map nodes,
// banners, awards, end of game, cutscene, particles.
class ScreenPainter {
public:
    static void bubble(DatafileWriter& out, const TrueTypeFont& text);
    static void coin(DatafileWriter& out, const TrueTypeFont& text);
    static void treasure(DatafileWriter& out, const TrueTypeFont& text);
    static void shell(DatafileWriter& out, const TrueTypeFont& text);
    static void bomb(DatafileWriter& out, const TrueTypeFont& text);
    static void hud(DatafileWriter& out, const TrueTypeFont& text);
    static void heart(DatafileWriter& out, const TrueTypeFont& text);
    static void help(DatafileWriter& out, const TrueTypeFont& text);
    static void powerups(DatafileWriter& out, const TrueTypeFont& text);
    static void title(DatafileWriter& out, const TrueTypeFont& text);
    static void logo(DatafileWriter& out, const TrueTypeFont& text);
    static void menuBackdrop(DatafileWriter& out, const TrueTypeFont& text);
    static void mapNodes(DatafileWriter& out, const TrueTypeFont& text);
    static void banners(DatafileWriter& out, const TrueTypeFont& text);
    static void endOfGame(DatafileWriter& out, const TrueTypeFont& text);
    static void award(DatafileWriter& out, const TrueTypeFont& text);
    static void cutscene(DatafileWriter& out, const TrueTypeFont& text);
    static void particles(DatafileWriter& out, const TrueTypeFont& text);
};
