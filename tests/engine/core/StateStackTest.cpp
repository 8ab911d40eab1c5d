#include "TestEngine.h"

#include "engine/media/Screen.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace coretest;

class StateStackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        releaseAllInput();
        CountedSprite::alive = 0;
        engine.screen = new Screen(800, 600, false, true);
        engine.screen->layers.resize(3);
        engine.registerController(&logo);
        engine.registerController(&title);
    }
    void TearDown() override { releaseAllInput(); }

    bool onLayer(Sprite* sprite, int layer)
    {
        auto& list = engine.screen->layers[static_cast<size_t>(layer)].sprites;
        return std::find(list.begin(), list.end(), sprite) != list.end();
    }

    TestEngine engine;
    RecordingController logo { "logo", engine.events };
    RecordingController title { "title", engine.events };
};

TEST_F(StateStackTest, HooksRunInOrderOnPushPopAndJump)
{
    engine.pushState("logo");
    engine.pushState("help");
    engine.popState();
    engine.jumpState("title");
    EXPECT_EQ(engine.events,
        (std::vector<std::string> { "enter logo", "stateEntered logo", "stateEntered help",
            "stateLeaving help", "leave logo", "stateLeaving logo", "enter title", "stateEntered title" }));
    ASSERT_EQ(engine.stateStack.size(), 1u);
    EXPECT_EQ(engine.stateStack.back()->name, "title");
    EXPECT_EQ(engine.stateStack.back()->owner, &engine);
    EXPECT_EQ(engine.stateStack.back()->screen, engine.screen);

    engine.events.clear();
    engine.popState();
    engine.popState(); // empty: nothing happens
    EXPECT_EQ(engine.events, (std::vector<std::string> { "leave title", "stateLeaving title" }));
}

TEST_F(StateStackTest, GetStateFindsTheBottomMostRecord)
{
    engine.pushState("inGame");
    GameState* lower = engine.stateStack.back();
    engine.pushState("helpText");
    engine.pushState("inGame");
    EXPECT_EQ(engine.getState("inGame"), lower);
    EXPECT_EQ(engine.getState("helpText"), engine.stateStack[1]);
    EXPECT_EQ(engine.getState("shop"), nullptr);
    EXPECT_EQ(engine.stateStack.size(), 3u);
    EXPECT_EQ(Engine::findState("inGame"), lower);
}

TEST_F(StateStackTest, PoppingTheUpperOfTwoSameNamedStatesDeletesItsOwnSprites)
{
    engine.pushState("inGame");
    auto* lowerSprite = new CountedSprite;
    engine.addSprite(lowerSprite, 0);
    engine.pushState("inGame");
    engine.addSprite(new CountedSprite, 1);
    engine.popState();
    EXPECT_EQ(CountedSprite::alive, 1);
    EXPECT_TRUE(onLayer(lowerSprite, 0));
}

TEST_F(StateStackTest, RemovedSpriteLivesUntilTheEndOfTheFrameAndDiesOnce)
{
    engine.pushState("inGame");
    auto* sprite = new CountedSprite;
    EXPECT_TRUE(engine.addSprite(sprite, 2));
    EXPECT_TRUE(onLayer(sprite, 2));
    EXPECT_EQ(sprite->screen, engine.screen);

    engine.removeSprite(sprite);
    engine.removeSprite(sprite);
    EXPECT_EQ(CountedSprite::alive, 1);
    EXPECT_TRUE(onLayer(sprite, 2)); // still drawn this frame
    engine.collectGarbage();
    EXPECT_EQ(CountedSprite::alive, 0);
    EXPECT_FALSE(onLayer(sprite, 2));
    EXPECT_TRUE(engine.stateStack.back()->sprites.empty());
    EXPECT_TRUE(engine.stateStack.back()->pendingRemovals.empty());
}

TEST_F(StateStackTest, SpriteRemovedDuringAFrameIsGoneAfterIt)
{
    engine.pushState("inGame");
    auto* sprite = new CountedSprite;
    engine.addSprite(sprite, 0);
    engine.updateHook = [&](const std::string&) {
        if (CountedSprite::alive == 1) {
            engine.removeSprite(sprite);
        }
    };
    engine.frame(1);
    EXPECT_EQ(CountedSprite::alive, 0);
    EXPECT_TRUE(engine.screen->layers[0].sprites.empty());
}

TEST_F(StateStackTest, PopDeletesEverySpriteIncludingUndrawnOnes)
{
    engine.pushState("inGame");
    engine.addSprite(new CountedSprite, 0);
    engine.addSprite(new CountedSprite, -1);
    auto* queued = new CountedSprite;
    engine.addSprite(queued, 1);
    engine.removeSprite(queued);
    EXPECT_EQ(CountedSprite::alive, 3);
    engine.popState();
    EXPECT_EQ(CountedSprite::alive, 0);
    for (const Layer& layer : engine.screen->layers) {
        EXPECT_TRUE(layer.sprites.empty());
    }
}

TEST_F(StateStackTest, RemovingSomeOfManySpritesKeepsTheRestInDrawingOrder)
{
    engine.pushState("inGame");
    std::vector<Sprite*> all;
    for (int i = 0; i < 12; ++i) {
        all.push_back(new CountedSprite);
        engine.addSprite(all.back(), i % 2);
    }
    std::vector<Sprite*> kept;
    for (int i = 0; i < 12; ++i) {
        if (i % 3 == 0) {
            engine.removeSprite(all[i]);
        } else {
            kept.push_back(all[i]);
        }
    }
    engine.removeSprite(all[0]); // queued twice
    engine.collectGarbage();
    EXPECT_EQ(CountedSprite::alive, 8);
    EXPECT_EQ(engine.stateStack.back()->sprites, kept);
    for (int layer = 0; layer < 2; ++layer) {
        std::vector<Sprite*> expected;
        for (Sprite* sprite : kept) {
            if (onLayer(sprite, layer)) {
                expected.push_back(sprite);
            }
        }
        EXPECT_EQ(engine.screen->layers[static_cast<size_t>(layer)].sprites, expected);
        EXPECT_EQ(expected.size(), 4u);
    }
    // A sprite that was ours once may be added again after it left.
    auto* again = new CountedSprite;
    EXPECT_TRUE(engine.addSprite(again, 2));
    engine.removeSprite(again);
    engine.collectGarbage();
    EXPECT_TRUE(engine.addSprite(new CountedSprite, 2));
    engine.popState();
    EXPECT_EQ(CountedSprite::alive, 0);
}

TEST_F(StateStackTest, DuplicateSpriteIsRefusedAndReported)
{
    engine.pushState("inGame");
    auto* sprite = new CountedSprite;
    EXPECT_TRUE(engine.addSprite(sprite, -1));
    EXPECT_FALSE(engine.addSprite(sprite, 0));
    EXPECT_EQ(engine.stateStack.back()->sprites.size(), 1u);
    EXPECT_FALSE(onLayer(sprite, 0));
    engine.popState();
    EXPECT_EQ(CountedSprite::alive, 0);
}

TEST_F(StateStackTest, SpritesWithoutAStateAreRefused)
{
    CountedSprite sprite;
    EXPECT_FALSE(engine.addSprite(&sprite, 0));
    engine.removeSprite(&sprite);
    engine.collectGarbage();
    EXPECT_EQ(CountedSprite::alive, 1);
}

TEST_F(StateStackTest, StateActionsLiveAsLongAsTheirState)
{
    engine.addStateAction("skip", KEY_SPACE); // no state: refused
    EXPECT_EQ(engine.bindings.count("skip"), 0u);

    engine.pushState("logo");
    engine.addStateAction("JUMPSTATE_FALSE:title", KEY_SPACE);
    key[KEY_SPACE] = 1;
    engine.frame(1);
    EXPECT_NE(std::find(engine.events.begin(), engine.events.end(), "JUMPSTATE_FALSE:title:down"),
        engine.events.end());

    engine.jumpState("title");
    EXPECT_EQ(engine.bindings.count("JUMPSTATE_FALSE:title"), 0u);
    engine.events.clear();
    key[KEY_SPACE] = 0;
    engine.frame(1);
    EXPECT_EQ(engine.events, std::vector<std::string> { "controller title" });
}

} // namespace
