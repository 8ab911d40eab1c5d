#pragma once

#include "game/app/Game.h"
#include "game/app/LogoController.h"
#include "game/app/TitleController.h"
#include "game/minigames/CutSceneController.h"
#include "game/play/LevelSelectController.h"
#include "game/play/PowerupShopController.h"
#include "support/ReplayLevelController.h"

#include <string>
#include <vector>

// The real game on a screen in memory, with no sound, stepped by hand one
// 10 ms tick per frame. It plays the levels, the shop and the map; a run
// that starts where a player does adds the logo, the title and the opening
// story. Nobody answers prompts here, so every one reads as "no".
class ReplayGame : public Game {
public:
    ReplayGame();
    ~ReplayGame() override;

    bool confirm(const std::string&) override { return false; }

    // The screens before the map, which the level replays never visit.
    void addFrontScreens();

    // The name of the screen on top, "" with none.
    std::string topState() const;

    // With REPLAY_TRACE set, where the fish and every creature are, ten
    // times a second of the given run time: what a recording's author needs
    // to time the keys.
    void trace(int frame) const;

    ReplayLevelController inGame { this };
    PowerupShopController shop { this };
    LevelSelectController map { this };
    LogoController logo { this };
    TitleController title { this };
    CutSceneController cutScene { this };
};

// Links the built game data of a run folder into the working directory and
// gives it an empty profiles folder; the log starts afresh.
void linkGameData(const std::string& runFolder);

// Every key up, as before anyone touches the keyboard.
void releaseAllKeys();

// The error reports in debug.log: in the shipped game each one would have
// ended it.
std::vector<std::string> errorReports();
