// wloe-cli commands on sample files: info, convert, and edit (a chain of document operations).
#include "cli/AudioFileRoutes.h"
#include "cli/BatchCommands.h"
#include "cli/CliContext.h"
#include "cli/EditChain.h"
#include "platform/DialogValidation.h"
#include "platform/Ui.h"
#include "sample/CrossfadeDialog.h"
#include "sample/KrzDialogs.h"
#include "sample/LevelDialogs.h"
#include "sample/ResampleDialogs.h"
#include "sample/SampleDoc.h"
#include "sample/WavChunks.h"

#include <climits>
#include <cmath>
#include <map>
#include <memory>
#include <ostream>
#include <vector>

namespace {
struct EditOperation {
    std::vector<const char*> argNames;
    std::function<EditAction(const std::vector<std::string>& args)> make;
    // Words after the named values that still belong to the operation (none when absent).
    std::function<bool(const std::string& word)> takesMore = nullptr;
};

std::uint32_t ParseFrame(const std::string& text, const char* what) {
    long long value = ParseInteger(text, what);
    if (value < 0 || value > 0xFFFFFFFFLL)
        throw CliUsageError(std::string(what) + ": not a frame position: " + text);
    return static_cast<std::uint32_t>(value);
}

int ParseInt(const std::string& text, const char* what) {
    long long value = ParseInteger(text, what);
    if (value < INT_MIN || value > INT_MAX)
        throw CliUsageError(std::string(what) + ": out of range: " + text);
    return static_cast<int>(value);
}

double ParseFinite(const std::string& text, const char* what) {
    double value = ParseReal(text, what);
    if (!std::isfinite(value))
        throw CliUsageError(std::string(what) + ": not a finite number: " + text);
    return value;
}

EditOperation PointOperation(PointResult (CSampleDoc::*rule)(std::uint32_t)) {
    return {{"P"}, [rule](const std::vector<std::string>& args) -> EditAction {
                std::uint32_t p = ParseFrame(args[0], "P");
                return [rule, p](CSampleDoc& doc, CliContext& context) {
                    PointResult result = (doc.*rule)(p);
                    if (result == PointResult::Beyond)
                        context.err << "Position " << p << " lies beyond the sample (" << doc.m_nFrames
                                    << " frames)\n";
                    return result == PointResult::Changed;
                };
            }};
}

EditOperation RangeOperation(void (CSampleDoc::*setter)(std::uint32_t, std::uint32_t)) {
    return {{"A", "N"}, [setter](const std::vector<std::string>& args) -> EditAction {
                std::uint32_t start = ParseFrame(args[0], "A");
                std::uint32_t length = ParseFrame(args[1], "N");
                return [setter, start, length](CSampleDoc& doc, CliContext&) {
                    (doc.*setter)(start, length);
                    return true;
                };
            }};
}

EditOperation CommandOperation(void (CSampleDoc::*command)()) {
    return {{}, [command](const std::vector<std::string>&) -> EditAction {
                return [command](CSampleDoc& doc, CliContext&) {
                    (doc.*command)();
                    return true;
                };
            }};
}

// A command that needs no values and says whether it succeeded.
EditOperation CheckedOperation(bool (CSampleDoc::*command)()) {
    return {{}, [command](const std::vector<std::string>&) -> EditAction {
                return [command](CSampleDoc& doc, CliContext&) { return (doc.*command)(); };
            }};
}

// A command that asks a dialog, answered with `values` from the command line as the user would
// have entered them; the command checks them against the dialog's ranges itself. Answers that no
// dialog took (the command stopped before asking) are dropped so no later command gets them.
template <class Values, class Command>
bool AnswerDialog(CliContext& context, Values values, Command command) {
    context.ui->QueueDialog<Values>(std::move(values));
    bool done = command();
    context.ui->DiscardDialogs();
    return done;
}

bool IsInteger(const std::string& word) {
    std::size_t first = !word.empty() && word[0] == '-' ? 1 : 0;
    return word.size() > first && word.find_first_not_of("0123456789", first) == std::string::npos;
}

// A word that a dialog's field would hold: checked when the operation runs, as the dialog checks
// it on OK, so a bad value gets the dialog's message.
template <class T> std::optional<T> DialogField(const std::variant<T, std::string>& checked) {
    if (const std::string* message = std::get_if<std::string>(&checked)) {
        GetUi().Message(*message, MessageIcon::Exclamation);
        return std::nullopt;
    }
    return std::get<T>(checked);
}

template <class T>
T Choice(const std::string& word, const char* what,
         std::initializer_list<std::pair<const char*, T>> choices) {
    for (const auto& [name, value] : choices)
        if (word == name)
            return value;
    std::string names;
    for (const auto& choice : choices)
        names += std::string(names.empty() ? "" : "|") + choice.first;
    throw CliUsageError(std::string(what) + ": expected " + names + ": " + word);
}

// "X,Y": a point of an amplitude curve.
bool IsCurvePoint(const std::string& word) {
    std::size_t comma = word.find(',');
    return comma != std::string::npos && comma > 0 && comma + 1 < word.size() &&
           word.find(',', comma + 1) == std::string::npos;
}

std::vector<std::uint32_t> ParseCurve(const std::vector<std::string>& words) {
    std::vector<std::uint32_t> curve;
    long long lastX = 0;
    for (const std::string& word : words) {
        std::size_t comma = word.find(',');
        long long x = ParseInteger(word.substr(0, comma), "X");
        long long y = ParseInteger(word.substr(comma + 1), "Y");
        if (x < INT16_MIN || x > INT16_MAX || y < INT16_MIN || y > INT16_MAX)
            throw CliUsageError("curve: a point outside -32768..32767: " + word);
        if (!curve.empty() && x <= lastX)
            throw CliUsageError("curve: x values must ascend: " + word);
        curve.push_back(SynthesizeValues::PackPoint(static_cast<int>(x), static_cast<int>(y)));
        lastX = x;
    }
    if (curve.empty())
        curve = SynthesizeValues{}.curve;
    return curve;
}

// synth replace|add LENGTH ms|cycles note:TEXT|freq:HZ sine|square|triangle [X,Y ...]
EditOperation SynthOperation() {
    return {{"replace|add", "LENGTH", "ms|cycles", "note:TEXT|freq:HZ", "sine|square|triangle"},
            [](const std::vector<std::string>& args) -> EditAction {
                using V = SynthesizeValues;
                V values;
                values.mode =
                    Choice<V::Mode>(args[0], "synth", {{"replace", V::Mode::Replace}, {"add", V::Mode::Add}});
                std::string lengthText = args[1];
                values.unit = Choice<V::LengthUnit>(
                    args[2], "synth",
                    {{"ms", V::LengthUnit::Milliseconds}, {"cycles", V::LengthUnit::Cycles}});
                const std::string& pitch = args[3];
                std::string frequencyText;
                if (pitch.starts_with("note:")) {
                    values.pitchSource = V::PitchSource::Note;
                    values.note = pitch.substr(5);
                } else if (pitch.starts_with("freq:")) {
                    values.pitchSource = V::PitchSource::Frequency;
                    frequencyText = pitch.substr(5);
                } else {
                    throw CliUsageError("synth: expected note:TEXT or freq:HZ: " + pitch);
                }
                values.function = Choice<V::Function>(args[4], "synth",
                                                      {{"sine", V::Function::Sine},
                                                       {"square", V::Function::Square},
                                                       {"triangle", V::Function::Triangle}});
                values.curve = ParseCurve({args.begin() + 5, args.end()});
                return [values, lengthText, frequencyText](CSampleDoc& doc, CliContext& context) mutable {
                    std::optional<std::uint32_t> length = DialogField(ValidateUnsigned(lengthText));
                    if (!length)
                        return false;
                    values.length = *length;
                    if (values.pitchSource == SynthesizeValues::PitchSource::Frequency) {
                        std::optional<double> hz = DialogField(ValidateReal(
                            frequencyText, SynthesizeValues::kMinFrequency, SynthesizeValues::kMaxFrequency));
                        if (!hz)
                            return false;
                        values.frequency = *hz;
                    }
                    return AnswerDialog(context, values, [&doc] { return doc.OnSynthesize(); });
                };
            },
            IsCurvePoint};
}

// krz FILE INDEX: the INDEX-th sample of the file's list, from 0.
EditOperation KrzOperation() {
    return {{"FILE", "INDEX"}, [](const std::vector<std::string>& args) -> EditAction {
                std::string path = args[0];
                long long index = ParseInteger(args[1], "INDEX");
                int selected = index < INT_MIN || index > INT_MAX ? -1 : static_cast<int>(index);
                return [path, selected](CSampleDoc& doc, CliContext& context) {
                    context.ui->QueueDialog<std::string>(path);
                    return AnswerDialog(context, KrzSampleChoice{{}, selected},
                                        [&doc] { return doc.OnImportKrz(); });
                };
            }};
}

// resample rate R METHOD, resample pitch TEXT METHOD
EditOperation ResampleOperation() {
    return {{"rate|pitch", "R|TEXT", "METHOD"}, [](const std::vector<std::string>& args) -> EditAction {
                ResampleMode mode = Choice<ResampleMode>(
                    args[0], "resample", {{"rate", ResampleMode::Rate}, {"pitch", ResampleMode::Pitch}});
                ResampleMethod method = Choice<ResampleMethod>(args[2], "METHOD",
                                                               {{"linear", ResampleMethod::Linear},
                                                                {"bandlimited", ResampleMethod::Bandlimited},
                                                                {"drophold", ResampleMethod::DropHold}});
                std::string value = args[1];
                return [mode, method, value](CSampleDoc& doc, CliContext& context) {
                    ResampleValues values = doc.ResampleDialogValues();
                    values.mode = mode;
                    values.method = method;
                    if (mode == ResampleMode::Pitch) {
                        values.pitchText = value;
                    } else if (std::optional<std::uint32_t> rate = DialogField(ValidateSampleRate(value))) {
                        values.rate = *rate;
                    } else {
                        return false;
                    }
                    return AnswerDialog(context, values, [&doc] { return doc.OnResample(); });
                };
            }};
}

// rate R: the playback rate only.
EditOperation PlaybackRateOperation() {
    return {{"R"}, [](const std::vector<std::string>& args) -> EditAction {
                std::string value = args[0];
                return [value](CSampleDoc& doc, CliContext& context) {
                    std::optional<std::uint32_t> rate = DialogField(ValidateSampleRate(value));
                    if (!rate)
                        return false;
                    return AnswerDialog(context, PlaybackRateValues{*rate},
                                        [&doc] { return doc.OnChangePlaybackRate(); });
                };
            }};
}

// The operations of `edit`, by name.
const std::map<std::string, EditOperation>& EditOperations() {
    static const std::map<std::string, EditOperation> operations{
        {"start", PointOperation(&CSampleDoc::SetSampleStart)},
        {"stop", PointOperation(&CSampleDoc::SetSampleStop)},
        {"loop-start", PointOperation(&CSampleDoc::SetLoopStart)},
        {"loop-end", PointOperation(&CSampleDoc::SetLoopEnd)},
        {"sample-range", RangeOperation(&CSampleDoc::SetSampleRange)},
        {"loop-range", RangeOperation(&CSampleDoc::SetLoopRange)},
        {"selection", RangeOperation(&CSampleDoc::SetSelection)},
        {"clear-points", CommandOperation(&CSampleDoc::OnClearPoints)},
        {"clear-loop", CommandOperation(&CSampleDoc::OnClearLoop)},
        {"truncate",
         {{},
          [](const std::vector<std::string>&) -> EditAction {
              return [](CSampleDoc& doc, CliContext&) { return doc.OnTruncate(); };
          }}},
        {"pitch",
         {{"HZ"},
          [](const std::vector<std::string>& args) -> EditAction {
              double hz = ParseFinite(args[0], "HZ");
              if (hz < 0)
                  throw CliUsageError("HZ: not a pitch: " + args[0]);
              return [hz](CSampleDoc& doc, CliContext&) {
                  doc.SetPitch(hz);
                  return true;
              };
          }}},
        {"pitch-parts",
         {{"OCTAVE", "NOTE", "CENTS"},
          [](const std::vector<std::string>& args) -> EditAction {
              int octave = ParseInt(args[0], "OCTAVE");
              int note = ParseInt(args[1], "NOTE");
              double cents = ParseFinite(args[2], "CENTS");
              return [octave, note, cents](CSampleDoc& doc, CliContext&) {
                  doc.SetPitchFromParts(octave, note, cents);
                  return true;
              };
          }}},
        {"guess-pitch",
         {{"START", "LENGTH"},
          [](const std::vector<std::string>& args) -> EditAction {
              std::uint32_t start = ParseFrame(args[0], "START");
              std::uint32_t length = ParseFrame(args[1], "LENGTH");
              return [start, length](CSampleDoc& doc, CliContext&) { return doc.GuessPitch(start, length); };
          }}},
        {"gain",
         {{"BL", "EL", "BR", "ER"},
          [](const std::vector<std::string>& args) -> EditAction {
              if (args.size() != 4 && args.size() != 6)
                  throw CliUsageError("gain: START and LENGTH come together");
              GainValues values;
              values.beginLeft = ParseInt(args[0], "BL");
              values.endLeft = ParseInt(args[1], "EL");
              values.beginRight = ParseInt(args[2], "BR");
              values.endRight = ParseInt(args[3], "ER");
              std::uint32_t start = args.size() == 6 ? ParseFrame(args[4], "START") : 0;
              std::uint32_t length = args.size() == 6 ? ParseFrame(args[5], "LENGTH") : 0;
              return [values, start, length](CSampleDoc& doc, CliContext& context) {
                  return AnswerDialog(context, values, [&] { return doc.OnGainAdjust(start, length); });
              };
          },
          IsInteger}},
        {"normalize", CheckedOperation(&CSampleDoc::OnNormalize)},
        {"normalize-lr", CheckedOperation(&CSampleDoc::OnNormalizeIndependently)},
        {"swap", CheckedOperation(&CSampleDoc::OnSwapChannels)},
        {"remix",
         {{"LL", "LR", "RL", "RR"},
          [](const std::vector<std::string>& args) -> EditAction {
              RemixValues values{ParseInt(args[0], "LL"), ParseInt(args[1], "LR"), ParseInt(args[2], "RL"),
                                 ParseInt(args[3], "RR")};
              return [values](CSampleDoc& doc, CliContext& context) {
                  return AnswerDialog(context, values, [&] { return doc.OnRemixStereo(); });
              };
          }}},
        {"mono",
         {{"L", "R"},
          [](const std::vector<std::string>& args) -> EditAction {
              MonoValues values{ParseInt(args[0], "L"), ParseInt(args[1], "R")};
              return [values](CSampleDoc& doc, CliContext& context) {
                  return AnswerDialog(context, values, [&] { return doc.OnReduceToMono(); });
              };
          }}},
        {"crossfade",
         {{"RADIUS_MS", "CONTOUR"},
          [](const std::vector<std::string>& args) -> EditAction {
              ParseInteger(args[0], "RADIUS_MS");
              ParseInteger(args[1], "CONTOUR");
              return [radius = args[0], contour = args[1]](CSampleDoc& doc, CliContext& context) {
                  std::optional<std::uint32_t> radiusMs = DialogField(ValidateUnsigned(radius));
                  std::optional<std::uint32_t> shape =
                      radiusMs ? DialogField(ValidateUnsigned(contour)) : std::nullopt;
                  if (!shape)
                      return false;
                  return AnswerDialog(context, CrossfadeValues{*radiusMs, *shape},
                                      [&] { return doc.OnCrossfadeLoop(); });
              };
          }}},
        {"synth", SynthOperation()},
        {"krz", KrzOperation()},
        {"resample", ResampleOperation()},
        {"rate", PlaybackRateOperation()},
        {"compensate",
         {{"0|1"},
          [](const std::vector<std::string>& args) -> EditAction {
              if (args[0] != "0" && args[0] != "1")
                  throw CliUsageError("compensate: expected 0 or 1: " + args[0]);
              bool on = args[0] == "1";
              return [on](CSampleDoc& doc, CliContext&) {
                  doc.SetCompensate(on);
                  return true;
              };
          }}},
    };
    return operations;
}

} // namespace

bool IsEditOperation(const std::string& word) {
    return EditOperations().contains(word);
}

std::vector<EditAction> ParseEditChain(const std::vector<std::string>& words) {
    std::vector<EditAction> chain;
    for (std::size_t i = 0; i < words.size();) {
        auto found = EditOperations().find(words[i]);
        if (found == EditOperations().end())
            throw CliUsageError("edit: unknown operation: " + words[i]);
        const EditOperation& operation = found->second;
        std::size_t count = operation.argNames.size();
        if (words.size() - i - 1 < count)
            throw CliUsageError("edit: " + words[i] + " needs " + std::to_string(count) + " value(s)");
        std::vector<std::string> args(words.begin() + static_cast<std::ptrdiff_t>(i + 1),
                                      words.begin() + static_cast<std::ptrdiff_t>(i + 1 + count));
        i += 1 + count;
        while (operation.takesMore && i < words.size() && operation.takesMore(words[i]))
            args.push_back(words[i++]);
        chain.push_back(operation.make(args));
    }
    return chain;
}

bool EditSampleFile(const std::string& in, EditInput input, const std::vector<std::string>& words,
                    const std::string& out, CliContext& context) {
    std::vector<EditAction> chain = ParseEditChain(words);
    if (input == EditInput::Open)
        if (std::optional<bool> streamed = EditStreamed(in, words, out))
            return *streamed;
    CSampleDoc doc;
    if (input == EditInput::Import) {
        // An import stays untitled: it never takes the source's name.
        if (!OpenAnySampleInput(doc, in))
            return false;
    } else if (!(input == EditInput::New ? doc.OnNewDocument() : doc.OnOpenDocument(in))) {
        return false;
    } else {
        doc.SetPathName(in);
    }
    for (const EditAction& action : chain)
        if (!action(doc, context))
            return false;
    return doc.OnSaveDocument(out);
}

bool ConvertSampleFile(const std::string& in, const std::string& out) {
    CSampleDoc doc;
    return OpenAnySampleInput(doc, in) && SaveAnySampleOutput(doc, out);
}

namespace {
nlohmann::json SampleInfoJson(const CSampleDoc& doc) {
    return {
        {"frames", doc.m_nFrames},
        {"rate", doc.m_nRate},
        {"stereo", doc.m_bStereo},
        {"start", doc.m_nStart},
        {"length", doc.m_nLength},
        {"loop_start", doc.m_nLoopStart},
        {"loop_length", doc.m_nLoopLength},
        {"pitch", doc.m_dPitch},
        {"loop_pitch", doc.m_dLoopPitch},
        {"compensate", doc.m_bCompensate},
        {"pitch_text", CSampleDoc::PitchText(doc.m_dPitch)},
    };
}
} // namespace

void AddSampleCommands(CLI::App& app, CliContext& context) {
    {
        CLI::App* info =
            app.add_subcommand("info", "Print a sample file's frames, rate, points and pitch as JSON");
        auto file = std::make_shared<std::string>();
        info->add_option("FILE", *file, "A .wav file, or a sample archive of any other extension")
            ->required();
        info->callback([&context, file] {
            context.Run([&](ConsoleUi&) {
                CSampleDoc doc;
                if (!doc.OnOpenDocument(*file))
                    return false;
                nlohmann::json json = SampleInfoJson(doc);
                if (IsWavPath(*file))
                    json["chunks"] = WavChunkIds(*file);
                context.PrintJson(json);
                return true;
            });
        });
    }
    {
        CLI::App* convert = app.add_subcommand(
            "convert",
            "Read a sample file, or any audio file libsndfile reads (mono or stereo), and write it in "
            "the form OUT's extension names: .wav or .sam with loop and pitch; .flac, .aif, .aiff or "
            ".ogg hold the audio only (libsndfile keeps no loop or pitch in them)");
        auto in = std::make_shared<std::string>();
        auto out = std::make_shared<std::vector<std::string>>();
        auto batch = std::make_shared<BatchOptions>();
        convert->add_option("IN", *in, "The sample or audio file to read")->required();
        convert->add_option("OUT", *out,
                            "The file to write (.wav, .sam, .flac, .aif, .aiff, .ogg); with --out-dir, "
                            "more inputs");
        AddBatchOptions(*convert, *batch);
        convert->callback([&context, in, out, batch] {
            if (batch->Requested())
                return RunBatchConvert(*in, *out, *batch, context);
            if (out->size() != 1)
                throw CliUsageError("convert: expected IN OUT, or inputs with --out-dir");
            CheckOutput(out->front(), ConvertOutputKinds(), {*in});
            context.Run([&](ConsoleUi&) { return ConvertSampleFile(*in, out->front()); });
        });
    }
    {
        CLI::App* edit = app.add_subcommand(
            "edit",
            "Apply operations to a sample in order and write it: start P, stop P, loop-start P, loop-end P, "
            "sample-range A N, loop-range A N, selection A N, clear-points, clear-loop, truncate, "
            "pitch HZ, pitch-parts OCTAVE NOTE CENTS, compensate 0|1, guess-pitch START LENGTH, "
            "gain BL EL BR ER [START LENGTH], normalize, normalize-lr, swap, remix LL LR RL RR, mono L R, "
            "crossfade RADIUS_MS CONTOUR, "
            "synth replace|add LENGTH ms|cycles note:TEXT|freq:HZ sine|square|triangle [X,Y ...], "
            "krz FILE INDEX, resample rate R METHOD, resample pitch TEXT METHOD (METHOD: linear, bandlimited "
            "or drophold), rate R (the playback rate only)");
        auto in = std::make_shared<std::string>();
        auto out = std::make_shared<std::string>();
        auto words = std::make_shared<std::vector<std::string>>();
        auto fresh = std::make_shared<bool>(false);
        auto import = std::make_shared<bool>(false);
        edit->add_option("IN", *in, "The sample file to edit (with --new, the file to write)")->required();
        edit->add_option("OP", *words, "Operations and their values")->required();
        edit->add_option("-o,--output", *out, "Where to write the result (IN itself when absent)");
        edit->add_flag("--yes", context.answerYes, "Answer Yes/OK to every question");
        CLI::Option* freshFlag = edit->add_flag(
            "--new", *fresh, "Start from a new sample, as File New makes it, instead of reading IN");
        CLI::Option* importFlag = edit->add_flag(
            "--import", *import,
            "Read IN as any audio file libsndfile reads (24-bit, float, AIFF, FLAC, ...); needs -o");
        auto batch = std::make_shared<BatchOptions>();
        AddBatchOptions(*edit, *batch)->excludes(freshFlag)->excludes(importFlag)->excludes("--output");
        edit->callback([&context, in, out, words, fresh, import, batch] {
            if (batch->Requested())
                return RunBatchEdit(*in, *words, *batch, context);
            if (*import && out->empty())
                throw CliUsageError("edit --import: name the file to write with -o OUT.wav");
            if (!out->empty())
                CheckOutput(*out, kSampleOutputKinds,
                            *import ? std::vector<std::string>{*in} : std::vector<std::string>{});
            ParseEditChain(*words);
            EditInput input = *import ? EditInput::Import : *fresh ? EditInput::New : EditInput::Open;
            context.Run([&](ConsoleUi&) {
                return EditSampleFile(*in, input, *words, out->empty() ? *in : *out, context);
            });
        });
    }
}
