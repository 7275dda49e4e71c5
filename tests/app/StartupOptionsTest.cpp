#include "app/StartupOptions.h"

#include <gtest/gtest.h>

#include <set>

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
    ProgramPaths paths = ProgramPathsFor("/opt/wloe/bin/wloe", [](const std::string&) { return false; });
    EXPECT_EQ(paths.programDir, "/opt/wloe/bin");
    EXPECT_EQ(paths.dataDir, "/opt/wloe/bin");
    EXPECT_EQ(paths.layerFile, "/opt/wloe/bin/Wl.lay");
    EXPECT_EQ(paths.helpFile, "/opt/wloe/bin/Wl.html");
}

TEST(StartupOptions, AnInstalledProgramFindsItsCompanionsUnderShare) {
    std::set<std::string> files{"/usr/share/wloe/Wl.html"};
    auto exists = [&files](const std::string& path) { return files.count(path) > 0; };
    ProgramPaths installed = ProgramPathsFor("/usr/bin/wloe", exists);
    EXPECT_EQ(installed.programDir, "/usr/bin");
    EXPECT_EQ(installed.dataDir, "/usr/share/wloe");
    EXPECT_EQ(installed.layerFile, "/usr/share/wloe/Wl.lay");
    EXPECT_EQ(installed.helpFile, "/usr/share/wloe/Wl.html");

    // A manual beside the program wins: a build tree in a folder called bin.
    files.insert("/usr/bin/Wl.html");
    EXPECT_EQ(ProgramPathsFor("/usr/bin/wloe", exists).dataDir, "/usr/bin");
    // Only a bin folder looks under share.
    files = {"/opt/share/wloe/Wl.html"};
    EXPECT_EQ(ProgramPathsFor("/opt/tools/wloe", exists).dataDir, "/opt/tools");
}

TEST(StartupOptions, FilesAreMadeAbsoluteInTheOrderGiven) {
    StartupOptions options =
        ParseCommandLine({"a.pat", "-Embedding", "../s/b.WAV", "/x/Wl.lay"}, "/home/u/work");
    EXPECT_EQ(options.request, StartupOptions::Request::Run);
    EXPECT_FALSE(options.splash);
    EXPECT_EQ(options.files,
              (std::vector<std::string>{"/home/u/work/a.pat", "/home/u/s/b.WAV", "/x/Wl.lay"}));
    EXPECT_TRUE(options.ignored.empty());
}

TEST(StartupOptions, SplashFlagsAreNotFilesButOtherSlashedPathsAre) {
    StartupOptions options = ParseCommandLine({"/Automation", "/embedding.pat", "/Embedding/x.wav"}, "/w");
    EXPECT_FALSE(options.splash);
    EXPECT_EQ(options.files, (std::vector<std::string>{"/embedding.pat", "/Embedding/x.wav"}));
}

TEST(StartupOptions, UnknownOptionsAreSetAsideAndADoubleDashEndsOptions) {
    StartupOptions options = ParseCommandLine({"-x", "--frobnicate", "--", "-odd.pat", "--help", "-"}, "/w");
    EXPECT_TRUE(options.splash);
    EXPECT_EQ(options.request, StartupOptions::Request::Run);
    EXPECT_EQ(options.ignored, (std::vector<std::string>{"-x", "--frobnicate"}));
    EXPECT_EQ(options.files, (std::vector<std::string>{"/w/-odd.pat", "/w/--help", "/w/-"}));
}

TEST(StartupOptions, HelpAndVersionWinOverEverythingElse) {
    EXPECT_EQ(ParseCommandLine({"a.pat", "--help", "b.pat"}, "/w").request, StartupOptions::Request::Help);
    EXPECT_EQ(ParseCommandLine({"-h"}, "/w").request, StartupOptions::Request::Help);
    EXPECT_EQ(ParseCommandLine({"-Embedding", "--version"}, "/w").request, StartupOptions::Request::Version);
    EXPECT_NE(UsageText().find("Usage: wloe [OPTION]... [FILE]..."), std::string::npos);
    EXPECT_NE(UsageText().find("-Embedding"), std::string::npos);
    EXPECT_EQ(VersionText(), "wloe (Wavelith Object Editor) 1.0 beta 6\n");
}
