// A profile's key-bindings file through the action map: the fish's five
// actions keep usable codes whatever the file holds, and what is saved
// loads back to the same bindings.
#include "FuzzScratch.h"

#include "engine/core/ActionMap.h"

#include <allegro.h>

#include <string>

namespace {

class Keys : public ActionMap {
public:
    Keys()
    {
        bind("down", KEY_DOWN);
        bind("left", KEY_LEFT);
        bind("right", KEY_RIGHT);
        bind("up", KEY_UP);
        bind("fire", KEY_SPACE);
    }
    void onAction(const std::string&, bool) override { }
};

std::string describe(const ActionMap& map)
{
    std::string text;
    for (const auto& [action, codes] : map.bindings) {
        text += action + ":";
        for (int code : codes) {
            text += " " + std::to_string(code);
        }
        text += "; ";
    }
    return text;
}

const char* const PATH = "profiles/fuzz.cfg";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzScratch::enter();
    FuzzScratch::startInput();
    FuzzScratch::writeFile(PATH, data, size);

    Keys first;
    first.loadBindings(PATH);
    if (first.bindings.size() != 5) {
        FuzzScratch::fail("the file added or removed actions: " + describe(first));
    }
    for (const auto& [action, codes] : first.bindings) {
        if (static_cast<int>(codes.size()) > ActionMap::MAX_CODES_PER_ACTION) {
            FuzzScratch::fail("too many codes for " + action);
        }
    }
    // One pass of dispatch with every code the file gave: no input is down.
    first.update(0.01f);
    if (!first.saveBindings(PATH)) {
        FuzzScratch::fail("could not save the bindings");
    }
    Keys again;
    again.loadBindings(PATH);
    if (again.bindings != first.bindings) {
        FuzzScratch::fail("saved " + describe(first) + "but loaded " + describe(again));
    }
    return 0;
}
