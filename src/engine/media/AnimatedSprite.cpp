#include "engine/media/AnimatedSprite.h"

#include "engine/core/DebugLog.h"

#include <sstream>

AnimatedSprite::AnimatedSprite()
{
    frameTween.setUpdatee(&frame);
    frameRateTween.setUpdatee(&frameTween.duration);
}

AnimatedSprite::~AnimatedSprite()
{
    datafile.unload();
}

void AnimatedSprite::update(float dt)
{
    Sprite::update(dt);
    frameTween.update(dt);
    frameRateTween.update(dt);
    if (frameTween.active) {
        return;
    }
    // Every idle update hands the name on: the finished animation's once,
    // then empty ones. An animation started from onAnimationEnd keeps its
    // own name.
    std::string ended = animationName;
    onAnimationEnd(ended);
    lastAnimationName = ended;
    if (!frameTween.active) {
        animationName.clear();
    }
}

void AnimatedSprite::onAnimationEnd(std::string) { }

void AnimatedSprite::playAnimation(
    const std::string& name, int first, int last, float duration, int repeats, bool pingPong, float delay)
{
    if (first == 0 && last == 0) {
        DebugLog::log("null animation");
        animationName.clear();
        frameTween.stop();
        return;
    }
    animationName = name;
    frame = static_cast<float>(first);
    frameTween.start(static_cast<float>(last), duration, repeats);
    frameTween.pingPong = pingPong;
    frameTween.delay = delay;
}

void AnimatedSprite::playAnimation(const Animation& animation)
{
    playAnimation(animation.name, animation.first, animation.last, animation.duration, animation.repeats,
        animation.pingPong, 0.0f);
}

void* AnimatedSprite::framePicture(int* type) const
{
    *type = 0;
    if (!datafile.isLoaded() || datafile.current == nullptr) {
        return nullptr;
    }
    int index = static_cast<int>(frame);
    int objectType = datafile.getType(index);
    if (objectType != DAT_BITMAP && objectType != DAT_RLE_SPRITE) {
        return nullptr;
    }
    *type = objectType;
    return datafile.current[index].dat;
}

int AnimatedSprite::frameWidth() const
{
    int type = 0;
    void* picture = framePicture(&type);
    if (type == DAT_BITMAP) {
        return static_cast<BITMAP*>(picture)->w;
    }
    if (type == DAT_RLE_SPRITE) {
        return static_cast<RLE_SPRITE*>(picture)->w;
    }
    return 0;
}

int AnimatedSprite::frameHeight() const
{
    int type = 0;
    void* picture = framePicture(&type);
    if (type == DAT_BITMAP) {
        return static_cast<BITMAP*>(picture)->h;
    }
    if (type == DAT_RLE_SPRITE) {
        return static_cast<RLE_SPRITE*>(picture)->h;
    }
    return 0;
}

void AnimatedSprite::updateBounds()
{
    if (!datafile.isLoaded()) {
        return;
    }
    int drawnX = static_cast<int>(offsetX + x);
    int drawnY = static_cast<int>(offsetY + y - z);
    int w = frameWidth();
    int h = frameHeight();
    switch (alignment) {
    case 0:
        left = drawnX;
        top = drawnY;
        right = drawnX + w;
        bottom = drawnY + h;
        break;
    case 1:
        left = drawnX - w / 2;
        top = drawnY - h / 2;
        right = drawnX + w / 2;
        bottom = drawnY + h / 2;
        break;
    case 2:
        left = drawnX - w / 2;
        top = drawnY - h;
        right = drawnX + w / 2;
        bottom = drawnY;
        break;
    case 4:
        left = drawnX;
        top = drawnY - h;
        right = drawnX + w;
        bottom = drawnY;
        break;
    default:
        // Top-right anchoring keeps whatever bounds it had.
        break;
    }
}

void AnimatedSprite::draw(BITMAP* target)
{
    if (alpha == 0.0f || target == nullptr || !visible) {
        return;
    }
    float keptX = x;
    float keptY = y;
    x += offsetX;
    y = y - z + offsetY;
    drawFrame(target);
    drawChildren(target);
    x = keptX;
    y = keptY;
}

void AnimatedSprite::drawFrame(BITMAP* target)
{
    int type = 0;
    void* picture = framePicture(&type);
    if (type == DAT_RLE_SPRITE) {
        drawRle(target, static_cast<RLE_SPRITE*>(picture));
    } else if (type == DAT_BITMAP) {
        drawBitmap(target, static_cast<BITMAP*>(picture));
    }
}

bool AnimatedSprite::anchorPoint(int w, int h, int& drawX, int& drawY) const
{
    switch (alignment) {
    case 0:
        drawX = static_cast<int>(x);
        drawY = static_cast<int>(y);
        return true;
    case 1:
        drawX = static_cast<int>(x - w / 2);
        drawY = static_cast<int>(y - h / 2);
        return true;
    case 2:
        drawX = static_cast<int>(x - w / 2);
        drawY = static_cast<int>(y - h);
        return true;
    case 3:
        drawX = static_cast<int>(x - w);
        drawY = static_cast<int>(y);
        return true;
    default:
        return false;
    }
}

void AnimatedSprite::drawRle(BITMAP* target, RLE_SPRITE* sprite)
{
    // Run-length frames only know the top-left, centre and bottom-centre anchors.
    int drawX = 0;
    int drawY = 0;
    if (alignment > 2 || !anchorPoint(sprite->w, sprite->h, drawX, drawY)) {
        return;
    }
    if (alpha >= 255.0f && blendMode <= 0) {
        draw_rle_sprite(target, sprite, drawX, drawY);
    } else {
        selectBlender(blendMode, static_cast<int>(alpha));
        draw_trans_rle_sprite(target, sprite, drawX, drawY);
    }
}

bool AnimatedSprite::drawStretched(BITMAP* target, BITMAP* picture)
{
    int w = picture->w;
    int h = picture->h;
    int width = w;
    int height = h;
    if (alignment == 1) {
        if ((widthTween.active && heightTween.active) || (stretchWidth && stretchHeight)) {
            width = static_cast<int>(drawWidth);
            height = static_cast<int>(drawHeight);
        } else if (widthTween.active || stretchWidth) {
            width = static_cast<int>(drawWidth);
        } else if (heightTween.active || stretchHeight) {
            height = static_cast<int>(drawHeight);
        } else {
            return false;
        }
    } else if (alignment == 2) {
        if (!widthTween.active && !heightTween.active) {
            return false;
        }
        if (widthTween.active) {
            width = static_cast<int>(drawWidth);
        }
        if (heightTween.active) {
            height = static_cast<int>(drawHeight);
        }
    } else {
        return false;
    }
    // A picture shrunk to nothing (or turned inside out) is simply not seen.
    if (width <= 0 || height <= 0) {
        return true;
    }
    int drawX = static_cast<int>(x - width / 2);
    int drawY = static_cast<int>(alignment == 1 ? y - height / 2 : y - height);
    stretch_sprite(target, picture, drawX, drawY, width, height);
    return true;
}

BITMAP* AnimatedSprite::mirror(BITMAP* picture, bool upsideDown)
{
    // Allegro blends only unflipped pictures, so a fading or glowing
    // creature would snap round to face left; the flip is made in a scratch
    // picture first. One scratch serves every sprite, as drawing is done on
    // one thread.
    static BITMAP* scratch = nullptr;
    const int depth = bitmap_color_depth(picture);
    if (scratch == nullptr || scratch->w != picture->w || scratch->h != picture->h
        || bitmap_color_depth(scratch) != depth) {
        if (scratch != nullptr) {
            destroy_bitmap(scratch);
        }
        scratch = create_bitmap_ex(depth, picture->w, picture->h);
        if (scratch == nullptr) {
            return picture;
        }
    }
    clear_to_color(scratch, bitmap_mask_color(scratch));
    if (upsideDown) {
        draw_sprite_v_flip(scratch, picture, 0, 0);
    } else {
        draw_sprite_h_flip(scratch, picture, 0, 0);
    }
    return scratch;
}

void AnimatedSprite::drawBitmap(BITMAP* target, BITMAP* picture)
{
    int w = picture->w;
    int h = picture->h;
    int savedLeft, savedTop, savedRight, savedBottom;
    get_clip_rect(target, &savedLeft, &savedTop, &savedRight, &savedBottom);
    int savedState = get_clip_state(target);
    if (clipLeft != 0 || clipTop != 0 || clipRight != 0 || clipBottom != 0) {
        int originX = static_cast<int>(x);
        int originY = static_cast<int>(y);
        // Within whatever clipping the target already has.
        add_clip_rect(
            target, originX + clipLeft, originY + clipTop, originX + clipRight - 1, originY + clipBottom - 1);
        set_clip_state(target, TRUE);
    }

    if (!drawStretched(target, picture)) {
        int drawX = 0;
        int drawY = 0;
        bool known = anchorPoint(w, h, drawX, drawY);
        if (alignment == 4) {
            // Bottom-left anchored frames are always drawn plainly.
            draw_sprite(target, picture, static_cast<int>(x), static_cast<int>(y - h));
        }
        if (known) {
            if (angle != 0.0f) {
                // About the picture's centre, or its bottom centre when it
                // stands on its point.
                int pivotY = alignment == 2 ? h : h / 2;
                pivot_scaled_sprite(target, picture, drawX + w / 2, drawY + pivotY, w / 2, pivotY,
                    itofix(static_cast<int>(angle)), itofix(1));
            } else if (alpha < 255.0f || blendMode > 0) {
                selectBlender(blendMode, static_cast<int>(alpha));
                bool mirrored = (alignment == 1 || alignment == 2) && (flipV || flipH);
                draw_trans_sprite(target, mirrored ? mirror(picture, flipV) : picture, drawX, drawY);
            } else if ((alignment == 1 || alignment == 2) && flipV) {
                draw_sprite_v_flip(target, picture, drawX, drawY);
            } else if ((alignment == 1 || alignment == 2) && flipH) {
                draw_sprite_h_flip(target, picture, drawX, drawY);
            } else {
                draw_sprite(target, picture, drawX, drawY);
            }
        }
    }

    set_clip_rect(target, savedLeft, savedTop, savedRight, savedBottom);
    set_clip_state(target, savedState);
}

void AnimatedSprite::handleCommand(std::string line)
{
    Sprite::handleCommand(line);
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "animate") {
        int first = 0, last = 0, times = 0;
        float seconds = 0.0f;
        std::string backAndForth;
        if (words >> first >> last >> seconds >> times >> backAndForth) {
            bool pingPong = backAndForth == "1" || backAndForth == "true";
            playAnimation("", first, last, seconds, times, pingPong, 0.0f);
        }
    } else if (command == "stopAnimating") {
        frameTween.stop();
    } else if (command == "frame") {
        float value = 0.0f;
        if (words >> value) {
            frame = value;
        }
    } else if (command == "useSubDatafile") {
        int index = 0;
        if (words >> index) {
            datafile.useSubDatafile(index);
        }
    }
}
