#include "game/creatures/LevelWorld.h"

#include "game/creatures/Boss.h"

#include <gtest/gtest.h>

namespace {

class TestBoss : public Boss {
public:
    TestBoss()
        : Boss(3)
    {
    }
    void update(float dt) override
    {
        Creature::update(dt);
        publishHitPoints();
    }
    using Boss::blink;
    using Boss::blinking;
    using Boss::fadeOut;
};

class BossTest : public leveltest::LevelWorld {
protected:
    void run(TestBoss& boss, float seconds)
    {
        for (int i = 0; i < static_cast<int>(seconds * 100.0f + 0.5f); ++i) {
            boss.update(0.01f);
        }
    }
};

TEST_F(BossTest, TheBarShowsTheBossThatToldItLastAndNothingLeftOnceBeaten)
{
    TestBoss first;
    TestBoss second;
    EXPECT_TRUE(first.bubbleProof);
    first.hitPoints = 2;
    first.update(0.01f);
    EXPECT_EQ(3, game.bossHitPointsMax);
    EXPECT_EQ(2, game.bossHitPoints);
    second.hitPoints = -1;
    second.update(0.01f);
    EXPECT_EQ(0, game.bossHitPoints);
    EXPECT_TRUE(second.defeated());
}

TEST_F(BossTest, ABlinkEndsInFullSightAndABeatenBossFadesForGood)
{
    TestBoss boss;
    boss.blink();
    EXPECT_TRUE(boss.blinking());
    run(boss, 0.2f);
    EXPECT_TRUE(boss.blinking()) << "four runs of a tenth of a second";
    run(boss, 0.25f);
    EXPECT_FALSE(boss.blinking());
    EXPECT_EQ(255.0f, boss.alpha);

    boss.blink();
    run(boss, 0.05f);
    boss.fadeOut();
    EXPECT_FALSE(boss.blinking()) << "fading is not blinking: a beaten boss takes no more hits anyway";
    boss.blink();
    run(boss, 1.1f);
    EXPECT_EQ(0.0f, boss.alpha) << "a blink never brings a beaten boss back";
}

} // namespace
