#include "app/WindowGeometry.h"

#include "platform/IniSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(WindowGeometry, RoundTripThroughTheSettingsFile) {
    TempDir dir;
    std::string path = dir.File("wloe.ini");
    {
        IniSettings settings(path);
        EXPECT_EQ(WindowGeometry::Load(settings), std::nullopt);
        WindowGeometry{-8, 40, 1024, 700, true}.Save(settings);
    }
    IniSettings reread(path);
    EXPECT_EQ(WindowGeometry::Load(reread), (WindowGeometry{-8, 40, 1024, 700, true}));
    EXPECT_EQ(reread.GetString("Main Window", "Maximized", ""), "1");
    // The preferences' section is not touched.
    EXPECT_EQ(reread.GetString("General", "MinLoopPlay", "absent"), "absent");
}

TEST(WindowGeometry, ASizeNoWindowCanHaveIsIgnored) {
    MemorySettings settings;
    settings.SetInt("Main Window", "Width", 800);
    EXPECT_EQ(WindowGeometry::Load(settings), std::nullopt);
    settings.SetInt("Main Window", "Height", 3);
    EXPECT_EQ(WindowGeometry::Load(settings), std::nullopt);
    settings.SetString("Main Window", "Height", "tall");
    EXPECT_EQ(WindowGeometry::Load(settings), std::nullopt);
    settings.SetInt("Main Window", "Height", 600);
    EXPECT_EQ(WindowGeometry::Load(settings), (WindowGeometry{0, 0, 800, 600, false}));
}

TEST(WindowGeometry, AWindowOffTheScreenComesBackOntoIt) {
    const WindowGeometry screen{0, 0, 1280, 800, false};
    EXPECT_EQ((WindowGeometry{100, 50, 640, 480, false}.FittedTo(screen)),
              (WindowGeometry{100, 50, 640, 480, false}));
    // Left on a second monitor that is gone.
    EXPECT_EQ((WindowGeometry{2000, 900, 640, 480, true}.FittedTo(screen)),
              (WindowGeometry{640, 320, 640, 480, true}));
    // Bigger than the screen now.
    EXPECT_EQ((WindowGeometry{-50, -20, 1920, 1080, false}.FittedTo(screen)),
              (WindowGeometry{0, 0, 1280, 800, false}));
    // A screen that does not start at the origin.
    EXPECT_EQ((WindowGeometry{0, 0, 300, 200, false}.FittedTo({1280, 24, 1024, 744, false})),
              (WindowGeometry{1280, 24, 300, 200, false}));
}
