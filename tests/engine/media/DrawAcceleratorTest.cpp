#include "engine/media/DrawAccelerator.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Random pixels, about a third of them the mask colour.
BITMAP* noiseBitmap(int w, int h, unsigned seed, int depth = 16)
{
    BITMAP* bitmap = create_bitmap_ex(depth, w, h);
    std::srand(seed);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int pixel = std::rand() % 3 == 0 ? bitmap_mask_color(bitmap) : (std::rand() & 0xFFFF);
            putpixel(bitmap, x, y, depth == 16 ? pixel : makecol_depth(depth, pixel & 255, pixel >> 8, 99));
        }
    }
    return bitmap;
}

// An accelerated target beside a plain one with the same pixels.
struct TargetPair {
    TargetPair(int w, int h, unsigned seed)
    {
        fast = noiseBitmap(w, h, seed);
        plain = create_bitmap(w, h);
        blit(fast, plain, 0, 0, 0, 0, w, h);
        EXPECT_TRUE(DrawAccelerator::install(fast));
    }
    ~TargetPair()
    {
        destroy_bitmap(fast);
        destroy_bitmap(plain);
    }
    void clip(int x1, int y1, int x2, int y2)
    {
        set_clip_rect(fast, x1, y1, x2, y2);
        set_clip_rect(plain, x1, y1, x2, y2);
    }
    int differences() const
    {
        int count = 0;
        for (int y = 0; y < fast->h; ++y) {
            for (int x = 0; x < fast->w; ++x) {
                count += _getpixel16(fast, x, y) != _getpixel16(plain, x, y);
            }
        }
        return count;
    }
    BITMAP* fast;
    BITMAP* plain;
};

const int POSITIONS[][2] = { { 0, 0 }, { 10, 7 }, { -20, 5 }, { 70, -9 }, { 85, 60 }, { -36, -22 },
    { 500, 3 }, { 33, 79 }, { -5, 70 } };

} // namespace

TEST(DrawAccelerator, OnlySixteenBitMemoryBitmapsAreChanged)
{
    BITMAP* deep = create_bitmap_ex(32, 8, 8);
    EXPECT_FALSE(DrawAccelerator::install(deep));
    destroy_bitmap(deep);
    EXPECT_FALSE(DrawAccelerator::install(nullptr));

    BITMAP* bitmap = create_bitmap(8, 8);
    const GFX_VTABLE* original = bitmap->vtable;
    EXPECT_TRUE(DrawAccelerator::install(bitmap));
    EXPECT_TRUE(DrawAccelerator::install(bitmap));
    EXPECT_NE(bitmap->vtable, original);
    DrawAccelerator::uninstall(bitmap);
    EXPECT_EQ(bitmap->vtable, original);
    destroy_bitmap(bitmap);
}

TEST(DrawAccelerator, MaskedSpritesMatchAllegroAtEveryEdgeAndClip)
{
    TargetPair targets(100, 80, 1);
    BITMAP* sprite = noiseBitmap(37, 23, 2);
    BITMAP* wide = noiseBitmap(130, 3, 3); // wider than the target
    // Whole stretches of solid colour and of mask colour.
    rectfill(wide, 0, 0, 70, 1, makecol(200, 100, 50));
    rectfill(wide, 40, 1, 129, 2, bitmap_mask_color(wide));
    for (int clipped = 0; clipped < 2; ++clipped) {
        if (clipped) {
            targets.clip(12, 9, 61, 50);
        }
        for (const auto& at : POSITIONS) {
            draw_sprite(targets.fast, sprite, at[0], at[1]);
            draw_sprite(targets.plain, sprite, at[0], at[1]);
            draw_sprite(targets.fast, wide, at[0] - 15, at[1]);
            draw_sprite(targets.plain, wide, at[0] - 15, at[1]);
            ASSERT_EQ(targets.differences(), 0) << at[0] << "," << at[1] << " clipped " << clipped;
        }
    }
    destroy_bitmap(sprite);
    destroy_bitmap(wide);
}

TEST(DrawAccelerator, RunLengthSpritesMatchAllegroAtEveryEdgeAndClip)
{
    TargetPair targets(300, 60, 10);
    // Long solid runs (longer than one count holds), gaps and single pixels.
    BITMAP* picture = noiseBitmap(290, 30, 11);
    rectfill(picture, 3, 2, 280, 12, makecol(40, 90, 200));
    rectfill(picture, 0, 20, 289, 29, bitmap_mask_color(picture));
    RLE_SPRITE* sprite = get_rle_sprite(picture);
    BITMAP* speckPicture = noiseBitmap(7, 5, 12);
    RLE_SPRITE* speck = get_rle_sprite(speckPicture);
    const int places[][2] = { { 0, 0 }, { 5, 10 }, { 10, -12 }, { 3, 45 }, { -4, 3 }, { 20, 5 }, { 0, -40 } };
    for (int clipped = 0; clipped < 2; ++clipped) {
        if (clipped) {
            targets.clip(2, 4, 297, 50);
        }
        for (const auto& at : places) {
            draw_rle_sprite(targets.fast, sprite, at[0], at[1]);
            draw_rle_sprite(targets.plain, sprite, at[0], at[1]);
            draw_rle_sprite(targets.fast, speck, at[1] + 100, at[0] + 20);
            draw_rle_sprite(targets.plain, speck, at[1] + 100, at[0] + 20);
            ASSERT_EQ(targets.differences(), 0) << at[0] << "," << at[1] << " clipped " << clipped;
        }
    }
    destroy_rle_sprite(sprite);
    destroy_rle_sprite(speck);
    destroy_bitmap(picture);
    destroy_bitmap(speckPicture);
}

TEST(DrawAccelerator, TranslucentAndAdditiveSpritesMatchAllegroAtEveryAlpha)
{
    TargetPair targets(64, 64, 4);
    BITMAP* sprite = noiseBitmap(48, 40, 5);
    BITMAP* speck = noiseBitmap(5, 6, 9); // narrower than one stride
    for (int additive = 0; additive < 2; ++additive) {
        for (int alpha = 0; alpha < 258; ++alpha) { // and a little beyond
            if (additive) {
                set_add_blender(0, 0, 0, alpha);
            } else {
                set_trans_blender(0, 0, 0, alpha);
            }
            const int x = (alpha * 7) % 50 - 20;
            const int y = (alpha * 13) % 50 - 20;
            draw_trans_sprite(targets.fast, sprite, x, y);
            draw_trans_sprite(targets.plain, sprite, x, y);
            draw_trans_sprite(targets.fast, speck, y + 20, x + 20);
            draw_trans_sprite(targets.plain, speck, y + 20, x + 20);
            ASSERT_EQ(targets.differences(), 0) << "alpha " << alpha << " additive " << additive;
        }
    }
    destroy_bitmap(sprite);
    destroy_bitmap(speck);
}

TEST(DrawAccelerator, OtherBlendersAndDepthsAreLeftToAllegro)
{
    TargetPair targets(40, 40, 6);
    BITMAP* sprite = noiseBitmap(20, 20, 7);
    set_burn_blender(0, 0, 0, 150);
    draw_trans_sprite(targets.fast, sprite, 5, 5);
    draw_trans_sprite(targets.plain, sprite, 5, 5);
    set_hue_blender(0, 0, 0, 90);
    draw_trans_sprite(targets.fast, sprite, -3, 12);
    draw_trans_sprite(targets.plain, sprite, -3, 12);
    EXPECT_EQ(targets.differences(), 0);

    BITMAP* deep = noiseBitmap(20, 20, 8, 32);
    set_alpha_blender();
    draw_trans_sprite(targets.fast, deep, 10, 10);
    draw_trans_sprite(targets.plain, deep, 10, 10);
    EXPECT_EQ(targets.differences(), 0);
    destroy_bitmap(deep);
    destroy_bitmap(sprite);
}
