#pragma once

#include "game/creatures/LevelWorld.h"

#include <allegro.h>

#include <cmath>
#include <string>

// A level for one kind of creature at a time: creatures stood in cell
// centres, time run in fixed steps, and pictures of a real size for the
// kinds whose reach or turning depends on how big they are drawn.
namespace leveltest {

class KindWorld : public LevelWorld {
protected:
    ~KindWorld() override { Creature::hurtPlayer = nullptr; }

    template <typename Kind, typename... Arguments> Kind* place(int column, int row, Arguments... arguments)
    {
        auto* creature = new Kind(arguments...);
        game.addCreature(creature);
        creature->setPosition(column * 80 + 40, row * 80 + 40);
        return creature;
    }

    static void run(Creature* creature, float seconds, float dt = 0.01f)
    {
        for (long step = std::lround(seconds / dt); step > 0; --step) {
            creature->update(dt);
        }
    }

    // Gives a datafile frames of w x h pixels instead of the small stand-ins;
    // before any creature loads it.
    static void paint(const std::string& datafile, int frames, int w, int h)
    {
        DatafileWriter out;
        BITMAP* picture = create_bitmap_ex(16, w, h);
        clear_to_color(picture, makecol16(90, 200, 120));
        for (int i = 0; i < frames; ++i) {
            out.addBitmap(picture);
        }
        out.addData({ 0 });
        destroy_bitmap(picture);
        out.save("dat/" + datafile);
    }
};

} // namespace leveltest
