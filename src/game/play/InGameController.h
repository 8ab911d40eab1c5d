#pragma once

#include "engine/core/StateController.h"

#include <string>

class Game;

// Level play as it stands for now: the level's background and its name,
// and Esc back to the world map.
class InGameController : public StateController {
public:
    // Without a game given, the one running game is used.
    explicit InGameController(Game* owner = nullptr);

    void enter() override;

    // The background picture file of a level.
    static std::string backgroundFor(int level);

private:
    Game* game() const;

    Game* fixedGame;
};
