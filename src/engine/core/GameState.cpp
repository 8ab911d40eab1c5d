#include "engine/core/GameState.h"

#include "engine/core/DebugLog.h"
#include "engine/core/Engine.h"
#include "engine/media/Screen.h"
#include "engine/media/Sprite.h"

#include <algorithm>

namespace {
unsigned long nextSerial = 0;

bool contains(const std::vector<Sprite*>& list, Sprite* sprite)
{
    return std::find(list.begin(), list.end(), sprite) != list.end();
}
} // namespace

GameState::GameState(Engine* ownerEngine, Screen* stateScreen, const std::string& stateName)
    : owner(ownerEngine)
    , screen(stateScreen)
    , name(stateName)
    , serial(++nextSerial)
{
}

GameState::~GameState() = default;

bool GameState::addSprite(Sprite* sprite, int layer)
{
    if (contains(sprites, sprite)) {
        DebugLog::log("GameState [" + name + "] - trying to add duplicate sprite!", true);
        return false;
    }
    sprites.push_back(sprite);
    if (layer != -1 && screen != nullptr) {
        screen->addSprite(sprite, layer);
        sprite->screen = screen;
    }
    return true;
}

void GameState::removeSprite(Sprite* sprite)
{
    // Deleted at the end of the frame: it is still drawn in this one.
    pendingRemovals.push_back(sprite);
}

namespace {
void removeFromLayers(Screen* screen, Sprite* sprite)
{
    if (screen == nullptr) {
        return;
    }
    for (int layer = 0; layer < static_cast<int>(screen->layers.size()); ++layer) {
        screen->removeSprite(sprite, layer);
    }
}
} // namespace

void GameState::purge()
{
    // Taken out first: a sprite's destructor may queue more removals.
    std::vector<Sprite*> queued;
    queued.swap(pendingRemovals);
    for (Sprite* sprite : queued) {
        auto found = std::find(sprites.begin(), sprites.end(), sprite);
        if (found == sprites.end()) {
            continue; // queued twice, or never ours
        }
        sprites.erase(found);
        removeFromLayers(screen, sprite);
        delete sprite;
    }
}

void GameState::clear()
{
    std::vector<Sprite*> owned;
    owned.swap(sprites);
    for (Sprite* sprite : owned) {
        removeFromLayers(screen, sprite);
        delete sprite;
    }
    // Queued removals pointed at sprites that are gone now.
    pendingRemovals.clear();
    std::vector<std::string> actions;
    actions.swap(stateActions);
    if (owner != nullptr) {
        for (const std::string& action : actions) {
            owner->unbind(action);
        }
    }
}
