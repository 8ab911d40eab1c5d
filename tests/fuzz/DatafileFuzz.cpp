// Any file under an artwork name through the datafile cache: it is either
// refused with the usual report or every object it gives can be used. The
// pictures and data blocks it gives, written again as the data builder
// writes them, load back the same.
#include "FuzzScratch.h"

#include "engine/media/DatafileManager.h"
#include "engine/media/DatafileWriter.h"

#include <allegro.h>

#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct Kept {
    int type = 0;
    int width = 0;
    int height = 0;
    int depth = 0;
    std::vector<unsigned char> bytes;
};

// Every pixel row read in full: a picture whose size lies about its memory
// shows up here under the address sanitizer.
Kept keep(const DATAFILE& object)
{
    Kept kept;
    kept.type = object.type;
    if (object.type == DAT_BITMAP && object.dat != nullptr) {
        BITMAP* picture = static_cast<BITMAP*>(object.dat);
        kept.width = picture->w;
        kept.height = picture->h;
        kept.depth = bitmap_color_depth(picture);
        size_t rowBytes = static_cast<size_t>(picture->w) * static_cast<size_t>((kept.depth + 7) / 8);
        for (int y = 0; y < picture->h; ++y) {
            kept.bytes.insert(kept.bytes.end(), picture->line[y], picture->line[y] + rowBytes);
        }
    } else if (object.type == DAT_DATA && object.dat != nullptr) {
        const auto* bytes = static_cast<const unsigned char*>(object.dat);
        kept.bytes.assign(bytes, bytes + object.size);
    }
    return kept;
}

bool same(const Kept& a, const Kept& b)
{
    return a.type == b.type && a.width == b.width && a.height == b.height && a.depth == b.depth
        && a.bytes == b.bytes;
}

// The objects of the file as the cache gives them, through its handle.
std::vector<Kept> read(const std::string& name)
{
    std::vector<Kept> objects;
    DatafileManager file;
    file.load(name);
    if (!file.isLoaded()) {
        return objects;
    }
    for (int i = 0; i < file.count; ++i) {
        if (file.getType(i) != file.current[i].type) {
            FuzzScratch::fail("object " + std::to_string(i) + " has two types");
        }
        objects.push_back(keep(file.current[i]));
    }
    return objects;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzScratch::enter();
    static bool folder = false;
    if (!folder) {
        ::mkdir("dat", 0777);
        DatafileManager::setDirectory("dat/");
        folder = true;
    }
    FuzzScratch::startInput();
    FuzzScratch::writeFile("dat/fuzz.dat", data, size);

    std::vector<Kept> first = read("fuzz.dat");
    DatafileWriter out;
    std::vector<Kept> written;
    for (const Kept& object : first) {
        int added = -1;
        if (object.type == DAT_BITMAP && object.width > 0 && object.height > 0) {
            BITMAP* picture = create_bitmap_ex(object.depth, object.width, object.height);
            if (picture == nullptr) {
                continue;
            }
            size_t rowBytes = object.bytes.size() / static_cast<size_t>(object.height);
            for (int y = 0; y < object.height; ++y) {
                std::memcpy(picture->line[y], object.bytes.data() + rowBytes * y, rowBytes);
            }
            added = out.addBitmap(picture);
            destroy_bitmap(picture);
        } else if (object.type == DAT_DATA && !object.bytes.empty()) {
            added = out.addData(object.bytes);
        }
        if (added >= 0) {
            written.push_back(object);
        }
    }
    // The last object of a file is out of the handle's reach.
    out.addData({ 0 });
    if (!out.save("dat/again.dat")) {
        FuzzScratch::fail("could not write the objects again");
    }
    std::vector<Kept> again = read("again.dat");
    if (again.size() != written.size()) {
        FuzzScratch::fail("wrote " + std::to_string(written.size()) + " objects, read back "
            + std::to_string(again.size()));
    }
    for (size_t i = 0; i < again.size(); ++i) {
        if (!same(written[i], again[i])) {
            FuzzScratch::fail("object " + std::to_string(i) + " did not read back the same");
        }
    }
    return 0;
}
