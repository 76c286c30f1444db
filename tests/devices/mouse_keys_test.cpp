// The mouse's key page operations against the emulated mouse: keeping an edited key, writing the
// key list with its macros, the profile saved only once the mouse took them, and the guard on the
// last left button.

#include <gtest/gtest.h>

#include "devices/mouse_device_fixture.h"
#include "devices/mouse_macro_image.h"
#include "settings/json_file_util.h"

namespace zevik::test {
namespace {

constexpr AssignmentCode kMute{0x30, 0xE2, 0x00};
constexpr int kBackKey = 4;  // logical key 4: the back button

class MouseKeysTest : public MouseDeviceTest {
protected:
    void Connect() {
        Start();
        ASSERT_TRUE(Open());
        ASSERT_EQ(device->Connect(), 1);
        folder = locations->KindFolder(ProfileKind::Mouse);
    }

    // A macro list of names; each macro holds count key events.
    void WriteMacros(const std::vector<std::pair<std::string, int>>& macros) {
        Json::Value config(Json::objectValue);
        config["MacroInfo"] = Json::Value(Json::arrayValue);
        for (const auto& [name, count] : macros) {
            Json::Value entry(Json::objectValue);
            entry["MacroName"] = name;
            entry["Guid"] = name;
            config["MacroInfo"].append(entry);
            Json::Value macro(Json::objectValue);
            macro["Events"] = Json::Value(Json::arrayValue);
            for (int i = 0; i < count; ++i) {
                Json::Value event(Json::objectValue);
                event["Action"] = i % 2 == 0 ? "down" : "up";
                event["Button"] = 4;
                event["Delay"] = "10";
                event["Type"] = 10;
                macro["Events"].append(event);
            }
            ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(folder / (name + ".mac"), macro));
        }
        ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(folder / "macro.config", config));
    }

    KeyAssignRecord Key(int index) { return device->Profile().GetKeyList().at(static_cast<size_t>(index)); }

    void Assign(int index, AssignmentCode code) {
        KeyAssignRecord record = Key(index);
        record.assignment = code;
        device->StoreKeyAssignment(record);
    }

    AssignmentCode OnMouse(int index) {
        const size_t k = device->KeyMap()[static_cast<size_t>(index)];
        const std::vector<uint8_t> table = mouse->ReadArea("key_table");
        return {table.at(3 * k), table.at(3 * k + 1), table.at(3 * k + 2)};
    }

    AssignmentCode OnDisk(int index) {
        return AssignmentCode::FromInt(ProfileOnDisk()["KeyList"][index]["Assignment"].asInt64());
    }

    std::filesystem::path folder;
};

TEST_F(MouseKeysTest, AKeptKeyStaysInTheDocumentUntilWrittenThenReachesMouseAndDisk) {
    Connect();
    const AssignmentCode before = OnMouse(kBackKey);
    Assign(kBackKey, kMute);
    EXPECT_EQ(Key(kBackKey).assignment, kMute);
    EXPECT_EQ(OnMouse(kBackKey), before) << "keeping a key sends nothing";
    EXPECT_NE(OnDisk(kBackKey), kMute) << "keeping a key saves nothing";

    EXPECT_EQ(device->WriteKeysAndMacros(), 0);
    EXPECT_EQ(OnMouse(kBackKey), kMute);
    EXPECT_EQ(OnDisk(kBackKey), kMute);
}

TEST_F(MouseKeysTest, MacrosGoInFirstUseOrderAndKeysNameThemByThatOrder) {
    Connect();
    WriteMacros({{"m0", 2}, {"m1", 4}, {"m2", 6}});
    Assign(kBackKey, {0x70, 2, 1});
    Assign(0, {0x71, 0, 5});
    ASSERT_EQ(device->WriteKeysAndMacros(), 0);
    // Key 0 comes first in key order: macro 0 is the mouse's first, macro 2 its second.
    EXPECT_EQ(OnMouse(0), (AssignmentCode{0x71, 0, 5}));
    EXPECT_EQ(OnMouse(kBackKey), (AssignmentCode{0x70, 1, 1}));
    const std::vector<uint8_t> area = mouse->ReadArea("macro");
    const std::vector<int> order{0, 2};
    const MouseMacroImage image = BuildMouseMacroImage(folder, order, area.size());
    ASSERT_EQ(image.status, MouseMacroImage::Status::Ready);
    EXPECT_TRUE(std::equal(image.image.begin(), image.image.end(), area.begin()));
    // The document keeps the user's numbering.
    EXPECT_EQ(OnDisk(kBackKey), (AssignmentCode{0x70, 2, 1}));
}

TEST_F(MouseKeysTest, MacrosBeyondTheMemorySendNothingAndSaveNothing) {
    Connect();
    WriteMacros({{"big", 600}});  // 2400 bytes of events: more than the 2048-byte memory
    const std::vector<uint8_t> tableBefore = mouse->ReadArea("key_table");
    const Json::Value diskBefore = ProfileOnDisk();
    Assign(kBackKey, {0x70, 0, 0});
    const int result = device->WriteKeysAndMacros();
    EXPECT_GT(result, 0) << "the excess, for the message";
    EXPECT_EQ(mouse->ReadArea("key_table"), tableBefore);
    EXPECT_EQ(ProfileOnDisk(), diskBefore);
}

TEST_F(MouseKeysTest, AMouseThatIsGoneTakesNothingAndTheProfileIsNotSaved) {
    Connect();
    const Json::Value diskBefore = ProfileOnDisk();
    Assign(kBackKey, kMute);
    device->CommandChannel().CloseConnections();
    EXPECT_EQ(device->WriteKeysAndMacros(), -1);
    EXPECT_EQ(ProfileOnDisk(), diskBefore);
}

TEST_F(MouseKeysTest, TheOnlyLeftButtonIsGuarded) {
    Connect();
    constexpr int kLeftKey = 1;
    EXPECT_TRUE(device->IsLastLeftButton(kLeftKey));
    EXPECT_FALSE(device->IsLastLeftButton(kBackKey));
    EXPECT_FALSE(device->IsLastLeftButton(99));
    Assign(kBackKey, {0x10, 0x01, 0x00});  // a second left button frees the first
    EXPECT_FALSE(device->IsLastLeftButton(kLeftKey));
    EXPECT_FALSE(device->IsLastLeftButton(kBackKey));
}

// The key map comes from the factory codes, so a reassigned key keeps its place at the next connect.
TEST_F(MouseKeysTest, WrittenKeysSurviveTheNextConnection) {
    Connect();
    const MouseKeyMap map = device->KeyMap();
    Assign(kBackKey, kMute);
    ASSERT_EQ(device->WriteKeysAndMacros(), 0);
    device->CommandChannel().CloseConnections();
    ASSERT_TRUE(Open());
    ASSERT_EQ(device->Connect(), 1);
    EXPECT_EQ(device->KeyMap(), map);
    EXPECT_EQ(Key(kBackKey).assignment, kMute);
    EXPECT_EQ(OnMouse(kBackKey), kMute);
}

}  // namespace
}  // namespace zevik::test
