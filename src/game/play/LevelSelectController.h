#pragma once

#include "engine/core/StateController.h"

#include <set>
#include <string>
#include <vector>

class Game;
class MapNode;

// The world map: one node per story level along the path, the reached ones
// shown, the selected one lit. Choosing a node starts that level; Esc goes
// back to the title.
class LevelSelectController : public StateController {
public:
    static constexpr int LAST_LEVEL = 49;
    static constexpr int MAP_WIDTH = 800;
    static constexpr int MAP_HEIGHT = 600;
    static constexpr float CAMERA_SPEED = 150.0f;
    static constexpr float FADE_SECONDS = 0.1f;
    static constexpr int SELECTED_ALPHA = 255;
    static constexpr int OTHER_ALPHA = 128;

    // Without a game given, the one running game is used.
    explicit LevelSelectController(Game* owner = nullptr);

    void enter() override;
    void leave() override;
    void update(float dt) override;
    void onAction(const std::string& action, bool pressed) override;

    int selection = 0;
    // Owned by the state once entered; empty before and after.
    std::vector<MapNode*> nodes;

protected:
    // The blocking fade from the captured picture to the map.
    virtual void fadeIn(float seconds);

private:
    Game* game() const;
    // A screen narrower than the map scrolls with the game's camera.
    bool scrolls() const;
    void markSelection();
    // Puts the camera on the selected node, or starts it gliding there.
    void aimCamera(bool glide);

    Game* fixedGame;
    // Actions whose key went down while the map was up: a key still held
    // from the screen before does nothing when it comes up here.
    std::set<std::string> armed;
};
