#include "app/ProgramEmblem.h"

#include <gtest/gtest.h>

#include <regex>

TEST(ProgramEmblem, TheToneStaysInsideItsBoxAndEndsQuiet) {
    std::vector<ProgramEmblem::Point> tone = ProgramEmblem::Tone(8, 12, 48, 40);
    ASSERT_EQ(tone.size(), 401u);
    EXPECT_DOUBLE_EQ(tone.front().x, 8);
    EXPECT_DOUBLE_EQ(tone.back().x, 56);
    double loudest = 0, lastSwing = 0;
    for (std::size_t i = 0; i < tone.size(); ++i) {
        EXPECT_GE(tone[i].y, 12);
        EXPECT_LE(tone[i].y, 52);
        double swing = std::abs(tone[i].y - 32);
        loudest = std::max(loudest, swing);
        if (i > 360)
            lastSwing = std::max(lastSwing, swing);
    }
    EXPECT_GT(loudest, 12);
    EXPECT_LT(lastSwing, loudest / 3);
}

TEST(ProgramEmblem, TheScalablePictureDrawsTheSameTileAndTone) {
    const std::string svg = ProgramEmblem::Svg();
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("viewBox=\"0 0 64 64\""), std::string::npos);
    EXPECT_NE(svg.find("<rect x=\"2\" y=\"2\" width=\"60\" height=\"60\" rx=\"10\" fill=\"#1e3c6e\"/>"),
              std::string::npos);
    EXPECT_NE(svg.find("stroke=\"#78dca0\" stroke-width=\"3\""), std::string::npos);
    std::smatch path;
    ASSERT_TRUE(std::regex_search(svg, path, std::regex(" d=\"([^\"]*)\"")));
    const std::string d = path[1];
    EXPECT_EQ(d.rfind("M8.00,32.00 L", 0), 0u);
    EXPECT_EQ(std::count(d.begin(), d.end(), 'L'), 400);
    EXPECT_NE(d.find("L56.00,"), std::string::npos);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}
