#include "engine/media/DatafileWriter.h"

#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

using Bytes = std::vector<unsigned char>;

// Numbers in a datafile are big-endian; the pixel words of hicolour
// pictures and the counts inside run-length sprites are little-endian.
void putByte(Bytes& out, int value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
}

void putBigWord(Bytes& out, int value)
{
    putByte(out, value >> 8);
    putByte(out, value);
}

void putBigLong(Bytes& out, std::uint32_t value)
{
    putByte(out, static_cast<int>(value >> 24));
    putByte(out, static_cast<int>(value >> 16));
    putByte(out, static_cast<int>(value >> 8));
    putByte(out, static_cast<int>(value));
}

void putLittleWord(Bytes& out, int value)
{
    putByte(out, value);
    putByte(out, value >> 8);
}

void putLittleLong(Bytes& out, std::uint32_t value)
{
    putByte(out, static_cast<int>(value));
    putByte(out, static_cast<int>(value >> 8));
    putByte(out, static_cast<int>(value >> 16));
    putByte(out, static_cast<int>(value >> 24));
}

void putBytes(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

bool isStorableDepth(int depth)
{
    return depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

// A hicolour pixel as the 5.6.5 word the loader expects, whatever the
// bitmap's own layout (15 or 16 bits).
int hicolourWord(int depth, int colour)
{
    int r = getr_depth(depth, colour);
    int g = getg_depth(depth, colour);
    int b = getb_depth(depth, colour);
    return ((r << 8) & 0xF800) | ((g << 3) & 0x07E0) | ((b >> 3) & 0x001F);
}

void putTrueColour(Bytes& out, int depth, int colour)
{
    putByte(out, getr_depth(depth, colour));
    putByte(out, getg_depth(depth, colour));
    putByte(out, getb_depth(depth, colour));
}

Bytes encodeBitmap(BITMAP* bitmap)
{
    int depth = bitmap_color_depth(bitmap);
    Bytes out;
    putBigWord(out, depth);
    putBigWord(out, bitmap->w);
    putBigWord(out, bitmap->h);
    for (int y = 0; y < bitmap->h; ++y) {
        for (int x = 0; x < bitmap->w; ++x) {
            int colour = getpixel(bitmap, x, y);
            switch (depth) {
            case 8:
                putByte(out, colour);
                break;
            case 15:
            case 16:
                putLittleWord(out, hicolourWord(depth, colour));
                break;
            default:
                putTrueColour(out, depth, colour);
                break;
            }
        }
    }
    return out;
}

// Serialises a run-length sprite: skip counts and runs as they are in
// memory, the pixels of each run in the file's colour layout, and one
// end-of-line marker per row.
Bytes encodeRle(const RLE_SPRITE* sprite)
{
    int depth = sprite->color_depth;
    Bytes out;
    putBigWord(out, depth);
    putBigWord(out, sprite->w);
    putBigWord(out, sprite->h);
    putBigLong(out, static_cast<std::uint32_t>(sprite->size));

    if (depth == 8) {
        const unsigned char* data = reinterpret_cast<const unsigned char*>(sprite->dat);
        out.insert(out.end(), data, data + sprite->size);
        return out;
    }

    if (depth == 15 || depth == 16) {
        const std::int16_t* p = reinterpret_cast<const std::int16_t*>(sprite->dat);
        const std::int16_t* end = p + sprite->size / 2;
        std::uint16_t lineEnd = depth == 15 ? MASK_COLOR_15 : MASK_COLOR_16;
        for (int row = 0; row < sprite->h && p < end; ++row) {
            while (p < end) {
                std::int16_t count = *p++;
                if (static_cast<std::uint16_t>(count) == lineEnd) {
                    break;
                }
                putLittleWord(out, count);
                if (count > 0) {
                    for (int i = 0; i < count && p < end; ++i) {
                        putLittleWord(out, hicolourWord(depth, static_cast<std::uint16_t>(*p++)));
                    }
                }
            }
            putLittleWord(out, MASK_COLOR_16);
        }
        return out;
    }

    const std::int32_t* p = reinterpret_cast<const std::int32_t*>(sprite->dat);
    const std::int32_t* end = p + sprite->size / 4;
    std::uint32_t lineEnd = depth == 24 ? MASK_COLOR_24 : MASK_COLOR_32;
    for (int row = 0; row < sprite->h && p < end; ++row) {
        while (p < end) {
            std::int32_t count = *p++;
            if (static_cast<std::uint32_t>(count) == lineEnd) {
                break;
            }
            putLittleLong(out, static_cast<std::uint32_t>(count));
            if (count > 0) {
                for (int i = 0; i < count && p < end; ++i) {
                    putTrueColour(out, depth, *p++);
                }
            }
        }
        putLittleLong(out, MASK_COLOR_32);
    }
    return out;
}

} // namespace

DatafileWriter::DatafileWriter() = default;
DatafileWriter::~DatafileWriter() = default;

int DatafileWriter::addObject(int type, const std::string& name, Bytes payload)
{
    Object object;
    object.type = type;
    object.name = name;
    object.payload = std::move(payload);
    objects.push_back(std::move(object));
    return size() - 1;
}

int DatafileWriter::addBitmap(BITMAP* bitmap, const std::string& name)
{
    if (bitmap == nullptr || !isStorableDepth(bitmap_color_depth(bitmap))) {
        return -1;
    }
    return addObject(DAT_BITMAP, name, encodeBitmap(bitmap));
}

int DatafileWriter::addRleSprite(BITMAP* bitmap, const std::string& name)
{
    if (bitmap == nullptr || !isStorableDepth(bitmap_color_depth(bitmap))) {
        return -1;
    }
    RLE_SPRITE* sprite = get_rle_sprite(bitmap);
    if (sprite == nullptr) {
        return -1;
    }
    Bytes payload = encodeRle(sprite);
    destroy_rle_sprite(sprite);
    return addObject(DAT_RLE_SPRITE, name, std::move(payload));
}

int DatafileWriter::addPalette(const PALETTE palette, const std::string& name)
{
    if (palette == nullptr) {
        return -1;
    }
    Bytes out;
    for (int i = 0; i < PAL_SIZE; ++i) {
        putByte(out, palette[i].r & 0x3F);
        putByte(out, palette[i].g & 0x3F);
        putByte(out, palette[i].b & 0x3F);
        putByte(out, 0);
    }
    return addObject(DAT_PALETTE, name, std::move(out));
}

int DatafileWriter::addFont(int firstChar, const std::vector<BITMAP*>& glyphs, const std::string& name)
{
    if (glyphs.empty() || firstChar < 0) {
        return -1;
    }
    for (BITMAP* glyph : glyphs) {
        if (glyph == nullptr || bitmap_color_depth(glyph) != 8) {
            return -1;
        }
    }
    Bytes out;
    putBigWord(out, 0); // the font format with character ranges
    putBigWord(out, 1); // one range
    putByte(out, 8); // of 8-bit colour glyphs
    putBigLong(out, static_cast<std::uint32_t>(firstChar));
    putBigLong(out, static_cast<std::uint32_t>(firstChar + static_cast<int>(glyphs.size()) - 1));
    for (BITMAP* glyph : glyphs) {
        putBigWord(out, glyph->w);
        putBigWord(out, glyph->h);
        for (int y = 0; y < glyph->h; ++y) {
            for (int x = 0; x < glyph->w; ++x) {
                putByte(out, getpixel(glyph, x, y));
            }
        }
    }
    return addObject(DAT_FONT, name, std::move(out));
}

int DatafileWriter::addData(const std::vector<unsigned char>& bytes, const std::string& name)
{
    return addObject(DAT_DATA, name, bytes);
}

DatafileWriter& DatafileWriter::addNested(const std::string& name)
{
    addObject(DAT_FILE, name, Bytes());
    objects.back().nested = std::make_unique<DatafileWriter>();
    return *objects.back().nested;
}

void DatafileWriter::appendObjects(Bytes& out) const
{
    putBigLong(out, static_cast<std::uint32_t>(objects.size()));
    for (const Object& object : objects) {
        if (!object.name.empty()) {
            putBigLong(out, DAT_PROPERTY);
            putBigLong(out, DAT_NAME);
            putBigLong(out, static_cast<std::uint32_t>(object.name.size()));
            out.insert(out.end(), object.name.begin(), object.name.end());
        }
        Bytes nestedPayload;
        if (object.nested) {
            object.nested->appendObjects(nestedPayload);
        }
        const Bytes& payload = object.nested ? nestedPayload : object.payload;
        putBigLong(out, static_cast<std::uint32_t>(object.type));
        putBigLong(out, static_cast<std::uint32_t>(payload.size())); // size in the file
        putBigLong(out, static_cast<std::uint32_t>(payload.size())); // positive: stored as is
        putBytes(out, payload);
    }
}

std::vector<unsigned char> DatafileWriter::contents() const
{
    Bytes out;
    putBigLong(out, DAT_MAGIC);
    appendObjects(out);
    return out;
}

bool DatafileWriter::save(const std::string& path) const
{
    if (path.empty()) {
        return false;
    }
    Bytes bytes = contents();
    // Written beside the target first, so a failed write never leaves a
    // half-written datafile where the game would look for it.
    std::string temporary = path + ".part";
    PACKFILE* file = pack_fopen(temporary.c_str(), F_WRITE_PACKED);
    if (file == nullptr) {
        return false;
    }
    long written = pack_fwrite(bytes.data(), static_cast<long>(bytes.size()), file);
    bool failed = written != static_cast<long>(bytes.size()) || pack_ferror(file) != 0;
    if (pack_fclose(file) != 0) {
        failed = true;
    }
    if (failed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
