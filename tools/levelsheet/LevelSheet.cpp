#include "levelsheet/LevelSheet.h"

#include "databuilder/art/ContactSheet.h"
#include "engine/core/DebugLog.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/Layer.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/play/InGameController.h"

#include <allegro.h>

#include <algorithm>

namespace {

constexpr int LAYERS = 5;
constexpr int START_WIDTH = 800;
constexpr int START_HEIGHT = 600;

// The game with a screen in memory and nothing but level play.
class SheetGame : public Game {
public:
    SheetGame()
    {
        DebugLog::setFatalMode(false);
        screen = new Screen(START_WIDTH, START_HEIGHT, false, true);
        screen->layers.resize(LAYERS);
        screen->layers[0].followCamera = false;
        screen->layers[LAYERS - 1].followCamera = false;
        DatafileManager::setDirectory("dat/");
        registerController(&inGame);
    }

    ~SheetGame() override
    {
        popAllStates();
        collectGarbage();
    }

    bool confirm(const std::string&) override { return false; }

    InGameController inGame { this };
};

void tileBackground(Layer& layer, BITMAP* target)
{
    for (Sprite* sprite : layer.sprites) {
        const Sprite::Bounds bounds = sprite->getBounds();
        const int stepX = std::max(1, bounds.right - bounds.left);
        const int stepY = std::max(1, bounds.bottom - bounds.top);
        const float homeX = sprite->x;
        const float homeY = sprite->y;
        for (int y = 0; y < target->h; y += stepY) {
            for (int x = 0; x < target->w; x += stepX) {
                sprite->x = homeX + static_cast<float>(x);
                sprite->y = homeY + static_cast<float>(y);
                sprite->draw(target);
            }
        }
        sprite->x = homeX;
        sprite->y = homeY;
    }
}

} // namespace

bool LevelSheet::draw(int level, const std::string& pngPath, std::string& error)
{
    SheetGame game;
    game.currentLevel = level;
    game.jumpState("inGame");
    // A number past the story, or one without a picture, builds no level
    // (the game would move on to another screen) and leaves no camera.
    if (game.player == nullptr || game.mainLayer == nullptr || game.screen->cameraTarget == nullptr) {
        error = "level " + std::to_string(level) + " could not be built";
        return false;
    }
    // One screen as large as the level, so the camera, kept inside the
    // level, sees all of it; the menu and banners stay out of the picture.
    Screen& screen = *game.screen;
    screen.changeResolution(game.levelWidth, game.levelHeight);
    screen.waterEffect = false;
    screen.layers[LAYERS - 1].visible = false;
    game.updateCamera();
    screen.update(0.0f);
    // The background is one screenful that stays put in play; here it is
    // laid out again and again under the whole level.
    clear_bitmap(screen.backBuffer);
    tileBackground(screen.layers[0], screen.backBuffer);
    screen.layers[0].visible = false;
    screen.render();

    BITMAP* whole = game.screen->backBuffer;
    const double scale = std::min(1.0, static_cast<double>(PAGE_WIDTH) / whole->w);
    const int width = std::max(1, static_cast<int>(whole->w * scale));
    const int height = std::max(1, static_cast<int>(whole->h * scale));
    BITMAP* page = create_bitmap_ex(bitmap_color_depth(whole), width, height);
    stretch_blit(whole, page, 0, 0, whole->w, whole->h, 0, 0, width, height);
    bool saved = ContactSheet::savePng(page, pngPath, error);
    destroy_bitmap(page);
    return saved;
}
