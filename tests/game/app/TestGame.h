#pragma once

#include "engine/core/DebugLog.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "support/ScratchDir.h"
#include "support/TextFiles.h"

#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Helpers shared by the game object's tests (own namespace: other test files
// link into the same program).
namespace apptest {

// The game without a window: a memory screen with its five layers, the log
// out of fatal mode, and a prompt that answers what the test says.
class TestGame : public Game {
public:
    TestGame()
    {
        DebugLog::setFatalMode(false);
        screen = new Screen(800, 600, false, true);
        screen->layers.resize(5);
    }

    bool confirm(const std::string& text) override
    {
        prompts.push_back(text);
        return answer;
    }

    std::vector<std::string> prompts;
    bool answer = true;
};

// The shared file helpers, under the names the game tests know them by.
using ::readFile;
using ::writeFile;

inline bool fileExists(const std::string& path)
{
    return std::ifstream(path).good();
}

// Each test in a fresh working folder with the profile folder in it.
class GameTest : public ::testing::Test {
protected:
    GameTest() { ::mkdir("profiles", 0777); }

    ScratchDir scratch;
};

} // namespace apptest
