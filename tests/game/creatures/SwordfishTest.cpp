#include "game/creatures/LevelWorld.h"

#include "engine/media/ParticleSystem.h"
#include "game/creatures/Swordfish.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr float DT = 0.01f;
// The duel's row of an open hall 20 cells (1600 pixels) wide.
constexpr float ROW_Y = 200.0f;

class SwordfishTest : public leveltest::LevelWorld {
protected:
    SwordfishTest()
    {
        for (int code = 0; code < KEY_MAX; ++code) {
            key[code] = 0;
        }
        buildMap({ "....................", "....................", "....................",
            "....................", "...................." });
        startSound(
            { "swordfish_laugh", "swordfish_hit", "swordfish_lose", "swordclash", "swordclash2", "ow" });
        game.emitters[0] = &sparks;
    }

    ~SwordfishTest() override
    {
        game.emitters[0] = nullptr;
        Creature::hurtPlayer = nullptr;
    }

    Swordfish* placeSwordfish(float x)
    {
        auto* swordfish = new Swordfish();
        game.addCreature(swordfish);
        swordfish->setPosition(static_cast<int>(x), static_cast<int>(ROW_Y));
        return swordfish;
    }

    // Only the swordfish moves; the fish stays put.
    static void step(Swordfish* swordfish, float seconds)
    {
        for (float t = 0.0f; t < seconds - DT / 2; t += DT) {
            swordfish->update(DT);
        }
    }

    // Runs the swordfish until its next attack begins.
    static void untilItAttacks(Swordfish* swordfish)
    {
        for (int frames = 0; frames < 500 && !swordfish->attacking(); ++frames) {
            swordfish->update(DT);
        }
        ASSERT_TRUE(swordfish->attacking());
    }

    static void untilTheAttackEnds(Swordfish* swordfish)
    {
        while (swordfish->attacking()) {
            swordfish->update(DT);
        }
    }

    // The fish and the swordfish together, at the game's pace.
    void run(float seconds)
    {
        for (float t = 0.0f; t < seconds - DT / 2; t += DT) {
            game.screen->update(DT);
        }
    }

    // Blades ring at a pitch of their own, so every playing counts.
    size_t clashes() const
    {
        size_t count = 0;
        for (const char* name : { "swordclash", "swordclash2" }) {
            std::string prefix = "playSample "
                + std::to_string(sound->samples.at("sfx/" + std::string(name) + ".ogg")) + " ";
            for (const std::string& call : RecordingAudioDevice::named(*calls, "playSample")) {
                count += call.rfind(prefix, 0) == 0 ? 1 : 0;
            }
        }
        return count;
    }

    ParticleSystem sparks;
};

TEST_F(SwordfishTest, StalksTwoHundredPixelsOffFasterAsItWeakensAndKeepsToTheHall)
{
    Player* fish = makePlayer(400, ROW_Y);
    Swordfish* swordfish = placeSwordfish(1000);
    EXPECT_EQ(1u, played("swordfish_laugh").size()) << "it laughs as it comes";
    swordfish->attackTimer = 100.0f;
    step(swordfish, 0.1f);
    float from = swordfish->x;
    step(swordfish, 0.5f);
    EXPECT_NEAR(40.0f, from - swordfish->x, 0.1f) << "80 pixels a second with all 4 hit points";
    swordfish->hitPoints = 1;
    step(swordfish, 0.1f);
    from = swordfish->x;
    step(swordfish, 0.5f);
    EXPECT_NEAR(70.0f, from - swordfish->x, 0.1f) << "140 pixels a second with 1 left";
    step(swordfish, 5.0f);
    EXPECT_EQ(600.0f, swordfish->x) << "it waits 200 pixels off";
    EXPECT_EQ(ROW_Y, swordfish->y) << "in its own row";

    // Frozen, it neither moves nor counts down to its first attack.
    fish->x = 300.0f;
    const float timer = swordfish->attackTimer;
    game.frozen = true;
    step(swordfish, 3.0f);
    EXPECT_EQ(600.0f, swordfish->x);
    EXPECT_EQ(timer, swordfish->attackTimer);
    game.frozen = false;

    // Near the end of the level it stops 160 pixels short of the edge.
    fish->x = 1350.0f;
    swordfish->x = 1550.0f;
    step(swordfish, 0.01f);
    EXPECT_EQ(1440.0f, swordfish->x);
    step(swordfish, 2.0f);
    EXPECT_EQ(1440.0f, swordfish->x);
}

TEST_F(SwordfishTest, ItsBlowKillsInside160AndOnlyClashesBlades160To220OncePerAttack)
{
    Player* fish = makePlayer(780, ROW_Y + 160);
    Swordfish* swordfish = placeSwordfish(900);
    swordfish->attackTimer = 0.0f;
    step(swordfish, 0.01f);
    ASSERT_TRUE(swordfish->attacking());
    const float seconds = swordfish->frameTween.duration;
    EXPECT_GE(seconds, 1.15f);
    EXPECT_LE(seconds, 1.35f);
    while (swordfish->frame <= 15.0f) {
        EXPECT_FALSE(fish->dead) << "the sword is still drawn back at frame " << swordfish->frame;
        step(swordfish, DT);
    }
    step(swordfish, DT);
    EXPECT_TRUE(fish->dead) << "120 pixels off, two rows down: the blow reaches it";
    EXPECT_EQ(2u, played("swordfish_laugh").size());
    EXPECT_TRUE(sparks.particles.empty());

    // 200 pixels off, the blades ring once however long the blow lasts.
    fish->dead = false;
    fish->x = 700.0f;
    fish->y = ROW_Y;
    swordfish->x = 900.0f;
    swordfish->attackTimer = 0.0f;
    swordfish->frameTween.stop();
    swordfish->animationName.clear();
    std::srand(3);
    untilItAttacks(swordfish);
    const float rest = swordfish->attackTimer;
    untilTheAttackEnds(swordfish);
    EXPECT_FALSE(fish->dead);
    EXPECT_EQ(1u, clashes());
    EXPECT_EQ(5u, sparks.particles.size());
    // The next attack comes after the rest and clashes again.
    step(swordfish, rest - 0.02f);
    EXPECT_FALSE(swordfish->attacking());
    untilItAttacks(swordfish);
    untilTheAttackEnds(swordfish);
    EXPECT_EQ(2u, clashes());
    EXPECT_FALSE(fish->dead);

    // Weakened, it swings sooner; right under its nose nothing is safe.
    swordfish->hitPoints = 1;
    untilItAttacks(swordfish);
    EXPECT_LE(swordfish->frameTween.duration, 0.9f);
    fish->x = 880.0f;
    fish->y = 0.0f;
    step(swordfish, DT);
    EXPECT_TRUE(fish->dead) << "within 25 pixels, whatever its height";
}

TEST_F(SwordfishTest, AThrustLandsOncePerLungeAndTheFourthBeatsIt)
{
    Player* fish = makePlayer(780, ROW_Y);
    fish->givePlunger();
    fish->setFacing(true);
    Swordfish* swordfish = placeSwordfish(900);
    swordfish->attackTimer = 100.0f;

    fish->onAction("fire", true);
    run(0.15f);
    EXPECT_EQ(3, swordfish->hitPoints) << "the tip came within 32 pixels";
    EXPECT_EQ(1u, played("swordfish_hit").size());
    EXPECT_EQ(3, game.bossHitPoints);
    run(0.5f);
    EXPECT_EQ(3, swordfish->hitPoints) << "out and back: one lunge, one hit";
    EXPECT_EQ(0, fish->lungeState);

    // Again, and once more while it still blinks from that.
    fish->onAction("fire", true);
    run(0.1f);
    fish->onAction("fire", true);
    EXPECT_EQ(2, swordfish->hitPoints);
    ASSERT_TRUE(swordfish->alphaTween.active) << "still blinking";
    fish->xTween.stop();
    fish->moving = false;
    fish->lungeState = 0;
    fish->x = 780.0f;
    fish->onAction("fire", true);
    run(0.1f);
    EXPECT_EQ(1, swordfish->hitPoints);
    run(0.6f);

    // Out of reach of the tip the lunge does nothing.
    fish->x = 600.0f;
    fish->onAction("fire", true);
    run(0.6f);
    EXPECT_EQ(1, swordfish->hitPoints);

    fish->x = 780.0f;
    fish->onAction("fire", true);
    run(0.15f);
    EXPECT_TRUE(swordfish->defeated());
    EXPECT_EQ(1u, played("swordfish_lose").size());
    EXPECT_EQ(0.0f, swordfish->frame);
    run(1.0f);
    EXPECT_EQ(0, game.bossHitPoints);
    EXPECT_EQ(4, game.bossHitPointsMax);
    EXPECT_LT(swordfish->y, ROW_Y - 400.0f) << "it shoots up out of the hall";
    EXPECT_EQ(0.0f, swordfish->alpha);
    fish->x = swordfish->x;
    run(1.0f);
    EXPECT_FALSE(fish->dead) << "beaten, it hurts no one";
}

} // namespace
