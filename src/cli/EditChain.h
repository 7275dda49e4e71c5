#pragma once

#include "cli/CliContext.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CSampleDoc;

// One operation of an edit chain, its arguments already checked. False ends the chain.
using EditAction = std::function<bool(CSampleDoc& doc, CliContext& context)>;

// Checks the whole chain before anything is opened, so a usage error changes nothing. An action
// may keep state between its steps: a chain serves one thread.
std::vector<EditAction> ParseEditChain(const std::vector<std::string>& words);
bool IsEditOperation(const std::string& word);

// Where an edit's sample comes from: IN opened as the editor opens it, a new sample, or IN
// imported from any audio file libsndfile reads.
enum class EditInput { Open, New, Import };

// The single-file commands, with the Ui already installed: read IN (or start a new sample), run
// the chain its words name, write OUT; read IN (any audio), write OUT in the form its extension
// names. False when anything failed or was refused (its message shown); nothing is then written.
bool EditSampleFile(const std::string& in, EditInput input, const std::vector<std::string>& words,
                    const std::string& out, CliContext& context);

// A chain that can run on a WAVE file without loading its audio, run so, writing the same file
// the document's way would; nothing when it cannot (the caller then takes the document's way).
std::optional<bool> EditStreamed(const std::string& in, const std::vector<std::string>& words,
                                 const std::string& out);
bool ConvertSampleFile(const std::string& in, const std::string& out);
