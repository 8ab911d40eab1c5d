#include "game/play/Replay.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

struct NamedKey {
    const char* name;
    int code;
};

// The keys a player needs in a level, its menu and its shop.
const NamedKey KEYS[] = {
    { "LEFT", KEY_LEFT },
    { "RIGHT", KEY_RIGHT },
    { "UP", KEY_UP },
    { "DOWN", KEY_DOWN },
    { "SPACE", KEY_SPACE },
    { "ENTER", KEY_ENTER },
    { "ESC", KEY_ESC },
    { "TAB", KEY_TAB },
    { "F1", KEY_F1 },
    { "F5", KEY_F5 },
};

int toFrame(double seconds)
{
    return static_cast<int>(std::lround(seconds / Replay::FRAME_SECONDS));
}

} // namespace

int Replay::keyCode(const std::string& name)
{
    for (const NamedKey& key : KEYS) {
        if (name == key.name) {
            return key.code;
        }
    }
    return -1;
}

std::string Replay::keyName(int code)
{
    for (const NamedKey& key : KEYS) {
        if (code == key.code) {
            return key.name;
        }
    }
    return std::string();
}

const std::vector<int>& Replay::keyCodes()
{
    static const std::vector<int> codes = [] {
        std::vector<int> all;
        for (const NamedKey& key : KEYS) {
            all.push_back(key.code);
        }
        return all;
    }();
    return codes;
}

bool Replay::load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    return parse(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

bool Replay::parse(const std::string& text)
{
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    int lastFrame = 0;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        std::string::size_type comment = line.find('#');
        if (comment != std::string::npos) {
            line.erase(comment);
        }
        std::istringstream words(line);
        std::string first;
        if (!(words >> first)) {
            continue;
        }
        std::string extra;
        if (first == "expect") {
            std::string what;
            words >> what;
            if (what == "hurt") {
                std::string when;
                char* end = nullptr;
                double seconds = (words >> when) ? std::strtod(when.c_str(), &end) : -1.0;
                if (end == nullptr || *end != '\0' || !std::isfinite(seconds) || seconds < 0.0
                    || seconds > 1.0e6 || (words >> extra)) {
                    return fail("'expect hurt' takes the time in seconds");
                }
                expectedHurts.push_back(toFrame(seconds));
                std::sort(expectedHurts.begin(), expectedHurts.end());
                continue;
            }
            if (words >> extra) {
                return fail("'expect " + what + "' takes no value");
            }
            if (what == "complete") {
                expectComplete = true;
            } else if (what == "chased") {
                expectChased = true;
            } else {
                return fail("unknown expectation '" + what + "'");
            }
            continue;
        }
        if (first == "level" || first == "seed" || first == "length") {
            std::string value;
            if (!(words >> value) || (words >> extra)) {
                return fail("'" + first + "' takes one value");
            }
            char* end = nullptr;
            double amount = std::strtod(value.c_str(), &end);
            if (*end != '\0' || !std::isfinite(amount) || amount < 0.0 || amount > 1.0e6) {
                return fail("'" + value + "' is not a number for '" + first + "'");
            }
            if (first == "level") {
                level = static_cast<int>(amount);
            } else if (first == "seed") {
                seed = static_cast<unsigned>(amount);
            } else {
                frames = toFrame(amount);
            }
            continue;
        }
        char* end = nullptr;
        double seconds = std::strtod(first.c_str(), &end);
        if (*end != '\0' || !std::isfinite(seconds) || seconds < 0.0 || seconds > 1.0e6) {
            return fail("expected a time in seconds or a setting, found '" + first + "'");
        }
        std::string name, state;
        if (!(words >> name >> state) || (words >> extra)) {
            return fail("a key line is: <seconds> <key> down|up");
        }
        int code = keyCode(name);
        if (code < 0) {
            return fail("unknown key '" + name + "'");
        }
        if (state != "down" && state != "up") {
            return fail("a key goes 'down' or 'up', not '" + state + "'");
        }
        int frame = toFrame(seconds);
        if (frame < lastFrame) {
            return fail("times must not go backwards");
        }
        lastFrame = frame;
        events.push_back(KeyEvent { frame, code, state == "down" });
    }
    if (frames <= lastFrame) {
        frames = lastFrame + 1;
    }
    return true;
}
