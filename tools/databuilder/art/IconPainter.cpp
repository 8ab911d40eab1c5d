#include "databuilder/art/IconPainter.h"

#include "databuilder/art/Brush.h"
#include "databuilder/art/CreaturePainter.h"
#include "databuilder/art/FishPainter.h"
#include "engine/core/Folders.h"
#include "engine/media/PngWriter.h"

#include <algorithm>

namespace {

constexpr int MASTER = 256;
constexpr float FISH_SCALE = 3.2f;

BITMAP* master()
{
    BITMAP* sea = create_bitmap(MASTER, MASTER);
    // The corners are the desktop's colour of choice for "nothing": a dark
    // slate that sits quietly on light and dark panels alike.
    clear_to_color(sea, Brush::pixel(Rgb(40, 44, 52)));
    BITMAP* water = create_bitmap(MASTER, MASTER);
    Brush::verticalGradient(water, 0, 0, MASTER - 1, MASTER - 1, Rgb(40, 150, 210), Rgb(8, 48, 110));
    BITMAP* shape = Brush::picture(MASTER, MASTER);
    Brush::roundedRectangle(shape, 8, 8, MASTER - 9, MASTER - 9, 44, Rgb(255, 255, 255));
    for (int y = 0; y < MASTER; ++y) {
        for (int x = 0; x < MASTER; ++x) {
            if (!Brush::isMask(shape, x, y)) {
                putpixel(sea, x, y, getpixel(water, x, y));
            }
        }
    }
    destroy_bitmap(shape);
    destroy_bitmap(water);

    struct Bubble {
        float x, y, radius;
    };
    for (const Bubble& bubble : { Bubble { 190, 70, 14 }, Bubble { 212, 40, 9 }, Bubble { 176, 34, 6 } }) {
        Brush::ring(sea, bubble.x, bubble.y, bubble.radius, 3.0f, Rgb(200, 235, 255));
    }

    FishPainter::Look look = CreaturePainter::dorirLook();
    look.length *= FISH_SCALE;
    look.height *= FISH_SCALE;
    look.tailSize *= FISH_SCALE;
    look.dorsal *= FISH_SCALE;
    look.pectoral *= FISH_SCALE;
    look.eye *= FISH_SCALE;
    look.mouth *= FISH_SCALE;
    look.stripeWidth *= FISH_SCALE;
    FishPainter::draw(sea, 112, 146, look, 0.3f, 0.2f);
    return sea;
}

// Each pixel of the small picture is the mean of the big one's pixels that
// fall inside it.
BITMAP* shrunk(BITMAP* big, int size)
{
    BITMAP* small = create_bitmap_ex(32, size, size);
    for (int y = 0; y < size; ++y) {
        int y1 = y * big->h / size;
        int y2 = std::max(y1 + 1, (y + 1) * big->h / size);
        for (int x = 0; x < size; ++x) {
            int x1 = x * big->w / size;
            int x2 = std::max(x1 + 1, (x + 1) * big->w / size);
            long r = 0, g = 0, b = 0, n = 0;
            for (int sy = y1; sy < y2; ++sy) {
                for (int sx = x1; sx < x2; ++sx) {
                    int c = getpixel(big, sx, sy);
                    r += getr(c);
                    g += getg(c);
                    b += getb(c);
                    ++n;
                }
            }
            putpixel(small, x, y, makecol32(r / n, g / n, b / n));
        }
    }
    return small;
}

} // namespace

const std::vector<int>& IconPainter::sizes()
{
    static const std::vector<int> all { 16, 24, 32, 48, 64, 128, 256 };
    return all;
}

BITMAP* IconPainter::draw(int size)
{
    BITMAP* big = master();
    BITMAP* icon = shrunk(big, size);
    destroy_bitmap(big);
    return icon;
}

bool IconPainter::writeAll(const std::string& folder, std::string& error)
{
    BITMAP* big = master();
    bool ok = true;
    for (int size : sizes()) {
        std::string dir = folder + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        if (!Folders::makeFolders(dir)) {
            error = "cannot create the folder [" + dir + "]";
            ok = false;
            break;
        }
        BITMAP* icon = shrunk(big, size);
        ok = PngWriter::save(icon, dir + "/tidewander.png", error);
        destroy_bitmap(icon);
        if (!ok) {
            break;
        }
    }
    destroy_bitmap(big);
    return ok;
}
