#pragma once

#include <string>
#include <vector>

// Writes down the keys of one level as the player plays it, frame by frame,
// in the text of the replay recordings: a player can send it with a bug
// report, and it plays back as a test unchanged. Frames are 10 ms steps
// counted from the level's first update.
class KeyRecorder {
public:
    void start(int level, unsigned seed);
    // Looks at Allegro's key[] as the update of the frame will see it.
    void sample(int frame);
    void hurt(int frame);
    // The recording, with "expect complete" when the level was finished in
    // the last frame sampled.
    std::string text(bool complete) const;

    int level = 0;
    unsigned seed = 0;

private:
    std::vector<bool> held;
    std::vector<std::string> lines;
    std::vector<int> hurts;
    int lastFrame = 0;
};
