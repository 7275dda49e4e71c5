#include "platform/IniSettings.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(IniSettings, ReadsWhatAnotherProgramWroteAndKeepsIt) {
    TempDir dir;
    std::string path = dir.File("wloe.ini");
    std::ofstream(path)
        << "; comment\n[general]\r\nMinLoopPlay = 512\r\nOther=x\n\n[Recent File List]\nFile1=/a b/c.pat\n";
    IniSettings settings(path);
    EXPECT_EQ(settings.GetInt("General", "minloopplay", 300), 512);
    EXPECT_EQ(settings.GetString("Recent File List", "File1", ""), "/a b/c.pat");
    EXPECT_EQ(settings.GetString("General", "SamplePathRoot", "none"), "none");
    settings.SetString("General", "SamplePathRoot", "/s");
    IniSettings reread(path);
    EXPECT_EQ(reread.GetString("General", "Other", ""), "x");
    EXPECT_EQ(reread.GetString("General", "SamplePathRoot", ""), "/s");
    EXPECT_EQ(reread.GetInt("General", "MinLoopPlay", 0), 512);
}
