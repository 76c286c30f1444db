#include <gtest/gtest.h>

#include "settings/keyboard_profiledata.h"
#include "settings/settings_test_support.h"

namespace zevik {
namespace {

using test::TempFolder;

const std::vector<AssignmentCode> kDefaults = {{0x20, 0x00, 0x29}, {0x20, 0x00, 0x3A}, {0xA0, 0x1B, 0x00}};

void Load(CKeyboardProfiledata& data, const TempFolder& dir, const std::string& document) {
    test::WriteText(dir / "p.Json", "{\"Device\": [" + document + "]}");
    data.SetProfilePath(dir / "p.Json");
    data.LoadProfile(dir / "p.Json");
}

std::vector<AssignmentCode> Assignments(const std::vector<KeyAssignRecord>& list) {
    std::vector<AssignmentCode> out;
    for (const KeyAssignRecord& r : list) out.push_back(r.assignment);
    return out;
}

TEST(KeyboardKeyList2, WhatTheDocumentLacksReadsAsTheFactoryTriple) {
    struct Case {
        const char* document;
        std::vector<AssignmentCode> want;
    };
    const std::vector<Case> cases = {
        {"{}", kDefaults},
        {R"({"KeyList2": "damaged"})", kDefaults},
        {R"({"KeyList2": [{"Assignment": 1052672}]})", {{0x10, 0x10, 0x00}, kDefaults[1], kDefaults[2]}},
        {R"({"KeyList2": [null, {"DefaultAssignment": 5}, {"Assignment": "x"}]})", kDefaults},
        {R"({"KeyList2": [{}, {"Assignment": 0}, {"Assignment": 1}, {"Assignment": 2}]})",
         {kDefaults[0], {0, 0, 0}, {0, 0, 1}}},  // one record per factory triple
    };
    for (const Case& c : cases) {
        TempFolder dir;
        CKeyboardProfiledata data;
        Load(data, dir, c.document);
        const std::vector<KeyAssignRecord> list = data.GetKeyList2(kDefaults);
        EXPECT_EQ(Assignments(list), c.want) << c.document;
        ASSERT_EQ(list.size(), kDefaults.size());
        for (size_t j = 0; j < list.size(); ++j) {
            EXPECT_EQ(list[j].keyIndex, j);
            EXPECT_EQ(list[j].defaultAssignment, kDefaults[j]) << c.document;
        }
    }
}

TEST(KeyboardKeyList2, IsSavedInTheFormOfKeyListBesideIt) {
    TempFolder dir;
    CKeyboardProfiledata data;
    Load(data, dir, R"({"KeyList": [{"Assignment": 7, "DefaultAssignment": 7}]})");
    std::vector<KeyAssignRecord> list = data.GetKeyList2(kDefaults);
    list[1].assignment = {0x30, 0xCD, 0x00};
    data.SetKeyList2(list);
    ASSERT_TRUE(data.SaveProfile());

    const Json::Value saved = test::ReadJson(dir / "p.Json")["Device"][0];
    ASSERT_EQ(saved["KeyList2"].size(), 3u);
    EXPECT_EQ(saved["KeyList2"][1], test::Parse(R"({"Assignment": 3198208, "DefaultAssignment": 2097210})"));
    EXPECT_EQ(saved["KeyList"][0]["Assignment"], 7);  // layer 1 untouched

    CKeyboardProfiledata again;
    Load(again, dir, test::ReadJson(dir / "p.Json")["Device"][0].toStyledString());
    EXPECT_EQ(again.GetKeyList2(kDefaults), list);
}

}  // namespace
}  // namespace zevik
