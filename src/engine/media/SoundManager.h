#pragma once

#include <map>
#include <memory>
#include <string>

class AudioDevice;

// Sound effects by name and one music stream, with the player's two volumes
// kept in volume.cfg. Without a sound device every call does nothing.
class SoundManager {
public:
    // Uses the real audio device.
    SoundManager();
    explicit SoundManager(std::unique_ptr<AudioDevice> device);
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    static SoundManager* instance();

    void loadSamples(const std::string& directory, const std::string& extension);
    void play(const std::string& name, int volume = 255, int pan = 128, int rate = 1000, bool loop = false);
    void playThrottled(const std::string& name, float minInterval, int volume = 255, int pan = 128,
        int rate = 1000, bool loop = false);
    void playMusic(const std::string& file, bool loop);
    void playMusicIfChanged(const std::string& file, bool loop);
    void stopMusic();
    void slideMusicRate(int ratePerMille, float seconds);
    void setMusicVolume(int volume);
    void setSfxVolume(int volume);
    void loadVolume();
    void saveVolume();
    void update(float dt);

    std::map<std::string, unsigned> samples;
    std::map<std::string, float> cooldowns;
    std::string currentMusic;
    float musicVolume = 255.0f;
    int sfxVolume = 255;
    bool enabled = false;
    unsigned stream = 0;

    static std::string sfxDirectory;
    static std::string sfxExtension;

private:
    void start();
    std::unique_ptr<AudioDevice> device;
};
