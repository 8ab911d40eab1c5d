#include "game/play/LevelSelectController.h"
#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/play/InGameController.h"
#include "game/play/MapNode.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Counts the fades instead of blocking on the wall clock.
class QuietMap : public LevelSelectController {
public:
    int fades = 0;

protected:
    void fadeIn(float) override { ++fades; }
};

void releaseAllKeys()
{
    for (int k = 0; k < KEY_MAX; ++k) {
        key[k] = 0;
    }
}

class LevelSelectTest : public ::testing::Test {
protected:
    static constexpr float DT = 0.01f;

    void SetUp() override
    {
        DebugLog::setFatalMode(false);
        releaseAllKeys();
        game.registerController(&map);
        game.registerController(&level);
    }
    void TearDown() override
    {
        releaseAllKeys();
        game.popAllStates();
    }

    void openScreen(int width, int height)
    {
        game.screen = new Screen(width, height, false, true);
        game.screen->layers.resize(5);
    }
    void press(int code)
    {
        key[code] = 1;
        game.update(DT);
        key[code] = 0;
        game.update(DT);
    }
    std::string topState() const { return game.stateStack.empty() ? "" : game.stateStack.back()->name; }
    std::vector<int> visibleLevels() const
    {
        std::vector<int> levels;
        for (MapNode* node : map.nodes) {
            if (node->visible) {
                levels.push_back(node->level);
            }
        }
        return levels;
    }
    std::vector<int> litLevels() const
    {
        std::vector<int> levels;
        for (MapNode* node : map.nodes) {
            if (node->alpha == 255.0f) {
                levels.push_back(node->level);
            }
        }
        return levels;
    }

    ScratchDir scratch;
    Game game;
    QuietMap map;
    InGameController level;
};

TEST_F(LevelSelectTest, ANewProfileSeesOnlyTheFirstNodeAndCannotMoveOn)
{
    openScreen(800, 600);
    game.highestLevel = 0;
    game.mapLevel = 7;
    game.jumpState("levelSelect");

    ASSERT_EQ(map.nodes.size(), 50u);
    EXPECT_EQ(game.getState("levelSelect")->sprites.size(), 51u); // the map picture too
    EXPECT_EQ(game.screen->layers[2].sprites.size(), 50u);
    EXPECT_EQ(visibleLevels(), std::vector<int> { 0 });
    EXPECT_EQ(litLevels(), std::vector<int> { 0 });
    EXPECT_EQ(map.nodes[1]->alpha, 128.0f);
    EXPECT_EQ(game.mapLevel, 0);
    EXPECT_EQ(map.fades, 1);
    EXPECT_EQ(game.screen->cameraTarget, nullptr); // the whole map fits

    press(KEY_RIGHT);
    press(KEY_DOWN);
    press(KEY_LEFT);
    EXPECT_EQ(map.selection, 0);
    EXPECT_EQ(map.nodes[24]->x, 553.0f);
    EXPECT_EQ(map.nodes[24]->y, 160.0f);
}

TEST_F(LevelSelectTest, TheSelectionStaysBetweenTheFirstAndTheHighestLevel)
{
    openScreen(800, 600);
    game.highestLevel = 50; // the story is finished
    game.jumpState("levelSelect");
    EXPECT_EQ(map.selection, 49);
    EXPECT_EQ(visibleLevels().size(), 50u);
    press(KEY_RIGHT);
    EXPECT_EQ(map.selection, 49);
    press(KEY_UP);
    press(KEY_LEFT);
    EXPECT_EQ(map.selection, 47);
    EXPECT_EQ(litLevels(), std::vector<int> { 47 });
    EXPECT_EQ(game.mapLevel, 47);

    game.highestLevel = 2;
    game.jumpState("levelSelect");
    EXPECT_EQ(map.selection, 2);
    EXPECT_EQ(visibleLevels(), (std::vector<int> { 0, 1, 2 }));
    press(KEY_DOWN);
    EXPECT_EQ(map.selection, 2);
    for (int i = 0; i < 4; ++i) {
        press(KEY_UP);
    }
    EXPECT_EQ(map.selection, 0);
}

TEST_F(LevelSelectTest, LevelsFinishedAtFullRatingShowTheirFinishedPicture)
{
    openScreen(800, 600);
    game.highestLevel = 30;
    game.levelPercent[3] = 100;
    game.levelPercent[4] = 99;
    game.levelPercent[9] = 100;
    game.levelPercent[29] = 100;
    game.jumpState("levelSelect");
    auto picture = [&](int level) { return static_cast<int>(map.nodes[static_cast<size_t>(level)]->frame); };
    EXPECT_EQ(picture(0), 0);
    EXPECT_EQ(picture(3), 2);
    EXPECT_EQ(picture(4), 0);
    EXPECT_EQ(picture(9), 3);
    EXPECT_EQ(picture(19), 1);
    EXPECT_EQ(picture(29), 3);
    EXPECT_EQ(picture(49), 1); // not reached, but drawn right once it is
    EXPECT_EQ(game.levelPercent.size(), 4u); // looking did not add ratings
}

TEST_F(LevelSelectTest, ChoosingANodeStartsExactlyThatLevel)
{
    openScreen(800, 600);
    game.highestLevel = 12;
    game.levelPercent[10] = 100;
    game.jumpState("levelSelect");
    press(KEY_LEFT);
    press(KEY_LEFT);
    press(KEY_SPACE);
    EXPECT_EQ(game.currentLevel, 10);
    EXPECT_EQ(topState(), "inGame");
    EXPECT_TRUE(map.nodes.empty());

    // Esc, pressed and released in level play, goes back to the map and
    // stays there: the map only answers keys pressed while it is up.
    key[KEY_ESC] = 1;
    game.update(DT);
    EXPECT_EQ(topState(), "levelSelect");
    key[KEY_ESC] = 0;
    game.update(DT);
    game.update(DT);
    EXPECT_EQ(topState(), "levelSelect");
    EXPECT_EQ(map.selection, 12);

    press(KEY_ENTER);
    EXPECT_EQ(game.currentLevel, 12);
    EXPECT_EQ(topState(), "inGame");
}

TEST_F(LevelSelectTest, EscGoesBackToTheTitleWhenReleased)
{
    openScreen(800, 600);
    game.jumpState("levelSelect");
    key[KEY_ESC] = 1;
    game.update(DT);
    EXPECT_EQ(topState(), "levelSelect");
    key[KEY_ESC] = 0;
    game.update(DT);
    EXPECT_EQ(topState(), "title");
}

TEST_F(LevelSelectTest, ANarrowScreenFollowsTheSelectionWithinTheMap)
{
    openScreen(640, 480);
    game.highestLevel = 49;
    game.jumpState("levelSelect");
    EXPECT_EQ(game.screen->cameraTarget, &game.camera);
    // Level 49 stands at (756, 390): the view stops at the map's corner.
    EXPECT_EQ(game.camera.x, 480.0f);
    EXPECT_EQ(game.camera.y, 360.0f);

    for (int i = 0; i < 49; ++i) {
        press(KEY_LEFT);
    }
    ASSERT_EQ(map.selection, 0);
    for (int i = 0; i < 300; ++i) {
        game.update(DT);
    }
    EXPECT_EQ(game.camera.x, 320.0f);
    EXPECT_EQ(game.camera.y, 240.0f);

    game.jumpState("inGame");
    EXPECT_EQ(game.screen->cameraTarget, nullptr);
}

TEST(MapNodeTest, BossLevelsCloseEachGroupOfTen)
{
    EXPECT_EQ(MapNode::pictureFor(8, 0), 0);
    EXPECT_EQ(MapNode::pictureFor(39, 50), 1);
    EXPECT_EQ(MapNode::pictureFor(49, 100), 3);
    EXPECT_EQ(MapNode::mapX(-1), 0); // off the map: no table lookup
    EXPECT_EQ(MapNode::mapY(50), 0);
}

} // namespace
