#include "cli/CliContext.h"
#include "cli/LayerJson.h"
#include "cli/PatchJson.h"
#include "layer/LayerDoc.h"
#include "patch/PatchDoc.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <ostream>

namespace {
// How wloe-cli dumps and builds one kind of document, chosen by the file's extension.
struct DocumentKind {
    const char* extension;
    bool (*dump)(CliContext& context, const std::string& path);
    bool (*build)(const OrderedJson& json, const std::string& path);
};

bool DumpPatchBank(CliContext& context, const std::string& path) {
    CPatchDoc doc;
    if (!doc.OnOpenDocument(path))
        return false;
    context.PrintJson(PatchBankToJson(doc));
    return true;
}

bool BuildPatchBank(const OrderedJson& json, const std::string& path) {
    CPatchDoc doc;
    PatchBankFromJson(json, doc);
    return doc.OnSaveDocument(path);
}

bool DumpLayerLibrary(CliContext& context, const std::string& path) {
    CLayerDoc doc;
    if (!doc.OnOpenDocument(path))
        return false;
    context.PrintJson(LayerDocToJson(doc));
    return true;
}

bool BuildLayerLibrary(const OrderedJson& json, const std::string& path) {
    CLayerDoc doc;
    LayerDocFromJson(json, doc);
    return doc.OnSaveDocument(path);
}

const DocumentKind kDocumentKinds[] = {
    {".pat", &DumpPatchBank, &BuildPatchBank},
    {".lay", &DumpLayerLibrary, &BuildLayerLibrary},
};

const DocumentKind& KindOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string known;
    for (const DocumentKind& kind : kDocumentKinds) {
        if (extension == kind.extension)
            return kind;
        known += known.empty() ? kind.extension : std::string(", ") + kind.extension;
    }
    throw CliUsageError(path + ": not a kind of document wloe-cli knows (" + known + ")");
}

// The JSON of a file, or a message saying why there is none.
std::optional<OrderedJson> ReadJson(const std::string& path) {
    FileContents file = ReadWholeFile(path);
    if (file.error != FileErrorCause::None) {
        GetUi().Message(FileErrorText(file.error, path), MessageIcon::Exclamation);
        return std::nullopt;
    }
    OrderedJson json = OrderedJson::parse(file.bytes, nullptr, false);
    if (json.is_discarded()) {
        GetUi().Message(path + ": not valid JSON", MessageIcon::Exclamation);
        return std::nullopt;
    }
    return json;
}
} // namespace

void AddDocumentCommands(CLI::App& app, CliContext& context) {
    auto dumpPath = std::make_shared<std::string>();
    CLI::App* dump = app.add_subcommand("dump", "Print a document as JSON (.pat, .lay)");
    dump->add_option("FILE", *dumpPath, "The document")->required();
    dump->callback([&context, dumpPath] {
        const DocumentKind& kind = KindOf(*dumpPath);
        context.Run([&](ConsoleUi&) { return kind.dump(context, *dumpPath); });
    });

    auto jsonPath = std::make_shared<std::string>();
    auto outputPath = std::make_shared<std::string>();
    CLI::App* build = app.add_subcommand("build", "Make a new document from JSON, as dump prints it");
    build->add_option("JSON", *jsonPath, "The JSON file")->required();
    build->add_option("-o,--output", *outputPath, "The document to write; its extension says its kind")
        ->required();
    build->callback([&context, jsonPath, outputPath] {
        const DocumentKind& kind = KindOf(*outputPath);
        CheckOutput(*outputPath, {kind.extension}, {*jsonPath});
        context.Run([&](ConsoleUi&) {
            std::optional<OrderedJson> json = ReadJson(*jsonPath);
            if (!json)
                return false;
            try {
                return kind.build(*json, *outputPath);
            } catch (const JsonInputError& error) {
                GetUi().Message(*jsonPath + ": " + error.what(), MessageIcon::Exclamation);
                return false;
            }
        });
    });

    auto bankPath = std::make_shared<std::string>();
    auto reportPath = std::make_shared<std::string>(CPatchDoc::kReportFile);
    CLI::App* patches =
        CommandGroup(app, "report", "Write reports")
            ->add_subcommand("patches", "Write the patch report of a bank (default PATCHES.TXT)");
    patches->add_option("BANK", *bankPath, "The patch bank (.pat)")->required();
    patches->add_option("-o,--output", *reportPath, "Where to write the report");
    patches->callback([&context, bankPath, reportPath] {
        CheckOutput(*reportPath, {}, {*bankPath});
        context.Run([&](ConsoleUi&) {
            CPatchDoc doc;
            return doc.OnOpenDocument(*bankPath) && doc.ReportPatches(*reportPath);
        });
    });
}
