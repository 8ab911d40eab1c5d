#include "game/app/HelpScreen.h"

#include "engine/core/ActionMap.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/Screen.h"
#include "engine/ui/TextSprite.h"
#include "game/app/Game.h"
#include "game/play/Player.h"

#include <allegro.h>

#include <initializer_list>

namespace {

constexpr int HELP_LAYER = 4;
constexpr int LINES_LEFT = 300;
constexpr int LINES_TOP = 75;

bool oneOf(int level, std::initializer_list<int> levels)
{
    for (int candidate : levels) {
        if (level == candidate) {
            return true;
        }
    }
    return false;
}

bool between(int level, int first, int last)
{
    return level >= first && level <= last;
}

} // namespace

std::vector<std::string> HelpScreen::linesFor(int level, int coinsRequired, const std::string& fireKey)
{
    // The first row that fits wins: the special levels of a world come before
    // the advice for the world as a whole.
    if (oneOf(level, { 5, 14, 22, 38, 46 })) {
        return { "Hang on tight!", "", "", "" };
    }
    if (oneOf(level, { 3, 16, 25, 44 })) {
        return { "Collect " + std::to_string(coinsRequired) + " coins to win.",
            "Use the coins to buy power-ups", "at the power-up shop. (TAB)", "" };
    }
    if (oneOf(level, { 7, 17, 26, 48 })) {
        return { "Run!!", "", "", "" };
    }
    switch (level) {
    case 0:
        return { "Collect all the Treasure Chests", "to proceed. Collect all the", "gems for a 100% rating!",
            "Press F1 to get help in-game." };
    case 9:
        return { "Use the squid's ink blobs", "against him. Use your bubbles", "to freeze his attacks.", "" };
    case 19:
        return { "The swordfish has challenged", "you to a duel!", "Press " + fireKey + " to attack.", "" };
    case 29:
        return { "Use your bubbles to deflect", "the leviathan's attacks!", "", "" };
    case 39:
        return { "Dodge the Big Boss Bird's", "attacks. Watch out for spikes!", "", "" };
    case 49:
        return { "You've reached the final boss!", "Good luck!", "", "" };
    case 1000:
        return { "Track the shell with the", "treasure to win 5 coins.", "", "" };
    case 1001:
        return { "Disarm the bombs by trapping", "them in bubbles.", "Disarm all the bombs to win",
            "15 coins. Hurry!" };
    case 1002:
        return { "Follow the dancing fish.", "Press left, right, up, down at", "the correct times to dance.",
            "Keep it up to win 25 coins!" };
    default:
        break;
    }
    if (between(level, 10, 19)) {
        return { "Beware of the pirate fish!", "Rearrange the crates to ", "proceed.", "" };
    }
    if (between(level, 20, 29)) {
        return { "Watch out for the sentinel", "statues!", "You'll have to find some",
            "way to block their sight." };
    }
    if (between(level, 30, 39)) {
        return { "You're a fish out of water!", "Press Up to jump.", "", "" };
    }
    if (between(level, 40, 49)) {
        return { "You've made it to the", "Shark's lair.", "Good luck!", "" };
    }
    return { "To use your Bubbles,", "press " + fireKey + "!", "Bubbles will trap your",
        "enemies for a short time." };
}

std::string HelpScreen::fireKeyName(const Game& game)
{
    // A fish not made yet gets the default keys when it is.
    if (game.player == nullptr) {
        return ActionMap::keyName(KEY_SPACE);
    }
    const auto found = game.player->bindings.find("fire");
    if (found == game.player->bindings.end() || found->second.empty()) {
        return "the fire key";
    }
    return ActionMap::keyName(found->second.front());
}

void HelpScreen::build(Game& game)
{
    Screen* screen = game.screen;
    const int width = screen != nullptr ? screen->width : 0;
    const int height = screen != nullptr ? screen->height : 0;
    if (screen != nullptr) {
        screen->captureFrame();
    }

    auto* panel = new AnimatedSprite();
    panel->datafile.load("help.dat");
    panel->alignment = 1;
    panel->setPosition(width / 2, height / 2);
    if (!game.addSprite(panel, HELP_LAYER)) {
        delete panel;
    }

    const std::vector<std::string> lines = linesFor(game.currentLevel, game.coinsRequired, fireKeyName(game));
    for (int k = 0; k < LINES; ++k) {
        auto* line = new TextSprite();
        line->text = lines[k];
        line->setPosition(width / 2 - LINES_LEFT, height / 2 - LINES_TOP + LINE_STEP * k);
        line->depthBias = LINE_DEPTH_BIAS;
        if (!game.addSprite(line, HELP_LAYER)) {
            delete line;
        }
    }

    // Any key let go closes the panel again.
    game.addStateAction("endHelp", ActionMap::ANY_KEY);

    game.frozen = true;
    if (screen != nullptr) {
        screen->waterEffect = false;
    }
    game.fadeIn(FADE_SECONDS);
}
