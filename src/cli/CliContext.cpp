#include "cli/CliContext.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <system_error>

void CliContext::Run(const std::function<bool(ConsoleUi& ui)>& operation) {
    ConsoleUi ui(answerYes, err);
    ScopedUi scope(ui);
    struct Installed {
        CliContext& context;
        ~Installed() { context.ui = nullptr; }
    } installed{*this};
    this->ui = &ui;
    if (!operation(ui))
        exitCode = kExitFailed;
}

void CliContext::PrintJson(const nlohmann::json& value) {
    out << value.dump() << '\n';
}

void CliContext::PrintJson(const nlohmann::ordered_json& value) {
    out << value.dump() << '\n';
}

CLI::App* CommandGroup(CLI::App& app, const std::string& name, const std::string& help) {
    for (CLI::App* group : app.get_subcommands([&](CLI::App* sub) { return sub->get_name() == name; }))
        return group;
    CLI::App* group = app.add_subcommand(name, help);
    group->require_subcommand(1);
    return group;
}

long long ParseInteger(const std::string& text, const std::string& what) {
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end)
        throw CliUsageError(what + ": not an integer: " + text);
    return value;
}

double ParseReal(const std::string& text, const std::string& what) {
    char* stop = nullptr;
    double value = std::strtod(text.c_str(), &stop);
    if (text.empty() || stop != text.c_str() + text.size())
        throw CliUsageError(what + ": not a number: " + text);
    return value;
}

namespace {
std::string LowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error))
        return true;
    return std::filesystem::weakly_canonical(a, error) == std::filesystem::weakly_canonical(b, error) &&
           !error;
}
} // namespace

void CheckOutput(const std::string& output, const std::vector<std::string>& kinds,
                 const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs)
        if (SameFile(output, input))
            throw CliUsageError(output + ": the output would replace an input of the command");
    std::string extension = LowerExtension(output);
    if (kinds.empty()) {
        for (const char* document : {".pat", ".lay", ".wav", ".sam"})
            if (extension == document)
                throw CliUsageError(output + ": a text is not written under a document's extension (" +
                                    document + ")");
        return;
    }
    if (std::find(kinds.begin(), kinds.end(), extension) != kinds.end())
        return;
    std::string known;
    for (const std::string& kind : kinds)
        known += (known.empty() ? "" : ", ") + kind;
    throw CliUsageError(output + ": this command writes only " + known + " files");
}
