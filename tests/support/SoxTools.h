#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// sox makes and checks WAV files at test time; tests that need it skip when it is absent.
inline bool HaveSox() {
    static const bool found = std::system("sox --version >/dev/null 2>&1") == 0;
    return found;
}

// Runs sox with `arguments` (already quoted as the shell needs); true when it succeeded.
inline bool Sox(const std::string& arguments) {
    return std::system(("sox " + arguments + " 2>/dev/null").c_str()) == 0;
}

// What soxi prints for one option (-r rate, -c channels, -s samples per channel, -b bits).
inline std::string Soxi(const std::string& option, const std::string& path) {
    std::string text;
    if (std::FILE* pipe = ::popen(("soxi " + option + " '" + path + "' 2>/dev/null").c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            text += buffer;
        ::pclose(pipe);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// The 16-bit samples sox reads from a file, as little-endian raw data.
inline std::vector<std::int16_t> SoxSamples(const std::string& path) {
    std::string raw = path + ".raw";
    std::vector<std::int16_t> samples;
    if (!Sox("'" + path + "' -t raw -e signed-integer -b 16 -L '" + raw + "'"))
        return samples;
    std::ifstream in(raw, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                    static_cast<std::uint8_t>(bytes[i + 1]) << 8));
    std::remove(raw.c_str());
    return samples;
}

#define SKIP_WITHOUT_SOX()                                                                                   \
    if (!HaveSox())                                                                                          \
    GTEST_SKIP() << "sox is not installed"
