#include "game/play/CreatureFactory.h"

#include "game/creatures/Angler.h"
#include "game/creatures/BigBossBird.h"
#include "game/creatures/BigShark.h"
#include "game/creatures/Cannon.h"
#include "game/creatures/Clam.h"
#include "game/creatures/Crab.h"
#include "game/creatures/Crate.h"
#include "game/creatures/Dolphin.h"
#include "game/creatures/Eel.h"
#include "game/creatures/Jellyfish.h"
#include "game/creatures/Leviathan.h"
#include "game/creatures/MrPuffer.h"
#include "game/creatures/PirateFish.h"
#include "game/creatures/Refill.h"
#include "game/creatures/Seagull.h"
#include "game/creatures/Sentinel.h"
#include "game/creatures/Sharky.h"
#include "game/creatures/SleepyFish.h"
#include "game/creatures/Spikes.h"
#include "game/creatures/Squid.h"
#include "game/creatures/Swordfish.h"
#include "game/minigames/Bomb.h"
#include "game/minigames/DanceFish.h"
#include "game/minigames/InvaderSpawner.h"
#include "game/minigames/ShellGame.h"

namespace {

using Kind = LevelColours::Kind;
using Row = LevelColours::Row;

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
    { Kind::LEVIATHAN, [](const Row&) -> Creature* { return new Leviathan(); } },
    { Kind::EEL, [](const Row&) -> Creature* { return new Eel(); } },
    { Kind::ANGLER, [](const Row&) -> Creature* { return new Angler(); } },
    { Kind::SPIKES, [](const Row& row) -> Creature* { return new Spikes(row.hanging); } },
    { Kind::PIRATE_FISH, [](const Row&) -> Creature* { return new PirateFish(); } },
    { Kind::PUFFER_FISH, [](const Row&) -> Creature* { return new MrPuffer(); } },
    { Kind::CRATE, crate },
    { Kind::SENTINEL, sentinel },
    { Kind::SEAGULL, [](const Row&) -> Creature* { return new Seagull(); } },
    { Kind::SHARK, shark },
    { Kind::SWORDFISH, [](const Row&) -> Creature* { return new Swordfish(); } },
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
        return new Squid();
    case LevelProperties::Boss::BIG_BOSS_BIRD:
        return new BigBossBird();
    case LevelProperties::Boss::BIG_SHARK:
        return new BigShark();
    case LevelProperties::Boss::NONE:
        break;
    }
    return nullptr;
}

Creature* CreatureFactory::createMiniGame(LevelProperties::MiniGame miniGame)
{
    switch (miniGame) {
    case LevelProperties::MiniGame::DANCE_GAME:
        return new DanceFish();
    case LevelProperties::MiniGame::SHELL_GAME:
        return new ShellGame();
    case LevelProperties::MiniGame::BOMB_GAME:
        return new Bomb();
    case LevelProperties::MiniGame::INVADERS:
        return new InvaderSpawner();
    case LevelProperties::MiniGame::NONE:
        break;
    }
    return nullptr;
}
