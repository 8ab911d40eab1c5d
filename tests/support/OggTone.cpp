#include "support/OggTone.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <fstream>

namespace {

void writePage(std::ofstream& out, const ogg_page& page)
{
    out.write(reinterpret_cast<const char*>(page.header), page.header_len);
    out.write(reinterpret_cast<const char*>(page.body), page.body_len);
}

} // namespace

bool writeOggTone(const std::string& path, int channels, long rate, long frames)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) {
        vorbis_info_clear(&info);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    std::ofstream out(path, std::ios::binary);
    ogg_packet header;
    ogg_packet commentHeader;
    ogg_packet codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        writePage(out, page);
    }

    float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(frames));
    const double step = 2.0 * 3.14159265358979 * 441.0 / static_cast<double>(rate);
    for (long i = 0; i < frames; ++i) {
        buffer[0][i] = static_cast<float>(0.5 * std::sin(step * static_cast<double>(i)));
        for (int channel = 1; channel < channels; ++channel) {
            buffer[channel][i] = 0.0f;
        }
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(frames));
    vorbis_analysis_wrote(&dsp, 0);

    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page) != 0) {
                writePage(out, page);
            }
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0) {
        writePage(out, page);
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    out.close();
    return static_cast<bool>(out);
}
