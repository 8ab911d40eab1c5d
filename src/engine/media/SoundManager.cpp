#include "engine/media/SoundManager.h"

#include "engine/core/DebugLog.h"
#include "engine/core/Folders.h"
#include "engine/core/SafeFile.h"
#include "engine/media/AllegroAudioDevice.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <locale>
#include <sstream>
#include <vector>

std::string SoundManager::sfxDirectory = "sfx/";
std::string SoundManager::sfxExtension = ".ogg";

namespace {

SoundManager* current = nullptr;

const char* const VOLUME_FILE = "volume.cfg";
const int MIXING_FREQUENCY = 44100;
const int MAX_PLAYBACKS = 3;
// Music glides relative to this rate whatever the track's own.
const int MUSIC_BASE_FREQUENCY = 44100;
// Centre pan on the device's 0-100 scale, and "leave the pan alone".
const int PAN_CENTRE = 50;
const int PAN_KEEP = -101;

int clampVolume(int volume)
{
    return std::clamp(volume, 0, 255);
}

int collectPath(const char* path, int /*attributes*/, void* found)
{
    static_cast<std::vector<std::string>*>(found)->push_back(path);
    return 0;
}

// The leading number of a volume.cfg field, as strtol/strtof read it;
// false when the field does not start with one.
bool readInt(const std::string& field, long& value)
{
    const char* begin = field.c_str();
    char* end = nullptr;
    long parsed = std::strtol(begin, &end, 10);
    if (end == begin) {
        return false;
    }
    value = parsed;
    return true;
}

bool readFloat(const std::string& field, float& value)
{
    const char* begin = field.c_str();
    char* end = nullptr;
    float parsed = std::strtof(begin, &end);
    if (end == begin || std::isnan(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace

SoundManager::SoundManager()
    : SoundManager(std::make_unique<AllegroAudioDevice>())
{
}

SoundManager::SoundManager(std::unique_ptr<AudioDevice> audioDevice)
    : device(std::move(audioDevice))
{
    start();
}

SoundManager::~SoundManager()
{
    if (enabled) {
        device->stop();
        device->free();
    }
    if (current == this) {
        current = nullptr;
    }
}

SoundManager* SoundManager::instance()
{
    return current;
}

void SoundManager::start()
{
    current = this;
    if (device == nullptr || !device->init(MIXING_FREQUENCY)) {
        DebugLog::log("Can't initialize digital sound system");
        enabled = false;
        return;
    }
    enabled = true;
    sfxVolume = 255;
    musicVolume = 255.0f;
    loadVolume();
}

void SoundManager::loadSamples(const std::string& directory, const std::string& extension)
{
    if (!enabled) {
        return;
    }
    sfxDirectory = directory;
    sfxExtension = extension;
    // Effects come as OGG files only; any other kind loads nothing.
    if (sfxExtension != ".ogg") {
        return;
    }
    std::string pattern = sfxDirectory + "*" + sfxExtension;
    std::vector<std::string> paths;
    // Folders are not effects, whatever they are called.
    for_each_file_ex(pattern.c_str(), 0, FA_DIREC, collectPath, &paths);
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths) {
        unsigned handle = device->loadSample(path, MAX_PLAYBACKS);
        samples[path] = handle;
        if (handle == 0) {
            DebugLog::log("Can't load sample [" + path + "]", true);
        }
    }
}

void SoundManager::play(const std::string& name, int volume, int pan, int rate, bool loop)
{
    if (!enabled) {
        return;
    }
    auto it = samples.find(sfxDirectory + name + sfxExtension);
    if (it == samples.end() || it->second == 0) {
        return;
    }
    unsigned handle = it->second;
    int deviceVolume = sfxVolume * 100 / 255 * volume / 255;
    int devicePan = pan * 100 / 255;
    int frequency = -1;
    if (rate != 1000) {
        frequency = static_cast<int>(device->sampleFrequency(handle) * rate * 0.001);
    }
    device->playSample(handle, frequency, deviceVolume, devicePan, loop);
}

void SoundManager::playThrottled(
    const std::string& name, float minInterval, int volume, int pan, int rate, bool loop)
{
    if (!enabled) {
        return;
    }
    float& cooldown = cooldowns[name];
    if (cooldown != 0.0f) {
        return;
    }
    play(name, volume, pan, rate, loop);
    cooldown = minInterval;
}

void SoundManager::playMusic(const std::string& file, bool loop)
{
    if (!enabled) {
        return;
    }
    currentMusic = file;
    if (stream != 0) {
        device->freeStream(stream);
    }
    stream = device->createStream(file);
    if (stream == 0) {
        DebugLog::log("Can't create stream", true);
    }
    if (!device->playStream(stream, true, loop)) {
        DebugLog::log("Can't play stream", true);
    }
    setMusicVolume(static_cast<int>(musicVolume));
}

void SoundManager::playMusicIfChanged(const std::string& file, bool loop)
{
    if (enabled && file != currentMusic) {
        playMusic(file, loop);
    }
}

void SoundManager::stopMusic()
{
    if (enabled && stream != 0) {
        device->stopChannel(stream);
    }
}

void SoundManager::slideMusicRate(int ratePerMille, float seconds)
{
    if (!enabled || stream == 0) {
        return;
    }
    int frequency = static_cast<int>(ratePerMille * MUSIC_BASE_FREQUENCY * 0.001);
    int volume = static_cast<int>(musicVolume * 100 / 255);
    int milliseconds = static_cast<int>(seconds * 1000);
    device->slideChannelAttributes(stream, frequency, volume, PAN_KEEP, milliseconds);
}

void SoundManager::setMusicVolume(int volume)
{
    int clamped = clampVolume(volume);
    musicVolume = static_cast<float>(clamped);
    if (enabled && stream != 0) {
        device->setChannelAttributes(stream, -1, clamped * 100 / 255, PAN_CENTRE);
    }
}

void SoundManager::setSfxVolume(int volume)
{
    sfxVolume = clampVolume(volume);
}

void SoundManager::update(float dt)
{
    if (!enabled) {
        return;
    }
    setMusicVolume(static_cast<int>(musicVolume));
    for (auto& entry : cooldowns) {
        if (entry.second > 0.0f) {
            entry.second = std::max(0.0f, entry.second - dt);
        }
    }
    device->poll();
}

void SoundManager::loadVolume()
{
    if (!enabled || !exists(Folders::writable(VOLUME_FILE).c_str())) {
        return;
    }
    std::ifstream in(Folders::writable(VOLUME_FILE));
    std::string sfxField;
    std::string musicField;
    in >> sfxField >> musicField;

    // A damaged file keeps whichever volume it cannot give.
    long sfx = sfxVolume;
    float music = musicVolume;
    bool readable = readInt(sfxField, sfx);
    readable = readFloat(musicField, music) && readable;
    if (!readable) {
        DebugLog::log("volume.cfg is damaged; keeping the volumes it does not give");
    }
    setMusicVolume(static_cast<int>(std::clamp(music, 0.0f, 255.0f)));
    setSfxVolume(static_cast<int>(std::clamp(sfx, 0L, 255L)));
    DebugLog::log("loadedVolume");
}

void SoundManager::saveVolume()
{
    if (!enabled) {
        return;
    }
    std::ostringstream line;
    line.imbue(std::locale::classic());
    line << sfxVolume << ' ' << musicVolume << '\n';
    if (!SafeFile::write(Folders::writable(VOLUME_FILE), line.str())) {
        DebugLog::log("Can't write volume.cfg");
        return;
    }
    DebugLog::log("savedVolume");
}
