#pragma once

#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "game/app/TestGame.h"
#include "game/creatures/Creature.h"
#include "game/play/Player.h"
#include "game/play/TileMap.h"
#include "support/RecordingAudioDevice.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace fishtest {

constexpr float DT = 0.01f;

inline void releaseKeys()
{
    for (int code = 0; code < KEY_MAX; ++code) {
        key[code] = 0;
    }
}

// A creature that only stands where it is put.
class Target : public Creature {
public:
    Target(float atX, float atY, bool proof = false)
    {
        x = atX;
        y = atY;
        bubbleProof = proof;
    }
};

// A level of 800 x 600 pixels (10 x 7.5 cells of 80) with open water, the
// fish at the centre of cell (2, 2), a screen with the game's five layers and
// a sound manager that records what is played.
class FishLevel : public ::testing::Test {
protected:
    FishLevel()
    {
        releaseKeys();
        auto device = std::make_unique<RecordingAudioDevice>();
        calls = device->calls;
        game.sound = new SoundManager(std::move(device));
        for (const char* name : { "bubble", "ow", "treasure" }) {
            game.sound->samples[SoundManager::sfxDirectory + name + SoundManager::sfxExtension]
                = nextSample++;
        }
        map.cellWidth = 80;
        map.cellHeight = 80;
        game.mainLayer = &map;
        fish = std::make_unique<Player>();
        fish->setPosition(200, 200);
        fish->screen = game.screen;
        game.screen->addSprite(fish.get(), 2);
        game.player = fish.get();
    }

    ~FishLevel() override
    {
        game.screen->removeSprite(fish.get(), 2);
        fish.reset();
        game.mainLayer = nullptr;
        game.creatures.clear();
        releaseKeys();
    }

    // Runs the screen, and with it the fish and its bubble, in steps of DT
    // (at the pace of the game, as the engine does).
    void run(float seconds)
    {
        for (float t = 0.0f; t < seconds - DT / 2; t += DT) {
            game.screen->update(DT * game.timeScale);
        }
    }

    void hold(int code) { key[code] = 1; }
    void letGo(int code) { key[code] = 0; }
    // A fresh press of the fire key, seen by the fish on its next update.
    void fire()
    {
        letGo(KEY_SPACE);
        run(DT);
        hold(KEY_SPACE);
        run(DT);
    }

    int plays(const std::string& name) const
    {
        unsigned sample
            = game.sound->samples.at(SoundManager::sfxDirectory + name + SoundManager::sfxExtension);
        return static_cast<int>(
            RecordingAudioDevice::named(*calls, "playSample " + std::to_string(sample)).size());
    }

    apptest::TestGame game;
    TileMap map;
    std::unique_ptr<Player> fish;
    std::shared_ptr<std::vector<std::string>> calls;
    unsigned nextSample = 7;
};

} // namespace fishtest
