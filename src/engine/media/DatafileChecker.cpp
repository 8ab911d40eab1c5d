#include "engine/media/DatafileChecker.h"

#include "engine/media/PackedStream.h"

#include <allegro.h>

#include <cstdint>

namespace {

using Bytes = std::vector<unsigned char>;

// Nested datafiles deeper than this are taken for damage rather than design.
constexpr int MAX_DEPTH = 16;
const int DAT_INFO_TYPE = DAT_ID('i', 'n', 'f', 'o');

std::string typeName(std::uint32_t type)
{
    std::string name;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((type >> shift) & 0xFF);
        name += (c >= 32 && c < 127) ? c : '?';
    }
    return name;
}

// A bounded view of the bytes: every read says whether it fitted.
class Reader {
public:
    Reader(const unsigned char* data, size_t size)
        : data(data)
        , size(size)
    {
    }

    size_t left() const { return size - position; }
    size_t offset() const { return position; }
    const unsigned char* here() const { return data + position; }

    bool skip(size_t n)
    {
        if (n > left()) {
            return false;
        }
        position += n;
        return true;
    }
    bool byte(std::uint32_t& value)
    {
        if (left() < 1) {
            return false;
        }
        value = data[position++];
        return true;
    }
    bool bigWord(std::uint32_t& value) { return number(2, true, value); }
    bool bigLong(std::uint32_t& value) { return number(4, true, value); }
    bool littleWord(std::uint32_t& value) { return number(2, false, value); }
    bool littleLong(std::uint32_t& value) { return number(4, false, value); }

private:
    bool number(int bytes, bool bigEndian, std::uint32_t& value)
    {
        if (left() < static_cast<size_t>(bytes)) {
            return false;
        }
        value = 0;
        for (int i = 0; i < bytes; ++i) {
            int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
            value |= static_cast<std::uint32_t>(data[position + i]) << shift;
        }
        position += bytes;
        return true;
    }

    const unsigned char* data;
    size_t size;
    size_t position = 0;
};

std::int32_t asSigned16(std::uint32_t value)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

std::int32_t asSigned32(std::uint32_t value)
{
    return static_cast<std::int32_t>(value);
}

// Bytes per pixel of a picture in the file, 0 for a depth Allegro does not store.
int fileBytesPerPixel(int depth)
{
    switch (depth) {
    case 8:
        return 1;
    case 15:
    case 16:
        return 2;
    case 24:
    case 32:
        return 3;
    case -32:
        return 4;
    default:
        return 0;
    }
}

std::string checkBitmap(Reader& in)
{
    std::uint32_t depth = 0, width = 0, height = 0;
    if (!in.bigWord(depth) || !in.bigWord(width) || !in.bigWord(height)) {
        return "its picture header is cut short";
    }
    int bytes = fileBytesPerPixel(asSigned16(depth));
    if (bytes == 0) {
        return "its picture has an unknown colour depth " + std::to_string(asSigned16(depth));
    }
    if (!in.skip(static_cast<size_t>(width) * height * bytes)) {
        return "its " + std::to_string(width) + " x " + std::to_string(height) + " picture is cut short";
    }
    return "";
}

// Allegro unpacks a run-length sprite row by row into a buffer of the stated
// size and trusts the runs to fit, so each run is followed here the same way.
std::string checkRleSprite(Reader& in)
{
    std::uint32_t depthWord = 0, width = 0, height = 0, sizeLong = 0;
    if (!in.bigWord(depthWord) || !in.bigWord(width) || !in.bigWord(height) || !in.bigLong(sizeLong)) {
        return "its sprite header is cut short";
    }
    int depth = asSigned16(depthWord);
    std::int32_t size = asSigned32(sizeLong);
    if (fileBytesPerPixel(depth) == 0) {
        return "its sprite has an unknown colour depth " + std::to_string(depth);
    }
    if (size < 0) {
        return "its sprite has a negative size";
    }
    // Units of the unpacked sprite: bytes at 8 bits, words at 15 and 16,
    // longs above.
    int unit = depth == 8 ? 1 : (depth == 15 || depth == 16) ? 2 : 4;
    long capacity = size / unit;
    long used = 0;
    for (std::uint32_t row = 0; row < height; ++row) {
        long across = 0;
        for (;;) {
            std::uint32_t raw = 0;
            bool got = unit == 1 ? in.byte(raw) : unit == 2 ? in.littleWord(raw) : in.littleLong(raw);
            if (!got) {
                return "its sprite data is cut short in row " + std::to_string(row);
            }
            if (++used > capacity) {
                return "its sprite runs past its stated size";
            }
            long count = 0;
            bool endOfRow = false;
            if (unit == 1) {
                count = static_cast<signed char>(raw);
                endOfRow = count == 0;
            } else if (unit == 2) {
                count = asSigned16(raw);
                endOfRow = raw == MASK_COLOR_16;
            } else {
                count = asSigned32(raw);
                endOfRow = raw == MASK_COLOR_32;
            }
            if (endOfRow) {
                break;
            }
            long length = count < 0 ? -count : count;
            across += length;
            if (across > static_cast<long>(width)) {
                return "its sprite row " + std::to_string(row) + " is wider than the sprite";
            }
            if (count > 0) {
                used += count;
                if (used > capacity) {
                    return "its sprite runs past its stated size";
                }
                size_t pixelBytes = depth == 8 ? 1 : static_cast<size_t>(fileBytesPerPixel(depth));
                if (!in.skip(static_cast<size_t>(count) * pixelBytes)) {
                    return "its sprite data is cut short in row " + std::to_string(row);
                }
            }
        }
    }
    return "";
}

std::string checkFont(Reader& in)
{
    std::uint32_t kind = 0;
    if (!in.bigWord(kind)) {
        return "its font header is cut short";
    }
    const size_t oldGlyphs = 95;
    switch (asSigned16(kind)) {
    case 8:
    case 16:
        return in.skip(oldGlyphs * asSigned16(kind)) ? "" : "its font is cut short";
    case -1:
        for (size_t i = 0; i < oldGlyphs; ++i) {
            std::uint32_t w = 0, h = 0;
            if (!in.bigWord(w) || !in.bigWord(h) || !in.skip(static_cast<size_t>(w) * h)) {
                return "its font is cut short";
            }
        }
        return "";
    case 0:
        break;
    default:
        return "its font has an unknown format " + std::to_string(asSigned16(kind));
    }
    std::uint32_t ranges = 0;
    if (!in.bigWord(ranges)) {
        return "its font header is cut short";
    }
    if (ranges == 0) {
        return "its font has no characters";
    }
    for (std::uint32_t range = 0; range < ranges; ++range) {
        std::uint32_t mono = 0, first = 0, last = 0;
        if (!in.byte(mono) || !in.bigLong(first) || !in.bigLong(last)) {
            return "its font range " + std::to_string(range) + " is cut short";
        }
        if (mono != 1 && mono != 8) {
            return "its font range " + std::to_string(range) + " has an unknown glyph depth";
        }
        if (asSigned32(first) < 0 || asSigned32(last) < asSigned32(first)) {
            return "its font range " + std::to_string(range) + " has no characters";
        }
        // Every glyph takes four bytes at least, which bounds the loop.
        std::uint32_t glyphs = last - first + 1;
        if (glyphs > in.left() / 4) {
            return "its font range " + std::to_string(range) + " is cut short";
        }
        for (std::uint32_t glyph = 0; glyph < glyphs; ++glyph) {
            std::uint32_t w = 0, h = 0;
            if (!in.bigWord(w) || !in.bigWord(h)) {
                return "its font range " + std::to_string(range) + " is cut short";
            }
            size_t bytes = mono == 1 ? static_cast<size_t>((w + 7) / 8) * h : static_cast<size_t>(w) * h;
            if (!in.skip(bytes)) {
                return "its font range " + std::to_string(range) + " is cut short";
            }
        }
    }
    return "";
}

std::string checkSample(Reader& in)
{
    std::uint32_t bitsWord = 0, frequency = 0, length = 0;
    if (!in.bigWord(bitsWord) || !in.bigWord(frequency) || !in.bigLong(length)) {
        return "its sample header is cut short";
    }
    int bits = asSigned16(bitsWord);
    int channels = bits < 0 ? 2 : 1;
    bits = bits < 0 ? -bits : bits;
    if (bits != 8 && bits != 16) {
        return "its sample has an unknown sample size " + std::to_string(bits);
    }
    if (!in.skip(static_cast<size_t>(length) * channels * (bits / 8))) {
        return "its sample is cut short";
    }
    return "";
}

std::string checkMidi(Reader& in)
{
    std::uint32_t divisions = 0;
    if (!in.bigWord(divisions)) {
        return "its music header is cut short";
    }
    for (int track = 0; track < 32; ++track) {
        std::uint32_t length = 0;
        if (!in.bigLong(length) || asSigned32(length) < 0 || !in.skip(length)) {
            return "its music track " + std::to_string(track) + " is cut short";
        }
    }
    return "";
}

std::string checkObjects(Reader& in, int depth);

// The inside of one object, as the loader for its type will read it.
std::string checkPayload(int type, Reader& in, int depth)
{
    switch (type) {
    case DAT_FILE:
        return checkObjects(in, depth + 1);
    case DAT_BITMAP:
    case DAT_C_SPRITE:
    case DAT_XC_SPRITE:
        return checkBitmap(in);
    case DAT_RLE_SPRITE:
        return checkRleSprite(in);
    case DAT_FONT:
        return checkFont(in);
    case DAT_SAMPLE:
        return checkSample(in);
    case DAT_MIDI:
        return checkMidi(in);
    case DAT_PALETTE:
        return in.skip(PAL_SIZE * 4) ? "" : "its palette is cut short";
    default:
        // DAT_DATA, DAT_FLI, DAT_PATCH and the grabber's own notes are read
        // as plain bytes.
        return "";
    }
}

bool isKnownType(int type)
{
    switch (type) {
    case DAT_FILE:
    case DAT_DATA:
    case DAT_FONT:
    case DAT_SAMPLE:
    case DAT_MIDI:
    case DAT_PATCH:
    case DAT_FLI:
    case DAT_BITMAP:
    case DAT_RLE_SPRITE:
    case DAT_C_SPRITE:
    case DAT_XC_SPRITE:
    case DAT_PALETTE:
        return true;
    default:
        return type == DAT_INFO_TYPE;
    }
}

// A count, then that many objects, each with its properties, type, the two
// sizes of its data and the data itself.
std::string checkObjects(Reader& in, int depth)
{
    if (depth > MAX_DEPTH) {
        return "its datafiles are nested too deep";
    }
    std::uint32_t countLong = 0;
    if (!in.bigLong(countLong)) {
        return "the object count is missing";
    }
    std::int32_t count = asSigned32(countLong);
    // Allegro sizes its object array from the count; every object takes
    // twelve bytes at least, which keeps a damaged count from asking for
    // more memory than the file could fill.
    if (count < 0 || static_cast<size_t>(count) > in.left() / 12) {
        return "the object count " + std::to_string(count) + " does not fit the file";
    }
    for (std::int32_t index = 0; index < count; ++index) {
        std::string where = "object " + std::to_string(index);
        if (depth > 0) {
            where = "nested " + where;
        }
        std::uint32_t typeLong = 0;
        for (;;) {
            if (!in.bigLong(typeLong)) {
                return where + " is missing";
            }
            if (static_cast<int>(typeLong) != DAT_PROPERTY) {
                break;
            }
            std::uint32_t propertyType = 0, propertySize = 0;
            if (!in.bigLong(propertyType) || !in.bigLong(propertySize)) {
                return where + " has a property cut short";
            }
            if (asSigned32(propertySize) < 0 || !in.skip(propertySize)) {
                return where + " has a property " + typeName(propertyType) + " longer than the file";
            }
        }
        int type = static_cast<int>(typeLong);
        if (!isKnownType(type)) {
            return where + " has an unknown type " + typeName(typeLong);
        }
        std::uint32_t storedLong = 0, unpackedLong = 0;
        if (!in.bigLong(storedLong) || !in.bigLong(unpackedLong)) {
            return where + " (" + typeName(typeLong) + ") has its sizes cut short";
        }
        std::int32_t stored = asSigned32(storedLong);
        std::int32_t unpacked = asSigned32(unpackedLong);
        if (unpacked < 0) {
            // The game's files are packed as a whole, never object by object.
            return where + " (" + typeName(typeLong) + ") is packed on its own, which is not supported";
        }
        if (stored != unpacked) {
            return where + " (" + typeName(typeLong) + ") has sizes that disagree";
        }
        if (static_cast<size_t>(stored) > in.left()) {
            return where + " (" + typeName(typeLong) + ") is longer than the file";
        }
        Reader payload(in.here(), static_cast<size_t>(stored));
        in.skip(static_cast<size_t>(stored));
        std::string problem = checkPayload(type, payload, depth);
        if (!problem.empty()) {
            return where + " (" + typeName(typeLong) + "): " + problem;
        }
    }
    return "";
}

} // namespace

std::string DatafileChecker::checkContents(const std::vector<unsigned char>& bytes)
{
    Reader in(bytes.data(), bytes.size());
    std::uint32_t magic = 0;
    if (!in.bigLong(magic) || static_cast<int>(magic) != DAT_MAGIC) {
        return "not a datafile";
    }
    return checkObjects(in, 0);
}

std::string DatafileChecker::checkFile(const std::string& path)
{
    // Allegro must unpack the file to exactly the bytes checked here.
    std::string unsteady = PackedStream::checkFile(path);
    if (!unsteady.empty()) {
        return unsteady;
    }
    PACKFILE* file = pack_fopen(path.c_str(), F_READ_PACKED);
    if (file == nullptr) {
        return "not a datafile";
    }
    // Read whole: a damaged packed stream may unpack to anything, so its
    // length is only known at its end.
    Bytes bytes;
    unsigned char block[65536];
    for (;;) {
        long got = pack_fread(block, static_cast<long>(sizeof block), file);
        if (got > 0) {
            bytes.insert(bytes.end(), block, block + got);
        }
        if (got < static_cast<long>(sizeof block)) {
            break;
        }
    }
    bool failed = pack_ferror(file) != 0;
    pack_fclose(file);
    if (failed) {
        return "it cannot be read";
    }
    return checkContents(bytes);
}
