#pragma once

#include "engine/media/AudioDevice.h"

// A sound card that plays nothing but answers like a real one, so a long
// unattended run goes through the game's sound code (samples, music, the
// volume file) without a device and without keeping a record that grows.
class SilentAudioDevice : public AudioDevice {
public:
    bool init(int frequency) override;
    void stop() override { }
    void free() override { }
    unsigned loadSample(const std::string& path, int maxPlaybacks) override;
    int sampleFrequency(unsigned sample) override;
    unsigned playSample(unsigned sample, int frequency, int volume, int pan, bool loop) override;
    unsigned createStream(const std::string& path) override;
    bool playStream(unsigned stream, bool flush, bool loop) override;
    void freeStream(unsigned) override { }
    void stopChannel(unsigned) override { }
    void setChannelAttributes(unsigned, int, int, int) override { }
    void slideChannelAttributes(unsigned, int, int, int, int) override { }

private:
    unsigned nextHandle = 1;
};
