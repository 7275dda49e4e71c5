#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// sox makes and checks WAV files at test time; tests that need it skip when it is absent.
inline bool Sox(const std::string& arguments) {
    return std::system(("sox " + arguments + " 2>/dev/null").c_str()) == 0;
}
#define SKIP_WITHOUT_SOX()                                                                                   \
    if (!Sox("--version >/dev/null"))                                                                        \
    GTEST_SKIP() << "sox is not installed"

// What `command` prints, without the final newline.
inline std::string Output(const std::string& command) {
    std::string text;
    if (std::FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            text += buffer;
        ::pclose(pipe);
    }
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// The 16-bit samples that sox reads from a file.
inline std::vector<std::int16_t> SoxSamples(const std::string& path) {
    std::string raw =
        Output("sox '" + path + "' -t raw -e signed-integer -b 16 -L - | od -An -v -td2 --endian=little");
    std::vector<std::int16_t> samples;
    for (const char* p = raw.c_str(); *p;) {
        char* end = nullptr;
        long value = std::strtol(p, &end, 10);
        if (end == p)
            break;
        samples.push_back(static_cast<std::int16_t>(value));
        p = end;
    }
    return samples;
}
