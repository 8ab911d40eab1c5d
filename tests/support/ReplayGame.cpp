#include "support/ReplayGame.h"

#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/Screen.h"
#include "game/creatures/Creature.h"
#include "game/play/Player.h"
#include "support/LogLines.h"
#include "game/play/Replay.h"

#include <allegro.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

std::string shortName(const Creature& creature)
{
    return std::filesystem::path(creature.datafile.name).stem().string();
}

} // namespace

ReplayGame::ReplayGame()
{
    DebugLog::setFatalMode(false);
    screen = new Screen(800, 600, false, true);
    screen->layers.resize(5);
    screen->layers[0].followCamera = false;
    screen->layers[4].followCamera = false;
    DatafileManager::setDirectory("dat/");
    registerController(&inGame);
    registerController(&shop);
    registerController(&map);
    currentProfile = "replay";
}

ReplayGame::~ReplayGame()
{
    popAllStates();
    collectGarbage();
}

void ReplayGame::addFrontScreens()
{
    registerController(&logo);
    registerController(&title);
    registerController(&cutScene);
}

std::string ReplayGame::topState() const
{
    return stateStack.empty() ? std::string() : stateStack.back()->name;
}

void ReplayGame::trace(int frame) const
{
    static const bool wanted = std::getenv("REPLAY_TRACE") != nullptr;
    if (!wanted || frame % 10 != 0 || player == nullptr) {
        return;
    }
    const Player& fish = *player;
    std::printf("%6.2f fish %4.0f %4.0f%s |", frame * Replay::FRAME_SECONDS, fish.x, fish.y,
        fish.dead ? " DEAD" : "");
    for (const Creature* creature : creatures) {
        if (creature->visible) {
            std::printf(" %s %.0f %.0f%s", shortName(*creature).c_str(), creature->x, creature->y,
                creature->trapTime > 0.0f ? "*" : "");
        }
    }
    std::printf("\n");
}

void linkGameData(const std::string& runFolder)
{
    startFreshLog();
    for (const char* folder : { "dat", "lvl", "sfx", "mus" }) {
        ::symlink((runFolder + "/" + folder).c_str(), folder);
    }
    ::mkdir("profiles", 0777);
}

void releaseAllKeys()
{
    for (int code = 0; code < KEY_MAX; ++code) {
        key[code] = 0;
    }
}

std::vector<std::string> errorReports()
{
    std::vector<std::string> errors;
    for (const std::string& line : logLines()) {
        if (line.rfind("datafile [", 0) == 0 || line.rfind("Could not load", 0) == 0
            || line.rfind("Can't load", 0) == 0) {
            errors.push_back(line);
        }
    }
    return errors;
}
