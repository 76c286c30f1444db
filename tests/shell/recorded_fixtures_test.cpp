// Recordings of real devices' evemu-record captures (tests/data/input) into a macro, through the words
// of "macro mouse record": each leaves the macro document beside it, and the list stops at 4000 rows.

#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "settings/json_file_util.h"
#include "settings/macro_store.h"
#include "settings/profile_locations.h"
#include "shell/macro_record_command.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

const fs::path kInput = fs::path(ZEVIK_TEST_DATA_DIR) / "input";

class RecordedFixturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("zevik-recorded-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        locations_ = std::make_unique<CProfileLocations>(root_, fs::path(ZEVIK_RESOURCE_DIR));
        fs::create_directories(Folder());
        ASSERT_TRUE(Store().AddMacroNamed("fixture"));
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path Folder() const { return locations_->KindFolder(ProfileKind::Mouse); }
    CMacroStore Store() const { return CMacroStore(Folder()); }
    fs::path MacroFile() const { return Folder() / (Store().Entries().at(0).guid + ".mac"); }
    // "macro mouse record 1 ..." with these words after the macro number; the command's exit code.
    int Record(const std::vector<std::string>& words, std::string& error) {
        std::vector<std::string> all = {"mouse", "record", "1"};
        all.insert(all.end(), words.begin(), words.end());
        const auto command = ParseMacroRecordWords(all, error);
        if (!command) return 2;
        std::ostringstream out;
        return RunMacroRecord(*locations_, *command, out, error);
    }
    static Json::Value Events(const fs::path& file) { return CJsonFileUtil().ReadJsonFile(file)["Events"]; }

    fs::path root_;
    std::unique_ptr<CProfileLocations> locations_;
};

TEST_F(RecordedFixturesTest, EachCaptureLeavesItsExpectedMacroDocument) {
    const struct {
        const char* start;  // the macro's document before the recording ("": empty)
        std::vector<std::string> words;
        const char* expected;
    } cases[] = {
        {"", {"--from-events", "keyboard.evemu"}, "keyboard.expected.mac"},
        {"", {"--from-events", "mouse.evemu"}, "mouse.expected.mac"},
        {"two_rows.mac", {"--from-events", "mouse.evemu", "--insert", "before", "2", "--delay", "ignore"},
         "mouse_before_row_2_no_delay.expected.mac"},
        {"two_rows.mac", {"--from-events", "keyboard.evemu", "--insert", "after", "1", "--delay", "25"},
         "keyboard_after_row_1_fixed_delay.expected.mac"},
        {"two_rows.mac", {"--from-events", "mouse.evemu", "--replace", "2"}, "mouse_replace_row_2.expected.mac"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        fs::remove(MacroFile());
        if (*c.start != '\0') fs::copy_file(kInput / c.start, MacroFile());
        std::vector<std::string> words = c.words;
        words[1] = (kInput / words[1]).string();
        std::string error;
        ASSERT_EQ(Record(words, error), 0) << error;
        const Json::Value saved = CJsonFileUtil().ReadJsonFile(MacroFile());
        const Json::Value expected = CJsonFileUtil().ReadJsonFile(kInput / c.expected);
        ASSERT_TRUE(expected.isObject());
        EXPECT_EQ(saved["Events"], expected["Events"]) << saved["Events"].toStyledString();
        EXPECT_EQ(saved["Version"], expected["Version"]);
        EXPECT_EQ(saved["MacroName"], expected["MacroName"]);
    }
}

TEST_F(RecordedFixturesTest, TheRowAfterThe4000thIsRefused) {
    const std::vector<MacroEvent> full(3995, MacroEvent{"down", 0x01, 1, 5});
    ASSERT_TRUE(Store().SaveMacro(0, full));
    std::string error;
    ASSERT_EQ(Record({"--from-events", (kInput / "keyboard.evemu").string()}, error), 0) << error;
    const Json::Value saved = Events(MacroFile());
    ASSERT_EQ(saved.size(), 4000u) << "five of the capture's ten rows fit";
    const Json::Value expected = Events(kInput / "keyboard.expected.mac");
    for (Json::ArrayIndex i = 0; i < 5; ++i) EXPECT_EQ(saved[3995 + i], expected[i]) << i;
}

}  // namespace
}  // namespace zevik
