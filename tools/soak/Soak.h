#pragma once

#include <memory>
#include <random>
#include <string>
#include <vector>

class SoakGame;

// Plays the real game for a long while with random keys, the way a child
// let loose on the keyboard would, and watches for what a long session
// brings out: crashes, error reports and memory that is never given back.
//
// It works in a scratch folder that borrows the built data, so the run
// folder stays as the player gets it. The simulated clock runs at the
// game's own 10 ms tick, as fast as the machine allows.
class Soak {
public:
    struct Options {
        std::string runDir;
        double minutes = 1.0;
        unsigned seed = 1;
        // Skips the memory check (a sanitizer's allocator keeps freed
        // memory on purpose, which reads as growth).
        bool checkMemory = true;
    };

    explicit Soak(const Options& options);
    ~Soak();
    Soak(const Soak&) = delete;
    Soak& operator=(const Soak&) = delete;

    // Plays the whole run; false when something went wrong, with the
    // reasons in faults.
    bool run();

    std::vector<std::string> faults;

    // What the run went through, for its report.
    long frames = 0;
    int sessions = 0;
    int levelsStarted = 0;
    int errorReports = 0;
    std::vector<int> builtLevels;
    long memoryEarly = 0; // the fewest bytes in use in the first fifth
    long memoryLate = 0; // and in the last fifth

private:
    bool prepareFolder();
    void findBuiltLevels();
    void startSession();
    void endSession();
    void step();
    void pressRandomKeys();
    void changeScene();
    void readLog();

    Options options;
    std::mt19937 random;
    std::unique_ptr<SoakGame> game;
    std::string folder;
    std::string previousFolder;
    size_t tourPosition = 0;
    long nextSceneChange = 0;
    // Frames each key stays down for; 0 for a key that is up.
    std::vector<int> held;
    std::vector<long> memorySamples;
};
