#include "engine/media/PngWriter.h"

#include "engine/core/SafeFile.h"

#include <png.h>

#include <vector>

namespace {

void writeBytes(png_structp png, png_bytep data, png_size_t length)
{
    std::string* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) { }

// libpng reports its errors by longjmp, so nothing with a destructor may
// live in the frame that calls setjmp.
bool encodeTrueColour(BITMAP* picture, png_bytep row, std::string& bytes)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, &bytes, writeBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture->w), static_cast<png_uint_32>(picture->h), 8,
        PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture->h; ++y) {
        for (int x = 0; x < picture->w; ++x) {
            int value = getpixel(picture, x, y);
            row[x * 3] = static_cast<png_byte>(getr32(value));
            row[x * 3 + 1] = static_cast<png_byte>(getg32(value));
            row[x * 3 + 2] = static_cast<png_byte>(getb32(value));
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool PngWriter::encode(BITMAP* picture, std::string& bytes)
{
    if (picture == nullptr || picture->w <= 0 || picture->h <= 0) {
        return false;
    }
    BITMAP* trueColour = picture;
    if (bitmap_color_depth(picture) != 32) {
        trueColour = create_bitmap_ex(32, picture->w, picture->h);
        if (trueColour == nullptr) {
            return false;
        }
        blit(picture, trueColour, 0, 0, 0, 0, picture->w, picture->h);
    }
    std::vector<png_byte> row(static_cast<size_t>(picture->w) * 3);
    bool encoded = encodeTrueColour(trueColour, row.data(), bytes);
    if (trueColour != picture) {
        destroy_bitmap(trueColour);
    }
    return encoded;
}

bool PngWriter::save(BITMAP* picture, const std::string& path, std::string& error)
{
    std::string bytes;
    if (!encode(picture, bytes)) {
        error = "cannot encode [" + path + "]";
        return false;
    }
    if (!SafeFile::write(path, bytes)) {
        error = "cannot write [" + path + "]";
        return false;
    }
    return true;
}
