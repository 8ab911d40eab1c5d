// A profile's progress file through its loader. The first byte chooses
// what the rest is: the file itself (damaged packing), or the unpacked
// content, packed here as the game packs it (damaged values). Whatever
// loads saves and loads back the same.
#include "FuzzScratch.h"

#include "game/app/ProgressFile.h"

#include <allegro.h>

#include <string>

namespace {

const char* const PATH = "profiles/fuzz.dat";

void writePacked(const uint8_t* data, size_t size)
{
    PACKFILE* file = pack_fopen(PATH, F_WRITE_PACKED);
    if (file == nullptr) {
        FuzzScratch::fail("could not pack the input");
    }
    if (size > 0) {
        pack_fwrite(data, static_cast<long>(size), file);
    }
    pack_fclose(file);
}

bool same(const ProgressFile& a, const ProgressFile& b)
{
    return a.highestLevel == b.highestLevel && a.bubbleLimit == b.bubbleLimit && a.coins == b.coins
        && a.waterEffect == b.waterEffect && a.levelPercent == b.levelPercent && a.bestTimes == b.bestTimes
        && a.encode() == b.encode();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzScratch::enter();
    FuzzScratch::startInput();
    if (size == 0) {
        return 0;
    }
    if (data[0] & 1) {
        writePacked(data + 1, size - 1);
    } else {
        FuzzScratch::writeFile(PATH, data + 1, size - 1);
    }

    ProgressFile first;
    ProgressFile::Result result = first.load(PATH);
    if (result != ProgressFile::Result::Loaded) {
        ProgressFile fresh;
        if (!same(first, fresh)) {
            FuzzScratch::fail("a file that did not load changed the values");
        }
        return 0;
    }
    if (!first.save(PATH)) {
        FuzzScratch::fail("could not save the progress");
    }
    ProgressFile again;
    if (again.load(PATH) != ProgressFile::Result::Loaded || !same(first, again)) {
        FuzzScratch::fail("saved progress did not load back the same");
    }
    return 0;
}
