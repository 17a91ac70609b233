#include "editor/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

TEST(HelpText, SeventeenLinesJoinedByCrLf) {
    const std::string text = editor::HelpText();
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_NE(text.back(), '\n') << "no line break after the last line";
    for (const std::string& line : lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "no bare breaks";
    for (int empty : {2, 10, 15}) EXPECT_TRUE(lines[empty].empty()) << empty + 1;
    for (int stars : {0, 11, 16}) EXPECT_EQ(lines[stars], std::string(45, '*'));
    EXPECT_EQ(lines[1], "Runeplot 1.1 - программа для редактирования шрифтов в игре MAFIA.");
    EXPECT_EQ(lines[6], "2) Выбираем файл шрифта - font1.tga");
    EXPECT_NE(lines[7].find("512\u0445512"), std::string::npos) << "the Cyrillic х";
    EXPECT_EQ(lines[14], "Ноябрь, 2006 год");
    // Our own lines: no person's name, no web address.
    for (int own : {12, 13}) {
        EXPECT_EQ(lines[own].find("http"), std::string::npos);
        EXPECT_EQ(lines[own].find("www"), std::string::npos);
    }
}

TEST(CommandLineHelp, UsageInRussianFirstAndInTheRefusal) {
    const std::string usage = "Запуск: runeplot.exe [--help] [--version] [ШРИФТ [РИСУНОК]]";
    const std::string help = editor::CommandLineHelp("runeplot.exe");
    EXPECT_EQ(help.substr(0, help.find('\n')), usage);
    EXPECT_NE(help.find("Runeplot 1.1:"), std::string::npos);
    EXPECT_TRUE(editor::TooManyArgumentsMessage("runeplot.exe").ends_with(usage));
    EXPECT_EQ(editor::CommandLineVersion(), "runeplot 1.1");  // as the Linux window says it
}

}  // namespace
