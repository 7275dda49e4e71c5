#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// Layer file bytes built by hand, for streams our writer never produces.
class LayerFileBytes {
public:
    LayerFileBytes& Word(std::uint16_t value) {
        m_bytes.push_back(static_cast<char>(value));
        m_bytes.push_back(static_cast<char>(value >> 8));
        return *this;
    }
    LayerFileBytes& Text(const std::string& text) {
        m_bytes += static_cast<char>(text.size()) + text;
        return *this;
    }
    LayerFileBytes& ClassRecord(const std::string& name, std::uint16_t schema = 1) {
        Word(0xFFFF).Word(schema).Word(static_cast<std::uint16_t>(name.size()));
        m_bytes += name;
        return *this;
    }
    // A sample entry body (path, flags 1, level 0), and a layer body up to its key count.
    LayerFileBytes& SampleBody(const std::string& path) { return Text(path).Word(1).Word(0); }
    LayerFileBytes& LayerHead() { return Word(0).Word(0).Word(0).Text(""); }

    const std::string& Bytes() const { return m_bytes; }
    void WriteTo(const std::string& path) const { std::ofstream(path, std::ios::binary) << m_bytes; }

private:
    std::string m_bytes;
};
