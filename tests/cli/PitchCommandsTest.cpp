#include "CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

TEST(PitchCommands, PrintTheirResults) {
    EXPECT_EQ(RunWloeCli({"pitch", "text", "440"}).out, "A 4 +0.00\n");
    EXPECT_EQ(RunWloeCli({"pitch", "parse", "Bb3"}).out, "233.081881\n");
    EXPECT_EQ(RunWloeCli({"pitch", "parse", "H 4"}).out, "0.000000\n");
    EXPECT_EQ(RunWloeCli({"pitch", "key", "60"}).out, "C 4\n");
    EXPECT_EQ(RunWloeCli({"pitch", "split", "523"}).out, "5 0 -0.831093\n");
}

TEST(PitchCommands, NegativeNumbersAreValues) {
    CliResult result = RunWloeCli({"pitch", "key", "-1"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "***\n");
    EXPECT_EQ(RunWloeCli({"pitch", "key", "99999999999"}).out, "***\n");
}

TEST(PitchCommands, UsageErrorsExitWithTwo) {
    EXPECT_EQ(RunWloeCli({"pitch", "key", "six"}).exitCode, 2);
    CliResult unknown = RunWloeCli({"nonsense"});
    EXPECT_EQ(std::count(unknown.err.begin(), unknown.err.end(), '\n'), 1) << unknown.err;
    EXPECT_EQ(RunWloeCli({"pitch"}).exitCode, 2);
    EXPECT_EQ(RunWloeCli({"nonsense"}).exitCode, 2);
    EXPECT_EQ(RunWloeCli({}).exitCode, 2);
    // A pitch is a frequency: 0 (none) or more, and finite.
    for (const char* hz : {"nan", "-5", "inf"}) {
        CliResult result = RunWloeCli({"pitch", "text", hz});
        EXPECT_EQ(std::tuple(result.exitCode, result.out), std::tuple(2, std::string()));
        EXPECT_EQ(result.err, std::string("HZ: not a frequency (0 or more, in Hz): ") + hz + "\n");
        EXPECT_EQ(RunWloeCli({"pitch", "split", hz}).exitCode, 2);
    }
    EXPECT_EQ(RunWloeCli({"pitch", "text", "0"}).exitCode, 0);
}
