#include "databuilder/art/CreaturePainter.h"

#include "databuilder/art/Brush.h"
#include "databuilder/art/Random.h"
#include "databuilder/art/TrueTypeFont.h"
#include "engine/media/DatafileWriter.h"

#include <algorithm>
#include <cmath>

namespace {

const float PI = 3.14159265f;
const Rgb INK(24, 16, 32);
const Rgb WHITE(255, 255, 255);

float cycle(int frame, int frames)
{
    return 2.0f * PI * frame / frames;
}

// A wing seen from the side, foreshortened as it beats: raised above the
// body (lift 1), level and edge-on (0) or pressed below it (-1). The leading
// edge faces the head (left), the feathered trailing edge the tail.
void wing(BITMAP* p, float sx, float sy, float span, float lift, const Rgb& colour, const Rgb& tip,
    bool towardsBack)
{
    BITMAP* part = Brush::picture(p->w, p->h);
    float dir = towardsBack ? 1.0f : -1.0f;
    float rise = (lift >= 0 ? 1.0f : -1.0f) * std::max(std::fabs(lift), 0.18f);
    float tx = sx + dir * span * 0.3f, ty = sy - rise * span;
    std::vector<float> shape
        = { sx - dir * span * 0.18f, sy, sx - dir * span * 0.12f, sy - rise * span * 0.55f, tx, ty };
    const int feathers = 5;
    float bx = sx + dir * span * 0.32f, by = sy;
    for (int k = 1; k < feathers; ++k) {
        float t = static_cast<float>(k) / feathers;
        float px = tx + (bx - tx) * t, py = ty + (by - ty) * t;
        float out = (k % 2 ? 0.16f : 0.07f) * span * (1.0f - t * 0.5f);
        shape.push_back(px + dir * out);
        shape.push_back(py);
    }
    shape.push_back(bx + dir * span * 0.06f);
    shape.push_back(by + 2);
    Brush::polygon(part, shape, colour);
    Brush::glow(part, tx, ty, span * 0.45f, tip, 1.4f);
    // A few feather lines.
    for (int k = 1; k <= 3; ++k) {
        float t = k / 4.0f;
        Brush::thickLine(part, sx + (tx - sx) * t * 0.4f, sy + (ty - sy) * t * 0.4f, tx + (bx - tx) * t,
            ty + (by - ty) * t, 1.0f, colour.darker(0.25f));
    }
    Brush::outline(part, INK);
    Brush::stamp(p, part);
}

void tentacle(BITMAP* p, float x, float y, float length, float phase, float width, const Rgb& colour)
{
    std::vector<float> pts;
    for (int k = 0; k <= 5; ++k) {
        float t = k / 5.0f;
        pts.push_back(x + std::sin(phase + t * 3.0f) * 6.0f * t);
        pts.push_back(y + t * length);
    }
    Brush::stroke(p, pts, width, 1.5f, colour);
}

} // namespace

FishPainter::Look CreaturePainter::dorirLook()
{
    FishPainter::Look look;
    look.length = 50;
    look.height = 38;
    look.noseShape = 0.48f;
    look.back = Rgb(250, 130, 30);
    look.belly = Rgb(255, 225, 120);
    look.fin = Rgb(255, 95, 60);
    look.stripe = Rgb(255, 250, 235);
    look.stripes = 2;
    look.stripeWidth = 6;
    look.tail = FishPainter::Tail::Fan;
    look.tailSize = 20;
    look.dorsal = 12;
    look.pectoral = 9;
    look.eye = 8;
    look.eyeForward = 0.55f;
    look.mouth = 6;
    look.grin = true;
    return look;
}

void CreaturePainter::dorir(DatafileWriter& out, const TrueTypeFont&)
{
    FishPainter::Look look = dorirLook();
    DatafileWriter& swim = out.addNested("SWIM");
    for (int i = 0; i <= 20; ++i) {
        float a = cycle(i, 20);
        Brush::keep(swim, FishPainter::frame(look, std::sin(a), std::sin(a + 1.2f), 96, 80));
    }
    // On land the fish hops on its tail: squashed at the bottom of a hop,
    // stretched and nose-up at the top.
    DatafileWriter& hop = out.addNested("HOP");
    for (int i = 0; i <= 10; ++i) {
        float t = i / 10.0f;
        FishPainter::Look l = look;
        l.height = look.height * (1.12f - 0.22f * t);
        l.length = look.length * (0.94f + 0.1f * t);
        l.eyeLid = 0.0f;
        l.gasp = true;
        BITMAP* frame = FishPainter::frame(
            l, 0.8f * std::sin(t * PI * 2), -0.8f + 1.6f * t, 96, 80, -0.12f - 0.25f * t);
        // Drops of water fly off as it springs up.
        for (int k = 0; k < 3; ++k) {
            float dx = 30.0f + k * 16, dy = 20.0f - t * 6 - (k % 2) * 5;
            Brush::disc(frame, dx, dy, 3.2f, Rgb(20, 40, 80));
            Brush::disc(frame, dx, dy, 2.2f, Rgb(150, 210, 250));
        }
        Brush::keep(hop, frame);
    }
}

void CreaturePainter::ray(DatafileWriter& out, const TrueTypeFont&)
{
    // Zaz, a manta ray, carrying the fish to the right. Its body sits low in
    // the picture so the rider appears on its back.
    for (int i = 0; i <= 20; ++i) {
        float a = cycle(i, 20);
        float lift = std::sin(a);
        BITMAP* p = Brush::picture(220, 172);
        float cx = 110, cy = 98;
        // Far wing, darker, behind the body.
        BITMAP* far = Brush::picture(220, 172);
        Brush::stroke(far, { cx + 24, cy - 6, cx - 6, cy - 10 - lift * 22, cx - 40, cy - 8 - lift * 44 }, 34,
            6, Rgb(40, 50, 110));
        Brush::outline(far, INK);
        Brush::stamp(p, far);
        BITMAP* body = Brush::picture(220, 172);
        // Whip tail to the left.
        Brush::stroke(body, { cx - 60, cy + 2, cx - 85, cy + 4 + lift * 4, cx - 105, cy + lift * 8 }, 4, 1,
            Rgb(50, 60, 120));
        Brush::Shading skin { Rgb(60, 80, 160), Rgb(220, 230, 245), 0.4f, 0.55f };
        Brush::blob(body, cx, cy, 70, 62, 16, 14, 0, skin);
        // Head lobes (horns) at the front, on the right.
        Brush::blob(body, cx + 66, cy - 2, 8, 12, 5, 5, 0.3f, skin);
        Brush::blob(body, cx + 64, cy + 8, 8, 12, 5, 5, -0.2f, skin);
        Brush::outline(body, INK);
        Brush::stamp(p, body);
        // Near wing in front, a broad curve.
        BITMAP* near = Brush::picture(220, 172);
        Brush::stroke(near, { cx + 30, cy + 2, cx - 4, cy - lift * 26, cx - 52, cy + 4 - lift * 52 }, 40, 6,
            Rgb(70, 95, 175));
        Brush::stroke(
            near, { cx + 10, cy + 2 - lift * 4, cx - 20, cy - lift * 30 }, 10, 4, Rgb(90, 115, 195));
        Brush::outline(near, INK);
        Brush::stamp(p, near);
        Brush::eye(p, cx + 50, cy - 5, 6, 0.7f, 0.0f);
        Brush::stroke(p, { cx + 52, cy + 6, cx + 58, cy + 9, cx + 64, cy + 6 }, 2, 2, INK);
        Brush::keep(out, p);
    }
}

void CreaturePainter::rocket(DatafileWriter& out, const TrueTypeFont&)
{
    Random random("rocket");
    for (int i = 0; i <= 20; ++i) {
        BITMAP* p = Brush::picture(200, 90);
        float cy = 52;
        // Flame flickers behind (on the left).
        float flicker = random.between(0.7f, 1.0f);
        Brush::polygon(p,
            { 46, cy - 12, 46 - 32 * flicker, cy - 4 + random.between(-3, 3), 46 - 42 * flicker, cy,
                46 - 32 * flicker, cy + 4 + random.between(-3, 3), 46, cy + 12 },
            Rgb(255, 140, 30));
        Brush::polygon(p, { 46, cy - 7, 46 - 28 * flicker, cy, 46, cy + 7 }, Rgb(255, 240, 120));
        BITMAP* body = Brush::picture(200, 90);
        // Fins at the back.
        Brush::polygon(body, { 50, cy - 14, 70, cy - 14, 50, cy - 34 }, Rgb(200, 40, 40));
        Brush::polygon(body, { 50, cy + 14, 70, cy + 14, 50, cy + 34 }, Rgb(170, 30, 30));
        Brush::Shading metal { Rgb(240, 240, 245), Rgb(150, 150, 170), 0.8f, 0.55f };
        Brush::blob(body, 105, cy, 58, 70, 17, 17, 0, metal);
        // Red nose cone on the right.
        Brush::Shading red { Rgb(240, 70, 60), Rgb(150, 20, 20), 0.7f, 0.55f };
        Brush::blob(body, 160, cy, 12, 30, 14, 14, 0, red);
        Brush::rectangle(
            body, 48, static_cast<int>(cy - 15), 58, static_cast<int>(cy + 15), Rgb(90, 90, 100));
        Brush::outline(body, INK);
        Brush::stamp(p, body);
        Brush::disc(p, 128, cy - 2, 8, Rgb(60, 60, 80));
        Brush::disc(p, 128, cy - 2, 6, Rgb(120, 200, 240));
        Brush::disc(p, 126, cy - 4, 2, WHITE);
        Brush::keep(out, p);
    }
}

void CreaturePainter::plunger(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(90, 44);
    BITMAP* part = Brush::picture(90, 44);
    Brush::thickLine(part, 7, 22, 62, 22, 6, Rgb(190, 130, 70));
    Brush::Shading rubber { Rgb(240, 60, 60), Rgb(140, 10, 20), 0.6f, 0.55f };
    Brush::blob(part, 74, 22, 8, 12, 16, 16, 0, rubber);
    Brush::rectangle(part, 60, 19, 66, 25, Rgb(160, 20, 30));
    Brush::outline(part, INK);
    Brush::stamp(p, part);
    Brush::keep(out, p);
}

void CreaturePainter::dolphin(DatafileWriter& out, const TrueTypeFont&)
{
    FishPainter::Look look;
    look.length = 116;
    look.height = 38;
    look.noseShape = 0.42f;
    look.back = Rgb(90, 130, 180);
    look.belly = Rgb(225, 235, 245);
    look.fin = Rgb(80, 115, 165);
    look.tail = FishPainter::Tail::Crescent;
    look.tailSize = 26;
    look.dorsal = 22;
    look.pectoral = 12;
    look.eye = 5;
    look.eyeForward = 0.7f;
    look.mouth = 0;
    for (int i = 0; i <= 30; ++i) {
        float a = cycle(i, 30);
        BITMAP* p = Brush::picture(180, 100);
        float cx = 92, cy = 52;
        float tilt = 0.1f * std::sin(a);
        // The beak, under the head.
        BITMAP* beak = Brush::picture(180, 100);
        Brush::Shading skin { look.back, look.belly, 0.4f, 0.55f };
        float reach = look.length * look.noseShape;
        float bx = cx - reach * std::cos(tilt), by = cy + 6 - reach * std::sin(tilt);
        Brush::blob(beak, bx - 4, by, 14, 14, 6, 6, tilt, skin);
        Brush::outline(beak, INK);
        Brush::stamp(p, beak);
        FishPainter::draw(p, cx, cy, look, std::sin(a), std::sin(a + 1.0f), tilt);
        Brush::stroke(p, { bx - 16, by + 1, bx - 4, by + 3, bx + 8, by }, 1.5f, 1.5f, INK);
        Brush::keep(out, p);
    }
}

void CreaturePainter::angler(DatafileWriter& out, const TrueTypeFont&)
{
    const int W = 140, H = 120;
    const float bulbX = 22, bulbY = 14;
    BITMAP* p = Brush::picture(W, H);
    // Tail and fins.
    BITMAP* fins = Brush::picture(W, H);
    Brush::polygon(fins, { 105, 66, 136, 40, 128, 68, 136, 96 }, Rgb(70, 60, 50));
    Brush::polygon(fins, { 60, 36, 80, 20, 100, 40 }, Rgb(70, 60, 50));
    Brush::outline(fins, INK);
    Brush::stamp(p, fins);
    BITMAP* body = Brush::picture(W, H);
    Brush::Shading skin { Rgb(110, 95, 70), Rgb(170, 150, 110), 0.25f, 0.5f };
    Brush::blob(body, 70, 68, 52, 44, 36, 40, 0, skin);
    // The huge lower jaw juts out.
    Brush::blob(body, 40, 84, 26, 30, 18, 14, 0.15f, skin);
    Random random("angler");
    Brush::texture(body, random, 500, 0.18f);
    Brush::outline(body, INK);
    Brush::stamp(p, body);
    // Open mouth with needle teeth.
    Brush::polygon(p, { 20, 74, 60, 70, 66, 82, 24, 90 }, Rgb(60, 10, 20));
    for (int k = 0; k < 6; ++k) {
        float x = 24 + k * 7.0f;
        Brush::polygon(p, { x, 72, x + 3, 80, x + 5, 72 }, Rgb(250, 250, 235));
        Brush::polygon(p, { x + 2, 89, x + 5, 81, x + 7, 89 }, Rgb(250, 250, 235));
    }
    Brush::eye(p, 50, 50, 7, -0.4f, 0.3f, 0.0f, Rgb(200, 30, 30));
    Brush::thickLine(p, 42, 40, 60, 46, 3, INK);
    // The stalk and bulb of the lure.
    Brush::stroke(p, { 62, 34, 52, 10, 34, 4, bulbX + 2, bulbY - 2 }, 3, 2, Rgb(90, 80, 60));
    Brush::disc(p, bulbX, bulbY, 6, Rgb(255, 250, 170));
    Brush::ring(p, bulbX, bulbY, 7, 1.5f, INK);
    Brush::keep(out, p);
    // The glow, laid over the same spot at half alpha.
    BITMAP* glow = Brush::picture(W, H);
    Brush::halo(glow, bulbX, bulbY, 22, Rgb(255, 255, 150), 1.6f);
    Brush::disc(glow, bulbX, bulbY, 7, WHITE);
    Brush::keep(out, glow);
}

void CreaturePainter::crab(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(110, 92);
    float cx = 55, cy = 58;
    BITMAP* legs = Brush::picture(110, 92);
    for (int k = 0; k < 3; ++k) {
        float off = 10 + k * 9.0f;
        Brush::stroke(legs, { cx - off, cy + 6, cx - off - 12, cy + 14, cx - off - 16, cy + 28 }, 4, 2.5f,
            Rgb(200, 60, 40));
        Brush::stroke(legs, { cx + off, cy + 6, cx + off + 12, cy + 14, cx + off + 16, cy + 28 }, 4, 2.5f,
            Rgb(200, 60, 40));
    }
    Brush::outline(legs, INK);
    Brush::stamp(p, legs);
    BITMAP* body = Brush::picture(110, 92);
    Brush::Shading shell { Rgb(240, 90, 60), Rgb(180, 40, 30), 0.5f, 0.55f };
    Brush::blob(body, cx, cy, 32, 32, 18, 14, 0, shell);
    // Claws raised.
    for (float side : { -1.0f, 1.0f }) {
        Brush::stroke(body, { cx + side * 24, cy - 4, cx + side * 36, cy - 14, cx + side * 38, cy - 24 }, 5,
            4, Rgb(220, 70, 45));
        Brush::blob(body, cx + side * 40, cy - 32, 10, 10, 10, 8, side * 0.3f, shell);
        Brush::polygon(body, { cx + side * 36, cy - 40, cx + side * 40, cy - 48, cx + side * 46, cy - 38 },
            Rgb(220, 70, 45));
    }
    Brush::outline(body, INK);
    Brush::stamp(p, body);
    // Pincer gaps.
    Brush::thickLine(p, cx - 44, cy - 38, cx - 38, cy - 32, 2, INK);
    Brush::thickLine(p, cx + 44, cy - 38, cx + 38, cy - 32, 2, INK);
    // Eyes on stalks.
    Brush::thickLine(p, cx - 8, cy - 14, cx - 10, cy - 26, 3, Rgb(200, 60, 40));
    Brush::thickLine(p, cx + 8, cy - 14, cx + 10, cy - 26, 3, Rgb(200, 60, 40));
    Brush::eye(p, cx - 10, cy - 28, 5, -0.3f, 0.2f);
    Brush::eye(p, cx + 10, cy - 28, 5, -0.3f, 0.2f);
    Brush::stroke(p, { cx - 8, cy + 2, cx, cy + 6, cx + 8, cy + 2 }, 2, 2, INK);
    Brush::keep(out, p);
}

namespace {

// The eel's spine for a phase: points from the head (left) to the tail.
std::vector<float> eelSpine(float phase, float x0, float cy)
{
    std::vector<float> pts;
    for (int k = 0; k <= 8; ++k) {
        float t = k / 8.0f;
        pts.push_back(x0 + t * 150);
        pts.push_back(cy + std::sin(phase - t * 5.0f) * 12.0f * t);
    }
    return pts;
}

} // namespace

void CreaturePainter::eel(DatafileWriter& out, const TrueTypeFont&)
{
    const int W = 190, H = 70;
    for (int i = 0; i <= 10; ++i) {
        float a = cycle(i, 10);
        BITMAP* p = Brush::picture(W, H);
        BITMAP* body = Brush::picture(W, H);
        std::vector<float> spine = eelSpine(a, 22, 35);
        Brush::stroke(body, spine, 22, 4, Rgb(90, 120, 40));
        // Lighter belly line.
        std::vector<float> belly(spine.begin() + 4, spine.end());
        for (size_t k = 1; k < belly.size(); k += 2) {
            belly[k] += 4;
        }
        Brush::stroke(body, belly, 10, 2, Rgb(200, 200, 90));
        // Yellow spots along the back.
        for (size_t k = 2; k + 2 < spine.size(); k += 2) {
            Brush::disc(body, spine[k], spine[k + 1] - 4, 2.5f, Rgb(240, 220, 80));
        }
        Brush::disc(body, 18, 35, 12, Rgb(100, 130, 45));
        Brush::outline(body, INK);
        Brush::stamp(p, body);
        Brush::eye(p, 16, 30, 4, -0.5f, 0, 0.0f, Rgb(180, 20, 20));
        Brush::thickLine(p, 5, 40, 18, 40, 1.5f, INK);
        Brush::keep(out, p);
    }
    // The charge: a crackling blue aura in the shape of the resting eel.
    BITMAP* glow = Brush::picture(W, H);
    std::vector<float> spine = eelSpine(0, 22, 35);
    Brush::stroke(glow, spine, 34, 12, Rgb(80, 200, 255));
    Brush::stroke(glow, spine, 20, 6, Rgb(200, 250, 255));
    Random random("eel glow");
    for (int k = 0; k < 8; ++k) {
        float x = random.between(20, 170), y = random.between(8, 62);
        Brush::stroke(glow,
            { x, y, x + random.between(-8, 8), y + random.between(-8, 8), x + random.between(-14, 14),
                y + random.between(-10, 10) },
            2, 1, WHITE);
    }
    Brush::keep(out, glow);
}

void CreaturePainter::jellyfish(DatafileWriter& out, const TrueTypeFont&)
{
    for (int i = 0; i <= 10; ++i) {
        float t = i / 10.0f;
        BITMAP* p = Brush::picture(90, 110);
        float bw = 34 - 8 * t, bh = 26 + 6 * t;
        float cx = 45, cy = 36;
        for (int k = 0; k < 5; ++k) {
            float x = cx - bw * 0.7f + k * bw * 0.35f;
            tentacle(p, x, cy + 4, 50 + 10 * t, k + t * 3, 4, Rgb(240, 150, 220));
        }
        BITMAP* bell = Brush::picture(90, 110);
        Brush::Shading jelly { Rgb(250, 170, 230), Rgb(200, 90, 190), 0.9f, 0.6f };
        Brush::blob(bell, cx, cy, bw, bw, bh, 8, 0, jelly);
        // Frilled rim.
        for (int k = 0; k < 7; ++k) {
            Brush::disc(bell, cx - bw + k * bw / 3.0f, cy + 7, 4, Rgb(230, 120, 210));
        }
        Brush::outline(bell, Rgb(90, 30, 90));
        Brush::stamp(p, bell);
        Brush::glow(p, cx - 8, cy - 12, 14, WHITE, 0.5f);
        Brush::disc(p, cx - 9, cy - 2, 2.5f, INK);
        Brush::disc(p, cx + 9, cy - 2, 2.5f, INK);
        Brush::keep(out, p);
    }
}

void CreaturePainter::spikes(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(80, 60);
    BITMAP* part = Brush::picture(80, 60);
    Brush::roundedRectangle(part, 1, 48, 78, 58, 4, Rgb(90, 80, 90));
    for (int k = 0; k < 5; ++k) {
        float x = 8 + k * 16.0f;
        Brush::polygon(part, { x - 8, 50, x, 4.0f + (k % 2) * 8, x + 8, 50 }, Rgb(190, 190, 205));
        Brush::polygon(part, { x, 4.0f + (k % 2) * 8, x + 8, 50, x + 1, 50 }, Rgb(120, 120, 140));
    }
    Brush::outline(part, INK);
    Brush::stamp(p, part);
    Brush::keep(out, p);
}

void CreaturePainter::pirateFish(DatafileWriter& out, const TrueTypeFont&)
{
    FishPainter::Look look;
    look.length = 72;
    look.height = 50;
    look.back = Rgb(90, 120, 110);
    look.belly = Rgb(190, 200, 170);
    look.fin = Rgb(70, 90, 90);
    look.tail = FishPainter::Tail::Fork;
    look.tailSize = 22;
    look.dorsal = 16;
    look.spikyDorsal = true;
    look.eye = 7;
    look.angryBrow = true;
    look.teeth = true;
    look.mouth = 10;
    look.stripes = 0;
    BITMAP* p = FishPainter::frame(look, 0.2f, 0.3f, 120, 96);
    float cx = 60 - look.tailSize * 0.45f, cy = 48;
    // Red bandana over the head and a patch over the eye.
    float hx = cx - 10, hy = cy - 22;
    Brush::blob(
        p, hx, hy, 22, 20, 8, 6, 0.1f, Brush::Shading { Rgb(230, 40, 40), Rgb(160, 20, 20), 0.3f, 0.6f });
    Brush::polygon(p, { hx + 18, hy - 2, hx + 34, hy - 10, hx + 30, hy + 6 }, Rgb(200, 30, 30));
    for (int k = 0; k < 4; ++k) {
        Brush::disc(p, hx - 14 + k * 9.0f, hy - 1 + (k % 2) * 2.0f, 1.5f, WHITE);
    }
    float ex = cx - look.length * look.noseShape * look.eyeForward, ey = cy - look.height * 0.5f * 0.28f;
    Brush::disc(p, ex, ey, 8, INK);
    Brush::thickLine(p, ex - 12, ey - 9, ex + 14, ey + 2, 2, INK);
    Brush::keep(out, p);
}

void CreaturePainter::puffer(DatafileWriter& out, const TrueTypeFont&)
{
    FishPainter::Look look;
    look.length = 46;
    look.height = 32;
    look.back = Rgb(230, 200, 60);
    look.belly = Rgb(250, 240, 180);
    look.fin = Rgb(220, 150, 50);
    look.tail = FishPainter::Tail::Round;
    look.tailSize = 12;
    look.dorsal = 8;
    look.eye = 7;
    look.mouth = 4;
    BITMAP* small = FishPainter::frame(look, 0.2f, 0.2f, 80, 60);
    Random random("puffer");
    for (int k = 0; k < 8; ++k) {
        Brush::disc(small, random.between(28, 48), random.between(22, 38), 2, Rgb(150, 110, 30));
    }
    Brush::keep(out, small);
    // Puffed: a spiky ball, drawn at the size the game stretches it to.
    BITMAP* big = Brush::picture(140, 140);
    BITMAP* part = Brush::picture(140, 140);
    for (int k = 0; k < 24; ++k) {
        float a = k * PI / 12 + 0.1f;
        Brush::polygon(part,
            { 70 + std::cos(a - 0.12f) * 52, 70 + std::sin(a - 0.12f) * 52, 70 + std::cos(a) * 64,
                70 + std::sin(a) * 64, 70 + std::cos(a + 0.12f) * 52, 70 + std::sin(a + 0.12f) * 52 },
            Rgb(240, 230, 190));
    }
    Brush::blob(part, 70, 70, 56, 56, 56, 56, 0, Brush::Shading { look.back, look.belly, 0.6f, 0.55f });
    for (int k = 0; k < 14; ++k) {
        Brush::disc(part, random.between(35, 105), random.between(30, 90), 3, Rgb(170, 130, 40));
    }
    Brush::outline(part, INK);
    Brush::stamp(big, part);
    Brush::polygon(big, { 112, 60, 138, 48, 138, 92, 112, 80 }, look.fin);
    Brush::eye(big, 40, 52, 11, -0.4f, 0, 0.0f);
    Brush::eye(big, 64, 50, 10, -0.4f, 0, 0.0f);
    Brush::thickLine(big, 28, 36, 50, 42, 3, INK);
    Brush::ellipse(big, 34, 84, 9, 6, Rgb(120, 30, 40));
    Brush::keep(out, big);
}

namespace {

void crateBox(BITMAP* p, const Rgb& wood, const Rgb& dark)
{
    BITMAP* part = Brush::picture(80, 80);
    Brush::rectangle(part, 1, 1, 78, 78, wood);
    for (int k = 1; k < 4; ++k) {
        hline(part, 1, k * 20, 78, Brush::pixel(dark));
    }
    Brush::rectangle(part, 1, 1, 78, 8, dark);
    Brush::rectangle(part, 1, 71, 78, 78, dark);
    Brush::rectangle(part, 1, 1, 8, 78, dark);
    Brush::rectangle(part, 71, 1, 78, 78, dark);
    Brush::thickLine(part, 8, 70, 70, 9, 8, dark);
    Random random("crate");
    Brush::texture(part, random, 400, 0.12f);
    for (int x : { 4, 75 }) {
        for (int y : { 4, 75 }) {
            Brush::disc(part, static_cast<float>(x), static_cast<float>(y), 2, Rgb(60, 60, 70));
        }
    }
    Brush::outline(part, INK);
    Brush::stamp(p, part);
}

} // namespace

void CreaturePainter::crate(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(80, 80);
    crateBox(p, Rgb(200, 150, 90), Rgb(140, 95, 50));
    Brush::keep(out, p);
}

void CreaturePainter::explosiveCrate(DatafileWriter& out, const TrueTypeFont& text)
{
    BITMAP* p = Brush::picture(80, 80);
    crateBox(p, Rgb(200, 60, 40), Rgb(120, 30, 20));
    Brush::roundedRectangle(p, 14, 26, 66, 54, 6, Rgb(250, 220, 60));
    text.draw(p, "BOOM", 40, 40, 14, Rgb(60, 20, 10), Rgb(30, 10, 5), Rgb(250, 220, 60), 1);
    Brush::keep(out, p);
}

void CreaturePainter::sentinel(DatafileWriter& out, const TrueTypeFont&)
{
    // A carved stone head in profile on a plinth: its one eye and its jaw
    // face right, the way it watches and fires.
    BITMAP* p = Brush::picture(80, 100);
    BITMAP* part = Brush::picture(80, 100);
    Rgb stone(150, 160, 140);
    Brush::rectangle(part, 6, 84, 74, 97, stone.darker(0.3f));
    Brush::rectangle(part, 10, 80, 70, 86, stone.darker(0.15f));
    // Head block with a jutting brow and nose on the right.
    Brush::roundedRectangle(part, 12, 10, 64, 80, 8, stone);
    Brush::polygon(part, { 56, 24, 74, 26, 72, 34, 60, 36 }, stone.lighter(0.05f));
    Brush::polygon(part, { 60, 40, 74, 54, 62, 56 }, stone.darker(0.05f));
    Brush::polygon(part, { 58, 62, 72, 64, 70, 76, 56, 78 }, stone.darker(0.1f));
    Random random("sentinel");
    Brush::texture(part, random, 600, 0.18f);
    Brush::shadeRows(part, 10, 99, 0.35f);
    Brush::outline(part, INK);
    Brush::stamp(p, part);
    // Carvings: the ear spiral, the glowing eye, the slot of the mouth.
    Brush::ring(p, 28, 42, 7, 2, stone.darker(0.45f));
    Brush::ring(p, 28, 42, 3, 1.5f, stone.darker(0.45f));
    Brush::ellipse(p, 58, 40, 8, 5, Rgb(40, 15, 15));
    Brush::halo(p, 61, 40, 9, Rgb(255, 80, 40), 0.9f);
    Brush::ellipse(p, 61, 40, 4, 3, Rgb(255, 90, 50));
    Brush::disc(p, 62, 39, 1.5f, WHITE);
    Brush::thickLine(p, 50, 68, 70, 68, 3, Rgb(40, 30, 30));
    for (int k = 0; k < 3; ++k) {
        Brush::thickLine(p, 20.0f + k * 12, 14, 20.0f + k * 12, 78, 1.0f, stone.darker(0.3f));
    }
    // Moss on the crown.
    for (int x = 14; x < 62; x += 3) {
        Brush::disc(p, static_cast<float>(x), 12.0f + (x % 5), 3, Rgb(80, 150, 80));
    }
    Brush::keep(out, p);
    BITMAP* laser = Brush::picture(56, 24);
    Brush::halo(laser, 28, 12, 26, Rgb(255, 60, 40), 1.0f);
    Brush::roundedRectangle(laser, 4, 9, 51, 14, 2, Rgb(255, 90, 60));
    Brush::rectangle(laser, 6, 11, 49, 12, Rgb(255, 230, 200));
    Brush::keep(out, laser);
}

namespace {

void gullBody(
    BITMAP* p, float cx, float cy, float s, const Rgb& back, const Rgb& wingTip, float lift, bool boss)
{
    wing(p, cx + 6 * s, cy - 6 * s, 60 * s, lift * 0.8f, back.darker(0.25f), wingTip, true);
    BITMAP* body = Brush::picture(p->w, p->h);
    Brush::polygon(body, { cx + 28 * s, cy - 2 * s, cx + 50 * s, cy - 8 * s, cx + 48 * s, cy + 6 * s },
        back.lighter(0.3f));
    Brush::Shading feathers { back, Rgb(250, 250, 250), 0.3f, 0.6f };
    Brush::blob(body, cx, cy, 26 * s, 30 * s, 12 * s, 12 * s, 0.05f, feathers);
    Brush::blob(body, cx - 26 * s, cy - 10 * s, 11 * s, 11 * s, 10 * s, 10 * s, 0,
        Brush::Shading { Rgb(250, 250, 250), Rgb(230, 230, 230), 0.3f, 0.6f });
    // Beak pointing left.
    Brush::polygon(body, { cx - 34 * s, cy - 12 * s, cx - 52 * s, cy - 7 * s, cx - 34 * s, cy - 4 * s },
        Rgb(250, 190, 40));
    Brush::disc(body, cx - 49 * s, cy - 6 * s, 2 * s, Rgb(220, 40, 30));
    Brush::outline(body, INK);
    Brush::stamp(p, body);
    Brush::eye(
        p, cx - 27 * s, cy - 13 * s, 3.5f * s, -0.5f, 0, 0.0f, boss ? Rgb(220, 20, 20) : Rgb(20, 20, 30));
    if (boss) {
        Brush::thickLine(p, cx - 34 * s, cy - 19 * s, cx - 20 * s, cy - 15 * s, 3 * s, INK);
        // A tuft crest.
        Brush::polygon(p, { cx - 24 * s, cy - 19 * s, cx - 14 * s, cy - 34 * s, cx - 16 * s, cy - 18 * s },
            Rgb(90, 60, 120));
        Brush::polygon(p, { cx - 20 * s, cy - 19 * s, cx - 4 * s, cy - 30 * s, cx - 12 * s, cy - 16 * s },
            Rgb(110, 70, 140));
    }
    wing(p, cx - 2 * s, cy - 4 * s, 64 * s, lift, back, wingTip, true);
}

void diveBody(BITMAP* p, float cx, float cy, float s, const Rgb& back, const Rgb& tip, bool boss)
{
    // Head down, wings folded back along the body.
    BITMAP* body = Brush::picture(p->w, p->h);
    Brush::Shading feathers { back, Rgb(250, 250, 250), 0.3f, 0.6f };
    Brush::blob(body, cx, cy, 12 * s, 12 * s, 34 * s, 30 * s, 0, feathers);
    Brush::polygon(body, { cx - 10 * s, cy - 20 * s, cx - 2 * s, cy - 56 * s, cx + 4 * s, cy - 18 * s },
        back.darker(0.2f));
    Brush::polygon(
        body, { cx + 10 * s, cy - 20 * s, cx + 14 * s, cy - 54 * s, cx + 2 * s, cy - 18 * s }, tip);
    Brush::polygon(
        body, { cx - 5 * s, cy + 30 * s, cx, cy + 50 * s, cx + 5 * s, cy + 30 * s }, Rgb(250, 190, 40));
    Brush::outline(body, INK);
    Brush::stamp(p, body);
    Brush::eye(
        p, cx - 5 * s, cy + 16 * s, 3.5f * s, 0, 0.6f, 0.0f, boss ? Rgb(220, 20, 20) : Rgb(20, 20, 30));
    Brush::eye(
        p, cx + 5 * s, cy + 16 * s, 3.5f * s, 0, 0.6f, 0.0f, boss ? Rgb(220, 20, 20) : Rgb(20, 20, 30));
}

} // namespace

void CreaturePainter::seagull(DatafileWriter& out, const TrueTypeFont&)
{
    DatafileWriter& fly = out.addNested("FLY");
    for (int i = 0; i <= 20; ++i) {
        float lift = std::cos(PI * i / 20.0f);
        BITMAP* p = Brush::picture(140, 150);
        gullBody(p, 70, 78, 1.0f, Rgb(180, 190, 200), Rgb(40, 40, 50), lift, false);
        Brush::keep(fly, p);
    }
    DatafileWriter& dive = out.addNested("DIVE");
    BITMAP* p = Brush::picture(70, 130);
    diveBody(p, 35, 68, 1.0f, Rgb(180, 190, 200), Rgb(40, 40, 50), false);
    Brush::keep(dive, p);
}

void CreaturePainter::shark(DatafileWriter& out, const TrueTypeFont&)
{
    FishPainter::Look look;
    look.length = 176;
    look.height = 54;
    look.noseShape = 0.42f;
    look.snout = 14;
    look.back = Rgb(100, 115, 135);
    look.belly = Rgb(230, 232, 236);
    look.fin = Rgb(90, 104, 124);
    look.tail = FishPainter::Tail::Crescent;
    look.tailSize = 40;
    look.dorsal = 34;
    look.pectoral = 20;
    look.eye = 6;
    look.eyeForward = 0.68f;
    look.angryBrow = true;
    look.teeth = true;
    look.mouth = 26;
    for (int i = 0; i <= 20; ++i) {
        float a = cycle(i, 20);
        BITMAP* p = FishPainter::frame(look, std::sin(a), std::sin(a + 0.8f), 260, 150);
        // Gill slits.
        float cx = 130 - look.tailSize * 0.45f;
        for (int k = 0; k < 3; ++k) {
            Brush::thickLine(p, cx - 30 + k * 6.0f, 63, cx - 33 + k * 6.0f, 81, 1.5f, look.back.darker(0.4f));
        }
        Brush::keep(out, p);
    }
}

void CreaturePainter::cannon(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(110, 80);
    BITMAP* barrel = Brush::picture(110, 80);
    Brush::Shading iron { Rgb(90, 90, 105), Rgb(30, 30, 40), 0.7f, 0.5f };
    Brush::blob(barrel, 60, 36, 46, 30, 16, 16, 0, iron);
    Brush::blob(barrel, 14, 36, 6, 6, 17, 17, 0, iron); // muzzle rim on the left
    Brush::ellipse(barrel, 10, 36, 3, 10, Rgb(10, 10, 10));
    Brush::outline(barrel, INK);
    Brush::stamp(p, barrel);
    BITMAP* cart = Brush::picture(110, 80);
    Brush::polygon(cart, { 36, 50, 100, 50, 96, 66, 40, 66 }, Rgb(140, 90, 50));
    Brush::outline(cart, INK);
    Brush::stamp(p, cart);
    BITMAP* wheel = Brush::picture(110, 80);
    Brush::disc(wheel, 56, 64, 13, Rgb(110, 70, 40));
    Brush::disc(wheel, 86, 64, 13, Rgb(110, 70, 40));
    Brush::outline(wheel, INK);
    Brush::stamp(p, wheel);
    for (float wx : { 56.0f, 86.0f }) {
        Brush::disc(p, wx, 64, 4, Rgb(60, 40, 20));
        for (int k = 0; k < 4; ++k) {
            float a = k * PI / 4;
            Brush::thickLine(p, wx - std::cos(a) * 11, 64 - std::sin(a) * 11, wx + std::cos(a) * 11,
                64 + std::sin(a) * 11, 2, Rgb(70, 45, 25));
        }
    }
    Brush::keep(out, p);
}

void CreaturePainter::cannonBall(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* ball = Brush::picture(28, 28);
    BITMAP* part = Brush::picture(28, 28);
    Brush::blob(
        part, 14, 14, 11, 11, 11, 11, 0, Brush::Shading { Rgb(100, 100, 115), Rgb(20, 20, 30), 0.9f, 0.45f });
    Brush::outline(part, INK);
    Brush::stamp(ball, part);
    Brush::keep(out, ball);
    BITMAP* smoke = Brush::picture(70, 56);
    Random random("smoke");
    for (int k = 0; k < 9; ++k) {
        float x = random.between(16, 54), y = random.between(16, 40), r = random.between(9, 15);
        Brush::blob(smoke, x, y, r, r, r, r, 0,
            Brush::Shading { Rgb(235, 235, 240), Rgb(150, 150, 165), 0.1f, 0.7f });
    }
    Brush::outline(smoke, Rgb(90, 90, 100));
    Brush::keep(out, smoke);
}

void CreaturePainter::clam(DatafileWriter& out, const TrueTypeFont&)
{
    for (int i = 0; i <= 10; ++i) {
        float open = i / 10.0f * 0.75f;
        BITMAP* p = Brush::picture(110, 110);
        float hx = 92, hy = 76; // the hinge, at the back
        Brush::Shading shell { Rgb(170, 140, 200), Rgb(90, 60, 120), 0.5f, 0.55f };
        // Pink inside shows as it opens.
        BITMAP* inside = Brush::picture(110, 110);
        Brush::blob(inside, 52, hy, 42, 8, 6 + 28 * open, 4, 0,
            Brush::Shading { Rgb(255, 190, 200), Rgb(220, 120, 150), 0.3f, 0.7f });
        Brush::outline(inside, INK);
        Brush::stamp(p, inside);
        BITMAP* lower = Brush::picture(110, 110);
        Brush::blob(lower, 52, hy, 46, 42, 4, 22, 0, shell);
        for (int k = 0; k < 6; ++k) {
            Brush::thickLine(lower, hx, hy + 4, 12.0f + k * 14, hy + 14 + (k % 2) * 3, 1.5f, shell.bottom);
        }
        Brush::outline(lower, INK);
        Brush::stamp(p, lower);
        BITMAP* upper = Brush::picture(110, 110);
        Brush::blob(upper, 52, hy, 46, 42, 24, 4, 0, shell);
        for (int k = 0; k < 6; ++k) {
            Brush::thickLine(upper, hx, hy - 4, 12.0f + k * 14, hy - 16 - (k % 2) * 3, 1.5f, shell.bottom);
        }
        Brush::outline(upper, INK);
        // The upper shell swings up about the hinge.
        BITMAP* turned = Brush::picture(110, 110);
        pivot_sprite(turned, upper, static_cast<int>(hx), static_cast<int>(hy), static_cast<int>(hx),
            static_cast<int>(hy), ftofix(open * 128.0f / PI));
        destroy_bitmap(upper);
        Brush::stamp(p, turned);
        Brush::keep(out, p);
    }
}

void CreaturePainter::sleepyFish(DatafileWriter& out, const TrueTypeFont& text)
{
    FishPainter::Look look;
    look.length = 70;
    look.height = 48;
    look.back = Rgb(110, 90, 190);
    look.belly = Rgb(200, 190, 240);
    look.fin = Rgb(140, 110, 220);
    look.tail = FishPainter::Tail::Round;
    look.tailSize = 20;
    look.dorsal = 10;
    look.eye = 9;
    look.eyeLid = 0.65f;
    look.mouth = 6;
    look.stripes = 3;
    look.stripe = Rgb(160, 140, 230);
    BITMAP* rest = FishPainter::frame(look, 0.1f, 0.0f, 120, 90);
    text.draw(rest, "z", 22, 16, 14, WHITE, Rgb(200, 220, 255), INK, 2);
    text.draw(rest, "Z", 10, 6, 10, WHITE, Rgb(200, 220, 255), INK, 1);
    Brush::keep(out, rest);
    look.eyeLid = 0.0f;
    look.angryBrow = true;
    look.teeth = true;
    look.mouth = 10;
    BITMAP* dash = FishPainter::frame(look, 0.9f, -0.8f, 120, 90, 0.05f);
    for (int k = 0; k < 3; ++k) {
        Brush::thickLine(dash, 104, 30.0f + k * 15, 115, 30.0f + k * 15, 2, WHITE);
    }
    Brush::keep(out, dash);
}

void CreaturePainter::gust(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(96, 96);
    for (int k = 0; k < 3; ++k) {
        std::vector<float> pts;
        for (int j = 0; j <= 14; ++j) {
            float a = j * 0.45f + k * 2.1f;
            float r = 8 + j * 2.4f;
            pts.push_back(48 + std::cos(a) * r);
            pts.push_back(48 + std::sin(a) * r * 0.8f);
        }
        Brush::stroke(p, pts, 2, 7, Rgb(120, 160, 220));
        Brush::stroke(p, pts, 1, 4, Rgb(230, 245, 255));
    }
    Brush::keep(out, p);
}

void CreaturePainter::inkBlot(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(44, 44);
    BITMAP* part = Brush::picture(44, 44);
    Random random("ink");
    Brush::Shading ink { Rgb(70, 40, 90), Rgb(20, 10, 30), 0.8f, 0.5f };
    Brush::blob(part, 22, 22, 13, 13, 13, 13, 0, ink);
    for (int k = 0; k < 7; ++k) {
        float a = k * 2 * PI / 7 + random.between(0, 0.4f);
        float r = random.between(13, 18);
        Brush::blob(part, 22 + std::cos(a) * r, 22 + std::sin(a) * r, 4, 4, 4, 4, 0, ink);
    }
    Brush::outline(part, Rgb(10, 5, 15));
    Brush::stamp(p, part);
    Brush::keep(out, p);
}

void CreaturePainter::leviathan(DatafileWriter& out, const TrueTypeFont&)
{
    // A sea serpent rising from the lower left, head at the upper right
    // where its shots start; "break" opens the jaws.
    const int W = 460, H = 460;
    for (int i = 0; i <= 10; ++i) {
        float jaw = i / 10.0f;
        BITMAP* p = Brush::picture(W, H);
        std::vector<float> spine
            = { 70, 430, 90, 380, 150, 350, 190, 290, 150, 220, 170, 150, 250, 100, 330, 80 };
        BITMAP* body = Brush::picture(W, H);
        // Back fin along the spine.
        for (size_t k = 2; k + 2 < spine.size(); k += 2) {
            Brush::polygon(body,
                { spine[k] - 14, spine[k + 1], spine[k] - 6, spine[k + 1] - 40, spine[k] + 14, spine[k + 1] },
                Rgb(40, 140, 120));
        }
        Brush::stroke(body, { 70, 430, 90, 380, 150, 350 }, 14, 66, Rgb(30, 90, 110));
        Brush::stroke(body, std::vector<float>(spine.begin() + 4, spine.end()), 66, 46, Rgb(30, 90, 110));
        std::vector<float> belly(spine.begin() + 4, spine.end());
        for (size_t k = 0; k < belly.size(); k += 2) {
            belly[k] += 14;
            belly[k + 1] += 8;
        }
        Brush::stroke(body, belly, 36, 22, Rgb(160, 200, 150));
        Random random("leviathan scales");
        Brush::texture(body, random, 3000, 0.2f);
        Brush::outline(body, INK);
        Brush::stamp(p, body);
        BITMAP* head = Brush::picture(W, H);
        float hx = 360, hy = 96;
        Brush::Shading skin { Rgb(50, 120, 130), Rgb(150, 200, 150), 0.4f, 0.55f };
        // Lower jaw swings down.
        Brush::blob(head, hx + 26, hy + 22 + jaw * 30, 60, 30, 10, 14, 0.2f + jaw * 0.35f, skin);
        Brush::blob(head, hx, hy - 4, 50, 70, 38, 26, -0.1f, skin);
        Brush::outline(head, INK);
        Brush::stamp(p, head);
        // Mouth and fangs.
        if (jaw > 0.05f) {
            Brush::polygon(p,
                { hx - 10, hy + 16, hx + 80, hy + 8, hx + 70, hy + 20 + jaw * 40, hx - 6, hy + 26 },
                Rgb(110, 20, 40));
            Brush::halo(p, hx + 40, hy + 22 + jaw * 10, 20 + jaw * 12, Rgb(255, 160, 255), 0.8f * jaw);
        }
        for (int k = 0; k < 5; ++k) {
            float tx = hx + 6 + k * 14.0f;
            Brush::polygon(p, { tx, hy + 12, tx + 4, hy + 24, tx + 8, hy + 12 }, WHITE);
        }
        Brush::eye(p, hx + 10, hy - 18, 10, 0.6f, 0.0f, 0.2f, Rgb(230, 200, 30));
        Brush::thickLine(p, hx - 6, hy - 34, hx + 26, hy - 24, 4, INK);
        // Horns.
        Brush::polygon(p, { hx - 30, hy - 28, hx - 60, hy - 70, hx - 16, hy - 36 }, Rgb(220, 210, 180));
        Brush::polygon(p, { hx - 10, hy - 34, hx - 20, hy - 84, hx + 4, hy - 38 }, Rgb(220, 210, 180));
        Brush::keep(out, p);
    }
}

void CreaturePainter::leviathanShot(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(44, 44);
    Brush::halo(p, 22, 22, 22, Rgb(220, 80, 255), 1.8f);
    Brush::disc(p, 22, 22, 10, Rgb(240, 120, 255));
    Brush::disc(p, 22, 22, 6, Rgb(255, 220, 255));
    Brush::disc(p, 19, 19, 3, WHITE);
    Brush::keep(out, p);
}

void CreaturePainter::swordfish(DatafileWriter& out, const TrueTypeFont&)
{
    FishPainter::Look look;
    look.length = 130;
    look.height = 52;
    look.noseShape = 0.4f;
    look.back = Rgb(40, 70, 160);
    look.belly = Rgb(200, 220, 240);
    look.fin = Rgb(50, 90, 190);
    look.stripe = Rgb(120, 170, 240);
    look.stripes = 4;
    look.stripeWidth = 4;
    look.tail = FishPainter::Tail::Crescent;
    look.tailSize = 34;
    look.dorsal = 36;
    look.eye = 7;
    look.eyeForward = 0.6f;
    look.angryBrow = true;
    look.grin = true;
    look.mouth = 10;
    const int W = 340, H = 140;
    for (int i = 0; i <= 30; ++i) {
        // Draws back (1-14), thrusts the sword (15-20), recovers.
        float pull = 0, thrust = 0;
        if (i >= 1 && i <= 14) {
            pull = std::sin(i / 14.0f * PI * 0.5f);
        } else if (i >= 15 && i <= 20) {
            thrust = 1.0f;
            pull = -0.2f;
        } else if (i > 20) {
            pull = -0.2f * (1.0f - (i - 20) / 10.0f);
            thrust = 1.0f - (i - 20) / 10.0f;
        }
        float cx = 200 + pull * 24 - thrust * 20;
        float cy = 72;
        BITMAP* p = Brush::picture(W, H);
        float front = look.length * look.noseShape;
        float tip = cx - front - 70 - thrust * 30;
        BITMAP* sword = Brush::picture(W, H);
        Brush::polygon(
            sword, { cx - front + 6, cy - 4, tip, cy + 2, cx - front + 6, cy + 8 }, Rgb(210, 215, 230));
        Brush::outline(sword, INK);
        Brush::stamp(p, sword);
        FishPainter::draw(
            p, cx, cy, look, std::sin(i * 0.4f) * 0.5f, thrust > 0 ? 1.0f : std::sin(i * 0.3f), 0);
        if (thrust >= 1.0f) {
            Brush::halo(p, tip + 6, cy + 2, 14, Rgb(255, 255, 200), 1.0f);
            for (int k = 0; k < 3; ++k) {
                Brush::thickLine(p, cx + 60 + k * 12.0f, cy - 20 + k * 20, cx + 86 + k * 12.0f,
                    cy - 20 + k * 20, 2, WHITE);
            }
        }
        Brush::keep(out, p);
    }
}

void CreaturePainter::bigBossBird(DatafileWriter& out, const TrueTypeFont&)
{
    DatafileWriter& fly = out.addNested("FLY");
    for (int i = 0; i <= 9; ++i) {
        float lift = std::cos(PI * i / 9.0f);
        BITMAP* p = Brush::picture(300, 300);
        gullBody(p, 150, 154, 2.0f, Rgb(110, 90, 140), Rgb(30, 20, 40), lift, true);
        Brush::keep(fly, p);
    }
    DatafileWriter& dive = out.addNested("DIVE");
    BITMAP* p = Brush::picture(130, 250);
    diveBody(p, 65, 128, 2.0f, Rgb(110, 90, 140), Rgb(30, 20, 40), true);
    Brush::keep(dive, p);
}

void CreaturePainter::squid(DatafileWriter& out, const TrueTypeFont&)
{
    BITMAP* p = Brush::picture(170, 250);
    float cx = 85;
    Rgb skin(200, 80, 140);
    for (int k = 0; k < 8; ++k) {
        float x = cx - 42 + k * 12.0f;
        tentacle(p, x, 130, 76 + (k % 3) * 10.0f, k * 0.9f, 9, skin.darker(0.15f));
    }
    Brush::outline(p, INK);
    BITMAP* body = Brush::picture(170, 250);
    Brush::Shading mantle { Rgb(230, 110, 170), Rgb(160, 50, 110), 0.5f, 0.55f };
    Brush::polygon(body, { cx - 40, 40, cx, 5, cx + 40, 40 }, skin.darker(0.1f));
    Brush::blob(body, cx, 80, 46, 46, 64, 56, 0, mantle);
    Random random("squid");
    for (int k = 0; k < 18; ++k) {
        Brush::disc(body, random.between(cx - 34, cx + 34), random.between(40, 110), random.between(2, 4),
            Rgb(250, 170, 210));
    }
    Brush::outline(body, INK);
    Brush::stamp(p, body);
    Brush::eye(p, cx - 20, 112, 13, -0.2f, 0.5f, 0.25f);
    Brush::eye(p, cx + 20, 112, 13, -0.2f, 0.5f, 0.25f);
    Brush::thickLine(p, cx - 36, 94, cx - 8, 104, 4, INK);
    Brush::thickLine(p, cx + 36, 94, cx + 8, 104, 4, INK);
    Brush::keep(out, p);
}

void CreaturePainter::bigShark(DatafileWriter& out, const TrueTypeFont&)
{
    const int W = 660, H = 370;
    for (int mode = 0; mode < 3; ++mode) {
        FishPainter::Look look;
        look.length = 470;
        look.height = 176;
        look.noseShape = 0.4f;
        look.snout = 30;
        look.back = Rgb(80, 90, 110);
        look.belly = Rgb(225, 228, 232);
        look.fin = Rgb(70, 80, 100);
        look.tail = FishPainter::Tail::Crescent;
        look.tailSize = 90;
        look.dorsal = 80;
        look.pectoral = 50;
        look.eye = 16;
        look.eyeForward = 0.7f;
        look.angryBrow = mode != 2;
        look.mouth = 0;
        BITMAP* p = Brush::picture(W, H);
        float cx = 320, cy = 192;
        FishPainter::draw(p, cx, cy, look, 0.2f, 0.3f, 0);
        float front = look.length * look.noseShape;
        float mx = cx - front * 0.95f, my = cy + 30;
        float gape = mode == 1 ? 70.0f : 16.0f;
        // The jaws, on the left.
        Brush::polygon(
            p, { mx, my - gape * 0.5f, mx + 170, my, mx + 10, my + gape * 0.5f + 10 }, Rgb(90, 20, 30));
        for (int k = 0; k < 9; ++k) {
            float t = k / 9.0f;
            float x = mx + 6 + t * 150;
            float upper = my - gape * 0.5f * (1 - t) - 2;
            float lower = my + (gape * 0.5f + 10) * (1 - t) + 2;
            Brush::polygon(p, { x, upper, x + 7, upper + 14, x + 14, upper + 2 }, WHITE);
            Brush::polygon(p, { x, lower, x + 7, lower - 14, x + 14, lower - 2 }, WHITE);
        }
        for (int k = 0; k < 4; ++k) {
            Brush::thickLine(
                p, cx - 90 + k * 14.0f, cy - 20, cx - 96 + k * 14.0f, cy + 40, 3, look.back.darker(0.4f));
        }
        if (mode == 2) {
            // Dazed: crossed-out eye and stars.
            float ex = cx - front * look.eyeForward, ey = cy - look.height * 0.5f * 0.28f;
            Brush::disc(p, ex, ey, 17, look.back);
            Brush::thickLine(p, ex - 12, ey - 12, ex + 12, ey + 12, 5, INK);
            Brush::thickLine(p, ex - 12, ey + 12, ex + 12, ey - 12, 5, INK);
            for (int k = 0; k < 3; ++k) {
                float sx = ex - 30 + k * 30.0f, sy = ey - 70 + (k % 2) * 14.0f;
                Brush::polygon(p,
                    { sx, sy - 10, sx + 3, sy - 3, sx + 10, sy, sx + 3, sy + 3, sx, sy + 10, sx - 3, sy + 3,
                        sx - 10, sy, sx - 3, sy - 3 },
                    Rgb(255, 240, 90));
            }
        }
        Brush::keep(out, p);
    }
}

void CreaturePainter::danceFish(DatafileWriter& out, const TrueTypeFont&)
{
    FishPainter::Look look;
    look.length = 64;
    look.height = 48;
    look.back = Rgb(240, 80, 160);
    look.belly = Rgb(255, 200, 230);
    look.fin = Rgb(120, 200, 250);
    look.stripe = Rgb(255, 240, 120);
    look.stripes = 3;
    look.stripeWidth = 4;
    look.tail = FishPainter::Tail::Fan;
    look.tailSize = 28;
    look.dorsal = 24;
    look.pectoral = 14;
    look.eye = 9;
    look.mouth = 8;
    look.grin = true;
    const int W = 130, H = 112;
    BITMAP* p = FishPainter::frame(look, 0.5f, 0.8f, W, H);
    // Eyelashes and a little top hat make it a show fish.
    float cx = W * 0.5f - look.tailSize * 0.45f, cy = H * 0.5f;
    float ex = cx - look.length * look.noseShape * look.eyeForward, ey = cy - look.height * 0.5f * 0.28f;
    for (int k = 0; k < 3; ++k) {
        Brush::thickLine(p, ex - 6 + k * 5.0f, ey - 9, ex - 8 + k * 5.0f, ey - 15, 1.5f, INK);
    }
    BITMAP* hat = Brush::picture(W, H);
    int brim = static_cast<int>(cy - look.height * 0.5f + 2);
    Brush::rectangle(
        hat, static_cast<int>(cx - 8), brim - 20, static_cast<int>(cx + 12), brim, Rgb(40, 30, 60));
    Brush::rectangle(
        hat, static_cast<int>(cx - 14), brim - 2, static_cast<int>(cx + 18), brim + 2, Rgb(40, 30, 60));
    Brush::rectangle(
        hat, static_cast<int>(cx - 8), brim - 6, static_cast<int>(cx + 12), brim - 3, Rgb(250, 210, 60));
    Brush::outline(hat, INK);
    Brush::stamp(p, hat);
    Brush::keep(out, p);
}
