#include "levels/LevelCompiler.h"

#include "engine/media/DatafileWriter.h"
#include "levels/LevelFile.h"
#include "levels/LevelLegend.h"
#include "levels/LevelRules.h"
#include "levels/LevelValidator.h"

#include <cstdio>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

int colourOf(char symbol)
{
    const LevelLegend::Entry* entry = LevelLegend::find(symbol);
    if (!entry) {
        int water = LevelLegend::WATER_KEY;
        return makecol_depth(24, (water >> 16) & 0xFF, (water >> 8) & 0xFF, water & 0xFF);
    }
    return makecol_depth(24, entry->red, entry->green, entry->blue);
}

std::string objectName(int number)
{
    char name[32];
    if (number >= 1000) {
        std::snprintf(name, sizeof name, "MINIGAME_%d", number);
    } else {
        std::snprintf(name, sizeof name, "LEVEL_%02d", number);
    }
    return name;
}

std::vector<int> levelNumbers()
{
    std::vector<int> numbers;
    for (int number = 0; number < 50; ++number) {
        numbers.push_back(number);
    }
    for (int number = 1000; number <= 1003; ++number) {
        numbers.push_back(number);
    }
    return numbers;
}

} // namespace

BITMAP* LevelCompiler::picture(const LevelFile& level)
{
    BITMAP* bitmap = create_bitmap_ex(24, level.width(), level.height());
    if (!bitmap) {
        return nullptr;
    }
    for (int y = 0; y < level.height(); ++y) {
        for (int x = 0; x < level.width(); ++x) {
            putpixel(bitmap, x, y, colourOf(level.at(x, y)));
        }
    }
    return bitmap;
}

bool LevelCompiler::build(const std::string& levelsDir, const std::string& outPath)
{
    messages.clear();
    compiled = 0;
    placeholders = 0;

    // A map whose name the game would never look for is most likely a typo.
    std::set<std::string> expected;
    for (int number : levelNumbers()) {
        expected.insert(LevelRules::fileName(number));
    }
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(levelsDir, error)) {
        std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".txt" && !expected.count(name)) {
            messages.push_back("[" + name + "] in " + levelsDir
                + " is not a level the game loads (levelNN.txt for 0-49, minigame1000.txt-1003)");
        }
    }
    if (error) {
        messages.push_back("cannot read the level folder [" + levelsDir + "]: " + error.message());
        return false;
    }

    LevelFile placeholder;
    placeholder.parse(PLACEHOLDER);

    DatafileWriter out;
    for (int number : levelNumbers()) {
        std::string path = (fs::path(levelsDir) / LevelRules::fileName(number)).string();
        LevelFile level;
        if (!fs::exists(path)) {
            level = placeholder;
            ++placeholders;
        } else if (!level.load(path)) {
            messages.push_back(LevelRules::fileName(number) + ": " + level.error());
            continue;
        } else {
            LevelValidator validator(LevelRules::forLevel(number));
            std::vector<LevelValidator::Problem> found = validator.check(level);
            for (const LevelValidator::Problem& problem : found) {
                messages.push_back(validator.describe(problem));
            }
            if (!found.empty()) {
                continue;
            }
            ++compiled;
        }
        BITMAP* bitmap = picture(level);
        int index = out.addBitmap(bitmap, objectName(number));
        if (bitmap) {
            destroy_bitmap(bitmap);
        }
        if (index != LevelRules::objectIndex(number) && messages.empty()) {
            messages.push_back("could not store the picture of " + LevelRules::fileName(number));
        }
    }
    if (!messages.empty()) {
        return false;
    }

    LevelFile spare;
    spare.parse(".");
    BITMAP* bitmap = picture(spare);
    out.addBitmap(bitmap, "END");
    if (bitmap) {
        destroy_bitmap(bitmap);
    }

    fs::create_directories(fs::path(outPath).parent_path(), error);
    if (!out.save(outPath)) {
        messages.push_back("cannot write [" + outPath + "]");
        return false;
    }
    return true;
}
