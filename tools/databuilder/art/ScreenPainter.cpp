#include "databuilder/art/ScreenPainter.h"

#include "databuilder/art/Brush.h"
#include "databuilder/art/CreaturePainter.h"
#include "databuilder/art/FishPainter.h"
#include "databuilder/art/Random.h"
#include "databuilder/art/TrueTypeFont.h"
#include "engine/media/DatafileWriter.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

const float PI = 3.14159265f;
const Rgb INK(20, 16, 36);
const Rgb GOLD(250, 200, 60);
const Rgb GOLD_DARK(170, 110, 20);
const Rgb WHITE(255, 255, 255);

// A rounded glassy panel: gradient body, light rim, dark edge.
BITMAP* panel(int w, int h, const Rgb& top, const Rgb& bottom, const Rgb& rim)
{
    BITMAP* p = Brush::picture(w, h);
    Brush::roundedRectangle(p, 1, 1, w - 2, h - 2, 18, INK);
    Brush::roundedRectangle(p, 3, 3, w - 4, h - 4, 16, rim);
    BITMAP* inner = Brush::picture(w, h);
    Brush::roundedRectangle(inner, 7, 7, w - 8, h - 8, 13, WHITE);
    int m = Brush::mask();
    for (int y = 0; y < h; ++y) {
        Rgb row = top.mix(bottom, static_cast<float>(y) / h);
        for (int x = 0; x < w; ++x) {
            if (getpixel(inner, x, y) != m) {
                // A soft diagonal sheen across the glass.
                float sheen
                    = std::max(0.0f, 1.0f - std::fabs((x - y * 1.6f) - w * 0.25f) / (w * 0.2f)) * 0.08f;
                putpixel(p, x, y, Brush::pixel(row.lighter(sheen)));
            }
        }
    }
    destroy_bitmap(inner);
    Brush::roundedRectangle(p, 7, 7, w - 8, 9, 2, top.lighter(0.35f));
    return p;
}

void bubbleShape(BITMAP* p, float cx, float cy, float r, const Rgb& rim, const Rgb& inside, bool fillInside)
{
    if (fillInside) {
        Brush::disc(p, cx, cy, r, inside);
    }
    Brush::ring(p, cx, cy, r, std::max(1.5f, r * 0.09f), rim);
    Brush::ring(p, cx, cy, r - r * 0.09f, std::max(1.0f, r * 0.05f), rim.darker(0.35f));
    // Glints.
    Brush::stroke(p,
        { cx - r * 0.62f, cy - r * 0.15f, cx - r * 0.5f, cy - r * 0.5f, cx - r * 0.15f, cy - r * 0.65f },
        std::max(1.5f, r * 0.12f), std::max(1.0f, r * 0.06f), WHITE);
    Brush::disc(p, cx + r * 0.45f, cy + r * 0.45f, std::max(1.0f, r * 0.07f), WHITE);
}

void coinFace(BITMAP* p, float cx, float cy, float rx, float ry)
{
    if (rx < 2.0f) {
        Brush::rectangle(p, static_cast<int>(cx - 2), static_cast<int>(cy - ry), static_cast<int>(cx + 1),
            static_cast<int>(cy + ry), GOLD_DARK);
        Brush::outline(p, INK);
        return;
    }
    // The rim shows as a darker crescent on the turning side.
    Brush::ellipse(p, cx + std::min(3.0f, rx * 0.15f), cy, rx, ry, GOLD_DARK);
    Brush::Shading shading { Rgb(255, 225, 90), Rgb(230, 160, 30), 0.6f, 0.6f };
    Brush::blob(p, cx, cy, rx, rx, ry, ry, 0.0f, shading);
    Brush::ellipse(p, cx, cy, rx * 0.7f, ry * 0.7f, Rgb(235, 170, 40));
    Brush::blob(p, cx, cy, rx * 0.62f, rx * 0.62f, ry * 0.62f, ry * 0.62f, 0.0f, shading);
    if (rx > ry * 0.4f) {
        // A little wave stamped on the face.
        float w = rx * 0.4f;
        Brush::stroke(p,
            { cx - w, cy + 1, cx - w * 0.5f, cy - ry * 0.2f, cx, cy + 1, cx + w * 0.5f, cy - ry * 0.2f,
                cx + w, cy + 1 },
            std::max(1.0f, rx * 0.12f), std::max(1.0f, rx * 0.12f), GOLD_DARK);
    }
    Brush::outline(p, INK);
}

void chest(BITMAP* p, float cx, float bottomY, float s)
{
    float w = 52 * s, h = 26 * s, lid = 18 * s;
    float left = cx - w / 2, right = cx + w / 2, top = bottomY - h;
    BITMAP* part = Brush::picture(p->w, p->h);
    Brush::verticalGradient(part, static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
        static_cast<int>(bottomY), Rgb(160, 90, 40), Rgb(100, 50, 20));
    for (int i = 1; i < 4; ++i) {
        int y = static_cast<int>(top + h * i / 4.0f);
        hline(part, static_cast<int>(left), y, static_cast<int>(right), Brush::pixel(Rgb(80, 40, 15)));
    }
    // Lid: a half barrel.
    Brush::Shading wood { Rgb(190, 110, 50), Rgb(130, 70, 30), 0.3f, 0.6f };
    Brush::blob(part, cx, top, w / 2, w / 2, lid, 1, 0.0f, wood);
    Brush::rectangle(part, static_cast<int>(left), static_cast<int>(top - 1), static_cast<int>(right),
        static_cast<int>(top + 1), Rgb(90, 45, 15));
    // Gold bands and lock.
    for (float bx : { left + 7 * s, right - 7 * s }) {
        Brush::rectangle(part, static_cast<int>(bx - 3 * s), static_cast<int>(top - lid + 2),
            static_cast<int>(bx + 3 * s), static_cast<int>(bottomY), GOLD);
        Brush::rectangle(part, static_cast<int>(bx + 1 * s), static_cast<int>(top - lid + 4),
            static_cast<int>(bx + 3 * s), static_cast<int>(bottomY), GOLD_DARK);
    }
    Brush::roundedRectangle(part, static_cast<int>(cx - 6 * s), static_cast<int>(top - 5 * s),
        static_cast<int>(cx + 6 * s), static_cast<int>(top + 9 * s), static_cast<int>(2 * s), GOLD);
    Brush::disc(part, cx, top + 2 * s, 2 * s, INK);
    Brush::outline(part, INK);
    Brush::stamp(p, part);
    // Glitter of coins peeking out.
    Brush::disc(p, cx - 14 * s, top - 1, 2.5f * s, Rgb(255, 240, 150));
    Brush::disc(p, cx + 16 * s, top - 2, 2 * s, Rgb(255, 250, 200));
}

void gem(BITMAP* p, float cx, float cy, float r, const Rgb& colour)
{
    BITMAP* part = Brush::picture(p->w, p->h);
    // A cut stone seen from the side: crown on top, pavilion below.
    std::vector<float> outer = { cx - r, cy - r * 0.25f, cx - r * 0.55f, cy - r * 0.75f, cx + r * 0.55f,
        cy - r * 0.75f, cx + r, cy - r * 0.25f, cx, cy + r };
    Brush::polygon(part, outer, colour);
    Brush::polygon(part,
        { cx - r * 0.55f, cy - r * 0.75f, cx - r * 0.25f, cy - r * 0.25f, cx - r, cy - r * 0.25f },
        colour.lighter(0.35f));
    Brush::polygon(part,
        { cx - r * 0.25f, cy - r * 0.25f, cx + r * 0.25f, cy - r * 0.25f, cx + r * 0.55f, cy - r * 0.75f,
            cx - r * 0.55f, cy - r * 0.75f },
        colour.lighter(0.55f));
    Brush::polygon(part,
        { cx + r * 0.55f, cy - r * 0.75f, cx + r, cy - r * 0.25f, cx + r * 0.25f, cy - r * 0.25f },
        colour.lighter(0.15f));
    Brush::polygon(
        part, { cx - r, cy - r * 0.25f, cx - r * 0.25f, cy - r * 0.25f, cx, cy + r }, colour.darker(0.1f));
    Brush::polygon(
        part, { cx + r * 0.25f, cy - r * 0.25f, cx + r, cy - r * 0.25f, cx, cy + r }, colour.darker(0.45f));
    Brush::polygon(part, { cx - r * 0.25f, cy - r * 0.25f, cx + r * 0.25f, cy - r * 0.25f, cx, cy + r },
        colour.darker(0.2f));
    Brush::outline(part, INK);
    Brush::stamp(p, part);
    Brush::disc(p, cx - r * 0.3f, cy - r * 0.55f, std::max(1.0f, r * 0.1f), WHITE);
}

void pearl(BITMAP* p, float cx, float cy, float r)
{
    BITMAP* part = Brush::picture(p->w, p->h);
    Brush::Shading shading { Rgb(250, 245, 255), Rgb(200, 190, 220), 0.9f, 0.6f };
    Brush::blob(part, cx, cy, r, r, r, r, 0.0f, shading);
    Brush::glow(part, cx + r * 0.3f, cy + r * 0.4f, r, Rgb(255, 200, 230), 0.35f);
    Brush::outline(part, Rgb(60, 50, 80));
    Brush::stamp(p, part);
}

void heartShape(BITMAP* p, float cx, float cy, float s, const Rgb& colour)
{
    Brush::disc(p, cx - s * 0.5f, cy - s * 0.2f, s * 0.55f, colour);
    Brush::disc(p, cx + s * 0.5f, cy - s * 0.2f, s * 0.55f, colour);
    Brush::polygon(p, { cx - s * 1.02f, cy - s * 0.05f, cx + s * 1.02f, cy - s * 0.05f, cx, cy + s }, colour);
}

void star(BITMAP* p, float cx, float cy, float outer, float inner, int points, float angle, const Rgb& colour)
{
    std::vector<float> shape;
    for (int i = 0; i < points * 2; ++i) {
        float a = angle + PI * i / points - PI / 2;
        float r = (i % 2 == 0) ? outer : inner;
        shape.push_back(cx + std::cos(a) * r);
        shape.push_back(cy + std::sin(a) * r);
    }
    Brush::polygon(p, shape, colour);
}

void clockFace(BITMAP* p, float cx, float cy, float r)
{
    Brush::disc(p, cx, cy, r, Rgb(240, 240, 250));
    Brush::ring(p, cx, cy, r, 3, Rgb(80, 80, 160));
    for (int i = 0; i < 12; ++i) {
        float a = i * PI / 6;
        Brush::thickLine(p, cx + std::cos(a) * r * 0.75f, cy + std::sin(a) * r * 0.75f,
            cx + std::cos(a) * r * 0.88f, cy + std::sin(a) * r * 0.88f, 2, INK);
    }
    Brush::thickLine(p, cx, cy, cx, cy - r * 0.65f, 3, INK);
    Brush::thickLine(p, cx, cy, cx + r * 0.45f, cy + r * 0.1f, 3, INK);
}

// The lettering style of banners and titles.
void letters(BITMAP* p, const TrueTypeFont& text, const std::string& s, int cx, int cy, int size,
    const Rgb& top, const Rgb& bottom, int edge = 4)
{
    text.draw(p, s, cx + 3, cy + 4, size, INK, INK, INK, edge); // drop shadow
    text.draw(p, s, cx, cy, size, top, bottom, INK, edge);
}

} // namespace

void ScreenPainter::bubble(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* shot = Brush::picture(40, 40);
    bubbleShape(shot, 20, 20, 17, Rgb(170, 230, 255), Rgb(0, 0, 0), false);
    Brush::keep(out, shot);
    // Drawn additively over the trapped creature: the dark inside adds a
    // faint blue, the rim shines.
    BITMAP* trap = Brush::picture(150, 150);
    Brush::disc(trap, 75, 75, 70, Rgb(10, 30, 60));
    Brush::halo(trap, 75, 75, 70, Rgb(30, 70, 110), 0.5f);
    bubbleShape(trap, 75, 75, 70, Rgb(150, 220, 255), Rgb(0, 0, 0), false);
    Brush::keep(out, trap);
}

void ScreenPainter::coin(DatafileWriter& out, const TrueTypeFont&)
{
    for (int i = 0; i <= 20; ++i) {
        BITMAP* p = Brush::picture(32, 32);
        float a = 2.0f * PI * i / 20.0f;
        coinFace(p, 16, 16, std::fabs(std::cos(a)) * 12.0f, 12.0f);
        Brush::keep(out, p);
    }
}

void ScreenPainter::treasure(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(68, 60);
    chest(p, 34, 54, 1.1f);
    Brush::keep(out, p);
    p = Brush::picture(44, 44);
    gem(p, 22, 21, 18, Rgb(90, 230, 60));
    Brush::keep(out, p);
    p = Brush::picture(44, 44);
    gem(p, 22, 21, 18, Rgb(235, 40, 70));
    Brush::keep(out, p);
    p = Brush::picture(44, 44);
    gem(p, 22, 21, 18, Rgb(70, 110, 250));
    Brush::keep(out, p);
    p = Brush::picture(36, 36);
    pearl(p, 18, 18, 13);
    Brush::keep(out, p);
}

void ScreenPainter::shell(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(92, 72);
    BITMAP* part = Brush::picture(92, 72);
    // A scallop: fan of ribs over a hinge.
    float cx = 46, cy = 66;
    std::vector<float> fan = { cx - 10, cy };
    for (int i = 0; i <= 16; ++i) {
        float a = PI + PI * i / 16.0f;
        float r = 58 + ((i % 2) ? -3.0f : 0.0f);
        fan.push_back(cx + std::cos(a) * r * 0.72f);
        fan.push_back(cy - 4 + std::sin(a) * r);
    }
    fan.push_back(cx + 10);
    fan.push_back(cy);
    Brush::polygon(part, fan, Rgb(240, 170, 150));
    for (int i = 1; i < 8; ++i) {
        float a = PI + PI * i / 8.0f;
        Brush::thickLine(
            part, cx, cy - 2, cx + std::cos(a) * 40, cy - 4 + std::sin(a) * 56, 3, Rgb(200, 110, 100));
    }
    Brush::rectangle(part, static_cast<int>(cx - 14), static_cast<int>(cy - 6), static_cast<int>(cx + 14),
        static_cast<int>(cy + 3), Rgb(210, 130, 110));
    Brush::glow(part, cx - 12, cy - 40, 36, WHITE, 0.4f);
    Brush::shadeRows(part, 10, 70, 0.3f);
    Brush::outline(part, INK);
    Brush::stamp(p, part);
    Brush::keep(out, p);
}

void ScreenPainter::bomb(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(64, 72);
    BITMAP* part = Brush::picture(64, 72);
    Brush::Shading iron { Rgb(90, 90, 110), Rgb(30, 30, 40), 0.8f, 0.5f };
    Brush::blob(part, 30, 44, 24, 24, 24, 24, 0.0f, iron);
    Brush::rectangle(part, 24, 14, 38, 22, Rgb(120, 120, 130));
    // Spikes of a sea mine.
    for (int i = 0; i < 8; ++i) {
        float a = i * PI / 4 + PI / 8;
        float x = 30 + std::cos(a) * 24, y = 44 + std::sin(a) * 24;
        Brush::disc(part, x, y, 4, Rgb(140, 140, 150));
    }
    Brush::outline(part, INK);
    Brush::stamp(p, part);
    Brush::stroke(p, { 31, 14, 36, 8, 44, 6, 48, 10 }, 2.5f, 2.0f, Rgb(200, 180, 120));
    star(p, 50, 9, 8, 3, 5, 0.3f, Rgb(255, 230, 80));
    Brush::disc(p, 50, 9, 2.5f, WHITE);
    Brush::keep(out, p);
}

void ScreenPainter::hud(DatafileWriter& out, const TrueTypeFont&)
{
    // The counters sit at x 100, 220, 340, 460 and 580 of the bar (text at
    // the top row); each gets a plaque with its icon on the left.
    BITMAP* p = Brush::picture(640, 60);
    const int centres[] = { 100, 220, 340, 460, 580 };
    for (int i = 0; i < 5; ++i) {
        int c = centres[i];
        Brush::roundedRectangle(p, c - 58, 2, c + 52, 34, 12, INK);
        Brush::roundedRectangle(p, c - 56, 4, c + 50, 32, 10, Rgb(20, 60, 110));
        Brush::roundedRectangle(p, c - 54, 5, c + 48, 10, 4, Rgb(50, 110, 170));
        BITMAP* icon = Brush::picture(40, 40);
        switch (i) {
        case 0:
            chest(icon, 20, 32, 0.55f);
            break;
        case 1:
            gem(icon, 20, 19, 12, Rgb(90, 230, 60));
            break;
        case 2:
            gem(icon, 20, 19, 12, Rgb(235, 40, 70));
            break;
        case 3:
            pearl(icon, 20, 20, 10);
            break;
        default:
            bubbleShape(icon, 20, 20, 12, Rgb(170, 230, 255), Rgb(0, 0, 0), false);
            break;
        }
        draw_sprite(p, icon, c - 64, -2);
        destroy_bitmap(icon);
    }
    // A band under the clock and the coin line.
    Brush::roundedRectangle(p, 200, 36, 440, 58, 10, INK);
    Brush::roundedRectangle(p, 202, 38, 438, 56, 8, Rgb(15, 45, 85));
    Brush::roundedRectangle(p, 530, 36, 630, 58, 10, INK);
    Brush::roundedRectangle(p, 532, 38, 628, 56, 8, Rgb(15, 45, 85));
    clockFace(p, 542, 47, 8);
    Brush::keep(out, p);
}

void ScreenPainter::heart(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* full = Brush::picture(30, 28);
    BITMAP* part = Brush::picture(30, 28);
    heartShape(part, 15, 12, 12, Rgb(230, 30, 60));
    Brush::glow(part, 10, 8, 10, WHITE, 0.6f);
    Brush::outline(part, INK);
    Brush::stamp(full, part);
    Brush::keep(out, full);
    BITMAP* empty = Brush::picture(30, 28);
    part = Brush::picture(30, 28);
    heartShape(part, 15, 12, 12, Rgb(70, 50, 70));
    Brush::outline(part, INK);
    Brush::stamp(empty, part);
    Brush::keep(out, empty);
}

void ScreenPainter::help(DatafileWriter& out, const TrueTypeFont& text)
{
    BITMAP* p = panel(700, 300, Rgb(20, 70, 120), Rgb(8, 25, 60), Rgb(120, 200, 230));
    // The professor's seal in the corner and a row of bubbles.
    for (int i = 0; i < 6; ++i) {
        bubbleShape(
            p, 640 - i * 9.0f, 250 - i * 30.0f, 6 + i * 1.5f, Rgb(150, 210, 240), Rgb(0, 0, 0), false);
    }
    text.draw(p, "HELP", 350, 30, 22, Rgb(200, 240, 255), Rgb(120, 200, 240), INK, 2);
    Brush::keep(out, p);
}

void ScreenPainter::powerups(DatafileWriter& out, const TrueTypeFont& text)
{
    for (int i = 0; i < 5; ++i) {
        BITMAP* p = Brush::picture(72, 72);
        Brush::Shading orb { Rgb(60, 140, 220), Rgb(20, 40, 110), 0.7f, 0.55f };
        const Rgb tints[] = { Rgb(60, 150, 230), Rgb(200, 60, 200), Rgb(240, 140, 30), Rgb(60, 190, 90),
            Rgb(120, 90, 230) };
        orb.top = tints[i].lighter(0.2f);
        orb.bottom = tints[i].darker(0.5f);
        BITMAP* part = Brush::picture(72, 72);
        Brush::blob(part, 36, 36, 32, 32, 32, 32, 0.0f, orb);
        Brush::outline(part, INK);
        Brush::stamp(p, part);
        switch (i) {
        case 0: // endless bubbles
            bubbleShape(p, 26, 40, 11, WHITE, Rgb(0, 0, 0), false);
            bubbleShape(p, 44, 28, 8, WHITE, Rgb(0, 0, 0), false);
            Brush::ring(p, 29, 57, 5, 2.5f, WHITE);
            Brush::ring(p, 40, 57, 5, 2.5f, WHITE);
            break;
        case 1: // trap everyone
            bubbleShape(p, 36, 36, 22, WHITE, Rgb(0, 0, 0), false);
            star(p, 36, 36, 12, 5, 5, 0, Rgb(255, 240, 90));
            break;
        case 2: // speed
            for (int k = 0; k < 3; ++k) {
                Brush::thickLine(p, 16, 26.0f + k * 10, 34, 26.0f + k * 10, 3, WHITE);
            }
            Brush::polygon(p, { 38, 18, 58, 36, 38, 54, 44, 36 }, Rgb(255, 230, 90));
            Brush::outline(p, INK);
            break;
        case 3: // one more bubble
            bubbleShape(p, 30, 38, 14, WHITE, Rgb(0, 0, 0), false);
            text.draw(p, "+1", 50, 24, 18, Rgb(255, 255, 160), Rgb(255, 200, 60), INK, 2);
            break;
        default: // slow time
            clockFace(p, 36, 36, 20);
            break;
        }
        Brush::keep(out, p);
    }
}

void ScreenPainter::title(DatafileWriter& out, const TrueTypeFont& text)
{
    BITMAP* name = Brush::picture(480, 150);
    // A wave crest behind the letters.
    BITMAP* wave = Brush::picture(480, 150);
    std::vector<float> crest = { 10, 120 };
    for (int i = 0; i <= 20; ++i) {
        float x = 10 + i * 23.0f;
        crest.push_back(x);
        crest.push_back(95 - 22 * std::sin(i * 0.7f) - (i % 2) * 6);
    }
    crest.push_back(470);
    crest.push_back(120);
    crest.push_back(10);
    crest.push_back(138);
    Brush::polygon(wave, crest, Rgb(40, 140, 200));
    Brush::shadeRows(wave, 60, 140, 0.5f);
    Brush::outline(wave, INK);
    Brush::stamp(name, wave);
    letters(name, text, "Tidewander", 240, 66, 66, Rgb(255, 250, 200), Rgb(250, 170, 40), 5);
    Brush::keep(out, name);

    BITMAP* fish = Brush::picture(260, 200);
    FishPainter::Look look = CreaturePainter::dorirLook();
    look.length *= 2.2f;
    look.height *= 2.2f;
    look.tailSize *= 2.2f;
    look.dorsal *= 2.2f;
    look.pectoral *= 2.2f;
    look.eye *= 2.2f;
    look.mouth *= 2.2f;
    FishPainter::draw(fish, 120, 110, look, 0.4f, 0.3f, -0.15f);
    bubbleShape(fish, 30, 50, 12, Rgb(170, 230, 255), Rgb(0, 0, 0), false);
    bubbleShape(fish, 50, 22, 8, Rgb(170, 230, 255), Rgb(0, 0, 0), false);
    bubbleShape(fish, 18, 14, 6, Rgb(170, 230, 255), Rgb(0, 0, 0), false);
    Brush::keep(out, fish);
}

void ScreenPainter::logo(DatafileWriter& out, const TrueTypeFont& text)
{
    BITMAP* p = Brush::picture(520, 300);
    // A round badge: a rising sun over waves.
    BITMAP* badge = Brush::picture(520, 300);
    Brush::disc(badge, 260, 110, 95, Rgb(30, 60, 120));
    for (int y = 15; y < 205; ++y) {
        for (int x = 165; x < 355; ++x) {
            if (!Brush::isMask(badge, x, y)) {
                float t = (y - 15) / 190.0f;
                putpixel(badge, x, y, Brush::pixel(Rgb(255, 180, 80).mix(Rgb(120, 40, 120), t)));
            }
        }
    }
    Brush::disc(badge, 260, 120, 45, Rgb(255, 240, 170));
    for (int k = 0; k < 4; ++k) {
        float y = 130.0f + k * 20;
        std::vector<float> waveLine;
        for (int i = 0; i <= 24; ++i) {
            float x = 160.0f + i * 8.4f;
            waveLine.push_back(x);
            waveLine.push_back(y + std::sin(i * 0.9f + k) * 5);
        }
        waveLine.push_back(360);
        waveLine.push_back(215);
        waveLine.push_back(160);
        waveLine.push_back(215);
        Brush::polygon(badge, waveLine, Rgb(20, 90 + k * 20, 160 + k * 15));
    }
    // Keep only the disc.
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 520; ++x) {
            if (std::hypot(x + 0.5f - 260, y + 0.5f - 110) > 95) {
                putpixel(badge, x, y, Brush::mask());
            }
        }
    }
    Brush::ring(badge, 260, 110, 95, 6, Rgb(250, 220, 120));
    Brush::outline(badge, INK);
    Brush::stamp(p, badge);
    letters(p, text, "KORVENNA", 260, 240, 54, Rgb(255, 255, 255), Rgb(170, 210, 255), 4);
    text.draw(p, "presents", 260, 282, 18, Rgb(220, 230, 255), Rgb(160, 190, 230), INK, 2);
    Brush::keep(out, p);
}

void ScreenPainter::menuBackdrop(DatafileWriter& out, const TrueTypeFont&)
{
    Brush::keep(out, panel(400, 320, Rgb(25, 75, 125), Rgb(8, 25, 60), Rgb(120, 200, 230)));
}

void ScreenPainter::mapNodes(DatafileWriter& out, const TrueTypeFont&)
{
    for (int i = 0; i < 4; ++i) {
        bool boss = (i % 2) == 1;
        bool perfect = i >= 2;
        int size = boss ? 40 : 30;
        BITMAP* p = Brush::picture(size, size);
        BITMAP* part = Brush::picture(size, size);
        float c = size / 2.0f, r = size / 2.0f - 3;
        Brush::Shading stone { perfect ? Rgb(255, 230, 110) : Rgb(120, 200, 240),
            perfect ? Rgb(200, 130, 20) : Rgb(30, 90, 160), 0.7f, 0.55f };
        if (boss) {
            std::vector<float> shape;
            for (int k = 0; k < 12; ++k) {
                float a = k * PI / 6;
                float rr = (k % 2) ? r * 0.7f : r;
                shape.push_back(c + std::cos(a) * rr);
                shape.push_back(c + std::sin(a) * rr);
            }
            Brush::polygon(part, shape, stone.bottom);
            Brush::blob(part, c, c, r * 0.68f, r * 0.68f, r * 0.68f, r * 0.68f, 0, stone);
            // A skull-ish face marks a boss.
            Brush::disc(part, c - 4, c - 1, 3, INK);
            Brush::disc(part, c + 4, c - 1, 3, INK);
            Brush::rectangle(part, static_cast<int>(c - 4), static_cast<int>(c + 5), static_cast<int>(c + 4),
                static_cast<int>(c + 6), INK);
        } else {
            Brush::blob(part, c, c, r, r, r, r, 0, stone);
            Brush::disc(part, c, c, r * 0.35f, stone.top.lighter(0.5f));
        }
        Brush::outline(part, INK);
        Brush::stamp(p, part);
        if (perfect) {
            star(p, size - 9.0f, 9, 5, 2.2f, 5, 0, WHITE);
        }
        Brush::keep(out, p);
    }
}

void ScreenPainter::banners(DatafileWriter& out, const TrueTypeFont& text)
{
    struct Banner {
        const char* words;
        Rgb top, bottom;
    };
    const Banner banners[] = {
        { "Ready?", Rgb(255, 255, 220), Rgb(255, 200, 60) },
        { "Go!", Rgb(220, 255, 200), Rgb(60, 200, 60) },
        { "Boss Fight!", Rgb(255, 220, 200), Rgb(230, 40, 40) },
        { "Run!!", Rgb(255, 230, 255), Rgb(200, 60, 220) },
    };
    for (const Banner& b : banners) {
        int w = text.width(b.words, 64, 5) + 20;
        BITMAP* p = Brush::picture(w, 100);
        letters(p, text, b.words, w / 2, 48, 64, b.top, b.bottom, 5);
        Brush::keep(out, p);
    }
}

void ScreenPainter::endOfGame(DatafileWriter& out, const TrueTypeFont& text)
{
    // The fish home again with the family treasure.
    BITMAP* p = panel(520, 300, Rgb(60, 150, 210), Rgb(20, 60, 120), Rgb(250, 220, 120));
    Random random("eog");
    for (int i = 0; i < 40; ++i) {
        float x = random.between(30, 490), y = random.between(30, 270);
        bubbleShape(p, x, y, random.between(2, 6), Rgb(170, 230, 255), Rgb(0, 0, 0), false);
    }
    chest(p, 300, 250, 3.0f);
    for (int i = 0; i < 9; ++i) {
        BITMAP* c = Brush::picture(32, 32);
        coinFace(c, 16, 16, 12, 12);
        draw_sprite(p, c, 200 + i * 22, 150 - (i % 3) * 14 - (i * 7) % 11);
        destroy_bitmap(c);
    }
    FishPainter::Look look = CreaturePainter::dorirLook();
    for (float* v : { &look.length, &look.height, &look.tailSize, &look.dorsal, &look.pectoral, &look.eye,
             &look.mouth }) {
        *v *= 1.8f;
    }
    look.grin = true;
    FishPainter::draw(p, 120, 170, look, 0.5f, 0.6f, -0.25f);
    Brush::keep(out, p);

    BITMAP* heading = Brush::picture(560, 110);
    letters(heading, text, "Treasure Home!", 280, 52, 60, Rgb(255, 250, 210), Rgb(250, 170, 40), 5);
    Brush::keep(out, heading);

    BITMAP* award = Brush::picture(520, 110);
    Brush::roundedRectangle(award, 20, 10, 500, 100, 30, INK);
    Brush::roundedRectangle(award, 23, 13, 497, 97, 28, GOLD);
    Brush::roundedRectangle(award, 30, 20, 490, 90, 24, Rgb(120, 40, 140));
    star(award, 60, 55, 26, 11, 5, 0, GOLD);
    star(award, 460, 55, 26, 11, 5, 0, GOLD);
    text.draw(award, "Every level 100%!", 260, 55, 34, Rgb(255, 255, 230), Rgb(255, 210, 80), INK, 3);
    Brush::keep(out, award);
}

void ScreenPainter::award(DatafileWriter& out, const TrueTypeFont& text)
{
    BITMAP* p = Brush::picture(420, 260);
    // Rays behind a medal.
    for (int i = 0; i < 16; ++i) {
        float a = i * PI / 8;
        Brush::polygon(p,
            { 210, 110, 210 + std::cos(a - 0.09f) * 130, 110 + std::sin(a - 0.09f) * 100,
                210 + std::cos(a + 0.09f) * 130, 110 + std::sin(a + 0.09f) * 100 },
            (i % 2) ? Rgb(255, 230, 120) : Rgb(255, 200, 80));
    }
    BITMAP* medal = Brush::picture(420, 260);
    Brush::Shading gold { Rgb(255, 235, 120), Rgb(210, 140, 30), 0.8f, 0.55f };
    Brush::blob(medal, 210, 110, 78, 78, 78, 78, 0, gold);
    Brush::ring(medal, 210, 110, 64, 4, GOLD_DARK);
    Brush::outline(medal, INK);
    Brush::stamp(p, medal);
    letters(p, text, "100%", 210, 108, 54, WHITE, Rgb(255, 240, 170), 4);
    letters(p, text, "Perfect!", 210, 220, 44, Rgb(220, 255, 255), Rgb(80, 200, 250), 4);
    Brush::keep(out, p);
}

void ScreenPainter::cutscene(DatafileWriter& out, const TrueTypeFont&)
{
    // The scene: the professor's reef home with the empty treasure stand.
    BITMAP* scene = Brush::picture(420, 300);
    BITMAP* house = Brush::picture(420, 300);
    Brush::Shading rock { Rgb(180, 140, 110), Rgb(100, 70, 60), 0.2f, 0.55f };
    Brush::blob(house, 210, 300, 190, 190, 230, 10, 0, rock);
    Random random("cutscene");
    Brush::texture(house, random, 1500, 0.15f);
    Brush::ellipse(house, 130, 160, 36, 48, Rgb(40, 30, 50)); // door
    Brush::ellipse(house, 290, 130, 30, 30, Rgb(255, 230, 150)); // window
    Brush::thickLine(house, 260, 130, 320, 130, 3, Rgb(120, 80, 60));
    Brush::thickLine(house, 290, 100, 290, 160, 3, Rgb(120, 80, 60));
    Brush::rectangle(house, 230, 240, 330, 252, Rgb(140, 90, 50)); // the empty stand
    Brush::rectangle(house, 250, 252, 310, 300, Rgb(110, 70, 40));
    Brush::outline(house, INK);
    Brush::stamp(scene, house);
    // Sea plants on either side.
    for (int k = 0; k < 6; ++k) {
        float x = k < 3 ? 20.0f + k * 18 : 350.0f + (k - 3) * 20;
        Brush::stroke(
            scene, { x, 300, x + 8, 240, x - 6, 190, x + 4, 140 - k * 6.0f }, 8, 3, Rgb(60, 170, 90));
    }
    Brush::keep(out, scene);

    // The professor: an old turtle with spectacles.
    BITMAP* prof = Brush::picture(180, 210);
    BITMAP* part = Brush::picture(180, 210);
    Brush::Shading shell { Rgb(120, 160, 80), Rgb(60, 90, 40), 0.4f, 0.55f };
    Brush::Shading skin { Rgb(170, 210, 140), Rgb(120, 160, 100), 0.3f, 0.6f };
    Brush::blob(part, 60, 170, 22, 22, 14, 14, 0, skin); // feet
    Brush::blob(part, 125, 170, 22, 22, 14, 14, 0, skin);
    Brush::blob(part, 95, 120, 60, 60, 62, 50, 0, shell);
    Brush::outline(part, INK);
    Brush::stamp(prof, part);
    part = Brush::picture(180, 210);
    Brush::blob(part, 48, 55, 36, 36, 40, 34, 0, skin); // head
    Brush::outline(part, INK);
    Brush::stamp(prof, part);
    for (int k = 0; k < 5; ++k) {
        Brush::ring(prof, 95.0f + (k - 2) * 22, 110.0f + (k % 2) * 20, 14, 2, Rgb(50, 70, 30));
    }
    Brush::eye(prof, 38, 48, 8, -0.5f, 0, 0.3f);
    Brush::eye(prof, 62, 48, 8, -0.5f, 0, 0.3f);
    Brush::ring(prof, 38, 48, 12, 2.5f, Rgb(60, 50, 40));
    Brush::ring(prof, 62, 48, 12, 2.5f, Rgb(60, 50, 40));
    Brush::thickLine(prof, 49, 48, 51, 48, 2.5f, Rgb(60, 50, 40));
    Brush::stroke(prof, { 30, 76, 48, 84, 64, 76 }, 2.5f, 2.5f, INK);
    // A white beard.
    Brush::polygon(prof, { 28, 82, 70, 82, 50, 110 }, Rgb(240, 240, 240));
    Brush::outline(prof, INK);
    Brush::keep(out, prof);

    BITMAP* hero = Brush::picture(160, 120);
    FishPainter::Look look = CreaturePainter::dorirLook();
    for (float* v : { &look.length, &look.height, &look.tailSize, &look.dorsal, &look.pectoral, &look.eye,
             &look.mouth }) {
        *v *= 1.6f;
    }
    FishPainter::draw(hero, 70, 60, look, 0.2f, 0.0f);
    // Faces the professor on the right: the picture is mirrored.
    BITMAP* mirrored = Brush::picture(160, 120);
    draw_sprite_h_flip(mirrored, hero, 0, 0);
    destroy_bitmap(hero);
    Brush::keep(out, mirrored);
}

void ScreenPainter::particles(DatafileWriter& out, const TrueTypeFont&)
{
    // Drawn additively: bright cores, dark edges fade into the scene.
    BITMAP* spark = Brush::picture(16, 16);
    Brush::halo(spark, 8, 8, 7, Rgb(255, 220, 120), 1.0f);
    star(spark, 8, 8, 6, 2, 4, 0, Rgb(255, 250, 200));
    Brush::keep(out, spark);
    BITMAP* bubble = Brush::picture(12, 12);
    bubbleShape(bubble, 6, 6, 5, Rgb(150, 210, 240), Rgb(0, 0, 0), false);
    Brush::keep(out, bubble);
    BITMAP* smoke = Brush::picture(18, 18);
    Brush::halo(smoke, 9, 9, 9, Rgb(160, 160, 170), 0.9f);
    Brush::keep(out, smoke);
}
