#pragma once

#include "engine/core/GameState.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/DatafileWriter.h"
#include "engine/media/SoundManager.h"
#include "game/app/TestGame.h"
#include "game/play/InGameController.h"
#include "game/play/LevelColours.h"
#include "game/play/TestLevels.h"
#include "support/RecordingAudioDevice.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Level play as the game runs it, without a window: the in-game state on a
// test game, levels drawn as small pictures in lvl/levels.dat, a picture
// under every datafile name a level asks for, and sound that is recorded.
namespace playtest {

constexpr float DT = 0.01f;

// What each letter of a test level stands for; anything else is open water.
inline const std::map<char, int>& legend()
{
    static const std::map<char, int> letters = {
        { '#', 0xff0000 }, // rock
        { 'f', 0x323232 }, // weed in front
        { 'S', 0x0000ff }, // the fish's start
        { 'T', 0xffff00 }, // chest
        { 'G', 0xa4ff00 }, // gem (kind 1)
        { 'c', 0x946030 }, // crab
    };
    return letters;
}

class PlayWorld : public apptest::GameTest {
protected:
    PlayWorld()
        : artworkFolder(DatafileManager::directory())
    {
        for (int code = 0; code < KEY_MAX; ++code) {
            key[code] = 0;
        }
        writeArtwork();
        auto device = std::make_unique<RecordingAudioDevice>();
        calls = device->calls;
        game.sound = new SoundManager(std::move(device));
        unsigned sample = 1;
        for (const char* name : { "levelcomplete", "bubble", "treasure" }) {
            game.sound->samples[SoundManager::sfxDirectory + name + SoundManager::sfxExtension] = sample++;
        }
        game.currentProfile = "tester";
        controller.fadeInSeconds = 0.0f;
        game.registerController(&controller);
    }

    ~PlayWorld() override
    {
        game.popAllStates();
        game.collectGarbage();
        DatafileManager::setDirectory(artworkFolder);
    }

    void writeArtwork()
    {
        std::filesystem::create_directory("dat");
        DatafileManager::setDirectory("dat/");
        std::vector<std::string> names = { "bubble.dat", "treasure.dat", "dorir.dat", "particles.dat",
            "plunger.dat", "menubg.dat", "readygo.dat", "squid.dat", "bigbossbird.dat", "sharkybig.dat",
            "dancefish.dat", "coin.dat", "100perc.dat", "tiles0.dat", "tiles1.dat", "tiles2.dat",
            "tiles4.dat", "bg0.dat", "bg1.dat", "bg2.dat", "bg3.dat", "bg4.dat", "help.dat" };
        for (const LevelColours::Row& row : LevelColours::rows()) {
            if (row.datafile[0] != '\0') {
                names.push_back(row.datafile);
            }
        }
        DatafileWriter out;
        BITMAP* picture = create_bitmap_ex(16, 4, 4);
        clear_to_color(picture, 0);
        for (int i = 0; i < 6; ++i) {
            out.addBitmap(picture);
        }
        out.addData({ 0 }); // the cache keeps a file's last object out of reach
        destroy_bitmap(picture);
        for (const std::string& name : names) {
            out.save("dat/" + name);
        }
    }

    // lvl/levels.dat with the pictures (art[row][column]) at their objects;
    // the objects between them hold a level whose chest the fish never
    // reaches on its own.
    void writeLevels(const std::map<int, std::vector<std::string>>& levels)
    {
        ASSERT_TRUE(leveltest::writeLevelFile(levels, legend(), { "S.T" }));
    }

    void enter(int level)
    {
        game.currentLevel = level;
        game.jumpState("inGame");
    }

    void run(float seconds, float step = DT)
    {
        for (float t = 0.0f; t < seconds - step / 2; t += step) {
            game.update(step);
            game.collectGarbage();
        }
    }

    std::vector<std::string> stack() const
    {
        std::vector<std::string> names;
        for (const GameState* state : game.stateStack) {
            names.push_back(state->name);
        }
        return names;
    }

    // The music tracks started, in order.
    std::vector<std::string> tracks() const
    {
        std::vector<std::string> started;
        for (const std::string& call : RecordingAudioDevice::named(*calls, "createStream")) {
            started.push_back(call.substr(call.rfind(' ') + 1));
        }
        return started;
    }

    int plays(const std::string& name) const
    {
        unsigned sample
            = game.sound->samples.at(SoundManager::sfxDirectory + name + SoundManager::sfxExtension);
        return static_cast<int>(
            RecordingAudioDevice::named(*calls, "playSample " + std::to_string(sample)).size());
    }

    std::string artworkFolder;
    apptest::TestGame game;
    InGameController controller { &game };
    std::shared_ptr<std::vector<std::string>> calls;
};

} // namespace playtest
