#pragma once

#include <string>
#include <vector>

// A recorded run through one level: which keys went down and came up when.
// The game is stepped one 10 ms timer tick per frame, so a recording played
// back gives the same run every time. The text format is described in
// tests/replay/recordings/README.md.
class Replay {
public:
    static constexpr float FRAME_SECONDS = 0.01f;

    struct KeyEvent {
        int frame; // the frame before whose update the key changes
        int keyCode; // Allegro's key code
        bool down;
    };

    // False with a message naming the line when the text cannot be read.
    bool parse(const std::string& text);
    bool load(const std::string& path);

    // Allegro's code for one of the key names a recording may use; -1 for
    // any other name.
    static int keyCode(const std::string& name);
    // The name a recording uses for a key code; empty for keys it cannot hold.
    static std::string keyName(int code);
    // Every key code a recording can hold, in the order of its key names.
    static const std::vector<int>& keyCodes();

    int level = 0;
    unsigned seed = 1;
    // How long to play, in frames.
    int frames = 0;
    // What a successful run shows: the level finished ("expect complete"),
    // the fish hurt at the given frames ("expect hurt 3.2", a line each) and
    // at no others, and every shark behind the fish while it lives ("expect
    // chased").
    bool expectComplete = false;
    bool expectChased = false;
    std::vector<int> expectedHurts;
    std::vector<KeyEvent> events; // in frame order
    std::string error;
};
