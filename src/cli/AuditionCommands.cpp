// wloe-cli audition and audition-key: the patch editor's and the layer editor's auditions,
// written to a WAV file instead of the sound card.
#include "cli/CliContext.h"
#include "layer/AuditionCopy.h"
#include "layer/LayerDoc.h"
#include "layer/PatchAudition.h"
#include "patch/PatchDoc.h"
#include "platform/DialogValidation.h"
#include "platform/TextEncoding.h"
#include "platform/Ui.h"
#include "sample/SampleDoc.h"

#include <cstring>
#include <memory>

namespace {
// A key or velocity as the audition sliders hold them; outside, the dialog framework's message.
bool InSliderRange(int value) {
    if (value >= 1 && value <= 127)
        return true;
    GetUi().Message(RangeMessage(1, 127));
    return false;
}

const CLayer* FindNamedLayer(const CLayerDoc& layers, const std::string& name) {
    const CLayer* layer = layers.FindLayer(Utf8ToCp1252(name));
    if (!layer)
        GetUi().Message("No layer is named " + name);
    return layer;
}

// Saves `doc` to `path` telling the note it plays, with no loop or the one it holds.
bool SaveAtPitch(CSampleDoc& doc, int note, const std::string& path) {
    doc.m_dPitch = static_cast<double>(NoteFrequency(note));
    return doc.OnSaveDocument(path);
}

void AddPatchAuditionCommand(CLI::App& app, CliContext& context) {
    struct Arguments {
        std::string bank;
        std::string library;
        int patch = 0;
        int key = 0;
        int velocity = 100;
        std::string output;
    };
    auto args = std::make_shared<Arguments>();
    CLI::App* command =
        app.add_subcommand("audition", "Render a patch at a key into a mono 44100 Hz WAV file");
    command->add_option("BANK", args->bank, "The patch bank (.pat)")->required();
    command->add_option("--layers", args->library, "The layer library (.lay) the patch's layers come from")
        ->required();
    command->add_option("--patch", args->patch, "The patch number")->required();
    command->add_option("--key", args->key, "The key, 1..127")->required();
    command->add_option("--velocity", args->velocity, "The velocity, 1..127 (default 100)");
    command->add_option("-o,--output", args->output, "The WAV file to write")->required();
    command->callback([&context, args] {
        CheckOutput(args->output, kSampleOutputKinds, {args->bank, args->library});
        context.Run([&](ConsoleUi&) {
            if (!InSliderRange(args->key) || !InSliderRange(args->velocity))
                return false;
            CPatchDoc bank;
            CLayerDoc layers;
            if (!bank.OnOpenDocument(args->bank) || !layers.OnOpenDocument(args->library))
                return false;
            const CPatch* patch = args->patch >= 0 && args->patch <= 0xFFFF
                                      ? bank.FindPatch(static_cast<std::uint16_t>(args->patch))
                                      : nullptr;
            if (!patch) {
                GetUi().Message("No patch has the number " + std::to_string(args->patch));
                return false;
            }
            CPatchAudition audition;
            const std::int16_t* buffer = audition.Render(layers, *patch, args->key, args->velocity);
            if (audition.PreparedVoices() == 0) {
                GetUi().Message("Nothing sounds: no layer of patch " + std::to_string(args->patch) +
                                " has a sample for key " + std::to_string(args->key));
                return false;
            }
            auto values = std::make_unique<std::int16_t[]>(kVoiceFrames);
            std::memcpy(values.get(), buffer, kVoiceFrames * sizeof(std::int16_t));
            CSampleDoc rendered;
            rendered.SetData(std::move(values), kVoiceFrames, kAuditionRate);
            rendered.SetSampleRange(0, kVoiceFrames);
            return SaveAtPitch(rendered, args->key, args->output);
        });
    });
}

void AddKeyAuditionCommand(CLI::App& app, CliContext& context) {
    struct Arguments {
        std::string library;
        std::string layer;
        int key = 0;
        std::string output;
    };
    auto args = std::make_shared<Arguments>();
    CLI::App* command = app.add_subcommand(
        "audition-key", "Write the copy of a layer's sample that a key plays in the layer editor");
    command->add_option("LIB", args->library, "The layer library (.lay)")->required();
    command->add_option("--layer", args->layer, "The layer's name")->required();
    command->add_option("--key", args->key, "The key, 0..127")->required()->check(CLI::Range(0, 127));
    command->add_option("-o,--output", args->output, "The WAV file to write")->required();
    command->callback([&context, args] {
        CheckOutput(args->output, kSampleOutputKinds, {args->library});
        context.Run([&](ConsoleUi&) {
            CLayerDoc layers;
            if (!layers.OnOpenDocument(args->library))
                return false;
            const CLayer* layer = FindNamedLayer(layers, args->layer);
            if (!layer)
                return false;
            auto key = static_cast<std::uint16_t>(args->key);
            if (!layer->LookupSample(key)) {
                GetUi().Message("Key " + std::to_string(key) + " is not mapped in layer " + args->layer);
                return false;
            }
            CSample* entry = layers.GetSampleDocument(*layer, key);
            if (!entry)
                return false;
            int note = args->key + layer->m_nTranspose;
            std::unique_ptr<CSampleDoc> copy = PrepareKeyCopy(*entry->GetDocument(), note);
            return copy && SaveAtPitch(*copy, note, args->output);
        });
    });
}
} // namespace

void AddAuditionCommands(CLI::App& app, CliContext& context) {
    AddPatchAuditionCommand(app, context);
    AddKeyAuditionCommand(app, context);
}
