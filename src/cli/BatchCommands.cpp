// Many inputs, one command: the single-file flows of edit and convert on worker threads.
//
// Threads rather than worker processes: every file's flow reaches the person at the keyboard only
// through GetUi() and its CliContext, so each file gets a Ui and a context of its own, the Ui
// installed for its thread alone. Everything else the flows touch is either per document or built
// once before the workers start (the sinc table) and only read. Threads share the allocator's
// freed buffers from one file to the next, where processes would fault in fresh pages for each.
#include "cli/BatchCommands.h"

#include "cli/EditChain.h"
#include "platform/CommitQueue.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <new>
#include <set>
#include <sstream>
#include <thread>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
// A file's Ui: its messages are kept for the report; questions are answered as --yes says,
// without being shown (nothing but errors reaches the terminal).
class BatchUi : public ConsoleUi {
public:
    BatchUi(bool yes, std::ostream& err) : ConsoleUi(yes, err), m_bYes(yes) {}
    Answer Ask(const std::string&, AskButtons buttons, MessageIcon) override {
        if (buttons == AskButtons::OkCancel)
            return m_bYes ? Answer::Ok : Answer::Cancel;
        return m_bYes ? Answer::Yes : Answer::No;
    }

private:
    bool m_bYes;
};

// Prints what the workers report: one progress line on a terminal, and each failed or warned
// file's messages, every line led by the file's path.
class BatchReporter {
public:
    BatchReporter(std::ostream& err, std::size_t total)
        : m_err(err), m_nTotal(total), m_bTerminal(&err == &std::cerr && ::isatty(STDERR_FILENO)) {}

    void Started(const std::string& path) {
        std::lock_guard lock(m_mutex);
        m_strCurrent = path;
        ShowProgress();
    }

    void Finished(const std::string& path, const std::string& messages) {
        std::lock_guard lock(m_mutex);
        ++m_nDone;
        if (!messages.empty()) {
            ClearProgress();
            std::istringstream lines(messages);
            for (std::string line; std::getline(lines, line);)
                m_err << path << ": " << line << '\n';
        }
        ShowProgress();
    }

    // A file that failed after its flow had finished: its output could not be put in place.
    void Failed(const std::string& path, const std::string& message) {
        std::lock_guard lock(m_mutex);
        ClearProgress();
        m_err << path << ": " << message << '\n';
        ShowProgress();
    }

    void End() {
        std::lock_guard lock(m_mutex);
        ClearProgress();
    }

private:
    void ShowProgress() {
        if (!m_bTerminal)
            return;
        m_err << '\r' << m_nDone << '/' << m_nTotal << ' ' << m_strCurrent << "\033[K" << std::flush;
        m_bShown = true;
    }
    void ClearProgress() {
        if (m_bShown)
            m_err << "\r\033[K" << std::flush;
        m_bShown = false;
    }

    std::mutex m_mutex;
    std::ostream& m_err;
    std::size_t m_nTotal;
    std::size_t m_nDone = 0;
    std::string m_strCurrent;
    bool m_bTerminal;
    bool m_bShown = false;
};

unsigned JobCount(const std::string& text, std::size_t files) {
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    if (!text.empty()) {
        long long value = ParseInteger(text, "--jobs");
        if (value < 1 || value > 1024)
            throw CliUsageError("--jobs: expected 1 to 1024: " + text);
        jobs = static_cast<unsigned>(value);
    }
    return static_cast<unsigned>(std::min<std::size_t>(jobs, std::max<std::size_t>(files, 1)));
}

std::string OutputPath(const std::string& input, const BatchOptions& options) {
    std::filesystem::path name = std::filesystem::path(input).filename();
    if (!options.to.empty())
        name.replace_extension("." + options.to);
    return (std::filesystem::path(options.outDir) / name).string();
}

std::string Canonical(const std::string& path) {
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    return error ? path : canonical.string();
}

// The outputs, one per input, refused (a usage error, before anything is written) when one
// would replace an input or two would land on the same name.
std::vector<std::string> PlanOutputs(const std::vector<std::string>& inputs, const BatchOptions& options) {
    std::set<std::string> read;
    for (const std::string& input : inputs)
        read.insert(Canonical(input));
    std::set<std::string> written;
    std::vector<std::string> outputs;
    for (const std::string& input : inputs) {
        if (std::filesystem::path(input).filename().empty())
            throw CliUsageError(input + ": names no file");
        std::string output = OutputPath(input, options);
        CheckOutput(output, kSampleOutputKinds, {});
        std::string canonical = Canonical(output);
        if (read.contains(canonical))
            throw CliUsageError(output + ": the output would replace an input of the command");
        if (!written.insert(canonical).second)
            throw CliUsageError(output + ": two inputs would be written to the same file");
        outputs.push_back(output);
    }
    return outputs;
}

// One file's flow, with its own Ui and context; its messages come back as text.
bool RunOne(const std::string& in, const std::string& out, const BatchWork& work, bool yes,
            std::string& messages) {
    std::ostringstream err;
    std::ostringstream ignored;
    BatchUi ui(yes, err);
    Service<Ui>::ThreadScope scope(ui);
    CliContext fileContext{ignored, err};
    fileContext.answerYes = yes;
    fileContext.ui = &ui;
    bool done = false;
    try {
        done = work(in, out, fileContext);
    } catch (const std::bad_alloc&) {
        err << "Not enough memory\n";
    } catch (const std::exception& error) {
        err << "The command could not be completed: " << error.what() << '\n';
    }
    messages = err.str();
    if (!done && messages.empty())
        messages = "not written\n";
    return done;
}
} // namespace

CLI::Option* AddBatchOptions(CLI::App& command, BatchOptions& options) {
    CLI::Option* outDir = command.add_option(
        "--out-dir", options.outDir,
        "Work on every input, each written under this directory with its own name (made if missing)");
    command.add_option("--to", options.to, "With --out-dir: the form of the outputs, wav or sam")
        ->check(CLI::IsMember({"wav", "sam"}))
        ->needs(outDir);
    command
        .add_option("--jobs", options.jobs, "With --out-dir: files worked on at once (default: one per core)")
        ->needs(outDir);
    return outDir;
}

void RunBatch(const std::vector<std::string>& inputs, const BatchOptions& options, const BatchWork& work,
              CliContext& context) {
    std::vector<std::string> outputs = PlanOutputs(inputs, options);
    unsigned jobs = JobCount(options.jobs, inputs.size());
    std::error_code error;
    std::filesystem::create_directories(options.outDir, error);
    if (error || !std::filesystem::is_directory(options.outDir)) {
        context.err << options.outDir << ": " << (error ? error.message() : "not a directory") << '\n';
        context.exitCode = kExitFailed;
        return;
    }

#if defined(__GLIBC__)
    // Every file's buffers go back to the allocator and stay there, so that the next file's come
    // from pages already touched rather than fresh ones faulted in (the largest the allocator keeps
    // off its own mappings; longer files are mapped afresh whatever is done).
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
    BatchReporter reporter(context.err, inputs.size());
    std::atomic<std::size_t> next{0};
    std::atomic<bool> anyFailed{false};
    std::map<std::string, std::string> inputOf;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        inputOf[Canonical(outputs[i])] = inputs[i];
    // The outputs are synced and renamed into place behind the workers.
    CommitQueue commits([&](const std::string& path, int error) {
        auto input = inputOf.find(Canonical(path));
        reporter.Failed(input != inputOf.end() ? input->second : path, FileProblemText(path, error));
        anyFailed = true;
    });
    auto worker = [&] {
        CommitQueue::ThreadScope committing(commits);
        for (std::size_t i; (i = next.fetch_add(1)) < inputs.size();) {
            reporter.Started(inputs[i]);
            std::string messages;
            if (!RunOne(inputs[i], outputs[i], work, context.answerYes, messages))
                anyFailed = true;
            reporter.Finished(inputs[i], messages);
        }
    };
    std::vector<std::jthread> threads;
    for (unsigned j = 1; j < jobs; ++j)
        threads.emplace_back(worker);
    worker();
    threads.clear();
    commits.Finish();
    reporter.End();
    if (anyFailed)
        context.exitCode = kExitFailed;
}

void RunBatchEdit(const std::string& first, const std::vector<std::string>& words,
                  const BatchOptions& options, CliContext& context) {
    std::vector<std::string> inputs{first};
    auto ops = std::find_if(words.begin(), words.end(), IsEditOperation);
    inputs.insert(inputs.end(), words.begin(), ops);
    std::vector<std::string> chainWords(ops, words.end());
    if (chainWords.empty())
        throw CliUsageError("edit: no operation after the inputs");
    ParseEditChain(chainWords);
    RunBatch(
        inputs, options,
        [&chainWords](const std::string& in, const std::string& out, CliContext& fileContext) {
            // Each file parses its own chain: an action may keep state while it runs.
            return EditSampleFile(in, EditInput::Open, chainWords, out, fileContext);
        },
        context);
}

void RunBatchConvert(const std::string& first, const std::vector<std::string>& rest,
                     const BatchOptions& options, CliContext& context) {
    std::vector<std::string> inputs{first};
    inputs.insert(inputs.end(), rest.begin(), rest.end());
    RunBatch(
        inputs, options,
        [](const std::string& in, const std::string& out, CliContext&) { return ConvertSampleFile(in, out); },
        context);
}
