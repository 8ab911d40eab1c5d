#pragma once

#include "engine/core/Engine.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/Sprite.h"
#include "game/play/LevelTape.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class Creature;
class Menu;
class ParticleSystem;
class Player;
class TileMap;
class Treasure;
class StateController;

// The game on the engine: the player's progress and profile, the level-play
// bookkeeping, the HUD artwork, and the one action handler that gives every
// action text its meaning.
class Game : public Engine {
public:
    static constexpr int MAX_PROFILES = 5;
    static constexpr int SAVED_LEVELS = 100;
    static const char* const SUPPORT_ADDRESS;

    Game();
    ~Game() override;

    static Game* instance();

    void onAction(const std::string& action, bool pressed) override;
    void init() override;
    void update(float dt) override;
    void run() override { loop(); }
    void updateState(std::string name, float dt) override;
    void stateEntered(const std::string& name) override;
    void stateLeaving(std::string name) override;
    void modeChanged() override;
    void drawOverlay() override;
    void shutdown() override;
    // Closing the window or a SIGTERM ends the game as "Quit" does, with
    // the player's progress saved as well.
    void stopOnRequest() override;

    // Profiles and progress. The two paths are empty while the current
    // profile has no name that can be part of a file name.
    // Deletes the temporary files of saves that a killed game never
    // finished (start-up, before anything is read).
    void removeStaleTemporaries();
    void readProfiles();
    void writeProfiles();
    void loadProgress();
    void saveProgress();
    void createProfile(const std::string& name);
    std::string bindingsPath() const;
    std::string progressPath() const;

    // A blocking Y/N prompt over the current frame: true for Y, false for N
    // or Esc.
    virtual bool confirm(const std::string& text);
    void openInGameMenu();
    void closeInGameMenu();
    void switchProfile(const std::string& name);
    void deleteProfile(const std::string& name);
    void startLevel(int level);
    bool isOnStack(const std::string& name) { return getState(name) != nullptr; }

    // Level services for the player and the creatures (cells are 80 x 80).
    bool isTileBlocked(int column, int row) const;
    bool isSolidForPlayer(int column, int row) const;
    bool obstacleAt(float x, float y) const;
    void moveAlongRow(int direction, Creature* creature, float speed);
    // Resets the creature and puts it on the level's creature list and
    // layer; the in-game state owns it from then on. With no state to own it
    // the game keeps it until the level's lists are cleared.
    void addCreature(Creature* creature);
    // Forgets the level's creatures and treasures (their state deletes
    // them) and deletes the creatures nobody else owned.
    void clearLevelLists();
    // Centres the camera on the fish (200 pixels ahead of a friend it
    // rides), kept inside the level.
    void updateCamera();

    // Progress (saved per profile).
    int bubbleLimit = 3;
    int coins = 25;
    int highestLevel = 0;
    std::map<int, int> levelPercent;
    std::map<int, int> bestTimes;
    std::string currentProfile;
    std::vector<std::string> profiles;
    // profiles.cfg was there but could not be read: it is left alone.
    bool profilesUnreadable = false;
    int currentLevel = 0;
    bool waterEffect = true;
    bool highResolution = false;
    bool fullscreenOption = false;

    // A run that plays one level and ends when it is finished or left (a
    // map of the player's own, a recording played back): -1 plays the story.
    // Such a run keeps no progress.
    int onlyLevel = -1;
    // A map of the player's own (--map), played as onlyLevel in place of the
    // shipped level. Owned by whoever set it.
    BITMAP* ownMap = nullptr;
    // Records the keys of a level, or plays a recording back.
    LevelTape tape;
    // The screen init opens; empty leaves the choice to the caller.
    std::string firstState = "logo";

    // Level play bookkeeping, filled in by the level code.
    int levelWidth = 800;
    int levelHeight = 600;
    int mapLevel = 0;
    int levelKind = 0;
    int coinsRequired = 0;
    float levelClock = 0.0f;
    int treasureTotals[5] = { 0, 0, 0, 0, 0 };
    int treasureCollected[5] = { 0, 0, 0, 0, 0 };
    int bossHitPointsMax = 0;
    int bossHitPoints = 0;
    // Set once every chest is in (and the coin target met): the clock stops
    // and the fish can no longer be hurt.
    bool levelDone = false;
    // The dance game plays its own tunes over a silent level.
    bool miniGameMusic = false;
    Player* player = nullptr; // owned by the state that made it
    // The dancing fish of the dance game's level, owned by the level.
    Creature* danceGame = nullptr;

    // The level being played: the in-game state owns these objects; the
    // game only keeps pointers to them for the creatures and the player.
    std::vector<Creature*> creatures;
    std::vector<Treasure*> treasures;
    TileMap* mainLayer = nullptr;
    TileMap* foregroundLayer = nullptr;
    ParticleSystem* emitters[3] = { nullptr, nullptr, nullptr };
    float returnTimer = 0.0f;
    float freezeTimer = 0.0f;
    bool frozen = false;
    float inputLock = 0.0f;

    Sprite camera;
    DatafileManager fontData;
    AnimatedSprite hudIcons, hearts, helpPanel, powerupIcons;
    std::string newProfileName;

    // Menus the handler switches pages on; owned by their states.
    Menu* titleMenu = nullptr;
    Menu* inGameMenu = nullptr;
    Sprite* menuBackdrop = nullptr;

private:
    // The answer key of confirm once Esc is up: 1 for Y, 0 for N or Esc.
    int waitForAnswer();
    // The six screens with behaviour of their own; they live as long as the
    // game.
    std::vector<std::unique_ptr<StateController>> ownedControllers;
    // Creatures added while no state was there to own them.
    std::vector<std::unique_ptr<Creature>> strayCreatures;
    // Allegro's own font, put back before the game font is unloaded.
    FONT* allegroFont = nullptr;
};
