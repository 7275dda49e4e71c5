#include "PerTestUi.h"

#include "../cli/CliRunner.h"
#include "app/MainFrame.h"
#include "app/QtUi.h"
#include "app/WloeApp.h"
#include "layer/LayerDialogs.h"
#include "layer/LayerDoc.h"
#include "platform/IniSettings.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"
#include "testing/FakeAudioDevice.h"
#include "ui/layer/KeyboardLayout.h"
#include "ui/layer/KeyboardView.h"
#include "ui/layer/LayerDialogs.h"
#include "ui/layer/LayerFormView.h"
#include "ui/layer/LayerFrame.h"
#include "ui/layer/SampleItemDialog.h"
#include "ui/layer/SaveLayerAsDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <nlohmann/json.hpp>

#include <cmath>

namespace {
// A point on a key of the keyboard: high on black keys, low on white ones.
QPoint On(std::uint16_t key) {
    SurfaceRect rect = KeyRect(key);
    return {(rect.left + rect.right) / 2, IsBlackKey(key) ? 25 : 55};
}

void ClickKey(CLayerFormView* view, std::uint16_t key) {
    QTest::mouseClick(view->Keyboard(), Qt::LeftButton, {}, On(key));
}

void ClickItem(QListWidget* list, const QString& text, bool twice = false) {
    QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    QPoint at = list->visualItemRect(found.front()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QStringList Items(QListWidget* list) {
    QStringList items;
    for (int row = 0; row < list->count(); ++row)
        items << list->item(row)->text();
    return items;
}

// The library as wloe-cli dumps it.
nlohmann::json Dump(const std::string& path) {
    CliResult result = RunWloeCli({"dump", path});
    if (result.exitCode != 0)
        qWarning("dump failed: %s", result.err.c_str());
    return nlohmann::json::parse(result.out);
}

const nlohmann::json* Named(const nlohmann::json& list, const std::string& name) {
    for (const nlohmann::json& item : list)
        if (item.at("name") == name)
            return &item;
    return nullptr;
}

// The keys of a dumped layer: key → entry name.
std::map<int, std::string> Keys(const nlohmann::json& layer) {
    std::map<int, std::string> keys;
    for (const nlohmann::json& pair : layer.at("keys"))
        keys[pair.at(0).get<int>()] = pair.at(1).get<std::string>();
    return keys;
}
} // namespace

class LayerWindowTest : public QObject {
    Q_OBJECT

    PerTestUi m_ui;
    std::unique_ptr<TempDir> m_dir;
    std::unique_ptr<FakeAudioDevice> m_device;
    std::unique_ptr<ScopedAudioDevice> m_deviceScope;
    std::string m_path;

    // "Flute" (a 440 Hz tone) and "Oboe"; "Brass" maps Flute on 60..62, "Strings" maps nothing.
    std::string WriteLibrary() {
        std::vector<std::int16_t> tone(1001);
        for (std::size_t i = 0; i < tone.size(); ++i)
            tone[i] = static_cast<std::int16_t>(8000 * std::sin(i * 2 * M_PI * 440.0 / 44100));
        WavBuilder::Info info;
        info.length = 1001;
        WavBuilder().Fmt(1, 44100).Velo(info).Data(tone).WriteTo(m_dir->File("flute.wav"));
        CLayerDoc doc;
        for (const char* name : {"Flute", "Oboe"}) {
            auto sample = std::make_unique<CSample>();
            sample->m_strPath = m_dir->File(std::string(name) == "Flute" ? "flute.wav" : "oboe.wav");
            doc.AddSample(name, std::move(sample));
        }
        auto brass = std::make_unique<CLayer>();
        for (std::uint16_t key : {60, 61, 62})
            brass->m_keys.Set(key, doc.FindSample("Flute"));
        brass->m_nLevel = -3;
        doc.SetLayer("Brass", std::move(brass));
        doc.SetLayer("Strings", std::make_unique<CLayer>());
        std::string path = m_dir->File("Wl.lay");
        doc.OnSaveDocument(path);
        return path;
    }

    std::unique_ptr<CLayerFrame> OpenFrame() {
        auto doc = std::make_unique<CLayerDoc>();
        if (!doc->OnOpenDocument(m_path))
            return nullptr;
        doc->SetPathName(m_path);
        auto frame = std::make_unique<CLayerFrame>(std::move(doc));
        frame->resize(900, 450);
        frame->show();
        if (!QTest::qWaitForWindowExposed(frame.get()))
            qWarning("the window was not exposed");
        return frame;
    }

private slots:
    void init() {
        m_ui.Install();
        m_dir = std::make_unique<TempDir>();
        m_device = std::make_unique<FakeAudioDevice>();
        m_deviceScope = std::make_unique<ScopedAudioDevice>(*m_device);
        m_path = WriteLibrary();
    }
    void cleanup() {
        QVERIFY2(m_ui->AllAnswersUsed(), "an answer was left unasked");
        m_deviceScope.reset();
        m_device.reset();
        m_dir.reset();
        m_ui.Remove();
    }

    void opensOnTheFirstLayerWithItsKeysColoured() {
        auto frame = OpenFrame();
        QVERIFY(frame);
        CLayerFormView* view = frame->FormView();
        QCOMPARE(Items(view->SamplesList()), QStringList({"Flute", "Oboe"}));
        QCOMPARE(Items(view->LayersList()), QStringList({"Brass", "Strings"}));
        QCOMPARE(view->LayersList()->currentRow(), 0);
        QCOMPARE(view->LevelBox()->text(), QString("-3"));
        QCOMPARE(view->CacheField()->text(), QString("0"));
        QVERIFY(!view->Button("Layers", "Reset")->isEnabled());
        QImage image = view->Keyboard()->grab().toImage();
        QPoint c4 = On(60);
        QCOMPARE(QColor(image.pixel(c4)), QColor(64, 128, 128));
        QCOMPARE(QColor(image.pixel(On(61))), QColor(32, 96, 96));
        QCOMPARE(QColor(image.pixel(On(64))), QColor(192, 192, 192));
        QCOMPARE(QColor(image.pixel(On(63))), QColor(128, 128, 128));
    }

    void keysMappedAndSavedReachTheFile() {
        auto frame = OpenFrame();
        CLayerFormView* view = frame->FormView();
        ClickItem(view->SamplesList(), "Oboe");
        ClickKey(view, 64);
        ClickKey(view, 65);
        ClickKey(view, 66);
        QVERIFY(view->Button("Layers", "Reset")->isEnabled());
        // A double-click maps with its first press and unmaps with the second.
        QTest::mouseDClick(view->Keyboard(), Qt::LeftButton, {}, On(66));
        QTest::mouseMove(view->Keyboard(), On(65));
        QCOMPARE(view->NameField()->text(), QString("Oboe"));
        QTest::mouseMove(view->Keyboard(), On(66));
        QCOMPARE(view->NameField()->text(), QString(""));
        QVERIFY(!frame->LayerDoc().IsModified());

        QTest::mouseClick(view->Button("Layers", "Save"), Qt::LeftButton);
        QVERIFY(!view->Button("Layers", "Reset")->isEnabled());
        QVERIFY(frame->LayerDoc().IsModified());
        QVERIFY(frame->Save(false));
        nlohmann::json dumped = Dump(m_path);
        const nlohmann::json* brass = Named(dumped.at("layers"), "Brass");
        QVERIFY(brass);
        QCOMPARE(Keys(*brass), (std::map<int, std::string>{
                                   {60, "Flute"}, {61, "Flute"}, {62, "Flute"}, {64, "Oboe"}, {65, "Oboe"}}));
        QCOMPARE(brass->at("level").get<int>(), -3);
    }

    void saveAsAndSwitchingLayers() {
        auto frame = OpenFrame();
        CLayerFormView* view = frame->FormView();
        view->LevelBox()->selectAll();
        QTest::keyClicks(view->LevelBox(), "-7");
        QVERIFY(view->Button("Layers", "Reset")->isEnabled());
        m_ui->QueueDialog<LayerNameValues>(LayerNameValues{"Brass Soft"});
        QTest::mouseClick(view->Button("Layers", "Save as"), Qt::LeftButton);
        QCOMPARE(Items(view->LayersList()), QStringList({"Brass", "Brass Soft", "Strings"}));
        QCOMPARE(view->LayersList()->currentItem()->text(), QString("Brass Soft"));
        QVERIFY(!view->Button("Layers", "Reset")->isEnabled());

        // To Strings, unchanged: no question; map a key there and go back: asked, Yes keeps it.
        ClickItem(view->LayersList(), "Strings");
        QCOMPARE(view->LevelBox()->text(), QString("0"));
        ClickItem(view->SamplesList(), "Oboe");
        ClickKey(view, 30);
        m_ui->QueueAnswer(Answer::Yes);
        ClickItem(view->LayersList(), "Brass");
        QCOMPARE(m_ui->Questions(), std::vector<std::string>{"Save changes to Strings?"});
        QCOMPARE(view->LevelBox()->text(), QString("-3"));

        // Save as over another layer asks, and the view stays on Brass.
        ClickKey(view, 31);
        m_ui->QueueDialog<LayerNameValues>(LayerNameValues{"Strings"});
        m_ui->QueueAnswer(Answer::Yes);
        QTest::mouseClick(view->Button("Layers", "Save as"), Qt::LeftButton);
        QCOMPARE(m_ui->Questions().back(), std::string("That layer exists: overwrite?"));
        QCOMPARE(view->LayersList()->currentItem()->text(), QString("Brass"));

        QVERIFY(frame->Save(false));
        nlohmann::json dumped = Dump(m_path);
        const nlohmann::json& layers = dumped.at("layers");
        QCOMPARE(layers.size(), std::size_t{3});
        QCOMPARE(Named(layers, "Brass Soft")->at("level").get<int>(), -7);
        QCOMPARE(Keys(*Named(layers, "Brass Soft")).size(), std::size_t{3});
        QCOMPARE(Keys(*Named(layers, "Strings")),
                 (std::map<int, std::string>{{60, "Flute"}, {61, "Flute"}, {62, "Flute"}, {31, "Oboe"}}));
        QCOMPARE(Keys(*Named(layers, "Brass")).size(), std::size_t{3});
    }

    void entriesAreEditedThroughTheDialog() {
        auto frame = OpenFrame();
        CLayerFormView* view = frame->FormView();
        m_ui->QueueDialog<SampleItemValues>(
            SampleItemValues{"Piccolo", m_dir->File("flute.wav"), true, -6, true});
        ClickItem(view->SamplesList(), "Flute", true);
        QCOMPARE(Items(view->SamplesList()), QStringList({"Oboe", "Piccolo"}));
        QCOMPARE(view->SamplesList()->currentItem()->text(), QString("Piccolo"));

        m_ui->QueueDialog<SampleItemValues>(SampleItemValues{"Oboe", "", false, 0, false});
        m_ui->QueueDialog<SampleItemValues>(
            SampleItemValues{"Horn", m_dir->File("horn.wav"), false, 2, false});
        QTest::mouseClick(view->Button("Samples", "New"), Qt::LeftButton);
        QCOMPARE(m_ui->Messages(), std::vector<std::string>{"There is already a sample with that name"});
        QCOMPARE(Items(view->SamplesList()), QStringList({"Horn", "Oboe", "Piccolo"}));

        QVERIFY(frame->Save(false));
        nlohmann::json dumped = Dump(m_path);
        const nlohmann::json* piccolo = Named(dumped.at("samples"), "Piccolo");
        QVERIFY(piccolo);
        QCOMPARE(piccolo->at("level").get<int>(), -6);
        QCOMPARE(piccolo->at("tracks_pitch").get<bool>(), false);
        QCOMPARE(piccolo->at("ignore_key_up").get<bool>(), true);
        QVERIFY(Named(dumped.at("samples"), "Horn"));
        QCOMPARE(Keys(*Named(dumped.at("layers"), "Brass")).at(60), std::string("Piccolo"));
    }

    void theEditorsOwnDialogAnswersEdit() {
        auto frame = OpenFrame();
        CLayerFormView* view = frame->FormView();
        QtUi qtUi;
        RegisterLayerDialogs(qtUi.Dialogs());
        ScopedUi scope(qtUi);
        bool answered = false;
        // The dialog runs modally: it is filled in and confirmed from the event loop.
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CSampleItemDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->NameBox()->text(), QString("Oboe"));
            dialog->NameBox()->setText("Cor anglais");
            dialog->LevelBox()->setText("-12");
            dialog->IgnoreKeyUpBox()->click();
            QTest::keyClick(dialog, Qt::Key_Return);
            answered = true;
        });
        ClickItem(view->SamplesList(), "Oboe", true);
        QVERIFY(answered);
        QCOMPARE(Items(view->SamplesList()), QStringList({"Cor anglais", "Flute"}));
        CSample* renamed = frame->LayerDoc().FindSample("Cor anglais");
        QVERIFY(renamed);
        QCOMPARE(renamed->m_nLevel, -12);
        QVERIFY(renamed->m_bIgnoreKeyUp);
    }

    void aRightPressPlaysTheKeyUntilReleased() {
        auto frame = OpenFrame();
        CLayerFormView* view = frame->FormView();
        ClickItem(view->SamplesList(), "Flute");
        ClickKey(view, 81);
        QTest::mousePress(view->Keyboard(), Qt::RightButton, {}, On(81));
        QVERIFY(m_device->IsOpen());
        QCOMPARE(m_device->WrittenHistory().size(), std::size_t{1});
        QCOMPARE(m_device->WrittenHistory()[0].nBytes, std::size_t{1000}); // 500 frames, an octave up
        QCOMPARE(view->CacheField()->text(), QString::number(2002 + 2000));
        QTest::mouseRelease(view->Keyboard(), Qt::RightButton, {}, On(81));
        QVERIFY(!m_device->IsOpen());
        QTest::mouseClick(view->Button("Cache", "Trim"), Qt::LeftButton);
        QCOMPARE(view->CacheField()->text(), QString("2002"));
        QTest::mouseClick(view->Button("Cache", "Clear"), Qt::LeftButton);
        QCOMPARE(view->CacheField()->text(), QString("0"));
    }

    void closingOffersTheWorkingCopyBeforeTheFile() {
        auto frame = OpenFrame();
        CLayerFormView* view = frame->FormView();
        ClickItem(view->SamplesList(), "Oboe");
        ClickKey(view, 70);
        m_ui->QueueAnswer(Answer::Yes);
        m_ui->QueueAnswer(Answer::Cancel);
        QVERIFY(!frame->close());
        QCOMPARE(m_ui->Questions(),
                 (std::vector<std::string>{"Save changes to Brass?", "Save changes to Wl.lay?"}));
        QVERIFY(frame->LayerDoc().FindLayer("Brass")->LookupSample(70));
        QVERIFY(!view->Button("Layers", "Reset")->isEnabled());
    }

    void theLayerMenusFollowTheWorkingCopy() {
        IniSettings settings(m_dir->File("wloe.ini"));
        CWloeApp app(settings, m_dir->File("wloe"), {"-Embedding"});
        app.RegisterEditor(DocumentKind::Layer, LayerEditorFactory());
        app.Start(false);
        app.OnCommand(Command::OpenLayerFile);
        auto* frame = qobject_cast<CLayerFrame*>(app.MainFrame().ActiveChild());
        QVERIFY(frame);
        QCOMPARE(frame->windowTitle(), QString("Wl.lay"));
        CMainFrame& main = app.MainFrame();
        QVERIFY(main.IsEnabled(Command::ReportLayerSamples));
        QVERIFY(main.IsEnabled(Command::ReportAllSamples));
        QVERIFY(main.IsEnabled(Command::ReparentFilePointers));
        QVERIFY(!main.IsEnabled(Command::ReportLayers));
        ClickItem(frame->FormView()->LayersList(), "Strings");
        QVERIFY(!main.IsEnabled(Command::ReportLayerSamples));
        app.CloseAllDocuments();
    }

    void theSampleDialogBrowsesAndChecksTheLevel() {
        MemorySettings settings;
        ScopedSettings scope(settings);
        settings.SetString("General", "SamplePathRoot", "/samples");
        CSampleItemDialog dialog(SampleItemValues{"Untitled", "", false, 0, false});
        QCOMPARE(dialog.windowTitle(), QString("Edit Sample List Item"));
        QCOMPARE(dialog.LevelBox()->text(), QString("0"));
        dialog.show();
        dialog.FixedPitchBox()->setChecked(true);
        m_ui->QueueDialog<std::string>(std::string("/samples/FLUTE.WAV"));
        QTest::mouseClick(dialog.BrowseButton(), Qt::LeftButton);
        QCOMPARE(m_ui->LastOpenFileRequest().directory, std::string("/samples"));
        QCOMPARE(dialog.NameBox()->text(), QString("FLUTE"));
        QCOMPARE(dialog.PathBox()->text(), QString("/samples/FLUTE.WAV"));
        QVERIFY(dialog.FixedPitchBox()->isChecked());

        dialog.LevelBox()->setText("91");
        dialog.accept();
        QCOMPARE(m_ui->Messages(), std::vector<std::string>{"Please enter an integer between -90 and 90."});
        QVERIFY(dialog.isVisible());
        dialog.LevelBox()->setText("-90");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        SampleItemValues entered = dialog.Values();
        QCOMPARE(entered.level, -90);
        QVERIFY(entered.fixedPitch);
        QCOMPARE(entered.name, std::string("FLUTE"));

        CSaveLayerAsDialog name(LayerNameValues{"Brass"});
        QCOMPARE(name.windowTitle(), QString("Save Layer As"));
        name.NameBox()->setText("");
        QCOMPARE(name.Values().name, std::string());
    }
};

QTEST_MAIN(LayerWindowTest)
#include "LayerWindowTest.moc"
