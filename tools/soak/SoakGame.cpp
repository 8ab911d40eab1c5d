#include "soak/SoakGame.h"

#include "engine/core/DebugLog.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "soak/SilentAudioDevice.h"

#include <allegro.h>

#include <memory>

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;
constexpr int LAYERS = 5;

} // namespace

SoakGame::SoakGame(std::mt19937& stream)
    : random(stream)
{
    // An error report must reach the soak's check, not end the process.
    DebugLog::setFatalMode(false);
    screen = new Screen(WIDTH, HEIGHT, false, true);
    screen->layers.resize(LAYERS);
    screen->layers[0].followCamera = false;
    screen->layers[LAYERS - 1].followCamera = false;
    sound = new SoundManager(std::make_unique<SilentAudioDevice>());
    for (StateController* controller :
        std::initializer_list<StateController*> { &title, &shop, &inGame, &map, &logo, &cutScene }) {
        registerController(controller);
    }
}

SoakGame::~SoakGame()
{
    popAllStates();
    collectGarbage();
    if (allegroFont != nullptr) {
        font = allegroFont;
    }
}

void SoakGame::start()
{
    highResolution = setting("resx") == 800.0f;
    fullscreenOption = setting("fullscreen") != 0.0f;
    noClear = true;
    DatafileManager::setDirectory("dat/");

    readProfiles();
    loadProgress();

    allegroFont = font;
    fontData.load("font.dat");
    modeChanged();
    if (FONT* gameFont = static_cast<FONT*>(fontData.get(0))) {
        font = gameFont;
    }
    sound->loadSamples("sfx/", ".ogg");

    hudIcons.datafile.load("hud.dat");
    hudIcons.alignment = 1;
    hudIcons.setPosition(screen->width / 2, 20);
    hearts.datafile.load("heart.dat");
    helpPanel.datafile.load("help.dat");
    powerupIcons.datafile.load("powerups.dat");

    jumpState("logo");
}

bool SoakGame::confirm(const std::string&)
{
    return std::uniform_int_distribution<int>(0, 3)(random) == 0;
}
