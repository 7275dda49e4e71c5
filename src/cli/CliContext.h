#pragma once

#include "platform/ConsoleUi.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// Exit statuses of wloe-cli.
enum CliExit { kExitSuccess = 0, kExitFailed = 1, kExitUsage = 2 };

// What every command of wloe-cli shares: where it prints, whether questions are answered Yes, and
// the exit status it ends with.
struct CliContext {
    std::ostream& out;
    std::ostream& err;
    bool answerYes = false;
    int exitCode = kExitSuccess;
    // The Ui installed while Run runs: operations queue their dialogs' values on it.
    ConsoleUi* ui = nullptr;

    // Runs a document operation with the console Ui installed. The operation returns whether it
    // succeeded; a message shown along the way does not by itself make it fail.
    void Run(const std::function<bool(ConsoleUi& ui)>& operation);

    // Prints one JSON value on its own line.
    void PrintJson(const nlohmann::json& value);
    void PrintJson(const nlohmann::ordered_json& value);
};

// A command line whose values make no sense: exit status 2.
class CliUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Whole-text numbers; anything else is a usage error naming `what`.
long long ParseInteger(const std::string& text, const std::string& what);
double ParseReal(const std::string& text, const std::string& what);

// Refuses (a usage error), before anything is written, an output that is one of the command's
// inputs, or whose extension is not one of `kinds` (".wav", ...; any case). With no kinds the output
// is text, and may not carry the extension of a document.
void CheckOutput(const std::string& output, const std::vector<std::string>& kinds,
                 const std::vector<std::string>& inputs);
inline const std::vector<std::string> kSampleOutputKinds = {".wav", ".sam"};

// A group of commands that several command files add to (such as "report"), made by the first
// that asks for it.
CLI::App* CommandGroup(CLI::App& app, const std::string& name, const std::string& help);

// The command groups; each adds its subcommands to the application.
void AddPitchCommands(CLI::App& app, CliContext& context);
void AddSampleCommands(CLI::App& app, CliContext& context);
void AddPlayCommands(CLI::App& app, CliContext& context);
void AddDocumentCommands(CLI::App& app, CliContext& context);
void AddKrzCommands(CLI::App& app, CliContext& context);
void AddLayerCommands(CLI::App& app, CliContext& context);
void AddAuditionCommands(CLI::App& app, CliContext& context);
