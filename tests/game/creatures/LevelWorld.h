#pragma once

#include "engine/core/GameState.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/SoundManager.h"
#include "game/app/TestGame.h"
#include "game/creatures/StillCreature.h"
#include "game/play/Player.h"
#include "game/play/TestLevels.h"
#include "game/play/TileMap.h"
#include "support/RecordingAudioDevice.h"
#include "support/StandInArtwork.h"

#include <allegro.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// A level without a window: the game with a state to own what is added,
// tile layers, small pictures under every datafile name a level asks for,
// and a sound device that records what it plays.
namespace leveltest {

class LevelWorld : public apptest::GameTest {
protected:
    LevelWorld()
        : artworkFolder(DatafileManager::directory())
    {
        std::filesystem::create_directory("dat");
        DatafileManager::setDirectory("dat/");
        writeStandInArtwork("dat");
        game.pushState("level");
        game.mainLayer = &mainLayer;
        game.foregroundLayer = &foregroundLayer;
    }

    ~LevelWorld() override { DatafileManager::setDirectory(artworkFolder); }

    // Rock where the art has '#' (art[row][column]); the level is as large
    // as the art.
    void buildMap(const std::vector<std::string>& art) { leveltest::buildRockMap(game, mainLayer, art); }

    StillCreature* spawn(const std::string& datafile, int column, int row)
    {
        auto* creature = new StillCreature(datafile);
        creature->setPosition(column * 80 + 40, row * 80 + 40);
        game.addCreature(creature);
        return creature;
    }

    Player* makePlayer(float x, float y)
    {
        auto* player = new Player();
        game.addSprite(player, 2);
        game.player = player;
        player->x = x;
        player->y = y;
        return player;
    }

    void startSound(const std::vector<std::string>& names)
    {
        std::filesystem::create_directory("sfx");
        for (const std::string& name : names) {
            apptest::writeFile("sfx/" + name + ".ogg", "never decoded");
        }
        auto device = std::make_unique<RecordingAudioDevice>();
        calls = device->calls;
        sound = std::make_unique<SoundManager>(std::move(device));
        sound->loadSamples("sfx/", ".ogg");
    }

    // "<volume> <pan>" of each time the sample played, on the device's
    // scales of 0-100 (pan 50 in the middle).
    std::vector<std::string> played(const std::string& name) const
    {
        std::string prefix
            = "playSample " + std::to_string(sound->samples.at("sfx/" + name + ".ogg")) + " -1 ";
        std::vector<std::string> found;
        for (const std::string& call : RecordingAudioDevice::named(*calls, "playSample")) {
            if (call.rfind(prefix, 0) == 0) {
                found.push_back(call.substr(prefix.size(), call.size() - prefix.size() - 2));
            }
        }
        return found;
    }

    std::string artworkFolder;
    TileMap mainLayer;
    TileMap foregroundLayer;
    apptest::TestGame game;
    std::unique_ptr<SoundManager> sound;
    std::shared_ptr<std::vector<std::string>> calls;
};

} // namespace leveltest
