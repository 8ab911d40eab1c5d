#include "engine/media/OggStreamReader.h"

#include <allegro.h>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>

namespace {

#ifdef ALLEGRO_BIG_ENDIAN
const int PCM_BIG_ENDIAN = 1;
#else
const int PCM_BIG_ENDIAN = 0;
#endif

const long MAX_READ = 1L << 20;

} // namespace

struct OggStreamReader::File {
    OggVorbis_File vorbis {};
    ~File() { ov_clear(&vorbis); }
};

OggStreamReader::OggStreamReader() = default;

OggStreamReader::~OggStreamReader() = default;

bool OggStreamReader::open(const std::string& path)
{
    file.reset();
    channelCount = 0;
    sampleRate = 0;
    auto opened = std::make_unique<File>();
    if (ov_fopen(path.c_str(), &opened->vorbis) != 0) {
        // A failed open has already let go of everything; nothing to clear.
        opened->vorbis = OggVorbis_File {};
        return false;
    }
    vorbis_info* info = ov_info(&opened->vorbis, -1);
    if (info == nullptr || info->channels < 1 || info->channels > 2 || info->rate <= 0) {
        return false;
    }
    channelCount = info->channels;
    sampleRate = info->rate;
    file = std::move(opened);
    return true;
}

bool OggStreamReader::rewind()
{
    return file != nullptr && ov_pcm_seek(&file->vorbis, 0) == 0;
}

long OggStreamReader::read(char* out, long bytes, bool loop)
{
    if (file == nullptr) {
        return 0;
    }
    const long frameBytes = 2L * channelCount;
    bytes -= bytes % frameBytes;
    long filled = 0;
    bool rewound = false; // a looping file with nothing in it must not spin
    while (filled < bytes) {
        int bitstream = 0;
        long got = ov_read(&file->vorbis, out + filled, static_cast<int>(std::min(bytes - filled, MAX_READ)),
            PCM_BIG_ENDIAN, 2, 0, &bitstream);
        if (got > 0) {
            // A chained file that changes shape part-way ends where it changes.
            vorbis_info* now = ov_info(&file->vorbis, bitstream);
            if (now == nullptr || now->channels != channelCount || now->rate != sampleRate) {
                break;
            }
            filled += got;
            rewound = false;
        } else if (got == OV_HOLE) {
            continue;
        } else if (got == 0 && loop && !rewound && rewind()) {
            rewound = true;
        } else {
            break;
        }
    }
    return filled;
}
