// Reading the light files: the configuration's entries, the identifiers that may name a file, the
// steps of a light file, and the whole chain the mouse's sequence player reads.

#include "settings/light_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/trace.h"
#include "settings/settings_test_support.h"

namespace zevik {
namespace {

using test::TempFolder;

constexpr const char* kTwoSteps = R"({"LEDEffectList": [
    {"LEDREGMode": 4, "LEDBrightness": 3, "LEDSpeed": 2, "LEDDirection": 1, "LEDMultiColor": 1,
     "red": 10, "green": 20, "blue": 30, "Time": 1500, "Cyle": 2},
    {"LEDREGMode": 1, "LEDBrightness": 4, "LEDSpeed": 0, "LEDDirection": 0, "LEDMultiColor": 0,
     "red": 255, "green": 0, "blue": 7, "Time": 800, "Cyle": 0}]})";

class CollectingSink final : public ITraceSink {
public:
    CollectingSink() : previous_(SetTraceSink(this)) {}
    ~CollectingSink() override { SetTraceSink(previous_); }
    void Write(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;

private:
    ITraceSink* previous_;
};

std::string ConfigWithGuid(const std::string& guidJson) {
    return R"({"LightInfo": [[{"LightName": "a", "Guid": "ok"}, {"LightName": "b", "Guid": )" + guidJson +
           R"(}], []]})";
}

TEST(LightFiles, IdentifiersThatLeaveTheFolderAreRefused) {
    struct Case {
        std::string identifier;
        bool plain;
    };
    const std::vector<Case> cases = {
        {"2024_01_02_03_04_05_006", true}, {"my sequence", true}, {"..light", true},
        {"", false}, {".", false}, {"..", false}, {"/etc/passwd", false}, {"../secret", false},
        {"a/b", false}, {"a\\b", false}, {std::string("a\0b", 3), false}, {std::string(250, 'x'), false},
        {std::string(249, 'x'), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPlainLightIdentifier(c.identifier), c.plain) << '"' << c.identifier << '"';
        EXPECT_EQ(LightFilePath("/kind", c.identifier).has_value(), c.plain) << c.identifier;
    }
    EXPECT_EQ(*LightFilePath("/kind", "abc"), std::filesystem::path("/kind/abc.light"));
}

TEST(LightFiles, EntriesKeepTheirPositionsAndWrongTypesReadAsAbsent) {
    const Json::Value config = test::Parse(R"({"LightInfo": [
        [{"LightName": "one", "Guid": "g1"}, 5, {"LightName": 7, "Guid": ["x"]}, {"Guid": "g4"}],
        "not an array"]})");
    const std::vector<LightSequenceEntry> entries = LightSequenceEntries(config, 0);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], (LightSequenceEntry{"one", "g1"}));
    EXPECT_EQ(entries[1], (LightSequenceEntry{}));
    EXPECT_EQ(entries[2], (LightSequenceEntry{}));
    EXPECT_EQ(entries[3], (LightSequenceEntry{"", "g4"}));
    EXPECT_TRUE(LightSequenceEntries(config, 1).empty());
    EXPECT_TRUE(LightSequenceEntries(config, 2).empty());
    EXPECT_TRUE(LightSequenceEntries(config, -1).empty());
    EXPECT_TRUE(LightSequenceEntries(test::Parse(R"({"LightInfo": {"0": []}})"), 0).empty());
    EXPECT_TRUE(LightSequenceEntries(test::Parse("[1, 2]"), 0).empty());
}

TEST(LightFiles, StepsReadEveryMemberAndWrongTypesAsZero) {
    const std::vector<LightEffectRecord> steps = LightStepsOf(test::Parse(kTwoSteps));
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0], (LightEffectRecord{4, 3, 2, 1, 1, 10, 20, 30, 1500, 2}));
    EXPECT_EQ(steps[1], (LightEffectRecord{1, 4, 0, 0, 0, 255, 0, 7, 800, 0}));

    const std::vector<LightEffectRecord> odd = LightStepsOf(test::Parse(
        R"({"LEDEffectList": [{"LEDREGMode": "4", "red": 300, "Time": "long", "LEDSpeed": 2}, 17, null]})"));
    ASSERT_EQ(odd.size(), 3u);  // every element keeps its place; one that is no object reads as zeros
    EXPECT_EQ(odd[1], LightEffectRecord{});
    EXPECT_EQ(odd[2], LightEffectRecord{});
    EXPECT_EQ(odd[0].ledRegMode, 0);
    EXPECT_EQ(odd[0].red, 300 & 0xFF);
    EXPECT_EQ(odd[0].time, 0);
    EXPECT_EQ(odd[0].ledSpeed, 2);
    EXPECT_TRUE(LightStepsOf(test::Parse(R"({"LEDEffectList": {"a": 1}})")).empty());
    EXPECT_TRUE(LightStepsOf(Json::Value()).empty());
}

TEST(LightFiles, ALightFileHasTenIntegerMembersInRangePerStep) {
    EXPECT_FALSE(LightFileProblem(test::Parse(kTwoSteps)));
    const std::string good =
        R"("LEDREGMode": 1, "LEDBrightness": 1, "LEDSpeed": 1, "LEDDirection": 1, "LEDMultiColor": 1, "red": 1, "green": 1, "blue": 1)";
    const std::vector<std::string> refused = {
        "[]",
        R"({"LEDEffectList": []})",
        R"({"LEDEffectList": {}})",
        R"({"other": 1})",
        R"({"LEDEffectList": [5]})",
        R"({"LEDEffectList": [{)" + good + R"(, "Time": 1}]})",                       // "Cyle" missing
        R"({"LEDEffectList": [{)" + good + R"(, "Time": 1, "Cyle": "2"}]})",          // a string
        R"({"LEDEffectList": [{)" + good + R"(, "Time": 1.5, "Cyle": 2}]})",          // a fraction
        R"({"LEDEffectList": [{)" + good + R"(, "Time": 2147483648, "Cyle": 2}]})",   // past 32 bits
        R"({"LEDEffectList": [{)" + good + R"(, "Time": true, "Cyle": 2}]})",         // a truth value
        R"({"LEDEffectList": [{"LEDREGMode": 256, "LEDBrightness": 1, "LEDSpeed": 1, "LEDDirection": 1, "LEDMultiColor": 1, "red": 1, "green": 1, "blue": 1, "Time": 1, "Cyle": 1}]})",
        R"({"LEDEffectList": [{"LEDREGMode": -1, "LEDBrightness": 1, "LEDSpeed": 1, "LEDDirection": 1, "LEDMultiColor": 1, "red": 1, "green": 1, "blue": 1, "Time": 1, "Cyle": 1}]})",
    };
    for (const std::string& text : refused) EXPECT_TRUE(LightFileProblem(test::Parse(text))) << text;
    EXPECT_FALSE(LightFileProblem(test::Parse(R"({"LEDEffectList": [{)" + good +
                                              R"(, "Time": -2147483648, "Cyle": 2147483647}]})")));
}

TEST(LightFiles, TheSequenceIsTheFileItsGuidNamesBesideTheConfiguration) {
    TempFolder dir;
    test::WriteText(dir / "ok.light", kTwoSteps);
    const Json::Value config = test::Parse(ConfigWithGuid("\"ok\""));
    const std::filesystem::path configPath = dir / "velda_light.config";
    EXPECT_EQ(ReadLightSequence(configPath, config, 0, 0).size(), 2u);
    EXPECT_TRUE(ReadLightSequence(configPath, config, 0, 2).empty());    // past the list
    EXPECT_TRUE(ReadLightSequence(configPath, config, 1, 0).empty());    // another device's list
    EXPECT_TRUE(ReadLightSequence(configPath, Json::Value(), 0, 0).empty());

    test::WriteText(dir / "damaged.light", "{\"LEDEffectList\": [");
    EXPECT_TRUE(ReadLightSequence(configPath, test::Parse(ConfigWithGuid("\"damaged\"")), 0, 1).empty());
    EXPECT_EQ(test::ReadText(dir / "damaged.light"), "{\"LEDEffectList\": [");  // read, never rewritten
    EXPECT_TRUE(ReadLightSequence(configPath, test::Parse(ConfigWithGuid("\"absent\"")), 0, 1).empty());
}

TEST(LightFiles, AHostileGuidGivesAnEmptySequenceAndATraceLine) {
    TempFolder dir;
    // A light file the hostile identifiers would reach if they were taken as paths.
    std::filesystem::create_directories(dir / "kind");
    test::WriteText(dir / "outside.light", kTwoSteps);
    const std::string outside = (dir / "outside").string();
    for (const std::string& guid : {std::string("\"\""), "\"" + outside + "\"", std::string("\"../outside\""),
                                    std::string("\"/\""), std::string("\"..\"")}) {
        CollectingSink sink;
        EXPECT_TRUE(ReadLightSequence(dir / "kind" / "velda_light.config", test::Parse(ConfigWithGuid(guid)), 0, 1)
                        .empty())
            << guid;
        ASSERT_EQ(sink.lines.size(), 1u) << guid;
        EXPECT_NE(sink.lines[0].find("not a plain file name"), std::string::npos);
    }
}

}  // namespace
}  // namespace zevik
