#pragma once

#include "engine/core/StateController.h"
#include "game/play/LevelProperties.h"

#include <string>

class AnimatedSprite;
class Game;
class Menu;
class Player;

// Level play. Every entry builds the current level from scratch: the
// background, both tile layers, the particle emitters, the in-game menu, the
// fish and everything the level's picture places. Each frame it runs the
// freeze timer and the level clock, and once every chest is in (and the coin
// target met) it scores the level, keeps the profile's bests and moves on.
class InGameController : public StateController {
public:
    // Without a game given, the one running game is used.
    explicit InGameController(Game* owner = nullptr);

    void enter() override;
    void leave() override;
    void update(float dt) override;

    // Fills the prepared layers and lists from the level's picture; false
    // when the level has none.
    bool loadLevel(int level);

    // The rating of the level as it stands: the share of its treasures
    // collected, in whole per cent.
    static int rating(const Game& game);

    // How long the new level fades in over the last frame of the old screen.
    float fadeInSeconds = 0.2f;

private:
    Game* game() const;
    void buildScenery(Game& owner, int level);
    void buildMenu(Game& owner);
    void applySetup(Game& owner, Player& player, int level);
    void openHelpWhenFree(Game& owner);
    void startMusic(Game& owner, const LevelProperties::Cues& cues);
    void showBanner(Game& owner, int frame);
    AnimatedSprite* addPicture(Game& owner, const std::string& file, int x, int y, int layer);
    bool levelComplete(const Game& owner) const;
    void completeLevel(Game& owner);

    Game* fixedGame;
    // Set once the whole level stands; an entry that stopped early (the
    // story is over, the picture is missing) has nothing to play or score.
    bool built = false;
    // The level's help opens once the start banner has let go of the level.
    bool helpWaiting = false;
};
