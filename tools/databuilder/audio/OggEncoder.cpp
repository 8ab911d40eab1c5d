#include "databuilder/audio/OggEncoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstring>

namespace {

const int STREAM_SERIAL = 0x71de;
const int CHUNK = 4096;

void appendPage(std::string& out, const ogg_page& page)
{
    out.append(reinterpret_cast<const char*>(page.header), page.header_len);
    out.append(reinterpret_cast<const char*>(page.body), page.body_len);
}

} // namespace

std::string OggEncoder::encode(
    const std::vector<std::vector<float>>& channels, int rate, float quality, const std::string& title)
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

    size_t done = 0;
    bool finished = false;
    while (!finished) {
        size_t count = std::min<size_t>(CHUNK, frames - done);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0); // end of stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (int c = 0; c < channelCount; ++c) {
                std::memcpy(buffer[c], channels[c].data() + done, count * sizeof(float));
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            done += count;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    appendPage(out, page);
                    if (ogg_page_eos(&page)) {
                        finished = true;
                    }
                }
            }
        }
        if (count == 0) {
            while (ogg_stream_flush(&stream, &page) != 0) {
                appendPage(out, page);
            }
            finished = true;
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}
