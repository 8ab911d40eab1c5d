#include "engine/core/DebugLog.h"
#include "game/app/Game.h"
#include "game/play/Player.h"
#include "support/LogLines.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

const std::string DEFAULT_FILE = "down 1 85 \nfire 1 75 \nleft 1 82 \nright 1 83 \nup 1 84 \n";

// Without a game there is no profile: the fish gets the default keys.
class PlayerKeysTest : public ::testing::Test {
protected:
    void SetUp() override { DebugLog::setFatalMode(false); }

    ScratchDir scratch;
};

TEST_F(PlayerKeysTest, DefaultsAreTheArrowKeysAndSpaceAndSaveInNameOrder)
{
    Player fish;
    EXPECT_EQ(fish.bindings.size(), 5u);
    EXPECT_EQ(fish.bindings["left"], std::vector<int> { KEY_LEFT });
    EXPECT_EQ(fish.bindings["fire"], std::vector<int> { KEY_SPACE });
    EXPECT_EQ(fish.swimSpeed, 200);
    EXPECT_EQ(fish.alignment, 1);

    fish.saveKeys("keys.cfg");
    EXPECT_EQ(readFile("keys.cfg"), DEFAULT_FILE);

    // Resetting after edits brings back exactly the five defaults.
    fish.bind("fire", KEY_ENTER);
    fish.bind("jump", KEY_J);
    fish.setDefaultKeys();
    fish.saveKeys("keys.cfg");
    EXPECT_EQ(readFile("keys.cfg"), DEFAULT_FILE);
}

TEST_F(PlayerKeysTest, LoadingTakesKnownActionsOnlyAndKeepsTheRest)
{
    Player fish;
    writeFile("keys.cfg", "fire 2 75 67 \njump 1 30 \nleft 0 \n");
    fish.loadKeys("keys.cfg");

    EXPECT_EQ(fish.bindings["fire"], (std::vector<int> { KEY_SPACE, KEY_ENTER }));
    EXPECT_EQ(fish.bindings.count("jump"), 0u);
    EXPECT_TRUE(fish.bindings["left"].empty());
    EXPECT_EQ(fish.bindings["up"], std::vector<int> { KEY_UP }); // not in the file

    fish.saveKeys("keys.cfg");
    EXPECT_EQ(readFile("keys.cfg"), "down 1 85 \nfire 2 75 67 \nleft 0 \nright 1 83 \nup 1 84 \n");

    // A file that is not there changes nothing.
    fish.loadKeys("absent.cfg");
    EXPECT_EQ(fish.bindings["fire"], (std::vector<int> { KEY_SPACE, KEY_ENTER }));
}

TEST_F(PlayerKeysTest, BothKeysOfAnActionSteerTheFish)
{
    Player fish;
    writeFile("keys.cfg", "fire 2 75 67 \n");
    fish.loadKeys("keys.cfg");
    key[KEY_ENTER] = 1;
    fish.update(0.01f);
    EXPECT_TRUE(fish.isHeld("fire"));
    key[KEY_ENTER] = 0;
    key[KEY_SPACE] = 1;
    fish.update(0.01f);
    EXPECT_TRUE(fish.isHeld("fire"));
    key[KEY_SPACE] = 0;
    fish.update(0.01f);
    EXPECT_FALSE(fish.isHeld("fire"));
}

// With a game, the keys belong to the current profile.
class ProfileKeysTest : public PlayerKeysTest {
protected:
    void SetUp() override
    {
        game = std::make_unique<Game>();
        DebugLog::setFatalMode(false);
        game->currentProfile = "Mira";
        game->bubbleLimit = 6;
        startFreshLog();
    }
    void TearDown() override { game.reset(); }

    std::unique_ptr<Game> game;
};

TEST_F(ProfileKeysTest, AMissingFileIsWrittenFromTheDefaults)
{
    std::filesystem::remove_all("profiles");
    Player fish;
    EXPECT_EQ(fish.bubbles, 6);
    EXPECT_TRUE(logHas("Could not find keyconfig. Creating from default data."));
    EXPECT_EQ(readFile("profiles/Mira.cfg"), DEFAULT_FILE);
}

TEST_F(ProfileKeysTest, AnExistingFileIsLoadedOverTheDefaults)
{
    std::filesystem::create_directories("profiles");
    writeFile("profiles/Mira.cfg", "fire 1 67 \nleft 1 1 \n");
    Player fish;
    EXPECT_EQ(fish.bindings["fire"], std::vector<int> { KEY_ENTER });
    EXPECT_EQ(fish.bindings["left"], std::vector<int> { KEY_A });
    EXPECT_EQ(fish.bindings["right"], std::vector<int> { KEY_RIGHT });
    EXPECT_FALSE(logHas("Could not find keyconfig. Creating from default data."));
    EXPECT_EQ(readFile("profiles/Mira.cfg"), "fire 1 67 \nleft 1 1 \n"); // left as it was
}

TEST_F(ProfileKeysTest, TheGameForgetsAFishThatIsGone)
{
    auto* fish = new Player();
    game->player = fish;
    delete fish;
    EXPECT_EQ(game->player, nullptr);
}

} // namespace
