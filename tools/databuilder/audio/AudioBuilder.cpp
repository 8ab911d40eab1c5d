#include "databuilder/audio/AudioBuilder.h"

#include "databuilder/BuildContext.h"
#include "databuilder/audio/MusicTracks.h"
#include "databuilder/audio/OggEncoder.h"
#include "databuilder/audio/SoundEffects.h"
#include "databuilder/audio/Synth.h"
#include "engine/core/SafeFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// Quality 0.3 keeps the whole soundtrack to a few megabytes while the
// drums and bells stay crisp.
const float EFFECT_QUALITY = 0.3f;
const float MUSIC_QUALITY = 0.3f;

bool writeOgg(const std::string& path, const std::vector<std::vector<float>>& channels, float quality,
    const std::string& title, bool looping)
{
    std::string bytes = OggEncoder::encode(channels, Synth::RATE, quality, title, looping);
    if (bytes.empty()) {
        std::fprintf(stderr, "audio: could not encode %s\n", path.c_str());
        return false;
    }
    if (!SafeFile::write(path, bytes)) {
        std::fprintf(stderr, "audio: could not write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

bool buildAudio(const BuildContext& context)
{
    namespace fs = std::filesystem;
    fs::path sfx = fs::path(context.outDir) / "sfx";
    fs::path mus = fs::path(context.outDir) / "mus";
    std::error_code error;
    fs::create_directories(sfx, error);
    fs::create_directories(mus, error);
    if (!fs::is_directory(sfx) || !fs::is_directory(mus)) {
        std::fprintf(stderr, "audio: cannot create %s and %s\n", sfx.c_str(), mus.c_str());
        return false;
    }
    bool ok = true;
    for (const std::string& name : SoundEffects::names()) {
        ok = writeOgg((sfx / (name + ".ogg")).string(), { SoundEffects::render(name) }, EFFECT_QUALITY, name,
                 SoundEffects::loops(name))
            && ok;
    }
    for (const std::string& name : MusicTracks::names()) {
        ok = writeOgg((mus / (name + ".ogg")).string(), MusicTracks::render(name), MUSIC_QUALITY, name,
                 MusicTracks::loops(name))
            && ok;
    }
    return ok;
}
