// The headless tool's command words against the emulated mouse on a headless main window: each
// settings word reaches the profile, and malformed words are refused without a change.

#include "shell/headless_commands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "devices/mouse_device.h"
#include "emulator/emulation.h"
#include "shell/headless_run.h"

namespace zevik::test {
namespace {

class HeadlessCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        data = std::filesystem::temp_directory_path() /
               ("zevik-headless-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        HeadlessRunOptions options;
        options.emulate = "mouse@both";
        options.dataDir = data;
        options.skinFolder = std::string(ZEVIK_RESOURCE_DIR) + "/skin";
        options.programFolder = ZEVIK_RESOURCE_DIR;
        std::string error;
        ASSERT_TRUE(run.Start(options, error)) << error;
        mouse = run.Session().WaitForMouse(std::chrono::seconds(3));
        ASSERT_NE(mouse, nullptr);
    }
    void TearDown() override {
        std::string error;
        EXPECT_TRUE(run.Finish(error)) << error;
        std::error_code ec;
        std::filesystem::remove_all(data, ec);
    }
    bool Run(const std::vector<std::string>& words, std::string& error) {
        std::ostringstream out;
        const bool ok = RunMouseWords(*mouse, words, out, error);
        shown = out.str();
        return ok;
    }

    std::filesystem::path data;
    CHeadlessRun run;
    COrbantixMouseDevice* mouse = nullptr;
    std::string shown;
};

TEST_F(HeadlessCommandsTest, SettingsWordsReachTheProfile) {
    auto enabledCount = [this] {
        int n = 0;
        for (const DpiStageRecord& r : mouse->Profile().GetDpiStages()) n += r.enabled != 0 ? 1 : 0;
        return n;
    };
    const int enabledBefore = enabledCount();
    std::string error;
    ASSERT_TRUE(Run({"dpi", "2", "1650"}, error)) << error;
    ASSERT_TRUE(Run({"dpi-color", "2", "12AB34"}, error)) << error;
    ASSERT_TRUE(Run({"dpi-enable", "5", "0"}, error)) << error;
    ASSERT_TRUE(Run({"rate", "2"}, error)) << error;
    ASSERT_TRUE(Run({"motion-sync", "1"}, error)) << error;
    const std::vector<DpiStageRecord> stages = mouse->Profile().GetDpiStages();
    ASSERT_GE(stages.size(), 2u);
    EXPECT_EQ(stages[1].DpiX(), 1650);
    EXPECT_EQ(stages[1].red, 0x12);
    EXPECT_EQ(stages[1].green, 0xAB);
    EXPECT_EQ(stages[1].blue, 0x34);
    EXPECT_EQ(enabledCount(), enabledBefore - 1);
    EXPECT_EQ(mouse->Profile().GetMouseSystem().ReportRate(), 2);
    EXPECT_EQ(mouse->Profile().GetMouseSystem().MotionSync(), 1);
    ASSERT_TRUE(Run({"show"}, error)) << error;
    EXPECT_NE(shown.find("connection: cable"), std::string::npos) << shown;
    EXPECT_NE(shown.find("stage 2: 1650 dpi, enabled, colour 12AB34"), std::string::npos) << shown;
}

TEST_F(HeadlessCommandsTest, MalformedWordsAreRefusedWithoutAChange) {
    const std::vector<DpiStageRecord> before = mouse->Profile().GetDpiStages();
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"jump"},
        {"dpi", "0", "800"},
        {"dpi", "7", "800"},
        {"dpi", "2"},
        {"dpi", "2", "12x"},
        {"dpi-enable", "1", "2"},
        {"dpi-color", "1", "GG0000"},
        {"dpi-color", "1", "FFF"},
        {"rate", "-1"},
        {"rate"},
        {"show", "extra"},
    };
    for (const auto& words : bad) {
        std::string error;
        EXPECT_FALSE(Run(words, error)) << (words.empty() ? "(none)" : words[0]);
        EXPECT_FALSE(error.empty());
    }
    const std::vector<DpiStageRecord> after = mouse->Profile().GetDpiStages();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].DpiX(), before[i].DpiX()) << i;
        EXPECT_EQ(after[i].enabled, before[i].enabled) << i;
    }
}

TEST_F(HeadlessCommandsTest, EmulatorWords) {
    CEmulation& emulation = *run.Emulation();
    struct Case {
        std::vector<std::string> words;
        bool ok;
    };
    const Case cases[] = {
        {{"unplug", "mouse"}, true},
        {{"plug", "mouse"}, true},
        {{"out-of-range", "mouse"}, true},
        {{"in-range", "mouse"}, true},
        {{"battery", "mouse", "40", "1"}, true},
        {{"plug", "keyboard"}, false},
        {{"plug"}, false},
        {{"notify", "mouse", "zz"}, false},
        {{"fly", "mouse"}, false},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(RunEmulatorWords(emulation, c.words, error), c.ok)
            << (c.words.empty() ? "" : c.words[0]) << error;
    }
}

}  // namespace
}  // namespace zevik::test
