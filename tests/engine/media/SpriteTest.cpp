#include "engine/media/Sprite.h"

#include <gtest/gtest.h>

#include <utility>
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
        drawnAt.emplace_back(x, y);
        Sprite::draw(target);
    }
    std::vector<float> steps;
    std::vector<std::pair<float, float>> drawnAt;
};

} // namespace

TEST(Sprite, StartsWithTheDocumentedDefaults)
{
    Sprite s;
    EXPECT_EQ(255.0f, s.alpha);
    EXPECT_TRUE(s.visible);
    EXPECT_TRUE(s.cullable);
    EXPECT_FALSE(s.drawOnHiddenLayer);
    EXPECT_FALSE(s.moving);
    EXPECT_EQ(0, s.alignment);
    EXPECT_EQ(0.0f, s.maxStep);
    EXPECT_EQ(&s.alpha, s.alphaTween.updatee);
    EXPECT_EQ(&s.drawWidth, s.widthTween.updatee);
    EXPECT_EQ(&s.z, s.zTween.updatee);
}

TEST(Sprite, MoveToJumpsOrGlidesAxisByAxis)
{
    Sprite s;
    s.moveTo(30, 40, 0.0f);
    EXPECT_EQ(30.0f, s.x);
    EXPECT_EQ(40.0f, s.y);
    EXPECT_FALSE(s.moving);

    // A diagonal move lasts as long as its longer leg.
    s.moveTo(130, 90, 100.0f);
    EXPECT_TRUE(s.moving);
    s.update(0.5f);
    EXPECT_FLOAT_EQ(80.0f, s.x);
    EXPECT_FLOAT_EQ(90.0f, s.y); // the 50-pixel leg is done
    EXPECT_TRUE(s.moving);
    s.update(0.5f);
    EXPECT_FLOAT_EQ(130.0f, s.x);
    EXPECT_FALSE(s.moving);

    // To the current position: moving for exactly one update.
    s.moveTo(130, 90, 100.0f);
    EXPECT_TRUE(s.moving);
    s.update(0.01f);
    EXPECT_FALSE(s.moving);

    // A jump stops a glide under way.
    s.moveTo(0, 0, 10.0f);
    s.update(0.1f);
    s.moveTo(5, 6, 0.0f);
    s.update(0.1f);
    EXPECT_EQ(5.0f, s.x);
    EXPECT_EQ(6.0f, s.y);

    // A new move whose x is where the sprite already is keeps x there.
    s.moveTo(105, 6, 100.0f);
    s.update(0.5f);
    s.moveTo(55, 106, 100.0f);
    s.update(0.5f);
    EXPECT_FLOAT_EQ(55.0f, s.x);
    EXPECT_FLOAT_EQ(56.0f, s.y);
}

TEST(Sprite, StepUpdateCutsLongStepsIntoPieces)
{
    RecordingSprite s;
    s.stepUpdate(0.25f);
    s.stepUpdate(0.0f);
    ASSERT_EQ(2u, s.steps.size());
    EXPECT_EQ(0.25f, s.steps[0]);
    EXPECT_EQ(0.0f, s.steps[1]);

    s.steps.clear();
    s.maxStep = 0.1f;
    s.stepUpdate(0.25f);
    ASSERT_EQ(3u, s.steps.size());
    EXPECT_FLOAT_EQ(0.1f, s.steps[0]);
    EXPECT_FLOAT_EQ(0.1f, s.steps[1]);
    EXPECT_NEAR(0.05f, s.steps[2], 1e-6);

    s.steps.clear();
    s.stepUpdate(0.0f);
    s.stepUpdate(-1.0f);
    s.stepUpdate(0.1f);
    ASSERT_EQ(1u, s.steps.size());
    EXPECT_FLOAT_EQ(0.1f, s.steps[0]);
}

TEST(Sprite, ChildrenDrawRelativeToTheirParent)
{
    Sprite parent;
    RecordingSprite child;
    RecordingSprite other;
    child.x = 0.1f;
    child.y = 2.0f;
    parent.x = 1000.3f;
    parent.y = 50.0f;
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
    ASSERT_EQ(100u, child.drawnAt.size());
    EXPECT_FLOAT_EQ(1000.4f, child.drawnAt.back().first);
    EXPECT_FLOAT_EQ(52.0f, child.drawnAt.back().second);
    EXPECT_EQ(0.1f, child.x); // not drifting by rounding
    EXPECT_EQ(2.0f, child.y);

    parent.visible = false;
    parent.draw(target);
    EXPECT_EQ(100u, child.drawnAt.size());
    destroy_bitmap(target);
}

TEST(Sprite, CommandsDepthAndBounds)
{
    Sprite s;
    s.handleCommand("pos 12 -7");
    EXPECT_EQ(12.0f, s.x);
    EXPECT_EQ(-7.0f, s.y);
    s.handleCommand("alpha 99.5");
    EXPECT_EQ(99.5f, s.alpha);
    s.handleCommand("alphaInt 200 2 0");
    EXPECT_TRUE(s.alphaTween.active);
    EXPECT_EQ(200.0f, s.alphaTween.target);
    s.handleCommand("moveTo 112 -7 50");
    EXPECT_TRUE(s.moving);
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

    s.left = 1;
    s.bottom = 4;
    Sprite::Bounds b = s.getBounds();
    EXPECT_EQ(1, b.left);
    EXPECT_EQ(4, b.bottom);
}
