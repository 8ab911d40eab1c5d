#pragma once

#include "engine/core/ActionMap.h"
#include "engine/media/AnimatedSprite.h"

#include <string>
#include <vector>

// The fish the player steers. It is its own key listener: the actions
// "left", "right", "up", "down" and "fire" come from the profile's key file.
class Player : public AnimatedSprite, public ActionMap {
public:
    Player();
    ~Player() override;

    void onAction(const std::string& action, bool pressed) override;
    void update(float dt) override;

    // Key configuration.
    void setDefaultKeys();
    void loadKeys(const std::string& path);
    void saveKeys(const std::string& path) const;
    // Defaults, then the current profile's file (written from the defaults
    // when it is missing).
    void loadKeysForProfile();

    struct Powerup {
        int type;
        float secondsLeft;
    };

    int swimSpeed = 200;
    int bubbles = 3;
    int levelCoins = 0;
    bool dead = false;
    bool outOfWater = false;
    bool ridingFriend = false;
    bool rocketSmoke = false;
    std::vector<Powerup> powerups;
};
