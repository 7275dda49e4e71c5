#include "support/AlsaCapture.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {
// The configuration is shared by the whole process, since ALSA reads it once; each capture names
// its own file through the environment, which ALSA reads at every open.
const std::string& ConfigPath() {
    static TempDir dir;
    static const std::string path = [] {
        std::string file = dir.File("asound.conf");
        std::ofstream out(file);
        out << "pcm.!default {\n"
               "    type file\n"
               "    slave.pcm { type null }\n"
               "    file { @func getenv vars [ PCM_CAPTURE_FILE ] default \"/dev/null\" }\n"
               "    format \"raw\"\n"
               "}\n";
        return file;
    }();
    return path;
}
} // namespace

AlsaCapture::AlsaCapture() : m_strPath(m_dir.File("capture.raw")) {
    ::setenv("ALSA_CONFIG_PATH", ConfigPath().c_str(), 1);
    ::setenv("PCM_CAPTURE_FILE", m_strPath.c_str(), 1);
}

std::vector<std::int16_t> AlsaCapture::Samples() const {
    std::ifstream in(m_strPath, std::ios::binary | std::ios::ate);
    std::vector<unsigned char> bytes(in ? static_cast<std::size_t>(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return samples;
}

std::size_t AlsaCapture::Size() const {
    std::error_code error;
    std::uintmax_t bytes = std::filesystem::file_size(m_strPath, error);
    return error ? 0 : static_cast<std::size_t>(bytes / 2);
}

bool AlsaCapture::WaitForSize(std::size_t samples, double seconds) const {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        if (Size() >= samples)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::size_t FirstSound(const std::vector<std::int16_t>& capture) {
    return static_cast<std::size_t>(
        std::find_if(capture.begin(), capture.end(), [](std::int16_t sample) { return sample != 0; }) -
        capture.begin());
}

bool SilentFrom(const std::vector<std::int16_t>& capture, std::size_t first) {
    return first >= capture.size() ||
           std::all_of(capture.begin() + static_cast<std::ptrdiff_t>(first), capture.end(),
                       [](std::int16_t sample) { return sample == 0; });
}

bool Matches(const std::vector<std::int16_t>& capture, std::size_t at, const std::int16_t* expected,
             std::size_t count) {
    return at + count <= capture.size() &&
           std::equal(expected, expected + count, capture.begin() + static_cast<std::ptrdiff_t>(at));
}

std::vector<std::int16_t> Sounded(const std::vector<std::int16_t>& capture) {
    std::vector<std::int16_t> sound;
    std::copy_if(capture.begin(), capture.end(), std::back_inserter(sound),
                 [](std::int16_t s) { return s != 0; });
    return sound;
}

bool EndsInCutPasses(const std::vector<std::int16_t>& sound, std::size_t at, const std::int16_t* loop,
                     std::size_t count) {
    for (int pass = 0; pass < 2 && at < sound.size(); ++pass) {
        std::size_t played = 0;
        while (played < count && at + played < sound.size() && sound[at + played] == loop[played])
            ++played;
        if (played == 0)
            return false;
        at += played;
    }
    return at == sound.size();
}
