#pragma once

#include "engine/media/AnimatedSprite.h"
#include "engine/media/Interpolator.h"

#include <functional>
#include <string>

class Player;

// Everything in a level that moves, hurts or can be trapped: enemies,
// hazards, bosses and mini-game pieces. A creature can be shut in a bubble
// for a while (it hangs still, shakes in its last second and bursts free
// with a "pop"), plays sounds that fade with its distance from the fish, and
// answers the level's reset, hit and bubble-popped calls.
//
// Kinds override update and, as a rule, call Creature::update first and do
// nothing more while trapped or while the game is frozen.
class Creature : public AnimatedSprite {
public:
    static constexpr float DEFAULT_TRAP_RADIUS = 64.0f;
    // The usual contact distance of 64 pixels, squared.
    static constexpr double CONTACT_DISTANCE_SQUARED = 4096.0;
    // Level cells are 80 x 80 pixels.
    static constexpr int CELL_SIZE = 80;

    Creature();
    ~Creature() override;

    // Itself, then the bubble over it (nothing while the bubble is hidden).
    void draw(BITMAP* target) override;
    // The bubble's clock while trapped; the animation and interpolators only
    // while free. Nothing at all while the game is frozen.
    void update(float dt) override;

    // Called when the creature is added to the level, before it is placed.
    virtual void reset() { }
    // A cannon-ball or an exploding crate struck it.
    virtual void hit() { }
    // Its bubble has just burst.
    virtual void bubblePopped() { }

    // Shuts the creature in a bubble for the given time; a trapped creature
    // is re-armed and stops shaking. A time that is not above 0 is refused.
    void trap(float seconds);
    bool isTrapped() const { return trapTime > 0.0f; }

    // Plays a sample as loud as the fish is close (silent from 800 pixels
    // on) and panned to the side the creature is on. False when the fish is
    // too far away to hear it. Without a fish the sample plays at full
    // volume, centred.
    bool playSoundAt(const std::string& name);
    // The volume and the signed pan (negative: left of the fish) of a sound
    // made at (dx, dy) from the fish, before the pan is put on the sound
    // service's 0-255 scale with 128 in the middle.
    static double volumeAt(double dx, double dy);
    static int panOffset(double dx);
    static int servicePan(int offset);

    // The level's fish, or null while there is none.
    static Player* fish();
    static bool gameFrozen();
    // Neither the game frozen nor the creature in a bubble: the moment a
    // kind's own behaviour runs.
    bool awake() const { return !gameFrozen() && trapTime == 0.0f; }
    // A fish hopping on dry land bobs high above its feet, so some kinds
    // measure to its body 40 pixels above its position instead.
    static float aimY(const Player& fish, bool aboveHoppingFish);

    // The fish exists, is alive and is closer than the threshold.
    bool touchesPlayer(double thresholdSquared, bool aboveHoppingFish = false) const;
    // Hurts the fish through hurtPlayer when it touches it; true when it did.
    bool hurtPlayerOnContact(
        double thresholdSquared = CONTACT_DISTANCE_SQUARED, bool aboveHoppingFish = false);
    // Hurts the fish, wherever it is (a no-op without a living fish).
    static void hurtFish();
    // How a creature hurts the fish; the fish's own code installs it.
    // Until then contact is noticed but nobody is hurt.
    static std::function<void(Player&)> hurtPlayer;

    // The cell of a pixel coordinate; positions far outside any level (or
    // not numbers at all) land in a cell outside the grid.
    static int cellOf(float pixel);
    static int cellCentre(int cell) { return cell * CELL_SIZE + CELL_SIZE / 2; }

    // Bubbles pass by it and the SPECIAL power-up skips it.
    bool bubbleProof = false;
    // The translucent bubble drawn over it while trapped.
    AnimatedSprite bubble;
    // A flying bubble closer than this traps it.
    float trapRadius = DEFAULT_TRAP_RADIUS;
    // Blocks movement scans, sentinels' sight and cannon-balls like a wall.
    bool obstacle = false;
    Interpolator shake;
    float shakeOffset = 0.0f;
    // Seconds left in the bubble; 0 when free.
    float trapTime = 0.0f;

private:
    void burst();
};
