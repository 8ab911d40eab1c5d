#include "engine/core/GameState.h"

#include "engine/core/DebugLog.h"
#include "engine/core/Engine.h"
#include "engine/media/Screen.h"
#include "engine/media/Sprite.h"

#include <algorithm>

namespace {
unsigned long nextSerial = 0;
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
    if (!owned.insert(sprite).second) {
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

void GameState::purge()
{
    // Taken out first: a sprite's destructor may queue more removals.
    std::vector<Sprite*> queued;
    queued.swap(pendingRemovals);
    // Queued twice, or never ours: skipped.
    std::unordered_set<Sprite*> gone;
    for (Sprite* sprite : queued) {
        if (owned.erase(sprite) > 0) {
            gone.insert(sprite);
        }
    }
    if (gone.empty()) {
        return;
    }
    sprites.erase(std::remove_if(sprites.begin(), sprites.end(),
                      [&gone](Sprite* sprite) { return gone.count(sprite) > 0; }),
        sprites.end());
    if (screen != nullptr) {
        screen->removeSprites(gone);
    }
    for (Sprite* sprite : queued) {
        if (gone.erase(sprite) > 0) {
            delete sprite;
        }
    }
}

void GameState::clear()
{
    std::vector<Sprite*> leaving;
    leaving.swap(sprites);
    std::unordered_set<Sprite*> gone;
    gone.swap(owned);
    if (screen != nullptr) {
        screen->removeSprites(gone);
    }
    for (Sprite* sprite : leaving) {
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
