#include "engine/core/DebugLog.h"

#include "support/ScratchDir.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

class DebugLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DebugLog::reset();
        DebugLog::setFatalMode(false);
    }
    void TearDown() override
    {
        DebugLog::reset();
        DebugLog::setFatalMode(false);
        DebugLog::setFatalMessage("FATAL ERROR");
    }
    ScratchDir dir;
};

TEST_F(DebugLogTest, EachRunStartsAFreshLog)
{
    DebugLog::log("KVEngine_19");
    DebugLog::log("first run");
    EXPECT_EQ(readFile("debug.log"), "KVEngine_19\nfirst run\n"); // flushed at once
    DebugLog::reset();
    DebugLog::log("KVEngine_19");
    DebugLog::log("second run");
    EXPECT_EQ(readFile("debug.log"), "KVEngine_19\nsecond run\n");
}

TEST_F(DebugLogTest, ErrorWithoutFatalModeShowsItsOwnTextAndGoesOn)
{
    ::testing::internal::CaptureStdout();
    DebugLog::log("Can't load sample [%s%n]", true);
    std::string shown = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(shown.find("Can't load sample [%s%n]"), std::string::npos);
    DebugLog::log("still here");
    EXPECT_EQ(readFile("debug.log"), "Can't load sample [%s%n]\nstill here\n");
}

TEST_F(DebugLogTest, FatalErrorShowsWhatFailedAndEndsWithAFailureStatus)
{
    // The child shows the fatal message (Allegro's message goes to stdout
    // here) and must end with a non-zero status, the error text on stderr.
    EXPECT_EXIT(
        {
            std::freopen("shown.txt", "w", stdout);
            DebugLog::setFatalMessage("Fatal Error: Please visit Technical Support at %s");
            DebugLog::setFatalMode(true);
            DebugLog::log("KVEngine_19");
            DebugLog::log("datafile [dat/fish.dat] is broken", true);
            DebugLog::log("never written");
        },
        ::testing::ExitedWithCode(1), "datafile \\[dat/fish.dat\\] is broken");
    EXPECT_EQ(readFile("debug.log"), "KVEngine_19\ndatafile [dat/fish.dat] is broken\n");
    // The box names the failing file and the reason above the support text.
    std::string shown = readFile("shown.txt");
    EXPECT_NE(
        shown.find("datafile [dat/fish.dat] is broken\n\nFatal Error: Please visit Technical Support at %s"),
        std::string::npos);
}

} // namespace
