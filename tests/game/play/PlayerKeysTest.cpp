#include "engine/core/DebugLog.h"
#include "game/app/Game.h"
#include "game/play/Player.h"
#include "support/LogLines.h"
#include "support/ScratchDir.h"
#include "support/TextFiles.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const std::string DEFAULT_FILE = "down 1 85 \nfire 1 75 \nleft 1 82 \nright 1 83 \nup 1 84 \n";

TEST(PlayerKeysTest, DefaultsAndTheFileRoundTrip)
{
    ScratchDir scratch;
    DebugLog::setFatalMode(false);
    Player fish; // no game: no profile, the defaults
    fish.bind("jump", KEY_J);
    fish.setDefaultKeys();
    fish.saveKeys("keys.cfg");
    EXPECT_EQ(readFile("keys.cfg"), DEFAULT_FILE);

    // Unknown actions are skipped, missing ones keep their keys, and an
    // action may have two keys or none.
    writeFile("keys.cfg", "fire 2 75 67 \njump 1 30 \nleft 0 \n");
    fish.loadKeys("keys.cfg");
    EXPECT_EQ(fish.bindings["fire"], (std::vector<int> { KEY_SPACE, KEY_ENTER }));
    EXPECT_EQ(fish.bindings.count("jump"), 0u);
    fish.saveKeys("keys.cfg");
    EXPECT_EQ(readFile("keys.cfg"), "down 1 85 \nfire 2 75 67 \nleft 0 \nright 1 83 \nup 1 84 \n");
}

TEST(PlayerKeysTest, EachProfileHasItsOwnFileMadeFromTheDefaultsWhenMissing)
{
    ScratchDir scratch;
    Game game;
    DebugLog::setFatalMode(false);
    game.currentProfile = "Mira";
    game.bubbleLimit = 6;
    startFreshLog();
    {
        Player fish;
        EXPECT_EQ(fish.bubbles, 6);
        EXPECT_TRUE(logHas("Could not find keyconfig. Creating from default data."));
        EXPECT_EQ(readFile("profiles/Mira.cfg"), DEFAULT_FILE);
    }

    writeFile("profiles/Mira.cfg", "fire 1 67 \n");
    auto* fish = new Player();
    game.player = fish;
    EXPECT_EQ(fish->bindings["fire"], std::vector<int> { KEY_ENTER });
    EXPECT_EQ(fish->bindings["left"], std::vector<int> { KEY_LEFT });
    EXPECT_EQ(readFile("profiles/Mira.cfg"), "fire 1 67 \n"); // read, not rewritten
    delete fish;
    EXPECT_EQ(game.player, nullptr); // the game never points at a dead fish
}

} // namespace
