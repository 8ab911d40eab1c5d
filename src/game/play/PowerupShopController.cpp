#include "game/play/PowerupShopController.h"

#include "engine/core/GameState.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/Screen.h"
#include "engine/ui/TextSprite.h"
#include "game/app/Game.h"
#include "game/creatures/Creature.h"
#include "game/play/Player.h"
#include "game/play/ShopPanel.h"

#include <allegro.h>

const PowerupShopController::Powerup PowerupShopController::POWERUPS[POWERUP_COUNT] = {
    { "INFINITE", 10,
        { "This power-up enables you to", "fire an unlimited number of", "bubbles for a short time.", "" } },
    { "SPECIAL", 15, { "This special move will bubble-", "trap all the enemies in the", "level!", "" } },
    { "SPEED BOOST", 10,
        { "Use this power-up to increase", "your speed.", "Has no effect on the Zaz Fish.", "" } },
    { "UPGRADE", 50, { "Increase your maximum bubble", "limit with this power-up.", "", "" } },
    { "SLOW MOTION", 20, { "Use this power-up to slow", "down the passage of time.", "", "" } },
};

namespace {

constexpr int SHOP_LAYER = 4;
constexpr float FADE_SECONDS = 0.2f;
// The level stays still a moment longer, so the key that closed the shop
// does not also steer the fish.
constexpr float UNFREEZE_SECONDS = 0.1f;

constexpr float INFINITE_SECONDS = 20.0f;
constexpr float SPECIAL_TRAP_SECONDS = 10.0f;
constexpr float SPEED_BOOST_SECONDS = 30.0f;
constexpr float SLOW_MOTION_SECONDS = 20.0f;

constexpr int SELECTED_ALPHA = 255;
constexpr int OTHER_ALPHA = 128;
constexpr float SELECT_SECONDS = 0.1f;
constexpr float DESELECT_SECONDS = 0.4f;

// Layout: the title and the coins above the backdrop, the row of icons at
// the top of the backdrop (over the word the help screen shows there), and
// the panel with the name, the description and the price below them.
constexpr int BACKDROP_BOTTOM = 480;
constexpr int TITLE_Y = 60;
constexpr int COINS_Y = 100;
constexpr int COIN_LEFT_OF_CENTRE = 96;
constexpr int COIN_DROP = 10;
constexpr int ICONS_Y = 218;
constexpr int ICON_STEP = 100;
constexpr int ICON_PLATE_HEIGHT = 76;
constexpr int PANEL_WIDTH = 640;
constexpr int PANEL_HEIGHT = 200;
constexpr int PANEL_CENTRE_Y = 362;
constexpr int TEXT_LEFT_OF_CENTRE = 296;
constexpr int NAME_Y = 276;
constexpr int DESCRIPTION_Y[PowerupShopController::DESCRIPTION_LINES] = { 310, 334, 358, 382 };
constexpr int PRICE_Y = 422;
constexpr int SHADOW = 2;
// Draw order inside the layer: backdrop, then panel and icons, then texts.
constexpr int PANEL_DEPTH_BIAS = 1000;
constexpr int TEXT_DEPTH_BIAS = 2000;

constexpr int COIN_LAST_FRAME = 20;
constexpr float COIN_TURN_SECONDS = 0.8f;
constexpr int FOREVER = -1;

const char* const LEFT = "powerupLeft";
const char* const RIGHT = "powerupRight";
const char* const BUY = "buyPowerup";
const char* const END = "endPowerupShop";

template <typename T> T* addToShop(Game& game, T* sprite, int depthBias)
{
    sprite->depthBias = depthBias;
    if (!game.addSprite(sprite, SHOP_LAYER)) {
        delete sprite;
        return nullptr;
    }
    return sprite;
}

TextSprite* makeText(Game& game, const std::string& text, int x, int y, int alignment)
{
    auto* line = new TextSprite();
    line->text = text;
    line->alignment = alignment;
    line->setPosition(x, y);
    return addToShop(game, line, TEXT_DEPTH_BIAS);
}

std::string priceLabel(int price)
{
    return "Price: " + std::to_string(price) + " coins";
}

// The first key the fish has for one of its actions, or the given key when
// there is no fish or the action has no key.
int playerKey(const Game& game, const char* action, int fallback)
{
    if (game.player == nullptr) {
        return fallback;
    }
    const auto found = game.player->bindings.find(action);
    if (found == game.player->bindings.end() || found->second.empty()) {
        return fallback;
    }
    return found->second.front();
}

} // namespace

PowerupShopController::PowerupShopController(Game* owner)
    : StateController("powerupShop")
    , fixedGame(owner)
{
}

Game* PowerupShopController::game() const
{
    return fixedGame != nullptr ? fixedGame : Game::instance();
}

void PowerupShopController::fadeIn(float seconds)
{
    if (Game* owner = game()) {
        owner->fadeIn(seconds);
    }
}

void PowerupShopController::enter()
{
    selection = 0;
    icons.clear();
    clearBindings();
    armed.clear();
    Game* owner = game();
    if (owner == nullptr) {
        return;
    }
    if (owner->screen != nullptr) {
        owner->screen->captureFrame();
    }
    buildScreen();
    showSelection();

    owner->frozen = true;
    if (owner->screen != nullptr) {
        owner->screen->waterEffect = false;
    }
    bindKeys();
    fadeIn(FADE_SECONDS);
}

void PowerupShopController::buildScreen()
{
    Game& owner = *game();
    const int centre = owner.screen != nullptr ? owner.screen->width / 2 : 400;

    auto* backdrop = new AnimatedSprite();
    backdrop->datafile.load("help.dat");
    backdrop->alignment = 2;
    backdrop->setPosition(centre, BACKDROP_BOTTOM);
    addToShop(owner, backdrop, 0);

    auto* panel = new ShopPanel(PANEL_WIDTH, PANEL_HEIGHT);
    panel->setPosition(centre, PANEL_CENTRE_Y);
    addToShop(owner, panel, PANEL_DEPTH_BIAS);
    // The help page's heading sits where the icons go; the unselected,
    // half-clear icons would show it through, so they get a plate of their
    // own.
    auto* iconPlate = new ShopPanel(PANEL_WIDTH, ICON_PLATE_HEIGHT);
    iconPlate->setPosition(centre, ICONS_Y);
    addToShop(owner, iconPlate, PANEL_DEPTH_BIAS - 1);

    // The title and the coins stand over the frozen level, so they get a
    // dark box to stay readable.
    if (TextSprite* title = makeText(owner, "Power-Up Shop", centre, TITLE_Y, 1)) {
        title->boxed = true;
        title->shadowOffset = SHADOW;
    }
    coinsText = makeText(owner, "Coins: " + std::to_string(owner.coins), centre, COINS_Y, 1);
    if (coinsText != nullptr) {
        coinsText->boxed = true;
        coinsText->shadowOffset = SHADOW;
    }

    auto* coin = new AnimatedSprite();
    coin->datafile.load("coin.dat");
    coin->alignment = 1;
    coin->setPosition(centre - COIN_LEFT_OF_CENTRE, COINS_Y + COIN_DROP);
    coin->playAnimation("rot", 0, COIN_LAST_FRAME, COIN_TURN_SECONDS, FOREVER, false, 0.0f);
    addToShop(owner, coin, TEXT_DEPTH_BIAS);

    const int textLeft = centre - TEXT_LEFT_OF_CENTRE;
    nameText = makeText(owner, "", textLeft, NAME_Y, 0);
    for (int line = 0; line < DESCRIPTION_LINES; ++line) {
        descriptionTexts[line] = makeText(owner, "", textLeft, DESCRIPTION_Y[line], 0);
    }
    priceText = makeText(owner, "", textLeft, PRICE_Y, 0);

    for (int index = 0; index < POWERUP_COUNT; ++index) {
        auto* icon = new AnimatedSprite();
        icon->datafile.load("powerups.dat");
        icon->frame = static_cast<float>(index);
        icon->alignment = 1;
        icon->setPosition(centre + (index - POWERUP_COUNT / 2) * ICON_STEP, ICONS_Y);
        icon->alpha = static_cast<float>(index == 0 ? SELECTED_ALPHA : OTHER_ALPHA);
        if (addToShop(owner, icon, PANEL_DEPTH_BIAS) != nullptr) {
            icons.push_back(icon);
        }
    }
}

void PowerupShopController::bindKeys()
{
    const Game& owner = *game();
    bind(LEFT, playerKey(owner, "left", KEY_LEFT));
    bind(RIGHT, playerKey(owner, "right", KEY_RIGHT));
    const int fire = playerKey(owner, "fire", KEY_SPACE);
    bind(BUY, fire);
    for (int code : { KEY_SPACE, KEY_ENTER }) {
        if (code != fire) {
            bind(BUY, code);
        }
    }
    bind(END, KEY_ESC);
    bind(END, KEY_TAB);
    bind(END, KEY_F5);
}

void PowerupShopController::leave()
{
    // The state deletes the sprites.
    icons.clear();
    coinsText = nameText = priceText = nullptr;
    for (TextSprite*& line : descriptionTexts) {
        line = nullptr;
    }
    clearBindings();
    armed.clear();

    Game* owner = game();
    if (owner == nullptr) {
        return;
    }
    owner->freezeTimer = UNFREEZE_SECONDS;
    const bool dry = owner->player != nullptr && owner->player->outOfWater;
    if (owner->screen != nullptr && !dry) {
        owner->screen->waterEffect = owner->waterEffect;
    }
}

void PowerupShopController::onAction(const std::string& action, bool pressed)
{
    if (action == LEFT || action == RIGHT) {
        if (pressed) {
            moveSelection(action == LEFT ? -1 : 1);
        }
        return;
    }
    if (action != BUY && action != END) {
        return;
    }
    if (pressed) {
        armed.insert(action);
        return;
    }
    if (armed.erase(action) == 0) {
        return;
    }
    if (action == BUY) {
        buySelected();
    } else {
        close();
    }
}

void PowerupShopController::moveSelection(int step)
{
    selection = ((selection + step) % POWERUP_COUNT + POWERUP_COUNT) % POWERUP_COUNT;
    for (size_t index = 0; index < icons.size(); ++index) {
        if (static_cast<int>(index) == selection) {
            icons[index]->alphaTween.start(static_cast<float>(SELECTED_ALPHA), SELECT_SECONDS, 0);
        } else {
            icons[index]->alphaTween.start(static_cast<float>(OTHER_ALPHA), DESELECT_SECONDS, 0);
        }
    }
    showSelection();
}

void PowerupShopController::showSelection()
{
    const Powerup& shown = POWERUPS[selection];
    if (nameText != nullptr) {
        nameText->text = shown.name;
    }
    for (int line = 0; line < DESCRIPTION_LINES; ++line) {
        if (descriptionTexts[line] != nullptr) {
            descriptionTexts[line]->text = shown.description[line];
        }
    }
    if (priceText != nullptr) {
        priceText->text = priceLabel(shown.price);
    }
}

bool PowerupShopController::refused(int index) const
{
    const Game* owner = game();
    if (owner == nullptr) {
        return true;
    }
    const Player* fish = owner->player;
    switch (index) {
    case INFINITE:
        return fish == nullptr || fish->hasPowerup(Player::INFINITE_BUBBLES);
    case SPECIAL:
        return false;
    case SPEED_BOOST:
        return fish == nullptr || fish->ridingFriend || fish->hasPowerup(Player::SPEED_BOOST);
    case UPGRADE:
        return owner->bubbleLimit >= MAX_BUBBLE_LIMIT;
    case SLOW_MOTION:
        return fish == nullptr;
    default:
        return true;
    }
}

bool PowerupShopController::buySelected()
{
    Game* owner = game();
    if (owner == nullptr || selection < 0 || selection >= POWERUP_COUNT) {
        return false;
    }
    const int price = POWERUPS[selection].price;
    if (owner->coins < price || refused(selection)) {
        return false;
    }
    // Paid before the effect: the upgrade saves the profile, and the saved
    // coins must already be without the price.
    owner->coins -= price;
    if (coinsText != nullptr) {
        coinsText->text = "Coins: " + std::to_string(owner->coins);
    }
    applyPowerup(selection);
    close();
    return true;
}

void PowerupShopController::applyPowerup(int index)
{
    Game& owner = *game();
    Player* fish = owner.player;
    switch (index) {
    case INFINITE:
        fish->activatePowerup(Player::INFINITE_BUBBLES, INFINITE_SECONDS);
        break;
    case SPECIAL:
        for (Creature* creature : owner.creatures) {
            if (creature != nullptr && creature->visible && !creature->bubbleProof) {
                creature->trap(SPECIAL_TRAP_SECONDS);
            }
        }
        break;
    case SPEED_BOOST:
        fish->activatePowerup(Player::SPEED_BOOST, SPEED_BOOST_SECONDS);
        break;
    case UPGRADE:
        owner.bubbleLimit += 1;
        owner.saveProgress();
        if (fish != nullptr) {
            fish->bubbles = owner.bubbleLimit;
        }
        break;
    case SLOW_MOTION:
        fish->activatePowerup(Player::SLOW_MOTION, SLOW_MOTION_SECONDS);
        break;
    default:
        break;
    }
}

void PowerupShopController::close()
{
    Game* owner = game();
    // Only ever closes the shop itself, never the level beneath it.
    if (owner != nullptr && !owner->stateStack.empty() && owner->stateStack.back()->name == name) {
        owner->popState();
    }
}
