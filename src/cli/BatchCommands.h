#pragma once

#include "cli/CliContext.h"

#include <functional>
#include <string>
#include <vector>

// What turns a single-file command into one over many inputs: the directory the outputs go to
// (each under its input's name), the form they take ("wav", "sam"; empty: the input's own), and
// how many files are worked on at once (empty: one per core).
struct BatchOptions {
    std::string outDir;
    std::string to;
    std::string jobs;

    bool Requested() const { return !outDir.empty(); }
};

// Adds --out-dir, --to and --jobs to a command; returns --out-dir, for the options it excludes.
CLI::Option* AddBatchOptions(CLI::App& command, BatchOptions& options);

// `edit IN... --out-dir DIR OPS...`: the words before the first operation's name are further
// inputs. Every input gets the chain on its own copy, written to DIR.
void RunBatchEdit(const std::string& first, const std::vector<std::string>& words,
                  const BatchOptions& options, CliContext& context);
void RunBatchConvert(const std::string& first, const std::vector<std::string>& rest,
                     const BatchOptions& options, CliContext& context);

// One file's work: read `in`, write `out`, saying what went wrong through GetUi() and
// `fileContext.err`. Runs on a worker thread with a Ui of its own installed.
using BatchWork = std::function<bool(const std::string& in, const std::string& out, CliContext& fileContext)>;

// Runs `work` on every input, `options.jobs` at a time. A file that fails is reported as
// "PATH: message" and skipped, the others go on; the exit status is then 1. On a terminal one line
// shows how many files are done and which is being worked on.
void RunBatch(const std::vector<std::string>& inputs, const BatchOptions& options, const BatchWork& work,
              CliContext& context);
