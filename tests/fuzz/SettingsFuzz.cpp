// settings.cfg through the engine's own reader and writer: whatever the
// file holds, reading never fails, and what is written back reads back to
// the same settings. Values are written with six significant digits, so a
// hand-typed 64640640 comes back as 64640600: the check allows exactly that
// rounding, and a second save must then change nothing.
#include "FuzzScratch.h"

#include "engine/core/Engine.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

class SettingsEngine : public Engine {
public:
    void run() override { }
    void onAction(const std::string&, bool) override { }
};

std::string describe(const std::map<std::string, float>& settings)
{
    std::string text;
    for (const auto& [key, value] : settings) {
        text += "[" + key + "]=" + std::to_string(value) + " ";
    }
    return text;
}

// A value as the writer's six digits give it back.
float asWritten(float value)
{
    char number[32];
    std::snprintf(number, sizeof number, "%g", static_cast<double>(value));
    return std::strtof(number, nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzScratch::enter();
    FuzzScratch::startInput();
    FuzzScratch::writeFile("settings.cfg", data, size);

    std::map<std::string, float> first;
    {
        SettingsEngine engine;
        int width = 0;
        int height = 0;
        bool fullscreen = false;
        engine.configuredMode(width, height, fullscreen);
        first = engine.settings;
        for (const auto& [key, value] : first) {
            if (!std::isfinite(value)) {
                FuzzScratch::fail("setting [" + key + "] is not a number");
            }
        }
        if (!engine.writeSettings()) {
            FuzzScratch::fail("settings.cfg could not be written");
        }
    }
    std::map<std::string, float> rounded;
    for (const auto& [key, value] : first) {
        rounded[key] = asWritten(value);
    }
    std::map<std::string, float> second;
    {
        SettingsEngine again;
        second = again.settings;
        if (second != rounded) {
            FuzzScratch::fail("read " + describe(first) + "but read back " + describe(second));
        }
        if (!again.writeSettings()) {
            FuzzScratch::fail("settings.cfg could not be written twice");
        }
    }
    SettingsEngine third;
    if (third.settings != second) {
        FuzzScratch::fail("a second save changed " + describe(second) + "into " + describe(third.settings));
    }
    return 0;
}
