// Importing, exporting and listing the user's lighting sequences of a kind folder.

#include "settings/light_sequence_store.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "settings/settings_test_support.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// Unusual spacing on purpose: the copy must be byte for byte, not a rewrite.
constexpr const char* kLight =
    "{ \"LEDEffectList\" : [ {\"LEDREGMode\":4,\"LEDBrightness\":3,\"LEDSpeed\":2,\"LEDDirection\":1,"
    "\"LEDMultiColor\":1,\"red\":10,\"green\":20,\"blue\":30,\"Time\":1500,\"Cyle\":2} ] }\n\n";

std::set<fs::path> FilesIn(const fs::path& folder) {
    std::set<fs::path> files;
    if (!fs::exists(folder)) return files;
    for (const auto& e : fs::directory_iterator(folder)) files.insert(e.path().filename());
    return files;
}

class LightSequenceStoreTest : public ::testing::Test {
protected:
    fs::path Kind() const { return dir / "mouse"; }
    TempFolder dir;
    CLightSequenceStore store{dir / "mouse"};
};

TEST_F(LightSequenceStoreTest, ImportCopiesTheFileAndEntersItForThePlayerAndTheNames) {
    test::WriteText(dir / "Sunrise glow.light", kLight);
    const LightSequenceResult result = store.Import(dir / "Sunrise glow.light", 11, std::nullopt);
    ASSERT_TRUE(result) << result.message;
    EXPECT_TRUE(std::regex_match(result.identifier, std::regex(R"(\d{4}_\d\d_\d\d_\d\d_\d\d_\d\d_\d{3})")))
        << result.identifier;
    EXPECT_EQ(test::ReadText(Kind() / (result.identifier + ".light")), kLight);

    const Json::Value config = test::ReadJson(store.ConfigPath());
    for (const Json::ArrayIndex k : {0u, 1u}) {
        const Json::Value& list = config["LightInfo"][k];
        ASSERT_EQ(list.size(), 12u) << k;  // grown with empty entries up to the position
        EXPECT_EQ(list[11]["LightName"].asString(), "Sunrise glow");
        EXPECT_EQ(list[11]["Guid"].asString(), result.identifier);
        EXPECT_EQ(list[0]["Guid"].asString(), "");
    }
    std::vector<ListedLightSequence> listed;
    std::string error;
    ASSERT_TRUE(store.List(listed, error)) << error;
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].position, 11u);
    EXPECT_EQ(listed[0].entry, (LightSequenceEntry{"Sunrise glow", result.identifier}));

    const fs::path out = dir / "out" / "copy.light";
    fs::create_directories(out.parent_path());
    ASSERT_TRUE(store.Export(11, out));
    EXPECT_EQ(test::ReadText(out), kLight);
}

TEST_F(LightSequenceStoreTest, ImportKeepsOtherEntriesAndSkipsStampsInUse) {
    test::WriteText(dir / "a.light", kLight);
    const LightSequenceResult first = store.Import(dir / "a.light", 9, std::string("First"));
    ASSERT_TRUE(first) << first.message;
    const LightSequenceResult second = store.Import(dir / "a.light", 11, std::string("Second"));
    ASSERT_TRUE(second) << second.message;
    EXPECT_NE(first.identifier, second.identifier);
    const Json::Value config = test::ReadJson(store.ConfigPath());
    EXPECT_EQ(config["LightInfo"][0][9]["LightName"].asString(), "First");
    EXPECT_EQ(config["LightInfo"][0][11]["LightName"].asString(), "Second");
    // Importing again at a position replaces its entry; the older file stays for whoever names it.
    const LightSequenceResult third = store.Import(dir / "a.light", 9, std::string("Third"));
    ASSERT_TRUE(third);
    EXPECT_EQ(test::ReadJson(store.ConfigPath())["LightInfo"][1][9]["Guid"].asString(), third.identifier);
    EXPECT_EQ(FilesIn(Kind()).size(), 4u);  // three light files and the configuration
}

TEST_F(LightSequenceStoreTest, RefusedImportsChangeNothing) {
    fs::create_directories(Kind());
    const std::string existing = R"({"LightInfo": [[{"LightName": "keep", "Guid": "g"}], []], "Other": 1})";
    test::WriteText(store.ConfigPath(), existing);
    test::WriteText(dir / "not-json.light", "{\"LEDEffectList\": [");
    test::WriteText(dir / "empty-list.light", R"({"LEDEffectList": []})");
    test::WriteText(dir / "bad-step.light", R"({"LEDEffectList": [{"LEDREGMode": 1}]})");
    fs::create_directories(dir / "folder.light");
    for (const char* name : {"not-json.light", "empty-list.light", "bad-step.light", "folder.light", "missing.light"}) {
        const LightSequenceResult result = store.Import(dir / name, 9, std::nullopt);
        EXPECT_FALSE(result) << name;
        EXPECT_FALSE(result.message.empty()) << name;
        EXPECT_EQ(test::ReadText(store.ConfigPath()), existing) << name;
        EXPECT_EQ(FilesIn(Kind()), std::set<fs::path>{"velda_light.config"}) << name;
    }
}

TEST_F(LightSequenceStoreTest, ADamagedConfigurationIsNeverRewritten) {
    fs::create_directories(Kind());
    test::WriteText(dir / "a.light", kLight);
    for (const std::string& damaged : {std::string("{\"LightInfo\": [["), std::string("[1, 2]"),
                                      std::string(R"({"LightInfo": {"0": 1}})"),
                                      std::string(R"({"LightInfo": [[], "names"]})")}) {
        test::WriteText(store.ConfigPath(), damaged);
        const LightSequenceResult result = store.Import(dir / "a.light", 9, std::nullopt);
        EXPECT_FALSE(result) << damaged;
        EXPECT_EQ(test::ReadText(store.ConfigPath()), damaged);
        EXPECT_EQ(FilesIn(Kind()), std::set<fs::path>{"velda_light.config"}) << damaged;
    }
    test::WriteText(store.ConfigPath(), "{\"LightInfo\": [[");
    std::vector<ListedLightSequence> listed;
    std::string error;
    EXPECT_FALSE(store.List(listed, error));
    EXPECT_FALSE(store.Export(0, dir / "x.light"));
    EXPECT_FALSE(fs::exists(dir / "x.light"));
}

TEST_F(LightSequenceStoreTest, ExportRefusesPositionsWithoutASequence) {
    fs::create_directories(Kind());
    test::WriteText(Kind() / "good.light", kLight);
    test::WriteText(Kind() / "damaged.light", "{\"LEDEffectList\"");
    test::WriteText(dir / "outside.light", kLight);
    test::WriteText(store.ConfigPath(), R"({"LightInfo": [[
        {"LightName": "empty", "Guid": ""}, {"LightName": "gone", "Guid": "absent"},
        {"LightName": "bad", "Guid": "damaged"}, {"LightName": "up", "Guid": "../outside"},
        {"LightName": "good", "Guid": "good"}]]})");
    for (const std::size_t position : {0u, 1u, 2u, 3u, 5u, 99u}) {
        EXPECT_FALSE(store.Export(position, dir / "x.light")) << position;
        EXPECT_FALSE(fs::exists(dir / "x.light")) << position;
    }
    EXPECT_TRUE(store.Export(4, dir / "x.light"));
    EXPECT_EQ(test::ReadText(dir / "x.light"), kLight);
    // Without any configuration there is nothing to list or export.
    CLightSequenceStore empty(dir / "nothing");
    std::vector<ListedLightSequence> listed;
    std::string error;
    EXPECT_TRUE(empty.List(listed, error));
    EXPECT_TRUE(listed.empty());
    EXPECT_FALSE(empty.Export(0, dir / "y.light"));
}

}  // namespace
}  // namespace zevik
