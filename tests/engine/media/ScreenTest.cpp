#include "engine/media/Screen.h"
#include "engine/media/Sprite.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A square marker that records where and in which pass it was drawn.
class MarkerSprite : public Sprite {
public:
    explicit MarkerSprite(int size = 10)
        : size(size)
    {
    }

    void updateBounds() override
    {
        left = static_cast<int>(x);
        top = static_cast<int>(y - z);
        right = left + size;
        bottom = top + size;
    }
    void draw(BITMAP*) override
    {
        draws.push_back({ x, y, z, pass });
        Sprite::draw(nullptr);
    }
    void update(float dt) override { steps.push_back(dt); }

    struct Draw {
        float x, y, z;
        int pass;
    };
    int size;
    std::vector<Draw> draws;
    std::vector<float> steps;
};

std::vector<int> order(const Layer& layer, const std::vector<MarkerSprite*>& all)
{
    std::vector<int> ids;
    for (Sprite* sprite : layer.sprites) {
        for (size_t i = 0; i < all.size(); ++i) {
            if (all[i] == sprite) {
                ids.push_back(static_cast<int>(i));
            }
        }
    }
    return ids;
}

} // namespace

TEST(Screen, MemoryScreenHasBuffersAndOneLayer)
{
    Screen screen(320, 200, false, true);
    EXPECT_EQ(Screen::instance(), &screen);
    ASSERT_NE(screen.backBuffer, nullptr);
    ASSERT_NE(screen.snapshot, nullptr);
    EXPECT_EQ(screen.backBuffer->w, 320);
    EXPECT_EQ(screen.snapshot->h, 200);
    EXPECT_EQ(screen.layers.size(), 1u);
    EXPECT_EQ(screen.displayWidth, 0); // no graphics driver in tests
}

TEST(Screen, AddAndRemoveRespectTheLayerRange)
{
    Screen screen(64, 64, false, true);
    screen.layers.resize(2);
    MarkerSprite a, b;
    EXPECT_TRUE(screen.isValidLayer(1));
    EXPECT_FALSE(screen.isValidLayer(2));
    EXPECT_FALSE(screen.isValidLayer(-1));

    screen.addSprite(&a, 1);
    screen.addSprite(&b, 1);
    screen.addSprite(&a, 1);
    screen.addSprite(&b, 5); // reported, not added
    EXPECT_EQ(screen.layers[1].sprites, (std::vector<Sprite*> { &a, &b, &a }));

    screen.removeSprite(&a, 1); // first occurrence only
    EXPECT_EQ(screen.layers[1].sprites, (std::vector<Sprite*> { &b, &a }));
    screen.removeSprite(&a, -1);
    EXPECT_EQ(screen.layers[1].sprites.size(), 2u);
}

TEST(Screen, SortingIsStableAndPersistsAcrossFrames)
{
    Screen screen(200, 200, false, true);
    std::vector<MarkerSprite*> all;
    MarkerSprite s0, s1, s2, s3, s4;
    all = { &s0, &s1, &s2, &s3, &s4 };
    const float ys[] = { 50, 10, 50, 30, 10 };
    for (size_t i = 0; i < all.size(); ++i) {
        all[i]->y = ys[i];
        screen.addSprite(all[i], 0);
    }
    screen.render();
    // Ascending depth; equal keys keep their insertion order.
    EXPECT_EQ(order(screen.layers[0], all), (std::vector<int> { 1, 4, 3, 0, 2 }));

    // Equal keys again: the order of the last frame is kept, not the original.
    s1.y = 10;
    s4.y = 10;
    s0.y = 20;
    s2.y = 20;
    s3.y = 20;
    screen.render();
    EXPECT_EQ(order(screen.layers[0], all), (std::vector<int> { 1, 4, 3, 0, 2 }));

    // depthBias and height both count in the key.
    s1.depthBias = 100;
    s4.z = 5;
    screen.render();
    EXPECT_EQ(order(screen.layers[0], all), (std::vector<int> { 4, 3, 0, 2, 1 }));
}

TEST(Screen, CullingUsesPositionAndAllFourCorners)
{
    Screen screen(100, 100, false, true);
    MarkerSprite offLeft(20), offAbove(20), straddling(20), far(20), edge(20);
    offLeft.x = -30; // right edge at -10: wholly off
    offLeft.y = 10;
    offAbove.x = 10;
    offAbove.y = -21;
    straddling.x = -15; // position off screen, right corners on screen
    straddling.y = 50;
    far.x = 500;
    far.y = 500;
    edge.x = 100; // the screen edges count as on screen
    edge.y = 100;
    for (MarkerSprite* sprite : { &offLeft, &offAbove, &straddling, &far, &edge }) {
        screen.addSprite(sprite, 0);
    }
    screen.render();
    EXPECT_TRUE(offLeft.draws.empty());
    EXPECT_TRUE(offAbove.draws.empty());
    EXPECT_EQ(straddling.draws.size(), 1u);
    EXPECT_TRUE(far.draws.empty());
    EXPECT_EQ(edge.draws.size(), 1u);

    // An uncullable sprite, or a layer without culling, draws everything.
    far.cullable = false;
    screen.render();
    EXPECT_EQ(far.draws.size(), 1u);
    screen.layers[0].cull = false;
    screen.render();
    EXPECT_EQ(offLeft.draws.size(), 1u);
    EXPECT_EQ(offAbove.draws.size(), 1u);
}

TEST(Screen, CullingFollowsTheLayerScroll)
{
    Screen screen(100, 100, false, true);
    MarkerSprite sprite(10);
    sprite.x = 250;
    sprite.y = 20;
    screen.addSprite(&sprite, 0);
    screen.render();
    EXPECT_TRUE(sprite.draws.empty());
    screen.layers[0].scrollX = -200;
    screen.render();
    ASSERT_EQ(sprite.draws.size(), 1u);
    EXPECT_EQ(sprite.draws[0].x, 50.0f);
}

TEST(Screen, DrawingShiftsBySrollAndRestoresThePosition)
{
    Screen screen(100, 100, false, true);
    screen.layers[0].cull = false;
    screen.layers[0].scrollX = 7;
    screen.layers[0].scrollY = -3;
    MarkerSprite sprite;
    sprite.x = 10.5f;
    sprite.y = 20.25f;
    sprite.z = 4.0f;
    screen.addSprite(&sprite, 0);
    screen.render();
    ASSERT_EQ(sprite.draws.size(), 1u);
    EXPECT_EQ(sprite.draws[0].x, 17.5f);
    EXPECT_EQ(sprite.draws[0].y, 17.25f);
    EXPECT_EQ(sprite.draws[0].z, 4.0f);
    EXPECT_EQ(sprite.x, 10.5f);
    EXPECT_EQ(sprite.y, 20.25f);
    EXPECT_EQ(sprite.z, 4.0f);
}

TEST(Screen, HiddenLayersAndPasses)
{
    Screen screen(100, 100, false, true);
    screen.layers.resize(2);
    MarkerSprite plain, shown, multi;
    shown.drawOnHiddenLayer = true;
    screen.addSprite(&plain, 0);
    screen.addSprite(&shown, 0);
    screen.addSprite(&multi, 1);
    screen.layers[0].visible = false;
    screen.layers[1].passes = 3;
    screen.render();
    EXPECT_TRUE(plain.draws.empty());
    EXPECT_EQ(shown.draws.size(), 1u);
    ASSERT_EQ(multi.draws.size(), 3u);
    EXPECT_EQ(multi.draws[0].pass, 0);
    EXPECT_EQ(multi.draws[1].pass, 1);
    EXPECT_EQ(multi.draws[2].pass, 2);
    EXPECT_EQ(multi.pass, 0);

    screen.layers[1].passes = 0;
    screen.render();
    EXPECT_EQ(multi.draws.size(), 3u);
}

TEST(Screen, CameraCentresTheTargetOnFollowingLayersOnly)
{
    Screen screen(200, 100, false, true);
    screen.layers.resize(3);
    screen.layers[0].followCamera = false;
    screen.centreX = 100;
    screen.centreY = 50;
    screen.offsetX = 5;
    screen.offsetY = -5;
    MarkerSprite target;
    target.x = 300.7f;
    target.y = 120.2f;
    target.offsetX = 2;
    target.offsetY = 1;
    target.z = 40; // the height is not taken off for the camera
    screen.setCameraTarget(&target);
    screen.render();
    EXPECT_EQ(screen.layers[0].scrollX, 0);
    EXPECT_EQ(screen.layers[1].scrollX, 100 - 302 + 5);
    EXPECT_EQ(screen.layers[1].scrollY, 50 - 121 - 5);
    EXPECT_EQ(screen.layers[2].cameraX, screen.layers[2].scrollX);
    EXPECT_EQ(screen.layers[2].cameraY, screen.layers[2].scrollY);

    // Locked axes are left alone.
    screen.lockX = true;
    screen.layers[1].scrollX = 42;
    target.y = 0;
    screen.render();
    EXPECT_EQ(screen.layers[1].scrollX, 42);
    EXPECT_EQ(screen.layers[1].scrollY, 50 - 1 - 5);
}

TEST(Screen, CameraLimitsClampUnlessTheyAreTheNoLimitValue)
{
    Screen screen(200, 100, false, true);
    screen.centreX = 100;
    screen.centreY = 50;
    MarkerSprite target;
    screen.setCameraTarget(&target);

    // Near the world's top-left corner the scroll would be positive.
    target.x = 10;
    target.y = 10;
    screen.render();
    EXPECT_EQ(screen.layers[0].scrollX, 90);
    EXPECT_EQ(screen.layers[0].scrollY, 40);
    screen.maxScrollX = 0;
    screen.maxScrollY = 0;
    screen.render();
    EXPECT_EQ(screen.layers[0].scrollX, 0);
    EXPECT_EQ(screen.layers[0].scrollY, 0);

    // Far right and down: the view may not pass the world's right and bottom.
    target.x = 5000;
    target.y = 5000;
    screen.render();
    EXPECT_EQ(screen.layers[0].scrollX, 100 - 5000);
    screen.minViewRight = 1000;
    screen.minViewBottom = 0; // zero is a real limit
    screen.render();
    EXPECT_EQ(screen.layers[0].scrollX, 200 - 1000);
    EXPECT_EQ(screen.layers[0].scrollY, 100);
}

TEST(Screen, ClearingTheCameraTargetZeroesEveryLayer)
{
    Screen screen(100, 100, false, true);
    screen.layers.resize(5);
    screen.layers[0].followCamera = false;
    for (Layer& layer : screen.layers) {
        layer.scrollX = 13;
        layer.scrollY = -8;
    }
    MarkerSprite target;
    screen.setCameraTarget(&target);
    EXPECT_EQ(screen.layers[4].scrollX, 13);
    screen.setCameraTarget(nullptr);
    EXPECT_EQ(screen.cameraTarget, nullptr);
    for (const Layer& layer : screen.layers) {
        EXPECT_EQ(layer.scrollX, 0);
        EXPECT_EQ(layer.scrollY, 0);
    }
    screen.render(); // no target: scrolls stay put
    EXPECT_EQ(screen.layers[1].scrollX, 0);
}

TEST(Screen, ChangeResolutionRemakesBuffersOnlyForANewSize)
{
    Screen screen(800, 600, false, true);
    BITMAP* before = screen.backBuffer;
    screen.changeResolution(800, 600);
    EXPECT_EQ(screen.backBuffer, before);
    EXPECT_EQ(screen.displayWidth, 0);

    screen.changeResolution(640, 480);
    ASSERT_NE(screen.backBuffer, nullptr);
    EXPECT_EQ(screen.backBuffer->w, 640);
    EXPECT_EQ(screen.snapshot->h, 480);
    EXPECT_EQ(screen.width, 640);
    EXPECT_EQ(screen.displayHeight, 480);
    EXPECT_EQ(screen.centreX, 320);
    EXPECT_EQ(screen.centreY, 240);

    // The mode follows the current window or full-screen choice.
    screen.fullscreen = true;
    screen.changeResolution(800, 600);
    EXPECT_EQ(screen.card, GFX_AUTODETECT_FULLSCREEN);
}

TEST(Screen, UpdateAdvancesTheWaveAndSubStepsSprites)
{
    Screen screen(100, 100, false, true);
    screen.layers.resize(2);
    MarkerSprite a, b;
    b.maxStep = 0.1f;
    screen.addSprite(&a, 0);
    screen.addSprite(&b, 1);

    screen.update(0.25f);
    EXPECT_EQ(screen.wavePhase, 0.0f); // no water effect, no wave
    EXPECT_EQ(a.steps, (std::vector<float> { 0.25f }));
    ASSERT_EQ(b.steps.size(), 3u);
    EXPECT_FLOAT_EQ(b.steps[2], 0.05f);

    screen.waterEffect = true;
    screen.wavePhase = 999.5f;
    screen.update(0.05f); // exactly 1000: kept
    EXPECT_EQ(screen.wavePhase, 1000.0f);
    screen.update(0.0f);
    EXPECT_EQ(screen.wavePhase, 1000.0f);
    screen.update(0.0625f); // above 1000: back to the start
    EXPECT_EQ(screen.wavePhase, 0.0f);
    screen.update(0.0625f);
    EXPECT_EQ(screen.wavePhase, 0.625f);
}

TEST(Screen, PresentCopiesPlainOrRippledRows)
{
    Screen screen(640, 48, false, true);
    screen.layers.resize(3);
    BITMAP* display = create_bitmap(800, 48);
    const int white = makecol(255, 255, 255);
    const int black = makecol(0, 0, 0);
    clear_to_color(screen.backBuffer, black);
    // A vertical white line at column 100.
    vline(screen.backBuffer, 100, 0, 47, white);

    clear_to_color(display, black);
    screen.present(display);
    for (int row = 0; row < 48; ++row) {
        EXPECT_EQ(getpixel(display, 100, row), white);
    }

    screen.waterEffect = true;
    screen.wavePhase = 3.0f;
    screen.layers[2].scrollY = 17;
    bool shifted = false;
    clear_to_color(display, black);
    screen.present(display);
    for (int row = 0; row < 48; ++row) {
        const int expected = static_cast<int>(-std::sin((row - 17) / 10.0f + 3.0f) * 2.0f);
        EXPECT_EQ(screen.waveOffset(row), expected) << "row " << row;
        EXPECT_EQ(getpixel(display, 100 + expected, row), white) << "row " << row;
        shifted = shifted || expected != 0;
        // Nothing beyond the 640-wide buffer is copied.
        EXPECT_EQ(getpixel(display, 700, row), black);
    }
    EXPECT_TRUE(shifted);
    destroy_bitmap(display);
}

TEST(Screen, RippleWithoutAThirdLayerAnchorsAtZero)
{
    Screen screen(64, 16, false, true);
    screen.wavePhase = 1.0f;
    EXPECT_EQ(screen.waveOffset(5), static_cast<int>(-std::sin(0.5f + 1.0f) * 2.0f));
}
