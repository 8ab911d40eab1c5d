#pragma once

#include "engine/core/ActionMap.h"
#include "engine/core/Gamepad.h"

#include <allegro.h>

#include <atomic>
#include <deque>
#include <map>
#include <string>

class GameState;
class Screen;
class SoundManager;
class Sprite;
class StateController;

// The application frame: owns the screen, the sound, the settings, the state
// stack and the action queue, and runs the variable-step main loop.
class Engine : public ActionMap {
public:
    Engine();
    ~Engine() override;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    static Engine* instance();

    // ActionMap's onAction stays abstract: the game implements it.
    virtual void init();
    virtual void update(float dt);
    virtual void loop();
    virtual void run() = 0;
    virtual void shutdown();
    virtual void updateState(std::string name, float dt);
    virtual void stateEntered(const std::string& name);
    virtual void stateLeaving(std::string name);
    virtual void modeChanged();
    virtual void drawOverlay();
    virtual void drawUnderlay();
    virtual void collectGarbage();
    virtual void drawText(BITMAP* target, FONT* textFont, std::string s, int x, int y, int colour);
    virtual void drawText(BITMAP* target, std::string s, int x, int y, int colour, int align);
    virtual int textHeight(FONT* textFont);
    virtual int textLength(const std::string& s, FONT* textFont);

    // State stack.
    void registerController(StateController* controller);
    void pushState(const std::string& name);
    void popState();
    void jumpState(const std::string& name);
    void popAllStates();
    GameState* getState(const std::string& name);
    void addStateAction(std::string name, int code);
    bool addSprite(Sprite* sprite, int layer);
    void removeSprite(Sprite* sprite);

    // Action queue; returns the new queue length.
    int postAction(const std::string& action);

    void readSettings();
    // Writes settings.cfg (replacing it whole); false when it could not.
    bool writeSettings();
    // Looks a setting up, adding it as 0 when absent.
    float setting(const std::string& key);

    // The window size and mode that init opens, from "resx", "resy" and
    // "fullscreen" (absent keys are added as 0).
    void configuredMode(int& width, int& height, bool& fullscreen);

    // Keeps Allegro's configuration in memory only, so that Allegro never
    // writes allegro.cfg into the game's folder; init does this at once.
    static void detachAllegroConfig();

    void fadeIn(float seconds);
    void toggleFullscreen();

    // Rolls the lines of a text file up the screen as one block, on layer 4
    // of the top state, and binds exitAction to any key. A missing file rolls
    // nothing but still answers the key.
    void creditsRoll(const std::string& file, FONT* textFont, const std::string& exitAction);

    // Asks the running game to stop as "Quit" does: from the window's close
    // button or a SIGTERM or SIGINT. Safe to call from a signal handler.
    static void requestStop();
    static bool stopRequested();
    // What a stop request does: the game saves what it must and quits.
    virtual void stopOnRequest();

    // Saves the last frame drawn as a PNG under screenshots/ in the folder
    // the game writes to; returns the file's name, empty when it failed.
    std::string saveScreenshot();

    // One iteration of the main loop, with the given number of 10 ms ticks;
    // loop() calls it, tests drive it directly.
    void frame(int ticks);

    // Static forwarders to the one instance, for code that has no engine at hand.
    static bool addSpriteToState(Sprite* sprite, int layer);
    static void removeSpriteFromState(Sprite* sprite);
    static void addActionToState(std::string name, int code);
    static void fade(float seconds);
    static void popTopState();
    static GameState* findState(const std::string& name);
    static int post(const std::string& action);

    // Incremented every 10 ms by the timer thread; taken and zeroed by the loop.
    static std::atomic<int> tickCount;

    Screen* screen = nullptr;
    SoundManager* sound = nullptr;
    bool quit = false;
    std::map<std::string, float> settings;
    float timeScale = 1.0f;
    int mouseMickeyX = 0;
    int mouseMickeyY = 0;
    std::map<std::string, StateController*> controllers;
    bool noClear = false;
    bool standardResolutionsOnly = false;
    bool useMouse = true;
    int framesThisSecond = 0;
    int fps = 0;
    float instantFps = 0.0f;
    bool resetTimer = false;
    std::deque<std::string> actionQueue;
    std::deque<GameState*> stateStack;
    // Seconds accumulated towards the next fps sample.
    float fpsAccumulator = 0.0f;
    // For this run only, never saved: -1 follows settings.cfg, 0 asks for
    // a window, 1 for the full screen.
    int fullscreenOverride = -1;
    // Frames a second the loop may draw; 0 draws as fast as it can.
    int frameCap = 0;
    // Every frame one 10 ms tick, as the replay tests step the game, so that
    // a run recorded or played back in the window matches them.
    bool fixedSteps = false;
    // The first gamepad, pressing keys for the player.
    Gamepad gamepad;

private:
    // Sleeps until the next capped frame is due and a tick has passed.
    void waitForFrameSlot();
    unsigned long lastFrameStart = 0;
    bool screenshotKeyDown = false;
};
