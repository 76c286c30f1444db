// The keyboard's key layers, macro image and custom-colour slots against the emulated keyboard: what
// each write leaves in the keyboard's tables, and what a refused or failed one leaves alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>

#include "devices/keyboard_device.h"
#include "devices/keyboard_key_image.h"
#include "emulator/emulation.h"
#include "emulator/keyboard_model.h"
#include "settings/json_file_util.h"
#include "settings/profile_locations.h"
#include "transport/vendor_report.h"
#include "ui/plain_message_loop.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

class KeyboardKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("zevik-keyboard-keys-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        const fs::path program = root / "program";
        fs::create_directories(program / "DefaultData");
        const fs::path factory = fs::path(ZEVIK_TEST_DATA_DIR) / ".." / ".." / "resources" / "DefaultData";
        for (const char* file : {"keyboard.Json", "default_light.json"}) {
            fs::copy_file(factory / file, program / "DefaultData" / file);
        }
        locations = std::make_unique<CProfileLocations>(root / "data", program);

        std::string error;
        EmulationOptions options;
        options.list = "keyboard";
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        model = dynamic_cast<CKeyboardModel*>(emulation->Model("keyboard"));
        ASSERT_NE(model, nullptr);
        emulation->EmulatedBackend().SetReportHook(
            [this](EmulatedReportDirection direction, const std::string&, std::span<const uint8_t> report) {
                if (direction == EmulatedReportDirection::Out && report.size() > 3) ++sent[report[3]];
            });

        context.hidBackend = &emulation->Backend();
        context.uiLoop = &loop;
        context.profileLocations = locations.get();
        device = std::make_unique<COrbantixKeyboardDevice>(context);
        std::string path;
        std::vector<std::string> paths;
        ASSERT_TRUE(emulation->Backend().Enumerate(paths));
        for (const std::string& p : paths) {
            if (p.find("keyboard#") != std::string::npos && p.find("col04") != std::string::npos) path = p;
        }
        ASSERT_FALSE(path.empty());
        ASSERT_TRUE(device->CommandChannel().OpenConnection(path, kConnectionCable));
        ASSERT_EQ(device->Connect(), kResultDone);
        ASSERT_EQ(device->PositionCount(), CKeyboardModel::kFullSizePositions);
        for (std::atomic<int>& count : sent) count = 0;  // what the connect sent does not count
    }
    void TearDown() override {
        device.reset();
        emulation.reset();
        fs::remove_all(root);
    }

    // Macros "m0", "m1", ... of the given event counts; event e of macro m presses usage 4 + m.
    void ListMacros(const std::vector<int>& eventCounts) {
        const fs::path folder = device->KindFolder();
        fs::create_directories(folder);
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
    void Assign(int layer, size_t key, AssignmentCode code) {
        std::vector<KeyAssignRecord> keys = device->KeyLayer(layer);
        keys.at(key).assignment = code;
        device->SetKeyLayer(layer, keys);
    }
    AssignmentCode At(const char* area, size_t key) const {
        const std::vector<uint8_t> table = model->ReadArea(area);
        const size_t k = device->KeyMaps().position.at(key);
        return {table.at(3 * k), table.at(3 * k + 1), table.at(3 * k + 2)};
    }
    Json::Value ProfileOnDisk() const {
        return CJsonFileUtil().ReadJsonFile(device->Profile().GetProfilePath())["Device"][0];
    }
    int Sent(uint8_t command) const { return sent[command].load(); }
    int SelectItemOf(int code) const {
        const std::vector<int>& modes = device->ModeList();
        return static_cast<int>(std::find(modes.begin(), modes.end(), code) - modes.begin());
    }
    void EnterMode(int code, int slot) {
        LightInfoRecord record = device->GetLighting();
        record.selectItem = static_cast<uint8_t>(SelectItemOf(code));
        record.customGroup = static_cast<uint8_t>(slot);
        record.red = 0x11;
        record.green = 0x22;
        record.blue = 0x33;
        device->SetLighting(record);
    }

    fs::path root;
    std::unique_ptr<CProfileLocations> locations;
    std::unique_ptr<CEmulation> emulation;
    CKeyboardModel* model = nullptr;
    CPlainMessageLoop loop;
    DeviceContext context;
    std::unique_ptr<COrbantixKeyboardDevice> device;
    std::array<std::atomic<int>, 256> sent{};  // requests sent, by command code
};

constexpr size_t kKeyA = 64;
constexpr size_t kKeyEsc = 0;
constexpr AssignmentCode kPlay{0x30, 0xCD, 0x00};
constexpr AssignmentCode kShiftB{0x20, 0x02, 0x05};

TEST_F(KeyboardKeysTest, EachLayerReachesItsOwnTableAndTheProfile) {
    const std::vector<uint8_t> factory = model->ReadArea("key_codes");
    Assign(1, kKeyA, kPlay);
    Assign(2, kKeyEsc, kShiftB);
    ASSERT_EQ(device->WriteLayerAndMacros(1), 0);
    EXPECT_EQ(At("key_table", kKeyA), kPlay);
    EXPECT_EQ(At("key_table", kKeyEsc), KeyboardDefaultKeyCodes()[kKeyEsc]);
    EXPECT_EQ(model->ReadArea("key_table2"), factory);  // layer 2 not sent yet
    EXPECT_EQ(Sent(vendor::kCmdWriteMacroImage), 0);    // no macro in use

    ASSERT_EQ(device->WriteLayerAndMacros(2), 0);
    EXPECT_EQ(At("key_table2", kKeyEsc), kShiftB);
    EXPECT_EQ(At("key_table2", kKeyA), KeyboardDefaultKeyCodes()[kKeyA]);
    const std::vector<uint8_t> table2 = model->ReadArea("key_table2");
    EXPECT_TRUE(std::equal(table2.begin() + 3 * 109, table2.end(), factory.begin() + 3 * 109))
        << "only the N x 3 bytes are written";

    const Json::Value saved = ProfileOnDisk();
    EXPECT_EQ(saved["KeyList"][static_cast<int>(kKeyA)]["Assignment"], kPlay.ToInt());
    EXPECT_EQ(saved["KeyList2"][static_cast<int>(kKeyEsc)]["Assignment"], kShiftB.ToInt());
    EXPECT_EQ(saved["KeyList2"].size(), 170u);
}

TEST_F(KeyboardKeysTest, LayerOneSendsItsMacrosNumberedByFirstUse) {
    ListMacros({1, 1, 1, 2, 1, 1, 1, 3});  // eight macros; macro 7 has 3 events, macro 3 two
    Assign(1, 1, {0x70, 7, 0});
    Assign(1, 2, {0x71, 3, 5});
    Assign(1, 3, {0x70, 7, 1});
    Assign(1, 4, {0x70, 9, 0});  // beyond the list
    ASSERT_EQ(device->WriteLayerAndMacros(1), 0);
    EXPECT_EQ(At("key_table", 1), (AssignmentCode{0x70, 0, 0}));
    EXPECT_EQ(At("key_table", 2), (AssignmentCode{0x71, 1, 5}));
    EXPECT_EQ(At("key_table", 3), (AssignmentCode{0x70, 0, 1}));
    EXPECT_EQ(At("key_table", 4), KeyboardDefaultKeyCodes()[4]);

    // Macro 7 (three events) then macro 3 (two): 16 + 12 + 20 = 48 bytes, offsets 20 and 36.
    const std::vector<uint8_t> macro = model->ReadArea("macro");
    const auto u16 = [&](size_t at) { return macro[at] | macro[at + 1] << 8; };
    EXPECT_EQ(u16(0), 0x55AA);
    EXPECT_EQ(u16(2), 48);
    EXPECT_EQ(u16(4), 2);
    EXPECT_EQ(u16(16), 20);
    EXPECT_EQ(u16(18), 36);
    EXPECT_EQ(u16(20), 3);
    EXPECT_EQ(macro[27], 4 + 7);  // macro 7's key
    EXPECT_EQ(u16(36), 2);
    EXPECT_EQ(macro[43], 4 + 3);
    // The profile keeps the macro numbers as they were.
    EXPECT_EQ(ProfileOnDisk()["KeyList"][1]["Assignment"], (AssignmentCode{0x70, 7, 0}).ToInt());
}

TEST_F(KeyboardKeysTest, TheWorkedImageOfThreeAndFiveEvents) {
    ListMacros({3, 5});
    Assign(1, kKeyEsc, {0x70, 0, 0});  // logical key 0 comes first in the walk
    Assign(1, kKeyA, {0x70, 1, 0});
    ASSERT_EQ(device->WriteLayerAndMacros(1), 0);
    const std::vector<uint8_t> macro = model->ReadArea("macro");
    const std::vector<uint8_t> head(macro.begin(), macro.begin() + 20);
    EXPECT_EQ(head, (std::vector<uint8_t>{0xAA, 0x55, 60, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 36, 0}));
    EXPECT_EQ(macro[20], 3);
    EXPECT_EQ(macro[36], 5);
    EXPECT_EQ((std::vector<uint8_t>(macro.begin() + 56, macro.begin() + 60)),
              (std::vector<uint8_t>{0x32, 0x00, 0x8A, 0x05}));  // macro 1's last event
}

TEST_F(KeyboardKeysTest, MacrosBeyondTheMacroMemorySendNeitherLayerNorMacrosAndSaveNothing) {
    ListMacros({300, 300});  // 16 + 12 + 2400 bytes > 16 x 128
    Assign(1, kKeyA, {0x70, 0, 0});
    Assign(1, kKeyEsc, {0x70, 1, 0});
    const Json::Value before = ProfileOnDisk();
    const int result = device->WriteLayerAndMacros(1);
    EXPECT_EQ(result, (16 + 12 + 2400 - 2048) / 4 + 1);
    EXPECT_EQ(Sent(vendor::kCmdWriteKeyTable), 0);
    EXPECT_EQ(Sent(vendor::kCmdWriteMacroImage), 0);
    EXPECT_EQ(Sent(vendor::kCmdBeginConfig), 0);
    EXPECT_EQ(ProfileOnDisk(), before);
    EXPECT_EQ(device->WriteMacros(device->GetUsedMacros()), result);  // the contract's own write agrees
}

TEST_F(KeyboardKeysTest, AKeyboardThatRefusesTheLayerLeavesTheProfileUnsaved) {
    Assign(1, kKeyA, kPlay);
    const Json::Value before = ProfileOnDisk();
    model->Faults().Arm(EmulatedFault::StatusRejected, 1, vendor::kCmdWriteKeyTable);
    EXPECT_EQ(device->WriteLayerAndMacros(1), kResultStatusRejected);
    EXPECT_EQ(Sent(vendor::kCmdEndConfig), 1);  // the frame is closed all the same
    EXPECT_EQ(ProfileOnDisk(), before);
    EXPECT_EQ(device->WriteKeyLayer1(1, device->KeyLayer(1)), kResultBankNotZero);
}

TEST_F(KeyboardKeysTest, TheKeyPageEditsTheLayerItOpened) {
    device->SelectKey2(kKeyA);
    device->StoreKeyAssignment(KeyAssignRecord{kKeyA, kShiftB, kKeyA, KeyboardDefaultKeyCodes()[kKeyA]});
    device->StoreKeyAssignment(KeyAssignRecord{kKeyA, {0x70, 0, 0}, kKeyA, {}});  // layer 2 takes no macro
    EXPECT_EQ(device->KeyLayer(2)[kKeyA].assignment, kShiftB);
    EXPECT_EQ(device->KeyLayer(1)[kKeyA].assignment, KeyboardDefaultKeyCodes()[kKeyA]);
    ASSERT_EQ(device->WriteKeysAndMacros(), 0);
    EXPECT_EQ(At("key_table2", kKeyA), kShiftB);
    EXPECT_EQ(Sent(vendor::kCmdWriteKeyTable), 0);

    device->SelectKey(kKeyA);
    device->StoreKeyAssignment(KeyAssignRecord{kKeyA, kPlay, kKeyA, KeyboardDefaultKeyCodes()[kKeyA]});
    ASSERT_EQ(device->WriteKeysAndMacros(), 0);
    EXPECT_EQ(At("key_table", kKeyA), kPlay);
    EXPECT_EQ(device->KeyLayer(2)[kKeyA].assignment, kShiftB);
}

// ---------------------------------------------------------------- custom colours

TEST_F(KeyboardKeysTest, EnteringCustomColoursReadsTheSlotIntoTheKeysAndTheProfile) {
    std::vector<uint8_t> slot(512, 0);
    for (size_t i = 0; i < 109 * 3; ++i) slot[i] = static_cast<uint8_t>(i);
    ASSERT_TRUE(model->WriteArea("key_colors", 3 * 512, slot));
    EnterMode(20, 3);
    const uint8_t led = device->KeyMaps().led[kKeyA];
    const lighting::Rgb want{slot[3u * led], slot[3u * led + 1], slot[3u * led + 2]};
    EXPECT_EQ(lighting::EntryColour(device->Engine().Frame().Get(kKeyA)), want);
    const std::vector<KeyColorRecord> stored = device->Profile().GetKeyColors(3, 170);
    EXPECT_EQ(stored[kKeyA], (KeyColorRecord{want.r, want.g, want.b, 255}));
    // Written back as read (N x 3 bytes in chunks of 56): the keyboard's slot is unchanged.
    EXPECT_EQ(Sent(vendor::kCmdWriteKeyColors), (109 * 3 + 55) / 56);
    const std::vector<uint8_t> colours = model->ReadArea("key_colors");
    EXPECT_TRUE(std::equal(slot.begin(), slot.begin() + 109 * 3, colours.begin() + 3 * 512));
}

TEST_F(KeyboardKeysTest, AFailedOrUnaddressableSlotStoresAndWritesNothing) {
    EnterMode(20, 0);
    device->SetAllCustomKeys(true);
    sent[vendor::kCmdWriteKeyColors] = 0;
    sent[vendor::kCmdReadKeyColors] = 0;
    const Json::Value before = device->Profile().CurrentDocument()["CustomLightMode"];
    const uint32_t entry = device->Engine().Frame().Get(kKeyA);

    EnterMode(20, 8);  // the emulated keyboard has eight slots: slot 8 answers 0xFF
    EXPECT_EQ(device->ReadCustomColours(), kResultStatusFailed);
    EXPECT_EQ(Sent(vendor::kCmdWriteKeyColors), 0);
    EXPECT_TRUE(device->Profile().CurrentDocument()["CustomLightMode"]["LightColorInfo"][8].isNull());

    sent[vendor::kCmdReadKeyColors] = 0;
    EnterMode(20, 200);  // 200 x 512 lies past the 16-bit addresses
    EXPECT_FALSE(device->CustomSlotFits(200));
    EXPECT_EQ(Sent(vendor::kCmdReadKeyColors), 0);
    EXPECT_EQ(Sent(vendor::kCmdWriteKeyColors), 0);
    EXPECT_EQ(lighting::EntryColour(device->Engine().Frame().Get(kKeyA)), lighting::EntryColour(entry));
    EXPECT_EQ(device->Profile().CurrentDocument()["CustomLightMode"]["LightColorInfo"][0],
              before["LightColorInfo"][0]);
}

TEST_F(KeyboardKeysTest, SettingKeysWritesTheirLedsAndSavesTheSlot) {
    EnterMode(20, 2);
    ASSERT_EQ(device->SetAllCustomKeys(false), kResultDone);
    ASSERT_EQ(device->SetCustomKey(static_cast<int>(kKeyA)), kResultDone);
    const std::vector<uint8_t> colours = model->ReadArea("key_colors");
    const size_t at = 2 * 512 + 3u * device->KeyMaps().led[kKeyA];
    EXPECT_EQ((std::vector<uint8_t>(colours.begin() + static_cast<long>(at), colours.begin() + static_cast<long>(at) + 3)),
              (std::vector<uint8_t>{0x11, 0x22, 0x33}));
    const size_t esc = 2 * 512 + 3u * device->KeyMaps().led[kKeyEsc];
    EXPECT_EQ(colours[esc], 0);
    const Json::Value group = ProfileOnDisk()["CustomLightMode"]["LightColorInfo"][2];
    ASSERT_EQ(group.size(), 170u);
    EXPECT_EQ(group[static_cast<int>(kKeyA)]["Red"], 0x11);
    EXPECT_EQ(group[static_cast<int>(kKeyEsc)]["Red"], 0);

    // Outside mode 20 the custom colours are left alone.
    EnterMode(1, 2);
    sent[vendor::kCmdWriteKeyColors] = 0;
    EXPECT_FALSE(device->InCustomColourMode());
    EXPECT_EQ(device->SetCustomKey(static_cast<int>(kKeyEsc)), kResultNoAnswer);
    EXPECT_EQ(device->SetAllCustomKeys(true), kResultNoAnswer);
    EXPECT_EQ(Sent(vendor::kCmdWriteKeyColors), 0);
}

TEST_F(KeyboardKeysTest, SelectingAndShowingASlot) {
    EnterMode(20, 0);
    ASSERT_EQ(device->SetAllCustomKeys(true), kResultDone);  // slot 0 lit
    device->SelectCustomSlot(5);
    EXPECT_EQ(device->GetLighting().customGroup, 5);
    EXPECT_EQ(ProfileOnDisk()["LightInfo"]["CustomGroup"], 5);
    EXPECT_EQ(ProfileOnDisk()["CustomLightMode"]["CustomLightModeGroupIndex"], 5);
    ASSERT_EQ(device->ShowCustomSlot(5), kResultDone);  // slot 5 is empty in the profile: all black
    EXPECT_EQ(lighting::EntryColour(device->Engine().Frame().Get(kKeyA)), lighting::Rgb{});
    ASSERT_EQ(device->ShowCustomSlot(0), kResultDone);
    EXPECT_EQ(lighting::EntryColour(device->Engine().Frame().Get(kKeyA)), (lighting::Rgb{0x11, 0x22, 0x33}));
}

}  // namespace
}  // namespace zevik
