#include "databuilder/audio/OggEncoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstring>

namespace {

const int STREAM_SERIAL = 0x71de;
const int CHUNK = 4096;
const size_t LOOP_OVERRUN = 4096;

void appendPage(std::string& out, const ogg_page& page)
{
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
}

} // namespace

std::string OggEncoder::encode(const std::vector<std::vector<float>>& channels, int rate, float quality,
    const std::string& title, bool looping)
{
    if (channels.empty() || channels.size() > 2) {
        return {};
    }
    size_t frames = channels[0].size();
    for (const auto& channel : channels) {
        if (channel.size() != frames) {
            return {};
        }
    }
    int channelCount = static_cast<int>(channels.size());

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channelCount, rate, quality) != 0) {
        vorbis_info_clear(&info);
        return {};
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
    vorbis_comment_add_tag(&comment, "ARTIST", "Tidewander");

    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, STREAM_SERIAL);

    std::string out;
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    // The headers get pages of their own so audio starts on a fresh page.
    while (ogg_stream_flush(&stream, &page) != 0) {
        appendPage(out, page);
    }

    // A loop is followed into the encoder by its own beginning, and the
    // stream is cut back to the true length by the last granule position.
    // The encoder then codes the last samples as it codes any other, instead
    // of against silence, and the loop point stays clean.
    size_t extra = looping ? std::min<size_t>(frames, LOOP_OVERRUN) : 0;
    size_t total = frames + extra;
    size_t done = 0;
    bool ended = false;
    bool drained = false;
    while (!drained) {
        size_t count = std::min<size_t>(CHUNK, total - done);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0); // end of stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (int c = 0; c < channelCount; ++c) {
                for (size_t i = 0; i < count; ++i) {
                    size_t at = done + i;
                    buffer[c][i] = channels[c][at < frames ? at : at - frames];
                }
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            done += count;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                if (ended) {
                    continue; // the overrun past a loop's end is not kept
                }
                if (packet.granulepos >= static_cast<ogg_int64_t>(frames)) {
                    packet.granulepos = static_cast<ogg_int64_t>(frames);
                    packet.e_o_s = 1;
                }
                ended = packet.e_o_s != 0;
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    appendPage(out, page);
                }
            }
        }
        if (count == 0) {
            while (ogg_stream_flush(&stream, &page) != 0) {
                appendPage(out, page);
            }
            drained = true;
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}
