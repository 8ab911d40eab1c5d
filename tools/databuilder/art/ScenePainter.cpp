#include "databuilder/art/ScenePainter.h"

#include "databuilder/art/Brush.h"
#include "databuilder/art/Random.h"
#include "databuilder/art/TrueTypeFont.h"
#include "engine/media/DatafileWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

const int ScenePainter::NODE_POSITIONS[50][2] = {
    { 72, 173 },
    { 98, 187 },
    { 110, 215 },
    { 99, 246 },
    { 100, 277 },
    { 87, 307 },
    { 82, 333 },
    { 95, 360 },
    { 122, 370 },
    { 152, 365 },
    { 185, 352 },
    { 218, 345 },
    { 252, 352 },
    { 281, 367 },
    { 313, 362 },
    { 340, 344 },
    { 358, 317 },
    { 381, 296 },
    { 405, 280 },
    { 435, 269 },
    { 465, 252 },
    { 489, 234 },
    { 510, 210 },
    { 529, 182 },
    { 553, 160 },
    { 585, 143 },
    { 622, 138 },
    { 660, 140 },
    { 696, 150 },
    { 722, 177 },
    { 742, 211 },
    { 729, 240 },
    { 705, 263 },
    { 679, 283 },
    { 650, 305 },
    { 614, 315 },
    { 577, 324 },
    { 542, 330 },
    { 510, 339 },
    { 480, 363 },
    { 494, 398 },
    { 515, 419 },
    { 542, 440 },
    { 570, 460 },
    { 602, 475 },
    { 640, 476 },
    { 674, 462 },
    { 704, 438 },
    { 725, 411 },
    { 756, 390 },
};

namespace {

const float PI = 3.14159265f;
const int CELL = 80;
const Rgb INK(24, 16, 32);

// Value noise on a lattice that repeats every `period` cells, so textures
// made from it join seamlessly from tile to tile.
float lattice(int x, int y, int period, std::uint32_t seed)
{
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u
        + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

float noise(float x, float y, float cellSize, int period, std::uint32_t seed)
{
    float fx = x / cellSize, fy = y / cellSize;
    int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    float tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    float a = lattice(ix, iy, period, seed), b = lattice(ix + 1, iy, period, seed);
    float c = lattice(ix, iy + 1, period, seed), d = lattice(ix + 1, iy + 1, period, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Three octaves repeating every 80 pixels.
float tileNoise(float x, float y, std::uint32_t seed)
{
    return noise(x, y, 20, 4, seed) * 0.55f + noise(x, y, 10, 8, seed + 1) * 0.3f
        + noise(x, y, 5, 16, seed + 2) * 0.15f;
}

// Free-running noise for backgrounds (no repeat needed).
float fieldNoise(float x, float y, float scale, std::uint32_t seed)
{
    return noise(x, y, scale, 1 << 20, seed) * 0.6f + noise(x, y, scale * 0.5f, 1 << 20, seed + 7) * 0.4f;
}

enum class Pattern { Rock, Planks, Bricks, Basalt };

struct Material {
    Pattern pattern;
    Rgb light;
    Rgb dark;
    Rgb rim;
    Rgb edge;
    std::uint32_t seed;
};

Rgb textureAt(const Material& m, int x, int y)
{
    float n = tileNoise(static_cast<float>(x), static_cast<float>(y), m.seed);
    switch (m.pattern) {
    case Pattern::Rock: {
        Rgb c = m.dark.mix(m.light, std::min(1.0f, n * 1.3f));
        float pebble = noise(static_cast<float>(x), static_cast<float>(y), 8, 10, m.seed + 9);
        if (pebble > 0.78f) {
            c = c.lighter(0.18f);
        } else if (pebble < 0.2f) {
            c = c.darker(0.2f);
        }
        return c;
    }
    case Pattern::Planks: {
        int plank = y / 20;
        float shade = lattice(plank, 0, 4, m.seed) * 0.25f;
        float grain = 0.5f + 0.5f * std::sin(x * 0.25f + n * 6.0f + plank * 2.0f);
        Rgb c = m.light.mix(m.dark, shade + grain * 0.25f);
        if (y % 20 == 0 || y % 20 == 19) {
            c = m.dark.darker(0.35f);
        }
        if ((y % 20 == 9 || y % 20 == 10) && (x == 39 || x == 40)) {
            c = Rgb(60, 60, 70);
        }
        return c;
    }
    case Pattern::Bricks: {
        int row = y / 20;
        int offset = (row % 2) * 20;
        int bx = (x + offset) % 40;
        bool mortar = (y % 20) < 2 || bx < 2;
        if (mortar) {
            return m.dark.darker(0.3f);
        }
        int brick = ((x + offset) / 40) % 2 + row * 2;
        float shade = lattice(brick, row, 8, m.seed) * 0.35f;
        return m.light.mix(m.dark, shade + n * 0.35f);
    }
    case Pattern::Basalt: {
        Rgb c = m.dark.mix(m.light, n);
        float crack = noise(static_cast<float>(x), static_cast<float>(y), 16, 5, m.seed + 5);
        if (std::fabs(crack - 0.5f) < 0.012f) {
            c = Rgb(255, 110, 40);
        } else if (std::fabs(crack - 0.5f) < 0.035f) {
            c = c.mix(Rgb(200, 40, 20), 0.35f);
        }
        return c;
    }
    }
    return m.light;
}

// A solid tile for one of the codes 0-6: flush where a run continues,
// rounded and edged where it ends.
BITMAP* solidTile(const Material& m, int code)
{
    // Corners: top-left, top-right, bottom-left, bottom-right.
    bool round[4] = { false, false, false, false };
    // Sides: left, right, top, bottom.
    bool exposed[4] = { false, false, false, false };
    switch (code) {
    case 0:
        round[0] = round[1] = round[2] = round[3] = true;
        exposed[0] = exposed[1] = exposed[2] = exposed[3] = true;
        break;
    case 1:
        round[0] = round[2] = true;
        exposed[0] = true;
        break;
    case 3:
        round[1] = round[3] = true;
        exposed[1] = true;
        break;
    case 4:
        round[0] = round[1] = true;
        exposed[0] = exposed[1] = exposed[2] = true;
        break;
    case 5:
        exposed[0] = exposed[1] = true;
        break;
    case 6:
        round[2] = round[3] = true;
        exposed[0] = exposed[1] = exposed[3] = true;
        break;
    default:
        break;
    }
    const float R = 16;
    auto inside = [&](int x, int y) {
        float px = x + 0.5f, py = y + 0.5f;
        const float cx[4] = { R, CELL - R, R, CELL - R };
        const float cy[4] = { R, R, CELL - R, CELL - R };
        for (int k = 0; k < 4; ++k) {
            bool inCorner = ((k % 2 == 0) ? px < R : px > CELL - R) && ((k < 2) ? py < R : py > CELL - R);
            if (round[k] && inCorner && std::hypot(px - cx[k], py - cy[k]) > R) {
                return false;
            }
        }
        return true;
    };
    BITMAP* p = Brush::picture(CELL, CELL);
    for (int y = 0; y < CELL; ++y) {
        for (int x = 0; x < CELL; ++x) {
            if (!inside(x, y)) {
                continue;
            }
            Rgb c = textureAt(m, x, y);
            // Light from above: brighter at the top of a run, darker below.
            c = c.scaled(1.08f - 0.22f * y / CELL);
            putpixel(p, x, y, Brush::pixel(c));
        }
    }
    // Edge: two pixels wide along open sides and rounded corners.
    for (int y = 0; y < CELL; ++y) {
        for (int x = 0; x < CELL; ++x) {
            if (!inside(x, y)) {
                continue;
            }
            bool edge = (exposed[0] && x < 2) || (exposed[1] && x >= CELL - 2) || (exposed[2] && y < 2)
                || (exposed[3] && y >= CELL - 2);
            for (int dy = -2; dy <= 2 && !edge; ++dy) {
                for (int dx = -2; dx <= 2 && !edge; ++dx) {
                    int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < CELL && ny < CELL && !inside(nx, ny)) {
                        edge = true;
                    }
                }
            }
            if (edge) {
                putpixel(p, x, y, Brush::pixel(m.edge));
            }
        }
    }
    // A rim of growth along the top of every piece whose top may be open.
    if (code != 5 && code != 6) {
        Random random("rim" + std::to_string(code) + std::to_string(m.seed));
        for (int x = 0; x < CELL; ++x) {
            int top = 0;
            while (top < CELL && Brush::isMask(p, x, top)) {
                ++top;
            }
            if (top >= CELL - 10) {
                continue;
            }
            // Same height pattern in every tile, so runs join.
            int depth = 3 + static_cast<int>(3 * (0.5f + 0.5f * std::sin(x * 0.3f)));
            for (int y = top + (exposed[2] || round[0] || round[1] ? 2 : 0); y < top + depth; ++y) {
                putpixel(p, x, y, Brush::pixel(m.rim.scaled(1.0f - 0.12f * (y - top))));
            }
        }
    }
    return p;
}

// ---- scenery pieces, each standing on the bottom of its 80 x 80 cell ----

void kelp(BITMAP* p, Random& random, const Rgb& colour, int strands)
{
    for (int k = 0; k < strands; ++k) {
        float x = 20.0f + k * (40.0f / std::max(1, strands - 1)) + random.between(-4, 4);
        float sway = random.between(-10, 10);
        std::vector<float> pts = { x, 80, x + sway * 0.3f, 58, x - sway * 0.4f, 36, x + sway, 12 - k * 2.0f };
        Brush::stroke(p, pts, 5, 2, colour.mix(colour.darker(0.3f), k * 0.3f));
        for (int j = 1; j < 4; ++j) {
            float ly = 80 - j * 18.0f;
            float lx = x + std::sin(j * 1.7f + k) * sway * 0.4f;
            float side = (j % 2) ? 1.0f : -1.0f;
            Brush::blob(p, lx + side * 7, ly, 8, 8, 3, 3, side * -0.6f,
                Brush::Shading { colour.lighter(0.2f), colour.darker(0.2f), 0.2f, 0.6f });
        }
    }
    Brush::outline(p, colour.darker(0.6f));
}

void branch(BITMAP* p, Random& random, float x, float y, float angle, float length, float width,
    const Rgb& colour, int depth)
{
    float ex = x + std::cos(angle) * length, ey = y + std::sin(angle) * length;
    Brush::thickLine(p, x, y, ex, ey, width, colour);
    Brush::disc(p, ex, ey, width * 0.6f, colour.lighter(0.2f));
    if (depth > 0) {
        branch(p, random, ex, ey, angle - random.between(0.3f, 0.6f), length * 0.7f, width * 0.7f, colour,
            depth - 1);
        branch(p, random, ex, ey, angle + random.between(0.3f, 0.6f), length * 0.7f, width * 0.7f, colour,
            depth - 1);
    }
}

void coral(BITMAP* p, Random& random, const Rgb& colour)
{
    branch(p, random, 40, 80, -PI / 2 - 0.15f, 24, 11, colour, 3);
    branch(p, random, 34, 80, -PI / 2 + 0.5f, 16, 8, colour.darker(0.15f), 2);
    Brush::outline(p, colour.darker(0.6f));
}

void fanCoral(BITMAP* p, Random& random, const Rgb& colour)
{
    for (int k = 0; k < 14; ++k) {
        float a = -PI + 0.25f + k * (PI - 0.5f) / 13;
        float len = random.between(40, 60);
        Brush::stroke(p,
            { 40, 80, 40 + std::cos(a) * len * 0.5f, 80 + std::sin(a) * len * 0.5f, 40 + std::cos(a) * len,
                80 + std::sin(a) * len },
            3, 1.5f, colour);
    }
    Brush::outline(p, colour.darker(0.6f));
}

void rocks(BITMAP* p, Random& random, const Rgb& colour)
{
    for (int k = 0; k < 3; ++k) {
        float x = 20.0f + k * 20 + random.between(-4, 4), r = random.between(12, 20);
        BITMAP* part = Brush::picture(CELL, CELL);
        Brush::blob(part, x, 80 - r * 0.7f, r, r, r * 0.8f, r * 0.7f, random.between(-0.3f, 0.3f),
            Brush::Shading { colour.lighter(0.15f), colour.darker(0.35f), 0.15f, 0.55f });
        Brush::texture(part, random, 80, 0.15f);
        Brush::outline(part, INK);
        Brush::stamp(p, part);
    }
}

void anemone(BITMAP* p, Random& random, const Rgb& colour)
{
    for (int k = 0; k < 11; ++k) {
        float x = 22.0f + k * 3.6f;
        float top = random.between(30, 46);
        Brush::stroke(
            p, { 40, 72, x, 56, x + random.between(-6, 6), top }, 4, 3, colour.lighter(0.1f * (k % 3)));
        Brush::disc(p, x, top, 3, colour.lighter(0.4f));
    }
    Brush::blob(
        p, 40, 72, 16, 16, 8, 8, 0, Brush::Shading { colour.darker(0.2f), colour.darker(0.5f), 0.3f, 0.6f });
    Brush::outline(p, colour.darker(0.65f));
}

void starfish(BITMAP* p, Random& random, const Rgb& colour)
{
    Brush::blob(
        p, 40, 80, 38, 38, 14, 2, 0, Brush::Shading { Rgb(230, 210, 150), Rgb(190, 160, 110), 0.1f, 0.7f });
    std::vector<float> star;
    for (int k = 0; k < 10; ++k) {
        float a = k * PI / 5 - PI / 2 + 0.2f;
        float r = (k % 2) ? 6.0f : 15.0f;
        star.push_back(34 + std::cos(a) * r);
        star.push_back(62 + std::sin(a) * r * 0.8f);
    }
    Brush::polygon(p, star, colour);
    Brush::disc(p, 56, 70, 5, Rgb(250, 240, 230));
    Brush::disc(p, 18, 72, 4, Rgb(240, 200, 220));
    Brush::outline(p, INK);
    Brush::texture(p, random, 30, 0.2f);
}

void column(BITMAP* p, const Rgb& colour, bool broken)
{
    int top = broken ? 30 : 4;
    Brush::verticalGradient(p, 26, top, 54, 72, colour.lighter(0.1f), colour.darker(0.2f));
    for (int k = 0; k < 4; ++k) {
        vline(p, 30 + k * 7, top, 72, Brush::pixel(colour.darker(0.3f)));
    }
    Brush::rectangle(p, 20, 72, 60, 79, colour.darker(0.1f));
    if (broken) {
        Brush::polygon(p, { 26, 30, 34, 22, 42, 32, 48, 24, 54, 30, 54, 34, 26, 34 }, colour.lighter(0.1f));
        Brush::blob(
            p, 66, 74, 10, 10, 6, 6, 0.3f, Brush::Shading { colour, colour.darker(0.3f), 0.1f, 0.6f });
    } else {
        Brush::rectangle(p, 20, 0, 60, 8, colour.darker(0.1f));
    }
    Brush::outline(p, INK);
}

void amphora(BITMAP* p, const Rgb& colour)
{
    Brush::Shading clay { colour.lighter(0.15f), colour.darker(0.35f), 0.3f, 0.55f };
    Brush::blob(p, 40, 56, 18, 18, 18, 22, 0, clay);
    Brush::rectangle(p, 34, 20, 46, 40, colour);
    Brush::rectangle(p, 31, 18, 49, 22, colour.darker(0.1f));
    Brush::ring(p, 30, 34, 7, 3, colour.darker(0.2f));
    Brush::ring(p, 50, 34, 7, 3, colour.darker(0.2f));
    Brush::thickLine(p, 24, 58, 56, 58, 3, colour.darker(0.4f));
    Brush::outline(p, INK);
}

void skull(BITMAP* p, const Rgb& colour)
{
    Brush::blob(p, 40, 54, 20, 20, 18, 14, 0,
        Brush::Shading { colour.lighter(0.1f), colour.darker(0.25f), 0.2f, 0.6f });
    Brush::rectangle(p, 30, 64, 50, 74, colour.darker(0.1f));
    Brush::outline(p, INK);
    Brush::ellipse(p, 32, 54, 6, 7, INK);
    Brush::ellipse(p, 48, 54, 6, 7, INK);
    Brush::polygon(p, { 40, 60, 37, 66, 43, 66 }, INK);
    for (int k = 0; k < 4; ++k) {
        vline(p, 33 + k * 5, 68, 74, Brush::pixel(INK));
    }
}

void anchor(BITMAP* p, const Rgb& colour)
{
    Brush::thickLine(p, 40, 14, 40, 70, 6, colour);
    Brush::thickLine(p, 26, 24, 54, 24, 5, colour);
    Brush::ring(p, 40, 10, 6, 3, colour);
    Brush::stroke(p, { 18, 56, 24, 70, 40, 74, 56, 70, 62, 56 }, 5, 5, colour);
    Brush::polygon(p, { 12, 58, 18, 48, 24, 58 }, colour);
    Brush::polygon(p, { 56, 58, 62, 48, 68, 58 }, colour);
    Brush::outline(p, INK);
}

void barrel(BITMAP* p, const Rgb& colour)
{
    Brush::blob(p, 40, 56, 20, 20, 24, 24, 0,
        Brush::Shading { colour.lighter(0.15f), colour.darker(0.35f), 0.2f, 0.55f });
    for (int y : { 40, 56, 72 }) {
        Brush::rectangle(p, 21, y - 2, 59, y + 1, Rgb(80, 80, 90));
    }
    Brush::outline(p, INK);
}

void chainDown(BITMAP* p, const Rgb& colour)
{
    for (int k = 0; k < 7; ++k) {
        float y = 6.0f + k * 11;
        if (k % 2) {
            Brush::ellipse(p, 40, y, 3, 7, colour);
        } else {
            Brush::ring(p, 40, y, 7, 3, colour);
        }
    }
    Brush::outline(p, INK);
}

void hangingVines(BITMAP* p, Random& random, const Rgb& colour)
{
    for (int k = 0; k < 4; ++k) {
        float x = 12.0f + k * 18 + random.between(-3, 3);
        float len = random.between(40, 76);
        Brush::stroke(p, { x, 0, x + 4, len * 0.4f, x - 3, len * 0.7f, x + 2, len }, 3, 2, colour);
        for (int j = 1; j < 5; ++j) {
            Brush::blob(p, x + ((j % 2) ? 5.0f : -5.0f), len * j / 5.0f, 5, 5, 3, 3, 0.3f,
                Brush::Shading { colour.lighter(0.2f), colour, 0.1f, 0.7f });
        }
    }
    Brush::outline(p, colour.darker(0.6f));
}

void stalactite(BITMAP* p, const Rgb& colour)
{
    Brush::polygon(p, { 10, 0, 70, 0, 52, 20, 44, 70, 36, 30, 26, 46, 20, 14 }, colour);
    Brush::polygon(p, { 44, 70, 52, 20, 70, 0, 56, 0 }, colour.darker(0.3f));
    Brush::outline(p, INK);
}

void crystals(BITMAP* p, const Rgb& colour)
{
    const float tips[4][3] = { { 28, 30, -0.3f }, { 42, 14, 0.05f }, { 54, 36, 0.4f }, { 36, 50, -0.6f } };
    for (const auto& t : tips) {
        float bx = 40, by = 78;
        float tx = t[0], ty = t[1];
        Brush::polygon(p, { bx - 7, by, tx - 4, ty + 8, tx, ty, tx + 4, ty + 8, bx + 7, by }, colour);
        Brush::polygon(p, { tx, ty, tx + 4, ty + 8, bx + 7, by, bx, by }, colour.darker(0.3f));
    }
    Brush::outline(p, INK);
    Brush::halo(p, 40, 40, 30, colour.lighter(0.3f), 0.35f);
}

void ribcage(BITMAP* p, const Rgb& colour)
{
    Brush::thickLine(p, 6, 74, 74, 70, 5, colour);
    for (int k = 0; k < 5; ++k) {
        float x = 14.0f + k * 13;
        Brush::stroke(p, { x, 72, x - 6, 50, x + 2, 26 + k * 3.0f }, 4, 2, colour);
    }
    Brush::outline(p, INK);
}

void vent(BITMAP* p, const Rgb& colour)
{
    Brush::polygon(p, { 14, 80, 30, 44, 50, 44, 66, 80 }, colour);
    Brush::ellipse(p, 40, 46, 10, 4, Rgb(255, 120, 40));
    Brush::outline(p, INK);
    for (int k = 0; k < 4; ++k) {
        Brush::ring(p, 40.0f + (k % 2) * 6 - 3, 34.0f - k * 9, 3.0f + k, 1.5f, Rgb(200, 220, 240));
    }
}

void foregroundFronds(BITMAP* p, Random& random, const Rgb& colour)
{
    // Front plants stay low and to the sides so the creatures behind still read.
    for (int k = 0; k < 5; ++k) {
        float x = k < 3 ? random.between(0, 20) : random.between(60, 80);
        float a = -PI / 2 + random.between(-0.7f, 0.7f);
        float len = random.between(30, 50);
        Brush::stroke(p,
            { x, 80, x + std::cos(a) * len * 0.5f + 4, 80 + std::sin(a) * len * 0.5f, x + std::cos(a) * len,
                80 + std::sin(a) * len },
            8, 2, colour.mix(colour.darker(0.4f), k / 5.0f));
    }
    Brush::outline(p, colour.darker(0.7f));
}

void statueHead(BITMAP* p, const Rgb& colour)
{
    Brush::blob(p, 40, 50, 22, 22, 26, 26, 0,
        Brush::Shading { colour.lighter(0.1f), colour.darker(0.3f), 0.1f, 0.55f });
    Brush::rectangle(p, 26, 72, 54, 79, colour.darker(0.2f));
    Brush::outline(p, INK);
    Brush::thickLine(p, 26, 40, 54, 40, 3, colour.darker(0.4f));
    Brush::ellipse(p, 32, 46, 5, 3, colour.darker(0.5f));
    Brush::ellipse(p, 48, 46, 5, 3, colour.darker(0.5f));
    Brush::thickLine(p, 40, 48, 38, 60, 3, colour.darker(0.3f));
    Brush::thickLine(p, 32, 66, 48, 66, 2, colour.darker(0.5f));
    Brush::thickLine(p, 52, 24, 60, 44, 2, colour.darker(0.5f)); // a crack
}

void pile(BITMAP* p, const Rgb& colour)
{
    const float at[6][2] = { { 26, 70 }, { 40, 70 }, { 54, 70 }, { 33, 58 }, { 47, 58 }, { 40, 46 } };
    for (const auto& c : at) {
        Brush::blob(p, c[0], c[1], 7, 7, 7, 7, 0,
            Brush::Shading { colour.lighter(0.3f), colour.darker(0.4f), 0.8f, 0.5f });
    }
    Brush::outline(p, INK);
}

void writeTileSet(
    DatafileWriter& out, const Material& m, const std::vector<std::function<void(BITMAP*, Random&)>>& scenery)
{
    for (int code = 0; code <= 6; ++code) {
        Brush::keep(out, solidTile(m, code));
    }
    int code = 7;
    for (const auto& paint : scenery) {
        BITMAP* p = Brush::picture(CELL, CELL);
        Random random("scenery" + std::to_string(m.seed) + "-" + std::to_string(code));
        paint(p, random);
        Brush::keep(out, p);
        ++code;
    }
}

// ---- backgrounds ----

void waterColumn(BITMAP* p, const Rgb& top, const Rgb& bottom, std::uint32_t seed)
{
    for (int y = 0; y < p->h; ++y) {
        for (int x = 0; x < p->w; ++x) {
            float n = fieldNoise(static_cast<float>(x), static_cast<float>(y), 90, seed);
            Rgb c = top.mix(bottom, std::pow(static_cast<float>(y) / p->h, 0.8f));
            putpixel(p, x, y, Brush::pixel(c.scaled(0.94f + 0.1f * n)));
        }
    }
}

void lightShafts(BITMAP* p, Random& random, int count, const Rgb& light, float strength)
{
    for (int k = 0; k < count; ++k) {
        float x0 = random.between(-100, static_cast<float>(p->w));
        float width = random.between(30, 90);
        float slant = random.between(0.25f, 0.45f);
        float s = strength * random.between(0.5f, 1.0f);
        for (int y = 0; y < p->h; ++y) {
            float fade = s * (1.0f - static_cast<float>(y) / p->h);
            float cx = x0 + y * slant;
            for (int x = static_cast<int>(cx - width); x <= static_cast<int>(cx + width); ++x) {
                if (x < 0 || x >= p->w) {
                    continue;
                }
                float d = std::fabs(x - cx) / width;
                float a = fade * (1.0f - d) * (1.0f - d);
                if (a > 0.004f) {
                    putpixel(p, x, y, Brush::pixel(Brush::colourAt(p, x, y).mix(light, a)));
                }
            }
        }
    }
}

// A ridge of silhouette along the bottom: height from noise.
void ridge(BITMAP* p, float base, float amplitude, float scale, const Rgb& colour, std::uint32_t seed)
{
    int value = Brush::pixel(colour);
    for (int x = 0; x < p->w; ++x) {
        float h = base - amplitude * fieldNoise(static_cast<float>(x), 0, scale, seed);
        vline(p, x, static_cast<int>(h), p->h - 1, value);
    }
}

void kelpForest(BITMAP* p, Random& random, int count, float baseY, float height, const Rgb& colour)
{
    for (int k = 0; k < count; ++k) {
        float x = random.between(0, static_cast<float>(p->w));
        float h = height * random.between(0.6f, 1.0f);
        float sway = random.between(-30, 30);
        Brush::stroke(p,
            { x, baseY, x + sway * 0.3f, baseY - h * 0.35f, x - sway * 0.2f, baseY - h * 0.7f, x + sway,
                baseY - h },
            random.between(5, 9), 2, colour);
    }
}

void motes(BITMAP* p, Random& random, int count, const Rgb& colour)
{
    for (int k = 0; k < count; ++k) {
        float x = random.between(0, static_cast<float>(p->w)),
              y = random.between(0, static_cast<float>(p->h));
        Rgb under = Brush::colourAt(p, static_cast<int>(x), static_cast<int>(y));
        if (random.unit() < 0.3f) {
            Brush::ring(p, x, y, random.between(2, 5), 1.2f, under.mix(colour, 0.5f));
        } else {
            putpixel(p, static_cast<int>(x), static_cast<int>(y), Brush::pixel(under.mix(colour, 0.6f)));
        }
    }
}

void surfaceRipples(BITMAP* p, const Rgb& light)
{
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < p->w; ++x) {
            float w = std::sin(x * 0.05f + std::sin(y * 0.4f) * 2) * std::sin(x * 0.013f + y * 0.2f);
            if (w > 0.55f) {
                putpixel(p, x, y, Brush::pixel(Brush::colourAt(p, x, y).mix(light, 0.35f * (1 - y / 40.0f))));
            }
        }
    }
}

} // namespace

void ScenePainter::reefTiles(DatafileWriter& out, const TrueTypeFont&)
{
    Material m { Pattern::Rock, Rgb(214, 170, 124), Rgb(140, 96, 72), Rgb(240, 220, 165), Rgb(60, 36, 30),
        11 };
    writeTileSet(out, m,
        { [](BITMAP* p, Random& r) { kelp(p, r, Rgb(70, 170, 80), 3); },
            [](BITMAP* p, Random& r) { coral(p, r, Rgb(250, 120, 140)); },
            [](BITMAP* p, Random& r) { rocks(p, r, Rgb(170, 130, 100)); },
            [](BITMAP* p, Random& r) { foregroundFronds(p, r, Rgb(30, 110, 60)); },
            [](BITMAP* p, Random& r) { fanCoral(p, r, Rgb(150, 60, 120)); },
            [](BITMAP* p, Random& r) { anemone(p, r, Rgb(250, 140, 50)); },
            [](BITMAP* p, Random& r) { starfish(p, r, Rgb(250, 100, 60)); },
            [](BITMAP* p, Random& r) { coral(p, r, Rgb(170, 110, 230)); },
            [](BITMAP* p, Random& r) { kelp(p, r, Rgb(120, 190, 70), 2); },
            [](BITMAP* p, Random& r) { hangingVines(p, r, Rgb(80, 170, 90)); } });
}

void ScenePainter::wreckTiles(DatafileWriter& out, const TrueTypeFont&)
{
    Material m { Pattern::Planks, Rgb(170, 120, 70), Rgb(100, 66, 40), Rgb(150, 160, 100), Rgb(50, 30, 20),
        23 };
    writeTileSet(out, m,
        { [](BITMAP* p, Random& r) { kelp(p, r, Rgb(110, 140, 60), 3); },
            [](BITMAP* p, Random&) { barrel(p, Rgb(160, 110, 60)); },
            [](BITMAP* p, Random&) { anchor(p, Rgb(110, 110, 125)); },
            [](BITMAP* p, Random& r) { foregroundFronds(p, r, Rgb(60, 90, 40)); },
            [](BITMAP* p, Random&) { chainDown(p, Rgb(90, 90, 100)); },
            [](BITMAP* p, Random& r) { rocks(p, r, Rgb(120, 120, 110)); },
            [](BITMAP* p, Random&) { pile(p, Rgb(70, 70, 80)); },
            [](BITMAP* p, Random&) { column(p, Rgb(130, 90, 55), true); },
            [](BITMAP* p, Random&) { skull(p, Rgb(235, 230, 210)); },
            [](BITMAP* p, Random&) { chainDown(p, Rgb(140, 110, 70)); } });
}

void ScenePainter::ruinTiles(DatafileWriter& out, const TrueTypeFont&)
{
    Material m { Pattern::Bricks, Rgb(200, 190, 160), Rgb(130, 120, 100), Rgb(130, 175, 110), Rgb(50, 45, 40),
        37 };
    writeTileSet(out, m,
        { [](BITMAP* p, Random&) { column(p, Rgb(200, 195, 175), true); },
            [](BITMAP* p, Random&) { amphora(p, Rgb(200, 110, 60)); },
            [](BITMAP* p, Random& r) { rocks(p, r, Rgb(170, 165, 145)); },
            [](BITMAP* p, Random& r) { hangingVines(p, r, Rgb(60, 130, 70)); },
            [](BITMAP* p, Random& r) { foregroundFronds(p, r, Rgb(50, 120, 80)); },
            [](BITMAP* p, Random&) { column(p, Rgb(210, 205, 185), false); },
            [](BITMAP* p, Random&) { statueHead(p, Rgb(170, 180, 160)); },
            [](BITMAP* p, Random& r) { kelp(p, r, Rgb(80, 160, 100), 2); },
            [](BITMAP* p, Random& r) { anemone(p, r, Rgb(120, 200, 220)); },
            [](BITMAP* p, Random& r) { hangingVines(p, r, Rgb(90, 160, 80)); } });
}

void ScenePainter::lairTiles(DatafileWriter& out, const TrueTypeFont&)
{
    Material m { Pattern::Basalt, Rgb(90, 70, 100), Rgb(40, 30, 50), Rgb(120, 40, 60), Rgb(15, 8, 20), 41 };
    writeTileSet(out, m,
        { [](BITMAP* p, Random& r) { kelp(p, r, Rgb(60, 80, 70), 3); },
            [](BITMAP* p, Random&) { ribcage(p, Rgb(220, 210, 190)); },
            [](BITMAP* p, Random&) { crystals(p, Rgb(230, 60, 90)); },
            [](BITMAP* p, Random&) { stalactite(p, Rgb(60, 45, 70)); },
            [](BITMAP* p, Random& r) { foregroundFronds(p, r, Rgb(50, 40, 60)); },
            [](BITMAP* p, Random&) { skull(p, Rgb(220, 210, 190)); },
            [](BITMAP* p, Random& r) { coral(p, r, Rgb(200, 50, 60)); },
            [](BITMAP* p, Random&) { vent(p, Rgb(70, 55, 75)); },
            [](BITMAP* p, Random& r) { rocks(p, r, Rgb(80, 65, 90)); },
            [](BITMAP* p, Random&) { stalactite(p, Rgb(80, 60, 90)); } });
}

void ScenePainter::reefBackground(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(800, 600);
    Random random("bg0");
    waterColumn(p, Rgb(90, 200, 230), Rgb(10, 70, 130), 3);
    surfaceRipples(p, Rgb(230, 250, 255));
    lightShafts(p, random, 7, Rgb(220, 250, 255), 0.28f);
    ridge(p, 470, 120, 140, Rgb(40, 110, 150), 5);
    kelpForest(p, random, 14, 560, 260, Rgb(30, 100, 120));
    ridge(p, 540, 80, 90, Rgb(25, 80, 115), 6);
    kelpForest(p, random, 10, 600, 200, Rgb(20, 70, 95));
    ridge(p, 590, 50, 60, Rgb(15, 55, 85), 7);
    motes(p, random, 300, Rgb(220, 250, 255));
    Brush::keep(out, p);
}

void ScenePainter::wreckBackground(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(800, 600);
    Random random("bg1");
    waterColumn(p, Rgb(100, 170, 150), Rgb(15, 50, 60), 13);
    surfaceRipples(p, Rgb(220, 250, 230));
    lightShafts(p, random, 5, Rgb(220, 250, 220), 0.25f);
    ridge(p, 500, 90, 150, Rgb(50, 100, 95), 15);
    // A sunken ship, keel up on the sea bed, masts leaning.
    Rgb hull(35, 75, 75);
    Brush::polygon(p, { 170, 420, 620, 400, 660, 330, 590, 350, 200, 360, 120, 330 }, hull);
    Brush::polygon(p, { 120, 330, 200, 360, 200, 470, 170, 480 }, hull);
    Brush::thickLine(p, 300, 360, 260, 120, 9, hull);
    Brush::thickLine(p, 470, 355, 520, 150, 8, hull);
    Brush::thickLine(p, 235, 190, 320, 200, 5, hull);
    Brush::thickLine(p, 480, 220, 560, 200, 5, hull);
    for (int k = 0; k < 5; ++k) {
        Brush::disc(p, 260.0f + k * 70, 385, 8, hull.darker(0.4f));
    }
    ridge(p, 560, 60, 90, Rgb(30, 70, 70), 16);
    kelpForest(p, random, 12, 600, 180, Rgb(25, 60, 55));
    motes(p, random, 300, Rgb(200, 240, 220));
    Brush::keep(out, p);
}

void ScenePainter::cityBackground(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(800, 600);
    Random random("bg2");
    waterColumn(p, Rgb(70, 120, 200), Rgb(10, 25, 80), 23);
    surfaceRipples(p, Rgb(220, 230, 255));
    lightShafts(p, random, 6, Rgb(210, 230, 255), 0.25f);
    // Far towers and domes of the drowned city.
    Rgb far(45, 75, 140), near(28, 50, 105);
    for (int k = 0; k < 9; ++k) {
        float x = 40.0f + k * 90 + random.between(-20, 20);
        float h = random.between(120, 260);
        float w = random.between(40, 70);
        Brush::rectangle(
            p, static_cast<int>(x - w / 2), static_cast<int>(560 - h), static_cast<int>(x + w / 2), 600, far);
        Brush::ellipse(p, x, 560 - h, w * 0.6f, w * 0.5f, far);
        for (int j = 0; j < 3; ++j) {
            Brush::ellipse(p, x, 560 - h + 40 + j * 40, 5, 8, far.lighter(0.15f));
        }
    }
    // Colonnade in front.
    Brush::rectangle(p, 0, 420, 800, 440, near);
    for (int k = 0; k < 12; ++k) {
        float x = 30.0f + k * 68;
        if (k == 4 || k == 9) {
            Brush::rectangle(p, static_cast<int>(x - 12), 500, static_cast<int>(x + 12), 600, near);
            continue; // fallen
        }
        Brush::rectangle(p, static_cast<int>(x - 12), 440, static_cast<int>(x + 12), 600, near);
    }
    Brush::polygon(p, { 120, 420, 400, 330, 680, 420 }, near);
    ridge(p, 585, 40, 70, Rgb(20, 35, 80), 27);
    motes(p, random, 300, Rgb(200, 220, 255));
    Brush::keep(out, p);
}

void ScenePainter::shoreBackground(DatafileWriter& out, const TrueTypeFont&)
{
    // Levels 30-39 are out of the water: a sunny sky over the sea.
    BITMAP* p = Brush::picture(800, 600);
    Random random("bg3");
    Brush::verticalGradient(p, 0, 0, 799, 380, Rgb(80, 160, 240), Rgb(200, 230, 250));
    Brush::verticalGradient(p, 0, 380, 799, 599, Rgb(40, 140, 200), Rgb(20, 90, 160));
    Brush::halo(p, 640, 110, 90, Rgb(255, 250, 200), 0.8f);
    Brush::disc(p, 640, 110, 40, Rgb(255, 250, 210));
    for (int k = 0; k < 6; ++k) {
        float x = random.between(0, 800), y = random.between(40, 220);
        for (int j = 0; j < 5; ++j) {
            Brush::ellipse(p, x + j * 22, y + (j % 2) * -8.0f, 30, 14, Rgb(250, 252, 255));
        }
    }
    // Cliffs on the left, the sea and a beach.
    Brush::polygon(p, { 0, 140, 60, 150, 120, 220, 170, 300, 200, 400, 0, 400 }, Rgb(150, 120, 100));
    Brush::polygon(p, { 0, 200, 90, 230, 140, 330, 150, 400, 0, 400 }, Rgb(120, 95, 80));
    Brush::verticalGradient(p, 150, 380, 799, 470, Rgb(40, 140, 200), Rgb(20, 90, 160));
    for (int k = 0; k < 40; ++k) {
        float x = random.between(160, 800), y = random.between(385, 465);
        Brush::thickLine(p, x, y, x + random.between(8, 24), y, 1.5f, Rgb(200, 235, 250));
    }
    Brush::polygon(p, { 0, 470, 800, 440, 800, 600, 0, 600 }, Rgb(240, 215, 150));
    Brush::polygon(p, { 0, 540, 800, 520, 800, 600, 0, 600 }, Rgb(225, 195, 130));
    for (int k = 0; k < 200; ++k) {
        putpixel(p, random.range(0, 799), random.range(470, 599), Brush::pixel(Rgb(190, 160, 100)));
    }
    // A palm leaning out from the right.
    Brush::stroke(p, { 760, 600, 740, 480, 700, 360, 680, 300 }, 16, 10, Rgb(130, 90, 60));
    for (int k = 0; k < 6; ++k) {
        float a = -PI / 2 + (k - 2.5f) * 0.55f;
        Brush::stroke(p,
            { 680, 300, 680 + std::cos(a) * 60, 300 + std::sin(a) * 40, 680 + std::cos(a) * 110,
                320 + std::sin(a) * 50 },
            10, 3, Rgb(60, 150, 60));
    }
    Brush::keep(out, p);
}

void ScenePainter::lairBackground(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(800, 600);
    Random random("bg4");
    waterColumn(p, Rgb(60, 40, 90), Rgb(15, 5, 20), 43);
    lightShafts(p, random, 3, Rgb(160, 80, 120), 0.2f);
    // Jagged spires and a great jaw-shaped arch.
    for (int k = 0; k < 10; ++k) {
        float x = random.between(0, 800), h = random.between(150, 380), w = random.between(40, 90);
        Brush::polygon(p, { x - w, 600, x - w * 0.2f, 600 - h, x + w * 0.1f, 600 - h + 40, x + w, 600 },
            Rgb(45, 25, 60));
    }
    Rgb jaw(30, 15, 40);
    Brush::polygon(p,
        { 250, 600, 270, 260, 400, 200, 530, 260, 550, 600, 500, 600, 480, 300, 400, 260, 320, 300, 300,
            600 },
        jaw);
    for (int k = 0; k < 7; ++k) {
        float x = 310.0f + k * 28;
        Brush::polygon(p, { x, 285 - (k == 3 ? 20.0f : 0.0f), x + 10, 330, x + 20, 285 }, Rgb(200, 190, 170));
    }
    ridge(p, 560, 60, 80, Rgb(25, 10, 30), 47);
    for (int k = 0; k < 6; ++k) {
        Brush::halo(p, random.between(0, 800), random.between(540, 600), random.between(20, 40),
            Rgb(255, 80, 30), 0.7f);
    }
    motes(p, random, 200, Rgb(255, 120, 100));
    Brush::keep(out, p);
}

void ScenePainter::worldMap(DatafileWriter& out, const TrueTypeFont& text)
{
    BITMAP* p = Brush::picture(800, 600);
    Random random("map");
    waterColumn(p, Rgb(60, 150, 200), Rgb(20, 70, 140), 61);
    // Regions of the five worlds as soft islands of colour.
    struct Region {
        int first;
        Rgb colour;
        const char* name;
        int labelX, labelY;
    };
    const Region regions[] = {
        { 0, Rgb(235, 160, 150), "Coral Reef", 110, 120 },
        { 10, Rgb(140, 150, 95), "Pirate Wrecks", 300, 415 },
        { 20, Rgb(185, 185, 205), "Sunken City", 560, 92 },
        { 30, Rgb(130, 190, 90), "Sunny Shore", 690, 372 },
        { 40, Rgb(120, 70, 110), "Shark's Lair", 640, 530 },
    };
    // The worlds are islands grown around their nodes: a smooth field that
    // sums a bump per node, with a ragged coast from noise. Each point takes
    // the colour of the world of its nearest node.
    const float sigma = 30.0f;
    std::vector<float> field(800 * 600, 0.0f);
    std::vector<unsigned char> world(800 * 600, 0);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            float sum = 0, nearest = 1e9f;
            int owner = 0;
            for (int i = 0; i < 50; ++i) {
                float dx = x - static_cast<float>(NODE_POSITIONS[i][0]),
                      dy = y - static_cast<float>(NODE_POSITIONS[i][1]);
                float d2 = dx * dx + dy * dy;
                if (d2 < nearest) {
                    nearest = d2;
                    owner = i / 10;
                }
                if (d2 < 16 * sigma * sigma) {
                    sum += std::exp(-d2 / (2 * sigma * sigma));
                }
            }
            sum += (fieldNoise(static_cast<float>(x), static_cast<float>(y), 22, 63) - 0.5f) * 0.7f;
            field[y * 800 + x] = sum;
            world[y * 800 + x] = static_cast<unsigned char>(owner);
        }
    }
    const float COAST = 0.5f;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            float f = field[y * 800 + x];
            Rgb under = Brush::colourAt(p, x, y);
            if (f < COAST) {
                // Shallows lighten the sea near the coast.
                float shallow = std::max(0.0f, (f - (COAST - 0.25f)) / 0.25f);
                putpixel(p, x, y, Brush::pixel(under.mix(Rgb(150, 220, 230), shallow * 0.55f)));
                continue;
            }
            const Region& region = regions[world[y * 800 + x]];
            float n = fieldNoise(static_cast<float>(x), static_cast<float>(y), 6, 64);
            Rgb ground = region.colour.scaled(0.85f + 0.25f * n);
            // Light from the upper left on the slopes of the field.
            float fx = field[y * 800 + std::min(799, x + 1)] - f,
                  fy = field[std::min(599, y + 1) * 800 + x] - f;
            ground = ground.scaled(1.0f - (fx + fy) * 4.0f);
            if (f < COAST + 0.07f) {
                ground = ground.mix(Rgb(245, 225, 170), 0.6f); // beach
            }
            putpixel(p, x, y, Brush::pixel(ground));
        }
    }
    for (int y = 1; y < 599; ++y) {
        for (int x = 1; x < 799; ++x) {
            bool land = field[y * 800 + x] >= COAST;
            bool waterNext = field[y * 800 + x - 1] < COAST || field[y * 800 + x + 1] < COAST
                || field[(y - 1) * 800 + x] < COAST || field[(y + 1) * 800 + x] < COAST;
            if (land && waterNext) {
                putpixel(p, x, y, Brush::pixel(Rgb(60, 50, 40)));
            }
        }
    }
    for (const Region& region : regions) {
        text.draw(
            p, region.name, region.labelX, region.labelY, 18, Rgb(255, 255, 255), Rgb(230, 240, 255), INK, 2);
    }
    // The path: a dashed trail from node to node.
    for (int i = 0; i + 1 < 50; ++i) {
        float x1 = static_cast<float>(NODE_POSITIONS[i][0]), y1 = static_cast<float>(NODE_POSITIONS[i][1]);
        float x2 = static_cast<float>(NODE_POSITIONS[i + 1][0]),
              y2 = static_cast<float>(NODE_POSITIONS[i + 1][1]);
        float length = std::hypot(x2 - x1, y2 - y1);
        int dashes = std::max(2, static_cast<int>(length / 7));
        for (int k = 0; k < dashes; k += 2) {
            float t1 = static_cast<float>(k) / dashes, t2 = static_cast<float>(k + 1) / dashes;
            Brush::thickLine(p, x1 + (x2 - x1) * t1, y1 + (y2 - y1) * t1, x1 + (x2 - x1) * t2,
                y1 + (y2 - y1) * t2, 5, INK);
            Brush::thickLine(p, x1 + (x2 - x1) * t1, y1 + (y2 - y1) * t1, x1 + (x2 - x1) * t2,
                y1 + (y2 - y1) * t2, 3, Rgb(255, 240, 200));
        }
    }
    // Sockets for the nodes.
    for (int i = 0; i < 50; ++i) {
        Brush::ring(
            p, static_cast<float>(NODE_POSITIONS[i][0]), static_cast<float>(NODE_POSITIONS[i][1]), 9, 2, INK);
    }
    // Frame and a compass rose.
    for (int k = 0; k < 8; ++k) {
        rect(p, k, k, 799 - k, 599 - k, Brush::pixel(k < 2 || k > 5 ? INK : Rgb(200, 160, 90)));
    }
    float cx = 90, cy = 520;
    Brush::ring(p, cx, cy, 36, 3, Rgb(240, 230, 200));
    Brush::polygon(p, { cx, cy - 44, cx + 8, cy, cx, cy + 44, cx - 8, cy }, Rgb(240, 230, 200));
    Brush::polygon(p, { cx - 44, cy, cx, cy - 8, cx + 44, cy, cx, cy + 8 }, Rgb(200, 190, 160));
    text.draw(p, "N", static_cast<int>(cx), static_cast<int>(cy - 56), 16, Rgb(255, 255, 255),
        Rgb(230, 230, 230), INK, 2);
    motes(p, random, 150, Rgb(230, 250, 255));
    Brush::keep(out, p);
}
