#include "PerTestUi.h"
#include "WaveWindowHelpers.h"
#include "sample/CrossfadeDialog.h"
#include "sample/LevelDialogs.h"
#include "sample/ResampleDialogs.h"
#include "sample/SynthesizeDialog.h"

#include "app/MainFrame.h"
#include "app/WloeApp.h"
#include "platform/IniSettings.h"
#include "platform/ScriptedUi.h"
#include "support/TempDir.h"
#include "ui/wave/SampleFramePanes.h"
#include "ui/wave/SetPitchDialog.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

class SampleFrameTest : public QObject {
    Q_OBJECT

    PerTestUi m_ui;

private slots:
    void init() { m_ui.Install(); }
    void cleanup() { m_ui.Remove(); }

    void toolbarHasFifteenButtonsInSixGroups() {
        CSampleFrame frame(MakeSample(1000));
        QStringList layout, prompts;
        for (QAction* action : frame.ToolBar()->actions()) {
            layout << (action->isSeparator() ? "|" : action->toolTip());
            if (!action->isSeparator())
                prompts << action->statusTip();
        }
        QCOMPARE(layout, QStringList({"Undo (Ctrl+Z)",
                                      "Redo (Ctrl+Y)",
                                      "|",
                                      "Play",
                                      "Loop Play (L)",
                                      "Stop",
                                      "|",
                                      "Horizontal zoom (+)",
                                      "Horizontal unzoom (-)",
                                      "Vertical zoom",
                                      "Vertical unzoom",
                                      "|",
                                      "Set start",
                                      "Set stop",
                                      "|",
                                      "Set loop start",
                                      "Set loop end",
                                      "|",
                                      "Loop view",
                                      "|",
                                      "Pitch dialog"}));
        QCOMPARE(prompts.front(), QString("Undo the last change"));
        QCOMPARE(prompts[2], QString("Play without loop"));
        QCOMPARE(prompts[13], QString("Split screen to show loop continuity"));
        QCOMPARE(prompts.back(), QString("Shows the pitch dialog box"));
        for (QAction* action : frame.ToolBar()->actions())
            QVERIFY(action->isSeparator() || !action->icon().isNull());
        QCOMPARE(frame.ToolBar()->allowedAreas(), Qt::AllToolBarAreas);
        QCOMPARE(frame.size(), QSize(620, 360));
    }

    void statusPanesShowTheSampleInTheirFormats() {
        auto frame = ShowFrame(MakeSample(44100));
        QCOMPARE(frame->PaneText(0), QString("For Help, press F1"));
        // The desktop's status-bar font, never shrunk; the panes widen instead.
        for (int pane = 1; pane <= 6; ++pane) {
            auto* label = frame->PromptBar()->findChild<QLabel*>(QString("Pane%1").arg(pane));
            QVERIFY(label);
            QCOMPARE(label->font(), frame->PromptBar()->font());
            QVERIFY(label->width() >= SampleFramePanes::kWidths[static_cast<std::size_t>(pane - 1)]);
        }
        auto* pitch = frame->PromptBar()->findChild<QLabel*>("Pane3");
        QVERIFY(QFontMetrics(pitch->font()).horizontalAdvance("Pitch: G#4 -50.00 (440.00 Hz)") <
                pitch->width());
        frame->WaveView()->repaint();
        QCOMPARE(frame->PaneText(1), QString("Play: 000000  044100"));
        QCOMPARE(frame->PaneText(2), QString("Loop: 000000  000000"));
        QCOMPARE(frame->PaneText(3), QString("Pitch: A 4 +0.00 (440.00 Hz)"));

        // Frame 22050 under the pointer.
        frame->SampleDoc().SetSelection(21000, 1100);
        frame->SampleDoc().UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
        QTest::mouseMove(frame->WaveView(), ViewPoint(*frame->WaveView(), 1050));
        QCOMPARE(frame->PaneText(4), QString(" 22050"));
        QCOMPARE(frame->PaneText(5), QString("0.500"));

        frame->PromptBar()->showMessage("Remove any loop points");
        QCOMPARE(frame->PaneText(0), QString("Remove any loop points"));
    }

    void theLoopDisplayNeedsALoop() {
        auto frame = ShowFrame(MakeSample(44100));
        QVERIFY(!frame->IsCommandEnabled(Command::LoopDisplay));
        QVERIFY(!frame->IsCommandChecked(Command::LoopDisplay));
        frame->SampleDoc().SetLoopRange(1000, 2000);
        QVERIFY(frame->IsCommandEnabled(Command::LoopDisplay));
        QVERIFY(frame->OnCommand(Command::LoopDisplay));
        QVERIFY(frame->IsLoopDisplay());
        frame->UpdateCommandUi();
        QAction* loopView = frame->ToolBar()->actions()[18];
        QVERIFY(loopView->isChecked() && loopView->isEnabled());

        QVERIFY(frame->OnCommand(Command::ClearLoop));
        QVERIFY2(frame->IsLoopDisplay(), "until the commands are looked at again");
        frame->UpdateCommandUi();
        QVERIFY(!frame->IsLoopDisplay());
        QVERIFY(!loopView->isChecked() && !loopView->isEnabled());
    }

    void rowsKeepEightyFiveToFifteen() {
        auto frame = ShowFrame(MakeSample(1000));
        for (int height : {700, 400, 90, 60}) {
            frame->resize(800, height);
            QApplication::processEvents();
            frame->SplitRows();
            QList<int> sizes = frame->Splitter()->sizes();
            auto [upper, lower] = SampleFramePanes::SplitRows(sizes[0] + sizes[1]);
            QVERIFY(sizes[0] >= 10 && sizes[1] >= 10);
            // The splitter hands the pixels the integer parts leave over to the rows.
            if (sizes[0] + sizes[1] >= 67) {
                QVERIFY(std::abs(sizes[0] - upper) <= 1);
                QVERIFY(std::abs(sizes[1] - lower) <= 1);
            }
        }
    }

    void thePitchDialogShowsTheDocumentsPitchAndHidesForAnotherWindow() {
        QMdiArea area;
        area.resize(1200, 800);
        area.show();
        auto* first = new CSampleFrame(MakeSample(1000));
        auto* second = new CSampleFrame(MakeSample(1000));
        first->SampleDoc().m_dPitch = 523.0;
        area.addSubWindow(first);
        area.addSubWindow(second);
        first->show();
        second->show();
        area.setActiveSubWindow(first);
        QVERIFY(first->IsCommandEnabled(Command::PitchDialog));
        first->OnCommand(Command::PitchDialog);
        CSetPitchDialog* dialog = first->PitchDialog();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->Document(), &first->SampleDoc());
        QCOMPARE(dialog->OctaveSlider()->value(), -5);
        QCOMPARE(dialog->NoteEdit()->text(), QString("C "));
        area.setActiveSubWindow(first);
        QVERIFY(dialog->isVisible());
        area.setActiveSubWindow(second);
        QVERIFY(!dialog->isVisible());
    }

    void levelCommandsReachTheDocumentWithTheViewsMark() {
        // Stereo, left 1000 and right 2000 in every frame, with a loop for the crossfade.
        auto doc = std::make_unique<CSampleDoc>();
        auto data = std::make_unique<std::int16_t[]>(2 * 1000);
        for (int i = 0; i < 2000; ++i)
            data[i] = static_cast<std::int16_t>(i % 2 ? 2000 : 1000);
        doc->m_bStereo = true;
        doc->SetData(std::move(data), 1000, 44100);
        doc->SetLoopRange(400, 400);
        auto frame = ShowFrame(std::move(doc));
        CSampleDoc& sample = frame->SampleDoc();

        QVERIFY(frame->IsCommandEnabled(Command::SwapChannels));
        frame->OnCommand(Command::SwapChannels);
        QCOMPARE(sample.m_pData[0], std::int16_t{2000});
        frame->OnCommand(Command::Normalize);
        QCOMPARE(sample.m_pData[0], std::int16_t{32256});
        // Gain over the marked range only: −96 dB at both ends silences frames 100..299.
        frame->WaveView()->Model().SetMark(100, 200);
        m_ui->QueueDialog<GainValues>(GainValues{-96, -96, -96, -96, true});
        frame->OnCommand(Command::GainAdjust);
        QCOMPARE(sample.m_pData[2 * 99], std::int16_t{32256});
        QCOMPARE(sample.m_pData[2 * 100], std::int16_t{0});
        QCOMPARE(sample.m_pData[2 * 300], std::int16_t{32256});
        m_ui->QueueDialog<CrossfadeValues>(CrossfadeValues{1, 0});
        frame->OnCommand(Command::CrossfadeLoop);
        QVERIFY(sample.IsModified());
        m_ui->QueueDialog<MonoValues>(MonoValues{0, -96});
        frame->OnCommand(Command::ReduceToMono);
        QVERIFY(!sample.m_bStereo);
        QVERIFY(!frame->IsCommandEnabled(Command::SwapChannels));
        QVERIFY(!frame->IsCommandEnabled(Command::RemixStereo));
        QVERIFY(m_ui->AllAnswersUsed());
    }
    void documentCommandsFollowTheDocument() {
        auto frame = ShowFrame(MakeSample(1000));
        CSampleDoc& doc = frame->SampleDoc();
        QVERIFY(!frame->IsCommandEnabled(Command::ClearLoop));
        QVERIFY(!frame->IsCommandEnabled(Command::ClearStartStop));
        doc.SetSampleRange(100, 500);
        doc.SetLoopRange(200, 100);
        QVERIFY(frame->IsCommandEnabled(Command::ClearLoop));
        QVERIFY(frame->IsCommandEnabled(Command::ClearStartStop));
        QVERIFY(frame->IsCommandEnabled(Command::Truncate));
        frame->OnCommand(Command::Truncate);
        QCOMPARE(doc.m_nFrames, 500u);
        QCOMPARE(doc.m_nLoopStart, 100u);
        QCOMPARE(frame->Strip()->Model().Width(), 500); // the views heard of it
        frame->OnCommand(Command::ClearLoop);
        QCOMPARE(doc.m_nLoopLength, 0u);

        // The dialogs' commands: a synthesized second replaces the audio, and the views hear of it.
        SynthesizeValues tone;
        tone.mode = SynthesizeValues::Mode::Replace;
        m_ui->QueueDialog<SynthesizeValues>(tone);
        QVERIFY(frame->IsCommandEnabled(Command::Synthesize));
        frame->OnCommand(Command::Synthesize);
        QCOMPARE(doc.m_nFrames, 44100u);
        QCOMPARE(frame->Strip()->Model().Width(), 689);
        QVERIFY(frame->IsCommandEnabled(Command::ImportKrz));
        m_ui->QueueDialog<std::string>(std::nullopt);
        frame->OnCommand(Command::ImportKrz);
        QCOMPARE(doc.m_nFrames, 44100u);
        // A new nominal rate leaves the audio alone; resampling to half the rate halves it.
        m_ui->QueueDialog<PlaybackRateValues>(PlaybackRateValues{22050});
        QVERIFY(frame->IsCommandEnabled(Command::ChangePlaybackRate));
        frame->OnCommand(Command::ChangePlaybackRate);
        QCOMPARE(doc.m_nRate, 22050u);
        QCOMPARE(doc.m_nFrames, 44100u);
        frame->WaveView()->repaint();
        QCOMPARE(frame->PaneText(1), QString("Play: 000000  044100"));
        m_ui->QueueDialog<ResampleValues>(
            ResampleValues{ResampleMode::Rate, 11025, "", ResampleMethod::Linear});
        QVERIFY(frame->IsCommandEnabled(Command::Resample));
        frame->OnCommand(Command::Resample);
        QCOMPARE(doc.m_nRate, 11025u);
        QCOMPARE(frame->Strip()->Model().Width(), 22050 / 32);
        QVERIFY(m_ui->AllAnswersUsed());

        // Not this window's: disabled.
        for (Command command : {Command::NormalDisplay, Command::Open})
            QVERIFY(!frame->IsCommandEnabled(command));
        QVERIFY(frame->IsCommandEnabled(Command::Save));
    }

    void reopenReadsTheFileAgain() {
        TempDir dir;
        const std::string path = dir.File("tone.wav");
        {
            auto doc = MakeSample(3000, 44100, true);
            QVERIFY(doc->WriteWav(path));
        }
        auto doc = std::make_unique<CSampleDoc>();
        QVERIFY(doc->OnOpenDocument(path));
        doc->SetPathName(path);
        auto frame = ShowFrame(std::move(doc));
        frame->SampleDoc().m_pData[10] = 0;
        frame->SampleDoc().SetSampleRange(5, 10);
        QVERIFY(frame->IsCommandEnabled(Command::Reopen));
        m_ui->QueueAnswer(Answer::Yes);
        frame->OnCommand(Command::Reopen);
        QCOMPARE(m_ui->Questions().size(), size_t{1});
        QCOMPARE(frame->SampleDoc().m_nLength, 3000u);
        QVERIFY(frame->SampleDoc().m_pData[10] != 0);
        QVERIFY(!frame->SampleDoc().IsModified());
    }

    void theBarsCanBeHidden() {
        auto frame = ShowFrame(MakeSample(1000));
        QVERIFY(frame->IsCommandChecked(Command::ViewToolbar));
        QVERIFY(frame->IsCommandChecked(Command::ViewStatusBar));
        frame->OnCommand(Command::ViewToolbar);
        frame->OnCommand(Command::ViewStatusBar);
        QVERIFY(!frame->ToolBar()->isVisible() && !frame->PromptBar()->isVisible());
        QVERIFY(!frame->IsCommandChecked(Command::ViewToolbar));
        QVERIFY(!frame->IsCommandChecked(Command::ViewStatusBar));
        frame->OnCommand(Command::ViewToolbar);
        QVERIFY(frame->ToolBar()->isVisible());
    }

    void waveDocumentsOpenInTheWaveEditor() {
        TempDir dir;
        IniSettings settings(dir.File("wloe.ini"));
        CWloeApp app(settings, dir.File("bin/wloe"), {"-Embedding"});
        app.RegisterEditor(DocumentKind::Wave, SampleEditorFactory());
        app.Start(false);

        auto* created = qobject_cast<CSampleFrame*>(app.NewDocument(DocumentKind::Wave));
        QVERIFY(created);
        QCOMPARE(created->SampleDoc().GetTitle(), std::string("Wave File1"));
        QCOMPARE(created->SampleDoc().m_nFrames, 1000u);

        const std::string wav = dir.File("a.wav"), sam = dir.File("b.sam");
        QVERIFY(MakeSample(2000)->WriteWav(wav));
        QVERIFY(MakeSample(3000)->OnSaveDocument(sam));
        auto* fromWav = qobject_cast<CSampleFrame*>(app.OpenDocumentFile(wav));
        auto* fromSam = qobject_cast<CSampleFrame*>(app.OpenDocumentFile(sam));
        QVERIFY(fromWav && fromSam);
        QCOMPARE(fromWav->SampleDoc().m_nFrames, 2000u);
        QCOMPARE(fromSam->SampleDoc().m_nFrames, 3000u);

        QStringList titles;
        for (QAction* action : app.MainFrame().menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, QStringList({"&File", "&Edit", "&Import", "&View", "&Window", "&Help"}));
        QVERIFY(!app.MainFrame().IsEnabled(Command::NormalDisplay));
        QVERIFY(app.MainFrame().IsEnabled(Command::HorizontalZoom));

        // A highlighted item's prompt stays only while its menu is open.
        QMenu* edit = app.MainFrame().menuBar()->actions()[1]->menu();
        edit->actions()[5]->hover();
        QCOMPARE(fromSam->PaneText(0), QString("Change amplitude (whole or selection)"));
        emit edit->aboutToHide();
        QCOMPARE(fromSam->PaneText(0), QString("For Help, press F1"));
        app.CloseAllDocuments();
    }
};

QTEST_MAIN(SampleFrameTest)
#include "SampleFrameTest.moc"
