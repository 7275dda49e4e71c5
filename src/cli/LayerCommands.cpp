#include "cli/CliContext.h"
#include "layer/LayerDoc.h"
#include "layer/ReparentDialog.h"
#include "platform/TextEncoding.h"
#include "platform/Ui.h"

#include <filesystem>
#include <memory>

namespace {
void AddSamplesReportCommand(CLI::App& report, CliContext& context) {
    struct Arguments {
        std::string library;
        std::string layer;
        std::string output = CLayerDoc::kSamplesReportFile;
    };
    auto args = std::make_shared<Arguments>();
    CLI::App* samples = report.add_subcommand("samples", "Write the samples report of a layer library");
    samples->add_option("LIB", args->library, "The layer file (.lay)")->required();
    CLI::Option* layerOption =
        samples->add_option("--layer", args->layer, "Report only the entries this layer maps");
    samples->add_option("-o,--output", args->output, "Where to write the report (default SAMPLES.TXT)");
    samples->callback([&context, args, layerOption] {
        CheckOutput(args->output, {}, {args->library});
        context.Run([&](ConsoleUi&) {
            CLayerDoc doc;
            if (!doc.OnOpenDocument(args->library))
                return false;
            const CLayer* layer = nullptr;
            if (layerOption->count() != 0 && !(layer = doc.FindLayer(Utf8ToCp1252(args->layer)))) {
                GetUi().Message("No layer is named " + args->layer);
                return false;
            }
            return doc.ReportSamples(layer, args->output);
        });
    });
}

} // namespace

void AddLayerCommands(CLI::App& app, CliContext& context) {
    AddSamplesReportCommand(*CommandGroup(app, "report", "Write reports"), context);

    struct Arguments {
        std::string library;
        std::string oldRoot;
        std::string newRoot;
        std::string output;
    };
    auto args = std::make_shared<Arguments>();
    CLI::App* reparent =
        app.add_subcommand("reparent", "Replace the leading directory of every sample entry's path");
    reparent->add_option("LIB", args->library, "The layer file")->required();
    reparent->add_option("OLD", args->oldRoot, "The old root")->required();
    reparent->add_option("NEW", args->newRoot, "The new root")->required();
    reparent->add_option("-o,--output", args->output, "Where to write the result (default: LIB)");
    reparent->add_flag("--yes", context.answerYes, "Go on when a directory does not exist");
    reparent->callback([&context, args] {
        if (!args->output.empty())
            CheckOutput(args->output, {".lay"}, {});
        // Reparenting changes the current directory; the files stay where the user named them.
        std::filesystem::path cwd = std::filesystem::current_path();
        std::string library = std::filesystem::absolute(args->library).string();
        std::string output =
            std::filesystem::absolute(args->output.empty() ? args->library : args->output).string();
        context.Run([&](ConsoleUi& ui) {
            CLayerDoc doc;
            if (!doc.OnOpenDocument(library))
                return false;
            ui.QueueDialog<ReparentRoots>(ReparentRoots{args->oldRoot, args->newRoot});
            return doc.OnReparentFilePointers() && doc.OnSaveDocument(output);
        });
        std::error_code ignored;
        std::filesystem::current_path(cwd, ignored);
    });
}
