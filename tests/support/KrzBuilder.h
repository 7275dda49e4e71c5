#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// Builds Kurzweil program files ("PRAM"), big-endian, block by block, damaged ones included. Each
// sample's audio goes into the data area after the blocks; its start counts 4-byte units from there.
class KrzBuilder {
public:
    struct Sample {
        std::string name = {};
        std::int8_t rootKey = 60;
        std::uint32_t period = 22676;
        std::vector<std::int16_t> audio = {};
        std::uint32_t loopFrame = 0; // the loop start, from the sample's start
        // Written as given instead of as the audio's place says, when not negative.
        long long start = -1, loopStart = -1, end = -1, nameLength = -1;
    };

    KrzBuilder& Add(const Sample& sample, std::uint8_t type = 0x98) {
        while (m_data.size() % 4 != 0)
            m_data.push_back(0);
        auto start = static_cast<std::uint32_t>(m_data.size() / 4);
        for (std::int16_t value : sample.audio)
            Put(m_data, static_cast<std::uint16_t>(value), 2);
        auto Given = [](long long value, std::uint64_t otherwise) {
            return value >= 0 ? static_cast<std::uint64_t>(value) : otherwise;
        };
        std::vector<std::uint8_t> header(20, 0);
        header[10] = static_cast<std::uint8_t>(sample.rootKey);
        for (std::uint64_t field :
             {Given(sample.start, start), std::uint64_t{0}, Given(sample.loopStart, start + sample.loopFrame),
              Given(sample.end, start + sample.audio.size()), std::uint64_t{0}, std::uint64_t{sample.period}})
            Put(header, field, 4);
        header.resize(88, 0);
        std::vector<std::uint8_t> body;
        Put(body, Given(sample.nameLength, sample.name.size() + 1), 2);
        body.insert(body.end(), sample.name.begin(), sample.name.end());
        body.push_back(0);
        body.insert(body.end(), header.begin(), header.end());
        return Block(-static_cast<std::int32_t>(8 + body.size()), type, body);
    }
    // A block of another type, `size` bytes in all.
    KrzBuilder& Other(std::uint8_t type, std::size_t size) {
        return Block(-static_cast<std::int32_t>(size), type, std::vector<std::uint8_t>(size - 8, 0x5A));
    }
    // A block whose size field holds `stored` as it is.
    KrzBuilder& Block(std::int32_t stored, std::uint8_t type, const std::vector<std::uint8_t>& body) {
        Put(m_blocks, static_cast<std::uint32_t>(stored), 4);
        m_blocks.insert(m_blocks.end(), {type, 0, 0, 0});
        m_blocks.insert(m_blocks.end(), body.begin(), body.end());
        return *this;
    }

    // "PRAM", the data offset, 24 bytes, the blocks, a zero size that ends them, the data area.
    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> file = {'P', 'R', 'A', 'M'};
        Put(file, 32 + m_blocks.size() + 4, 4);
        file.resize(32, 0);
        file.insert(file.end(), m_blocks.begin(), m_blocks.end());
        Put(file, 0, 4);
        file.insert(file.end(), m_data.begin(), m_data.end());
        return file;
    }
    void WriteTo(const std::string& path) const {
        std::vector<std::uint8_t> bytes = Bytes();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

private:
    static void Put(std::vector<std::uint8_t>& bytes, std::uint64_t value, int count) {
        for (int i = count - 1; i >= 0; --i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

    std::vector<std::uint8_t> m_blocks;
    std::vector<std::uint8_t> m_data;
};
