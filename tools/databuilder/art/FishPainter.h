#pragma once

#include "databuilder/art/Rgb.h"

#include <allegro.h>

// Draws the game's fish from a handful of features, so that the hero, the
// enemies and the friends share one style yet read apart at a glance:
// shape, colours, stripes, fins, tail and face differ per kind.
// Fish face left (the game mirrors them to face right).
class FishPainter {
public:
    enum class Tail { Fork, Round, Fan, Crescent, Pointed };

    struct Look {
        float length = 60; // body, nose to tail root
        float height = 36;
        float noseShape = 0.45f; // share of the length in front of the widest point
        float snout = 0; // a pointed nose reaching this far beyond the body
        Rgb back { 230, 120, 30 };
        Rgb belly { 255, 220, 120 };
        Rgb fin { 240, 90, 40 };
        Rgb stripe { 255, 255, 255 };
        int stripes = 0;
        float stripeWidth = 5;
        Tail tail = Tail::Fork;
        float tailSize = 22;
        float dorsal = 14; // height of the back fin, 0 for none
        bool spikyDorsal = false;
        float pectoral = 11;
        float eye = 7;
        float eyeForward = 0.62f; // how far forward the eye sits (share of the front half)
        float eyeLid = 0.0f;
        bool angryBrow = false;
        float mouth = 6; // width of the mouth line
        bool teeth = false;
        bool grin = false;
        bool gasp = false; // an open round mouth (out of the water)
        Rgb outline { 30, 20, 30 };
    };

    // Draws the fish centred on (cx, cy). swing runs -1..1 (tail beat),
    // flap -1..1 (fins); tilt turns the whole fish (radians, nose down > 0).
    static void draw(
        BITMAP* target, float cx, float cy, const Look& look, float swing, float flap, float tilt = 0.0f);
    // A picture just large enough for the fish plus a margin.
    static BITMAP* frame(const Look& look, float swing, float flap, int width, int height, float tilt = 0.0f);
};
