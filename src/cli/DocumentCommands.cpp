#include "cli/CliContext.h"
#include "cli/LayerCommands.h"
#include "platform/FileIo.h"
#include "platform/Ui.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace {
// How each kind of document is shown as JSON and made from it, chosen by the file's extension.
struct DocumentKind {
    const char* extension;
    bool (*dump)(CliContext& context, const std::string& path);
    bool (*build)(CliContext& context, const nlohmann::json& source, const std::string& output);
};

constexpr DocumentKind kDocumentKinds[] = {
    {".lay", &DumpLayerFile, &BuildLayerFile},
};

const DocumentKind& KindOf(const std::string& path, const std::string& command) {
    std::size_t dot = path.find_last_of("./\\");
    std::string extension = dot == std::string::npos || path[dot] != '.' ? "" : path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const DocumentKind& kind : kDocumentKinds)
        if (extension == kind.extension)
            return kind;
    throw CliUsageError(command + ": no document kind has the extension of " + path);
}

bool ReadJson(const std::string& path, nlohmann::json& source) {
    FileContents file = ReadWholeFile(path);
    if (file.error != FileErrorCause::None) {
        GetUi().Message(FileErrorText(file.error, path));
        return false;
    }
    try {
        source = nlohmann::json::parse(file.bytes.begin(), file.bytes.end());
    } catch (const nlohmann::json::parse_error& error) {
        GetUi().Message(path + ": " + error.what());
        return false;
    }
    return true;
}
} // namespace

void AddDocumentCommands(CLI::App& app, CliContext& context) {
    CLI::App* dump = app.add_subcommand("dump", "Print a document as JSON");
    auto dumpPath = std::make_shared<std::string>();
    dump->add_option("FILE", *dumpPath, "The document")->required();
    dump->callback([&context, dumpPath] {
        const DocumentKind& kind = KindOf(*dumpPath, "dump");
        context.Run([&](ConsoleUi&) { return kind.dump(context, *dumpPath); });
    });

    CLI::App* build =
        app.add_subcommand("build", "Make a document from JSON; its kind follows the output's extension");
    auto source = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>();
    build->add_option("JSON", *source, "The JSON file")->required();
    build->add_option("-o,--output", *output, "The document to write")->required();
    build->callback([&context, source, output] {
        const DocumentKind& kind = KindOf(*output, "build");
        context.Run([&](ConsoleUi&) {
            nlohmann::json json;
            return ReadJson(*source, json) && kind.build(context, json, *output);
        });
    });

    CLI::App* report = app.add_subcommand("report", "Write a report");
    report->require_subcommand(1);
    AddSamplesReportCommand(*report, context);
}
