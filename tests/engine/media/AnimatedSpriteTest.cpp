#include "engine/media/AnimatedSprite.h"

#include "engine/media/DatafileWriter.h"
#include "support/LogLines.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const int BODY = makecol16(0, 0, 248);
const int MARK = makecol16(248, 0, 0);

// The inked rectangle of a target, inclusive; all -1 when nothing is inked.
struct Box {
    int left = -1, top = -1, right = -1, bottom = -1;
    bool operator==(const Box& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

std::ostream& operator<<(std::ostream& out, const Box& b)
{
    return out << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

Box inkedBox(BITMAP* bmp)
{
    Box box;
    for (int y = 0; y < bmp->h; ++y) {
        for (int x = 0; x < bmp->w; ++x) {
            if (getpixel(bmp, x, y) != 0) {
                box.left = box.left < 0 ? x : std::min(box.left, x);
                box.top = box.top < 0 ? y : box.top;
                box.right = std::max(box.right, x);
                box.bottom = y;
            }
        }
    }
    return box;
}

class Fish : public AnimatedSprite {
public:
    void onAnimationEnd(std::string name) override
    {
        ended.push_back(name);
        if (!next.empty()) {
            playAnimation(next, 1, 2, 1.0f, 0, false, 0.0f);
            next.clear();
        }
    }
    std::vector<std::string> ended;
    std::string next;
};

class AnimatedSpriteTest : public ::testing::Test {
protected:
    // fish.dat: 0 a 4 x 2 picture, blue with a red top-left pixel; 1 the
    // same as a run-length sprite; 2 a nested set of two 6 x 6 pictures;
    // 3 raw bytes; 4 a filler that plain indexes cannot reach.
    void SetUp() override
    {
        startFreshLog();
        BITMAP* picture = create_bitmap_ex(16, 4, 2);
        clear_to_color(picture, BODY);
        putpixel(picture, 0, 0, MARK);
        BITMAP* big = create_bitmap_ex(16, 6, 6);
        DatafileWriter out;
        out.addBitmap(picture);
        out.addRleSprite(picture);
        DatafileWriter& set = out.addNested();
        set.addBitmap(big);
        set.addBitmap(big);
        out.addData({ 1 });
        out.addData({ 2 });
        destroy_bitmap(picture);
        destroy_bitmap(big);
        ASSERT_TRUE(out.save("fish.dat"));
        fish.datafile.load("fish.dat");
        fish.x = 20.0f;
        fish.y = 20.0f;
        target = create_bitmap_ex(16, 40, 40);
    }
    void TearDown() override { destroy_bitmap(target); }

    Box drawn()
    {
        clear_to_color(target, 0);
        fish.draw(target);
        return inkedBox(target);
    }

    Fish fish;
    BITMAP* target = nullptr;
};

} // namespace

TEST_F(AnimatedSpriteTest, AlignmentsAnchorThePictureAndItsBounds)
{
    const Box expected[] = {
        { 20, 20, 23, 21 }, // top-left
        { 18, 19, 21, 20 }, // centre
        { 18, 18, 21, 19 }, // bottom centre
        { 16, 20, 19, 21 }, // top-right
        { 20, 18, 23, 19 }, // bottom-left
    };
    for (int a = 0; a < 5; ++a) {
        SCOPED_TRACE(a);
        fish.alignment = a;
        EXPECT_EQ(expected[a], drawn());
        Sprite::Bounds b = fish.getBounds();
        if (a != 3) { // top-right anchoring keeps the bounds it had
            EXPECT_EQ(expected[a], (Box { b.left, b.top, b.right - 1, b.bottom - 1 }));
        } else {
            EXPECT_EQ(expected[2].left, b.left);
        }
    }
    // Offsets shift it, height above the ground lifts it.
    fish.alignment = 0;
    fish.offsetX = 1;
    fish.offsetY = -1;
    fish.z = 3.0f;
    EXPECT_EQ((Box { 21, 16, 24, 17 }), drawn());
    EXPECT_EQ(16, fish.getBounds().top);
    EXPECT_TRUE(fish.x == 20.0f && fish.y == 20.0f); // given back after drawing
}

TEST_F(AnimatedSpriteTest, AlphaZeroHidesEverythingAndLowAlphaBlends)
{
    AnimatedSprite child;
    child.datafile.load("fish.dat");
    child.x = 10.0f; // relative to the drawn point of the parent
    child.y = 10.0f;
    fish.addChild(&child);
    EXPECT_EQ((Box { 20, 20, 33, 31 }), drawn());
    fish.alpha = 0.0f;
    EXPECT_EQ(-1, drawn().left);
    fish.alpha = 255.0f;
    fish.visible = false;
    EXPECT_EQ(-1, drawn().left);
    fish.visible = true;
    fish.removeChild(&child);

    for (float frame : { 0.0f, 1.0f }) { // bitmaps and run-length sprites
        fish.frame = frame;
        fish.alpha = 128.0f;
        drawn();
        int blue = getb16(getpixel(target, 21, 20));
        EXPECT_TRUE(blue > 64 && blue < 192) << blue;
        fish.alpha = 255.0f;
        fish.blendMode = 1; // additive over black: the picture's own colour
        drawn();
        EXPECT_EQ(BODY, getpixel(target, 21, 20));
        fish.blendMode = 0;
    }
}

TEST_F(AnimatedSpriteTest, ClippingRestrictsTheFrameAndRestoresTheTarget)
{
    clear_to_color(target, 0);
    set_clip_rect(target, 1, 2, 37, 38);
    fish.setClip(0, 0, 2, 1);
    fish.draw(target);
    EXPECT_EQ((Box { 20, 20, 21, 20 }), inkedBox(target));
    int l, t, r, b;
    get_clip_rect(target, &l, &t, &r, &b);
    EXPECT_EQ((Box { 1, 2, 37, 38 }), (Box { l, t, r, b }));

    // Within the target's own clipping, never beyond it.
    set_clip_rect(target, 0, 0, 39, 39);
    clear_to_color(target, 0);
    set_clip_rect(target, 0, 0, 20, 39);
    fish.setClip(-5, -5, 10, 10);
    fish.draw(target);
    EXPECT_EQ((Box { 20, 20, 20, 21 }), inkedBox(target));

    set_clip_state(target, FALSE);
    fish.draw(target);
    EXPECT_FALSE(get_clip_state(target));
}

TEST_F(AnimatedSpriteTest, FlipsApplyToCentredAndStandingPicturesOnly)
{
    struct Case {
        int alignment;
        bool flipH, flipV;
        int markX, markY;
    };
    const Case cases[] = {
        { 1, true, false, 21, 19 }, { 1, true, true, 18, 20 }, // vertical wins
        { 2, true, false, 21, 18 }, { 2, false, true, 18, 19 }, { 0, true, true, 20, 20 }, // ignored
        { 3, true, false, 16, 20 }, // ignored
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alignment * 100 + c.flipH * 10 + c.flipV);
        fish.alignment = c.alignment;
        fish.flipH = c.flipH;
        fish.flipV = c.flipV;
        drawn();
        EXPECT_EQ(MARK, getpixel(target, c.markX, c.markY));
        // A see-through picture turns the same way: a fading creature must
        // not snap round.
        fish.blendMode = 1;
        drawn();
        EXPECT_EQ(MARK, getpixel(target, c.markX, c.markY)) << "added onto black";
        fish.blendMode = 0;
    }
}

TEST_F(AnimatedSpriteTest, StretchingFollowsTheFlagsAndTweens)
{
    fish.alignment = 1;
    fish.drawWidth = 8.0f;
    fish.drawHeight = 6.0f;
    fish.stretchWidth = fish.stretchHeight = true;
    EXPECT_EQ((Box { 16, 17, 23, 22 }), drawn());
    fish.stretchHeight = false;
    EXPECT_EQ((Box { 16, 19, 23, 20 }), drawn());
    fish.stretchWidth = false;
    fish.heightTween.start(6.0f, 10.0f, 0);
    EXPECT_EQ((Box { 18, 17, 21, 22 }), drawn());

    // Standing pictures stretch only while a tween runs, on (x, y).
    fish.alignment = 2;
    fish.heightTween.stop();
    fish.stretchWidth = fish.stretchHeight = true;
    EXPECT_EQ((Box { 18, 18, 21, 19 }), drawn());
    fish.widthTween.start(8.0f, 10.0f, 0);
    EXPECT_EQ((Box { 16, 18, 23, 19 }), drawn());
    fish.drawWidth = 0.0f; // shrunk to nothing: nothing drawn, nothing broken
    EXPECT_EQ(-1, drawn().left);
}

TEST_F(AnimatedSpriteTest, RotationRunLengthFramesAndFrameSizes)
{
    fish.alignment = 1;
    fish.angle = 64.0f; // a quarter turn about the centre
    Box turned = drawn();
    EXPECT_GT(turned.bottom - turned.top, turned.right - turned.left);

    fish.angle = 0.0f;
    fish.frame = 1.0f;
    fish.alignment = 2;
    EXPECT_EQ((Box { 18, 18, 21, 19 }), drawn());
    fish.alignment = 3; // run-length frames know no top-right anchoring
    EXPECT_EQ(-1, drawn().left);
    EXPECT_TRUE(fish.frameWidth() == 4 && fish.frameHeight() == 2);
    fish.frame = 3.0f; // raw bytes: no size, nothing drawn
    EXPECT_EQ(0, fish.frameWidth());
    fish.alignment = 0;
    EXPECT_EQ(-1, drawn().left);

    fish.handleCommand("useSubDatafile 2");
    fish.handleCommand("frame 1.9");
    EXPECT_TRUE(fish.frameWidth() == 6 && fish.datafile.count == 2);

    AnimatedSprite empty; // no datafile: quietly nothing
    EXPECT_EQ(0, empty.frameWidth());
    empty.draw(target);
    EXPECT_EQ(1u, logLines().size());
}

TEST_F(AnimatedSpriteTest, FramesStepThroughTheAnimation)
{
    fish.playAnimation("swim", 0, 4, 1.0f, 0, false, 0.0f);
    std::vector<int> shown;
    for (int i = 0; i < 8; ++i) {
        fish.update(0.125f);
        shown.push_back(static_cast<int>(fish.frame));
    }
    EXPECT_EQ((std::vector<int> { 0, 1, 1, 2, 2, 3, 3, 4 }), shown);
    EXPECT_FALSE(fish.frameTween.active);

    fish.playAnimation("rest", 3, 3, 0.5f, 0, false, 0.0f);
    fish.update(0.25f);
    EXPECT_EQ(3.0f, fish.frame);
    fish.playAnimation("none", 0, 0, 1.0f, 0, false, 0.0f);
    EXPECT_TRUE(logHas("null animation"));
    EXPECT_TRUE(!fish.frameTween.active && fish.animationName.empty());

    // The frame-rate tween stretches the run while it plays.
    fish.playAnimation(Animation { "dash", 0, 4, 1.0f, 0, false });
    fish.frameRateTween.start(2.0f, 0.5f, 0);
    fish.update(0.5f);
    fish.update(0.5f); // now half as fast: half-way after a second
    EXPECT_FLOAT_EQ(2.0f, fish.frame);

    fish.handleCommand("animate 1 3 0.5 2 1");
    EXPECT_TRUE(fish.frameTween.active && fish.frameTween.pingPong && fish.frame == 1.0f);
    fish.handleCommand("stopAnimating");
    EXPECT_FALSE(fish.frameTween.active);
}

TEST_F(AnimatedSpriteTest, FinishedAnimationsAreHandedOnOnce)
{
    fish.playAnimation("bite", 0, 2, 0.5f, 0, false, 0.0f);
    for (int i = 0; i < 4; ++i) {
        fish.update(0.25f);
    }
    EXPECT_EQ((std::vector<std::string> { "bite", "", "" }), fish.ended);
    EXPECT_EQ("", fish.lastAnimationName);

    // An animation started from the hand-over keeps its name.
    fish.ended.clear();
    fish.playAnimation("bite", 0, 2, 0.5f, 0, false, 0.0f);
    fish.next = "swim";
    fish.update(0.5f);
    EXPECT_EQ((std::vector<std::string> { "bite" }), fish.ended);
    EXPECT_TRUE(fish.animationName == "swim" && fish.lastAnimationName == "bite");

    { // each sprite holds one reference to its frames
        AnimatedSprite another;
        another.datafile.load("fish.dat");
        EXPECT_EQ(2, DatafileManager::referenceCount("fish.dat"));
    }
    EXPECT_EQ(1, DatafileManager::referenceCount("fish.dat"));
}
