#include "app/StartupOptions.h"

#include <gtest/gtest.h>

TEST(StartupOptions, OnlyEmbeddingOrAutomationFlagsTurnTheSplashOff) {
    EXPECT_TRUE(SplashEnabled({}));
    EXPECT_TRUE(SplashEnabled({"/home/u/bank.pat"}));
    EXPECT_FALSE(SplashEnabled({"/embedding"}));
    EXPECT_FALSE(SplashEnabled({"-AUTOMATION"}));
    EXPECT_FALSE(SplashEnabled({"x.wav", "-Embedding"}));
    EXPECT_TRUE(SplashEnabled({"Embedding"}));
    EXPECT_TRUE(SplashEnabled({"-Embed"}));
    EXPECT_TRUE(SplashEnabled({"--embedding"}));
}

TEST(StartupOptions, CompanionFilesSitBesideTheProgram) {
    ProgramPaths paths = ProgramPathsFor("/opt/wloe/bin/wloe");
    EXPECT_EQ(paths.programDir, "/opt/wloe/bin");
    EXPECT_EQ(paths.layerFile, "/opt/wloe/bin/Wl.lay");
    EXPECT_EQ(paths.helpFile, "/opt/wloe/bin/Wl.html");
}
