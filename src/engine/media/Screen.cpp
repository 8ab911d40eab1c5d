#include "engine/media/Screen.h"

#include "engine/core/DebugLog.h"
#include "engine/media/DrawAccelerator.h"
#include "engine/media/Sprite.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

Screen* currentScreen = nullptr;

// The water ripple copies rows of this width: the game's widest mode.
constexpr int WAVE_ROW_WIDTH = 800;

// The ripple is anchored to the main play layer so that it moves with the
// scrolled world.
constexpr int WAVE_ANCHOR_LAYER = 2;

} // namespace

Screen::Screen(int screenWidth, int screenHeight, bool fullscreenMode, bool modeAlreadySet)
    : layers(1)
    , width(screenWidth)
    , height(screenHeight)
    , card(fullscreenMode ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED)
    , fullscreen(fullscreenMode)
{
    if (!modeAlreadySet) {
        static const int DEPTHS[] = { 16, 15, 32, 24 };
        for (int depth : DEPTHS) {
            set_color_depth(depth);
            if (set_gfx_mode(card, width, height, 0, 0) == 0) {
                colourDepth = depth;
                break;
            }
        }
        if (colourDepth == 0) {
            DebugLog::log(
                std::string("Failed to initialize graphics. ") + (fullscreen ? "(fullscreen)" : "(windowed)"),
                true);
            return;
        }
        DebugLog::log("Initialized (" + std::to_string(width) + "," + std::to_string(height) + ") - "
            + std::to_string(colourDepth) + " bit color");
    }

    currentScreen = this;
    backBuffer = create_bitmap(width, height);
    snapshot = create_bitmap(width, height);
    DrawAccelerator::install(backBuffer);
    // Text is drawn without a background (what text_mode(-1) did; the _ex
    // text calls take the background explicitly).
    _textmode = -1;

    displayWidth = SCREEN_W;
    displayHeight = SCREEN_H;
    centreX = displayWidth / 2;
    centreY = displayHeight / 2;
}

Screen::~Screen()
{
    if (backBuffer != nullptr) {
        destroy_bitmap(backBuffer);
    }
    if (snapshot != nullptr) {
        destroy_bitmap(snapshot);
    }
    if (currentScreen == this) {
        currentScreen = nullptr;
    }
}

Screen* Screen::instance()
{
    return currentScreen;
}

void Screen::changeResolution(int newWidth, int newHeight)
{
    if (newWidth == width && newHeight == height) {
        return;
    }
    // The mode keeps the window or full screen as it is now (the player may
    // have switched since the screen was made). A screen made over a mode
    // someone else set leaves the mode alone.
    card = fullscreen ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
    if (colourDepth != 0 && set_gfx_mode(card, newWidth, newHeight, 0, 0) != 0) {
        DebugLog::log("failed to change resolutions", true);
    }

    if (backBuffer != nullptr) {
        destroy_bitmap(backBuffer);
    }
    if (snapshot != nullptr) {
        destroy_bitmap(snapshot);
    }
    backBuffer = create_bitmap(newWidth, newHeight);
    snapshot = create_bitmap(newWidth, newHeight);
    DrawAccelerator::install(backBuffer);
    width = newWidth;
    height = newHeight;
    displayWidth = newWidth;
    displayHeight = newHeight;
    centreX = newWidth / 2;
    centreY = newHeight / 2;
}

bool Screen::isValidLayer(int index) const
{
    return index >= 0 && index < static_cast<int>(layers.size());
}

void Screen::addSprite(Sprite* sprite, int layerIndex)
{
    if (!isValidLayer(layerIndex)) {
        DebugLog::log("Layer #" + std::to_string(layerIndex) + " out of range", true);
        return;
    }
    if (sprite == nullptr) {
        return;
    }
    layers[layerIndex].sprites.push_back(sprite);
}

void Screen::removeSprite(Sprite* sprite, int layerIndex)
{
    if (!isValidLayer(layerIndex)) {
        DebugLog::log("Layer #" + std::to_string(layerIndex) + " out of range", true);
        return;
    }
    std::vector<Sprite*>& sprites = layers[layerIndex].sprites;
    auto found = std::find(sprites.begin(), sprites.end(), sprite);
    if (found != sprites.end()) {
        sprites.erase(found);
    }
}

void Screen::removeSprites(const std::unordered_set<Sprite*>& gone)
{
    for (Layer& layer : layers) {
        layer.sprites.erase(std::remove_if(layer.sprites.begin(), layer.sprites.end(),
                                [&gone](Sprite* sprite) { return gone.count(sprite) > 0; }),
            layer.sprites.end());
    }
}

void Screen::setCameraTarget(Sprite* target)
{
    cameraTarget = target;
    if (target == nullptr) {
        for (Layer& layer : layers) {
            layer.scrollX = 0;
            layer.scrollY = 0;
        }
    }
}

void Screen::update(float dt)
{
    if (waterEffect) {
        wavePhase += dt * 10.0f;
        if (wavePhase > 1000.0f) {
            wavePhase = 0.0f;
        }
    }
    // By index: a sprite may add sprites (or layers) while it updates.
    for (size_t i = 0; i < layers.size(); ++i) {
        for (size_t k = 0; k < layers[i].sprites.size(); ++k) {
            layers[i].sprites[k]->stepUpdate(dt);
        }
    }
}

void Screen::followTarget(Layer& layer)
{
    if (!lockX) {
        int scroll = centreX - static_cast<int>(cameraTarget->offsetX + cameraTarget->x) + offsetX;
        if (maxScrollX != NO_LIMIT && scroll > maxScrollX) {
            scroll = maxScrollX;
        }
        if (minViewRight != NO_LIMIT && scroll - width < -minViewRight) {
            scroll = width - minViewRight;
        }
        layer.scrollX = scroll;
        layer.cameraX = scroll;
    }
    if (!lockY) {
        int scroll = centreY - static_cast<int>(cameraTarget->offsetY + cameraTarget->y) + offsetY;
        if (maxScrollY != NO_LIMIT && scroll > maxScrollY) {
            scroll = maxScrollY;
        }
        if (minViewBottom != NO_LIMIT && scroll - height < -minViewBottom) {
            scroll = height - minViewBottom;
        }
        layer.scrollY = scroll;
        layer.cameraY = scroll;
    }
}

// Painter's order by depth key, ascending and stable: sprites with equal keys
// keep their order, and the order is kept in the layer for the next frame, so
// a scene that barely changes costs one pass. The keys are read once per frame.
void Screen::sortLayer(Layer& layer)
{
    std::vector<Sprite*>& sprites = layer.sprites;
    const size_t count = sprites.size();
    sortKeys.resize(count);
    for (size_t i = 0; i < count; ++i) {
        sortKeys[i] = sprites[i]->depth();
    }
    for (size_t i = 1; i < count; ++i) {
        const int key = sortKeys[i];
        if (sortKeys[i - 1] <= key) {
            continue;
        }
        Sprite* sprite = sprites[i];
        size_t j = i;
        while (j > 0 && sortKeys[j - 1] > key) {
            sortKeys[j] = sortKeys[j - 1];
            sprites[j] = sprites[j - 1];
            --j;
        }
        sortKeys[j] = key;
        sprites[j] = sprite;
    }
}

void Screen::render()
{
    if (backBuffer == nullptr) {
        return;
    }
    for (size_t i = 0; i < layers.size(); ++i) {
        Layer& layer = layers[i];
        if (cameraTarget != nullptr && layer.followCamera) {
            followTarget(layer);
        }
        sortLayer(layer);
        drawLayer(layer);
    }
}

void Screen::drawLayer(Layer& layer)
{
    if (backBuffer == nullptr) {
        return;
    }
    for (int pass = 0; pass < layer.passes; ++pass) {
        for (size_t k = 0; k < layer.sprites.size(); ++k) {
            Sprite* sprite = layer.sprites[k];
            const Sprite::Bounds bounds = sprite->getBounds();
            if (!layer.visible && !sprite->drawOnHiddenLayer) {
                continue;
            }
            if (layer.cull && sprite->cullable) {
                const bool onScreen = layer.isOnScreen(static_cast<int>(sprite->x),
                                          static_cast<int>(sprite->y), width, height)
                    || layer.isOnScreen(bounds.left, bounds.top, width, height)
                    || layer.isOnScreen(bounds.right, bounds.top, width, height)
                    || layer.isOnScreen(bounds.left, bounds.bottom, width, height)
                    || layer.isOnScreen(bounds.right, bounds.bottom, width, height);
                if (!onScreen) {
                    continue;
                }
            }
            sprite->pass = pass;
            sprite->savedX = sprite->x;
            sprite->savedY = sprite->y;
            sprite->savedZ = sprite->z;
            sprite->x += static_cast<float>(layer.scrollX);
            sprite->y += static_cast<float>(layer.scrollY);
            sprite->draw(backBuffer);
            sprite->x = sprite->savedX;
            sprite->y = sprite->savedY;
            sprite->z = sprite->savedZ;
            sprite->pass = 0;
        }
    }
}

int Screen::waveOffset(int row) const
{
    const int anchor
        = static_cast<int>(layers.size()) > WAVE_ANCHOR_LAYER ? layers[WAVE_ANCHOR_LAYER].scrollY : 0;
    const float angle = static_cast<float>(row - anchor) / waveLength + wavePhase;
    return static_cast<int>(-std::sin(static_cast<double>(angle)) * waveAmplitude);
}

void Screen::present()
{
    present(::screen);
}

void Screen::present(BITMAP* target)
{
    if (backBuffer == nullptr || target == nullptr) {
        return;
    }
    if (!waterEffect) {
        blit(backBuffer, target, 0, 0, 0, 0, width, height);
        return;
    }
    // Never read past the back buffer's right edge (a 640-wide mode).
    const int rowWidth = std::min(WAVE_ROW_WIDTH, backBuffer->w);
    for (int row = 0; row < height; ++row) {
        blit(backBuffer, target, 0, row, waveOffset(row), row, rowWidth, 1);
    }
}

void Screen::captureFrame()
{
    if (backBuffer == nullptr || snapshot == nullptr) {
        return;
    }
    blit(backBuffer, snapshot, 0, 0, 0, 0, width, height);
}
