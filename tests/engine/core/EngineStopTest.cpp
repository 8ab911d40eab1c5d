#include "TestEngine.h"

#include "engine/core/Folders.h"
#include "engine/media/Screen.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>
#include <png.h>

#include <dirent.h>
#include <fstream>
#include <set>
#include <vector>

namespace {

using namespace coretest;

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        closedir(dir);
    }
    return names;
}

TEST(EngineStopTest, AStopRequestEndsTheLoopAsQuitDoesWithTheSettingsWritten)
{
    ScratchDir scratch;
    TestEngine engine;
    engine.settings["resx"] = 640;
    int frames = 0;
    engine.updateHook = [&](const std::string&) { ++frames; };
    engine.pushState("play");
    Engine::requestStop();
    EXPECT_TRUE(Engine::stopRequested());
    engine.loop();
    EXPECT_TRUE(engine.quit);
    EXPECT_EQ(frames, 0);
    EXPECT_FALSE(Engine::stopRequested());
    std::ifstream settings("settings.cfg");
    std::string key;
    float value = 0;
    ASSERT_TRUE(settings >> key >> value);
    EXPECT_EQ(key, "resx");
    EXPECT_EQ(value, 640);
}

TEST(EngineStopTest, AWindowOrFullScreenAskedForThisRunBeatsTheSettingsWithoutChangingThem)
{
    ScratchDir scratch;
    TestEngine engine;
    engine.settings["fullscreen"] = 1;
    int width = 0, height = 0;
    bool fullscreen = false;
    engine.fullscreenOverride = 0;
    engine.configuredMode(width, height, fullscreen);
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(engine.setting("fullscreen"), 1.0f);
    engine.settings["fullscreen"] = 0;
    engine.fullscreenOverride = 1;
    engine.configuredMode(width, height, fullscreen);
    EXPECT_TRUE(fullscreen);
    EXPECT_EQ(engine.setting("fullscreen"), 0.0f);
}

// Reads a PNG back: its size and how many colours it holds.
bool readPng(const std::string& path, int& width, int& height, size_t& colours)
{
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    std::set<int> seen;
    for (size_t i = 0; i + 2 < pixels.size(); i += 3) {
        seen.insert(pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2]);
    }
    colours = seen.size();
    return true;
}

TEST(EngineStopTest, F12SavesTheLastFrameAsAPngOnceAPress)
{
    ScratchDir scratch;
    Folders::setWritable(scratch.path() + "/mine");
    TestEngine engine;
    engine.screen = new Screen(800, 600, false, true);
    ASSERT_NE(engine.screen->backBuffer, nullptr);
    clear_to_color(engine.screen->backBuffer, makecol(8, 48, 96));
    rectfill(engine.screen->backBuffer, 100, 100, 300, 200, makecol(255, 200, 0));

    key[KEY_F12] = 1;
    engine.update(0.01f);
    engine.update(0.01f); // held: still one shot
    key[KEY_F12] = 0;
    engine.update(0.01f);

    std::vector<std::string> shots = filesIn(scratch.path() + "/mine/screenshots");
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_EQ(shots[0].rfind("tidewander-", 0), 0u) << shots[0];
    EXPECT_EQ(shots[0].size(), std::string("tidewander-YYYYMMDD-HHMMSS.png").size()) << shots[0];
    int width = 0, height = 0;
    size_t colours = 0;
    ASSERT_TRUE(readPng(scratch.path() + "/mine/screenshots/" + shots[0], width, height, colours));
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(colours, 2u);

    // A second shot, in the same second or not, keeps the first.
    EXPECT_FALSE(engine.saveScreenshot().empty());
    EXPECT_EQ(filesIn(scratch.path() + "/mine/screenshots").size(), 2u);
    Folders::setWritable("");
}

} // namespace
