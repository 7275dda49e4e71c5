#pragma once

#include <bit>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// Builds RIFF WAVE files chunk by chunk, including damaged and unusual ones that no tool writes.
class WavBuilder {
public:
    // The "vElO" fields in file order.
    struct Info {
        std::uint32_t start = 0, length = 0;
        double pitch = 440.0;
        std::uint32_t loopStart = 0, loopLength = 0, selStart = 0, selLength = 0, compensate = 0;
    };

    // `claimed` overrides the size in the header. Odd sizes get their pad byte.
    WavBuilder& Chunk(const char (&id)[5], std::vector<std::uint8_t> data, long long claimed = -1) {
        m_body.insert(m_body.end(), id, id + 4);
        Put(m_body, claimed < 0 ? data.size() : static_cast<std::uint64_t>(claimed), 4);
        if (data.size() % 2)
            data.push_back(0);
        m_body.insert(m_body.end(), data.begin(), data.end());
        return *this;
    }
    WavBuilder& Fmt(std::uint16_t channels = 1, std::uint32_t rate = 44100, std::uint16_t bits = 16,
                    int blockAlign = -1, std::uint16_t tag = 1, std::size_t size = 16) {
        std::uint32_t block = blockAlign < 0 ? channels * bits / 8u : static_cast<std::uint32_t>(blockAlign);
        std::vector<std::uint8_t> data;
        for (auto [value, bytes] : {std::pair<std::uint64_t, int>{tag, 2},
                                    {channels, 2},
                                    {rate, 4},
                                    {rate * block, 4},
                                    {block, 2},
                                    {bits, 2}})
            Put(data, value, bytes);
        data.resize(size, 0);
        return Chunk("fmt ", data);
    }
    WavBuilder& Velo(const Info& info, std::size_t size = 56) {
        std::vector<std::uint8_t> data;
        Put(data, info.start, 4);
        Put(data, info.length, 4);
        Put(data, std::bit_cast<std::uint64_t>(info.pitch), 8);
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

    // "RIFF", its size, "WAVE", the chunks. A data chunk claiming more than it holds must come last.
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

    // Test audio in which every sample differs from its neighbours.
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
    std::vector<std::uint8_t> m_body;
};

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
