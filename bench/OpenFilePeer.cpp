// One reading of a WAV file, for the peer comparison in peers.sh: "open" reads it as the editor
// opens a sample; "fread" reads the same bytes into a freshly allocated buffer with fread.
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
int OpenAsSample(const char* path) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CSampleDoc doc;
    return doc.ReadWav(path) && doc.m_nFrames != 0 ? 0 : 1;
}

int ReadWithFread(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return 1;
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::rewind(file);
    std::unique_ptr<char, decltype(&std::free)> buffer(static_cast<char*>(std::malloc(size)), &std::free);
    std::size_t got = buffer ? std::fread(buffer.get(), 1, static_cast<std::size_t>(size), file) : 0;
    std::fclose(file);
    return got == static_cast<std::size_t>(size) ? 0 : 1;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "open") == 0)
        return OpenAsSample(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "fread") == 0)
        return ReadWithFread(argv[2]);
    std::fprintf(stderr, "usage: %s open|fread FILE.wav\n", argv[0]);
    return 2;
}
