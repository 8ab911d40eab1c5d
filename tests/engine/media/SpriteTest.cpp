#include "engine/media/Sprite.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Notes every update step and where it stood whenever it was drawn.
class RecordingSprite : public Sprite {
public:
    void update(float dt) override
    {
        steps.push_back(dt);
        Sprite::update(dt);
    }
    void draw(BITMAP* target) override
    {
        drawnX.push_back(x);
        Sprite::draw(target);
    }
    std::vector<float> steps, drawnX;
};

} // namespace

TEST(Sprite, MoveToJumpsOrGlidesAxisByAxis)
{
    Sprite s;
    s.moveTo(30, 40, 0.0f);
    EXPECT_TRUE(s.x == 30.0f && s.y == 40.0f && !s.moving);

    // A diagonal move lasts as long as its longer leg.
    s.moveTo(130, 90, 100.0f);
    s.update(0.5f);
    EXPECT_FLOAT_EQ(80.0f, s.x);
    EXPECT_FLOAT_EQ(90.0f, s.y);
    EXPECT_TRUE(s.moving);
    s.update(0.5f);
    EXPECT_FLOAT_EQ(130.0f, s.x);
    EXPECT_FALSE(s.moving);

    // To the current position: moving for exactly one update.
    s.moveTo(130, 90, 100.0f);
    EXPECT_TRUE(s.moving);
    s.update(0.01f);
    EXPECT_FALSE(s.moving);

    // A new move whose x is where the sprite already is keeps x there,
    // even while an earlier move was still carrying it along.
    s.moveTo(230, 90, 100.0f);
    s.update(0.5f);
    s.moveTo(180, 190, 100.0f);
    s.update(0.5f);
    EXPECT_FLOAT_EQ(180.0f, s.x);
    EXPECT_FLOAT_EQ(140.0f, s.y);
    s.moveTo(5, 6, 0.0f); // a jump stops the glide
    s.update(0.5f);
    EXPECT_TRUE(s.x == 5.0f && s.y == 6.0f);
}

TEST(Sprite, StepUpdateCutsLongStepsIntoPieces)
{
    RecordingSprite s;
    s.stepUpdate(0.0f); // without a limit even an empty step is passed on
    s.maxStep = 0.1f;
    s.stepUpdate(0.25f);
    s.stepUpdate(0.0f);
    s.stepUpdate(-1.0f);
    ASSERT_EQ(4u, s.steps.size());
    EXPECT_EQ(0.0f, s.steps[0]);
    EXPECT_FLOAT_EQ(0.1f, s.steps[1]);
    EXPECT_FLOAT_EQ(0.1f, s.steps[2]);
    EXPECT_NEAR(0.05f, s.steps[3], 1e-6);
}

TEST(Sprite, ChildrenDrawRelativeToTheirParentWithoutDrifting)
{
    Sprite parent;
    RecordingSprite child, other;
    child.x = 0.1f;
    parent.x = 1000.3f;
    parent.addChild(&child);
    parent.addChild(&other);
    parent.addChild(&child);
    parent.removeChild(&child); // the first occurrence only
    ASSERT_EQ(2u, parent.children.size());
    EXPECT_EQ(&other, parent.children[0]);

    BITMAP* target = create_bitmap(8, 8);
    for (int frame = 0; frame < 100; ++frame) {
        parent.draw(target);
    }
    EXPECT_FLOAT_EQ(1000.4f, child.drawnX.back());
    EXPECT_EQ(0.1f, child.x);
    parent.visible = false;
    parent.draw(target);
    EXPECT_EQ(100u, child.drawnX.size());
    destroy_bitmap(target);
}

TEST(Sprite, CommandsAndDepth)
{
    Sprite s;
    s.handleCommand("pos 12 -7");
    EXPECT_TRUE(s.x == 12.0f && s.y == -7.0f);
    s.handleCommand("alpha 99.5");
    EXPECT_EQ(99.5f, s.alpha);
    s.handleCommand("alphaInt 200 2 0");
    EXPECT_TRUE(s.alphaTween.active && s.alphaTween.target == 200.0f);
    s.handleCommand("moveTo 112 -7 50");
    EXPECT_FLOAT_EQ(2.0f, s.xTween.duration);
    // Unknown or incomplete commands change nothing.
    s.handleCommand("pos 3");
    s.handleCommand("wobble 1 2");
    s.handleCommand("");
    EXPECT_EQ(12.0f, s.x);

    s.y = 10.7f;
    s.z = 5.0f;
    s.depthBias = 3;
    EXPECT_EQ(18, s.depth());
}
