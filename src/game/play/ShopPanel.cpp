#include "game/play/ShopPanel.h"

namespace {

constexpr int FILL_RED = 0;
constexpr int FILL_GREEN = 0;
constexpr int FILL_BLUE = 64;
constexpr int EDGE_LEVEL = 255;

} // namespace

ShopPanel::ShopPanel(int panelWidth, int panelHeight)
    : width(panelWidth)
    , height(panelHeight)
{
}

void ShopPanel::updateBounds()
{
    left = static_cast<int>(offsetX + x) - width / 2;
    top = static_cast<int>(offsetY + y - z) - height / 2;
    right = left + width;
    bottom = top + height;
}

void ShopPanel::draw(BITMAP* target)
{
    if (!visible || target == nullptr || width <= 0 || height <= 0) {
        return;
    }
    updateBounds();
    // The colours follow the bitmap drawn into, whatever mode the screen is in.
    const int depth = bitmap_color_depth(target);
    const int fill = makecol_depth(depth, FILL_RED, FILL_GREEN, FILL_BLUE);
    const int edge = makecol_depth(depth, EDGE_LEVEL, EDGE_LEVEL, EDGE_LEVEL);
    rectfill(target, left, top, right - 1, bottom - 1, fill);
    rect(target, left, top, right - 1, bottom - 1, edge);
    drawChildren(target);
}
