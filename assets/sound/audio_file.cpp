#include "assets/sound/audio_file.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace audio {

namespace {

void put16(std::vector<unsigned char>& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

void put32(std::vector<unsigned char>& b, unsigned v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

void put(std::vector<unsigned char>& b, const char* tag) {
    b.insert(b.end(), tag, tag + 4);
}

bool writeAll(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return ok;
}

void appendPage(std::vector<unsigned char>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

bool writeWav(const std::string& path, const synth::Track& t) {
    const auto& s = t.data();
    unsigned dataBytes = unsigned(s.size() * 2);
    std::vector<unsigned char> b;
    put(b, "RIFF");
    put32(b, 36 + dataBytes);
    put(b, "WAVE");
    put(b, "fmt ");
    put32(b, 16);
    put16(b, 1);  // PCM
    put16(b, unsigned(t.channels()));
    put32(b, unsigned(t.rate()));
    put32(b, unsigned(t.rate() * t.channels() * 2));
    put16(b, unsigned(t.channels() * 2));
    put16(b, 16);
    put(b, "data");
    put32(b, dataBytes);
    for (float v : s)
        put16(b, unsigned(uint16_t(int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)))));
    return writeAll(path, b);
}

bool writeOgg(const std::string& path, const synth::Track& t, float quality, int serial) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, t.channels(), t.rate(), quality) != 0) {
        std::fprintf(stderr, "vorbis encoder refused %d channels at %d Hz\n", t.channels(),
                     t.rate());
        vorbis_info_clear(&vi);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);

    std::vector<unsigned char> out;
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page) != 0) appendPage(out, page);

    const auto& s = t.data();
    long frames = t.frames();
    int ch = t.channels();
    const long chunk = 4096;
    bool eos = false;
    for (long pos = 0; !eos;) {
        long n = std::min(chunk, frames - pos);
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, int(n));
            for (long i = 0; i < n; i++)
                for (int c = 0; c < ch; c++) buf[c][i] = s[size_t(pos + i) * ch + c];
            vorbis_analysis_wrote(&vd, int(n));
            pos += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);  // end of stream
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page) != 0) {
                    appendPage(out, page);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return writeAll(path, out);
}

}  // namespace audio
