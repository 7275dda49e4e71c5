// Feeds arbitrary bytes to the Kurzweil reader: the list, then every listed sample's audio.
#include "platform/ScriptedUi.h"
#include "sample/KrzFile.h"
#include "sample/RiffReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CMemoryRiffSource source(data, size);
    CKrzFile file(source);
    for (const KrzSampleEntry& entry : file.ListSamples()) {
        // A listed header lies inside the file, and so does any audio read for it.
        if (entry.headerOffset + 88 > size)
            __builtin_trap();
        KrzListText(entry);
        KrzSampleAudio audio;
        if (file.ReadSample(entry.headerOffset, audio) == KrzError::None) {
            if (std::uint64_t{audio.frames} * 2 > size ||
                std::uint64_t{audio.loopStart} + audio.loopLength > audio.frames)
                __builtin_trap();
        }
    }
    return 0;
}
