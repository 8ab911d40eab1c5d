#pragma once

#include "engine/media/Sprite.h"

#include <allegro.h>

// A plain box behind the shop's texts: filled deep blue and edged in white,
// centred on its position.
class ShopPanel : public Sprite {
public:
    ShopPanel(int width, int height);

    void updateBounds() override;
    void draw(BITMAP* target) override;

    int width;
    int height;
};
