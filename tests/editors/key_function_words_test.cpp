#include "editors/key_function_words.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zevik {
namespace {

constexpr AssignmentCode kFactory{0x13, 0x01, 0x00};

std::vector<std::string> Split(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Every function's words, the code they make, and the words the code prints back as.
TEST(KeyFunctionWords, EveryFunctionEncodesAndPrintsBack) {
    struct Case {
        const char* words;
        AssignmentCode code;
        const char* printed;  // nullptr: the same words
    };
    const Case cases[] = {
        {"button middle", {0x10, 0x04, 0}, nullptr},
        {"button BACK", {0x10, 0x08, 0}, "button back"},
        {"swing 1 2 5 3", {0x11, 0x25, 0x83}, nullptr},
        {"swing 0 2 5 3", {0x11, 0x25, 0x03}, nullptr},
        {"wheel 1 2 5 3", {0x12, 0x25, 0xFD}, nullptr},
        {"wheel 0 15 15 127", {0x12, 0xFF, 0x7F}, nullptr},
        {"wheel 1 0 0 0", {0x12, 0x00, 0x80}, "code 120080"},  // a count of 0 the second way reads as -128
        {"dpi cycle", {0x13, 0x03, 0}, nullptr},
        {"dpi up", kFactory, "default"},
        {"fire 40 255", {0x14, 40, 255}, nullptr},
        {"key A", {0x20, 0, 0x04}, nullptr},
        {"key shift+A", {0x20, 0x02, 0x04}, nullptr},
        {"key Win+numenter", {0x20, 0x08, 0x58}, "key win+NumEnter"},
        {"key PageUp", {0x20, 0, 0x4B}, nullptr},
        {"media mute", {0x30, 0xE2, 0}, nullptr},
        {"media player", {0x30, 0x83, 0x01}, nullptr},
        {"system wake", {0x40, 0x04, 0}, nullptr},
        {"shortcut select-all", {0x20, 0x10, 0x04}, nullptr},
        {"macro 1 2", {0x70, 0, 2}, nullptr},
        {"macro 50 times 10", {0x71, 49, 10}, nullptr},
        {"gun 4", {0x72, 3, 0}, nullptr},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto parsed = ParseKeyFunctionWords(Split(c.words), error);
        ASSERT_TRUE(parsed.has_value()) << c.words << ": " << error;
        EXPECT_EQ(parsed->code, c.code) << c.words;
        EXPECT_EQ(KeyFunctionText(parsed->code, kFactory), c.printed != nullptr ? c.printed : c.words) << c.words;
    }
    std::string error;
    EXPECT_TRUE(ParseKeyFunctionWords({"default"}, error)->isDefault);
    EXPECT_EQ(ParseKeyFunctionWords({"key", "A"}, error)->keyRow, 8);
}

TEST(KeyFunctionWords, CodesNoWordsMakePrintAsCode) {
    EXPECT_EQ(KeyFunctionText({0x20, 0x03, 0x04}, kFactory), "code 200304");  // two modifiers
    EXPECT_EQ(KeyFunctionText({0x20, 0x20, 0x04}, kFactory), "code 202004");  // right Shift
    EXPECT_EQ(KeyFunctionText({0x20, 0x00, 0xF0}, kFactory), "code 2000F0");  // no such key
    EXPECT_EQ(KeyFunctionText({0xA0, 0x1B, 0x00}, kFactory), "code A01B00");
    EXPECT_EQ(KeyFunctionText({0x70, 0, 7}, kFactory), "code 700007");
}

TEST(KeyFunctionWords, RefusesWordsOutsideTheirFieldsNamingTheRange) {
    const struct {
        const char* words;
        const char* says;
    } cases[] = {
        {"swing 2 0 0 0", "DIR must be a number from 0 to 1"},
        {"wheel 0 16 0 0", "DELAY must be a number from 0 to 15"},
        {"swing 0 0 0 128", "COUNT must be a number from 0 to 127"},
        {"fire 256 1", "INTERVAL must be a number from 0 to 255"},
        {"macro 0 1", "M must be a number from 1 to 50"},
        {"macro 51 times 1", "M must be a number from 1 to 50"},
        {"macro 1 4", "MODE must be a number from 0 to 3"},
        {"macro 1 times 256", "N must be a number from 0 to 255"},
        {"gun 5", "G must be a number from 1 to 4"},
        {"key LCtrl", "not an ordinary key"},
        {"key hyper+A", "MOD must be one of"},
        {"key Nope", "not an ordinary key"},
        {"media louder", "takes one of: player"},
        {"button", "takes 1 word"},
        {"teleport", "unknown function"},
        {"", "a function is"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseKeyFunctionWords(Split(c.words), error).has_value()) << c.words;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.words << ": " << error;
    }
}

}  // namespace
}  // namespace zevik
