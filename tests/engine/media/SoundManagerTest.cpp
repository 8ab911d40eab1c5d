#include "engine/media/SoundManager.h"

#include "engine/core/DebugLog.h"
#include "support/RecordingAudioDevice.h"
#include "support/ScratchDir.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

bool hasLine(const std::string& text, const std::string& line)
{
    std::istringstream lines(text);
    std::string current;
    while (std::getline(lines, current)) {
        if (current == line) {
            return true;
        }
    }
    return false;
}

class SoundManagerTest : public ::testing::Test {
protected:
    ScratchDir scratch;
    std::shared_ptr<std::vector<std::string>> calls;
    std::unique_ptr<SoundManager> sound;

    void SetUp() override
    {
        DebugLog::reset();
        SoundManager::sfxDirectory = "sfx/";
        SoundManager::sfxExtension = ".ogg";
    }

    void TearDown() override
    {
        sound.reset();
        DebugLog::reset();
    }

    SoundManager& start(const std::function<void(RecordingAudioDevice&)>& setUp = {})
    {
        sound.reset();
        auto device = std::make_unique<RecordingAudioDevice>();
        if (setUp) {
            setUp(*device);
        }
        calls = device->calls;
        sound = std::make_unique<SoundManager>(std::move(device));
        return *sound;
    }

    // A manager with sfx/bubble.ogg loaded, its calls so far forgotten.
    SoundManager& startWithBubble(const std::function<void(RecordingAudioDevice&)>& setUp = {})
    {
        std::filesystem::create_directory("sfx");
        writeFile("sfx/bubble.ogg", "not decoded by the recording device");
        SoundManager& manager = start(setUp);
        manager.loadSamples("sfx/", ".ogg");
        calls->clear();
        return manager;
    }

    std::vector<std::string> named(const std::string& name) const
    {
        return RecordingAudioDevice::named(*calls, name);
    }

    std::string lastCall(const std::string& name) const
    {
        std::vector<std::string> found = named(name);
        return found.empty() ? std::string() : found.back();
    }

    std::string log()
    {
        DebugLog::reset();
        return readFile("debug.log");
    }
};

TEST_F(SoundManagerTest, EffectsConvertVolumePanAndRateToTheDeviceScales)
{
    SoundManager& manager = startWithBubble([](RecordingAudioDevice& device) { device.frequency = 22050; });
    unsigned handle = manager.samples.at("sfx/bubble.ogg");

    manager.play("bubble");
    EXPECT_EQ(lastCall("playSample"), "playSample " + std::to_string(handle) + " -1 100 50 0");

    manager.play("bubble", 200, 0, 500, true);
    EXPECT_EQ(lastCall("playSample"), "playSample " + std::to_string(handle) + " 11025 78 0 1");

    manager.setSfxVolume(128); // 50 on the device scale, then scaled by the call's volume
    manager.play("bubble", 200, 255, 2000);
    EXPECT_EQ(lastCall("playSample"), "playSample " + std::to_string(handle) + " 44100 39 100 0");

    manager.setSfxVolume(0);
    manager.play("bubble");
    EXPECT_EQ(lastCall("playSample"), "playSample " + std::to_string(handle) + " -1 0 50 0");

    calls->clear();
    manager.play("never-loaded");
    EXPECT_TRUE(named("playSample").empty());
}

TEST_F(SoundManagerTest, MusicVolumeIsClampedAndConverted)
{
    SoundManager& manager = start();
    manager.playMusic("mus/title.ogg", true);
    const std::string stream = std::to_string(manager.stream);

    manager.setMusicVolume(128);
    EXPECT_EQ(lastCall("setChannelAttributes"), "setChannelAttributes " + stream + " -1 50 50");

    manager.setMusicVolume(300);
    EXPECT_EQ(manager.musicVolume, 255.0f);
    EXPECT_EQ(lastCall("setChannelAttributes"), "setChannelAttributes " + stream + " -1 100 50");

    manager.setMusicVolume(-20);
    EXPECT_EQ(manager.musicVolume, 0.0f);
    manager.setSfxVolume(1000);
    EXPECT_EQ(manager.sfxVolume, 255);

    // Every frame re-applies the music volume and lets the device refill.
    calls->clear();
    manager.setMusicVolume(128);
    manager.update(0.01f);
    EXPECT_EQ(lastCall("setChannelAttributes"), "setChannelAttributes " + stream + " -1 50 50");
    EXPECT_EQ(named("poll").size(), 1u);
}

TEST_F(SoundManagerTest, ThrottledEffectPlaysAtMostOncePerInterval)
{
    SoundManager& manager = startWithBubble();
    std::vector<int> framesPlayed;
    for (int frame = 0; frame < 120; ++frame) {
        manager.update(1.0f / 60.0f);
        size_t before = named("playSample").size();
        manager.playThrottled("bubble", 0.5f);
        manager.playThrottled("pop", 0.5f); // its own cooldown; not loaded, so silent
        if (named("playSample").size() > before) {
            framesPlayed.push_back(frame);
        }
    }
    ASSERT_EQ(framesPlayed.size(), 4u);
    for (size_t i = 1; i < framesPlayed.size(); ++i) {
        EXPECT_GE(framesPlayed[i] - framesPlayed[i - 1], 30);
    }
    EXPECT_GT(manager.cooldowns.at("pop"), 0.0f);
}

TEST_F(SoundManagerTest, MusicRestartsOnlyForAnotherFile)
{
    SoundManager& manager = start();
    manager.playMusicIfChanged("mus/title.ogg", true);
    unsigned first = manager.stream;
    EXPECT_EQ(lastCall("playStream"), "playStream " + std::to_string(first) + " 1 1");

    manager.playMusicIfChanged("mus/title.ogg", true);
    manager.stopMusic();
    EXPECT_EQ(lastCall("stopChannel"), "stopChannel " + std::to_string(first));
    EXPECT_EQ(manager.currentMusic, "mus/title.ogg");
    manager.playMusicIfChanged("mus/title.ogg", true);
    EXPECT_EQ(named("createStream").size(), 1u);

    manager.playMusicIfChanged("mus/level.ogg", false);
    EXPECT_EQ(named("createStream").size(), 2u);
    EXPECT_EQ(lastCall("freeStream"), "freeStream " + std::to_string(first));
    EXPECT_EQ(lastCall("playStream"), "playStream " + std::to_string(manager.stream) + " 1 0");
    EXPECT_EQ(manager.currentMusic, "mus/level.ogg");
}

TEST_F(SoundManagerTest, MissingMusicReportsBothFailuresAndPlaysNothing)
{
    SoundManager& manager
        = start([](RecordingAudioDevice& device) { device.failingStream = "mus/gone.ogg"; });
    manager.playMusic("mus/gone.ogg", true);
    EXPECT_EQ(manager.stream, 0u);
    EXPECT_EQ(lastCall("playStream"), "playStream 0 1 1"); // the start is still attempted
    calls->clear();
    manager.setMusicVolume(100);
    manager.stopMusic();
    manager.slideMusicRate(500, 1.0f);
    EXPECT_TRUE(calls->empty());

    std::string text = log();
    EXPECT_TRUE(hasLine(text, "Can't create stream"));
    EXPECT_TRUE(hasLine(text, "Can't play stream"));
}

TEST_F(SoundManagerTest, MusicRateSlidesAgainstAFixedRate)
{
    SoundManager& manager = start();
    manager.slideMusicRate(500, 1.0f); // no stream yet: nothing to slide
    EXPECT_TRUE(named("slideChannelAttributes").empty());

    manager.playMusic("mus/boss.ogg", true);
    manager.setMusicVolume(128);
    const std::string stream = std::to_string(manager.stream);
    manager.slideMusicRate(500, 1.0f);
    EXPECT_EQ(lastCall("slideChannelAttributes"), "slideChannelAttributes " + stream + " 22050 50 -101 1000");
    manager.slideMusicRate(1000, 0.5f);
    EXPECT_EQ(lastCall("slideChannelAttributes"), "slideChannelAttributes " + stream + " 44100 50 -101 500");
    manager.slideMusicRate(1000, 0.1f);
    EXPECT_EQ(lastCall("slideChannelAttributes"), "slideChannelAttributes " + stream + " 44100 50 -101 100");
}

TEST_F(SoundManagerTest, WithoutASoundSystemEverythingIsSilentAndVolumeCfgUntouched)
{
    writeFile("volume.cfg", "10 20\n");
    std::filesystem::create_directory("sfx");
    writeFile("sfx/bubble.ogg", "x");

    SoundManager& manager = start([](RecordingAudioDevice& device) { device.initResult = false; });
    EXPECT_EQ(SoundManager::instance(), &manager);
    EXPECT_FALSE(manager.enabled);
    EXPECT_EQ(manager.sfxVolume, 255);
    EXPECT_EQ(manager.musicVolume, 255.0f);

    manager.loadSamples("sfx/", ".ogg");
    manager.play("bubble");
    manager.playThrottled("bubble", 0.5f);
    manager.playMusic("mus/title.ogg", true);
    manager.playMusicIfChanged("mus/level.ogg", true);
    manager.slideMusicRate(500, 1.0f);
    manager.stopMusic();
    manager.update(0.1f);
    manager.loadVolume();
    manager.saveVolume();
    EXPECT_TRUE(manager.samples.empty());
    EXPECT_TRUE(manager.currentMusic.empty());
    sound.reset();

    EXPECT_EQ(*calls, std::vector<std::string> { "init 44100" });
    EXPECT_EQ(readFile("volume.cfg"), "10 20\n");
    std::string text = log();
    EXPECT_TRUE(hasLine(text, "Can't initialize digital sound system"));
    EXPECT_FALSE(hasLine(text, "loadedVolume"));
    EXPECT_FALSE(hasLine(text, "savedVolume"));
}

TEST_F(SoundManagerTest, VolumesSurviveARestartInVolumeCfg)
{
    SoundManager& manager = start();
    EXPECT_FALSE(hasLine(log(), "loadedVolume")); // no file yet: both stay 255
    manager.saveVolume();
    EXPECT_EQ(readFile("volume.cfg"), "255 255\n");

    manager.setSfxVolume(200);
    manager.setMusicVolume(100);
    manager.saveVolume();
    EXPECT_EQ(readFile("volume.cfg"), "200 100\n");
    EXPECT_TRUE(hasLine(log(), "savedVolume"));

    SoundManager& restarted = start();
    EXPECT_EQ(restarted.sfxVolume, 200);
    EXPECT_EQ(restarted.musicVolume, 100.0f);
    EXPECT_TRUE(hasLine(log(), "loadedVolume"));
    // Nothing but volume.cfg is left behind by the save.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 2); // volume.cfg, debug.log
}

TEST_F(SoundManagerTest, VolumeCfgOfZeroSilencesEffectsOnly)
{
    writeFile("volume.cfg", "0 255\n");
    SoundManager& manager = startWithBubble();
    manager.playMusic("mus/title.ogg", true);
    manager.play("bubble");
    EXPECT_EQ(lastCall("playSample"),
        "playSample " + std::to_string(manager.samples.at("sfx/bubble.ogg")) + " -1 0 50 0");
    EXPECT_EQ(lastCall("setChannelAttributes"),
        "setChannelAttributes " + std::to_string(manager.stream) + " -1 100 50");
}

TEST_F(SoundManagerTest, DamagedVolumeCfgGivesSaneVolumes)
{
    struct Case {
        std::string contents;
        int sfx;
        float music;
    };
    const std::vector<Case> cases = {
        { "", 255, 255.0f },
        { "loud quiet\n", 255, 255.0f },
        { "40\n", 40, 255.0f },
        { "999999999999999999999 -7\n", 255, 0.0f },
        { "-3 1e30\n", 0, 255.0f },
        { "12 nan\n", 12, 255.0f },
        { "100.9 127.9", 100, 127.0f },
        { std::string("\x01\xff\0garbage", 10), 255, 255.0f },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.contents);
        writeFile("volume.cfg", c.contents);
        SoundManager& manager = start();
        EXPECT_EQ(manager.sfxVolume, c.sfx);
        EXPECT_EQ(manager.musicVolume, c.music);
    }
}

TEST_F(SoundManagerTest, OnlyOggFilesOfTheEffectsFolderAreLoaded)
{
    std::filesystem::create_directories("sfx/nested.ogg");
    std::filesystem::create_directory("mus");
    writeFile("sfx/bubble.ogg", "x");
    writeFile("sfx/pop.ogg", "x");
    writeFile("sfx/broken.ogg", "x");
    writeFile("sfx/notes.txt", "x");
    writeFile("sfx/pop.wav", "x");
    writeFile("mus/title.ogg", "x");

    SoundManager& manager
        = start([](RecordingAudioDevice& device) { device.failingSample = "sfx/broken.ogg"; });
    manager.loadSamples("sfx/", ".ogg");
    EXPECT_EQ(named("loadSample"),
        (std::vector<std::string> {
            "loadSample sfx/broken.ogg 3", "loadSample sfx/bubble.ogg 3", "loadSample sfx/pop.ogg 3" }));
    ASSERT_EQ(manager.samples.size(), 3u);
    EXPECT_EQ(manager.samples.at("sfx/broken.ogg"), 0u); // kept, and it plays nothing
    EXPECT_NE(manager.samples.at("sfx/pop.ogg"), 0u);
    EXPECT_TRUE(hasLine(log(), "Can't load sample [sfx/broken.ogg]"));

    calls->clear();
    manager.play("broken");
    EXPECT_TRUE(named("playSample").empty());

    // Any other kind of file loads nothing.
    manager.loadSamples("sfx/", ".wav");
    EXPECT_EQ(SoundManager::sfxExtension, ".wav");
    EXPECT_TRUE(named("loadSample").empty());
}

TEST_F(SoundManagerTest, DestructionStopsThenFreesTheDevice)
{
    start();
    EXPECT_EQ(SoundManager::instance(), sound.get());
    calls->clear();
    sound.reset();
    EXPECT_EQ(*calls, (std::vector<std::string> { "stop", "free" }));
    EXPECT_EQ(SoundManager::instance(), nullptr);
}

} // namespace
