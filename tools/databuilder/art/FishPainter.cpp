#include "databuilder/art/FishPainter.h"

#include "databuilder/art/Brush.h"

#include <cmath>

namespace {

// Turns a point about (cx, cy).
void turn(float& x, float& y, float cx, float cy, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    float dx = x - cx, dy = y - cy;
    x = cx + dx * c - dy * s;
    y = cy + dx * s + dy * c;
}

std::vector<float> turned(std::vector<float> points, float cx, float cy, float angle)
{
    for (size_t i = 0; i + 1 < points.size(); i += 2) {
        turn(points[i], points[i + 1], cx, cy, angle);
    }
    return points;
}

} // namespace

void FishPainter::draw(
    BITMAP* target, float cx, float cy, const Look& look, float swing, float flap, float tilt)
{
    float front = look.length * look.noseShape;
    float back = look.length - front;
    float top = look.height * 0.5f;
    float bottom = look.height * 0.47f;
    float rootX = cx + back * 0.88f;

    // Tail: seen from the side a beat narrows and skews it.
    {
        BITMAP* part = Brush::picture(target->w, target->h);
        float reach = look.tailSize * (0.75f + 0.25f * std::cos(swing * 1.5708f));
        float skew = swing * look.tailSize * 0.35f;
        float spread = look.tailSize * 0.85f;
        float tx = rootX + reach;
        std::vector<float> shape;
        switch (look.tail) {
        case Tail::Fork:
            shape = { rootX - 4, cy - 5, tx + 4, cy - spread + skew, tx - reach * 0.35f, cy + skew * 0.5f,
                tx + 4, cy + spread + skew, rootX - 4, cy + 5 };
            break;
        case Tail::Crescent:
            shape = { rootX - 4, cy - 4, tx, cy - spread * 1.2f + skew, tx - reach * 0.15f,
                cy - spread * 0.5f + skew, tx - reach * 0.45f, cy + skew * 0.5f, tx - reach * 0.15f,
                cy + spread * 0.5f + skew, tx, cy + spread * 1.2f + skew, rootX - 4, cy + 4 };
            break;
        case Tail::Round:
        case Tail::Fan:
            shape = { rootX - 4, cy - 4, tx - reach * 0.2f, cy - spread + skew, tx, cy - spread * 0.5f + skew,
                tx + 2, cy + skew, tx, cy + spread * 0.5f + skew, tx - reach * 0.2f, cy + spread + skew,
                rootX - 4, cy + 4 };
            break;
        case Tail::Pointed:
            shape = { rootX - 4, cy - 6, tx + reach * 0.3f, cy + skew, rootX - 4, cy + 6 };
            break;
        }
        Brush::polygon(part, turned(shape, cx, cy, tilt), look.fin);
        // Fin rays.
        for (int i = -2; i <= 2; ++i) {
            float ex = tx - 2, ey = cy + skew + i * spread * 0.32f;
            float sx = rootX, sy = cy;
            turn(ex, ey, cx, cy, tilt);
            turn(sx, sy, cx, cy, tilt);
            Brush::thickLine(part, sx, sy, ex, ey, 1.0f, look.fin.darker(0.25f));
        }
        Brush::polygon(part, turned(shape, cx, cy, tilt), look.fin); // keep the rays inside the shape
        for (int i = -2; i <= 2; ++i) {
            float ex = rootX + reach * 0.8f, ey = cy + skew * 0.8f + i * spread * 0.25f;
            float sx = rootX + 2, sy = cy;
            turn(ex, ey, cx, cy, tilt);
            turn(sx, sy, cx, cy, tilt);
            Brush::thickLine(part, sx, sy, ex, ey, 1.0f, look.fin.darker(0.2f));
        }
        Brush::outline(part, look.outline);
        Brush::stamp(target, part);
    }

    // Back fin and the small fin underneath.
    if (look.dorsal > 0) {
        BITMAP* part = Brush::picture(target->w, target->h);
        float base1 = cx - front * 0.35f, base2 = cx + back * 0.6f;
        float lift = look.dorsal * (1.0f + 0.08f * flap);
        std::vector<float> fin;
        if (look.spikyDorsal) {
            fin.push_back(base1);
            fin.push_back(cy - top * 0.7f);
            int spikes = 5;
            for (int i = 0; i < spikes; ++i) {
                float t = (i + 0.5f) / spikes;
                float x = base1 + (base2 - base1) * t;
                fin.push_back(x + 3);
                fin.push_back(cy - top - lift * (1.0f - 0.3f * t));
                fin.push_back(x + (base2 - base1) / spikes * 0.5f + 2);
                fin.push_back(cy - top - lift * 0.35f);
            }
            fin.push_back(base2);
            fin.push_back(cy - top * 0.6f);
        } else {
            fin = { base1, cy - top * 0.8f, base1 + (base2 - base1) * 0.35f, cy - top - lift,
                base1 + (base2 - base1) * 0.75f, cy - top - lift * 0.55f, base2 + 6, cy - top * 0.5f };
        }
        Brush::polygon(part, turned(fin, cx, cy, tilt), look.fin);
        std::vector<float> under = { cx + back * 0.1f, cy + bottom * 0.8f, cx + back * 0.45f,
            cy + bottom + look.dorsal * 0.45f, cx + back * 0.6f, cy + bottom * 0.6f };
        Brush::polygon(part, turned(under, cx, cy, tilt), look.fin);
        Brush::outline(part, look.outline);
        Brush::stamp(target, part);
    }

    // The body, with its stripes.
    {
        BITMAP* part = Brush::picture(target->w, target->h);
        Brush::Shading shading { look.back, look.belly, 0.45f, 0.66f };
        Brush::blob(part, cx, cy, front, back, top, bottom, tilt, shading);
        if (look.snout > 0) {
            float nx = cx - front * 0.55f * std::cos(tilt),
                  ny = cy - front * 0.55f * std::sin(tilt) + bottom * 0.05f;
            Brush::blob(part, nx, ny, front * 0.45f + look.snout, front * 0.4f, top * 0.62f, bottom * 0.55f,
                tilt, shading);
        }
        if (look.stripes > 0) {
            int m = Brush::mask();
            float c = std::cos(tilt), s = std::sin(tilt);
            for (int y = 0; y < part->h; ++y) {
                for (int x = 0; x < part->w; ++x) {
                    if (getpixel(part, x, y) == m) {
                        continue;
                    }
                    float lx = (x + 0.5f - cx) * c + (y + 0.5f - cy) * s;
                    float ly = -(x + 0.5f - cx) * s + (y + 0.5f - cy) * c;
                    // Bands across the body, bending a little like ribs.
                    for (int i = 0; i < look.stripes; ++i) {
                        float at
                            = -front * 0.45f + (front * 0.45f + back * 0.75f) * (i + 0.5f) / look.stripes;
                        at += ly * ly * 0.004f;
                        if (std::fabs(lx - at) < look.stripeWidth * 0.5f) {
                            Rgb under = Brush::colourAt(part, x, y);
                            float lum = (under.r + under.g + under.b) / (3.0f * 255.0f);
                            putpixel(part, x, y, Brush::pixel(look.stripe.scaled(0.6f + 0.6f * lum)));
                        }
                    }
                }
            }
        }
        Brush::outline(part, look.outline);
        Brush::stamp(target, part);
    }

    // Side fin, flapping.
    if (look.pectoral > 0) {
        BITMAP* part = Brush::picture(target->w, target->h);
        float px = cx + front * 0.05f, py = cy + bottom * 0.25f;
        float angle = 0.5f + flap * 0.45f;
        float len = look.pectoral * 1.6f;
        std::vector<float> fin = { px, py - 3, px + std::cos(angle) * len, py + std::sin(angle) * len - 3,
            px + std::cos(angle + 0.5f) * len * 0.8f, py + std::sin(angle + 0.5f) * len * 0.8f, px, py + 3 };
        Brush::polygon(part, turned(fin, cx, cy, tilt), look.fin.lighter(0.15f));
        Brush::outline(part, look.outline);
        Brush::stamp(target, part);
    }

    // Face.
    float ex = cx - front * look.eyeForward, ey = cy - top * 0.28f;
    turn(ex, ey, cx, cy, tilt);
    Brush::eye(target, ex, ey, look.eye, -0.6f, -0.1f, look.eyeLid);
    if (look.angryBrow) {
        Brush::thickLine(target, ex - look.eye * 1.1f, ey - look.eye * 1.3f, ex + look.eye * 1.2f,
            ey - look.eye * 0.5f, 3.0f, look.outline);
    }
    if (look.mouth > 0) {
        float mx = cx - front * 0.93f - look.snout * 0.4f, my = cy + bottom * 0.22f;
        turn(mx, my, cx, cy, tilt);
        if (look.gasp) {
            Brush::disc(target, mx + look.mouth * 0.4f, my, look.mouth * 0.45f + 1.0f, look.outline);
            Brush::disc(target, mx + look.mouth * 0.4f, my, look.mouth * 0.45f, Rgb(150, 30, 50));
        } else if (look.teeth) {
            Brush::polygon(target, { mx - 2, my - 3, mx + look.mouth, my, mx - 2, my + 4 }, Rgb(90, 20, 30));
            for (int i = 0; i < 3; ++i) {
                float tx = mx + i * look.mouth / 3.0f;
                Brush::polygon(target, { tx, my - 2, tx + 2.5f, my + 2, tx + 4, my - 1 }, Rgb(250, 250, 240));
            }
        } else if (look.grin) {
            Brush::stroke(target, { mx, my - 1, mx + look.mouth * 0.5f, my + 2, mx + look.mouth, my }, 2.0f,
                1.5f, look.outline);
        } else {
            Brush::thickLine(target, mx, my, mx + look.mouth, my + 1, 1.8f, look.outline);
        }
    }
}

BITMAP* FishPainter::frame(const Look& look, float swing, float flap, int width, int height, float tilt)
{
    BITMAP* picture = Brush::picture(width, height);
    float cx = width * 0.5f - look.tailSize * 0.45f;
    draw(picture, cx, height * 0.5f, look, swing, flap, tilt);
    return picture;
}
