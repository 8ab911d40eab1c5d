// volume.cfg through the sound manager: any file gives volumes in 0-255,
// and what it saves loads back to the same two volumes.
#include "FuzzScratch.h"

#include "engine/media/AudioDevice.h"
#include "engine/media/SoundManager.h"

#include <memory>
#include <string>

namespace {

// A device that starts and plays nothing, so the manager is enabled.
class SilentDevice : public AudioDevice {
public:
    bool init(int) override { return true; }
    void stop() override { }
    void free() override { }
    unsigned loadSample(const std::string&, int) override { return 0; }
    int sampleFrequency(unsigned) override { return 0; }
    unsigned playSample(unsigned, int, int, int, bool) override { return 0; }
    unsigned createStream(const std::string&) override { return 0; }
    bool playStream(unsigned, bool, bool) override { return false; }
    void freeStream(unsigned) override { }
    void stopChannel(unsigned) override { }
    void setChannelAttributes(unsigned, int, int, int) override { }
    void slideChannelAttributes(unsigned, int, int, int, int) override { }
};

std::string describe(const SoundManager& sound)
{
    return std::to_string(sound.sfxVolume) + " " + std::to_string(sound.musicVolume);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzScratch::enter();
    FuzzScratch::startInput();
    FuzzScratch::writeFile("volume.cfg", data, size);

    int sfx = 0;
    float music = 0.0f;
    {
        SoundManager sound(std::make_unique<SilentDevice>());
        sound.loadVolume();
        if (sound.sfxVolume < 0 || sound.sfxVolume > 255 || !(sound.musicVolume >= 0.0f)
            || sound.musicVolume > 255.0f) {
            FuzzScratch::fail("volumes out of range: " + describe(sound));
        }
        sfx = sound.sfxVolume;
        music = sound.musicVolume;
        sound.saveVolume();
    }
    SoundManager again(std::make_unique<SilentDevice>());
    again.loadVolume();
    if (again.sfxVolume != sfx || again.musicVolume != music) {
        FuzzScratch::fail(
            "saved " + std::to_string(sfx) + " " + std::to_string(music) + " but loaded " + describe(again));
    }
    return 0;
}
