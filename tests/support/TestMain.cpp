// Every test program starts here: Allegro without a display or input drivers,
// 16-bit colour for memory bitmaps, and a scratch folder as the working
// directory so that settings.cfg, debug.log and friends never touch the tree.
#include <allegro.h>
#include <gtest/gtest.h>

#include "support/ScratchDir.h"

#include <cerrno>
#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        return 1;
    }
    set_color_depth(16);
    ScratchDir scratch;
    return RUN_ALL_TESTS();
}
