#pragma once

#include "engine/core/StateController.h"

#include <set>
#include <string>
#include <vector>

class AnimatedSprite;
class Game;
class TextSprite;

// The professor's shop over a running level: five power-ups in a row, sold
// for the profile's coins. Buying one applies it to the level at once and
// closes the shop; the level stands still while the shop is open.
class PowerupShopController : public StateController {
public:
    static constexpr int POWERUP_COUNT = 5;
    static constexpr int INFINITE = 0;
    static constexpr int SPECIAL = 1;
    static constexpr int SPEED_BOOST = 2;
    static constexpr int UPGRADE = 3;
    static constexpr int SLOW_MOTION = 4;
    static constexpr int DESCRIPTION_LINES = 4;
    static constexpr int MAX_BUBBLE_LIMIT = 10;

    struct Powerup {
        const char* name;
        int price;
        const char* description[DESCRIPTION_LINES];
    };
    static const Powerup POWERUPS[POWERUP_COUNT];

    // Without a game given, the one running game is used.
    explicit PowerupShopController(Game* owner = nullptr);

    void enter() override;
    void leave() override;
    void onAction(const std::string& action, bool pressed) override;

    // Moves the selection one place, wrapping round at both ends.
    void moveSelection(int step);
    // Sells the selected power-up when the coins reach and nothing refuses
    // it; true when it was sold (the shop is then closed).
    bool buySelected();
    // Whether a power-up cannot be sold right now, whatever the coins: it is
    // already running, would do nothing, or needs a fish that is not there.
    bool refused(int index) const;

    int selection = 0;
    // Owned by the state once entered; empty before and after.
    std::vector<AnimatedSprite*> icons;
    TextSprite* coinsText = nullptr;
    TextSprite* nameText = nullptr;
    TextSprite* priceText = nullptr;
    TextSprite* descriptionTexts[DESCRIPTION_LINES] = { nullptr, nullptr, nullptr, nullptr };

protected:
    // The blocking fade from the captured frame to the shop.
    virtual void fadeIn(float seconds);

private:
    Game* game() const;
    void buildScreen();
    void bindKeys();
    void showSelection();
    void applyPowerup(int index);
    void close();

    Game* fixedGame;
    // A key that was already down when the shop opened neither buys nor
    // closes anything when it comes up.
    std::set<std::string> armed;
};
