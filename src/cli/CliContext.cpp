#include "cli/CliContext.h"

#include <charconv>
#include <cstdlib>
#include <ostream>

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
