#include "sample/KrzDialogs.h"
#include "sample/SampleDoc.h"

#include "platform/Ui.h"
#include "sample/KrzFile.h"
#include "sample/RiffReader.h"
#include "sample/SampleEdit.h"

bool CSampleDoc::OnImportKrz() {
    std::optional<std::string> path =
        GetUi().AskOpenFile({"Import from .KRZ file", "WAVE Files (*.kr?)", "*.kr?", true, {}});
    return path && ImportKrz(*path);
}

bool CSampleDoc::ImportKrz(const std::string& path) {
    std::unique_ptr<CFileRiffSource> source = OpenKrzFile(path);
    if (!source)
        return false;
    CKrzFile file(*source);

    std::vector<KrzSampleEntry> entries = file.ListSamples();
    KrzSampleChoice list;
    for (const KrzSampleEntry& entry : entries)
        list.entries.push_back(KrzListText(entry));
    list.selected = entries.empty() ? -1 : 0;
    std::optional<KrzSampleChoice> choice = GetUi().AskDialog(list);
    if (!choice)
        return false;
    if (choice->selected < 0 || static_cast<std::size_t>(choice->selected) >= entries.size()) {
        GetUi().Message(entries.empty()
                            ? "The file holds no samples"
                            : "The file's list has no sample " + std::to_string(choice->selected) +
                                  " (its samples are numbered 0 to " + std::to_string(entries.size() - 1) +
                                  ")",
                        MessageIcon::Exclamation);
        return false;
    }

    KrzSampleAudio audio;
    KrzError error = KrzError::None;
    {
        BusyCursor busy;
        error = file.ReadSample(entries[static_cast<std::size_t>(choice->selected)].headerOffset, audio);
    }
    if (error != KrzError::None) {
        GetUi().Message(KrzErrorText(error), MessageIcon::Exclamation);
        return false;
    }

    CSampleEdit edit(*this, "Import KRZ");
    edit.TakeAudio();
    ClearData();
    SetData(std::move(audio.data), audio.frames, audio.rate);
    m_bStereo = false;
    SetLoopRange(audio.loopStart, audio.loopLength);
    SetSampleRange(0, audio.frames);
    SetSelection(0, audio.frames);
    UpdateAllViews(nullptr, 0);
    return true;
}
