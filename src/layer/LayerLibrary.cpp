#include "layer/LayerLibrary.h"

#include "archive/ObjectArchive.h"
#include "platform/FileIo.h"
#include "platform/Ui.h"

namespace {
bool ReadLibrary(const std::string& path, CLayerDoc& library) {
    FileContents file = ReadWholeFile(path);
    if (file.error != FileErrorCause::None)
        return false;
    try {
        CObjectArchive ar(std::move(file.bytes));
        library.Serialize(ar);
    } catch (const CArchiveException& error) {
        if (error.GetKind() == CArchiveException::Kind::BadIndex)
            GetUi().Message("Error loading layer file: bad file format");
        else if (error.GetKind() == CArchiveException::Kind::BadClass)
            GetUi().Message("Error loading layer file: bad object type");
        library.DeleteContents();
        return false;
    }
    return true;
}
} // namespace

std::unique_ptr<CLayerDoc> LoadLayerLibrary(const std::string& path) {
    auto library = std::make_unique<CLayerDoc>();
    if (!ReadLibrary(path, *library))
        GetUi().Message("The layer file, " + path + ", is missing.  Layer names will not be available.");
    return library;
}
