// profiles.cfg through the game's own start-up reading: any file gives a
// list of usable names with a current profile, and the list the game writes
// back reads back the same.
#include "FuzzScratch.h"

#include "engine/core/DebugLog.h"
#include "game/app/Game.h"
#include "game/app/ProfileList.h"

#include <string>
#include <vector>

namespace {

class ProfilesGame : public Game {
public:
    ProfilesGame() { DebugLog::setFatalMode(false); }
    bool confirm(const std::string&) override { return false; }
};

std::string describe(const std::vector<std::string>& names, const std::string& current)
{
    std::string text;
    for (const std::string& name : names) {
        text += "[" + name + "] ";
    }
    return text + "current [" + current + "]";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzScratch::enter();
    FuzzScratch::startInput();
    FuzzScratch::remove("profiles.cfg.bad");
    FuzzScratch::writeFile(ProfileList::FILE_NAME, data, size);

    std::vector<std::string> names;
    std::string current;
    {
        ProfilesGame game;
        game.readProfiles();
        if (game.profiles.empty() || !ProfileList::isSafeName(game.currentProfile)) {
            FuzzScratch::fail(
                "no usable profile after reading: " + describe(game.profiles, game.currentProfile));
        }
        for (const std::string& name : game.profiles) {
            if (!ProfileList::isSafeName(name)) {
                FuzzScratch::fail("unsafe name kept: " + describe(game.profiles, game.currentProfile));
            }
        }
        names = game.profiles;
        current = game.currentProfile;
        game.writeProfiles();
    }
    ProfilesGame again;
    again.readProfiles();
    if (again.profiles != names || again.currentProfile != current) {
        FuzzScratch::fail("wrote " + describe(names, current) + " but read back "
            + describe(again.profiles, again.currentProfile));
    }
    return 0;
}
