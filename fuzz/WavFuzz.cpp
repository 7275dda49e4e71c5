// Feeds arbitrary bytes to the sample document's readers: the WAVE form, then the archive form.
#include "archive/ObjectArchive.h"
#include "platform/ScriptedUi.h"
#include "sample/PitchNames.h"
#include "sample/RiffReader.h"
#include "sample/SampleDoc.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    {
        CSampleDoc doc;
        CMemoryRiffSource source(data, size);
        if (doc.ReadWav(source)) {
            // Whatever the file said, the points must lie inside the audio the reader kept.
            if (std::uint64_t{doc.m_nStart} + doc.m_nLength > doc.m_nFrames ||
                std::uint64_t{doc.m_nLoopStart} + doc.m_nLoopLength > doc.m_nFrames)
                __builtin_trap();
            // The pitch as every window and report shows it, before and after the load's checks.
            PitchText(doc.m_dPitch);
            if (doc.AcceptLoadedValues("fuzz"))
                PitchText(doc.m_dPitch);
            doc.OnTruncate();
        }
    }
    {
        CSampleDoc doc;
        try {
            CObjectArchive ar(std::vector<std::uint8_t>(data, data + size));
            doc.Serialize(ar);
            PitchText(doc.m_dPitch);
            PitchText(doc.m_dLoopPitch);
            doc.OnTruncate();
        } catch (const CArchiveException&) {
        }
    }
    return 0;
}
