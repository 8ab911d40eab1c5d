#include "game/creatures/Angler.h"
#include "game/creatures/KindWorld.h"

#include <gtest/gtest.h>

namespace {

class AnglerTest : public leveltest::KindWorld {
protected:
    AnglerTest() { startSound({ "anglerseesyou", "bubblehit", "pop" }); }

    std::pair<float, float> at(const Sprite* sprite) const { return { sprite->x, sprite->y }; }
};

TEST_F(AnglerTest, PatrolsItsRowWithItsLureAglowUntilTheFishComesWithin164)
{
    buildMap({ "##########", "#........#", "##########" });
    Angler* angler = place<Angler>(5, 1);
    EXPECT_EQ(1.0f, angler->lure.frame);
    run(angler, 0.01f);
    EXPECT_TRUE(angler->moving);
    EXPECT_EQ(120.0f, angler->xTween.target) << "first along its row to the left";
    EXPECT_FALSE(angler->flipH);
    run(angler, 2.5f);
    EXPECT_EQ(680.0f, angler->xTween.target) << "then back to the right";
    EXPECT_TRUE(angler->flipH);
    EXPECT_LT(angler->lure.alpha, 128.0f);
    EXPECT_GE(angler->lure.alpha, 64.0f);

    Player* player = makePlayer(angler->x + 165.0f, 120.0f);
    angler->update(0.001f);
    EXPECT_FALSE(angler->chasing);
    player->x = angler->x + 163.0f;
    angler->update(0.001f);
    EXPECT_TRUE(angler->chasing);
    EXPECT_FALSE(angler->moving) << "the patrol is given up at once";
    EXPECT_EQ(1u, played("anglerseesyou").size());
}

TEST_F(AnglerTest, ChasesAt250PixelsASecondUntilItBitesAt64OrTheFishIsBeyond300)
{
    buildMap(std::vector<std::string>(9, std::string(20, '.')));
    Angler* angler = place<Angler>(5, 4);
    Player* player = makePlayer(440 + 60, 360 + 80);
    angler->update(0.01f);
    ASSERT_TRUE(angler->chasing);
    EXPECT_EQ(std::make_pair(440.0f, 360.0f), at(angler));
    angler->update(0.1f);
    EXPECT_EQ(std::make_pair(455.0f, 380.0f), at(angler)) << "25 pixels straight at the fish";
    EXPECT_TRUE(angler->flipH);
    EXPECT_FALSE(player->dead) << "75 pixels away";
    angler->update(0.1f);
    EXPECT_TRUE(player->dead) << "50 pixels away";

    player->dead = false;
    player->setPosition(static_cast<int>(angler->x) - 100, static_cast<int>(angler->y));
    angler->update(0.1f);
    EXPECT_FALSE(angler->flipH) << "turned to the fish on its left";
    player->setPosition(static_cast<int>(angler->x) + 25 + 301, static_cast<int>(angler->y));
    angler->update(0.1f);
    EXPECT_FALSE(angler->chasing) << "the fish got away";
    EXPECT_FALSE(angler->moving);
    angler->update(0.01f);
    EXPECT_TRUE(angler->moving) << "patrolling again from where it gave up";
}

TEST_F(AnglerTest, SlidesAlongTheRockBetweenItAndTheFishAndStaysPutInACorner)
{
    buildMap({ "#####", "#...#", "#...#", "#####" });
    Angler* angler = place<Angler>(1, 1);
    angler->setPosition(150, 95);
    angler->chasing = true;
    makePlayer(250, 0);
    angler->update(0.1f);
    EXPECT_EQ(std::make_pair(168.0f, 95.0f), at(angler)) << "along the roof";
    angler->update(0.1f);
    EXPECT_EQ(std::make_pair(184.0f, 95.0f), at(angler));

    angler->setPosition(85, 85);
    Game::instance()->player->setPosition(0, 0);
    run(angler, 1.0f, 0.1f);
    EXPECT_EQ(std::make_pair(85.0f, 85.0f), at(angler)) << "rock above, beside and diagonally";
    EXPECT_TRUE(angler->chasing);
}

TEST_F(AnglerTest, ATrappedAnglerCannotBiteButChasesOnOnceTheBubbleBursts)
{
    buildMap(std::vector<std::string>(9, std::string(20, '.')));
    Angler* angler = place<Angler>(5, 4);
    Player* player = makePlayer(440 + 100, 360);
    angler->update(0.01f);
    ASSERT_TRUE(angler->chasing);
    angler->trap(5.0f);
    player->setPosition(445, 360);
    run(angler, 4.0f, 0.1f);
    EXPECT_FALSE(player->dead);
    EXPECT_EQ(std::make_pair(440.0f, 360.0f), at(angler));
    EXPECT_TRUE(angler->chasing);

    player->setPosition(440 + 150, 360);
    run(angler, 1.1f, 0.1f);
    EXPECT_EQ(0.0f, angler->trapTime);
    EXPECT_GT(angler->x, 440.0f) << "after the fish again";
    EXPECT_EQ(360.0f, angler->y);
    EXPECT_TRUE(angler->chasing);
}

} // namespace
