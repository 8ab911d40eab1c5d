#include "game/app/ProfileList.h"

#include "TestGame.h"
#include "engine/core/GameState.h"
#include "support/LogLines.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace apptest {
namespace {

using Names = std::vector<std::string>;
using ProfilesTest = GameTest;

TEST_F(ProfilesTest, TheLastLineNamesTheCurrentProfile)
{
    TestGame game;
    writeFile("profiles.cfg", "A\r\nB\r\nB\r\n");
    game.readProfiles();
    EXPECT_EQ(game.profiles, (Names { "A", "B" }));
    EXPECT_EQ(game.currentProfile, "B");
    game.writeProfiles();
    EXPECT_EQ(readFile("profiles.cfg"), "A\nB\nB\n");

    // A single line is the whole list; a current profile already chosen
    // stays, and at start-up the one listed plays.
    writeFile("profiles.cfg", "Solo\n");
    game.readProfiles();
    EXPECT_EQ(game.profiles, (Names { "Solo" }));
    EXPECT_EQ(game.currentProfile, "B");
    game.currentProfile.clear();
    game.readProfiles();
    EXPECT_EQ(game.currentProfile, "Solo");

    // No file, or an empty one: the default profile, written at once.
    for (const char* contents : { static_cast<const char*>(nullptr), "" }) {
        std::remove("profiles.cfg");
        if (contents != nullptr) {
            writeFile("profiles.cfg", contents);
        }
        game.readProfiles();
        EXPECT_EQ(game.profiles, (Names { "dorir" }));
        EXPECT_EQ(game.currentProfile, "dorir");
        EXPECT_EQ(readFile("profiles.cfg"), "dorir\ndorir\n");
    }
}

TEST_F(ProfilesTest, NamesThatCannotBeFileNamesAreSkippedWithAWarning)
{
    EXPECT_TRUE(ProfileList::isSafeName("Ann Lee 2"));
    for (const char* bad : { "", "   ", "../x", "a/b", "a\\b", "..", "tab\there" }) {
        EXPECT_FALSE(ProfileList::isSafeName(bad)) << bad;
    }

    TestGame game;
    startFreshLog();
    writeFile("profiles.cfg", "Ann\n../../etc/passwd\n\nBo\n/tmp/evil\n");
    game.readProfiles();
    EXPECT_EQ(game.profiles, (Names { "Ann", "Bo" }));
    // The unusable last line: the first listed profile becomes current.
    EXPECT_EQ(game.currentProfile, "Ann");
    EXPECT_TRUE(logHas("Skipped profile [../../etc/passwd] in profiles.cfg: not usable as a file name"));

    // Nothing usable: the file is kept aside before the default replaces it.
    writeFile("profiles.cfg", "../a\n../b\n");
    game.readProfiles();
    EXPECT_EQ(game.profiles, (Names { "dorir" }));
    EXPECT_EQ(readFile("profiles.cfg.bad"), "../a\n../b\n");
}

TEST_F(ProfilesTest, ANewProfileStartsFreshEvenWhereAnOldOneLeftFiles)
{
    TestGame game;
    game.profiles = { "A" };
    game.currentProfile = "B";
    game.coins = 777;
    game.saveProgress();
    writeFile("profiles/B.cfg", "fire 1 30 \n");
    game.currentProfile = "A";

    game.newProfileName = "B";
    game.onAction("createNewProfile", false);
    EXPECT_EQ(game.profiles.size(), 1u);
    game.onAction("createNewProfile", true);
    EXPECT_EQ(game.profiles, (Names { "A", "B" }));
    EXPECT_EQ(game.currentProfile, "B");
    EXPECT_EQ(game.coins, 25);
    EXPECT_FALSE(fileExists("profiles/B.cfg"));
    EXPECT_EQ(readFile("profiles.cfg"), "A\nB\nB\n");
    EXPECT_EQ(game.actionQueue, (std::deque<std::string> { "JUMPSTATE:title" }));
}

TEST_F(ProfilesTest, NoSixthProfileNoDuplicateAndNoUnusableName)
{
    TestGame game;
    game.profiles = { "A", "B" };
    game.currentProfile = "A";
    game.coins = 99;
    for (const char* name : { "B", "", "../up" }) {
        game.createProfile(name);
    }
    EXPECT_EQ(game.profiles, (Names { "A", "B" }));
    EXPECT_EQ(game.currentProfile, "A");
    EXPECT_EQ(game.coins, 99);

    for (const char* name : { "C", "D", "E", "F" }) {
        game.createProfile(name);
    }
    EXPECT_EQ(game.profiles, (Names { "A", "B", "C", "D", "E" }));
    EXPECT_EQ(game.currentProfile, "E");
    EXPECT_FALSE(fileExists("profiles/F.dat"));
}

TEST_F(ProfilesTest, SwitchingLoadsTheProfileAndRemembersTheChoice)
{
    TestGame game;
    game.profiles = { "A", "B" };
    game.currentProfile = "B";
    game.coins = 42;
    game.saveProgress();
    game.currentProfile = "A";
    game.coins = 1;

    game.onAction("SETPROFILE:B", true);
    EXPECT_EQ(game.currentProfile, "B");
    EXPECT_EQ(game.coins, 42);
    EXPECT_EQ(readFile("profiles.cfg"), "A\nB\nB\n");
    ASSERT_EQ(game.stateStack.size(), 1u);
    EXPECT_EQ(game.stateStack.back()->name, "title");

    // Short or unusable names change nothing and crash nothing.
    for (const char* action : { "SETPROFILE", "SETPROFILE:", "SETPROFILE:../../x" }) {
        game.onAction(action, true);
    }
    EXPECT_EQ(game.currentProfile, "B");
}

TEST_F(ProfilesTest, DeletingTheCurrentProfileMakesTheFirstRemainingCurrent)
{
    TestGame game;
    game.profiles = { "A", "B", "C" };
    game.currentProfile = "A";
    game.coins = 11;
    game.saveProgress();
    game.currentProfile = "C";
    game.saveProgress();
    writeFile("profiles/C.cfg", "fire 1 75 \n");

    game.onAction("DELPROFILE:C", true);
    EXPECT_EQ(game.prompts, (Names { "Delete Profile [C]? [Y/N]" }));
    EXPECT_EQ(game.profiles, (Names { "A", "B" }));
    EXPECT_EQ(game.currentProfile, "A");
    EXPECT_EQ(game.coins, 11);
    EXPECT_FALSE(fileExists("profiles/C.dat"));
    EXPECT_FALSE(fileExists("profiles/C.cfg"));
    EXPECT_EQ(readFile("profiles.cfg"), "A\nB\nA\n");
    EXPECT_EQ(game.actionQueue, (std::deque<std::string> { "JUMPSTATE:title" }));
}

TEST_F(ProfilesTest, ADeclinedOrImpossibleDeletionDeletesNothing)
{
    TestGame game;
    game.profiles = { "A" };
    game.currentProfile = "A";
    game.saveProgress();
    game.onAction("DELPROFILE:A", true);
    EXPECT_EQ(game.prompts, (Names { "Cannot Delete Profile [ESC]" }));
    EXPECT_EQ(game.profiles, (Names { "A" }));
    EXPECT_TRUE(fileExists("profiles/A.dat"));

    game.profiles = { "A", "B" };
    game.answer = false;
    game.onAction("DELPROFILE:A", true);
    game.answer = true;
    game.onAction("DELPROFILE:Zed", true);
    EXPECT_EQ(game.profiles, (Names { "A", "B" }));
    EXPECT_TRUE(fileExists("profiles/A.dat"));
    EXPECT_TRUE(game.actionQueue.empty());
}

TEST_F(ProfilesTest, AProfileListThatCannotBeReadIsLeftAloneAndNothingThrows)
{
    TestGame game;
    startFreshLog();
    std::filesystem::create_directory("profiles.cfg");
    game.readProfiles();
    EXPECT_EQ(game.profiles, (Names { "dorir" }));
    EXPECT_EQ(game.currentProfile, "dorir");
    EXPECT_TRUE(logHas("profiles.cfg cannot be read; playing as [dorir] and leaving the file as it is"));
    // Nothing replaces it later in the run either, nor is it set aside.
    game.createProfile("New");
    EXPECT_TRUE(std::filesystem::is_directory("profiles.cfg"));
    EXPECT_FALSE(fileExists("profiles.cfg.bad"));
    EXPECT_TRUE(logHas("profiles.cfg could not be read at start; not replacing it"));
}

TEST_F(ProfilesTest, ACurrentProfileMissingFromTheListIsNotPlayed)
{
    TestGame game;
    game.currentProfile = "bob";
    game.coins = 300;
    game.saveProgress();

    // A file cut off in the middle of its last name.
    startFreshLog();
    game.currentProfile.clear();
    writeFile("profiles.cfg", "alice\nbo");
    game.readProfiles();
    EXPECT_EQ(game.profiles, (Names { "alice" }));
    EXPECT_EQ(game.currentProfile, "alice");
    EXPECT_TRUE(logHas("Current profile [bo] is not in profiles.cfg; playing as [alice]"));
    game.loadProgress();
    EXPECT_FALSE(fileExists("profiles/bo.dat"));

    // Bob's entry is lost with the cut; making him again keeps his old
    // files rather than deleting them.
    startFreshLog();
    game.createProfile("bob");
    EXPECT_EQ(game.coins, 25);
    EXPECT_TRUE(fileExists("profiles/bob.dat.bad"));
    EXPECT_TRUE(
        logHas("Profile [bob] had a file [profiles/bob.dat] from before; kept as [profiles/bob.dat.bad]"));
    game.currentProfile = "bob";
    std::rename("profiles/bob.dat.bad", "profiles/bob.dat");
    game.loadProgress();
    EXPECT_EQ(game.coins, 300);
}

TEST_F(ProfilesTest, EachUnusableProfileListIsKeptAside)
{
    TestGame game;
    writeFile("profiles.cfg", "../a\n../b\n");
    game.readProfiles();
    writeFile("profiles.cfg", "../c\n../d\n");
    game.readProfiles();
    EXPECT_EQ(readFile("profiles.cfg.bad"), "../a\n../b\n");
    EXPECT_EQ(readFile("profiles.cfg.bad.1"), "../c\n../d\n");
    EXPECT_EQ(readFile("profiles.cfg"), "dorir\ndorir\n");
}

TEST_F(ProfilesTest, TemporariesOfKilledSavesAreClearedAtStart)
{
    TestGame game;
    startFreshLog();
    const Names leftovers = { "settings.cfg.saving-Ab12Cd", "profiles.cfg.saving-x1y2z3",
        "volume.cfg.saving-QQQQQQ", "profiles/.progress.saving-a1b2c3", "profiles/Ann.cfg.saving-ZZ9zz9" };
    const Names kept = { "settings.cfg", "notes.txt.saving-Ab12Cd", "profiles/Ann.cfg", "profiles/Ann.dat",
        "profiles/.progress.bad", "profiles.cfg.bad", "volume.cfg.backup", "profiles/Ann.cfg.oldone" };
    for (const Names& files : { leftovers, kept }) {
        for (const std::string& file : files) {
            writeFile(file, "x");
        }
    }
    game.removeStaleTemporaries();
    for (const std::string& file : leftovers) {
        EXPECT_FALSE(fileExists(file)) << file;
        EXPECT_TRUE(logHas("Removed [" + file + "], left over from an unfinished save")) << file;
    }
    for (const std::string& file : kept) {
        EXPECT_TRUE(fileExists(file)) << file;
    }
}

} // namespace
} // namespace apptest
