#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

// Builds RIFF WAVE files chunk by chunk, including the damaged and unusual ones no tool writes.
class WavBuilder {
public:
    struct Info {
        std::uint32_t start = 0;
        std::uint32_t length = 0;
        double pitch = 440.0;
        std::uint32_t loopStart = 0;
        std::uint32_t loopLength = 0;
        std::uint32_t selStart = 0;
        std::uint32_t selLength = 0;
        std::uint32_t compensate = 0;
    };

    // Any chunk; `claimed` overrides the size written in its header. Odd sizes get a pad byte.
    WavBuilder& Chunk(const char (&id)[5], const std::vector<std::uint8_t>& data, long long claimed = -1) {
        m_body.insert(m_body.end(), id, id + 4);
        Put(claimed < 0 ? data.size() : static_cast<std::uint64_t>(claimed), 4);
        m_body.insert(m_body.end(), data.begin(), data.end());
        if (data.size() % 2)
            m_body.push_back(0);
        return *this;
    }

    WavBuilder& Fmt(std::uint16_t channels = 1, std::uint32_t rate = 44100, std::uint16_t bits = 16,
                    int blockAlign = -1, std::uint16_t tag = 1, std::size_t size = 16) {
        std::uint16_t block = blockAlign < 0 ? static_cast<std::uint16_t>(channels * bits / 8)
                                             : static_cast<std::uint16_t>(blockAlign);
        std::vector<std::uint8_t> data;
        Put(data, tag, 2);
        Put(data, channels, 2);
        Put(data, rate, 4);
        Put(data, rate * block, 4);
        Put(data, block, 2);
        Put(data, bits, 2);
        data.resize(size, 0);
        return Chunk("fmt ", data);
    }

    WavBuilder& Velo(const Info& info, std::size_t size = 56) {
        std::vector<std::uint8_t> data;
        Put(data, info.start, 4);
        Put(data, info.length, 4);
        std::uint64_t bits = 0;
        static_assert(sizeof bits == sizeof info.pitch);
        std::memcpy(&bits, &info.pitch, sizeof bits);
        Put(data, bits, 8);
        Put(data, 0, 8);
        for (std::uint32_t value :
             {info.loopStart, info.loopLength, info.selStart, info.selLength, info.compensate})
            Put(data, value, 4);
        data.resize(size, 0);
        return Chunk("vElO", data);
    }

    WavBuilder& Data(const std::vector<std::int16_t>& samples, long long claimed = -1) {
        std::vector<std::uint8_t> data;
        for (std::int16_t sample : samples)
            Put(data, static_cast<std::uint16_t>(sample), 2);
        return Chunk("data", data, claimed);
    }

    // The file: "RIFF", its size, "WAVE", the chunks. A claimed data size larger than the data
    // only works as the last chunk, where the file simply ends early.
    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> bytes = {'R', 'I', 'F', 'F'};
        Put(bytes, m_body.size() + 4, 4);
        bytes.insert(bytes.end(), {'W', 'A', 'V', 'E'});
        bytes.insert(bytes.end(), m_body.begin(), m_body.end());
        return bytes;
    }

    const WavBuilder& WriteTo(const std::string& path) const {
        std::vector<std::uint8_t> bytes = Bytes();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return *this;
    }

    // Interleaved test audio: sample i of every channel is distinct.
    static std::vector<std::int16_t> Ramp(std::size_t samples) {
        std::vector<std::int16_t> values(samples);
        for (std::size_t i = 0; i < samples; ++i)
            values[i] = static_cast<std::int16_t>(i * 37 - 20000);
        return values;
    }

private:
    static void Put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void Put(std::uint64_t value, int bytes) { Put(m_body, value, bytes); }

    std::vector<std::uint8_t> m_body;
};
