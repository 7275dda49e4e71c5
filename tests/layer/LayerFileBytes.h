#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds layer file bytes by hand, for streams our writer never produces.
class LayerFileBytes {
public:
    LayerFileBytes& Word(std::uint16_t value) {
        m_bytes.push_back(static_cast<std::uint8_t>(value));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        return *this;
    }
    LayerFileBytes& Text(const std::string& text) {
        m_bytes.push_back(static_cast<std::uint8_t>(text.size()));
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    LayerFileBytes& ClassRecord(const std::string& name, std::uint16_t schema = 1) {
        Word(0xFFFF).Word(schema).Word(static_cast<std::uint16_t>(name.size()));
        m_bytes.insert(m_bytes.end(), name.begin(), name.end());
        return *this;
    }
    // A sample entry body: path, flags, level.
    LayerFileBytes& SampleBody(const std::string& path, std::uint16_t flags = 1, std::int16_t level = 0) {
        return Text(path).Word(flags).Word(static_cast<std::uint16_t>(level));
    }
    // A layer body up to its key count: level, transpose, ignore key-up, comment.
    LayerFileBytes& LayerHead(std::int16_t level = 0, std::int16_t transpose = 0) {
        return Word(static_cast<std::uint16_t>(level))
            .Word(static_cast<std::uint16_t>(transpose))
            .Word(0)
            .Text("");
    }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};
