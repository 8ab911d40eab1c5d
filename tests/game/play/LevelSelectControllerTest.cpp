#include "game/play/LevelSelectController.h"
#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/core/StateController.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/play/MapNode.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

class QuietMap : public LevelSelectController {
protected:
    void fadeIn(float) override { }
};

// Level play reduced to its way out: Esc leaves for the map on the press,
// as the in-game menu's "Exit" does.
class LeaveOnEsc : public StateController {
public:
    LeaveOnEsc()
        : StateController("inGame")
    {
    }
    void enter() override { Engine::addActionToState("JUMPSTATE:levelSelect", KEY_ESC); }
};

class LevelSelectTest : public ::testing::Test {
protected:
    static constexpr float DT = 0.01f;

    void SetUp() override
    {
        DebugLog::setFatalMode(false);
        game.registerController(&map);
        game.registerController(&level);
    }
    void TearDown() override { game.popAllStates(); }

    void open(int highest, int width = 800, int height = 600)
    {
        game.screen = new Screen(width, height, false, true);
        game.screen->layers.resize(5);
        game.highestLevel = highest;
        game.jumpState("levelSelect");
    }
    void press(int code, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            key[code] = 1;
            game.update(DT);
            key[code] = 0;
            game.update(DT);
        }
    }
    // The levels whose nodes pass a test.
    template <typename Test> std::vector<int> nodes(Test test) const
    {
        std::vector<int> levels;
        for (MapNode* node : map.nodes) {
            if (test(*node)) {
                levels.push_back(node->level);
            }
        }
        return levels;
    }
    std::vector<int> shown() const
    {
        return nodes([](const MapNode& n) { return n.visible; });
    }
    std::vector<int> lit() const
    {
        return nodes([](const MapNode& n) { return n.alpha == 255.0f; });
    }
    std::string topState() const { return game.stateStack.back()->name; }

    ScratchDir scratch;
    Game game;
    QuietMap map;
    LeaveOnEsc level;
};

TEST_F(LevelSelectTest, ANewProfileSeesOnlyTheFirstNodeAndCannotMoveOn)
{
    game.mapLevel = 7;
    open(0);
    EXPECT_EQ(game.screen->layers[2].sprites.size(), 50u);
    EXPECT_EQ(shown(), std::vector<int> { 0 });
    EXPECT_EQ(lit(), std::vector<int> { 0 });
    EXPECT_EQ(game.mapLevel, 0);
    press(KEY_RIGHT);
    press(KEY_DOWN);
    EXPECT_EQ(map.selection, 0);
}

TEST_F(LevelSelectTest, AFinishedStoryStartsAtTheLastNodeWithAllShown)
{
    open(50);
    EXPECT_EQ(map.selection, 49);
    EXPECT_EQ(shown().size(), 50u);
    press(KEY_RIGHT);
    press(KEY_UP, 2);
    EXPECT_EQ(lit(), std::vector<int> { 47 });
    EXPECT_EQ(game.mapLevel, 47);
}

TEST_F(LevelSelectTest, FullRatingsShowTheFinishedPictures)
{
    game.levelPercent = { { 3, 100 }, { 4, 99 }, { 9, 100 } };
    open(30);
    auto picture = [&](int n) { return static_cast<int>(map.nodes[static_cast<size_t>(n)]->frame); };
    EXPECT_EQ((std::vector<int> { picture(3), picture(4), picture(9), picture(19) }),
        (std::vector<int> { 2, 0, 3, 1 }));
    EXPECT_EQ(game.levelPercent.size(), 3u); // looking added no ratings
}

TEST_F(LevelSelectTest, ChoosingANodeStartsThatLevelAndEscFromItOnlyReturnsToTheMap)
{
    game.levelPercent[10] = 100;
    open(12);
    press(KEY_LEFT, 2);
    press(KEY_SPACE);
    EXPECT_EQ(game.currentLevel, 10);
    EXPECT_EQ(topState(), "inGame");

    // Level play leaves on the press; the release that follows on the map
    // must not carry on to the title.
    press(KEY_ESC);
    game.update(DT);
    EXPECT_EQ(topState(), "levelSelect");
    press(KEY_ESC);
    EXPECT_EQ(topState(), "title");
}

TEST_F(LevelSelectTest, ANarrowScreenFollowsTheSelectionWithinTheMap)
{
    open(49, 640, 480);
    EXPECT_EQ(game.screen->cameraTarget, &game.camera);
    EXPECT_EQ(game.camera.x, 480.0f); // node 49 is at (756, 390): held at the corner
    EXPECT_EQ(game.camera.y, 360.0f);
    press(KEY_LEFT, 49);
    for (int i = 0; i < 300; ++i) {
        game.update(DT);
    }
    EXPECT_EQ(game.camera.x, 320.0f);
    EXPECT_EQ(game.camera.y, 240.0f);
    game.jumpState("inGame");
    EXPECT_EQ(game.screen->cameraTarget, nullptr);
}

} // namespace
