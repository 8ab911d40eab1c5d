#pragma once

#include "databuilder/art/Rgb.h"

#include <allegro.h>

#include <vector>

class DatafileWriter;
class Random;

// The drawing kit every painter shares, so that fish, tiles and screens come
// out in one style: shapes lit from the upper left, a dark outline around
// each part, transparent areas in the mask colour (magenta).
// All pictures are 16-bit memory bitmaps.
class Brush {
public:
    // How a rounded body is coloured: back colour at the top, belly colour
    // at the bottom, lit like a sphere, with a glossy spot.
    struct Shading {
        Rgb top;
        Rgb bottom;
        float shine = 0.35f;
        float ambient = 0.55f;
    };

    static int pixel(const Rgb& colour);
    static int mask();
    static bool isMask(BITMAP* bitmap, int x, int y);
    static Rgb colourAt(BITMAP* bitmap, int x, int y);

    // A new transparent picture.
    static BITMAP* picture(int width, int height);
    // Draws part over picture (mask colour stays transparent) and frees part.
    static void stamp(BITMAP* picture, BITMAP* part, int x = 0, int y = 0);

    static void verticalGradient(
        BITMAP* bitmap, int x1, int y1, int x2, int y2, const Rgb& top, const Rgb& bottom);

    // An egg-shaped body centred on (cx, cy), turned by angle (radians): the
    // four radii are towards the front (left), back (right), top and bottom.
    static void blob(BITMAP* bitmap, float cx, float cy, float front, float back, float top, float bottom,
        float angle, const Shading& shading);
    static void ellipse(BITMAP* bitmap, float cx, float cy, float rx, float ry, const Rgb& colour);
    static void disc(BITMAP* bitmap, float cx, float cy, float radius, const Rgb& colour);
    static void ring(BITMAP* bitmap, float cx, float cy, float radius, float width, const Rgb& colour);
    static void polygon(BITMAP* bitmap, const std::vector<float>& points, const Rgb& colour);
    static void thickLine(
        BITMAP* bitmap, float x1, float y1, float x2, float y2, float width, const Rgb& colour);
    // A smooth curve through the points, drawn with a pen tapering from w1 to w2.
    static void stroke(
        BITMAP* bitmap, const std::vector<float>& points, float w1, float w2, const Rgb& colour);
    static void rectangle(BITMAP* bitmap, int x1, int y1, int x2, int y2, const Rgb& colour);
    static void roundedRectangle(
        BITMAP* bitmap, int x1, int y1, int x2, int y2, int radius, const Rgb& colour);

    // A dark edge one pixel wide around every opaque area.
    static void outline(BITMAP* bitmap, const Rgb& colour);
    // Mixes colour into the opaque pixels around (cx, cy), strongest at the
    // centre and gone at radius.
    static void glow(BITMAP* bitmap, float cx, float cy, float radius, const Rgb& colour, float strength);
    // Same, but also paints transparent pixels, with a hard cut-off where
    // the strength falls below a third (a halo).
    static void halo(BITMAP* bitmap, float cx, float cy, float radius, const Rgb& colour, float strength);
    // Scatters small darker and lighter spots over the opaque pixels.
    static void texture(BITMAP* bitmap, Random& random, int count, float amount);
    // Darkens the opaque pixels towards the bottom (or lightens them, with a
    // negative amount), from row y1 to y2.
    static void shadeRows(BITMAP* bitmap, int y1, int y2, float amount);

    // A cartoon eye: white, pupil looking along (lookX, lookY), glint;
    // lid from 0 (open) to 1 (shut).
    static void eye(BITMAP* bitmap, float cx, float cy, float radius, float lookX, float lookY,
        float lid = 0.0f, const Rgb& iris = Rgb(20, 20, 30));

    // Adds the picture to the datafile as a bitmap and frees it.
    static void keep(DatafileWriter& out, BITMAP* picture);

    // A copy turned by angle (radians) about its centre, same size.
    static BITMAP* rotated(BITMAP* source, float angle);
    // A copy scaled to the given size.
    static BITMAP* scaled(BITMAP* source, int width, int height);
};
