#include "platform/DialogValidation.h"

#include <gtest/gtest.h>

TEST(DialogValidation, IntegersWithinBounds) {
    EXPECT_EQ(std::get<long long>(ValidateInteger(" -12 ", -96, 96)), -12);
    EXPECT_EQ(std::get<long long>(ValidateInteger("+5", 0, 10)), 5);
    EXPECT_EQ(std::get<std::string>(ValidateInteger("12x", 0, 100)), "Please enter an integer.");
    EXPECT_EQ(std::get<std::string>(ValidateInteger("", 0, 100)), "Please enter an integer.");
    EXPECT_EQ(std::get<std::string>(ValidateInteger("101", 0, 100)),
              "Please enter an integer between 0 and 100.");
    EXPECT_EQ(std::get<std::string>(ValidateInteger("-97", -96, 96)),
              "Please enter an integer between -96 and 96.");
}

TEST(DialogValidation, UnsignedNumbers) {
    EXPECT_EQ(std::get<std::uint32_t>(ValidateUnsigned("0")), 0u);
    EXPECT_EQ(std::get<std::uint32_t>(ValidateUnsigned("4294967295")), 4294967295u);
    for (const char* bad : {"-1", "4294967296", "3.5", "", "abc"})
        EXPECT_EQ(std::get<std::string>(ValidateUnsigned(bad)), "Please enter a positive integer.") << bad;
}

TEST(DialogValidation, RealNumbersWithinBounds) {
    EXPECT_EQ(std::get<double>(ValidateReal(" 440 ", 0.000001, 1000000)), 440.0);
    EXPECT_EQ(std::get<double>(ValidateReal("+1e-6", 0.000001, 1000000)), 0.000001);
    EXPECT_EQ(std::get<double>(ValidateReal("1000000", 0.000001, 1000000)), 1000000.0);
    for (const char* bad : {"", "4,5", "1e", "inf", "nan", "12 Hz", "0x10"})
        EXPECT_EQ(std::get<std::string>(ValidateReal(bad, 0.000001, 1000000)), "Please enter a number.")
            << bad;
    for (const char* outside : {"0", "-440", "1000000.5", "1e300"})
        EXPECT_EQ(std::get<std::string>(ValidateReal(outside, 0.000001, 1000000)),
                  "Please enter a number between 1e-06 and 1000000.")
            << outside;
    EXPECT_EQ(std::get<std::string>(ValidateReal("5", -2.5, 3)), "Please enter a number between -2.5 and 3.");
}
