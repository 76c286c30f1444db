// The music words of the command line: checked before anything opens, and the capture's band
// values printed record by record.

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "audio_lighting/band_analysis.h"
#include "audio_lighting/music_style_record.h"
#include "settings/json_file_util.h"
#include "shell/audio_levels_command.h"
#include "shell/music_command.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

TEST(MusicWordsTest, WordsAreCheckedWithTheirRanges) {
    struct Case {
        std::vector<std::string> words;
        const char* error;  // nullptr: accepted
    };
    const Case cases[] = {
        {{"show"}, nullptr},
        {{"group", "4", "0", "0", "9"}, nullptr},
        {{"name", "1"}, nullptr},
        {{"name", "2", "Bass"}, nullptr},
        {{"group", "0", "1", "1", "1"}, "1..4"},
        {{"group", "5", "1", "1", "1"}, "1..4"},
        {{"group", "1", "10", "1", "1"}, "0..9"},
        {{"group", "1", "1", "-1", "1"}, "0..9"},
        {{"group", "1", "1", "1"}, "group N R G B"},
        {{"name", "x"}, "1..4"},
        {{"name", "1", "a", "b"}, "name N [TEXT]"},
        {{"show", "1"}, "show"},
        {{}, "show"},
        {{"play"}, "show"},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto command = ParseMusicWords(c.words, error);
        SCOPED_TRACE(c.words.empty() ? std::string("(none)") : c.words[0]);
        if (c.error == nullptr) {
            EXPECT_TRUE(command) << error;
        } else {
            EXPECT_FALSE(command);
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
    }
    std::string error;
    const auto group = ParseMusicWords({"group", "4", "0", "0", "9"}, error);
    EXPECT_EQ(group->group, 4);
    EXPECT_EQ(group->values, (std::array<int, 3>{0, 0, 9}));
}

TEST(MusicWordsTest, ShowPrintsTheChosenGroupFromOneAndEveryGroup) {
    MusicStyleRecord record;
    record.style = 3;
    record.names = {"第一组", "b", "", "d d"};
    record.groups = {{{9, 9, 0}, {1, 2, 3}, {0, 0, 0}, {0, 0, 9}}};
    std::ostringstream text;
    PrintMusicGroups(record, text, false);
    EXPECT_EQ(text.str(), "style: 4\ngroup 1: 9 9 0 第一组\ngroup 2: 1 2 3 b\ngroup 3: 0 0 0 \ngroup 4: 0 0 9 d d\n");
    std::ostringstream json;
    PrintMusicGroups(record, json, true);
    Json::Value doc;
    ASSERT_TRUE(CJsonFileUtil::ParseJson(json.str(), doc));
    EXPECT_EQ(doc["style"].asInt(), 4);
    ASSERT_EQ(doc["groups"].size(), 4u);
    EXPECT_EQ(doc["groups"][3]["blue"].asInt(), 9);
    EXPECT_EQ(doc["groups"][0]["name"].asString(), "第一组");
}

TEST(MusicWordsTest, SecondsAreWholeAndInRange) {
    std::string error;
    EXPECT_EQ(ParseAudioLevelsSeconds("1", error), 1);
    EXPECT_EQ(ParseAudioLevelsSeconds("3600", error), 3600);
    for (const char* bad : {"0", "3601", "-1", "1.5", "", "x"}) {
        EXPECT_FALSE(ParseAudioLevelsSeconds(bad, error)) << bad;
        EXPECT_NE(error.find("1..3600"), std::string::npos);
    }
}

// A silent desktop, 20 ms at a time.
class QuietSource final : public IAudioSource {
public:
    explicit QuietSource(bool opens) : opens_(opens) {}
    bool Open(std::string& error) override {
        if (!opens_) error = "no sound server: Connection refused";
        return opens_;
    }
    bool Read(std::span<float> samples, std::string&) override {
        std::this_thread::sleep_for(20ms);
        std::fill(samples.begin(), samples.end(), 0.0f);
        return true;
    }

private:
    bool opens_;
};

TEST(MusicWordsTest, LevelsPrintTwentyFiveValuesPerRecordOrTheReasonWithoutSound) {
    std::ostringstream out;
    std::string error;
    ASSERT_TRUE(RunAudioLevels([] { return std::make_unique<QuietSource>(true); }, 200ms, out, false, error));
    std::istringstream lines(out.str());
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_EQ(line, "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
    }
    EXPECT_GE(count, 3);

    std::ostringstream json;
    ASSERT_TRUE(RunAudioLevels([] { return std::make_unique<QuietSource>(true); }, 100ms, json, true, error));
    Json::Value doc;
    ASSERT_TRUE(CJsonFileUtil::ParseJson(json.str(), doc));
    ASSERT_GE(doc["records"].size(), 1u);
    EXPECT_EQ(doc["records"][0].size(), 25u);

    std::ostringstream none;
    EXPECT_FALSE(RunAudioLevels([] { return std::make_unique<QuietSource>(false); }, 5s, none, false, error));
    EXPECT_EQ(error, "no sound server: Connection refused");
    EXPECT_EQ(none.str(), "");
}

}  // namespace
}  // namespace zevik::test
