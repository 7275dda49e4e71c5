// wloe-cli commands on Kurzweil program files.
#include "cli/CliContext.h"
#include "sample/KrzFile.h"
#include "sample/RiffReader.h"

#include <memory>
#include <ostream>

void AddKrzCommands(CLI::App& app, CliContext& context) {
    CLI::App* krz = CommandGroup(app, "krz", "Kurzweil K2000 program files (.KRZ)");
    CLI::App* list = krz->add_subcommand(
        "list", "Print the file's samples, one a line, as the import dialog lists them (numbered from 0)");
    auto file = std::make_shared<std::string>();
    list->add_option("FILE", *file, "A Kurzweil .KRZ file")->required();
    list->callback([&context, file] {
        context.Run([&](ConsoleUi&) {
            std::unique_ptr<CFileRiffSource> source = OpenKrzFile(*file);
            if (!source)
                return false;
            for (const KrzSampleEntry& entry : CKrzFile(*source).ListSamples())
                context.out << KrzListText(entry) << '\n';
            return true;
        });
    });
}
