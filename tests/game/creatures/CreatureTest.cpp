#include "game/creatures/LevelWorld.h"

#include "engine/media/ParticleSystem.h"

#include <gtest/gtest.h>

namespace {

class CountingCreature : public Creature {
public:
    void bubblePopped() override { ++pops; }
    int pops = 0;
};

class CreatureTest : public leveltest::LevelWorld {
protected:
    CreatureTest()
    {
        startSound({ "bubblehit", "pop", "growl" });
        game.emitters[0] = &emitter;
        creature = new CountingCreature();
        creature->setPosition(400, 300);
        game.addCreature(creature);
    }

    ~CreatureTest() override { Creature::hurtPlayer = nullptr; }

    // Steps of 0.1 s until the bubble bursts; how many it took.
    int stepsUntilFree()
    {
        for (int step = 1; step <= 100; ++step) {
            creature->update(0.1f);
            EXPECT_EQ(creature->offsetX, creature->bubble.offsetX);
            if (creature->trapTime == 0.0f) {
                return step;
            }
            EXPECT_EQ(creature->trapTime < 1.0f, creature->shake.active) << creature->trapTime;
        }
        return -1;
    }

    ParticleSystem emitter;
    CountingCreature* creature = nullptr;
};

TEST_F(CreatureTest, ATrappedCreatureHangsStillShakesInItsLastSecondAndPopsOnce)
{
    creature->moveTo(600, 300, 100.0f);
    creature->trap(5.0f);
    EXPECT_TRUE(creature->bubble.visible);
    int steps = stepsUntilFree();
    EXPECT_TRUE(steps == 50 || steps == 51) << steps;
    EXPECT_EQ(400.0f, creature->x);
    EXPECT_FALSE(creature->bubble.visible);
    EXPECT_FALSE(creature->shake.active);
    EXPECT_EQ(0, creature->offsetX);
    EXPECT_EQ(20u, emitter.particles.size());
    for (int i = 0; i < 10; ++i) {
        creature->update(0.1f);
    }
    EXPECT_GT(creature->x, 400.0f) << "free again, it carries on";
    EXPECT_EQ(1, creature->pops);
    EXPECT_EQ((std::vector<std::string> { "100 50" }), played("bubblehit"));
    EXPECT_EQ((std::vector<std::string> { "100 50" }), played("pop"));
}

TEST_F(CreatureTest, BubblesBurstAtZeroAndHiddenCreaturesBurstSilently)
{
    creature->trap(1.0f);
    creature->update(0.5f);
    creature->update(0.5f);
    EXPECT_FALSE(creature->bubble.visible) << "a time run out to exactly 0 frees it";
    EXPECT_EQ(1, creature->pops);

    creature->trap(0.5f);
    creature->visible = false;
    EXPECT_EQ(6, stepsUntilFree());
    EXPECT_FALSE(creature->bubble.visible);
    EXPECT_EQ(1, creature->pops);
    EXPECT_EQ(1u, played("pop").size());
    EXPECT_EQ(20u, emitter.particles.size());

    game.emitters[0] = nullptr;
    creature->visible = true;
    creature->trap(0.25f);
    EXPECT_EQ(3, stepsUntilFree()) << "no emitter, no particles, still a pop";
    EXPECT_EQ(2, creature->pops);

    creature->trap(0.0f);
    EXPECT_FALSE(creature->bubble.visible) << "a bubble of no time traps nothing";
}

TEST_F(CreatureTest, TrappingAgainRestartsTheTimeAndStopsTheShake)
{
    creature->trap(5.0f);
    for (int i = 0; i < 45; ++i) {
        creature->update(0.1f);
    }
    ASSERT_TRUE(creature->shake.active);
    creature->trap(5.0f);
    EXPECT_FLOAT_EQ(5.0f, creature->trapTime);
    EXPECT_FALSE(creature->shake.active);
    EXPECT_GE(stepsUntilFree(), 50);
    EXPECT_EQ(1, creature->pops);
}

TEST_F(CreatureTest, AFrozenGameStopsTheBubbleClock)
{
    creature->trap(5.0f);
    game.frozen = true;
    for (int i = 0; i < 100; ++i) {
        creature->update(0.1f);
    }
    EXPECT_FLOAT_EQ(5.0f, creature->trapTime);
    game.frozen = false;
    creature->update(0.1f);
    EXPECT_FLOAT_EQ(4.9f, creature->trapTime);
}

TEST_F(CreatureTest, SoundsFadeWithTheDistanceFromTheFishAndLeanToTheirSide)
{
    EXPECT_TRUE(creature->playSoundAt("growl")) << "without a fish, as loud as can be";
    makePlayer(400, 300);
    EXPECT_TRUE(creature->playSoundAt("growl"));
    creature->x = 800;
    EXPECT_TRUE(creature->playSoundAt("growl"));
    creature->x = 0;
    EXPECT_TRUE(creature->playSoundAt("growl"));
    creature->x = 1200;
    EXPECT_FALSE(creature->playSoundAt("growl"));
    creature->x = 400;
    creature->y = -600;
    EXPECT_FALSE(creature->playSoundAt("growl"));
    // At 400 pixels three quarters of full volume (191 of 255).
    EXPECT_EQ((std::vector<std::string> { "100 50", "100 50", "74 74", "74 25" }), played("growl"));
}

TEST_F(CreatureTest, OnlyALiveFishWithinTheDistanceIsHurt)
{
    EXPECT_FALSE(creature->hurtPlayerOnContact()) << "no fish";
    Player* player = makePlayer(400 + 63, 300);
    int hurts = 0;
    Creature::hurtPlayer = [&hurts](Player&) { ++hurts; };
    EXPECT_TRUE(creature->hurtPlayerOnContact());
    player->x = 400 + 64;
    EXPECT_FALSE(creature->hurtPlayerOnContact());
    player->x = 400;
    player->dead = true;
    EXPECT_FALSE(creature->hurtPlayerOnContact());
    EXPECT_EQ(1, hurts);
}

} // namespace
