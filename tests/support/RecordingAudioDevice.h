#pragma once

#include "engine/media/AudioDevice.h"

#include <memory>
#include <string>
#include <vector>

// An audio device for tests: plays nothing, records every call as one line
// of text ("playSample 1 -1 50 50 0"), and answers as it is set up to. The
// record is shared, so it can still be read after the sound manager that
// owned the device is gone.
//
//     auto device = std::make_unique<RecordingAudioDevice>();
//     auto calls = device->calls;
//     SoundManager sound(std::move(device));
class RecordingAudioDevice : public AudioDevice {
public:
    std::shared_ptr<std::vector<std::string>> calls = std::make_shared<std::vector<std::string>>();

    bool initResult = true;
    // The frequency every sample reports.
    int frequency = 44100;
    // Loading this path gives handle 0; so does a stream of failingStream.
    std::string failingSample;
    std::string failingStream;
    bool playStreamResult = true;

    bool init(int mixFrequency) override;
    void stop() override;
    void free() override;
    unsigned loadSample(const std::string& path, int maxPlaybacks) override;
    int sampleFrequency(unsigned sample) override;
    unsigned playSample(unsigned sample, int frequency, int volume, int pan, bool loop) override;
    unsigned createStream(const std::string& path) override;
    bool playStream(unsigned stream, bool flush, bool loop) override;
    void freeStream(unsigned stream) override;
    void stopChannel(unsigned channel) override;
    void setChannelAttributes(unsigned channel, int frequency, int volume, int pan) override;
    void slideChannelAttributes(
        unsigned channel, int frequency, int volume, int pan, int milliseconds) override;
    void poll() override;

    // Recorded lines that start with the call's name, in order.
    static std::vector<std::string> named(const std::vector<std::string>& calls, const std::string& name);

private:
    void record(
        const std::string& name, std::initializer_list<long long> arguments, const std::string& text = "");
    unsigned nextHandle = 1;
};
