#include "engine/core/SafeFile.h"

#include "support/ScratchDir.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

bool anyStem(const std::string&)
{
    return true;
}

bool onlySettings(const std::string& stem)
{
    return stem == "settings.cfg";
}

std::vector<std::string> filesHere()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SafeFileRead, ReadsWholeFilesAndNeverThrows)
{
    ScratchDir dir;
    writeFile("a.txt", std::string("one\0two", 7));
    std::string text;
    bool unreadable = true;
    EXPECT_TRUE(SafeFile::read("a.txt", text, &unreadable));
    EXPECT_EQ(text, std::string("one\0two", 7));
    EXPECT_FALSE(unreadable);

    EXPECT_FALSE(SafeFile::read("missing.txt", text, &unreadable));
    EXPECT_FALSE(unreadable);
    EXPECT_EQ(text, "");

    // A folder where a file should be opens but cannot be read.
    std::filesystem::create_directory("folder.cfg");
    EXPECT_FALSE(SafeFile::read("folder.cfg", text, &unreadable));
    EXPECT_TRUE(unreadable);
    EXPECT_EQ(text, "");
}

TEST(SafeFileKeepAside, EveryDamagedCopyIsKept)
{
    ScratchDir dir;
    for (int i = 0; i < 3; ++i) {
        writeFile("p.dat", "copy " + std::to_string(i));
        std::string expected = i == 0 ? "p.dat.bad" : "p.dat.bad." + std::to_string(i);
        EXPECT_EQ(SafeFile::keepAside("p.dat"), expected);
    }
    EXPECT_EQ(readFile("p.dat.bad"), "copy 0");
    EXPECT_EQ(readFile("p.dat.bad.1"), "copy 1");
    EXPECT_EQ(readFile("p.dat.bad.2"), "copy 2");
    EXPECT_FALSE(std::filesystem::exists("p.dat"));
    EXPECT_EQ(SafeFile::keepAside("p.dat"), ""); // nothing to move
}

TEST(SafeFileLeftovers, OnlyTemporariesOfOurFilesAreRemoved)
{
    ScratchDir dir;
    EXPECT_TRUE(SafeFile::isTemporaryOf("settings.cfg.saving-a1B2c3", "settings.cfg"));
    EXPECT_FALSE(SafeFile::isTemporaryOf("settings.cfg.saving-a1B2c", "settings.cfg"));
    EXPECT_FALSE(SafeFile::isTemporaryOf("settings.cfg.saving-a1-2c3", "settings.cfg"));
    EXPECT_FALSE(SafeFile::isTemporaryOf("settings.cfg.savingXa1B2c3", "settings.cfg"));
    // A player's own copy with a six-letter ending is not ours.
    EXPECT_FALSE(SafeFile::isTemporaryOf("settings.cfg.backup", "settings.cfg"));

    for (const char* name : { "settings.cfg", "settings.cfg.saving-Xy12Ab", "settings.cfg.bad",
             "settings.cfg.backup", "other.cfg.saving-Xy12Ab" }) {
        writeFile(name, "x");
    }
    std::filesystem::create_directory("settings.cfg.saving-ABCDEF"); // not a file: left alone
    std::vector<std::string> removed = SafeFile::removeLeftovers("", onlySettings);
    EXPECT_EQ(removed, (std::vector<std::string> { "settings.cfg.saving-Xy12Ab" }));
    EXPECT_EQ(filesHere(),
        (std::vector<std::string> { "other.cfg.saving-Xy12Ab", "settings.cfg", "settings.cfg.backup",
            "settings.cfg.bad", "settings.cfg.saving-ABCDEF" }));

    std::filesystem::create_directory("sub");
    writeFile("sub/.progress.saving-q9W8e7", "x");
    EXPECT_EQ(SafeFile::removeLeftovers("sub", anyStem),
        (std::vector<std::string> { "sub/.progress.saving-q9W8e7" }));
    EXPECT_TRUE(SafeFile::removeLeftovers("no such folder", anyStem).empty());
}

TEST(SafeFileWrite, LeavesNoTemporaryBehindWhenItFails)
{
    ScratchDir dir;
    std::filesystem::create_directory("settings.cfg");
    EXPECT_FALSE(SafeFile::write("settings.cfg", "resx 640\n"));
    EXPECT_EQ(filesHere(), (std::vector<std::string> { "settings.cfg" }));
    EXPECT_TRUE(SafeFile::write("volume.cfg", "1 2\n"));
    EXPECT_EQ(readFile("volume.cfg"), "1 2\n");
}

} // namespace
