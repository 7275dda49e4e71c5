// Feeds arbitrary bytes to the layer document's reader. A library that loads must hold no key that
// names a dead entry, and must write out and read back as the same library.
#include "archive/ObjectArchive.h"
#include "layer/LayerDoc.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
bool Load(CLayerDoc& doc, std::vector<std::uint8_t> bytes) {
    try {
        CObjectArchive ar(std::move(bytes));
        doc.Serialize(ar);
    } catch (const CArchiveException&) {
        doc.DeleteContents();
        return false;
    }
    return true;
}

std::size_t Touch(const CLayerDoc& doc) {
    std::size_t sum = 0;
    doc.Layers().ForEach([&](const std::string&, const std::unique_ptr<CLayer>& layer) {
        layer->m_keys.ForEach([&](std::uint16_t key, CSample* sample) {
            if (key > kHighestKey || doc.FindSample(sample->m_strName) != sample)
                std::abort();
            sum += sample->m_strPath.size();
        });
    });
    return sum;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CLayerDoc doc;
    if (!Load(doc, std::vector<std::uint8_t>(data, data + size)))
        return 0;
    std::size_t touched = Touch(doc);

    CObjectArchive out;
    doc.Serialize(out);
    CLayerDoc again;
    if (!Load(again, out.Bytes()) || again.Samples().Size() != doc.Samples().Size() ||
        again.Layers().Size() != doc.Layers().Size() || Touch(again) != touched)
        std::abort();
    return 0;
}
