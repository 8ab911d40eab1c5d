#pragma once

#include "engine/media/AudioDevice.h"

#include <deque>
#include <map>
#include <memory>

struct SAMPLE;

// The audio device on Allegro's digital sound: effects are OGG files decoded
// whole into Allegro samples and played on voices of their own; music is an
// OGG file decoded a piece at a time into an Allegro audio stream, refilled
// from poll(). Main thread only.
class AllegroAudioDevice : public AudioDevice {
public:
    AllegroAudioDevice();
    ~AllegroAudioDevice() override;
    AllegroAudioDevice(const AllegroAudioDevice&) = delete;
    AllegroAudioDevice& operator=(const AllegroAudioDevice&) = delete;

    // Fails (and leaves Allegro's sound module removed) when no real sound
    // driver is found, so a machine without a sound card stays silent.
    bool init(int frequency) override;
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

    // A whole OGG file as a 16-bit Allegro sample (mono or stereo as the
    // file is); nullptr when the file is missing or not a usable OGG.
    static SAMPLE* decodeOgg(const std::string& path);

private:
    struct Playback {
        unsigned channel;
        int voice;
    };
    struct Sample {
        SAMPLE* data = nullptr;
        int maxPlaybacks = 1;
        std::deque<Playback> playing; // oldest first
    };
    struct Stream;

    void releaseFinished(Sample& sample);
    void releasePlayback(Sample& sample, std::deque<Playback>::iterator it);
    bool startStream(Stream& stream);
    void refill(Stream& stream);
    void endStream(Stream& stream);
    int voiceOf(unsigned channel);
    unsigned newHandle();

    bool installed = false;
    unsigned nextHandle = 1;
    std::map<unsigned, Sample> samples;
    std::map<unsigned, std::unique_ptr<Stream>> streams;
    std::map<unsigned, unsigned> playbackSample; // playing channel -> its sample
};
