#pragma once

#include <string>

// The few audio calls the sound manager needs, behind an interface so that
// the real device (Allegro digital sound with OGG decoding) and a recording
// stand-in for tests are interchangeable.
//
// Scales, everywhere in this interface: volume 0-100; pan 0-100 with 50 in
// the centre; frequency in Hz. In attribute calls a frequency of -1, a
// volume of -1 and a pan of -101 leave that attribute as it is; in
// playSample a frequency of -1 means "the sample's own".
//
// Handles are small non-zero numbers; 0 always means "none" or "failed".
// A channel is either a playing sample or a music stream.
class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    virtual bool init(int frequency) = 0;
    // Silences every channel.
    virtual void stop() = 0;
    // Releases every sample and stream and shuts the device down.
    virtual void free() = 0;
    // At most maxPlaybacks play at once; another replaces the one that has
    // played longest. 0 on failure.
    virtual unsigned loadSample(const std::string& path, int maxPlaybacks) = 0;
    // The sample's own frequency in Hz; 0 for an unknown sample.
    virtual int sampleFrequency(unsigned sample) = 0;
    // The channel that plays it, or 0 when nothing plays.
    virtual unsigned playSample(unsigned sample, int frequency, int volume, int pan, bool loop) = 0;
    // 0 when the file cannot be opened as an OGG stream.
    virtual unsigned createStream(const std::string& path) = 0;
    // Starts (or, with flush, restarts from the beginning) a stream.
    virtual bool playStream(unsigned stream, bool flush, bool loop) = 0;
    virtual void freeStream(unsigned stream) = 0;
    virtual void stopChannel(unsigned channel) = 0;
    virtual void setChannelAttributes(unsigned channel, int frequency, int volume, int pan) = 0;
    // Glides from the current values to these over the time.
    virtual void slideChannelAttributes(
        unsigned channel, int frequency, int volume, int pan, int milliseconds)
        = 0;
    // Called once a frame so a streaming device can refill its buffers.
    virtual void poll() { }
};
