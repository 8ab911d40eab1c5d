#pragma once

#include "game/app/Game.h"
#include "game/app/LogoController.h"
#include "game/app/TitleController.h"
#include "game/minigames/CutSceneController.h"
#include "game/play/InGameController.h"
#include "game/play/LevelSelectController.h"
#include "game/play/PowerupShopController.h"

#include <random>

// The whole game, every screen of it, on a screen in memory: what the real
// program starts, minus the window, the keyboard driver and the timer, so a
// program can play it frame by frame with keys it writes into key[].
class SoakGame : public Game {
public:
    // Prompts are answered from this stream instead of the keyboard.
    explicit SoakGame(std::mt19937& random);
    ~SoakGame() override;

    // What the real game does on start-up after the window is open: the
    // profile, the fonts, the sounds, the HUD and the logo screen.
    void start();

    // Yes or no at random: the player deletes profiles now and then.
    bool confirm(const std::string& text) override;

    TitleController title { this };
    PowerupShopController shop { this };
    InGameController inGame { this };
    LevelSelectController map { this };
    LogoController logo { this };
    CutSceneController cutScene { this };

private:
    std::mt19937& random;
    // Allegro's own font, put back before the game's is let go.
    FONT* allegroFont = nullptr;
};
