#include "game/play/LevelSelectController.h"

#include "engine/media/AnimatedSprite.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/play/MapNode.h"

#include <allegro.h>

#include <algorithm>

namespace {

constexpr int MAP_LAYER = 1;
constexpr int NODE_LAYER = 2;
constexpr const char* BACK_TO_TITLE = "JUMPSTATE:title";

int percentOf(const Game& game, int level)
{
    auto found = game.levelPercent.find(level);
    return found != game.levelPercent.end() ? found->second : 0;
}

} // namespace

LevelSelectController::LevelSelectController(Game* owner)
    : StateController("levelSelect")
    , fixedGame(owner)
{
}

Game* LevelSelectController::game() const
{
    return fixedGame != nullptr ? fixedGame : Game::instance();
}

bool LevelSelectController::scrolls() const
{
    Game* owner = game();
    return owner != nullptr && owner->screen != nullptr && owner->screen->width < MAP_WIDTH;
}

void LevelSelectController::fadeIn(float seconds)
{
    if (Game* owner = game()) {
        owner->fadeIn(seconds);
    }
}

void LevelSelectController::enter()
{
    Game* owner = game();
    if (owner == nullptr) {
        return;
    }
    Screen* screen = owner->screen;
    if (screen != nullptr) {
        if (scrolls()) {
            screen->setCameraTarget(&owner->camera);
        }
        screen->captureFrame();
    }

    auto* map = new AnimatedSprite();
    map->datafile.load("map.dat");
    map->alignment = 1;
    map->setPosition(MAP_WIDTH / 2, MAP_HEIGHT / 2);
    if (!owner->addSprite(map, MAP_LAYER)) {
        delete map;
    }

    selection = std::clamp(owner->highestLevel, 0, LAST_LEVEL);
    owner->mapLevel = selection;

    nodes.clear();
    for (int level = 0; level < MapNode::LEVEL_COUNT; ++level) {
        auto* node = new MapNode(level);
        node->frame = static_cast<float>(MapNode::pictureFor(level, percentOf(*owner, level)));
        node->visible = level <= owner->highestLevel;
        if (owner->addSprite(node, NODE_LAYER)) {
            nodes.push_back(node);
        } else {
            delete node;
        }
    }
    markSelection();
    if (scrolls()) {
        aimCamera(false);
    }

    clearBindings();
    armed.clear();
    bind("left", KEY_LEFT);
    bind("right", KEY_RIGHT);
    bind("up", KEY_UP);
    bind("down", KEY_DOWN);
    bind("selectLevel", KEY_ENTER);
    bind("selectLevel", KEY_SPACE);
    bind(BACK_TO_TITLE, KEY_ESC);
    fadeIn(FADE_SECONDS);
}

void LevelSelectController::leave()
{
    // The state deletes the map and the nodes.
    nodes.clear();
    clearBindings();
    armed.clear();
    Game* owner = game();
    if (owner != nullptr && owner->screen != nullptr) {
        owner->screen->setCameraTarget(nullptr);
    }
}

void LevelSelectController::update(float dt)
{
    StateController::update(dt);
    Game* owner = game();
    if (owner == nullptr) {
        return;
    }
    owner->mapLevel = selection;
    if (scrolls()) {
        aimCamera(true);
    }
}

void LevelSelectController::aimCamera(bool glide)
{
    Game* owner = game();
    Screen* screen = owner->screen;
    int halfWidth = screen->width / 2;
    int halfHeight = screen->height / 2;
    // Never show anything beyond the edges of the map.
    auto clampX = [&](float x) {
        return std::clamp(x, static_cast<float>(halfWidth), static_cast<float>(MAP_WIDTH - halfWidth));
    };
    auto clampY = [&](float y) {
        return std::clamp(y, static_cast<float>(halfHeight), static_cast<float>(MAP_HEIGHT - halfHeight));
    };
    int targetX = static_cast<int>(clampX(static_cast<float>(MapNode::mapX(selection))));
    int targetY = static_cast<int>(clampY(static_cast<float>(MapNode::mapY(selection))));
    Sprite& camera = owner->camera;
    if (glide) {
        camera.moveTo(targetX, targetY, CAMERA_SPEED);
    } else {
        camera.moveTo(targetX, targetY, 0.0f);
    }
    camera.x = clampX(camera.x);
    camera.y = clampY(camera.y);
}

void LevelSelectController::onAction(const std::string& action, bool pressed)
{
    if (pressed) {
        armed.insert(action);
        return;
    }
    if (armed.erase(action) == 0) {
        return;
    }
    Game* owner = game();
    if (owner == nullptr) {
        return;
    }
    int highest = std::clamp(owner->highestLevel, 0, LAST_LEVEL);
    if (action == "left" || action == "up") {
        selection = std::max(selection - 1, 0);
    } else if (action == "right" || action == "down") {
        selection = std::min(selection + 1, highest);
    } else if (action == "selectLevel") {
        owner->currentLevel = selection;
        owner->postAction("JUMPSTATE:inGame");
    } else if (action == BACK_TO_TITLE) {
        owner->postAction(BACK_TO_TITLE);
        return;
    } else {
        return;
    }
    markSelection();
}

void LevelSelectController::markSelection()
{
    for (MapNode* node : nodes) {
        node->alpha = static_cast<float>(node->level == selection ? SELECTED_ALPHA : OTHER_ALPHA);
    }
}
