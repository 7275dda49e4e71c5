#include "cli/Cli.h"

#include "cli/CliContext.h"
#include "docview/UndoHistory.h"
#include "sample/Resample.h"
#include "sample/SampleDoc.h"

#include <algorithm>
#include <exception>
#include <new>
#include <ostream>

namespace {
// Nothing is undone here: the operations keep no copies of what they change.
class NoUndo {
public:
    NoUndo() : m_bWas(CUndoHistory::IsRecording()) { CUndoHistory::SetRecording(false); }
    ~NoUndo() { CUndoHistory::SetRecording(m_bWas); }
    NoUndo(const NoUndo&) = delete;
    NoUndo& operator=(const NoUndo&) = delete;

private:
    bool m_bWas;
};
} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    NoUndo noUndo;
    BuildSincTable();
    CSampleDoc::SetFormatRefusalHint("Use wloe-cli convert IN OUT.wav, or edit --import, to convert it.");
    CliContext context{out, err};
    CLI::App app{"wloe-cli: the Wavelith Object Editor's document operations, headless", "wloe-cli"};
    app.require_subcommand(1);
    AddPitchCommands(app, context);
    AddSampleCommands(app, context);
    AddPlayCommands(app, context);
    AddDocumentCommands(app, context);
    AddKrzCommands(app, context);
    AddLayerCommands(app, context);
    AddAuditionCommands(app, context);

    // CLI11 parses a reversed argument list.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        // Help prints itself; a mistake takes one line.
        if (error.get_exit_code() == 0)
            return app.exit(error, out, err) == 0 ? kExitSuccess : kExitUsage;
        err << error.what() << '\n';
        return kExitUsage;
    } catch (const CliUsageError& error) {
        err << error.what() << '\n';
        return kExitUsage;
    } catch (const std::bad_alloc&) {
        err << "Not enough memory\n";
        return kExitFailed;
    } catch (const std::exception& error) {
        // Whatever the operation met (a vanished working directory, ...), never an abort.
        err << "The command could not be completed: " << error.what() << '\n';
        return kExitFailed;
    }
    return context.exitCode;
}
