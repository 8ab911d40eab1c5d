#include "soak/SilentAudioDevice.h"

#include <filesystem>

namespace {

constexpr int SAMPLE_FREQUENCY = 44100;

// Handles stay small: the manager only needs them non-zero and distinct
// for a while, and wrapping keeps a long run from reaching 0.
unsigned next(unsigned& handle)
{
    unsigned given = handle;
    handle = handle >= 1000000 ? 1 : handle + 1;
    return given;
}

} // namespace

bool SilentAudioDevice::init(int)
{
    return true;
}

unsigned SilentAudioDevice::loadSample(const std::string& path, int)
{
    // A missing file fails here as it would on a real card.
    std::error_code error;
    return std::filesystem::exists(path, error) ? next(nextHandle) : 0;
}

int SilentAudioDevice::sampleFrequency(unsigned sample)
{
    return sample != 0 ? SAMPLE_FREQUENCY : 0;
}

unsigned SilentAudioDevice::playSample(unsigned sample, int, int, int, bool)
{
    return sample != 0 ? next(nextHandle) : 0;
}

unsigned SilentAudioDevice::createStream(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error) ? next(nextHandle) : 0;
}

bool SilentAudioDevice::playStream(unsigned stream, bool, bool)
{
    return stream != 0;
}
