#include "sample/StreamedEdit.h"

#include "platform/Ui.h"
#include "sample/MappedRiffSource.h"
#include "sample/SampleDoc.h"

#include <bit>
#include <sys/mman.h>

std::optional<bool> RunStreamedEdit(const std::string& in, const std::string& out, const StreamedEdit& edit) {
    if constexpr (std::endian::native != std::endian::little)
        return std::nullopt;
    int error = 0;
    std::unique_ptr<CMappedRiffSource> source = CMappedRiffSource::Open(in, error);
    if (!source)
        return std::nullopt;
    CSampleDoc doc;
    CSampleDoc::WavAudioPlace place;
    if (!doc.ReadWav(*source, &place) || !doc.AcceptLoadedValues(in))
        return false;
    doc.SetPathName(in);
    // Chunks start on even offsets, so the samples are aligned in the mapping.
    if (place.offset % alignof(std::int16_t) != 0) {
        GetUi().Message("Internal error: the audio is not aligned in the file", MessageIcon::Exclamation);
        return false;
    }
    const auto* samples = reinterpret_cast<const std::int16_t*>(source->Data() + place.offset);
    ::madvise(const_cast<std::uint8_t*>(source->Data()), source->Size(), MADV_SEQUENTIAL);
    if (edit.kind == StreamedEdit::Kind::Normalize)
        return doc.SaveNormalized(samples, out);
    return doc.SaveResampled(edit.resample, samples, out);
}
