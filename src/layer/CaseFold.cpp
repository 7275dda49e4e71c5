#include "layer/CaseFold.h"

#include <cstdint>

char FoldCase(char c) {
    auto byte = static_cast<std::uint8_t>(c);
    if (byte >= 'A' && byte <= 'Z')
        return static_cast<char>(byte + 0x20);
    // À..Þ fold to à..þ, except the multiplication sign.
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)
        return static_cast<char>(byte + 0x20);
    switch (byte) {
    case 0x8A: // Š
    case 0x8C: // Œ
    case 0x8E: // Ž
        return static_cast<char>(byte + 0x10);
    case 0x9F: // Ÿ
        return static_cast<char>(0xFF);
    default:
        return c;
    }
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<std::uint8_t>(FoldCase(a[i]));
        auto y = static_cast<std::uint8_t>(FoldCase(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && CompareIgnoringCase(text.substr(0, prefix.size()), prefix) == 0;
}
