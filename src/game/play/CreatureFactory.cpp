#include "game/play/CreatureFactory.h"

#include "game/creatures/Angler.h"
#include "game/creatures/Cannon.h"
#include "game/creatures/Clam.h"
#include "game/creatures/Crab.h"
#include "game/creatures/Crate.h"
#include "game/creatures/Dolphin.h"
#include "game/creatures/Eel.h"
#include "game/creatures/Jellyfish.h"
#include "game/creatures/MrPuffer.h"
#include "game/creatures/PirateFish.h"
#include "game/creatures/Refill.h"
#include "game/creatures/Seagull.h"
#include "game/creatures/Sentinel.h"
#include "game/creatures/Sharky.h"
#include "game/creatures/SleepyFish.h"
#include "game/creatures/Spikes.h"
#include "game/creatures/StillCreature.h"
#include "game/minigames/InvaderSpawner.h"

namespace {

using Kind = LevelColours::Kind;
using Row = LevelColours::Row;

// The bosses that are not built yet stand still, and never go into a bubble.
Creature* bubbleProof(const Row& row)
{
    return new StillCreature(row.datafile, true);
}

Creature* sentinel(const Row& row)
{
    auto* statue = new Sentinel();
    statue->flipH = row.facesLeft;
    return statue;
}

Creature* crate(const Row& row)
{
    auto* box = new Crate();
    if (row.explosive) {
        box->setExplosive();
    }
    return box;
}

Creature* shark(const Row& row)
{
    return new Sharky(row.sharkArgument);
}

struct Entry {
    Kind kind;
    CreatureFactory::Maker make;
};

const Entry TABLE[] = {
    { Kind::CRAB, [](const Row&) -> Creature* { return new Crab(); } },
    { Kind::LEVIATHAN, bubbleProof },
    { Kind::EEL, [](const Row&) -> Creature* { return new Eel(); } },
    { Kind::ANGLER, [](const Row&) -> Creature* { return new Angler(); } },
    { Kind::SPIKES, [](const Row& row) -> Creature* { return new Spikes(row.hanging); } },
    { Kind::PIRATE_FISH, [](const Row&) -> Creature* { return new PirateFish(); } },
    { Kind::PUFFER_FISH, [](const Row&) -> Creature* { return new MrPuffer(); } },
    { Kind::CRATE, crate },
    { Kind::SENTINEL, sentinel },
    { Kind::SEAGULL, [](const Row&) -> Creature* { return new Seagull(); } },
    { Kind::SHARK, shark },
    { Kind::SWORDFISH, bubbleProof },
    { Kind::JELLYFISH, [](const Row&) -> Creature* { return new Jellyfish(); } },
    { Kind::CANNON, [](const Row&) -> Creature* { return new Cannon(); } },
    { Kind::DOLPHIN, [](const Row&) -> Creature* { return new Dolphin(); } },
    { Kind::SLEEPY_FISH, [](const Row&) -> Creature* { return new SleepyFish(); } },
    { Kind::REFILL, [](const Row&) -> Creature* { return new Refill(); } },
    { Kind::CLAM, [](const Row&) -> Creature* { return new Clam(); } },
};

} // namespace

CreatureFactory::Maker CreatureFactory::makerFor(Kind kind)
{
    for (const Entry& entry : TABLE) {
        if (entry.kind == kind) {
            return entry.make;
        }
    }
    return nullptr;
}

Creature* CreatureFactory::create(const Row& row)
{
    Maker make = makerFor(row.kind);
    return make != nullptr ? make(row) : nullptr;
}

Creature* CreatureFactory::createBoss(LevelProperties::Boss boss)
{
    // Bosses never go into a bubble; until they fight they stand still.
    switch (boss) {
    case LevelProperties::Boss::SQUID:
        return new StillCreature("squid.dat", true);
    case LevelProperties::Boss::BIG_BOSS_BIRD:
        return new StillCreature("bigbossbird.dat", true);
    case LevelProperties::Boss::BIG_SHARK:
        return new StillCreature("sharkybig.dat", true);
    case LevelProperties::Boss::NONE:
        break;
    }
    return nullptr;
}

Creature* CreatureFactory::createMiniGame(LevelProperties::MiniGame miniGame)
{
    // Only the dance game's object has a picture of its own: the dancer.
    switch (miniGame) {
    case LevelProperties::MiniGame::DANCE_GAME:
        return new StillCreature("dancefish.dat", true);
    case LevelProperties::MiniGame::SHELL_GAME:
    case LevelProperties::MiniGame::BOMB_GAME:
        return new StillCreature("", true);
    case LevelProperties::MiniGame::INVADERS:
        return new InvaderSpawner();
    case LevelProperties::MiniGame::NONE:
        break;
    }
    return nullptr;
}
