#include "engine/media/Layer.h"

#include "engine/media/Screen.h"

bool Layer::isOnScreen(int x, int y) const
{
    const Screen* screen = Screen::instance();
    if (screen == nullptr) {
        return false;
    }
    return isOnScreen(x, y, screen->width, screen->height);
}

bool Layer::isOnScreen(int x, int y, int screenWidth, int screenHeight) const
{
    const int screenX = x + scrollX;
    const int screenY = y + scrollY;
    return screenX >= 0 && screenX <= screenWidth && screenY >= 0 && screenY <= screenHeight;
}
