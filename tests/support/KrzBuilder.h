#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// Builds Kurzweil program files ("PRAM") block by block, big-endian, including damaged ones. Each
// sample's audio goes into the sample data area after the blocks, and its header's start and end
// are written so that the reader finds it there (the start counts 4-byte units from the area).
class KrzBuilder {
public:
    struct Sample {
        std::string name;
        std::int8_t rootKey = 60;
        std::uint32_t period = 22676;
        std::vector<std::int16_t> audio;
        // The loop start, in frames from the sample's start.
        std::uint32_t loopFrame = 0;
        // Written as the name length instead of the name's real one, when not negative.
        long nameLength = -1;
        // Bytes after the header inside the block.
        std::size_t tail = 0;
        // Header fields written as given instead of from the audio's place, when not negative.
        long long start = -1, loopStart = -1, end = -1;
    };

    KrzBuilder& Add(const Sample& sample, std::uint8_t type = 0x98) {
        m_blocks.push_back({type, sample, {}});
        return *this;
    }
    // A block of another type with `size` bytes in all.
    KrzBuilder& Other(std::uint8_t type, std::size_t size) {
        m_blocks.push_back({type, {}, std::vector<std::uint8_t>(size > 8 ? size - 8 : 0, 0x5A)});
        return *this;
    }
    // A block whose size field holds `stored` as it is (no negation), followed by `body` bytes.
    KrzBuilder& Raw(std::int32_t stored, std::uint8_t type, std::size_t body) {
        m_blocks.push_back({type, {}, std::vector<std::uint8_t>(body, 0), true, stored});
        return *this;
    }
    // Replaces the data offset written at byte 4.
    KrzBuilder& DataOffset(std::uint32_t offset) {
        m_dataOffset = offset;
        m_bDataOffsetSet = true;
        return *this;
    }
    KrzBuilder& Magic(std::string magic) {
        m_magic = std::move(magic);
        return *this;
    }

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> blocks;
        std::vector<std::uint8_t> data;
        for (const Block& block : m_blocks) {
            std::vector<std::uint8_t> bytes;
            if (block.raw) {
                Put(bytes, static_cast<std::uint32_t>(block.stored), 4);
                bytes.push_back(block.type);
                bytes.insert(bytes.end(), 3, 0);
                bytes.insert(bytes.end(), block.body.begin(), block.body.end());
            } else if (block.body.empty() && IsSample(block.type)) {
                bytes = SampleBlock(block, data);
            } else {
                Put(bytes, static_cast<std::uint32_t>(-static_cast<std::int32_t>(8 + block.body.size())), 4);
                bytes.push_back(block.type);
                bytes.insert(bytes.end(), 3, 0);
                bytes.insert(bytes.end(), block.body.begin(), block.body.end());
            }
            blocks.insert(blocks.end(), bytes.begin(), bytes.end());
        }
        std::vector<std::uint8_t> file(m_magic.begin(), m_magic.end());
        std::uint32_t dataOffset = static_cast<std::uint32_t>(32 + blocks.size() + 4);
        Put(file, m_bDataOffsetSet ? m_dataOffset : dataOffset, 4);
        file.insert(file.end(), 24, 0);
        file.insert(file.end(), blocks.begin(), blocks.end());
        Put(file, 0, 4); // a zero size ends the objects
        file.insert(file.end(), data.begin(), data.end());
        return file;
    }

    void WriteTo(const std::string& path) const {
        std::vector<std::uint8_t> bytes = Bytes();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    static void Put(std::vector<std::uint8_t>& bytes, std::uint64_t value, int count) {
        for (int i = count - 1; i >= 0; --i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

private:
    struct Block {
        std::uint8_t type;
        Sample sample;
        std::vector<std::uint8_t> body;
        bool raw = false;
        std::int32_t stored = 0;
    };

    static bool IsSample(std::uint8_t type) { return type == 0x98 || type == 0x99; }

    // The block of a sample object; its audio is appended to `data`, 4-byte aligned.
    static std::vector<std::uint8_t> SampleBlock(const Block& block, std::vector<std::uint8_t>& data) {
        const Sample& sample = block.sample;
        while (data.size() % 4 != 0)
            data.push_back(0);
        auto start = static_cast<std::uint32_t>(data.size() / 4);
        for (std::int16_t value : sample.audio)
            Put(data, static_cast<std::uint16_t>(value), 2);
        auto frames = static_cast<std::uint32_t>(sample.audio.size());

        std::vector<std::uint8_t> header(88, 0);
        header[10] = static_cast<std::uint8_t>(sample.rootKey);
        auto field = [&header](std::size_t at, std::uint64_t value) {
            for (int i = 0; i < 4; ++i)
                header[at + i] = static_cast<std::uint8_t>(value >> (8 * (3 - i)));
        };
        field(20, sample.start >= 0 ? static_cast<std::uint64_t>(sample.start) : start);
        field(28, sample.loopStart >= 0 ? static_cast<std::uint64_t>(sample.loopStart)
                                        : start + sample.loopFrame);
        field(32, sample.end >= 0 ? static_cast<std::uint64_t>(sample.end) : start + frames);
        field(40, sample.period);

        std::vector<std::uint8_t> name(sample.name.begin(), sample.name.end());
        name.push_back(0);
        std::vector<std::uint8_t> bytes;
        std::size_t size = 10 + name.size() + header.size() + sample.tail;
        Put(bytes, static_cast<std::uint32_t>(-static_cast<std::int32_t>(size)), 4);
        bytes.push_back(block.type);
        bytes.insert(bytes.end(), 3, 0);
        Put(bytes, sample.nameLength >= 0 ? static_cast<std::uint64_t>(sample.nameLength) : name.size(), 2);
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.insert(bytes.end(), header.begin(), header.end());
        bytes.insert(bytes.end(), sample.tail, 0xA5);
        return bytes;
    }

    std::vector<Block> m_blocks;
    std::string m_magic = "PRAM";
    std::uint32_t m_dataOffset = 0;
    bool m_bDataOffsetSet = false;
};
