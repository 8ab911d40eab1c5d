#pragma once

#include "engine/core/StateController.h"

#include <string>

class AnimatedSprite;
class Game;
class Menu;
class Player;

// The title screen: the logo over the seabed, the title music and the whole
// menu tree outside play (start, options, keys, profiles, mini-games,
// credits, quit). Everything is rebuilt on every entry, so the profile list
// and the options always show what is current.
class TitleController : public StateController {
public:
    // Without a game the one running game is used.
    explicit TitleController(Game* owner = nullptr);

    void enter() override;
    void leave() override;
    void update(float dt) override;

    // Callbacks of the options page.
    // Switches between 800 x 600 and 640 x 480 and rebuilds the title at
    // the new size.
    void changeResolution();
    // Switches between a window and the full screen.
    void changeDisplayMode();
    void changeMusicVolume(int volume);
    // Sets the effects volume and lets the player hear it.
    void changeSfxVolume(int volume);

    static constexpr float SFX_SAMPLE_INTERVAL = 0.5f;
    static constexpr int PROFILE_NAME_LENGTH = 20;
    // The menu hangs this far above the middle of the screen.
    static constexpr int MENU_RISE = 75;
    // A step long enough for every highlight to have settled.
    static constexpr float SETTLE_STEP = 50.0f;
    static constexpr int TOP_LAYER = 4;
    static constexpr int BACKGROUND_LAYER = 0;

    // What this entry made; null while the state is not shown.
    Menu* menu = nullptr;
    Player* player = nullptr;

private:
    Game* game() const;
    AnimatedSprite* addPicture(const std::string& file, int frame, int x, int y, int layer);
    void fillPages(Game* owner);
    // The options toggles show the display settings in force.
    static void readDisplaySettings(Game* owner);

    Game* fixedGame;
};
