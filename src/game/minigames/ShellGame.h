#pragma once

#include "engine/ui/TextSprite.h"
#include "game/creatures/Creature.h"

class Screen;
class Treasure;

// The shell game: the level's chest sinks into the middle of three shells,
// the shells are swapped twelve times, each faster than the last, while the
// fish has to watch from where it started, and then the fish swims to the
// shell it thinks hides the chest. The right one pays 5 coins and the chest;
// a wrong one kills the fish, and the level starts again with a new game.
//
// The game itself is never seen and never caught in a bubble; it shows the
// shells and a caption of its own.
class ShellGame final : public Creature {
public:
    static constexpr int SHELLS = 3;
    // Whichever place it is swapped to, this shell hides the chest.
    static constexpr int TREASURE_SHELL = 1;

    ShellGame();
    ~ShellGame() override;

    void update(float dt) override;

    // The level's first pickup, which the game hides and hands out; null
    // when the level has none.
    static Treasure* chest();

    // Not in the creature list, so bubbles pass them by.
    Creature shells[SHELLS];
    // Pixels per second of the next swap.
    int swapSpeed;
    bool swapping = false;
    // The chest is still sinking into its shell.
    bool revealing = true;
    bool picking = false;
    bool won = false;
    int coinsToPay;
    float payTimer = 0.0f;
    // Where the fish waits while the chest sinks and the shells move.
    bool holding = false;
    int heldX = 0, heldY = 0;
    TextSprite caption;

private:
    void hideChest();
    void pay(float dt);
    void holdFish();
    void pick();
    void swapTwoShells();
    bool shellsMoving() const;

    Screen* shownOn = nullptr;
};
