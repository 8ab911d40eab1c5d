#include "game/play/Player.h"

#include "engine/core/DebugLog.h"
#include "game/app/Game.h"

#include <allegro.h>

#include <filesystem>
#include <system_error>

namespace {

// The keys a fresh profile steers the fish with.
struct DefaultKey {
    const char* action;
    int code;
};
constexpr DefaultKey DEFAULT_KEYS[] = {
    { "down", KEY_DOWN },
    { "left", KEY_LEFT },
    { "right", KEY_RIGHT },
    { "up", KEY_UP },
    { "fire", KEY_SPACE },
};

constexpr int START_SWIM_SPEED = 200;

} // namespace

Player::Player()
{
    datafile.load("dorir.dat");
    alignment = 1;
    swimSpeed = START_SWIM_SPEED;
    if (Game* game = Game::instance()) {
        bubbles = game->bubbleLimit;
    }
    loadKeysForProfile();
}

Player::~Player()
{
    // The game keeps a plain pointer to the fish of the running level; it
    // must not outlive the fish.
    Game* game = Game::instance();
    if (game != nullptr && game->player == this) {
        game->player = nullptr;
    }
}

void Player::onAction(const std::string&, bool) { }

void Player::update(float dt)
{
    AnimatedSprite::update(dt);
    ActionMap::update(dt);
}

void Player::setDefaultKeys()
{
    clearBindings();
    for (const DefaultKey& entry : DEFAULT_KEYS) {
        bind(entry.action, entry.code);
    }
}

void Player::loadKeys(const std::string& path)
{
    loadBindings(path);
}

void Player::saveKeys(const std::string& path) const
{
    if (path.empty()) {
        return;
    }
    std::error_code error;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
    }
    if (!saveBindings(path)) {
        DebugLog::log("Could not write keyconfig [" + path + "]");
    }
}

void Player::loadKeysForProfile()
{
    setDefaultKeys();
    Game* game = Game::instance();
    if (game == nullptr) {
        return;
    }
    std::string path = game->bindingsPath();
    if (path.empty()) {
        return;
    }
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        DebugLog::log("Could not find keyconfig. Creating from default data.");
        saveKeys(path);
        return;
    }
    loadKeys(path);
}
