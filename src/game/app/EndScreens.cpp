#include "game/app/EndScreens.h"

#include "engine/core/ActionMap.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"

#include <allegro.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int TOP_LAYER = 4;
constexpr int BACKGROUND_LAYER = 0;
constexpr int PICTURE_LAYER = 1;
constexpr int HEADING_LAYER = 2;
constexpr int BACKGROUNDS = 3;

// A centred picture of a datafile, owned by the top state; null when there
// is no state to take it.
AnimatedSprite* addPicture(Game& game, const std::string& file, int frame, int x, int y, int layer)
{
    auto* picture = new AnimatedSprite();
    picture->datafile.load(file);
    picture->alignment = 1;
    picture->frame = static_cast<float>(frame);
    picture->setPosition(x, y);
    if (!game.addSprite(picture, layer)) {
        delete picture;
        return nullptr;
    }
    return picture;
}

} // namespace

bool EndScreens::allLevelsPerfect(const std::map<int, int>& levelPercent)
{
    for (int level = 0; level < STORY_LEVELS; ++level) {
        auto found = levelPercent.find(level);
        if (found == levelPercent.end() || found->second != 100) {
            return false;
        }
    }
    return true;
}

void EndScreens::buildCredits(Game& game)
{
    // The lines scroll over black: the back buffer is cleared every frame
    // until the credits are left.
    game.noClear = false;
    game.creditsRoll("credits.txt", font, "JUMPSTATE_FALSE:title");
}

void EndScreens::buildHundredPercent(Game& game)
{
    const int width = game.screen != nullptr ? game.screen->width : 0;
    const int height = game.screen != nullptr ? game.screen->height : 0;
    if (AnimatedSprite* award = addPicture(game, "100perc.dat", 0, width / 2, height / 2, TOP_LAYER)) {
        award->alpha = 0.0f;
        award->alphaTween.start(255.0f, AWARD_FADE_SECONDS, 0);
    }
    game.addStateAction("endLevel", ActionMap::ANY_KEY);
    // Keeps a key still held from the level's last moments from skipping
    // the award before it is seen.
    game.inputLock = AWARD_LOCK_SECONDS;
}

void EndScreens::buildEndOfGame(Game& game)
{
    if (game.sound != nullptr) {
        game.sound->playMusic("mus/eog.ogg", true);
    }
    Screen* screen = game.screen;
    const int width = screen != nullptr ? screen->width : 0;
    const int height = screen != nullptr ? screen->height : 0;
    if (screen != nullptr) {
        screen->captureFrame();
        // The last level's camera may have left the scrolling layers
        // shifted; the end pictures stand still in the middle.
        if (screen->cameraTarget == nullptr) {
            for (Layer& layer : screen->layers) {
                layer.scrollX = layer.scrollY = 0;
                layer.cameraX = layer.cameraY = 0;
            }
        }
    }

    const std::string background = "bg" + std::to_string(std::rand() % BACKGROUNDS) + ".dat";
    addPicture(game, background, 0, width / 2, height / 2, BACKGROUND_LAYER);
    addPicture(game, "eog.dat", 0, width / 2, height / 2, PICTURE_LAYER);
    addPicture(game, "eog.dat", 1, width / 2, height / 2 - END_PICTURE_OFFSET, HEADING_LAYER);
    if (allLevelsPerfect(game.levelPercent)) {
        addPicture(game, "eog.dat", 2, width / 2, height / 2 + END_PICTURE_OFFSET, HEADING_LAYER);
    }

    game.addStateAction("JUMPSTATE_FALSE:credits", ActionMap::ANY_KEY);
    game.inputLock = END_LOCK_SECONDS;
    game.fadeIn(END_FADE_SECONDS);
}
