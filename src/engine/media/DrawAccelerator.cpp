#include "engine/media/DrawAccelerator.h"

#include <allegro/internal/aintern.h>

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

GFX_VTABLE acceleratedTable;
GFX_VTABLE* allegroTable = nullptr;

// The part of a sprite that lands inside the target's clip rectangle.
struct Span {
    int sourceX, sourceY, targetX, targetY, width, height;
};

bool clipSprite(const BITMAP* target, const BITMAP* sprite, int x, int y, Span& span)
{
    span = { 0, 0, x, y, sprite->w, sprite->h };
    if (!target->clip) {
        return true;
    }
    span.sourceX = target->cl - x > 0 ? target->cl - x : 0;
    span.targetX = x + span.sourceX;
    const int right = target->cr - x < sprite->w ? target->cr - x : sprite->w;
    span.width = right - span.sourceX;
    span.sourceY = target->ct - y > 0 ? target->ct - y : 0;
    span.targetY = y + span.sourceY;
    const int bottom = target->cb - y < sprite->h ? target->cb - y : sprite->h;
    span.height = bottom - span.sourceY;
    return span.width > 0 && span.height > 0;
}

bool isPlain16(BITMAP* bitmap)
{
    return is_memory_bitmap(bitmap) && bitmap->vtable->color_depth == 16;
}

const uint16_t* sourceRow(const BITMAP* sprite, const Span& span, int row)
{
    return reinterpret_cast<const uint16_t*>(sprite->line[span.sourceY + row]) + span.sourceX;
}

uint16_t* targetRow(BITMAP* target, const Span& span, int row)
{
    return reinterpret_cast<uint16_t*>(target->line[span.targetY + row]) + span.targetX;
}

// ---- The pixel rules, one pixel at a time: Allegro's own arithmetic. ----

// Translucency by Allegro's 16-bit rule: the three fields spread apart in one
// word, mixed in steps of 1/32. Only the low 27 bits of the result are kept,
// so 32-bit arithmetic gives the same answer as the library's wider one.
inline uint16_t transPixel(uint32_t x, uint32_t y, uint32_t n)
{
    x = ((x & 0xFFFF) | (x << 16)) & 0x7E0F81F;
    y = ((y & 0xFFFF) | (y << 16)) & 0x7E0F81F;
    const uint32_t result = (((x - y) * n >> 5) + y) & 0x7E0F81F;
    return static_cast<uint16_t>((result & 0xFFFF) | (result >> 16));
}

// Additive light: the sprite's colour scaled by the alpha, added to what is
// behind and capped, each field widened to 8 bits by Allegro's tables.
inline int capped(int value)
{
    return value < 255 ? value : 255;
}

inline uint16_t addPixel(uint32_t source, uint32_t behind, unsigned long alpha)
{
    const int s = static_cast<int>(source);
    const int d = static_cast<int>(behind);
    const int red = capped(getr16(d) + static_cast<int>(static_cast<unsigned long>(getr16(s)) * alpha / 256));
    const int green
        = capped(getg16(d) + static_cast<int>(static_cast<unsigned long>(getg16(s)) * alpha / 256));
    const int blue
        = capped(getb16(d) + static_cast<int>(static_cast<unsigned long>(getb16(s)) * alpha / 256));
    return static_cast<uint16_t>(makecol16(red, green, blue));
}

// Whether Allegro's widening tables repeat the top bits of each field, which
// the wide loop computes instead of looking up.
bool widensByBitRepeat()
{
    for (int c = 0; c < 32; ++c) {
        if (_rgb_scale_5[c] != ((c << 3) | (c >> 2))) {
            return false;
        }
    }
    for (int c = 0; c < 64; ++c) {
        if (_rgb_scale_6[c] != ((c << 2) | (c >> 4))) {
            return false;
        }
    }
    return true;
}

#if defined(__SSE2__)

// ---- The same rules eight pixels at a time. ----

// Runs a rule over a row, eight pixels at a go; the last few pixels are
// worked in a padded copy so that narrow sprites (particles) go fast too.
// Mask-coloured source pixels leave the target as it was.
template <typename Rule> inline void wideRow(uint16_t* to, const uint16_t* from, int count, const Rule& rule)
{
    const __m128i mask = _mm_set1_epi16(static_cast<short>(MASK_COLOR_16));
    auto step = [&](__m128i source, __m128i behind) {
        const __m128i hidden = _mm_cmpeq_epi16(source, mask);
        return _mm_or_si128(_mm_and_si128(hidden, behind), _mm_andnot_si128(hidden, rule(source, behind)));
    };
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i behind = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), step(source, behind));
    }
    const int rest = count - i;
    if (rest > 0) {
        alignas(16) uint16_t source[8];
        alignas(16) uint16_t behind[8];
        for (int k = 0; k < 8; ++k) {
            source[k] = MASK_COLOR_16;
        }
        std::memcpy(source, from + i, rest * sizeof(uint16_t));
        std::memcpy(behind, to + i, rest * sizeof(uint16_t));
        const __m128i result = step(_mm_load_si128(reinterpret_cast<const __m128i*>(source)),
            _mm_load_si128(reinterpret_cast<const __m128i*>(behind)));
        _mm_store_si128(reinterpret_cast<__m128i*>(behind), result);
        std::memcpy(to + i, behind, rest * sizeof(uint16_t));
    }
}

// Masked copy, eight pixels at a go: a stretch with no mask pixel is stored
// without reading the target, one that is all mask is not touched at all.
void maskedCopyRow(uint16_t* to, const uint16_t* from, int count)
{
    const __m128i mask = _mm_set1_epi16(static_cast<short>(MASK_COLOR_16));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i hidden = _mm_cmpeq_epi16(source, mask);
        const int hiddenBits = _mm_movemask_epi8(hidden);
        if (hiddenBits == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), source);
        } else if (hiddenBits != 0xFFFF) {
            const __m128i behind = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i),
                _mm_or_si128(_mm_and_si128(hidden, behind), _mm_andnot_si128(hidden, source)));
        }
    }
    for (; i < count; ++i) {
        if (from[i] != MASK_COLOR_16) {
            to[i] = from[i];
        }
    }
}

// The spread-word rule of transPixel works out, field by field, to
// behind + floor((source - behind) * n / 32): the fields never carry into
// each other. Eight pixels at a time in 16-bit lanes.
struct TransRule {
    explicit TransRule(uint32_t n)
        : factor(_mm_set1_epi16(static_cast<short>(n)))
    {
    }

    __m128i field(__m128i source, __m128i behind, int shift, int bits) const
    {
        const __m128i fieldMask = _mm_set1_epi16(static_cast<short>((1 << bits) - 1));
        const __m128i count = _mm_cvtsi32_si128(shift);
        const __m128i s = _mm_and_si128(_mm_srl_epi16(source, count), fieldMask);
        const __m128i d = _mm_and_si128(_mm_srl_epi16(behind, count), fieldMask);
        const __m128i step = _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(s, d), factor), 5);
        return _mm_sll_epi16(_mm_add_epi16(d, step), count);
    }

    __m128i operator()(__m128i source, __m128i behind) const
    {
        return _mm_or_si128(_mm_or_si128(field(source, behind, 11, 5), field(source, behind, 5, 6)),
            field(source, behind, 0, 5));
    }

    __m128i factor;
};

struct AddRule {
    explicit AddRule(int alpha)
        : alphaWide(_mm_set1_epi16(static_cast<short>(alpha)))
        , redShift(_mm_cvtsi32_si128(_rgb_r_shift_16))
        , greenShift(_mm_cvtsi32_si128(_rgb_g_shift_16))
        , blueShift(_mm_cvtsi32_si128(_rgb_b_shift_16))
    {
    }

    // One colour field of eight pixels: widened, the source scaled by alpha,
    // added, capped and narrowed back into place.
    __m128i field(__m128i source, __m128i behind, __m128i shift, int bits) const
    {
        const __m128i fieldMask = _mm_set1_epi16(static_cast<short>((1 << bits) - 1));
        const __m128i widen = _mm_cvtsi32_si128(8 - bits);
        const __m128i repeat = _mm_cvtsi32_si128(2 * bits - 8);
        const __m128i s = _mm_and_si128(_mm_srl_epi16(source, shift), fieldMask);
        const __m128i d = _mm_and_si128(_mm_srl_epi16(behind, shift), fieldMask);
        const __m128i wideS = _mm_or_si128(_mm_sll_epi16(s, widen), _mm_srl_epi16(s, repeat));
        const __m128i wideD = _mm_or_si128(_mm_sll_epi16(d, widen), _mm_srl_epi16(d, repeat));
        const __m128i scaled = _mm_srli_epi16(_mm_mullo_epi16(wideS, alphaWide), 8);
        const __m128i sum = _mm_min_epi16(_mm_add_epi16(wideD, scaled), _mm_set1_epi16(255));
        return _mm_sll_epi16(_mm_srl_epi16(sum, widen), shift);
    }

    __m128i operator()(__m128i source, __m128i behind) const
    {
        return _mm_or_si128(
            _mm_or_si128(field(source, behind, redShift, 5), field(source, behind, greenShift, 6)),
            field(source, behind, blueShift, 5));
    }

    __m128i alphaWide, redShift, greenShift, blueShift;
};

#endif

// ---- The drawing routines put into the bitmap's table. ----

void drawSprite(BITMAP* target, BITMAP* sprite, int x, int y)
{
    if (!isPlain16(sprite)) {
        allegroTable->draw_sprite(target, sprite, x, y);
        return;
    }
    Span span;
    if (!clipSprite(target, sprite, x, y, span)) {
        return;
    }
    for (int row = 0; row < span.height; ++row) {
        uint16_t* to = targetRow(target, span, row);
        const uint16_t* from = sourceRow(sprite, span, row);
#if defined(__SSE2__)
        maskedCopyRow(to, from, span.width);
#else
        for (int i = 0; i < span.width; ++i) {
            if (from[i] != MASK_COLOR_16) {
                to[i] = from[i];
            }
        }
#endif
    }
}

void drawTransSprite(BITMAP* target, BITMAP* sprite, int x, int y)
{
    const bool trans = _blender_func16 == _blender_trans16;
    const bool add = _blender_func16 == _blender_add16;
    if (!isPlain16(sprite) || (!trans && !add)) {
        allegroTable->draw_trans_sprite(target, sprite, x, y);
        return;
    }
    Span span;
    if (!clipSprite(target, sprite, x, y, span)) {
        return;
    }
    const unsigned long alpha = static_cast<unsigned long>(_blender_alpha);
#if defined(__SSE2__)
    // The wide additive rule multiplies in 16 bits and computes the widening:
    // anything else goes the long way.
    static const bool bitRepeat = widensByBitRepeat();
    const bool wide = trans || (bitRepeat && alpha <= 255);
#else
    const bool wide = false;
#endif
    const uint32_t n = alpha != 0 ? static_cast<uint32_t>((alpha + 1) / 8) : 0;
    for (int row = 0; row < span.height; ++row) {
        uint16_t* to = targetRow(target, span, row);
        const uint16_t* from = sourceRow(sprite, span, row);
        if (wide) {
#if defined(__SSE2__)
            if (trans) {
                wideRow(to, from, span.width, TransRule(n));
            } else {
                wideRow(to, from, span.width, AddRule(static_cast<int>(alpha)));
            }
#endif
            continue;
        }
        for (int i = 0; i < span.width; ++i) {
            const uint16_t pixel = from[i];
            if (pixel != MASK_COLOR_16) {
                to[i] = trans ? transPixel(pixel, to[i], n) : addPixel(pixel, to[i], alpha);
            }
        }
    }
}

// Run-length sprites: each row is a list of signed counts, a positive count
// followed by that many pixels to copy, a negative one a gap to skip, and the
// mask colour ending the row. Solid runs are copied whole. Only sprites that
// fit the clip rectangle's width are done here; Allegro cuts runs for the rest.
void drawRleSprite(BITMAP* target, const RLE_SPRITE* sprite, int x, int y)
{
    if (sprite->color_depth != 16 || !target->clip || x < target->cl || x + sprite->w > target->cr) {
        allegroTable->draw_rle_sprite(target, sprite, x, y);
        return;
    }
    const int16_t endOfRow = static_cast<int16_t>(MASK_COLOR_16);
    const int16_t* data = reinterpret_cast<const int16_t*>(sprite->dat);
    const int lastRow = (target->cb - y < sprite->h ? target->cb - y : sprite->h) - 1;
    for (int row = 0; row <= lastRow; ++row) {
        const int targetY = y + row;
        uint16_t* to
            = targetY >= target->ct ? reinterpret_cast<uint16_t*>(target->line[targetY]) + x : nullptr;
        int column = 0;
        while (*data != endOfRow) {
            const int count = *data++;
            if (count > 0) {
                if (to != nullptr) {
                    std::memcpy(to + column, data, count * sizeof(uint16_t));
                }
                data += count;
                column += count;
            } else {
                column -= count;
            }
        }
        ++data;
    }
}

} // namespace

bool DrawAccelerator::install(BITMAP* bitmap)
{
    if (bitmap == nullptr || !isPlain16(bitmap)) {
        return false;
    }
    if (bitmap->vtable == &acceleratedTable) {
        return true;
    }
    if (allegroTable == nullptr) {
        allegroTable = bitmap->vtable;
        acceleratedTable = *allegroTable;
        acceleratedTable.draw_sprite = drawSprite;
        acceleratedTable.draw_trans_sprite = drawTransSprite;
        acceleratedTable.draw_rle_sprite = drawRleSprite;
    } else if (bitmap->vtable != allegroTable) {
        return false;
    }
    bitmap->vtable = &acceleratedTable;
    return true;
}

void DrawAccelerator::uninstall(BITMAP* bitmap)
{
    if (bitmap != nullptr && bitmap->vtable == &acceleratedTable) {
        bitmap->vtable = allegroTable;
    }
}
