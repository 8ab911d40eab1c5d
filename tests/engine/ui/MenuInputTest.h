#pragma once

#include "engine/ui/Menu.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <initializer_list>

// Every menu test steps the game at 100 frames a second, starting with no
// key or button down and the pointer far away from every menu.
class MenuInputTest : public ::testing::Test {
protected:
    static constexpr float STEP = 0.01f;

    void SetUp() override { resetInput(); }
    void TearDown() override { resetInput(); }

    static void resetInput()
    {
        for (int code = 0; code < KEY_MAX; ++code) {
            key[code] = 0;
        }
        key_shifts = 0;
        mouse_b = 0;
        mouse_x = 5000;
        mouse_y = 5000;
    }

    // Press and release each key in turn, one frame each.
    static void tap(Menu& menu, std::initializer_list<int> codes)
    {
        for (int code : codes) {
            key[code] = 1;
            menu.update(STEP);
            key[code] = 0;
            menu.update(STEP);
        }
    }
};
