#include "game/creatures/Crate.h"

#include "engine/media/ParticleSystem.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"

namespace {

// Drawn in front of the creatures in its row.
constexpr int DEPTH_BIAS = 100;

constexpr int BLAST_PARTICLES = 100;
constexpr int BLAST_EMITTER = 0;
constexpr int ANY_LIGHT_COLOUR = -1;
constexpr double BLAST_DISTANCE_SQUARED = 10000.0;
// The big shark is only wounded by a crate that goes off well inside its
// outline, not by one that grazes its fins.
constexpr int SHARK_MARGIN = 20;
const char* const BIG_SHARK_PICTURES = "dat/sharkybig.dat";

bool overlap(const Sprite::Bounds& a, const Sprite::Bounds& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

Crate::Crate()
{
    datafile.load("crate.dat");
    bubbleProof = true;
    obstacle = true;
    depthBias = DEPTH_BIAS;
}

void Crate::setExplosive()
{
    datafile.unload();
    datafile.load("excrate.dat");
    explosive = true;
}

void Crate::hit()
{
    // A crate that has gone off is gone.
    if (!explosive || !visible) {
        return;
    }
    const Bounds blast = getBounds();
    visible = false;
    bubble.visible = false;
    if (SoundManager* sound = SoundManager::instance()) {
        sound->play("cannon", 255, 128, 1000, false);
    }
    Game* game = Game::instance();
    ParticleSystem* emitter = game != nullptr ? game->emitters[BLAST_EMITTER] : nullptr;
    if (emitter != nullptr) {
        emitter->burst(x, y, BLAST_PARTICLES, ANY_LIGHT_COLOUR);
    }
    hurtPlayerOnContact(BLAST_DISTANCE_SQUARED);
    woundBigSharks(blast);
}

void Crate::woundBigSharks(const Bounds& blast)
{
    Game* game = Game::instance();
    if (game == nullptr) {
        return;
    }
    // By index: a wounded shark may change the level's list.
    for (size_t i = 0; i < game->creatures.size(); ++i) {
        Creature* creature = game->creatures[i];
        if (creature == nullptr || creature == this || !creature->visible
            || creature->datafile.name != BIG_SHARK_PICTURES) {
            continue;
        }
        Bounds body = creature->getBounds();
        body.left += SHARK_MARGIN;
        body.top += SHARK_MARGIN;
        body.right -= SHARK_MARGIN;
        body.bottom -= SHARK_MARGIN;
        if (overlap(body, blast)) {
            creature->hit();
        }
    }
}
