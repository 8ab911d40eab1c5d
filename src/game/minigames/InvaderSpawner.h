#pragma once

#include "game/creatures/Creature.h"
#include "game/minigames/Invader.h"

#include <array>
#include <memory>
#include <vector>

class Player;
class Screen;

// The invaders mini-game: a formation of thirty fish, five columns of six,
// sweeps up and down the left of the arena and steps 20 pixels nearer the
// fish at every turn, spitting ink at it. The fish holds the right edge,
// faces left and only moves up and down; its long-range bubbles wound the
// first fish they reach. Clearing the formation pays 40 coins and sends the
// prize chest to the fish; a fish of the formation that gets past x = 680
// gets the player's fish instead.
//
// The spawner itself is never seen and never trapped. Its fish are its own:
// they are drawn on the creatures' layer but kept off the creature list, so
// ordinary bubbles ignore them and the spawner does its own hit test.
class InvaderSpawner final : public Creature {
public:
    static constexpr int COLUMNS = 5;
    static constexpr int FISH_PER_COLUMN = 6;
    static constexpr int DOWN = 0;
    static constexpr int UP = 1;

    InvaderSpawner();
    ~InvaderSpawner() override;

    void update(float dt) override;

    // Fish j (0 at the top) of column c (0 at the left).
    Invader& invader(int column, int fish) { return *columns[column][fish]; }

    std::array<std::vector<std::unique_ptr<Invader>>, COLUMNS> columns;
    int sweepDirection = DOWN;
    // Pixels per second of the next sweep.
    int marchSpeed;
    // Seconds to the formation's next shot.
    float shotTimer;
    int fishLeft;
    int coinsToPay;
    float payTimer = 0.0f;
    bool won = false;

private:
    // Steps the whole formation right and sends it down (or up) until its
    // lowest (or highest) fish still in the game reaches the edge of the
    // sweep.
    void sweep(int direction);
    bool formationMoving() const;
    void payOut(Player* player, float dt);
    void shoot();
    // A bubble in flight wounds the first fish it reaches, at most one per
    // update.
    void takeHits(Player& player);
    bool pastTheLine() const;
    // Beaten fish that have faded out leave the game.
    void hideFadedFish();
    void showFish();
    void putFishAway();

    Screen* fishShownOn = nullptr;
};
