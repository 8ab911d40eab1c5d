#include "game/creatures/HazardWorld.h"

#include "game/creatures/Crate.h"
#include "game/creatures/Leviathan.h"
#include "game/creatures/LeviathanShot.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using hazardtest::DT;
using hazardtest::HazardWorld;

// The leviathan in the corner of its hall, as in its level: coiled over
// cells (0-3, 0-4), its rock at (3, 6) and (3, 7) sealing the vault below.
class LeviathanTest : public HazardWorld {
protected:
    LeviathanTest()
    {
        hazardtest::writePictures("leviathan.dat", 11, 460, 460);
        hazardtest::writePictures("levshot.dat", 1, 44, 44);
        startSound({ "bubble", "bubblehit", "pop", "ow", "levlaser", "levow", "levdie" });
        buildMap({ "..........", "..........", "..........", "..........", "..........", "###.......",
            "##########", "##########", "##.......#", "##########" });
        leviathan = place<Leviathan>(1, 4);
    }

    std::vector<LeviathanShot*> shots() const
    {
        std::vector<LeviathanShot*> found;
        for (Creature* creature : game.creatures) {
            if (auto* shot = dynamic_cast<LeviathanShot*>(creature)) {
                found.push_back(shot);
            }
        }
        return found;
    }

    // A shot dropped into the level by hand, as if just fired.
    LeviathanShot* shotAt(float x, float y)
    {
        auto* shot = new LeviathanShot(leviathan->shotSpeed());
        shot->setPosition(static_cast<int>(x), static_cast<int>(y));
        game.addCreature(shot);
        return shot;
    }

    // A fish that notices each touch but lives on, so one run can count them.
    Player* watchfulFish(float x, float y)
    {
        Player* fish = makePlayer(x, y);
        Creature::hurtPlayer = [this](Player&) { ++hurts; };
        return fish;
    }

    Leviathan* leviathan = nullptr;
    int hurts = 0;
};

TEST_F(LeviathanTest, VolleysOfThreeShotsHalfASecondApartFromItsJawsComeFasterAsItWeakens)
{
    EXPECT_TRUE(leviathan->bubbleProof);
    game.frozen = true;
    run(5.0f);
    EXPECT_EQ(12, game.bossHitPointsMax) << "on the bar while the banner shows";
    EXPECT_EQ(12, game.bossHitPoints);
    EXPECT_TRUE(shots().empty()) << "nothing happens in a frozen level";
    game.frozen = false;

    run(3.05f);
    EXPECT_TRUE(shots().empty());
    run(0.1f);
    ASSERT_EQ(1u, shots().size());
    EXPECT_EQ(std::make_pair(320.0f, 200.0f), std::make_pair(shots()[0]->x, shots()[0]->y))
        << "200 right of the leviathan and 160 up: just outside what it swallows";
    EXPECT_EQ(100.0f, shots()[0]->speed);
    EXPECT_EQ("break", leviathan->animationName);
    EXPECT_EQ(1u, played("levlaser").size());

    run(0.4f);
    EXPECT_EQ(1u, shots().size());
    run(0.1f);
    EXPECT_EQ(2u, shots().size());
    run(0.5f);
    EXPECT_EQ(3u, shots().size());
    run(6.0f);
    EXPECT_EQ(3u, shots().size()) << "the pause after a volley";
    run(0.2f);
    EXPECT_EQ(4u, shots().size());
    EXPECT_EQ(4u, played("levlaser").size());

    // Weakened, it fires faster shots.
    leviathan->hitPoints = 1;
    run(0.5f);
    ASSERT_EQ(5u, shots().size());
    EXPECT_EQ(210.0f, shots()[4]->speed);
}

TEST_F(LeviathanTest, AShotHomesOnTheFishStrikesWithinThirtyTwoAndFadesAfterFiveSeconds)
{
    Player* fish = watchfulFish(600, 200);
    LeviathanShot* shot = shotAt(400, 200);
    step(shot, 1.0f);
    EXPECT_NEAR(500.0f, shot->x, 0.5f) << "100 pixels a second";
    step(shot, 0.66f);
    EXPECT_EQ(0, hurts) << "34 pixels away";
    step(shot, 0.03f);
    EXPECT_GT(hurts, 0);

    fish->y = 800.0f;
    const int before = hurts;
    step(shot, 3.3f);
    EXPECT_NEAR(529.0f, shot->y, 3.0f) << "it turns after the fish";
    EXPECT_NEAR(586.0f, shot->x, 3.0f);
    step(shot, 0.05f);
    EXPECT_TRUE(shot->fading) << "five seconds on";
    const float y = shot->y;
    fish->y = shot->y;
    step(shot, 0.15f);
    EXPECT_EQ(y, shot->y) << "a fading shot is spent";
    EXPECT_EQ(before, hurts);
    EXPECT_TRUE(shot->visible);
    step(shot, 0.1f);
    EXPECT_FALSE(shot->visible);
}

TEST_F(LeviathanTest, AShotThatNoBubbleCarriesIsNeverSwallowed)
{
    // Wherever the fish waits outside the coils - right of the jaws, in the
    // pit under them, above them, far off - the shots come at it without
    // passing over the leviathan's head.
    Player* fish = watchfulFish(0, 0);
    for (std::pair<float, float> spot : { std::make_pair(440.0f, 200.0f), std::make_pair(250.0f, 440.0f),
             std::make_pair(360.0f, 40.0f), std::make_pair(640.0f, 480.0f) }) {
        for (LeviathanShot* shot : shots()) {
            shot->visible = false;
        }
        fish->x = spot.first;
        fish->y = spot.second;
        hurts = 0;
        run(15.0f);
        EXPECT_EQ(12, leviathan->hitPoints) << "fish at " << spot.first << ", " << spot.second;
        EXPECT_GT(hurts, 0) << "the shots did reach it";
    }
    EXPECT_TRUE(played("levow").empty());
}

TEST_F(LeviathanTest, ShotsCarriedIntoItsMouthEachCostAHitPointEvenWhileItBlinks)
{
    Player* fish = watchfulFish(522, 200);
    fish->setFacing(false);
    run(3.8f);
    ASSERT_EQ(2u, shots().size());
    fish->onAction("fire", true);
    fish->onAction("fire", false);
    run(0.15f);
    EXPECT_NEAR(fish->bubble.x, shots()[0]->x, 5.0f) << "the bubble drags the shot along, a frame behind";
    run(0.35f);
    EXPECT_EQ(9, leviathan->hitPoints) << "the bubble swept up all three";
    EXPECT_EQ(3u, played("levow").size());
    EXPECT_EQ(0, hurts);
    for (LeviathanShot* shot : shots()) {
        EXPECT_FALSE(shot->visible);
        EXPECT_EQ(0.0f, shot->alpha);
    }
    EXPECT_TRUE(leviathan->alphaTween.active) << "blinking";
    EXPECT_EQ(9, game.bossHitPoints);

    // Anything else that drifts into the water above its head goes the same
    // way, bubble and all, while it still blinks.
    run(0.4f);
    ASSERT_TRUE(leviathan->alphaTween.active);
    auto* stray = place<Crate>(1, 1);
    stray->bubble.visible = true;
    run(DT);
    EXPECT_FALSE(stray->visible);
    EXPECT_FALSE(stray->bubble.visible);
    EXPECT_EQ(8, leviathan->hitPoints);
    EXPECT_EQ(255.0f, leviathan->alpha) << "each hit starts the blink again from full sight";
    run(1.55f);
    EXPECT_TRUE(leviathan->alphaTween.active);
    run(0.1f);
    EXPECT_FALSE(leviathan->alphaTween.active) << "eight runs of 0.2 seconds";
    EXPECT_EQ(255.0f, leviathan->alpha);
}

TEST_F(LeviathanTest, BeatenItFadesAndItsRockCrumblesInTwoSteps)
{
    leviathan->hitPoints = 1;
    shotAt(120, 160);
    LeviathanShot* second = shotAt(130, 160);
    run(DT);
    EXPECT_TRUE(leviathan->defeated());
    EXPECT_EQ(0, leviathan->hitPoints);
    EXPECT_TRUE(second->visible) << "nothing more is swallowed once it is beaten";
    EXPECT_EQ(1u, played("levdie").size());
    EXPECT_TRUE(played("levow").empty());

    run(0.95f);
    EXPECT_EQ(0, game.bossHitPoints);
    EXPECT_EQ(12, game.bossHitPointsMax);
    EXPECT_TRUE(mainLayer.isTileBlocked(3, 6));
    EXPECT_TRUE(mainLayer.isTileBlocked(3, 7));
    run(0.1f);
    EXPECT_EQ(TileMap::WATER, mainLayer.getTile(3, 6));
    EXPECT_EQ(0, mainLayer.getTile(3, 7)) << "the lower block cracks";
    EXPECT_EQ(0.0f, leviathan->alpha) << "faded out over the second";
    run(0.6f);
    EXPECT_TRUE(mainLayer.isTileBlocked(3, 7));
    run(0.1f);
    EXPECT_EQ(TileMap::WATER, mainLayer.getTile(3, 7));

    mainLayer.setTile(3, 6, 0);
    run(3.0f);
    EXPECT_EQ(0, mainLayer.getTile(3, 6)) << "two steps, then nothing more";
    EXPECT_EQ(2u, shots().size()) << "no more volleys";
}

TEST_F(LeviathanTest, ItsCoilsHurtAFishLeftOf320AndAbove400WhereverItIsDrawnUntilItIsBeaten)
{
    Player* fish = watchfulFish(320, 399);
    leviathan->setPosition(600, 600);
    run(DT);
    EXPECT_EQ(0, hurts);
    fish->x = 319;
    run(DT);
    EXPECT_EQ(1, hurts);
    fish->y = 400;
    run(DT);
    EXPECT_EQ(1, hurts);

    fish->y = 10;
    leviathan->hitPoints = 0;
    run(DT);
    EXPECT_EQ(1, hurts) << "a beaten leviathan is harmless";
}

} // namespace
