#include "TestEngine.h"

#include "support/LogLines.h"
#include "support/ScratchDir.h"
#include "support/TextFiles.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace coretest;

struct Mode {
    int width = 0, height = 0;
    bool fullscreen = true;
};

Mode modeFor(const std::string& settingsText, bool standardOnly = true)
{
    writeFile("settings.cfg", settingsText);
    TestEngine engine;
    engine.standardResolutionsOnly = standardOnly;
    Mode mode;
    engine.configuredMode(mode.width, mode.height, mode.fullscreen);
    return mode;
}

TEST(Settings, FirstRunWritesTheFourKeysAtZeroAndStillOpens800x600)
{
    ScratchDir dir;
    {
        TestEngine engine;
        Mode mode;
        engine.configuredMode(mode.width, mode.height, mode.fullscreen);
        EXPECT_EQ(mode.width, 800);
        EXPECT_EQ(mode.height, 600);
        EXPECT_FALSE(mode.fullscreen);
        engine.frame(1);
        EXPECT_TRUE(engine.writeSettings());
    }
    EXPECT_EQ(readFile("settings.cfg"), "enableAltEnter 0\nfullscreen 0\nresx 0\nresy 0\n");
    Mode again = modeFor(readFile("settings.cfg"));
    EXPECT_EQ(again.width, 800);
    EXPECT_EQ(again.height, 600);
}

TEST(Settings, ValuesAreWrittenInShortNotation)
{
    ScratchDir dir;
    TestEngine engine;
    engine.settings["resx"] = 800;
    engine.settings["volume"] = 0.5f;
    engine.settings["big"] = 1234567;
    engine.settings["third"] = 1.0f / 3.0f;
    engine.settings["neg"] = -2;
    EXPECT_TRUE(engine.writeSettings());
    EXPECT_EQ(readFile("settings.cfg"), "big 1.23457e+06\nneg -2\nresx 800\nthird 0.333333\nvolume 0.5\n");
}

TEST(Settings, PairsReadAlikeOnOneLineOrManyAndTheLastWins)
{
    ScratchDir dir;
    Mode oneLine = modeFor("resx 640 resy 480");
    EXPECT_EQ(oneLine.width, 640);
    EXPECT_EQ(oneLine.height, 480);
    Mode twoLines = modeFor("resy\t480\n\nresx 640\n");
    EXPECT_EQ(twoLines.width, 640);
    EXPECT_EQ(twoLines.height, 480);
    Mode repeated = modeFor("resx 800 resx 640 resy 480 fullscreen 1");
    EXPECT_EQ(repeated.width, 640);
    EXPECT_TRUE(repeated.fullscreen);
}

TEST(Settings, NonStandardWidthFallsBackTo800x600)
{
    ScratchDir dir;
    Mode wide = modeFor("resx 1024 resy 768");
    EXPECT_EQ(wide.width, 800);
    EXPECT_EQ(wide.height, 600);
    Mode onlyWidth = modeFor("resx 1024");
    EXPECT_EQ(onlyWidth.width, 800);
    EXPECT_EQ(onlyWidth.height, 600);
    Mode free = modeFor("resx 1024 resy 768", false);
    EXPECT_EQ(free.width, 1024);
    EXPECT_EQ(free.height, 768);
    Mode fraction = modeFor("resx 640.9 resy 480.2");
    EXPECT_EQ(fraction.width, 640);
    EXPECT_EQ(fraction.height, 480);
}

TEST(Settings, DamagedValuesReadAsZero)
{
    ScratchDir dir;
    writeFile("settings.cfg", "resx wide resy 1e99 fullscreen nan enableAltEnter 1 scale 0.5 tail");
    TestEngine engine;
    EXPECT_FLOAT_EQ(engine.settings["resx"], 0.0f);
    EXPECT_FLOAT_EQ(engine.settings["resy"], 0.0f);
    EXPECT_FLOAT_EQ(engine.settings["fullscreen"], 0.0f);
    EXPECT_FLOAT_EQ(engine.settings["enableAltEnter"], 1.0f);
    EXPECT_FLOAT_EQ(engine.settings["scale"], 0.5f);
    EXPECT_EQ(engine.settings.count("tail"), 0u);
    Mode mode;
    engine.configuredMode(mode.width, mode.height, mode.fullscreen);
    EXPECT_EQ(mode.width, 800);
    EXPECT_EQ(mode.height, 600);
}

TEST(Settings, FileIsReplacedWholeWithNothingLeftBeside)
{
    ScratchDir dir;
    writeFile("settings.cfg", "resx 640 resy 480 extra 1\n");
    TestEngine engine;
    engine.settings.erase("extra");
    EXPECT_TRUE(engine.writeSettings());
    EXPECT_EQ(readFile("settings.cfg"), "resx 640\nresy 480\n");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(Settings, UnwritableFolderKeepsTheOldFile)
{
    ScratchDir dir;
    startFreshLog();
    std::filesystem::create_directory("settings.cfg"); // nothing can replace a folder
    TestEngine engine;
    engine.settings["resx"] = 640;
    EXPECT_FALSE(engine.writeSettings());
    EXPECT_TRUE(std::filesystem::is_directory("settings.cfg"));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        files += entry.path().filename() == "debug.log" ? 0 : 1;
    }
    EXPECT_EQ(files, 1);
    // Leaving the options and quitting go through here: the log tells that
    // the choice was not kept.
    EXPECT_TRUE(logHas("Can't write settings.cfg"));
}

TEST(Settings, WindowSidesThatCannotBeAreReplacedAndSaidSo)
{
    ScratchDir dir;
    struct Case {
        const char* text;
        bool standardOnly;
        int width, height;
        const char* logged;
    };
    const Case cases[] = {
        { "resx 800 resy -5", true, 800, 600,
            "settings.cfg: resy -5 cannot be a window side; the default is used" },
        { "resx 800 resy 5", true, 800, 600, "settings.cfg: resy 5 does not go with resx 800; 600 is used" },
        { "resx 640 resy 600", true, 640, 480,
            "settings.cfg: resy 600 does not go with resx 640; 480 is used" },
        { "resx -640 resy 480", true, 800, 600,
            "settings.cfg: resx -640 cannot be a window side; the default is used" },
        { "resx 1024", true, 800, 600,
            "settings.cfg: resx 1024 is not a size the game offers; 800 x 600 is used" },
        { "resx 1024 resy -1", false, 1024, 600,
            "settings.cfg: resy -1 cannot be a window side; the default is used" },
        { "resx 2000000000 resy 768", false, 800, 768,
            "settings.cfg: resx 2000000000 cannot be a window side; the default is used" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        startFreshLog();
        Mode mode = modeFor(c.text, c.standardOnly);
        EXPECT_EQ(mode.width, c.width);
        EXPECT_EQ(mode.height, c.height);
        EXPECT_TRUE(logHas(c.logged));
    }
    // Sound values and the defaults say nothing.
    startFreshLog();
    modeFor("resx 640 resy 480");
    modeFor("");
    EXPECT_EQ(logLines().size(), 1u);
}

TEST(Settings, AllegroNeverWritesItsConfigurationIntoTheGameFolder)
{
    ScratchDir dir;
    writeFile("allegro.cfg", "[sound]\ndigi_volume = 7\n");
    set_config_file("allegro.cfg");
    Engine::detachAllegroConfig();
    // What was read stays in use...
    EXPECT_EQ(get_config_int("sound", "digi_volume", 0), 7);
    // ...but a driver's change never reaches a file, not even when Allegro
    // saves on its way out.
    set_config_int("sound", "digi_volume", 9);
    flush_config_file();
    EXPECT_EQ(get_config_int("sound", "digi_volume", 0), 9);
    EXPECT_EQ(readFile("allegro.cfg"), "[sound]\ndigi_volume = 7\n");
    std::remove("allegro.cfg");
    set_config_int("sound", "digi_volume", 3);
    flush_config_file();
    EXPECT_FALSE(std::filesystem::exists("allegro.cfg"));
}

} // namespace
