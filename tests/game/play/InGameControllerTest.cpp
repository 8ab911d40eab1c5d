#include "game/play/InGameController.h"

#include "engine/media/ParticleSystem.h"
#include "engine/media/Screen.h"
#include "engine/ui/Menu.h"
#include "engine/ui/MenuEntry.h"
#include "game/creatures/Creature.h"
#include "game/creatures/StillCreature.h"
#include "game/play/LevelLoader.h"
#include "game/play/LevelProperties.h"
#include "game/play/PlayWorld.h"
#include "game/play/Player.h"
#include "game/play/TileMap.h"
#include "game/play/Treasure.h"
#include "support/LogLines.h"

#include <algorithm>

namespace {

using playtest::DT;
using Names = std::vector<std::string>;

bool onLayer(const Game& game, int layer, const Sprite* sprite)
{
    const auto& sprites = game.screen->layers[static_cast<size_t>(layer)].sprites;
    return std::find(sprites.begin(), sprites.end(), sprite) != sprites.end();
}

class InGameTest : public playtest::PlayWorld {
protected:
    // The fish swims onto a treasure and the treasure fades out of reach.
    void collect(Treasure* treasure)
    {
        game.player->setPosition(static_cast<int>(treasure->x), static_cast<int>(treasure->y));
        game.update(DT);
        ASSERT_TRUE(treasure->collected);
    }

    Treasure* treasureOfKind(int kind)
    {
        for (Treasure* treasure : game.treasures) {
            if (treasure->kind() == kind && !treasure->collected) {
                return treasure;
            }
        }
        return nullptr;
    }

    // Plays the level through: the clock runs to `seconds`, then the fish
    // picks up the treasures of the given kinds and the last chest fades.
    void finish(int level, float seconds, const std::vector<int>& kinds)
    {
        enter(level);
        run(seconds, 0.5f);
        for (int kind : kinds) {
            collect(treasureOfKind(kind));
        }
        run(1.0f);
    }
};

TEST_F(InGameTest, EntryBuildsTheLevelAroundTheFish)
{
    writeLevels({ { 2, { "##########", "#S..f....#", "#......GT#", "##########" } } });
    game.waterEffect = true;
    enter(2);

    Player* fish = game.player;
    ASSERT_NE(fish, nullptr);
    EXPECT_EQ(std::make_pair(120.0f, 120.0f), std::make_pair(fish->x, fish->y));
    EXPECT_TRUE(onLayer(game, 2, fish));
    EXPECT_TRUE(fish->flipH) << "facing right";
    EXPECT_EQ(std::make_pair(800, 320), std::make_pair(game.levelWidth, game.levelHeight));

    ASSERT_NE(game.mainLayer, nullptr);
    EXPECT_TRUE(onLayer(game, 1, game.mainLayer));
    EXPECT_TRUE(onLayer(game, 3, game.foregroundLayer));
    EXPECT_TRUE(game.mainLayer->isTileBlocked(0, 0));
    EXPECT_EQ(10, game.foregroundLayer->getTile(4, 1));
    std::vector<int> emitterPictures;
    for (ParticleSystem* emitter : game.emitters) {
        ASSERT_NE(emitter, nullptr);
        EXPECT_TRUE(onLayer(game, 3, emitter));
        emitterPictures.push_back(emitter->imageIndex);
    }
    EXPECT_EQ(emitterPictures, (std::vector<int> { 2, 0, 1 })) << "the sparkles are the second";

    ASSERT_NE(game.inGameMenu, nullptr);
    EXPECT_FALSE(game.inGameMenu->visible);
    EXPECT_FALSE(onLayer(game, 4, game.inGameMenu));
    EXPECT_EQ("JUMPSTATE:levelSelect", game.inGameMenu->pages["Main"].back()->action);
    ASSERT_NE(game.menuBackdrop, nullptr);
    EXPECT_EQ(0.0f, game.menuBackdrop->alpha);

    EXPECT_EQ(1, game.treasureTotals[0]);
    EXPECT_EQ(1, game.treasureTotals[1]);
    EXPECT_FALSE(game.frozen) << "a plain level has no banner";
    EXPECT_TRUE(game.screen->waterEffect);
    EXPECT_EQ(&game.camera, game.screen->cameraTarget);
    EXPECT_EQ(std::make_pair(400.0f, 20.0f), std::make_pair(game.camera.x, game.camera.y))
        << "a level lower than the screen keeps its lower edge at the screen's";
    EXPECT_EQ(tracks(), (Names { "mus/underwater.ogg" }));

    // Esc calls the menu up over the level; the state's keys are live.
    key[KEY_ESC] = 1;
    game.update(DT);
    key[KEY_ESC] = 0;
    EXPECT_TRUE(game.inGameMenu->visible);
    EXPECT_TRUE(onLayer(game, 4, game.inGameMenu));
    EXPECT_TRUE(game.frozen);
    ASSERT_NE(game.menuBackdrop, nullptr);
    EXPECT_GT(game.inGameMenu->depth(), game.menuBackdrop->depth()) << "the menu is drawn over its backdrop";

    // A restart of the same level keeps its track running.
    enter(2);
    EXPECT_EQ(tracks(), (Names { "mus/underwater.ogg" }));
}

TEST_F(InGameTest, EachLevelNumberBringsItsOwnSetUp)
{
    std::vector<std::string> roomy
        = { "S.......", "........", "........", "........", "........", "........", ".......T" };
    writeLevels(
        { { 3, { "S..T" } }, { 9, roomy }, { 30, { "S..T" } }, { 38, { "S..T" } }, { 52, { "S..T" } } });

    enter(9);
    ASSERT_EQ(1u, game.creatures.size());
    EXPECT_EQ("dat/squid.dat", game.creatures[0]->datafile.name);
    EXPECT_EQ(std::make_pair(600.0f, 440.0f), std::make_pair(game.creatures[0]->x, game.creatures[0]->y));
    EXPECT_EQ(LevelProperties::BOSS, game.levelKind);
    EXPECT_TRUE(game.frozen);
    EXPECT_EQ(2.0f, game.freezeTimer);
    Names banner;
    for (Sprite* sprite : game.screen->layers[4].sprites) {
        if (auto* picture = dynamic_cast<AnimatedSprite*>(sprite); picture && picture->visible) {
            banner.push_back(picture->datafile.name + " " + std::to_string(static_cast<int>(picture->frame)));
        }
    }
    EXPECT_EQ(banner, (Names { "dat/readygo.dat 0", "dat/readygo.dat 2" }));

    enter(3);
    EXPECT_EQ(10, game.coinsRequired);
    EXPECT_EQ(LevelProperties::COIN_LEVEL, game.levelKind);
    EXPECT_TRUE(game.creatures.empty()) << "the last level's creatures are gone";

    enter(30);
    EXPECT_TRUE(game.player->outOfWater);
    EXPECT_FALSE(game.screen->waterEffect) << "dry land has no ripple";
    enter(38);
    EXPECT_TRUE(game.player->rocketSmoke);
    EXPECT_FALSE(game.player->outOfWater) << "the rocket carries the fish";

    game.highestLevel = 40;
    enter(1002);
    ASSERT_NE(game.danceGame, nullptr);
    EXPECT_EQ(game.creatures, std::vector<Creature*> { game.danceGame });
    EXPECT_TRUE(game.miniGameMusic);
    EXPECT_EQ(std::make_pair(200.0f, 360.0f), std::make_pair(game.player->x, game.player->y));
    EXPECT_EQ("JUMPSTATE:title", game.inGameMenu->pages["Main"].back()->action);

    EXPECT_EQ(tracks(),
        (Names { "mus/squidbattle.ogg", "mus/montyrag.ogg", "mus/underwater.ogg", "mus/rayblues.ogg" }))
        << "the dance game's own tunes play over silence";
    enter(30);
    EXPECT_EQ(tracks().back(), "mus/underwater.ogg") << "after the silence the track starts again";
}

TEST_F(InGameTest, TheStartBannerHoldsTheClockAndTheClockStopsAtTenMinutes)
{
    writeLevels({ { 2, { "S..T" } }, { 5, { "S..T" } }, { 7, { "S..T" } } });
    // The ride's help waits for its banner.
    enter(5);
    game.update(DT);
    EXPECT_EQ(Names { "inGame" }, stack());
    run(2.0f);
    EXPECT_EQ((Names { "inGame", "helpText" }), stack());

    enter(7);
    EXPECT_TRUE(game.frozen);
    run(1.9f);
    EXPECT_EQ(0.0f, game.levelClock);
    EXPECT_TRUE(game.frozen);
    run(0.2f);
    EXPECT_FALSE(game.frozen);
    EXPECT_EQ(0.0f, game.freezeTimer);
    EXPECT_GT(game.levelClock, 0.0f);
    EXPECT_LT(game.levelClock, 0.2f);

    enter(2);
    run(700.0f, 0.5f);
    EXPECT_EQ(599.0f, game.levelClock);
    EXPECT_EQ(Names { "inGame" }, stack());

    // The menu stops the clock too.
    game.levelClock = 10.0f;
    game.onAction("openInGameMenu", true);
    run(1.0f);
    EXPECT_EQ(10.0f, game.levelClock);
}

TEST_F(InGameTest, ALevelWithoutTreasureIsPerfectAtOnce)
{
    writeLevels({ { 2, { "S.#" } } });
    game.coins = 25;
    enter(2);
    game.player->levelCoins = 3;
    game.update(DT);

    EXPECT_EQ(3, game.highestLevel);
    EXPECT_EQ(3, game.currentLevel);
    EXPECT_EQ(100, game.levelPercent[2]);
    EXPECT_EQ(25 + 20 + 3, game.coins) << "the bonus and the coins of the level";
    EXPECT_EQ(1, plays("levelcomplete"));
    EXPECT_EQ((Names { "inGame", "100%" }), stack());
    EXPECT_TRUE(game.frozen);
    EXPECT_EQ(999.0f, game.freezeTimer);
    EXPECT_TRUE(apptest::fileExists("profiles/tester.dat"));

    // The award covers the level; nothing is scored twice beneath it.
    run(1.0f);
    EXPECT_EQ(1, plays("levelcomplete"));
    EXPECT_EQ(45 + 3, game.coins);
}

TEST_F(InGameTest, RatingsBestTimesAndThePerfectBonus)
{
    writeLevels(
        { { 2, { "S.TG" } }, { 3, { "S.TG" } }, { 4, { "S..T" } }, { 6, { "S.TG" } }, { 8, { "S.TG" } } });
    game.coins = 0;

    // Half of the treasure: 50 %, the first best time.
    finish(2, 30.0f, { Treasure::CHEST });
    EXPECT_EQ(50, game.levelPercent[2]);
    EXPECT_EQ(30, game.bestTimes[2]);
    EXPECT_EQ(3, game.currentLevel);
    EXPECT_EQ((Names { "inGame" }), stack()) << "straight on to the next level";
    EXPECT_EQ(0, game.coins);

    // As good and faster: a new time. As good but slower: none.
    finish(2, 20.0f, { Treasure::CHEST });
    EXPECT_EQ(20, game.bestTimes[2]);
    finish(2, 40.0f, { Treasure::CHEST });
    EXPECT_EQ(20, game.bestTimes[2]);

    // Everything: 100 % and the bonus, once.
    finish(2, 50.0f, { 1, Treasure::CHEST });
    EXPECT_EQ(100, game.levelPercent[2]);
    EXPECT_EQ(20, game.bestTimes[2]) << "slower, though better rated";
    EXPECT_EQ(20, game.coins);
    EXPECT_EQ((Names { "inGame", "100%" }), stack());
    finish(2, 10.0f, { 1, Treasure::CHEST });
    EXPECT_EQ(20, game.coins) << "a second perfect run pays nothing";
    EXPECT_EQ(10, game.bestTimes[2]);

    // A worse rating never writes the time, however fast.
    finish(2, 5.0f, { Treasure::CHEST });
    EXPECT_EQ(100, game.levelPercent[2]);
    EXPECT_EQ(10, game.bestTimes[2]);
    EXPECT_EQ(3, game.highestLevel);

    // A coin level pays no bonus for 100 %, and waits for its coins.
    enter(3);
    run(2.1f); // the banner
    collect(treasureOfKind(1));
    collect(treasureOfKind(Treasure::CHEST));
    run(1.0f);
    EXPECT_EQ(3, game.currentLevel) << "not without 10 coins";
    game.player->levelCoins = 10;
    game.update(DT);
    EXPECT_EQ(100, game.levelPercent[3]);
    EXPECT_EQ(30, game.coins) << "only the coins caught";
    EXPECT_EQ(4, game.currentLevel);

    // A chest still fading out does not finish the level yet.
    enter(4);
    collect(treasureOfKind(Treasure::CHEST));
    run(0.3f);
    EXPECT_EQ(4, game.currentLevel);
    run(0.3f);
    EXPECT_EQ(5, game.currentLevel);

    // A chest that fades out while the menu or the shop is up is scored once
    // the player is back: the award never opens beneath either of them.
    const int coinsBefore = game.coins;
    enter(6);
    collect(treasureOfKind(1));
    collect(treasureOfKind(Treasure::CHEST));
    game.onAction("openInGameMenu", true);
    run(1.0f);
    EXPECT_EQ(6, game.currentLevel);
    game.onAction("closeInGameMenu", true);
    game.update(DT);
    EXPECT_EQ(7, game.currentLevel);
    EXPECT_EQ((Names { "inGame", "100%" }), stack());

    enter(8);
    collect(treasureOfKind(1));
    collect(treasureOfKind(Treasure::CHEST));
    game.onAction("pushPowerupShop", false);
    run(1.0f);
    EXPECT_EQ((Names { "inGame", "powerupShop" }), stack());
    EXPECT_EQ(8, game.currentLevel);
    game.popState();
    game.update(DT);
    EXPECT_EQ((Names { "inGame", "100%" }), stack());
    EXPECT_EQ(coinsBefore + 40, game.coins) << "both perfect runs paid";
}

TEST_F(InGameTest, TheStoryEndAMiniGameAndAMissingLevelLeaveForTheirScreens)
{
    writeLevels({ { 53, { "S.#" } } });
    enter(50);
    EXPECT_EQ(nullptr, game.mainLayer) << "nothing of a level is built";
    game.update(DT);
    EXPECT_EQ((Names { "eog" }), stack());
    EXPECT_EQ(0, game.highestLevel) << "nothing was played, nothing is scored";
    EXPECT_TRUE(game.levelPercent.empty());

    game.highestLevel = 40;
    int coins = game.coins;
    enter(1003);
    game.update(DT);
    EXPECT_EQ((Names { "title" }), stack());
    EXPECT_EQ(40, game.highestLevel) << "a mini-game is no story level";
    EXPECT_EQ(coins, game.coins) << "no perfect bonus for a mini-game";

    writeLevels({ { 2, { "S.T" } } });
    startFreshLog();
    enter(12);
    EXPECT_EQ(nullptr, game.screen->cameraTarget);
    game.update(DT);
    EXPECT_EQ((Names { "title" }), stack());
    EXPECT_TRUE(logHas("Could not load level [12]"));
    EXPECT_EQ(40, game.highestLevel) << "a level that could not be read is not played";
}

TEST_F(InGameTest, LeavingTheLevelLetsGoOfEverythingInIt)
{
    writeLevels({ { 2, { "S..c", "...T" } } });
    enter(2);

    // What joins the level while the shop is up belongs to the level, and
    // stays when the shop closes.
    game.pushState("powerupShop");
    auto* latecomer = new StillCreature("crab.dat");
    game.addCreature(latecomer);
    Treasure* prize = LevelLoader(game).addTreasure(1, 1, Treasure::CHEST, 0, 0);
    game.popState();
    game.collectGarbage();
    EXPECT_TRUE(onLayer(game, 2, latecomer));
    EXPECT_TRUE(onLayer(game, 2, prize));
    EXPECT_EQ((Names { "inGame" }), stack());

    game.onAction("openInGameMenu", true);
    Menu* menu = game.inGameMenu;
    ASSERT_TRUE(onLayer(game, 4, menu));
    game.timeScale = 0.5f;
    game.bossHitPoints = game.bossHitPointsMax = 5;

    game.jumpState("levelSelect");
    EXPECT_FALSE(onLayer(game, 4, menu));
    EXPECT_EQ(nullptr, game.inGameMenu);
    EXPECT_EQ(nullptr, game.menuBackdrop);
    EXPECT_EQ(nullptr, game.player);
    EXPECT_EQ(nullptr, game.mainLayer);
    EXPECT_EQ(nullptr, game.emitters[0]);
    EXPECT_TRUE(game.creatures.empty());
    EXPECT_TRUE(game.treasures.empty());
    EXPECT_EQ(1.0f, game.timeScale);
    EXPECT_FALSE(game.frozen);
    EXPECT_EQ(0.0f, game.freezeTimer);
    EXPECT_EQ(0, game.bossHitPoints + game.bossHitPointsMax);
    EXPECT_EQ(nullptr, game.screen->cameraTarget);
    EXPECT_FALSE(game.screen->waterEffect);
    for (const Layer& layer : game.screen->layers) {
        EXPECT_TRUE(layer.sprites.empty());
    }
    game.update(DT); // the level's services are asked with nothing behind them
    EXPECT_TRUE(game.isTileBlocked(0, 0));
}

TEST_F(InGameTest, TheCameraFollowsTheFishWithinTheLevel)
{
    writeLevels({ { 2,
                      { "S...........", "............", "............", "............", "............",
                          "............", "............", "...........T" } },
        { 4, { "S..T" } } });
    enter(2);
    Player* fish = game.player;
    EXPECT_EQ(std::make_pair(400.0f, 300.0f), std::make_pair(game.camera.x, game.camera.y));

    fish->setPosition(500, 330);
    game.update(DT);
    EXPECT_EQ(std::make_pair(500.0f, 330.0f), std::make_pair(game.camera.x, game.camera.y));
    fish->setPosition(790, 630);
    game.update(DT);
    EXPECT_EQ(std::make_pair(560.0f, 340.0f), std::make_pair(game.camera.x, game.camera.y))
        << "held at the level's far corner";

    // Riding, the camera looks 200 pixels ahead of the friend.
    fish->ridingFriend = true;
    fish->friendSprite.setPosition(250, 310);
    game.updateCamera();
    EXPECT_EQ(std::make_pair(450.0f, 310.0f), std::make_pair(game.camera.x, game.camera.y));

    // A level narrower than the screen is held by its right edge.
    enter(4);
    EXPECT_EQ(std::make_pair(-80.0f, -220.0f), std::make_pair(game.camera.x, game.camera.y));
}

} // namespace
