#include "engine/media/PackedStream.h"

#include "engine/core/SafeFile.h"

#include <algorithm>
#include <array>

namespace {

// Allegro's window: N slots, of which the first N - F are zeroed before
// unpacking starts at slot N - F.
constexpr int WINDOW = 4096;
constexpr int LOOKAHEAD = 18;
constexpr int SHORTEST_COPY = 2;
const unsigned char PACKED_MAGIC[] = { 's', 'l', 'h', '!' };

} // namespace

std::string PackedStream::checkBytes(const std::vector<unsigned char>& file)
{
    if (file.size() < sizeof PACKED_MAGIC || !std::equal(PACKED_MAGIC, PACKED_MAGIC + 4, file.begin())) {
        return "";
    }
    std::array<bool, WINDOW> written {};
    for (int slot = 0; slot < WINDOW - LOOKAHEAD; ++slot) {
        written[slot] = true;
    }
    size_t at = sizeof PACKED_MAGIC;
    int r = WINDOW - LOOKAHEAD;
    unsigned int flags = 0;
    // A token cut off by the end of the file is dropped, as Allegro does.
    for (;;) {
        flags >>= 1;
        if ((flags & 0x100) == 0) {
            if (at >= file.size()) {
                return "";
            }
            // The high byte counts the eight tokens each flag byte governs.
            flags = file[at++] | 0xFF00u;
        }
        if ((flags & 1) != 0) {
            if (at >= file.size()) {
                return "";
            }
            ++at;
            written[r] = true;
            r = (r + 1) & (WINDOW - 1);
            continue;
        }
        if (at + 2 > file.size()) {
            return "";
        }
        int from = file[at] | ((file[at + 1] & 0xF0) << 4);
        int length = (file[at + 1] & 0x0F) + SHORTEST_COPY + 1;
        at += 2;
        for (int k = 0; k < length; ++k) {
            if (!written[(from + k) & (WINDOW - 1)]) {
                return "its packed data copies bytes it never wrote (at byte " + std::to_string(at - 2) + ")";
            }
            written[r] = true;
            r = (r + 1) & (WINDOW - 1);
        }
    }
}

std::string PackedStream::checkFile(const std::string& path)
{
    std::string contents;
    if (!SafeFile::read(path, contents)) {
        return "";
    }
    return checkBytes(std::vector<unsigned char>(contents.begin(), contents.end()));
}
