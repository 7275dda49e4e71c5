#include "app/Dialogs.h"
#include "app/GuardedApplication.h"
#include "app/MainFrame.h"
#include "app/QtUi.h"
#include "app/StartupOptions.h"
#include "app/WloeApp.h"
#include "platform/IniSettings.h"
#include "platform/PortAudioDevice.h"
#include "sample/Player.h"
#include "sample/Resample.h"
#include "sample/SampleDoc.h"
#include "ui/layer/LayerDialogs.h"
#include "ui/layer/LayerFrame.h"
#include "ui/patch/PatchDialogs.h"
#include "ui/patch/PatchFrame.h"
#include "ui/wave/SampleFrame.h"
#include "ui/wave/WaveDialogs.h"

#include <QApplication>

#include <algorithm>
#include <iostream>

int main(int argc, char** argv) {
    // Help and the version need no display.
    StartupOptions options = ParseCommandLine({argv + std::min(argc, 1), argv + argc}, "/");
    if (options.request == StartupOptions::Request::Help) {
        std::cout << UsageText();
        return 0;
    }
    if (options.request == StartupOptions::Request::Version) {
        std::cout << VersionText();
        return 0;
    }
    CGuardedApplication application(argc, argv);
    QApplication::setApplicationName("wloe");
    // What is left once Qt has taken its own options (-platform, -style, ...).
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    for (const std::string& option : ParseCommandLine(args, "/").ignored)
        std::cerr << "wloe: ignoring the unknown option " << option << "\n";

    IniSettings settings(IniSettings::DefaultPath());
    ScopedSettings settingsScope(settings);
    QtUi ui;
    RegisterWaveDialogs(ui.Dialogs());
    RegisterPatchDialogs(ui.Dialogs());
    RegisterLayerDialogs(ui.Dialogs());
    ui.Dialogs().Register<ReparentRoots>(AskReparentRoots);
    ScopedUi uiScope(ui);
    QtShell shell;
    ScopedShell shellScope(shell);
    PortAudioDevice audio;
    ScopedAudioDevice audioScope(audio);

    CWloeApp app(settings, QCoreApplication::applicationFilePath().toStdString(), args);
    app.RegisterEditor(DocumentKind::Patch, PatchEditorFactory(app));
    app.RegisterEditor(DocumentKind::Layer, LayerEditorFactory());
    app.RegisterEditor(DocumentKind::Wave, SampleEditorFactory());
    app.Start();
    BuildSincTable();
    CSampleDoc::SetFormatRefusalHint("Use Import > Audio file... to convert it.");
    ui.SetParent(&app.MainFrame());
    app.OpenDocumentFiles(app.StartupFiles());
    int code = QApplication::exec();
    PlayerStop();
    return code;
}
