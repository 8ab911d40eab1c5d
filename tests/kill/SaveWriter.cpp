// Saves one kind of the player's files over and over, switching between two
// known contents, until it is killed; the kill test stops it mid-save.
//
//     save_writer <settings|volume|profiles|bindings|progress> <a|b|loop>
//
// "a" and "b" write that content once; "loop" writes them in turn for
// ever, after telling its parent on stdout that it has begun.
#include "engine/core/DebugLog.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/app/ProfileList.h"
#include "game/app/ProgressFile.h"
#include "support/RecordingAudioDevice.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const PROFILE = "Kim";

bool writeSettings(Game& game, bool second)
{
    game.settings.clear();
    game.settings["resx"] = second ? 640.0f : 800.0f;
    game.settings["resy"] = second ? 480.0f : 600.0f;
    game.settings["fullscreen"] = second ? 1.0f : 0.0f;
    game.settings["enableAltEnter"] = second ? 0.0f : 1.0f;
    return game.writeSettings();
}

bool writeVolume(SoundManager& sound, bool second)
{
    sound.setSfxVolume(second ? 40 : 200);
    sound.setMusicVolume(second ? 90 : 255);
    sound.saveVolume();
    return true;
}

bool writeProfiles(bool second)
{
    std::vector<std::string> names = { PROFILE };
    if (second) {
        names.push_back("Ana");
        names.push_back("Ole");
    }
    return ProfileList::write(ProfileList::FILE_NAME, names, PROFILE);
}

bool writeBindings(Game& game, bool second)
{
    game.clearBindings();
    game.bind("up", second ? KEY_W : KEY_UP);
    game.bind("down", second ? KEY_S : KEY_DOWN);
    game.bind("left", second ? KEY_A : KEY_LEFT);
    game.bind("right", second ? KEY_D : KEY_RIGHT);
    game.bind("fire", second ? KEY_ENTER : KEY_SPACE);
    return game.saveBindings(std::string("profiles/") + PROFILE + ".cfg");
}

bool writeProgress(bool second)
{
    ProgressFile file;
    file.highestLevel = second ? 12 : 3;
    file.bubbleLimit = second ? 5 : 3;
    file.coins = second ? 480 : 25;
    file.waterEffect = !second;
    for (int level = 0; level < (second ? 12 : 3); ++level) {
        file.levelPercent[level] = second ? 100 : 50;
        file.bestTimes[level] = 30 + level;
    }
    return file.save(std::string("profiles/") + PROFILE + ".dat");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: save_writer <settings|volume|profiles|bindings|progress> <a|b|loop>\n");
        return 2;
    }
    const std::string kind = argv[1];
    const std::string mode = argv[2];
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "save_writer: Allegro did not start\n");
        return 1;
    }
    ::mkdir("profiles", 0777);
    Game game;
    DebugLog::setFatalMode(false);
    SoundManager sound(std::make_unique<RecordingAudioDevice>());

    auto save = [&](bool second) {
        if (kind == "settings") {
            return writeSettings(game, second);
        }
        if (kind == "volume") {
            return writeVolume(sound, second);
        }
        if (kind == "profiles") {
            return writeProfiles(second);
        }
        if (kind == "bindings") {
            return writeBindings(game, second);
        }
        if (kind == "progress") {
            return writeProgress(second);
        }
        std::fprintf(stderr, "save_writer: no such file kind [%s]\n", kind.c_str());
        std::exit(2);
    };

    if (mode == "a" || mode == "b") {
        return save(mode == "b") ? 0 : 1;
    }
    if (mode != "loop") {
        std::fprintf(stderr, "save_writer: no such mode [%s]\n", mode.c_str());
        return 2;
    }
    std::fputs("writing\n", stdout);
    std::fflush(stdout);
    for (bool second = true;; second = !second) {
        if (!save(second)) {
            std::fprintf(stderr, "save_writer: a %s save failed\n", kind.c_str());
            return 1;
        }
    }
}
