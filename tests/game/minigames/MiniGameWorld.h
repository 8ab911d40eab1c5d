#pragma once

#include "engine/media/DatafileWriter.h"
#include "engine/media/ParticleSystem.h"
#include "game/creatures/LevelWorld.h"
#include "game/creatures/RewardCoin.h"
#include "game/play/Treasure.h"

#include <allegro.h>

#include <algorithm>
#include <string>
#include <vector>

// The level of the mini-game tests: open water, the pictures of the games'
// pieces at their real sizes, the sounds they make, a fish, the prize chest,
// and the whole level run at the game's pace through the screen's update.
namespace minigametest {

constexpr float DT = 0.01f;

inline void releaseKeys()
{
    for (int code = 0; code < KEY_MAX; ++code) {
        key[code] = 0;
    }
}

inline void writePictures(const std::string& name, int count, int width, int height)
{
    DatafileWriter out;
    BITMAP* picture = create_bitmap_ex(16, width, height);
    clear_to_color(picture, makecol16(220, 160, 140));
    for (int i = 0; i < count; ++i) {
        out.addBitmap(picture);
    }
    destroy_bitmap(picture);
    out.addData({ 0 }); // the cache keeps a file's last object out of reach
    out.save("dat/" + name);
}

class MiniGameWorld : public leveltest::LevelWorld {
protected:
    MiniGameWorld()
    {
        releaseKeys();
        writePictures("shellgame.dat", 1, 92, 72);
        writePictures("bomb.dat", 1, 64, 72);
        writePictures("coin.dat", 21, 32, 32);
        startSound({ "bubble", "bubblehit", "pop", "ow", "treasure", "cannon" });
        for (ParticleSystem*& emitter : game.emitters) {
            emitter = &sparks;
        }
    }

    ~MiniGameWorld() override
    {
        for (ParticleSystem*& emitter : game.emitters) {
            emitter = nullptr;
        }
        Creature::hurtPlayer = nullptr;
        releaseKeys();
    }

    // Open water of the given size in cells, walled by the level's edge.
    void openWater(int columns, int rows)
    {
        buildMap(std::vector<std::string>(rows, std::string(columns, '.')));
    }

    // The level's chest, as the level loader leaves it in its cell.
    Treasure* placeChest(int column, int row)
    {
        auto* chest = new Treasure(Treasure::CHEST);
        game.addSprite(chest, 2);
        game.treasures.push_back(chest);
        chest->setPosition(column * 80 + 40, row * 80 + 40);
        return chest;
    }

    // The whole level, game piece, fish, chest and coins, at the game's pace.
    void run(float seconds)
    {
        for (float t = 0.0f; t < seconds - DT / 2; t += DT) {
            game.screen->update(DT);
        }
    }

    // Runs until the condition holds, at most the given time; false when it
    // never did.
    template <typename Condition> bool runUntil(Condition done, float seconds)
    {
        for (float t = 0.0f; t < seconds; t += DT) {
            if (done()) {
                return true;
            }
            game.screen->update(DT);
        }
        return done();
    }

    std::vector<RewardCoin*> coins() const
    {
        std::vector<RewardCoin*> found;
        for (Creature* creature : game.creatures) {
            if (auto* coin = dynamic_cast<RewardCoin*>(creature)) {
                found.push_back(coin);
            }
        }
        return found;
    }

    bool onLayer(const void* sprite, int layer) const
    {
        const auto& sprites = game.screen->layers[layer].sprites;
        return std::find(sprites.begin(), sprites.end(), sprite) != sprites.end();
    }

    ParticleSystem sparks;
};

} // namespace minigametest
