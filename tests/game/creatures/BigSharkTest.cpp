#include "game/creatures/BigShark.h"
#include "game/creatures/Crate.h"
#include "game/creatures/KindWorld.h"

#include "engine/media/DatafileWriter.h"
#include "game/play/PlayWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// The lair of the tests: open water 16 cells wide and 9 deep, with the rock
// at (8, 5) that the beaten shark opens.
class BigSharkTest : public leveltest::KindWorld {
protected:
    BigSharkTest()
    {
        // The real sizes: a 660 x 370 shark, 80-pixel crates, and a fish
        // whose swimming pictures are 96 x 80.
        paint("sharkybig.dat", 3, 660, 370);
        paint("crate.dat", 1, 80, 80);
        paint("excrate.dat", 1, 80, 80);
        DatafileWriter fishPictures;
        BITMAP* picture = create_bitmap_ex(16, 96, 80);
        clear_to_color(picture, makecol16(250, 130, 30));
        fishPictures.addNested("SWIM").addBitmap(picture);
        fishPictures.addData({ 0 });
        destroy_bitmap(picture);
        fishPictures.save("dat/dorir.dat");
        startSound({ "anglerseesyou", "sharkgulp", "sharkbite", "cannon", "ow" });
        std::vector<std::string> art(9, std::string(16, '.'));
        art[5][8] = '#';
        buildMap(art);
    }

    BigShark* addShark()
    {
        auto* shark = new BigShark();
        game.addCreature(shark);
        return shark;
    }

    // Steps the shark until its charge has ended, at most five seconds.
    static void untilBiting(BigShark* shark)
    {
        for (int step = 0; step < 500 && !shark->biting; ++step) {
            shark->update(0.01f);
        }
        ASSERT_TRUE(shark->biting);
    }

    static std::pair<float, float> at(const Sprite* sprite) { return { sprite->x, sprite->y }; }
};

TEST_F(BigSharkTest, IdlesUpAndDownAtTheBackOfItsLairAndChargesAFishPastX400)
{
    BigShark* shark = addShark();
    EXPECT_EQ(std::make_pair(880.0f, 120.0f), at(shark)) << "it takes up its post on its own";
    EXPECT_TRUE(shark->bubbleProof);
    Player* player = makePlayer(400, 120);
    run(shark, 1.0f);
    EXPECT_FALSE(shark->charging) << "x = 400 is not past the line";
    EXPECT_NEAR(220.0f, shark->y, 2.0f) << "down at 100 pixels a second";
    float deepest = shark->y;
    for (int step = 0; step < 300; ++step) {
        shark->update(0.01f);
        deepest = std::max(deepest, shark->y);
    }
    EXPECT_EQ(500.0f, deepest);
    EXPECT_NEAR(500.0f - 100.0f * 0.19f, shark->y, 2.0f) << "and back up";
    EXPECT_EQ(880.0f, shark->x);

    player->x = 401;
    shark->update(0.01f);
    EXPECT_TRUE(shark->charging);
    EXPECT_EQ(701.0f, shark->xTween.target) << "its jaws begin 300 pixels left of its middle";
    EXPECT_EQ(120.0f, shark->yTween.target);
    const std::string cry = "playSample " + std::to_string(sound->samples.at("sfx/anglerseesyou.ogg"));
    EXPECT_EQ(1u, RecordingAudioDevice::named(*calls, cry + " 26460 100 50 0").size())
        << "the angler's cry at six tenths of its speed, full and centred";

    // The fish gets away to the left: the jaws snap shut on nothing and the
    // shark runs back to x = 880 at 400 pixels a second.
    player->x = 300;
    untilBiting(shark);
    EXPECT_EQ(1.0f, shark->frame) << "jaws open";
    EXPECT_EQ(1u, played("sharkbite").size());
    EXPECT_FALSE(player->dead);
    run(shark, 0.3f);
    EXPECT_NEAR(701.0f + 120.0f, shark->x, 4.0f);
    run(shark, 0.3f);
    EXPECT_EQ(880.0f, shark->x);
    EXPECT_FALSE(shark->biting);
    EXPECT_EQ(0.0f, shark->frame);
}

TEST_F(BigSharkTest, SwallowedCratesChokeItFourSecondsLaterOneHitPointEach)
{
    BigShark* shark = addShark();
    // Its body at the end of the charge to (701, 120): 371-1031 across,
    // -65-305 down.
    Crate* near = place<Crate>(6, 1);
    Crate* below = place<Crate>(7, 2);
    below->setExplosive();
    Crate* behind = place<Crate>(2, 1);
    Crate* deep = place<Crate>(6, 4);
    Player* player = makePlayer(401, 120);
    shark->update(0.01f);
    player->x = 300;
    untilBiting(shark);
    EXPECT_FALSE(near->visible);
    EXPECT_FALSE(below->visible) << "an explosive crate goes down like any other";
    EXPECT_TRUE(behind->visible);
    EXPECT_TRUE(deep->visible);
    EXPECT_EQ(2u, played("sharkgulp").size());
    EXPECT_EQ(2, shark->gulpedCrates);

    run(shark, 3.95f);
    EXPECT_EQ(3, shark->hitPoints) << "nothing yet";
    EXPECT_FALSE(shark->hurt);
    EXPECT_TRUE(shark->moving) << "swimming up and down again";
    run(shark, 0.1f);
    EXPECT_EQ(1, shark->hitPoints) << "both crates at once";
    EXPECT_EQ(0, shark->gulpedCrates);
    EXPECT_TRUE(shark->hurt);
    EXPECT_EQ(2.0f, shark->frame);
    EXPECT_FALSE(shark->moving) << "it stops to choke";
    EXPECT_EQ(1u, played("cannon").size());
    player->x = 401;
    float widest = 0.0f;
    int steps = 0;
    for (; steps < 200 && shark->hurt; ++steps) {
        shark->update(0.01f);
        widest = std::max(widest, static_cast<float>(shark->offsetX));
        EXPECT_FALSE(shark->charging) << "it lies still while it chokes";
    }
    EXPECT_NEAR(1.2f, steps * 0.01f, 0.15f) << "twelve shakes of a tenth of a second";
    EXPECT_EQ(20.0f, widest);
    EXPECT_EQ(0.0f, shark->frame);
    EXPECT_EQ(0, shark->offsetX);
    shark->update(0.01f);
    EXPECT_TRUE(shark->charging) << "and then it is after the fish again";
}

TEST_F(BigSharkTest, ItsJawsAreOnItsLeftAndOnlyBiteWhileOpen)
{
    BigShark* shark = addShark();
    Player* player = makePlayer(401, 120);
    shark->update(0.01f);
    untilBiting(shark);
    EXPECT_FALSE(player->dead);
    shark->update(0.01f);
    EXPECT_TRUE(player->dead) << "a fish that stays put is in the jaws when they open";
    run(shark, 0.2f);
    EXPECT_EQ(at(shark), at(player)) << "and the shark carries it off";

    // The jaws of a shark at (700, 300) reach from x = 400 to 660 and from
    // y = 153 to 447; the fish's picture reaches 48 pixels to either side
    // and 40 up and down.
    BigShark* jaws = addShark();
    jaws->setPosition(700, 300);
    auto bites = [&](int fishX, int fishY, bool open) {
        player->dead = false;
        player->setPosition(fishX, fishY);
        jaws->biting = open;
        jaws->update(0.01f);
        jaws->setPosition(700, 300);
        return player->dead;
    };
    for (auto clear : { std::make_pair(351, 300), std::make_pair(709, 300), std::make_pair(530, 488),
             std::make_pair(530, 112), std::make_pair(900, 300) }) {
        EXPECT_FALSE(bites(clear.first, clear.second, true)) << clear.first << " " << clear.second;
    }
    for (auto touching : { std::make_pair(353, 300), std::make_pair(707, 300), std::make_pair(530, 486),
             std::make_pair(530, 114) }) {
        EXPECT_TRUE(bites(touching.first, touching.second, true)) << touching.first << " " << touching.second;
    }
    EXPECT_FALSE(bites(530, 300, false)) << "shut jaws never bite";
}

TEST_F(BigSharkTest, AnExplosiveCrateWoundsItOnlyRightBesideItAndNotWhileItBlinks)
{
    // At (880, 120) its body, less 20 pixels all round, reaches from 570 to
    // 1190 across and from -45 to 285 down.
    BigShark* shark = addShark();
    auto blast = [&](int column, int row) {
        Crate* crate = place<Crate>(column, row);
        crate->setExplosive();
        crate->hit();
    };
    blast(6, 1);
    EXPECT_EQ(3, shark->hitPoints) << "its outline touches, its body does not";
    blast(11, 4);
    EXPECT_EQ(3, shark->hitPoints);
    blast(7, 1);
    EXPECT_EQ(2, shark->hitPoints);
    EXPECT_TRUE(shark->alphaTween.active) << "it blinks";
    blast(9, 1);
    EXPECT_EQ(2, shark->hitPoints) << "not again while it blinks";
    run(shark, 0.45f);
    blast(9, 1);
    EXPECT_EQ(1, shark->hitPoints);
    EXPECT_FALSE(shark->hurt) << "a blast does not make it choke";

    game.frozen = true;
    const float y = shark->y;
    shark->update(0.01f);
    EXPECT_EQ(1, game.bossHitPoints) << "the bar is told even while the level stands still";
    EXPECT_EQ(y, shark->y);
}

TEST_F(BigSharkTest, TheWayOnOpensAtZeroHitPointsWhetherCratesChokeItOrBlowUpBesideIt)
{
    BigShark* choking = addShark();
    Player* player = makePlayer(300, 120);
    ASSERT_EQ(0, mainLayer.getTile(8, 5));
    choking->hitPoints = 2;
    choking->gulpedCrates = 2;
    choking->gulpTimer = 0.005f;
    choking->update(0.01f);
    EXPECT_TRUE(choking->defeated());
    EXPECT_EQ(-1, mainLayer.getTile(8, 5)) << "the rock at (8, 5) is gone";
    EXPECT_FALSE(game.isTileBlocked(8, 5));
    EXPECT_EQ(0.0f, choking->xTween.target);
    EXPECT_EQ(1000.0f, choking->yTween.target) << "it sinks out of the lair";
    player->x = 600;
    run(choking, 1.5f);
    EXPECT_FALSE(choking->charging) << "a beaten shark is after nobody";
    EXPECT_TRUE(choking->shake.active) << "it shakes as long as it sinks";
    EXPECT_EQ(0.0f, choking->alpha);
    EXPECT_NEAR(880.0f - 150.0f, choking->x, 2.0f);
    EXPECT_EQ(0, game.bossHitPoints);
    EXPECT_EQ(3, game.bossHitPointsMax);

    // Its last hit point may also go in a blast; the way on opens all the
    // same, or the level could never be finished.
    mainLayer.setTile(8, 5, 0);
    BigShark* blasted = addShark();
    blasted->hitPoints = 1;
    Crate* crate = place<Crate>(9, 1);
    crate->setExplosive();
    crate->hit();
    EXPECT_TRUE(blasted->defeated());
    EXPECT_EQ(-1, mainLayer.getTile(8, 5));
    EXPECT_EQ(1000.0f, blasted->yTween.target);
}

// The shark's level as the game builds it.
class BigSharkLevelTest : public playtest::PlayWorld { };

TEST_F(BigSharkLevelTest, Level49PutsALiveBigSharkAtTheBackOfItsLair)
{
    std::vector<std::string> lair(9, std::string(16, '.'));
    lair[3][1] = 'S';
    lair[8][0] = 'T';
    writeLevels({ { 49, lair } });
    enter(49);
    ASSERT_EQ(1u, game.creatures.size());
    auto* shark = dynamic_cast<BigShark*>(game.creatures[0]);
    ASSERT_NE(nullptr, shark);
    EXPECT_EQ(std::make_pair(880.0f, 120.0f), std::make_pair(shark->x, shark->y));
    run(0.02f);
    EXPECT_EQ(3, game.bossHitPoints);
}

} // namespace
