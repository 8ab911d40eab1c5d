#pragma once

#include "engine/media/AnimatedSprite.h"

// Something to pick up that lies in the level: a treasure chest (kind 0; all
// of them finish the level), a gem (1, 2), the kind no level places (3) or a
// pearl (4). The kind is the picture shown, so it lives in the frame.
class Treasure : public AnimatedSprite {
public:
    static constexpr int CHEST = 0;
    static constexpr int PEARL = 4;
    static constexpr int KINDS = 5;

    // A kind outside 0-4 is logged and becomes a chest.
    explicit Treasure(int kind);

    int kind() const { return static_cast<int>(frame); }

    // Set by the fish when it picks the treasure up.
    bool collected = false;
};
