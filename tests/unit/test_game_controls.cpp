#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/game_controls.h"

namespace {

using Row = std::pair<std::string, std::string>;

// The controls that the manual page's PLAYING section lists: ".TP", ".B <inputs>", "<does>.".
std::vector<Row> ManualControls() {
    std::ifstream page(HOPLIN_MANUAL_PAGE);
    std::vector<std::string> lines;
    bool bPlaying = false;
    for (std::string strLine; std::getline(page, strLine);) {
        if (strLine.rfind(".SH", 0) == 0) {
            bPlaying = strLine == ".SH PLAYING";
        } else if (bPlaying) {
            lines.push_back(strLine);
        }
    }
    std::vector<Row> rows;
    for (size_t i = 0; i + 2 < lines.size(); ++i) {
        if (lines[i] == ".TP" && lines[i + 1].rfind(".B ", 0) == 0) {
            rows.emplace_back(lines[i + 1].substr(3), lines[i + 2]);
        }
    }
    return rows;
}

TEST(GameControls, TheManualPageListsEveryControlAsHelpDoesInTheSameOrder) {
    std::vector<Row> expected;
    for (const GameControl& control : GameControls()) {
        expected.emplace_back(control.pszInputs, std::string(control.pszDoes) + ".");
    }
    EXPECT_EQ(ManualControls(), expected);
}

TEST(GameControls, HelpPutsEveryControlOnALineWithTheDescriptionsInOneColumn) {
    std::FILE* pFile = std::tmpfile();
    ASSERT_NE(pFile, nullptr);
    PrintGameControls(pFile);
    std::rewind(pFile);
    size_t nColumn = std::string::npos;
    char szLine[256];
    for (const GameControl& control : GameControls()) {
        ASSERT_NE(std::fgets(szLine, sizeof(szLine), pFile), nullptr);
        const std::string strLine = szLine;
        EXPECT_EQ(strLine.find(control.pszInputs), 2u) << strLine;
        const size_t nAt = strLine.find(control.pszDoes);
        EXPECT_TRUE(nColumn == std::string::npos || nAt == nColumn) << strLine;
        nColumn = nAt;
    }
    EXPECT_EQ(std::fgets(szLine, sizeof(szLine), pFile), nullptr);
    std::fclose(pFile);
}

}  // namespace
