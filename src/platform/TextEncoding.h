#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Names and paths in our files are Windows-1252; the terminal, JSON and Qt speak UTF-8.
// The five bytes that Windows-1252 leaves undefined map to the C1 controls of the same value,
// so every byte string survives a round trip.
std::string Cp1252ToUtf8(std::string_view text);

// Characters that Windows-1252 cannot hold become '?', as the Windows conversion does.
std::string Utf8ToCp1252(std::string_view text);

// UTF-16 code units (the wide strings of older files) as UTF-8; a lone surrogate becomes '?'.
std::string Utf16ToUtf8(const std::vector<std::uint16_t>& units);
