#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/evdev_input_source.h"
#include "platform/event_file_input_source.h"

namespace zevik {
namespace {

class InputSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevik-input-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(InputSourceTest, EventFilesAreReplayedInTimeOrder) {
    std::ofstream(dir_ / "kb.txt") << "E: 0.000300 0001 001e 0\nE: 0.000100 0001 001e 1\n";
    std::ofstream(dir_ / "mouse.txt") << "E: 0.000200 0001 0110 1\n";
    CEventFileInputSource source({dir_ / "kb.txt", dir_ / "mouse.txt"});
    std::vector<InputEvent> got;
    std::string error;
    ASSERT_TRUE(source.Start([&got](const InputEvent& e) { got.push_back(e); }, error)) << error;
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].code, BTN_LEFT) << "a file out of order is merged as it stands";
    EXPECT_EQ(got[2].code, KEY_A);
}

TEST_F(InputSourceTest, ABadEventFileDeliversNothingAndIsNamedWithItsLine) {
    std::ofstream(dir_ / "good.txt") << "E: 0.000100 0001 001e 1\n";
    std::ofstream(dir_ / "bad.txt") << "# comment\nE: 0.000100 0001\n";
    CEventFileInputSource source({dir_ / "good.txt", dir_ / "bad.txt"});
    int delivered = 0;
    std::string error;
    EXPECT_FALSE(source.Start([&delivered](const InputEvent&) { ++delivered; }, error));
    EXPECT_EQ(delivered, 0);
    EXPECT_NE(error.find("bad.txt:2:"), std::string::npos) << error;
}

TEST_F(InputSourceTest, NodesThatCannotBeOpenedNameTheInputGroup) {
    std::ofstream(dir_ / "event0").put('\0');
    std::ofstream(dir_ / "event1").put('\0');
    std::ofstream(dir_ / "mice").put('\0');
    std::vector<std::string> tried;
    CEvdevInputSource source(dir_, [&tried](const std::string& path) {
        tried.push_back(std::filesystem::path(path).filename().string());
        errno = EACCES;
        return -1;
    });
    std::string error;
    EXPECT_FALSE(source.Start([](const InputEvent&) {}, error));
    EXPECT_EQ(tried, (std::vector<std::string>{"event0", "event1"}));
    EXPECT_NE(error.find("\"input\" group"), std::string::npos) << error;
    EXPECT_EQ(source.OpenNodes(), 0u);
}

TEST_F(InputSourceTest, NodesThatAreNoInputDevicesAreLeftClosed) {
    std::ofstream(dir_ / "event0") << "not a device";
    CEvdevInputSource source(dir_);
    std::string error;
    EXPECT_FALSE(source.Start([](const InputEvent&) {}, error));
    EXPECT_NE(error.find("no keyboard or mouse was found"), std::string::npos) << error;
    EXPECT_EQ(source.OpenNodes(), 0u);
}

}  // namespace
}  // namespace zevik
