#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Expected byte streams written the way a file is described: hex bytes and runs of text.
using ByteString = std::vector<std::uint8_t>;

// "01 00 FF" -> {0x01, 0x00, 0xFF}.
inline ByteString Hex(std::string_view hex) {
    ByteString bytes;
    std::string digits;
    for (char c : hex) {
        if (c == ' ')
            continue;
        digits += c;
        if (digits.size() == 2) {
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(digits, nullptr, 16)));
            digits.clear();
        }
    }
    if (!digits.empty())
        throw std::invalid_argument("odd number of hex digits");
    return bytes;
}

inline ByteString Text(std::string_view text) {
    return ByteString(text.begin(), text.end());
}

inline ByteString Cat(std::initializer_list<ByteString> parts) {
    ByteString bytes;
    for (const auto& part : parts)
        bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

// "01 00 FF", for readable failures.
inline std::string ToHex(const ByteString& bytes) {
    static const char* kDigits = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}
