#include "PerTestUi.h"
#include "cli/CliRunner.h"

#include "layer/LayerDoc.h"
#include "patch/PatchDoc.h"
#include "platform/FileIo.h"
#include "sample/PitchNames.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"
#include "testing/FakeAudioDevice.h"
#include "ui/QtDialogs.h"
#include "ui/patch/AddRoutingDialog.h"
#include "ui/patch/BreakpointGraph.h"
#include "ui/patch/EnvelopePage.h"
#include "ui/patch/PatchDialogs.h"
#include "ui/patch/PatchFormModel.h"
#include "ui/patch/PatchFormView.h"
#include "ui/patch/PatchFrame.h"
#include "ui/patch/PatchPropertySheet.h"
#include "ui/patch/PatchTreeView.h"
#include "ui/patch/RoutingPage.h"
#include "ui/patch/SelectLayerDialog.h"
#include "ui/patch/XfadePage.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <nlohmann/json.hpp>

#include <fstream>
#include <functional>

namespace {
// Scripted answers, except that the patch dialogs really show, for the test to drive.
class PatchDialogsUi : public ScriptedUi {
public:
    PatchDialogsUi() { RegisterPatchDialogs(m_dialogs); }

protected:
    std::optional<std::any> AskDialogValues(const std::any& initial) override {
        if (m_dialogs.Has(initial.type()))
            return m_dialogs.Show(nullptr, initial);
        return ScriptedUi::AskDialogValues(initial);
    }

private:
    QtDialogs m_dialogs;
};

// Runs `drive` on the modal dialog of type D once it shows.
template <class D> void WhenShown(std::function<void(D&)> drive) {
    QTimer::singleShot(0, [drive] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog) {
            qWarning("no dialog showed");
            return;
        }
        drive(*dialog);
    });
}

void Click(QTreeWidget* tree, QTreeWidgetItem* item) {
    QVERIFY(item);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

// The pixel of logical (x, y) on a graph, as its model maps it.
QPoint PixelOf(const CBreakpointGraph& graph, int x, int y) {
    const CBreakpointGraphModel& m = graph.Model();
    return {static_cast<int>(static_cast<long long>(x - m.GetXLow()) * graph.width() /
                             (m.GetXHigh() - m.GetXLow())),
            static_cast<int>(static_cast<long long>(m.GetYHigh() - y) * graph.height() /
                             (m.GetYHigh() - m.GetYLow()))};
}

nlohmann::json Dump(const std::string& path) {
    CliResult result = RunWloeCli({"dump", path});
    if (result.exitCode != 0)
        qWarning("dump failed: %s", result.err.c_str());
    return nlohmann::json::parse(result.out);
}
} // namespace

class PatchFrameTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDir> m_dir;
    std::unique_ptr<PatchDialogsUi> m_ui;
    std::unique_ptr<ScopedUi> m_uiScope;
    std::string m_layerFile;
    std::string m_bankFile;

    // A library of one layer, "Tone", playing a looped WAV on every key, and a bank of two
    // patches that use it.
    void MakeFiles() {
        auto sample = std::make_unique<CSampleDoc>();
        auto data = std::make_unique<std::int16_t[]>(1000);
        for (int i = 0; i < 1000; ++i)
            data[static_cast<std::size_t>(i)] = static_cast<std::int16_t>((i % 100) * 100 - 5000);
        sample->SetData(std::move(data), 1000, 44100);
        sample->m_dPitch = 441.0;
        sample->SetLoopRange(0, 1000);
        QVERIFY(sample->OnSaveDocument(m_dir->File("tone.wav")));
        CLayerDoc library;
        auto entry = std::make_unique<CSample>();
        entry->m_strPath = m_dir->File("tone.wav");
        auto layer = std::make_unique<CLayer>();
        for (std::uint16_t key = 0; key <= kHighestKey; ++key)
            layer->m_keys.Set(key, entry.get());
        library.AddSample("tone", std::move(entry));
        library.SetLayer("Tone", std::move(layer));
        m_layerFile = m_dir->File("Wl.lay");
        QVERIFY(library.OnSaveDocument(m_layerFile));

        CPatchDoc bank;
        for (std::uint16_t number : {2, 5}) {
            auto patch = std::make_unique<CPatch>();
            patch->m_strName = number == 2 ? "Two" : "Five";
            auto params = std::make_unique<CLayerParams>();
            params->m_strLayerName = "Tone";
            params->m_envelope.SetPoints({});
            params->m_envelope.SetPoint(0, 0, 0);
            params->m_envelope.SetPoint(1, 200, -20);
            patch->m_layers.push_back(std::move(params));
            bank.SetPatch(number, std::move(patch));
        }
        m_bankFile = m_dir->File("bank.pat");
        QVERIFY(bank.OnSaveDocument(m_bankFile));
    }

    std::unique_ptr<CPatchFrame> OpenFrame(const std::string& path,
                                           CPatchFrame::OpenFunction open = nullptr) {
        auto doc = std::make_unique<CPatchDoc>();
        if (!doc->OnOpenDocument(path))
            return nullptr;
        doc->SetPathName(path);
        auto frame = std::make_unique<CPatchFrame>(std::move(doc), m_layerFile, std::move(open));
        frame->resize(1000, 720);
        frame->show();
        if (!QTest::qWaitForWindowExposed(frame.get()))
            qWarning("the window was not exposed");
        return frame;
    }

private slots:
    void init() {
        m_dir = std::make_unique<TempDir>();
        m_ui = std::make_unique<PatchDialogsUi>();
        m_uiScope = std::make_unique<ScopedUi>(*m_ui);
        MakeFiles();
    }
    void cleanup() {
        m_uiScope.reset();
        m_ui.reset();
        m_dir.reset();
    }

    void toolbarAndPanesAreLaidOutAsTheWindowOpens() {
        auto frame = OpenFrame(m_bankFile);
        QVERIFY(frame);
        QStringList layout, prompts;
        for (QAction* action : frame->ToolBar()->actions()) {
            layout << (action->isSeparator() ? "|" : action->toolTip());
            if (!action->isSeparator()) {
                prompts << action->statusTip();
                QVERIFY(!action->icon().isNull());
            }
        }
        QCOMPARE(layout, QStringList({"New patch", "Add layer", "|", "Delete object", "|", "Replace layer"}));
        QCOMPARE(prompts.front(), QString("Add a new patch"));
        QCOMPARE(prompts.back(), QString("Replace the current layer"));
        QCOMPARE(frame->Splitter()->count(), 2);
        // The first patch's first layer is selected; its sample shows under it.
        QTreeWidget* tree = frame->TreeView();
        QCOMPARE(tree->topLevelItemCount(), 2);
        QCOMPARE(tree->topLevelItem(0)->text(0), QString("2 Two"));
        QCOMPARE(tree->currentItem()->text(0), QString("Tone"));
        QCOMPARE(tree->currentItem()->child(0)->text(0), QString("tone"));
        QCOMPARE(frame->FormView()->LayerText()->text(), QString("Two -> Tone"));
        QVERIFY(frame->FormView()->LayerText()->isVisible());
        QVERIFY(m_ui->Messages().empty());
    }

    void editsMadeInTheWindowReachTheSavedFile() {
        FakeAudioDevice device;
        ScopedAudioDevice deviceScope(device);
        auto frame = OpenFrame(m_bankFile);
        QVERIFY(frame);
        CPatchTreeView* tree = frame->TreeView();
        CPatchFormView* form = frame->FormView();

        // Select the second patch, rename it and give it another number.
        Click(tree, tree->topLevelItem(1));
        QCOMPARE(form->NameBox()->text(), QString("Five"));
        QVERIFY(!form->SheetApplyButton()->isVisible());
        form->NameBox()->setText("Bright");
        form->NumberBox()->setText("9");
        QTest::mouseClick(form->ApplyButton(), Qt::LeftButton);
        QCOMPARE(tree->topLevelItem(1)->text(0), QString("9 Bright"));
        QVERIFY(frame->PatchDoc().FindPatch(5) == nullptr);

        // Its layer: add "Velocity to Amp Env Dur", stage 2, through the dialog.
        tree->topLevelItem(1)->setExpanded(true);
        Click(tree, tree->topLevelItem(1)->child(0));
        QCOMPARE(form->LayerText()->text(), QString("Bright -> Tone"));
        CPatchPropertySheet* sheet = form->Sheet();
        sheet->setCurrentIndex(1);
        CRoutingPage* keys = sheet->KeyRoutingPage();
        WhenShown<CAddRoutingDialog>([](CAddRoutingDialog& dialog) {
            QVERIFY(!dialog.OkButton()->isEnabled());
            dialog.Sources()->setCurrentRow(0);
            dialog.Destinations()->setCurrentRow(3);
            QVERIFY(dialog.StageBox()->isVisible());
            QVERIFY(!dialog.ControllerBox()->isVisible());
            dialog.StageBox()->setText("2");
            QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        });
        QTest::mouseClick(keys->AddButton(), Qt::LeftButton);
        QCOMPARE(keys->List()->count(), 1);
        QCOMPARE(keys->List()->item(0)->text(), QString("Velocity to AmpEnvDur 2"));
        QCOMPARE(keys->YHighLabel()->text(), QString("+200%"));
        QVERIFY(keys->ZoomButton()->isEnabled());
        QVERIFY(!sheet->ContinuousRoutingPage()->ZoomButton()->isEnabled());
        QCOMPARE(sheet->ContinuousRoutingPage()->YHighLabel()->text(), QString());

        // Drag the envelope's 200 ms point down to about -40 dB.
        sheet->setCurrentIndex(0);
        CBreakpointGraph* graph = sheet->EnvelopePage()->Graph();
        QPoint from = PixelOf(*graph, 200, -20);
        QPoint to = PixelOf(*graph, 200, -40);
        QTest::mousePress(graph, Qt::LeftButton, {}, from);
        QTest::mouseMove(graph, to);
        QVERIFY(sheet->EnvelopePage()->ReadOut()->text().startsWith("(2"));
        QTest::mouseRelease(graph, Qt::LeftButton, {}, to);
        QCOMPARE(sheet->EnvelopePage()->ReadOut()->text(), QString());
        std::int16_t dragged = PackedY(graph->Model().GetPoint(1));
        QVERIFY(dragged <= -38 && dragged >= -42);
        sheet->EnvelopePage()->ReleaseBox()->setText("450");
        QTest::mouseClick(form->SheetApplyButton(), Qt::LeftButton);
        QVERIFY(form->SheetResetButton()->isEnabled());
        QVERIFY(frame->PatchDoc().IsModified());

        // Play sounds the patch through the wave device.
        QTest::mouseClick(form->PlayButton(), Qt::LeftButton);
        QCOMPARE(device.WrittenHistory().size(), std::size_t{1});
        QCOMPARE(device.WrittenHistory()[0].nBytes, std::size_t{150000 * 2});
        QCOMPARE(frame->FormModel().Audition().PreparedVoices(), 1);

        QVERIFY(frame->Save(false));
        QVERIFY(!frame->PatchDoc().IsModified());
        nlohmann::json bank = Dump(m_bankFile);
        QCOMPARE(bank["patches"].size(), std::size_t{2});
        // The bank lists its patches in the file's order.
        const bool nineFirst = bank["patches"][0]["number"] == 9;
        const nlohmann::json& patch = bank["patches"][nineFirst ? 0 : 1];
        const nlohmann::json& other = bank["patches"][nineFirst ? 1 : 0];
        QCOMPARE(patch["number"].get<int>(), 9);
        QCOMPARE(patch["name"].get<std::string>(), std::string("Bright"));
        const nlohmann::json& layer = patch["layers"][0];
        QCOMPARE(layer["envelope"]["release"].get<int>(), 450);
        QCOMPARE(layer["envelope"]["points"][1][1].get<int>(), static_cast<int>(dragged));
        QCOMPARE(layer["key_routings"].size(), std::size_t{1});
        QCOMPARE(layer["key_routings"][0]["source"].get<int>(), 2);
        QCOMPARE(layer["key_routings"][0]["destination"].get<int>(), 4);
        QCOMPARE(layer["key_routings"][0]["stage"].get<int>(), 1);
        QCOMPARE(layer["key_routings"][0]["curve"], nlohmann::json::parse("[[1,100]]"));
        // The other patch is as it was.
        QCOMPARE(other["number"].get<int>(), 2);
        QCOMPARE(other["layers"][0]["key_routings"].size(), std::size_t{0});
        QCOMPARE(other["layers"][0]["envelope"]["release"].get<int>(), 0);
    }

    void treeCommandsAskForALayerAndKeepTheDocumentInStep() {
        auto frame = OpenFrame(m_bankFile);
        QVERIFY(frame);
        CPatchTreeView* tree = frame->TreeView();
        Click(tree, tree->topLevelItem(0));
        QVERIFY(frame->IsCommandEnabled(Command::AddLayer));
        QVERIFY(!frame->IsCommandEnabled(Command::ReplaceLayer));
        WhenShown<CSelectLayerDialog>([](CSelectLayerDialog& dialog) {
            QCOMPARE(dialog.List()->count(), 1);
            QListWidgetItem* item = dialog.List()->item(0);
            QCOMPARE(item->text(), QString("Tone"));
            // A real double click starts with a click: the view wants its press first.
            QPoint centre = dialog.List()->visualItemRect(item).center();
            QTest::mouseClick(dialog.List()->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(dialog.List()->viewport(), Qt::LeftButton, {}, centre);
            if (dialog.isVisible()) {
                qWarning("the double click did not close the dialog");
                dialog.reject();
            }
        });
        QVERIFY(frame->OnCommand(Command::AddLayer));
        QCOMPARE(frame->PatchDoc().FindPatch(2)->m_layers.size(), std::size_t{2});
        QCOMPARE(tree->currentItem()->text(0), QString("Tone"));
        QVERIFY(frame->IsCommandEnabled(Command::ReplaceLayer));

        QVERIFY(frame->OnCommand(Command::NewPatch));
        QCOMPARE(tree->currentItem()->text(0), QString("3 New Patch"));
        QVERIFY(frame->OnCommand(Command::DeleteObject));
        QCOMPARE(tree->topLevelItemCount(), 2);
        QVERIFY(m_ui->Questions().empty());
    }

    void doubleClickOpensOnlySamplesAndSlidersPageWithinTheKeys() {
        std::vector<std::string> opened;
        auto frame = OpenFrame(m_bankFile, [&opened](const std::string& path) { opened.push_back(path); });
        QVERIFY(frame);
        CPatchTreeView* tree = frame->TreeView();
        QTreeWidgetItem* layer = tree->topLevelItem(0)->child(0);
        layer->setExpanded(true);
        // The sample first: a double click on the others folds them away.
        for (QTreeWidgetItem* item : {layer->child(0), layer, tree->topLevelItem(0)}) {
            QPoint centre = tree->visualItemRect(item).center();
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
        }
        QCOMPARE(opened, std::vector<std::string>{m_dir->File("tone.wav")});

        CPatchFormView* form = frame->FormView();
        form->PitchSlider()->setFocus();
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(form->PitchSlider(), Qt::Key_PageDown);
        QCOMPARE(form->Model().Pitch(), 1);
        QCOMPARE(form->PitchSlider()->value(), 1);
        QCOMPARE(form->PitchText()->text(), QString::fromStdString(KeyName(1)));
        QTest::keyClick(form->VelocitySlider(), Qt::Key_PageUp);
        QTest::keyClick(form->VelocitySlider(), Qt::Key_PageUp);
        QTest::keyClick(form->VelocitySlider(), Qt::Key_PageUp);
        QTest::keyClick(form->VelocitySlider(), Qt::Key_Left);
        QCOMPARE(form->Model().Velocity(), 126);
        QCOMPARE(form->VelocityText()->text(), QString("126"));
    }

    void anUneditedBankSavesAsTheCliBuildsItsDump() {
        std::string bank = m_dir->File("demo.pat");
        QCOMPARE(RunWloeCli({"build", WLOE_DEMO_BANK_JSON, "-o", bank}).exitCode, 0);
        CliResult dump = RunWloeCli({"dump", bank});
        QCOMPARE(dump.exitCode, 0);
        std::string json = m_dir->File("dump.json");
        std::ofstream(json) << dump.out;
        std::string rebuilt = m_dir->File("rebuilt.pat");
        QCOMPARE(RunWloeCli({"build", json, "-o", rebuilt}).exitCode, 0);

        auto frame = OpenFrame(bank);
        QVERIFY(frame);
        // Looking around changes nothing.
        CPatchTreeView* tree = frame->TreeView();
        Click(tree, tree->topLevelItem(2));
        Click(tree, tree->topLevelItem(2)->child(1));
        for (int page = 0; page < 4; ++page)
            frame->FormView()->Sheet()->setCurrentIndex(page);
        QVERIFY(!frame->PatchDoc().IsModified());
        QVERIFY(frame->Save(false));
        QVERIFY(ReadWholeFile(bank).bytes == ReadWholeFile(rebuilt).bytes);
    }
};

QTEST_MAIN(PatchFrameTest)
#include "PatchFrameTest.moc"
