#include "game/creatures/KindWorld.h"
#include "game/play/CreatureFactory.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class ContactTest : public leveltest::KindWorld {
protected:
    Creature* build(LevelColours::Kind kind)
    {
        const auto& rows = LevelColours::rows();
        auto row = std::find_if(
            rows.begin(), rows.end(), [kind](const LevelColours::Row& r) { return r.kind == kind; });
        Creature* creature = CreatureFactory::create(*row);
        game.addCreature(creature);
        creature->setPosition(200, 120);
        return creature;
    }
};

TEST_F(ContactTest, EachKindBitesWithinItsReachAndSomeEvenFromInsideABubble)
{
    using Kind = LevelColours::Kind;
    struct Reach {
        Kind kind;
        int pixels;
        bool fromBubble;
    };
    buildMap({ "######", "#....#", "######" });
    Player* player = makePlayer(0, 120);
    for (Reach reach : { Reach { Kind::CRAB, 64, true }, Reach { Kind::PIRATE_FISH, 40, true },
             Reach { Kind::SLEEPY_FISH, 64, true }, Reach { Kind::JELLYFISH, 55, true },
             Reach { Kind::ANGLER, 60, false }, Reach { Kind::EEL, 60, false } }) {
        Creature* creature = build(reach.kind);
        SCOPED_TRACE(creature->datafile.name);
        ASSERT_FALSE(creature->bubbleProof);
        player->dead = false;
        player->x = 200.0f + reach.pixels + 1;
        creature->update(0.001f);
        EXPECT_FALSE(player->dead);
        player->x = 200.0f + reach.pixels - 1;
        creature->update(0.001f);
        EXPECT_TRUE(player->dead);

        player->dead = false;
        creature->trap(5.0f);
        creature->update(0.001f);
        EXPECT_EQ(reach.fromBubble, player->dead);
        creature->visible = false;
    }
}

} // namespace
