#include "databuilder/art/Brush.h"

#include "databuilder/art/Random.h"
#include "engine/media/DatafileWriter.h"

#include <algorithm>
#include <cmath>

namespace {

const int DEPTH = 16;

float smooth(float t)
{
    t = std::max(0.0f, std::min(1.0f, t));
    return t * t * (3.0f - 2.0f * t);
}

void blendPixel(BITMAP* bitmap, int x, int y, const Rgb& colour, float amount)
{
    if (x < 0 || y < 0 || x >= bitmap->w || y >= bitmap->h || amount <= 0.0f) {
        return;
    }
    Rgb under = Brush::colourAt(bitmap, x, y);
    putpixel(bitmap, x, y, Brush::pixel(under.mix(colour, std::min(1.0f, amount))));
}

} // namespace

int Brush::pixel(const Rgb& colour)
{
    int value = makecol_depth(DEPTH, colour.r, colour.g, colour.b);
    if (value == mask()) {
        // A colour that would read as "transparent" is nudged off magenta.
        value = makecol_depth(DEPTH, colour.r, 8, colour.b);
    }
    return value;
}

int Brush::mask()
{
    return makecol_depth(DEPTH, 255, 0, 255);
}

bool Brush::isMask(BITMAP* bitmap, int x, int y)
{
    return getpixel(bitmap, x, y) == mask();
}

Rgb Brush::colourAt(BITMAP* bitmap, int x, int y)
{
    int value = getpixel(bitmap, x, y);
    return Rgb(getr_depth(DEPTH, value), getg_depth(DEPTH, value), getb_depth(DEPTH, value));
}

BITMAP* Brush::picture(int width, int height)
{
    BITMAP* bitmap = create_bitmap_ex(DEPTH, std::max(1, width), std::max(1, height));
    clear_to_color(bitmap, mask());
    return bitmap;
}

void Brush::stamp(BITMAP* picture, BITMAP* part, int x, int y)
{
    draw_sprite(picture, part, x, y);
    destroy_bitmap(part);
}

void Brush::verticalGradient(
    BITMAP* bitmap, int x1, int y1, int x2, int y2, const Rgb& top, const Rgb& bottom)
{
    int span = std::max(1, y2 - y1);
    for (int y = y1; y <= y2; ++y) {
        hline(bitmap, x1, y, x2, pixel(top.mix(bottom, static_cast<float>(y - y1) / span)));
    }
}

void Brush::blob(BITMAP* bitmap, float cx, float cy, float front, float back, float top, float bottom,
    float angle, const Shading& shading)
{
    float reach = std::max(std::max(front, back), std::max(top, bottom)) + 1.0f;
    float c = std::cos(angle);
    float s = std::sin(angle);
    // Light from the upper left and slightly in front.
    const float lx = -0.45f, ly = -0.65f, lz = 0.62f;
    const float hx = lx * 0.5f, hy = ly * 0.5f, hz = (lz + 1.0f) * 0.5f;
    float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    int x1 = std::max(0, static_cast<int>(cx - reach));
    int x2 = std::min(bitmap->w - 1, static_cast<int>(cx + reach));
    int y1 = std::max(0, static_cast<int>(cy - reach));
    int y2 = std::min(bitmap->h - 1, static_cast<int>(cy + reach));
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) {
            float dx = x + 0.5f - cx;
            float dy = y + 0.5f - cy;
            float localX = dx * c + dy * s;
            float localY = -dx * s + dy * c;
            float u = localX / (localX < 0 ? front : back);
            float v = localY / (localY < 0 ? top : bottom);
            float d = u * u + v * v;
            if (d > 1.0f) {
                continue;
            }
            float nz = std::sqrt(1.0f - d);
            float nx = u * c - v * s;
            float ny = u * s + v * c;
            float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
            float shade = shading.ambient + (1.0f - shading.ambient) * diffuse * 1.25f;
            float specular
                = std::pow(std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hl), 28.0f) * shading.shine;
            Rgb base = shading.top.mix(shading.bottom, smooth((v + 0.6f) / 1.4f));
            Rgb lit = base.scaled(shade).mix(Rgb(255, 255, 255), std::min(1.0f, specular));
            putpixel(bitmap, x, y, pixel(lit));
        }
    }
}

void Brush::ellipse(BITMAP* bitmap, float cx, float cy, float rx, float ry, const Rgb& colour)
{
    if (rx <= 0 || ry <= 0) {
        return;
    }
    int value = pixel(colour);
    int y1 = std::max(0, static_cast<int>(cy - ry - 1));
    int y2 = std::min(bitmap->h - 1, static_cast<int>(cy + ry + 1));
    for (int y = y1; y <= y2; ++y) {
        float v = (y + 0.5f - cy) / ry;
        if (v * v > 1.0f) {
            continue;
        }
        float half = rx * std::sqrt(1.0f - v * v);
        int xa = static_cast<int>(std::ceil(cx - half - 0.5f));
        int xb = static_cast<int>(std::floor(cx + half - 0.5f));
        if (xb >= xa) {
            hline(bitmap, xa, y, xb, value);
        }
    }
}

void Brush::disc(BITMAP* bitmap, float cx, float cy, float radius, const Rgb& colour)
{
    ellipse(bitmap, cx, cy, radius, radius, colour);
}

void Brush::ring(BITMAP* bitmap, float cx, float cy, float radius, float width, const Rgb& colour)
{
    int value = pixel(colour);
    float inner = radius - width;
    int y1 = std::max(0, static_cast<int>(cy - radius - 1));
    int y2 = std::min(bitmap->h - 1, static_cast<int>(cy + radius + 1));
    int x1 = std::max(0, static_cast<int>(cx - radius - 1));
    int x2 = std::min(bitmap->w - 1, static_cast<int>(cx + radius + 1));
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            if (d <= radius && d >= inner) {
                putpixel(bitmap, x, y, value);
            }
        }
    }
}

void Brush::polygon(BITMAP* bitmap, const std::vector<float>& points, const Rgb& colour)
{
    std::vector<int> whole(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        whole[i] = static_cast<int>(std::lround(points[i]));
    }
    if (whole.size() >= 6) {
        ::polygon(bitmap, static_cast<int>(whole.size() / 2), whole.data(), pixel(colour));
    }
}

void Brush::thickLine(BITMAP* bitmap, float x1, float y1, float x2, float y2, float width, const Rgb& colour)
{
    float dx = x2 - x1;
    float dy = y2 - y1;
    float length = std::hypot(dx, dy);
    float half = width * 0.5f;
    if (length > 0.01f) {
        float nx = -dy / length * half;
        float ny = dx / length * half;
        polygon(bitmap, { x1 + nx, y1 + ny, x2 + nx, y2 + ny, x2 - nx, y2 - ny, x1 - nx, y1 - ny }, colour);
    }
    if (width >= 2.5f) {
        disc(bitmap, x1, y1, half, colour);
        disc(bitmap, x2, y2, half, colour);
    }
}

void Brush::stroke(BITMAP* bitmap, const std::vector<float>& points, float w1, float w2, const Rgb& colour)
{
    size_t count = points.size() / 2;
    if (count < 2) {
        return;
    }
    auto at = [&](long i, int axis) {
        i = std::max(0L, std::min(static_cast<long>(count) - 1, i));
        return points[static_cast<size_t>(i) * 2 + axis];
    };
    const int steps = 12;
    float total = static_cast<float>((count - 1) * steps);
    float lastX = at(0, 0), lastY = at(0, 1);
    for (size_t i = 0; i + 1 < count; ++i) {
        for (int k = 1; k <= steps; ++k) {
            float t = static_cast<float>(k) / steps;
            float p[2];
            for (int axis = 0; axis < 2; ++axis) {
                // Catmull-Rom through the given points.
                float p0 = at(static_cast<long>(i) - 1, axis), p1 = at(i, axis), p2 = at(i + 1, axis),
                      p3 = at(i + 2, axis);
                p[axis] = 0.5f
                    * ((2 * p1) + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t * t
                        + (-p0 + 3 * p1 - 3 * p2 + p3) * t * t * t);
            }
            float along = (i * steps + k) / total;
            thickLine(bitmap, lastX, lastY, p[0], p[1], w1 + (w2 - w1) * along, colour);
            lastX = p[0];
            lastY = p[1];
        }
    }
}

void Brush::rectangle(BITMAP* bitmap, int x1, int y1, int x2, int y2, const Rgb& colour)
{
    rectfill(bitmap, x1, y1, x2, y2, pixel(colour));
}

void Brush::roundedRectangle(BITMAP* bitmap, int x1, int y1, int x2, int y2, int radius, const Rgb& colour)
{
    radius = std::max(0, std::min(radius, std::min(x2 - x1, y2 - y1) / 2));
    rectfill(bitmap, x1 + radius, y1, x2 - radius, y2, pixel(colour));
    rectfill(bitmap, x1, y1 + radius, x2, y2 - radius, pixel(colour));
    disc(bitmap, x1 + radius + 0.5f, y1 + radius + 0.5f, radius + 0.5f, colour);
    disc(bitmap, x2 - radius + 0.5f, y1 + radius + 0.5f, radius + 0.5f, colour);
    disc(bitmap, x1 + radius + 0.5f, y2 - radius + 0.5f, radius + 0.5f, colour);
    disc(bitmap, x2 - radius + 0.5f, y2 - radius + 0.5f, radius + 0.5f, colour);
}

void Brush::outline(BITMAP* bitmap, const Rgb& colour)
{
    int value = pixel(colour);
    int m = mask();
    std::vector<unsigned char> edge(static_cast<size_t>(bitmap->w) * bitmap->h, 0);
    for (int y = 0; y < bitmap->h; ++y) {
        for (int x = 0; x < bitmap->w; ++x) {
            if (getpixel(bitmap, x, y) != m) {
                continue;
            }
            bool touches = (x > 0 && getpixel(bitmap, x - 1, y) != m)
                || (x + 1 < bitmap->w && getpixel(bitmap, x + 1, y) != m)
                || (y > 0 && getpixel(bitmap, x, y - 1) != m)
                || (y + 1 < bitmap->h && getpixel(bitmap, x, y + 1) != m);
            edge[static_cast<size_t>(y) * bitmap->w + x] = touches ? 1 : 0;
        }
    }
    for (int y = 0; y < bitmap->h; ++y) {
        for (int x = 0; x < bitmap->w; ++x) {
            if (edge[static_cast<size_t>(y) * bitmap->w + x]) {
                putpixel(bitmap, x, y, value);
            }
        }
    }
}

void Brush::glow(BITMAP* bitmap, float cx, float cy, float radius, const Rgb& colour, float strength)
{
    int x1 = std::max(0, static_cast<int>(cx - radius));
    int x2 = std::min(bitmap->w - 1, static_cast<int>(cx + radius));
    int y1 = std::max(0, static_cast<int>(cy - radius));
    int y2 = std::min(bitmap->h - 1, static_cast<int>(cy + radius));
    int m = mask();
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) {
            if (getpixel(bitmap, x, y) == m) {
                continue;
            }
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
            if (d < 1.0f) {
                blendPixel(bitmap, x, y, colour, strength * (1.0f - d) * (1.0f - d));
            }
        }
    }
}

void Brush::halo(BITMAP* bitmap, float cx, float cy, float radius, const Rgb& colour, float strength)
{
    int x1 = std::max(0, static_cast<int>(cx - radius));
    int x2 = std::min(bitmap->w - 1, static_cast<int>(cx + radius));
    int y1 = std::max(0, static_cast<int>(cy - radius));
    int y2 = std::min(bitmap->h - 1, static_cast<int>(cy + radius));
    int m = mask();
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
            if (d >= 1.0f) {
                continue;
            }
            float t = strength * (1.0f - d) * (1.0f - d);
            if (getpixel(bitmap, x, y) == m) {
                if (t > 0.33f * strength) {
                    putpixel(bitmap, x, y, pixel(colour.scaled(std::min(1.0f, t * 1.5f))));
                }
            } else {
                blendPixel(bitmap, x, y, colour, t);
            }
        }
    }
}

void Brush::texture(BITMAP* bitmap, Random& random, int count, float amount)
{
    int m = mask();
    for (int i = 0; i < count; ++i) {
        int x = random.range(0, bitmap->w - 1);
        int y = random.range(0, bitmap->h - 1);
        if (getpixel(bitmap, x, y) == m) {
            continue;
        }
        bool dark = random.next() & 1;
        int size = random.range(0, 1);
        for (int yy = y; yy <= y + size && yy < bitmap->h; ++yy) {
            for (int xx = x; xx <= x + size && xx < bitmap->w; ++xx) {
                if (getpixel(bitmap, xx, yy) != m) {
                    blendPixel(bitmap, xx, yy, dark ? Rgb(0, 0, 0) : Rgb(255, 255, 255), amount);
                }
            }
        }
    }
}

void Brush::shadeRows(BITMAP* bitmap, int y1, int y2, float amount)
{
    int m = mask();
    int span = std::max(1, y2 - y1);
    for (int y = std::max(0, y1); y <= std::min(bitmap->h - 1, y2); ++y) {
        float t = amount * (y - y1) / span;
        for (int x = 0; x < bitmap->w; ++x) {
            if (getpixel(bitmap, x, y) == m) {
                continue;
            }
            if (t >= 0) {
                blendPixel(bitmap, x, y, Rgb(0, 0, 0), t);
            } else {
                blendPixel(bitmap, x, y, Rgb(255, 255, 255), -t);
            }
        }
    }
}

void Brush::eye(
    BITMAP* bitmap, float cx, float cy, float radius, float lookX, float lookY, float lid, const Rgb& iris)
{
    Rgb lidColour(120, 120, 120);
    int aboveY = static_cast<int>(cy - radius - 2);
    if (aboveY >= 0 && !isMask(bitmap, static_cast<int>(cx), aboveY)) {
        lidColour = colourAt(bitmap, static_cast<int>(cx), aboveY);
    }
    disc(bitmap, cx, cy, radius + 1.0f, Rgb(15, 15, 25));
    disc(bitmap, cx, cy, radius, Rgb(250, 250, 245));
    float pr = radius * 0.55f;
    float px = cx + lookX * (radius - pr) * 0.9f;
    float py = cy + lookY * (radius - pr) * 0.9f;
    disc(bitmap, px, py, pr, iris);
    disc(bitmap, px - pr * 0.35f, py - pr * 0.35f, std::max(1.0f, pr * 0.35f), Rgb(255, 255, 255));
    if (lid > 0.0f) {
        int lidBottom = static_cast<int>(cy - radius + 2.0f * radius * lid);
        int value = pixel(lidColour);
        for (int y = static_cast<int>(cy - radius - 1); y <= lidBottom; ++y) {
            float v = (y + 0.5f - cy) / (radius + 1.0f);
            if (v * v >= 1.0f) {
                continue;
            }
            float half = (radius + 1.0f) * std::sqrt(1.0f - v * v);
            hline(bitmap, static_cast<int>(cx - half), y, static_cast<int>(cx + half), value);
        }
        thickLine(bitmap, cx - radius, static_cast<float>(lidBottom), cx + radius,
            static_cast<float>(lidBottom), 1.5f, Rgb(15, 15, 25));
    }
}

BITMAP* Brush::rotated(BITMAP* source, float angle)
{
    BITMAP* result = picture(source->w, source->h);
    fixed turn = ftofix(angle * 128.0f / static_cast<float>(M_PI));
    pivot_sprite(result, source, source->w / 2, source->h / 2, source->w / 2, source->h / 2, turn);
    return result;
}

BITMAP* Brush::scaled(BITMAP* source, int width, int height)
{
    BITMAP* result = picture(width, height);
    stretch_sprite(result, source, 0, 0, width, height);
    return result;
}

void Brush::keep(DatafileWriter& out, BITMAP* picture)
{
    out.addBitmap(picture);
    destroy_bitmap(picture);
}
