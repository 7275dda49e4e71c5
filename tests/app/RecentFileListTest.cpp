#include "app/RecentFileList.h"

#include "platform/IniSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(RecentFileList, KeepsFourNewestFirstWithoutDuplicates) {
    TempDir dir;
    IniSettings settings(dir.File("wloe.ini"));
    RecentFileList recent(settings);
    for (const char* path : {"/a.pat", "/b.wav", "/c.lay", "/d.pat", "/e.wav"})
        recent.Add(path);
    EXPECT_EQ(recent.Files(), (std::vector<std::string>{"/e.wav", "/d.pat", "/c.lay", "/b.wav"}));
    recent.Add("/C.LAY");
    EXPECT_EQ(recent.Files(), (std::vector<std::string>{"/C.LAY", "/e.wav", "/d.pat", "/b.wav"}));

    IniSettings reread(dir.File("wloe.ini"));
    EXPECT_EQ(reread.GetString("Recent File List", "File1", ""), "/C.LAY");
    EXPECT_EQ(reread.GetString("Recent File List", "File4", ""), "/b.wav");
    EXPECT_EQ(RecentFileList(reread).Files(), recent.Files());

    recent.Remove("/e.wav");
    EXPECT_EQ(RecentFileList(settings).Files(), (std::vector<std::string>{"/C.LAY", "/d.pat", "/b.wav"}));
}
