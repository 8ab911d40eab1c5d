#include "engine/media/Interpolator.h"

#include "support/LogLines.h"

#include <gtest/gtest.h>

TEST(Interpolator, RunsLinearlyAndStopsExactlyOnTheTarget)
{
    float value = 0.0f;
    Interpolator tween(&value);
    tween.start(100.0f, 2.0f, 0);
    for (float expected : { 25.0f, 50.0f, 75.0f }) {
        tween.update(0.5f);
        EXPECT_FLOAT_EQ(expected, value);
        EXPECT_TRUE(tween.active);
    }
    tween.update(0.5f);
    EXPECT_EQ(100.0f, value);
    EXPECT_FALSE(tween.active);

    // A zero-length run lands on its target at the first update.
    tween.start(40.0f, 0.0f, 0);
    tween.update(0.0f);
    EXPECT_TRUE(value == 40.0f && !tween.active);
}

TEST(Interpolator, RepeatsJumpBackOrPingPong)
{
    float value = 10.0f;
    Interpolator again(&value);
    again.start(20.0f, 1.0f, 1);
    again.update(1.0f);
    EXPECT_EQ(10.0f, value); // the second run starts from the first start
    EXPECT_TRUE(again.active);
    again.update(0.5f);
    EXPECT_FLOAT_EQ(15.0f, value);
    again.update(0.6f); // the overshoot is dropped
    EXPECT_TRUE(value == 20.0f && !again.active);

    value = 10.0f;
    Interpolator back(&value);
    back.pingPong = true;
    back.start(20.0f, 1.0f, 1);
    back.update(1.0f);
    EXPECT_TRUE(value == 20.0f && back.active);
    back.update(0.25f);
    EXPECT_FLOAT_EQ(17.5f, value);
    back.update(0.75f);
    EXPECT_TRUE(value == 10.0f && !back.active);

    // Negative repeats never end.
    Interpolator forever(&value);
    forever.start(1.0f, 0.1f, -1);
    for (int i = 0; i < 100; ++i) {
        forever.update(0.1f);
    }
    EXPECT_TRUE(forever.active);
}

TEST(Interpolator, DelaySpeedAndTheColourWheel)
{
    float value = 0.0f;
    Interpolator tween(&value);
    tween.delay = 0.3f;
    tween.start(10.0f, 1.0f, 0);
    tween.update(0.5f);
    EXPECT_EQ(0.0f, value);
    tween.update(0.5f); // the 0.2 s left over from the wait is not carried in
    EXPECT_FLOAT_EQ(5.0f, value);

    value = 10.0f;
    tween.startAtSpeed(110.0f, 50.0f, 0);
    EXPECT_FLOAT_EQ(2.0f, tween.duration);
    value = 110.0f;
    tween.startAtSpeed(10.0f, 25.0f, 0);
    EXPECT_FLOAT_EQ(4.0f, tween.duration);

    value = 250.0f;
    tween.cyclic = true;
    tween.rate = 100.0f;
    tween.update(0.1f);
    EXPECT_EQ(0.0f, value); // wraps to 0, not to 5
    value = 2.0f;
    tween.rate = -100.0f;
    tween.update(0.1f);
    EXPECT_EQ(255.0f, value);
    EXPECT_TRUE(tween.active);
}

TEST(Interpolator, StartingWithoutAnUpdateeIsReportedAndIgnored)
{
    startFreshLog();
    Interpolator loose;
    loose.start(5.0f, 1.0f, 3);
    loose.startAtSpeed(5.0f, 1.0f, 3);
    loose.update(1.0f);
    EXPECT_FALSE(loose.active);
    EXPECT_EQ(0, loose.repeats);
    EXPECT_EQ(3u, logLines().size());
    EXPECT_TRUE(logHas("No updatee set for interpolator!"));
}
