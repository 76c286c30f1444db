#include "settings/profile_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "settings/settings_test_support.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

// Runs the profile commands as zevikctl does, on a private data root and the shipped factory data.
class ProfileCommandTest : public ::testing::Test {
protected:
    int Run(const std::string& kind, const std::string& command, const std::string& argument = {}, bool json = false) {
        ProfileCommandRequest request;
        request.kind = ParseProfileKind(kind).value();
        request.command = command;
        request.argument = argument;
        request.dataRoot = root_.path();
        request.programFolder = test::ResourceDataFolder().parent_path();
        request.json = json;
        out_.str("");
        err_.str("");
        return RunProfileCommand(request, out_, err_);
    }

    test::TempFolder root_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(ProfileCommandTest, ListAddSelectAndRenamePrintTheList) {
    ASSERT_EQ(Run("mouse", "list"), 0) << err_.str();
    EXPECT_EQ(out_.str().rfind("* 1  Profile1  ", 0), 0u) << out_.str();
    ASSERT_EQ(Run("mouse", "add"), 0);
    // The new profile is the one the list records for the next start.
    EXPECT_NE(out_.str().find("\n* 2  Profile2  "), std::string::npos) << out_.str();
    ASSERT_EQ(Run("mouse", "select", "1"), 0);
    EXPECT_EQ(out_.str().rfind("* 1  Profile1  ", 0), 0u) << "profiles count from 1: " << out_.str();
    ASSERT_EQ(Run("mouse", "select", "2"), 0);
    ASSERT_EQ(Run("mouse", "rename", "Game"), 0);
    EXPECT_NE(out_.str().find("\n* 2  Game  "), std::string::npos) << out_.str();
    ASSERT_EQ(Run("mouse", "list", "", true), 0);
    const Json::Value listed = test::Parse(out_.str());
    EXPECT_EQ(listed["kind"], "mouse");
    EXPECT_EQ(listed["selected"], 2);
    EXPECT_EQ(listed["profiles"][1]["number"], 2);
    EXPECT_EQ(listed["profiles"][1]["name"], "Game");
    EXPECT_EQ(listed["profiles"][1]["selected"], true);
    EXPECT_TRUE(fs::exists(root_ / "mouse" / "ProfileList.ini"));
}

TEST_F(ProfileCommandTest, RefusalsExitWithTheMessage) {
    const struct {
        const char* kind;
        const char* command;
        const char* argument;
        int status;
        const char* text;
    } cases[] = {
        {"keyboard", "delete", "", 1, "last profile"},
        {"keyboard", "rename", "  ", 1, "blank"},
        {"keyboard", "import", "/nonexistent/x.json", 1, "does not exist"},
        {"keyboard", "select", "x", 2, "1 to 1"},
        {"keyboard", "select", "9", 2, "1 to 1"},
        {"keyboard", "select", "0", 2, "1 to 1"},
        {"keyboard", "import", "", 2, "needs an argument"},
        {"keyboard", "jump", "", 2, "unknown"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.kind, c.command, c.argument), c.status) << c.command << ' ' << c.argument;
        EXPECT_NE(err_.str().find(c.text), std::string::npos) << err_.str();
        EXPECT_TRUE(out_.str().empty()) << c.command;
    }
    ASSERT_EQ(Run("headset", "list"), 0);
    ASSERT_EQ(Run("headset", "rename", "Studio"), 0);
    ASSERT_EQ(Run("headset", "add"), 0);
    ASSERT_EQ(Run("headset", "rename", "studio"), 1);
    EXPECT_NE(err_.str().find("already has this name"), std::string::npos);
}

TEST_F(ProfileCommandTest, ShowExportImportAndReset) {
    ASSERT_EQ(Run("mousepad", "show"), 0) << err_.str();
    const Json::Value shown = test::Parse(out_.str());
    EXPECT_EQ(shown["profilename"], "Profile1");
    EXPECT_TRUE(shown["Device"][0].isMember("LightInfo"));
    ASSERT_EQ(Run("mousepad", "export", (root_ / "Pad.json").string()), 0);
    ASSERT_EQ(Run("mousepad", "import", (root_ / "Pad.json").string()), 0);
    EXPECT_NE(out_.str().find("  2  Pad  "), std::string::npos) << out_.str();
    test::WriteText(root_ / "color_option_info.config", "{}");
    ASSERT_EQ(Run("mousepad", "reset"), 0);
    EXPECT_FALSE(fs::exists(root_ / "color_option_info.config"));
}

}  // namespace
}  // namespace zevik
