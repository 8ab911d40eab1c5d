#include "support/RecordingAudioDevice.h"

#include <sstream>

void RecordingAudioDevice::record(
    const std::string& name, std::initializer_list<long long> arguments, const std::string& text)
{
    std::ostringstream line;
    line << name;
    if (!text.empty()) {
        line << ' ' << text;
    }
    for (long long argument : arguments) {
        line << ' ' << argument;
    }
    calls->push_back(line.str());
}

std::vector<std::string> RecordingAudioDevice::named(
    const std::vector<std::string>& calls, const std::string& name)
{
    std::vector<std::string> found;
    for (const std::string& call : calls) {
        if (call == name || call.compare(0, name.size() + 1, name + " ") == 0) {
            found.push_back(call);
        }
    }
    return found;
}

bool RecordingAudioDevice::init(int mixFrequency)
{
    record("init", { mixFrequency });
    return initResult;
}

void RecordingAudioDevice::stop()
{
    record("stop", {});
}

void RecordingAudioDevice::free()
{
    record("free", {});
}

unsigned RecordingAudioDevice::loadSample(const std::string& path, int maxPlaybacks)
{
    record("loadSample", { maxPlaybacks }, path);
    return path == failingSample ? 0 : nextHandle++;
}

int RecordingAudioDevice::sampleFrequency(unsigned sample)
{
    record("sampleFrequency", { sample });
    return frequency;
}

unsigned RecordingAudioDevice::playSample(unsigned sample, int playFrequency, int volume, int pan, bool loop)
{
    record("playSample", { sample, playFrequency, volume, pan, loop ? 1 : 0 });
    return nextHandle++;
}

unsigned RecordingAudioDevice::createStream(const std::string& path)
{
    record("createStream", {}, path);
    return path == failingStream ? 0 : nextHandle++;
}

bool RecordingAudioDevice::playStream(unsigned stream, bool flush, bool loop)
{
    record("playStream", { stream, flush ? 1 : 0, loop ? 1 : 0 });
    return stream != 0 && playStreamResult;
}

void RecordingAudioDevice::freeStream(unsigned stream)
{
    record("freeStream", { stream });
}

void RecordingAudioDevice::stopChannel(unsigned channel)
{
    record("stopChannel", { channel });
}

void RecordingAudioDevice::setChannelAttributes(unsigned channel, int channelFrequency, int volume, int pan)
{
    record("setChannelAttributes", { channel, channelFrequency, volume, pan });
}

void RecordingAudioDevice::slideChannelAttributes(
    unsigned channel, int channelFrequency, int volume, int pan, int milliseconds)
{
    record("slideChannelAttributes", { channel, channelFrequency, volume, pan, milliseconds });
}

void RecordingAudioDevice::poll()
{
    record("poll", {});
}
