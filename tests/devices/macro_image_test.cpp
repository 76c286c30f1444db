#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "devices/macro_image.h"
#include "settings/json_file_util.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

uint16_t U16(const std::vector<uint8_t>& v, size_t at) { return static_cast<uint16_t>(v[at] | v[at + 1] << 8); }

// A kind folder with "macro.config" listing macros of the given event counts ("m0.mac", ...).
class MacroFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("zevik-macro-image-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    void List(const std::vector<int>& eventCounts) {
        Json::Value config(Json::objectValue);
        config["MacroInfo"] = Json::Value(Json::arrayValue);
        for (size_t m = 0; m < eventCounts.size(); ++m) {
            Json::Value entry(Json::objectValue);
            entry["MacroName"] = "macro_" + std::to_string(m + 1);
            entry["Guid"] = "m" + std::to_string(m);
            config["MacroInfo"].append(entry);
            Json::Value doc(Json::objectValue);
            doc["Events"] = Json::Value(Json::arrayValue);
            for (int e = 0; e < eventCounts[m]; ++e) {
                Json::Value event(Json::objectValue);
                event["Action"] = "down";
                event["Button"] = 4 + static_cast<int>(m);
                event["Type"] = 10;
                event["Delay"] = "50";
                doc["Events"].append(event);
            }
            ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(folder / ("m" + std::to_string(m) + ".mac"), doc));
        }
        ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(folder / "macro.config", config));
    }
    static std::array<uint8_t, 34> InfoWithMacroUnits(uint8_t units) {
        std::array<uint8_t, 34> info{};
        info[6] = units;
        return info;
    }
    fs::path folder;
};

TEST_F(MacroFolder, TwoMacrosOfThreeAndFiveEventsMakeSixtyBytes) {
    List({1, 3, 5});
    const std::vector<int> used = {1, 2};
    const MacroImage out = BuildMacroImage(folder, used, MacroMemoryOf(InfoWithMacroUnits(16)));
    ASSERT_EQ(out.status, MacroImage::Status::Ready);
    ASSERT_EQ(out.image.size(), 60u);
    EXPECT_EQ(U16(out.image, 0), 0x55AA);
    EXPECT_EQ(U16(out.image, 2), 60);
    EXPECT_EQ(U16(out.image, 4), 2);
    EXPECT_EQ(U16(out.image, 16), 20);
    EXPECT_EQ(U16(out.image, 18), 36);
    EXPECT_EQ(U16(out.image, 20), 3);
    EXPECT_EQ(U16(out.image, 36), 5);
    const std::vector<uint8_t> firstEvent(out.image.begin() + 24, out.image.begin() + 28);
    EXPECT_EQ(firstEvent, (std::vector<uint8_t>{0x32, 0x00, 0x8A, 0x05}));
}

TEST_F(MacroFolder, AnImageLargerThanTheMacroMemoryIsRefusedWithItsExcess) {
    List({3, 5});
    const std::vector<int> used = {0, 1};
    struct Case {
        size_t capacity;
        MacroImage::Status status;
        int excessUnits;
    };
    const std::vector<Case> cases = {
        {60, MacroImage::Status::Ready, 0},
        {59, MacroImage::Status::TooLarge, 1},  // 1 byte over: 1 / 4 + 1
        {52, MacroImage::Status::TooLarge, 3},  // 8 bytes over: 8 / 4 + 1
        {MacroMemoryOf(InfoWithMacroUnits(0)), MacroImage::Status::TooLarge, 60 / 4 + 1},
    };
    for (const Case& c : cases) {
        const MacroImage out = BuildMacroImage(folder, used, c.capacity);
        EXPECT_EQ(out.status, c.status) << c.capacity;
        EXPECT_EQ(out.excessUnits, c.excessUnits) << c.capacity;
        if (c.status == MacroImage::Status::TooLarge) {
            EXPECT_TRUE(out.image.empty());
        }
    }
    EXPECT_EQ(MacroMemoryOf(InfoWithMacroUnits(16)), 2048u);
    EXPECT_EQ(MacroMemoryOf(std::vector<uint8_t>(6, 9)), 0u);  // a record too short to say
}

}  // namespace
}  // namespace zevik
