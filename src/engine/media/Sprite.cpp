#include "engine/media/Sprite.h"

#include <algorithm>
#include <sstream>

Sprite::Sprite()
{
    alphaTween.setUpdatee(&alpha);
    angleTween.setUpdatee(&angle);
    widthTween.setUpdatee(&drawWidth);
    heightTween.setUpdatee(&drawHeight);
    xTween.setUpdatee(&x);
    yTween.setUpdatee(&y);
    zTween.setUpdatee(&z);
}

void Sprite::setPosition(int newX, int newY)
{
    x = static_cast<float>(newX);
    y = static_cast<float>(newY);
}

void Sprite::draw(BITMAP* target)
{
    if (visible) {
        drawChildren(target);
    }
}

void Sprite::drawChildren(BITMAP* target)
{
    // By index: a child may be added while its siblings draw.
    for (size_t i = 0; i < children.size(); ++i) {
        Sprite* child = children[i];
        if (child == nullptr) {
            continue;
        }
        // The child's own position is put back exactly as it was, so that
        // floating-point rounding never lets it drift frame by frame.
        float childX = child->x;
        float childY = child->y;
        child->x += x;
        child->y += y;
        child->draw(target);
        child->x = childX;
        child->y = childY;
    }
}

int Sprite::depth()
{
    return static_cast<int>(depthBias + z + y);
}

void Sprite::handleCommand(std::string line)
{
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "pos") {
        int newX = 0, newY = 0;
        if (words >> newX >> newY) {
            setPosition(newX, newY);
        }
    } else if (command == "moveTo") {
        int newX = 0, newY = 0, speed = 0;
        if (words >> newX >> newY >> speed) {
            moveTo(newX, newY, static_cast<float>(speed));
        }
    } else if (command == "alpha") {
        float value = 0.0f;
        if (words >> value) {
            alpha = value;
        }
    } else if (command == "alphaInt") {
        int targetAlpha = 0, times = 0;
        float seconds = 0.0f;
        if (words >> targetAlpha >> seconds >> times) {
            alphaTween.start(static_cast<float>(targetAlpha), seconds, times);
        }
    }
}

void Sprite::update(float dt)
{
    alphaTween.update(dt);
    angleTween.update(dt);
    widthTween.update(dt);
    heightTween.update(dt);
    xTween.update(dt);
    yTween.update(dt);
    zTween.update(dt);
    if (moving && !xTween.active && !yTween.active) {
        moving = false;
    }
}

Sprite::Bounds Sprite::getBounds()
{
    updateBounds();
    return Bounds { left, top, right, bottom };
}

void Sprite::moveTo(int targetX, int targetY, float speed)
{
    if (speed == 0.0f) {
        xTween.stop();
        yTween.stop();
        moving = false;
        x = static_cast<float>(targetX);
        y = static_cast<float>(targetY);
        return;
    }
    // Each axis runs at the given speed on its own, so a diagonal move
    // takes as long as its longer leg.
    xTween.pingPong = false;
    yTween.pingPong = false;
    // An axis already at its target stops there, rather than carrying on
    // towards the target of an earlier move.
    if (static_cast<float>(targetX) != x) {
        xTween.startAtSpeed(static_cast<float>(targetX), speed, 0);
    } else {
        xTween.stop();
    }
    if (static_cast<float>(targetY) != y) {
        yTween.startAtSpeed(static_cast<float>(targetY), speed, 0);
    } else {
        yTween.stop();
    }
    moving = true;
}

void Sprite::addChild(Sprite* child)
{
    children.push_back(child);
}

void Sprite::removeChild(Sprite* child)
{
    auto found = std::find(children.begin(), children.end(), child);
    if (found != children.end()) {
        children.erase(found);
    }
}

void Sprite::setClip(int clipLeftEdge, int clipTopEdge, int clipRightEdge, int clipBottomEdge)
{
    clipLeft = clipLeftEdge;
    clipTop = clipTopEdge;
    clipRight = clipRightEdge;
    clipBottom = clipBottomEdge;
}

void Sprite::stepUpdate(float dt)
{
    // A negative limit would never use up the time; it counts as no limit.
    if (maxStep <= 0.0f) {
        update(dt);
        return;
    }
    if (dt <= 0.0f) {
        return;
    }
    float remaining = dt;
    while (remaining > maxStep) {
        update(maxStep);
        remaining -= maxStep;
    }
    update(remaining);
}

void Sprite::selectBlender(int mode, int alphaValue)
{
    int a = std::clamp(alphaValue, 0, 255);
    switch (mode) {
    case 1:
        set_add_blender(0, 0, 0, a);
        break;
    case 2:
        set_dissolve_blender(0, 0, 0, a);
        break;
    case 3:
        set_hue_blender(0, 0, 0, a);
        break;
    case 4:
        set_invert_blender(0, 0, 0, a);
        break;
    case 5:
        set_burn_blender(0, 0, 0, a);
        break;
    case 6:
        set_alpha_blender();
        break;
    default:
        set_trans_blender(0, 0, 0, a);
        break;
    }
}
