#include "game/play/InGameController.h"

#include "engine/media/AnimatedSprite.h"
#include "engine/media/Screen.h"
#include "engine/ui/TextSprite.h"
#include "game/app/Game.h"

#include <allegro.h>

namespace {

constexpr int BACKGROUND_LAYER = 0;
constexpr int TOP_LAYER = 4;
constexpr int STORY_LEVELS = 50;

} // namespace

InGameController::InGameController(Game* owner)
    : StateController("inGame")
    , fixedGame(owner)
{
}

Game* InGameController::game() const
{
    return fixedGame != nullptr ? fixedGame : Game::instance();
}

std::string InGameController::backgroundFor(int level)
{
    // One background per ten story levels; the rest use the first.
    int digit = level >= 0 && level < STORY_LEVELS ? level / 10 : 0;
    return "bg" + std::to_string(digit) + ".dat";
}

void InGameController::enter()
{
    Game* owner = game();
    if (owner == nullptr) {
        return;
    }
    int width = owner->screen != nullptr ? owner->screen->width : 800;
    int height = owner->screen != nullptr ? owner->screen->height : 600;

    auto* background = new AnimatedSprite();
    background->datafile.load(backgroundFor(owner->currentLevel));
    if (!owner->addSprite(background, BACKGROUND_LAYER)) {
        delete background;
    }

    auto* title = new TextSprite();
    title->text = "Level " + std::to_string(owner->currentLevel + 1);
    title->alignment = 1;
    title->setPosition(width / 2, height / 2);
    if (!owner->addSprite(title, TOP_LAYER)) {
        delete title;
    }

    owner->addStateAction("JUMPSTATE:levelSelect", KEY_ESC);
}
