#pragma once

#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "game/app/TestGame.h"
#include "game/creatures/Creature.h"
#include "game/play/Player.h"
#include "game/play/TestLevels.h"
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
struct Target : Creature {
    Target(float atX, float atY, bool proof = false)
    {
        x = atX;
        y = atY;
        bubbleProof = proof;
    }
};

// An open 800 x 600 level of 80-pixel cells with the fish at (200, 200), in
// cell (2, 2), on the game's layers, and a sound manager that records.
class FishLevel : public ::testing::Test {
protected:
    FishLevel()
    {
        releaseKeys();
        auto device = std::make_unique<RecordingAudioDevice>();
        calls = device->calls;
        game.sound = new SoundManager(std::move(device));
        unsigned sample = 7;
        for (const char* name : { "bubble", "ow", "treasure", "boing" }) {
            game.sound->samples[SoundManager::sfxDirectory + name + SoundManager::sfxExtension] = sample++;
        }
        map.cellWidth = map.cellHeight = 80;
        game.mainLayer = &map;
        fish = std::make_unique<Player>();
        fish->setPosition(200, 200);
        fish->screen = game.screen;
        game.screen->addSprite(fish.get(), 2);
        game.player = fish.get();
    }

    ~FishLevel() override
    {
        for (const std::unique_ptr<Target>& creature : placed) {
            game.screen->removeSprite(creature.get(), 2);
        }
        game.screen->removeSprite(fish.get(), 2);
        fish.reset();
        game.mainLayer = nullptr;
        game.creatures.clear();
        game.treasures.clear();
        releaseKeys();
    }

    // Rock where the art has '#' (art[row][column]); the level is as large
    // as the art.
    void buildMap(const std::vector<std::string>& art) { leveltest::buildRockMap(game, map, art); }

    // A creature at the centre of a cell, in the level's list and run by
    // the screen; the name stands for the pictures it was loaded from.
    Target* place(int column, int row, const std::string& pictures = "")
    {
        placed.push_back(std::make_unique<Target>(column * 80 + 40, row * 80 + 40));
        Target* creature = placed.back().get();
        creature->datafile.name = pictures;
        game.creatures.push_back(creature);
        game.screen->addSprite(creature, 2);
        return creature;
    }

    Target* crate(int column, int row)
    {
        Target* crate = place(column, row, "dat/crate.dat");
        crate->obstacle = true;
        crate->bubbleProof = true;
        return crate;
    }

    // The screen runs the fish and its bubble at the game's pace.
    void run(float seconds)
    {
        for (float t = 0.0f; t < seconds - DT / 2; t += DT) {
            game.screen->update(DT * game.timeScale);
        }
    }

    void fire()
    {
        key[KEY_SPACE] = 0;
        run(DT);
        key[KEY_SPACE] = 1;
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
    std::vector<std::unique_ptr<Target>> placed;
};

} // namespace fishtest
