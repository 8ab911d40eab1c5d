#include "engine/media/Layer.h"
#include "engine/media/Screen.h"

#include <gtest/gtest.h>

TEST(Layer, OnScreenIncludesBothEdgesAndAddsTheScroll)
{
    Screen screen(100, 50, false, true);
    Layer layer;
    EXPECT_TRUE(layer.isOnScreen(0, 0));
    EXPECT_TRUE(layer.isOnScreen(100, 50));
    EXPECT_FALSE(layer.isOnScreen(101, 10));
    EXPECT_FALSE(layer.isOnScreen(10, 51));
    EXPECT_FALSE(layer.isOnScreen(-1, 10));

    layer.scrollX = -1000;
    layer.scrollY = 20;
    EXPECT_TRUE(layer.isOnScreen(1000, -20));
    EXPECT_TRUE(layer.isOnScreen(1100, 30));
    EXPECT_FALSE(layer.isOnScreen(999, 0));
    EXPECT_FALSE(layer.isOnScreen(1000, 31));
}

TEST(Layer, OnScreenFollowsTheScreenSize)
{
    Screen screen(100, 50, false, true);
    Layer layer;
    EXPECT_FALSE(layer.isOnScreen(300, 200));
    screen.changeResolution(400, 300);
    EXPECT_TRUE(layer.isOnScreen(300, 200));
}
