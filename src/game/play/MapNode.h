#pragma once

#include "engine/media/AnimatedSprite.h"

// One story level on the world map, standing on its fixed spot of the path.
class MapNode : public AnimatedSprite {
public:
    static constexpr int LEVEL_COUNT = 50;

    explicit MapNode(int levelNumber);

    // Where a level's node stands on the 800 x 600 map.
    static int mapX(int levelNumber);
    static int mapY(int levelNumber);
    // The picture of a node: plain or boss (the last of each ten), and the
    // finished forms of both once the level was completed at 100 %.
    static int pictureFor(int levelNumber, int percent);

    int level;
};
