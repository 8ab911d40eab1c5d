#include "game/creatures/HazardWorld.h"

#include "game/creatures/BigBossBird.h"
#include "game/creatures/Gust.h"
#include "game/creatures/Spikes.h"
#include "game/play/LevelLoader.h"
#include "game/play/Treasure.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using hazardtest::DT;
using State = BigBossBird::State;

// A beach ten cells wide: the bird's row is row 2 (y = 200), the sand is
// row 5, and column 4 is a pit down to row 5 with spikes at its bottom.
class BigBossBirdTest : public leveltest::LevelWorld {
protected:
    BigBossBirdTest()
    {
        hazardtest::releaseKeys();
        DatafileWriter pictures;
        hazardtest::addPictures(pictures.addNested("FLY"), 10, 300, 300);
        hazardtest::addPictures(pictures.addNested("DIVE"), 1, 130, 250);
        pictures.addData({ 0 });
        pictures.save("dat/bigbossbird.dat");
        hazardtest::writePictures("gust.dat", 1, 96, 96);
        startSound({ "ow", "seagull", "bigseagull-hit", "bubblehit", "pop" });
        buildMap({ "..........", "..........", "..........", "..........", "..........", "####.#####",
            "##########" });
        bird = new BigBossBird();
        game.addCreature(bird);
    }

    ~BigBossBirdTest() override
    {
        Creature::hurtPlayer = nullptr;
        hazardtest::releaseKeys();
    }

    void step(float seconds)
    {
        for (float t = 0.0f; t < seconds - DT / 2; t += DT) {
            bird->update(DT);
            for (Treasure* treasure : game.treasures) {
                treasure->update(DT);
            }
        }
    }

    // Runs the bird until it is in the given state; false if it never gets
    // there within the time.
    bool runUntil(int state, float seconds = 10.0f)
    {
        for (float t = 0.0f; t < seconds; t += DT) {
            step(DT);
            if (bird->state == state) {
                return true;
            }
        }
        return false;
    }

    std::vector<Gust*> gusts() const
    {
        std::vector<Gust*> found;
        for (Creature* creature : game.creatures) {
            if (auto* gust = dynamic_cast<Gust*>(creature)) {
                found.push_back(gust);
            }
        }
        return found;
    }

    Spikes* spikesAt(int column, int row, bool hanging = false)
    {
        auto* spikes = new Spikes(hanging);
        game.addCreature(spikes);
        spikes->setPosition(column * 80 + 40, row * 80 + 40);
        return spikes;
    }

    // Holds the fish in the air over the column until the bird stops over
    // it, then takes it well out of the way of the dive.
    void lure(Player* fish, int column)
    {
        fish->x = static_cast<float>(column * 80 + 40);
        fish->y = 300.0f;
        ASSERT_TRUE(runUntil(State::SPOT)) << "the bird never saw the fish in column " << column;
        fish->x = 40.0f;
        fish->y = 390.0f;
    }

    BigBossBird* bird = nullptr;
};

TEST_F(BigBossBirdTest, ItHoversThrowsAGustAndCrossesToTheOtherEndEachWayInTurn)
{
    EXPECT_TRUE(bird->bubbleProof);
    EXPECT_EQ(std::make_pair(740.0f, 200.0f), std::make_pair(bird->x, bird->y));
    EXPECT_EQ(State::HOVER, bird->state);
    EXPECT_EQ(10, bird->datafile.count) << "its flying pictures";
    EXPECT_EQ("fly", bird->animationName);
    EXPECT_FALSE(bird->flipH) << "it starts at the right end, facing left";
    bird->update(DT);
    EXPECT_EQ(3, game.bossHitPointsMax);
    EXPECT_EQ(3, game.bossHitPoints);

    step(0.48f);
    EXPECT_EQ(State::HOVER, bird->state);
    EXPECT_TRUE(gusts().empty());
    step(0.02f);
    ASSERT_EQ(State::THROW, bird->state);
    ASSERT_EQ(1u, gusts().size());
    Gust* first = gusts()[0];
    EXPECT_EQ(std::make_pair(740.0f, 200.0f), std::make_pair(first->x, first->y));
    EXPECT_EQ(300.0f, first->speed);
    EXPECT_FALSE(first->movingRight);
    EXPECT_FALSE(bird->moving) << "it waits while it throws";

    step(0.98f);
    EXPECT_EQ(State::THROW, bird->state);
    ASSERT_TRUE(runUntil(State::CROSS, 0.05f)) << "a second of throwing";
    EXPECT_TRUE(bird->leftSide);
    EXPECT_EQ(120.0f, bird->xTween.target);
    step(1.0f);
    EXPECT_NEAR(740.0f - 300.0f, bird->x, 4.0f) << "300 pixels a second";
    EXPECT_EQ(200.0f, bird->y);

    ASSERT_TRUE(runUntil(State::HOVER));
    EXPECT_EQ(120.0f, bird->x);
    EXPECT_TRUE(bird->flipH) << "at the left end it faces right";
    // A bird that has lost a hit point throws and crosses rightwards faster.
    bird->hitPoints = 2;
    ASSERT_TRUE(runUntil(State::THROW));
    ASSERT_EQ(2u, gusts().size());
    EXPECT_TRUE(gusts()[1]->movingRight);
    EXPECT_EQ(325.0f, gusts()[1]->speed);
    ASSERT_TRUE(runUntil(State::CROSS));
    EXPECT_FALSE(bird->leftSide);
    EXPECT_EQ(680.0f, bird->xTween.target);
    step(1.0f);
    EXPECT_NEAR(120.0f + 325.0f, bird->x, 4.0f);

    // Leftwards it keeps the pace of an unhurt bird, however weak it is.
    bird->hitPoints = 1;
    ASSERT_TRUE(runUntil(State::HOVER));
    EXPECT_EQ(680.0f, bird->x);
    EXPECT_FALSE(bird->flipH);
    ASSERT_TRUE(runUntil(State::THROW));
    EXPECT_EQ(350.0f, gusts().back()->speed);
    EXPECT_FALSE(gusts().back()->movingRight);
    ASSERT_TRUE(runUntil(State::CROSS));
    step(1.0f);
    EXPECT_NEAR(680.0f - 300.0f, bird->x, 4.0f);
    EXPECT_TRUE(played("seagull").empty()) << "no fish, no dive";

    // On the way it knocks out a fish that comes within 64 pixels.
    Player* fish = makePlayer(bird->x + 70.0f, 200.0f);
    step(DT);
    EXPECT_FALSE(fish->dead);
    fish->x = bird->x - 55.0f;
    fish->y = bird->y + 20.0f;
    step(DT);
    EXPECT_TRUE(fish->dead);
}

TEST_F(BigBossBirdTest, ItStopsOverAFishBelowDivesToTheGroundAndClimbsBackOnceACrossing)
{
    Player* fish = makePlayer(520.0f, 390.0f);
    ASSERT_TRUE(runUntil(State::SPOT));
    EXPECT_EQ(6, Creature::cellOf(bird->x)) << "it stops on entering the fish's column";
    EXPECT_FALSE(bird->moving);
    const float spottedAt = bird->x;
    fish->x = 200.0f; // away from under it

    step(0.23f);
    EXPECT_EQ(State::SPOT, bird->state);
    EXPECT_EQ(spottedAt, bird->x);
    step(0.02f);
    ASSERT_EQ(State::DIVE, bird->state);
    EXPECT_EQ(1, bird->datafile.count) << "the diving picture";
    EXPECT_EQ(0.0f, bird->frame);
    EXPECT_FALSE(bird->frameTween.active);
    EXPECT_EQ(1u, played("seagull").size());
    EXPECT_EQ(360.0f, bird->yTween.target) << "the last open cell above the sand";
    EXPECT_EQ(200.0f, bird->cruiseY);
    step(0.1f);
    EXPECT_NEAR(260.0f, bird->y, 7.0f) << "600 pixels a second";

    ASSERT_TRUE(runUntil(State::CLIMB, 0.3f));
    EXPECT_EQ(360.0f, bird->y);
    EXPECT_TRUE(bird->dived);
    EXPECT_EQ(10, bird->datafile.count);
    EXPECT_EQ("fly", bird->animationName);
    EXPECT_EQ(200.0f, bird->yTween.target);

    ASSERT_TRUE(runUntil(State::CROSS, 0.3f));
    EXPECT_EQ(200.0f, bird->y);
    EXPECT_TRUE(bird->leftSide) << "it carries on the way it was going";
    EXPECT_EQ(120.0f, bird->xTween.target);
    EXPECT_EQ(3, bird->hitPoints) << "nothing sharp down there";
    EXPECT_FALSE(fish->dead);

    // Once per crossing: a fish under it again is left alone until it has
    // hovered at the end of its row.
    fish->x = bird->x - 80.0f;
    ASSERT_TRUE(runUntil(State::HOVER));
    EXPECT_EQ(1u, played("seagull").size());
    EXPECT_FALSE(bird->dived);

    // Rock between the bird and the fish hides it, and so does death.
    fish->setPosition(280, 440);
    ASSERT_TRUE(runUntil(State::CROSS));
    ASSERT_TRUE(runUntil(State::HOVER));
    EXPECT_EQ(1u, played("seagull").size());
    fish->setPosition(440, 390);
    fish->dead = true;
    ASSERT_TRUE(runUntil(State::CROSS));
    ASSERT_TRUE(runUntil(State::HOVER));
    EXPECT_EQ(1u, played("seagull").size());
}

TEST_F(BigBossBirdTest, SpikesUnderItsDiveCostItAHitPointOncePerBlink)
{
    spikesAt(4, 5);
    spikesAt(4, 4, true); // passed on the same climb, while it still blinks
    Player* fish = makePlayer(40.0f, 390.0f);

    lure(fish, 4);
    ASSERT_TRUE(runUntil(State::CLIMB));
    EXPECT_EQ(440.0f, bird->y) << "down into the pit, onto the spikes";
    EXPECT_EQ(3, bird->hitPoints) << "hurt as it climbs away";
    step(DT);
    EXPECT_EQ(2, bird->hitPoints);
    EXPECT_TRUE(bird->alphaTween.active && bird->alphaTween.pingPong) << "it blinks";
    EXPECT_EQ(1u, played("bigseagull-hit").size());
    ASSERT_TRUE(runUntil(State::CROSS));
    EXPECT_EQ(2, bird->hitPoints) << "the second spikes came while it blinked";
    EXPECT_EQ(1u, played("bigseagull-hit").size());
    bird->update(DT);
    EXPECT_EQ(2, game.bossHitPoints);

    // The next crossing goes rightwards; the same trick works from the
    // other side.
    ASSERT_TRUE(runUntil(State::HOVER));
    lure(fish, 4);
    EXPECT_EQ(4, Creature::cellOf(bird->x));
    ASSERT_TRUE(runUntil(State::CROSS));
    EXPECT_EQ(1, bird->hitPoints);
    EXPECT_EQ(2u, played("bigseagull-hit").size());
    EXPECT_FALSE(fish->dead);
}

TEST_F(BigBossBirdTest, TheBeatenBirdFadesStopsFightingAndCallsItsChestToIt)
{
    spikesAt(4, 5);
    Treasure* chest = LevelLoader(game).addTreasure(8, 6, Treasure::CHEST, 0, 0);
    Treasure* gem = LevelLoader(game).addTreasure(9, 6, 1, 0, 0);
    Player* fish = makePlayer(40.0f, 390.0f);
    bird->hitPoints = 1;

    lure(fish, 4);
    ASSERT_TRUE(runUntil(State::CLIMB));
    bird->update(DT);
    EXPECT_TRUE(bird->defeated());
    EXPECT_TRUE(bird->alphaTween.active && !bird->alphaTween.pingPong) << "it fades instead of blinking";
    EXPECT_EQ(1u, played("bigseagull-hit").size());
    EXPECT_EQ(std::make_pair(680.0f, 520.0f), std::make_pair(chest->x, chest->y))
        << "the chest stays put while the bird can fight";
    EXPECT_EQ(0, game.bossHitPoints);
    EXPECT_EQ(3, game.bossHitPointsMax);

    // It finishes its climb and fades there; the chest flies to it, 200
    // pixels a second along each axis.
    const std::size_t gustsThrown = gusts().size();
    step(0.1f);
    EXPECT_NEAR(680.0f - 20.0f, chest->x, 3.0f);
    EXPECT_LT(chest->y, 520.0f - 15.0f);
    step(3.0f);
    EXPECT_EQ(0.0f, bird->alpha);
    EXPECT_EQ(200.0f, bird->y);
    EXPECT_EQ(State::CLIMB, bird->state) << "a beaten bird crosses and dives no more";
    EXPECT_EQ(gustsThrown, gusts().size());
    EXPECT_NEAR(bird->x, chest->x, 1.0f);
    EXPECT_NEAR(bird->y, chest->y, 1.0f);
    EXPECT_EQ(std::make_pair(760.0f, 520.0f), std::make_pair(gem->x, gem->y)) << "only the first treasure";

    Player* another = makePlayer(bird->x, bird->y);
    step(0.1f);
    EXPECT_FALSE(another->dead) << "it hurts nobody once beaten";
}

} // namespace
