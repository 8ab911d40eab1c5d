#pragma once

#include <string>

// The few audio calls the sound manager needs, behind an interface so that
// the real device (Allegro digital sound with OGG decoding) and a recording
// stand-in for tests are interchangeable. Volumes are 0-100; sample pan is
// 0-100 with 50 in the centre; frequency -1 means "the sample's own".
class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    virtual bool init(int frequency) = 0;
    virtual void stop() = 0;
    virtual void free() = 0;
    // At most maxPlaybacks play at once; another replaces the oldest. 0 on failure.
    virtual unsigned loadSample(const std::string& path, int maxPlaybacks) = 0;
    virtual int sampleFrequency(unsigned sample) = 0;
    virtual unsigned playSample(unsigned sample, int frequency, int volume, int pan, bool loop) = 0;
    // 0 when the file cannot be opened as an OGG stream.
    virtual unsigned createStream(const std::string& path) = 0;
    virtual bool playStream(unsigned stream, bool flush, bool loop) = 0;
    virtual void freeStream(unsigned stream) = 0;
    virtual void stopChannel(unsigned channel) = 0;
    // frequency -1 keeps it; volume -1 keeps it.
    virtual void setChannelAttributes(unsigned channel, int frequency, int volume, int pan) = 0;
    // Glides to the frequency and volume over the time; pan -101 keeps it.
    virtual void slideChannelAttributes(unsigned channel, int frequency, int volume, int pan, int milliseconds) = 0;
    // Called once a frame so a streaming device can refill its buffers.
    virtual void poll() {}
};
