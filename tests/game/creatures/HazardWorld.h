#pragma once

#include "engine/media/DatafileWriter.h"
#include "engine/media/ParticleSystem.h"
#include "game/creatures/LevelWorld.h"

#include <allegro.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

// The level of the hazard tests: the creature test level, plus pictures of
// the sizes the bounding-box rules need, the pictures of the kinds that no
// level colour places, the gull's two sets of pictures, the sounds the
// hazards make, and a smoke emitter that nobody updates, so every puff it
// was given stays countable.
namespace hazardtest {

constexpr float DT = 0.01f;

inline void releaseKeys()
{
    for (int code = 0; code < KEY_MAX; ++code) {
        key[code] = 0;
    }
}

inline void addPictures(DatafileWriter& out, int count, int width, int height)
{
    BITMAP* picture = create_bitmap_ex(16, width, height);
    clear_to_color(picture, makecol16(90, 160, 200));
    for (int i = 0; i < count; ++i) {
        out.addBitmap(picture);
    }
    destroy_bitmap(picture);
}

inline void writePictures(const std::string& name, int count, int width, int height)
{
    DatafileWriter out;
    addPictures(out, count, width, height);
    out.addData({ 0 }); // the cache keeps a file's last object out of reach
    out.save("dat/" + name);
}

// Stands in for the big shark: it has the big shark's pictures and counts
// the blows it takes.
struct BigSharkStandIn : Creature {
    explicit BigSharkStandIn(const std::string& pictures = "sharkybig.dat")
    {
        datafile.load(pictures);
        bubbleProof = true;
    }
    void hit() override { ++hits; }
    int hits = 0;
};

class HazardWorld : public leveltest::LevelWorld {
protected:
    HazardWorld()
    {
        releaseKeys();
        writePictures("crate.dat", 1, 80, 80);
        writePictures("excrate.dat", 1, 80, 80);
        writePictures("sharkybig.dat", 3, 200, 100);
        writePictures("cannonBall.dat", 2, 28, 28);
        writePictures("gust.dat", 1, 96, 96);
        writePictures("inkblot.dat", 1, 44, 44);
        DatafileWriter gull;
        addPictures(gull.addNested("FLY"), 21, 140, 150);
        addPictures(gull.addNested("DIVE"), 1, 70, 130);
        gull.addData({ 0 });
        gull.save("dat/seagull.dat");
        startSound({ "bubble", "bubblehit", "pop", "ow", "boing", "treasure", "levlaser", "seagull", "cannon",
            "refill" });
        game.emitters[0] = &smoke;
    }

    ~HazardWorld() override
    {
        game.emitters[0] = nullptr;
        Creature::hurtPlayer = nullptr;
        releaseKeys();
    }

    // A creature of the kind at the centre of a cell, added to the level
    // the way the level loader adds it.
    template <typename Kind, typename... Args> Kind* place(int column, int row, Args&&... args)
    {
        auto* creature = new Kind(std::forward<Args>(args)...);
        game.addCreature(creature);
        creature->setPosition(column * 80 + 40, row * 80 + 40);
        return creature;
    }

    // The whole level, creatures and fish, at the game's pace.
    void run(float seconds)
    {
        for (float t = 0.0f; t < seconds - DT / 2; t += DT) {
            game.screen->update(DT);
        }
    }

    // Only the one creature.
    static void step(Creature* creature, float seconds)
    {
        for (float t = 0.0f; t < seconds - DT / 2; t += DT) {
            creature->update(DT);
        }
    }

    bool listed(const void* creature) const
    {
        return std::find(game.creatures.begin(), game.creatures.end(), creature) != game.creatures.end();
    }

    bool onLayer(const void* sprite, int layer) const
    {
        const auto& sprites = game.screen->layers[layer].sprites;
        return std::find(sprites.begin(), sprites.end(), sprite) != sprites.end();
    }

    ParticleSystem smoke;
};

} // namespace hazardtest
