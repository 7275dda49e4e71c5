#include "ui/layer/SampleItemBrowse.h"
#include "layer/SamplePath.h"
#include "platform/ScriptedUi.h"
#include "platform/Settings.h"

#include <gtest/gtest.h>

TEST(SampleNameFromPath, TheFileNameWithoutItsLastExtensionOnEitherSeparator) {
    EXPECT_EQ(SampleNameFromPath("E:\\SAMPLES\\FLUTE.WAV"), "FLUTE");
    EXPECT_EQ(SampleNameFromPath("E:\\S\\A.B.WAV"), "A.B");
    EXPECT_EQ(SampleNameFromPath("E:\\S\\PIANO"), "PIANO");
    EXPECT_EQ(SampleNameFromPath("/home/u/PIANO.WAV"), "PIANO");
    EXPECT_EQ(SampleNameFromPath("/home/u.v/PIANO"), "PIANO") << "a dot in a directory is no extension";
    EXPECT_EQ(SampleNameFromPath("C:/mixed\\dir/x.sam"), "x");
    EXPECT_EQ(SampleNameFromPath("/s/.wav"), ".wav") << "nothing before the dot: the whole file name";
    EXPECT_EQ(SampleNameFromPath("plain"), "plain");
    EXPECT_EQ(SampleNameFromPath("/s/"), "");
}

TEST(SampleItemBrowse, NamesAnUntitledEntryFromTheChosenFileStartingInTheSampleRoot) {
    ScriptedUi ui;
    ScopedUi uiScope(ui);
    MemorySettings settings;
    ScopedSettings settingsScope(settings);
    settings.SetString("General", "SamplePathRoot", "/data/samples");

    SampleItemValues values{"Untitled", "", false, 3, false};
    ui.QueueDialog<std::string>(std::string("E:\\SAMPLES\\FLUTE.WAV"));
    EXPECT_TRUE(BrowseForSoundFile(values));
    EXPECT_EQ(values.name, "FLUTE");
    EXPECT_EQ(values.path, "E:\\SAMPLES\\FLUTE.WAV");
    EXPECT_EQ(values.level, 3);
    const OpenFileRequest& asked = ui.LastOpenFileRequest();
    EXPECT_EQ(asked.title, "Select Sound File");
    EXPECT_EQ(asked.filter, "Sound files (*.sam,*.wav)");
    EXPECT_EQ(asked.pattern, "*.sam;*.wav");
    EXPECT_TRUE(asked.hideReadOnly);
    EXPECT_EQ(asked.directory, "/data/samples");

    // Named already (case counts): only the path changes.
    values.name = "untitled";
    ui.QueueDialog<std::string>(std::string("/home/u/OBOE.WAV"));
    EXPECT_TRUE(BrowseForSoundFile(values));
    EXPECT_EQ(values.name, "untitled");
    EXPECT_EQ(values.path, "/home/u/OBOE.WAV");

    values.name = "Untitled";
    ui.QueueDialog<std::string>(std::string("/home/u/PIANO.WAV"));
    EXPECT_TRUE(BrowseForSoundFile(values));
    EXPECT_EQ(values.name, "PIANO");

    // A file that leaves no name keeps "Untitled"; Cancel changes nothing.
    values.name = "Untitled";
    ui.QueueDialog<std::string>(std::string("/home/u/"));
    EXPECT_TRUE(BrowseForSoundFile(values));
    EXPECT_EQ(values.name, "Untitled");
    ui.QueueDialog<std::string>(std::nullopt);
    EXPECT_FALSE(BrowseForSoundFile(values));
    EXPECT_EQ(values.path, "/home/u/");
}
