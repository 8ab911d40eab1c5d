// The whole game played through as one player would: a new profile made at
// the title, the opening story, the map, then the fifty story levels one
// after the other from their recordings, and the end of the game.
#include "engine/ui/Menu.h"
#include "engine/ui/MenuEntry.h"
#include "game/app/ProfileList.h"
#include "game/app/ProgressFile.h"
#include "support/ReplayGame.h"
#include "support/ScratchDir.h"
#include "support/StoryPlayer.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

const std::string RUN_DIR = TIDEWANDER_RUN_DIR;
const std::string RECORDINGS = TIDEWANDER_RECORDINGS_DIR;
constexpr int STORY_LEVELS = StoryPlayer::STORY_LEVELS;
// The opening story: its first line comes by itself after two seconds,
// then fifteen key releases at least half a second apart show the other
// lines and one more ends it.
constexpr float OPENING_WAIT_SECONDS = 2.6f;
constexpr int STORY_LINES = 16;
constexpr float BETWEEN_LINES_SECONDS = 0.6f;
// The end screen takes no key for its first four seconds.
constexpr float END_LOCK_SECONDS = 4.0f;

class StoryTest : public ::testing::Test {
protected:
    StoryTest()
    {
        linkGameData(RUN_DIR);
        const std::string credits = RUN_DIR + "/credits.txt";
        if (std::filesystem::exists(credits)) {
            std::filesystem::create_symlink(credits, "credits.txt");
        }
        releaseAllKeys();
    }

    // The game as it starts: the profiles of the folder read, the current
    // one's progress loaded, the logo up.
    void start(const std::string& recordings = RECORDINGS)
    {
        game = std::make_unique<ReplayGame>();
        game->addFrontScreens();
        // The fade into a level only draws (and spins the processor while it
        // waits); fifty of them add nothing to the test.
        game->inGame.fadeInSeconds = 0.0f;
        game->currentProfile.clear();
        game->readProfiles();
        game->loadProgress();
        story = std::make_unique<StoryPlayer>(*game, recordings);
        game->jumpState("logo");
        story->tap(KEY_SPACE);
    }

    // A profile that has reached the given level, as the only and current one.
    static void writeProfile(const std::string& name, int highestLevel)
    {
        ProgressFile progress;
        progress.highestLevel = highestLevel;
        ASSERT_TRUE(progress.save("profiles/" + name + ".dat"));
        ASSERT_TRUE(ProfileList::write(ProfileList::FILE_NAME, { name }, name));
    }

    // Moves the title menu's highlight down to the line that starts with the
    // label and activates it, as a player does with the arrows and Enter.
    void choose(const std::string& label)
    {
        for (int tries = 0; tries < 12; ++tries) {
            ASSERT_NE(game->titleMenu, nullptr) << "no title menu to choose '" << label << "' from";
            const MenuEntry* entry = game->titleMenu->selectedEntry();
            if (entry != nullptr && entry->text.rfind(label, 0) == 0) {
                story->tap(KEY_ENTER);
                return;
            }
            story->tap(KEY_DOWN);
        }
        FAIL() << "the title menu has no line '" << label << "' on its page";
    }

    void type(const std::string& lowerCaseLetters)
    {
        for (char letter : lowerCaseLetters) {
            story->tap(KEY_A + (letter - 'a'));
        }
    }

    bool reaches(const std::string& screen, float seconds)
    {
        return story->runUntil([&] { return game->topState() == screen; }, seconds);
    }

    // The profile's file as the game left it: every level before the given
    // one is rated and timed, and it is the highest reached.
    void expectProgressUpTo(int reached, int from = 0)
    {
        ProgressFile saved;
        ASSERT_EQ(saved.load(game->progressPath()), ProgressFile::Result::Loaded) << game->progressPath();
        EXPECT_EQ(saved.highestLevel, reached);
        for (int level = from; level < reached; ++level) {
            EXPECT_GT(saved.levelPercent[level], 0) << "level " << level << " has no rating in the profile";
            EXPECT_GT(saved.bestTimes[level], 0) << "level " << level << " has no best time in the profile";
        }
    }

    // From the end screen, which ignores keys at first, through the credits
    // back to the title.
    void leaveTheEndScreen()
    {
        ASSERT_EQ(game->topState(), "eog");
        story->tap(KEY_SPACE);
        EXPECT_EQ(game->topState(), "eog") << "a key ended the end screen inside its first four seconds";
        story->run(END_LOCK_SECONDS);
        story->tap(KEY_SPACE);
        EXPECT_TRUE(reaches("credits", 1.0f)) << "the end screen did not lead to the credits";
        story->tap(KEY_SPACE);
        EXPECT_TRUE(reaches("title", 1.0f)) << "the credits did not lead back to the title";
    }

    ScratchDir scratch;
    std::unique_ptr<ReplayGame> game;
    std::unique_ptr<StoryPlayer> story;
};

TEST_F(StoryTest, PlaysTheWholeGameFromANewProfile)
{
    start();
    ASSERT_EQ(game->topState(), "title") << "a key did not leave the logo";

    // A profile of one's own: Profiles, Create New, a name, Create.
    choose("Profiles");
    choose("Create New");
    choose("Name:");
    type("story");
    story->tap(KEY_ENTER);
    choose("Create");
    ASSERT_TRUE(reaches("title", 1.0f));
    ASSERT_EQ(game->currentProfile, "story") << "the new profile was not made the current one";
    ASSERT_EQ(game->highestLevel, 0);

    // A new profile's "Play!" tells the opening story first.
    choose("Play!");
    ASSERT_TRUE(reaches("cutScene", 1.0f)) << "'Play!' on a new profile did not start the story";
    story->run(OPENING_WAIT_SECONDS);
    ASSERT_EQ(game->cutScene.step, 1) << "the story's first line did not come by itself";
    for (int line = 2; line <= STORY_LINES; ++line) {
        story->tap(KEY_SPACE);
        ASSERT_EQ(game->cutScene.step, line) << "a key did not bring the story's next line";
        story->run(BETWEEN_LINES_SECONDS);
    }
    story->tap(KEY_SPACE);
    ASSERT_TRUE(reaches("levelSelect", 1.0f)) << "the opening story did not end on the map";

    // The map offers the first level, and only that.
    ASSERT_EQ(game->mapLevel, 0);
    story->tap(KEY_ENTER);
    StoryPlayer::Stop stop = story->playLevels();

    if (stop == StoryPlayer::Stop::NO_RECORDING) {
        ASSERT_GT(story->stoppedAt, 0) << story->report;
        expectProgressUpTo(story->stoppedAt);
        GTEST_SKIP() << "the story can be played up to level " << story->stoppedAt << ": " << story->report;
    }
    ASSERT_EQ(stop, StoryPlayer::Stop::END_OF_GAME) << story->report;
    EXPECT_EQ(static_cast<int>(story->finished.size()), STORY_LEVELS);
    expectProgressUpTo(STORY_LEVELS);
    leaveTheEndScreen();
    EXPECT_TRUE(errorReports().empty()) << errorReports().front();
}

TEST_F(StoryTest, TheLastLevelEndsTheGame)
{
    if (!std::filesystem::exists(RECORDINGS + "/level49.txt")) {
        GTEST_SKIP() << "level 49 has no recording yet";
    }
    writeProfile("lair", STORY_LEVELS - 1);
    start();
    // With levels behind it, "Play!" goes straight to the map, which
    // offers the furthest level reached.
    choose("Play!");
    ASSERT_TRUE(reaches("levelSelect", 1.0f)) << "'Play!' did not open the map";
    ASSERT_EQ(game->mapLevel, STORY_LEVELS - 1);
    story->tap(KEY_ENTER);

    ASSERT_EQ(story->playLevels(), StoryPlayer::Stop::END_OF_GAME) << story->report;
    EXPECT_EQ(story->finished, std::vector<int> { STORY_LEVELS - 1 });
    expectProgressUpTo(STORY_LEVELS, STORY_LEVELS - 1);
    leaveTheEndScreen();
    EXPECT_TRUE(errorReports().empty()) << errorReports().front();
}

TEST_F(StoryTest, TheBirdBossLeadsStraightOnToTheSharksLair)
{
    if (!std::filesystem::exists(RECORDINGS + "/level39.txt")) {
        GTEST_SKIP() << "level 39 has no recording yet";
    }
    writeProfile("shore", 39);
    start();
    choose("Play!");
    ASSERT_TRUE(reaches("levelSelect", 1.0f)) << "'Play!' did not open the map";
    ASSERT_EQ(game->mapLevel, 39);
    story->tap(KEY_ENTER);

    ASSERT_EQ(story->playLevels(39), StoryPlayer::Stop::LAST_WANTED) << story->report;
    expectProgressUpTo(40, 39);
    // No map in between: the next world's first level is already being built.
    story->run(0.1f);
    EXPECT_EQ(game->topState(), "inGame");
    EXPECT_EQ(game->currentLevel, 40);
    EXPECT_TRUE(errorReports().empty()) << errorReports().front();
}

TEST_F(StoryTest, NamesTheLevelAndTheFishsPlaceWhereARecordingFallsShort)
{
    std::filesystem::create_directory("short");
    std::ofstream("short/level01.txt") << "level 1\nseed 7\nlength 1.5\nexpect complete\n0.50 ENTER down\n"
                                          "0.60 ENTER up\n";
    writeProfile("short", 1);
    start("short");
    choose("Play!");
    ASSERT_TRUE(reaches("levelSelect", 1.0f));
    story->tap(KEY_ENTER);

    ASSERT_EQ(story->playLevels(), StoryPlayer::Stop::STUCK);
    EXPECT_EQ(story->stoppedAt, 1);
    const std::string& report = story->report;
    EXPECT_NE(
        report.find("level 1 (short/level01.txt, seed 7) was not finished in the 1.50 s"), std::string::npos)
        << report;
    EXPECT_NE(report.find("the fish was at ("), std::string::npos) << report;
    EXPECT_NE(report.find("chests still to get"), std::string::npos) << report;
}

TEST_F(StoryTest, StopsAtTheFirstLevelWithoutARecording)
{
    std::filesystem::create_directory("partial");
    std::filesystem::copy_file(RECORDINGS + "/level01.txt", "partial/level01.txt");
    writeProfile("partial", 1);
    start("partial");
    choose("Play!");
    ASSERT_TRUE(reaches("levelSelect", 1.0f));
    story->tap(KEY_ENTER);

    ASSERT_EQ(story->playLevels(), StoryPlayer::Stop::NO_RECORDING) << story->report;
    EXPECT_EQ(story->stoppedAt, 2);
    EXPECT_EQ(story->finished, std::vector<int> { 1 });
    EXPECT_NE(story->report.find("partial/level02.txt"), std::string::npos) << story->report;
    expectProgressUpTo(2, 1);
}

} // namespace
