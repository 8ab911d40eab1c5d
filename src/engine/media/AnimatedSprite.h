#pragma once

#include "engine/media/Animation.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/Sprite.h"

#include <string>

// A sprite that draws frames out of a datafile, stepping the frame number
// with an interpolator.
class AnimatedSprite : public Sprite {
public:
    AnimatedSprite();
    ~AnimatedSprite() override;

    void updateBounds() override;
    void draw(BITMAP* target) override;
    void handleCommand(std::string line) override;
    void update(float dt) override;
    virtual void onAnimationEnd(std::string name);

    void playAnimation(const std::string& name, int first, int last, float duration, int repeats,
        bool pingPong, float delay);
    void playAnimation(const Animation& animation);
    int frameWidth() const;
    int frameHeight() const;

    Interpolator frameTween, frameRateTween;
    DatafileManager datafile;
    float frame = 0.0f;
    std::string animationName;
    std::string lastAnimationName;
    bool stretchWidth = false, stretchHeight = false;

private:
    // The picture of the current frame, at the drawn point (x, y).
    void drawFrame(BITMAP* target);
    // Where the picture's top-left corner goes for alignments 0 to 3; false
    // for the others.
    bool anchorPoint(int w, int h, int& drawX, int& drawY) const;
    void drawRle(BITMAP* target, RLE_SPRITE* sprite);
    void drawBitmap(BITMAP* target, BITMAP* picture);
    // The picture turned as the flips say (upside down wins), in a scratch
    // picture that the next call reuses.
    static BITMAP* mirror(BITMAP* picture, bool upsideDown);
    // Draws a stretched picture when a size tween or flag asks for it.
    bool drawStretched(BITMAP* target, BITMAP* picture);
    // Object trunc(frame) when it is a picture of either kind, else null;
    // quiet when no datafile is loaded.
    void* framePicture(int* type) const;
};
