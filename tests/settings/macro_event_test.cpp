#include <gtest/gtest.h>

#include "settings/macro_event.h"
#include "settings/name_fold.h"
#include "settings_test_support.h"

namespace zevik {
namespace {

TEST(MacroDelay, TextIsReadAsASaturatingDecimal) {
    struct Case {
        const char* text;
        std::uint16_t want;
    };
    const Case cases[] = {
        {"50", 50},       {"", 0},      {"0", 0},        {"65535", 65535}, {"65536", 65535},
        {"70000", 65535}, {"-5", 0},    {" 12", 12},     {"12ms", 12},     {"ms", 0},
        {"+7", 7},        {"999999999999999999999999", 65535},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseMacroDelay(c.text), c.want) << c.text;
}

TEST(MacroEvent, ReadsLenientlyAndWritesTheProgramsForm) {
    struct Case {
        const char* json;
        MacroEvent want;
    };
    const Case cases[] = {
        {R"({"Action":"down","Button":4,"Type":10,"Delay":"50"})", {"down", 4, 10, 50}},
        {R"({"Action":"up","Button":1,"Type":1,"Delay":"70000"})", {"up", 1, 1, 65535}},
        {R"({"Action":"up","Button":300,"Type":4,"Delay":9})", {"up", 255, 4, 9}},       // distance clamped
        {R"({"Action":"up","Button":-3,"Type":5,"Delay":1e30})", {"up", 0, 5, 65535}},
        {R"({"Action":7,"Button":"4","Type":"10","Delay":true})", {"", 0, 0, 0}},         // wrong types: absent
        {R"({"Action":"down","Button":1,"Type":255})", {"down", 1, 127, 0}},
        {R"([1,2])", {"", 0, 0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(MacroEventOf(test::Parse(c.json)), c.want) << c.json;

    const Json::Value written = MacroEventJson({"down", 4, 10, 65535});
    EXPECT_EQ(written["Delay"].asString(), "65535");
    EXPECT_EQ(written["Button"].asInt(), 4);
    EXPECT_EQ(written["Type"].asInt(), 10);
    EXPECT_EQ(written["Action"].asString(), "down");
}

TEST(MacroEvent, DeviceForm) {
    EXPECT_EQ(MacroEventDeviceForm({"down", 4, 10, 50}), (std::array<std::uint8_t, 4>{0x32, 0x00, 0x8A, 0x04}));
    EXPECT_EQ(MacroEventDeviceForm(MacroEventOf(test::Parse(R"({"Action":"up","Button":1,"Type":1,"Delay":"70000"})"))),
              (std::array<std::uint8_t, 4>{0xFF, 0xFF, 0x01, 0x01}));
}

TEST(NameFold, ComparesWithCaseIgnoredInSeveralScripts) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"macro_2", "MACRO_2", true}, {"Größe", "GRÖßE", true}, {"Ärger", "ärger", true},
        {"Δέλτα", "ΔΈΛΤΑ", true},     {"Ωμέγα", "ΩΜΈΓΑ", true},
        {"Привет", "ПРИВЕТ", true},   {"宏", "宏", true},      {"macro_1", "macro_10", false},
        {"\xff", "\xfe", false},      {"\xff", "\xff", true},
    };
    for (const Case& c : cases) EXPECT_EQ(SameNameIgnoringCase(c.a, c.b), c.same) << c.a << " / " << c.b;
}

}  // namespace
}  // namespace zevik
