#include "engine/media/AllegroAudioDevice.h"

#include "engine/media/OggStreamReader.h"

#include <allegro.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Voices asked of the mixer: enough for a busy level (every effect may play
// three times at once) plus the music.
const int MIXER_VOICES = 32;
// Frames per stream buffer: about a fifth of a second at 44100 Hz, so a slow
// frame or the blocking fade does not starve the music.
const int STREAM_FRAMES = 8192;

// Allegro's 16-bit samples are unsigned: silence is the middle value.
const unsigned short SILENCE = 0x8000;

int toAllegroScale(int value)
{
    value = std::clamp(value, 0, 100);
    return (value * 255 + 50) / 100;
}

bool keepsPan(int pan)
{
    return pan < 0 || pan > 100;
}

void fillSilence(char* out, long bytes)
{
    unsigned short* words = reinterpret_cast<unsigned short*>(out);
    std::fill(words, words + bytes / 2, SILENCE);
}

} // namespace

struct AllegroAudioDevice::Stream {
    OggStreamReader reader;
    AUDIOSTREAM* audio = nullptr;
    bool loop = false;
    bool ended = false;
    int silentBuffers = 0;
    // Kept so that a restarted stream sounds as it was set, Allegro scales.
    int volume = 255;
    int pan = 128;
    int frequency = 0; // 0: the file's own

    ~Stream()
    {
        if (audio != nullptr) {
            stop_audio_stream(audio);
        }
    }
};

AllegroAudioDevice::AllegroAudioDevice() = default;

AllegroAudioDevice::~AllegroAudioDevice()
{
    free();
}

bool AllegroAudioDevice::init(int frequency)
{
    if (installed) {
        return true;
    }
    set_config_int("sound", "sound_freq", frequency);
    reserve_voices(MIXER_VOICES, -1);
    int result = install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
    if (result != 0) {
        // The driver may offer fewer voices; take what it has.
        reserve_voices(-1, -1);
        result = install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
    }
    if (result != 0) {
        return false;
    }
    // Without a sound card autodetection settles on the silent driver; for
    // the game that is no sound system at all.
    if (digi_driver == nullptr || digi_driver->id == DIGI_NONE || digi_driver->voices <= 0) {
        remove_sound();
        return false;
    }
    installed = true;
    return true;
}

void AllegroAudioDevice::stop()
{
    for (auto& entry : streams) {
        Stream& stream = *entry.second;
        if (stream.audio != nullptr) {
            stop_audio_stream(stream.audio);
            stream.audio = nullptr;
        }
    }
    for (auto& entry : samples) {
        Sample& sample = entry.second;
        while (!sample.playing.empty()) {
            releasePlayback(sample, sample.playing.begin());
        }
    }
}

void AllegroAudioDevice::free()
{
    stop();
    streams.clear();
    for (auto& entry : samples) {
        destroy_sample(entry.second.data);
    }
    samples.clear();
    playbackSample.clear();
    if (installed) {
        remove_sound();
        installed = false;
    }
}

SAMPLE* AllegroAudioDevice::decodeOgg(const std::string& path)
{
    OggStreamReader reader;
    if (!reader.open(path)) {
        return nullptr;
    }
    // Damage part-way keeps whatever decoded cleanly before it.
    std::vector<char> pcm;
    const long chunk = 1L << 16;
    for (;;) {
        size_t used = pcm.size();
        pcm.resize(used + chunk);
        long got = reader.read(pcm.data() + used, chunk, false);
        pcm.resize(used + static_cast<size_t>(got));
        if (got < chunk) {
            break;
        }
    }
    const long frameBytes = 2L * reader.channels();
    const long frames = static_cast<long>(pcm.size()) / frameBytes;
    if (frames <= 0) {
        return nullptr;
    }
    SAMPLE* sample = create_sample(
        16, reader.channels() == 2, static_cast<int>(reader.rate()), static_cast<int>(frames));
    if (sample == nullptr) {
        return nullptr;
    }
    std::memcpy(sample->data, pcm.data(), static_cast<size_t>(frames * frameBytes));
    sample->loop_start = 0;
    sample->loop_end = static_cast<unsigned long>(frames);
    return sample;
}

unsigned AllegroAudioDevice::loadSample(const std::string& path, int maxPlaybacks)
{
    SAMPLE* data = decodeOgg(path);
    if (data == nullptr) {
        return 0;
    }
    unsigned handle = newHandle();
    Sample& sample = samples[handle];
    sample.data = data;
    sample.maxPlaybacks = std::max(1, maxPlaybacks);
    return handle;
}

int AllegroAudioDevice::sampleFrequency(unsigned sample)
{
    auto it = samples.find(sample);
    return it == samples.end() ? 0 : it->second.data->freq;
}

unsigned AllegroAudioDevice::playSample(unsigned handle, int frequency, int volume, int pan, bool loop)
{
    auto it = samples.find(handle);
    if (!installed || it == samples.end()) {
        return 0;
    }
    Sample& sample = it->second;
    releaseFinished(sample);
    while (static_cast<int>(sample.playing.size()) >= sample.maxPlaybacks) {
        releasePlayback(sample, sample.playing.begin());
    }
    int voice = allocate_voice(sample.data);
    if (voice < 0) {
        return 0;
    }
    voice_set_volume(voice, toAllegroScale(volume));
    voice_set_pan(voice, toAllegroScale(keepsPan(pan) ? 50 : pan));
    if (frequency > 0) {
        voice_set_frequency(voice, frequency);
    }
    voice_set_playmode(voice, loop ? PLAYMODE_LOOP : PLAYMODE_PLAY);
    voice_start(voice);

    unsigned channel = newHandle();
    sample.playing.push_back({ channel, voice });
    playbackSample[channel] = handle;
    return channel;
}

void AllegroAudioDevice::releaseFinished(Sample& sample)
{
    for (auto it = sample.playing.begin(); it != sample.playing.end();) {
        if (voice_check(it->voice) != sample.data || voice_get_position(it->voice) < 0) {
            releasePlayback(sample, it);
            it = sample.playing.begin();
        } else {
            ++it;
        }
    }
}

void AllegroAudioDevice::releasePlayback(Sample& sample, std::deque<Playback>::iterator it)
{
    if (voice_check(it->voice) == sample.data) {
        deallocate_voice(it->voice);
    }
    playbackSample.erase(it->channel);
    sample.playing.erase(it);
}

unsigned AllegroAudioDevice::createStream(const std::string& path)
{
    auto stream = std::make_unique<Stream>();
    if (!stream->reader.open(path)) {
        return 0;
    }
    unsigned handle = newHandle();
    streams[handle] = std::move(stream);
    return handle;
}

bool AllegroAudioDevice::playStream(unsigned handle, bool flush, bool loop)
{
    auto it = streams.find(handle);
    if (!installed || it == streams.end()) {
        return false;
    }
    Stream& stream = *it->second;
    stream.loop = loop;
    if (flush) {
        if (stream.audio != nullptr) {
            stop_audio_stream(stream.audio);
            stream.audio = nullptr;
        }
        if (!stream.reader.rewind()) {
            return false;
        }
    }
    if (stream.audio != nullptr) {
        return true;
    }
    return startStream(stream);
}

bool AllegroAudioDevice::startStream(Stream& stream)
{
    stream.audio = play_audio_stream(STREAM_FRAMES, 16, stream.reader.channels() == 2,
        static_cast<int>(stream.reader.rate()), stream.volume, stream.pan);
    if (stream.audio == nullptr) {
        return false;
    }
    if (stream.frequency > 0) {
        voice_set_frequency(stream.audio->voice, stream.frequency);
    }
    stream.ended = false;
    stream.silentBuffers = 0;
    refill(stream);
    return true;
}

void AllegroAudioDevice::refill(Stream& stream)
{
    const long size = static_cast<long>(STREAM_FRAMES) * stream.reader.channels() * 2;
    // Every buffer that has finished playing, but never more than there are.
    for (int round = 0; round < 64 && stream.audio != nullptr; ++round) {
        char* out = static_cast<char*>(get_audio_stream_buffer(stream.audio));
        if (out == nullptr) {
            return;
        }
        long filled = stream.ended ? 0 : stream.reader.read(out, size, stream.loop);
        if (filled < size) {
            stream.ended = true;
        }
        fillSilence(out + filled, size - filled);
        free_audio_stream_buffer(stream.audio);
        if (filled == 0) {
            ++stream.silentBuffers;
        }
        // Once every buffer holds silence the track is over: give the voice back.
        if (stream.ended && stream.silentBuffers > 2 * stream.audio->bufcount) {
            endStream(stream);
        }
    }
}

void AllegroAudioDevice::endStream(Stream& stream)
{
    stop_audio_stream(stream.audio);
    stream.audio = nullptr;
}

void AllegroAudioDevice::freeStream(unsigned handle)
{
    streams.erase(handle);
}

void AllegroAudioDevice::stopChannel(unsigned channel)
{
    auto stream = streams.find(channel);
    if (stream != streams.end()) {
        if (stream->second->audio != nullptr) {
            endStream(*stream->second);
        }
        return;
    }
    auto owner = playbackSample.find(channel);
    if (owner == playbackSample.end()) {
        return;
    }
    Sample& sample = samples[owner->second];
    for (auto it = sample.playing.begin(); it != sample.playing.end(); ++it) {
        if (it->channel == channel) {
            releasePlayback(sample, it);
            return;
        }
    }
}

int AllegroAudioDevice::voiceOf(unsigned channel)
{
    auto stream = streams.find(channel);
    if (stream != streams.end()) {
        return stream->second->audio != nullptr ? stream->second->audio->voice : -1;
    }
    auto owner = playbackSample.find(channel);
    if (owner == playbackSample.end()) {
        return -1;
    }
    for (const Playback& playback : samples[owner->second].playing) {
        if (playback.channel == channel) {
            return playback.voice;
        }
    }
    return -1;
}

void AllegroAudioDevice::setChannelAttributes(unsigned channel, int frequency, int volume, int pan)
{
    auto stream = streams.find(channel);
    if (stream != streams.end()) {
        Stream& s = *stream->second;
        s.frequency = frequency > 0 ? frequency : s.frequency;
        s.volume = volume >= 0 ? toAllegroScale(volume) : s.volume;
        s.pan = keepsPan(pan) ? s.pan : toAllegroScale(pan);
    }
    int voice = voiceOf(channel);
    if (voice < 0) {
        return;
    }
    if (frequency > 0) {
        voice_stop_frequency_sweep(voice);
        voice_set_frequency(voice, frequency);
    }
    if (volume >= 0) {
        voice_set_volume(voice, toAllegroScale(volume));
    }
    if (!keepsPan(pan)) {
        voice_set_pan(voice, toAllegroScale(pan));
    }
}

void AllegroAudioDevice::slideChannelAttributes(
    unsigned channel, int frequency, int volume, int pan, int milliseconds)
{
    if (milliseconds <= 0) {
        setChannelAttributes(channel, frequency, volume, pan);
        return;
    }
    auto stream = streams.find(channel);
    if (stream != streams.end()) {
        // A restarted stream picks up where the glide was heading.
        Stream& s = *stream->second;
        s.frequency = frequency > 0 ? frequency : s.frequency;
        s.volume = volume >= 0 ? toAllegroScale(volume) : s.volume;
        s.pan = keepsPan(pan) ? s.pan : toAllegroScale(pan);
    }
    int voice = voiceOf(channel);
    if (voice < 0) {
        return;
    }
    if (frequency > 0) {
        voice_sweep_frequency(voice, milliseconds, frequency);
    }
    if (volume >= 0) {
        voice_ramp_volume(voice, milliseconds, toAllegroScale(volume));
    }
    if (!keepsPan(pan)) {
        voice_sweep_pan(voice, milliseconds, toAllegroScale(pan));
    }
}

void AllegroAudioDevice::poll()
{
    if (!installed) {
        return;
    }
    for (auto& entry : streams) {
        if (entry.second->audio != nullptr) {
            refill(*entry.second);
        }
    }
    for (auto& entry : samples) {
        releaseFinished(entry.second);
    }
}

unsigned AllegroAudioDevice::newHandle()
{
    unsigned handle = nextHandle++;
    if (nextHandle == 0) {
        nextHandle = 1;
    }
    return handle;
}
