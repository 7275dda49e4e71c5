// Edit chains that run without loading the audio: one normalize, or one change of rate.
#include "cli/EditChain.h"
#include "sample/ResampleDialogs.h"
#include "sample/SampleDoc.h"
#include "sample/StreamedEdit.h"

#include <map>

namespace {
std::optional<StreamedEdit> StreamedForm(const std::vector<std::string>& words) {
    StreamedEdit edit;
    if (words == std::vector<std::string>{"normalize"})
        return edit;
    static const std::map<std::string, ResampleMethod> kMethods{{"linear", ResampleMethod::Linear},
                                                                {"bandlimited", ResampleMethod::Bandlimited},
                                                                {"drophold", ResampleMethod::DropHold}};
    if (words.size() != 4 || words[0] != "resample" || words[1] != "rate" || !kMethods.contains(words[3]))
        return std::nullopt;
    // A rate the dialog would refuse takes the document's way, which says so.
    std::variant<std::uint32_t, std::string> rate = ValidateSampleRate(words[2]);
    if (!std::holds_alternative<std::uint32_t>(rate))
        return std::nullopt;
    edit.kind = StreamedEdit::Kind::Resample;
    edit.resample.mode = ResampleMode::Rate;
    edit.resample.rate = std::get<std::uint32_t>(rate);
    edit.resample.method = kMethods.at(words[3]);
    return edit;
}
} // namespace

std::optional<bool> EditStreamed(const std::string& in, const std::vector<std::string>& words,
                                 const std::string& out) {
    std::optional<StreamedEdit> edit = StreamedForm(words);
    if (!edit || !IsWavPath(in) || !IsWavPath(out))
        return std::nullopt;
    return RunStreamedEdit(in, out, *edit);
}
