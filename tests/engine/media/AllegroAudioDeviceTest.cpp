#include "engine/media/AllegroAudioDevice.h"

#include "support/OggTone.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <fstream>

namespace {

class AllegroAudioDeviceTest : public ::testing::Test {
protected:
    ScratchDir scratch;
};

TEST_F(AllegroAudioDeviceTest, InitTakesOnlyARealSoundDriver)
{
    // Test machines usually have no sound card: then init must fail promptly
    // rather than settle on the silent driver.
    AllegroAudioDevice device;
    bool started = device.init(44100);
    if (started) {
        ASSERT_NE(digi_driver, nullptr);
        EXPECT_NE(digi_driver->id, DIGI_NONE);
        EXPECT_GT(digi_driver->voices, 0);
    } else {
        EXPECT_TRUE(digi_driver == nullptr || digi_driver->id == DIGI_NONE);
    }
    device.free();
}

TEST_F(AllegroAudioDeviceTest, LoadsOggEffectsAndRefusesAnythingElse)
{
    ASSERT_TRUE(writeOggTone("sfx-mono.ogg", 1, 22050, 2205));
    ASSERT_TRUE(writeOggTone("sfx-stereo.ogg", 2, 44100, 4410));
    std::ofstream("broken.ogg") << "RIFF not really";

    SAMPLE* mono = AllegroAudioDevice::decodeOgg("sfx-mono.ogg");
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(mono->bits, 16);
    EXPECT_EQ(mono->stereo, 0);
    EXPECT_EQ(mono->freq, 22050);
    EXPECT_EQ(mono->len, 2205u);
    destroy_sample(mono);

    AllegroAudioDevice device; // never started: decoding needs no sound card
    unsigned stereo = device.loadSample("sfx-stereo.ogg", 3);
    EXPECT_NE(stereo, 0u);
    EXPECT_EQ(device.sampleFrequency(stereo), 44100);
    EXPECT_EQ(device.loadSample("broken.ogg", 3), 0u);
    EXPECT_EQ(device.loadSample("missing.ogg", 3), 0u);
    EXPECT_EQ(device.sampleFrequency(12345), 0);

    unsigned stream = device.createStream("sfx-stereo.ogg");
    EXPECT_NE(stream, 0u);
    EXPECT_NE(stream, stereo);
    EXPECT_EQ(device.createStream("broken.ogg"), 0u);

    // Without a started device nothing plays, and stray handles are harmless.
    EXPECT_EQ(device.playSample(stereo, -1, 100, 50, false), 0u);
    EXPECT_FALSE(device.playStream(stream, true, true));
    device.setChannelAttributes(stream, -1, 50, 50);
    device.slideChannelAttributes(stream, 22050, 50, -101, 1000);
    device.stopChannel(stream);
    device.stopChannel(999);
    device.setChannelAttributes(999, 1000, 10, 10);
    device.freeStream(999);
    device.poll();
    device.freeStream(stream);
    device.free();
    EXPECT_EQ(device.sampleFrequency(stereo), 0);
}

} // namespace
