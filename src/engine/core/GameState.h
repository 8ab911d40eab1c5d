#pragma once

#include <string>
#include <unordered_set>
#include <vector>

class Engine;
class Screen;
class Sprite;

// One entry of the state stack: a screen of the game. It owns the sprites made
// for it and remembers the key bindings made while it was on top.
class GameState {
public:
    GameState(Engine* owner, Screen* screen, const std::string& name);
    ~GameState();
    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;

    bool addSprite(Sprite* sprite, int layer);
    void removeSprite(Sprite* sprite);
    void clear();
    void purge();

    Engine* owner;
    Screen* screen;
    std::string name;
    std::vector<Sprite*> sprites;
    std::vector<std::string> stateActions;
    std::vector<Sprite*> pendingRemovals;
    // Tells this record apart from a later one that reuses its address.
    unsigned long serial;

private:
    // The same sprites as the list, for asking quickly whether one is ours:
    // a level may place thousands of creatures.
    std::unordered_set<Sprite*> owned;
};
