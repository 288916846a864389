#include "AudioFiles.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

void PutLe(std::vector<unsigned char>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>((value >> (8 * i)) & 0xFF));
    }
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    File f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) {
        std::fprintf(stderr, "Could not open file for writing: %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    if (std::fclose(f.release()) != 0 || !written) {
        std::fprintf(stderr, "Could not write file: %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

bool WriteWav(const std::string& nativePath, const Samples& samples, int rate) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    PutLe(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(out, 16, 4);
    PutLe(out, 1, 2); // PCM
    PutLe(out, 1, 2); // mono
    PutLe(out, static_cast<uint32_t>(rate), 4);
    PutLe(out, static_cast<uint32_t>(rate * 2), 4);
    PutLe(out, 2, 2);
    PutLe(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLe(out, dataBytes, 4);
    for (float s : samples) {
        const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        PutLe(out, static_cast<uint32_t>(static_cast<int16_t>(v)) & 0xFFFF, 2);
    }
    return WriteBytes(nativePath, out);
}

bool WriteMp3(const std::string& nativePath, const Samples& samples, int rate, int kbps) {
    lame_global_flags* lame = lame_init();
    if (lame == nullptr) {
        std::fprintf(stderr, "Could not start the MP3 encoder for %s\n", nativePath.c_str());
        return false;
    }
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        std::fprintf(stderr, "The MP3 encoder refused its settings for %s\n", nativePath.c_str());
        return false;
    }
    std::vector<unsigned char> out(samples.size() * 5 / 4 + 7200 + 16384);
    // LAME reads mono from the left buffer only.
    const int encoded =
        lame_encode_buffer_ieee_float(lame, samples.data(), samples.data(), static_cast<int>(samples.size()),
                                      out.data(), static_cast<int>(out.size()));
    int flushed = 0;
    if (encoded >= 0) {
        flushed = lame_encode_flush(lame, out.data() + encoded, static_cast<int>(out.size()) - encoded);
    }
    if (encoded < 0 || flushed < 0) {
        lame_close(lame);
        std::fprintf(stderr, "The MP3 encoder failed on %s\n", nativePath.c_str());
        return false;
    }
    out.resize(static_cast<size_t>(encoded + flushed));
    // The first frame holds the encoder's tag: with the encoder delay and padding filled in, decoders that
    // honour it play exactly the samples given, so the music loops without a gap.
    unsigned char tag[2880];
    const size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof(tag));
    lame_close(lame);
    if (tagSize > 0 && tagSize <= sizeof(tag) && tagSize <= out.size()) {
        std::copy_n(tag, tagSize, out.begin());
    }
    return WriteBytes(nativePath, out);
}
