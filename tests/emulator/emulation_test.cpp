// The emulation factory: the --emulate list, run-time plug and unplug, the state file and the report
// log.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "emulator/emulation_list.h"
#include "platform/hex_text.h"
#include "emulator/report_log.h"
#include "mouse_fixture.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct ListCase {
    const char* list;
    bool valid;
    const char* expected;  // "kind:cable/receiver ..." or a fragment of the error
};

EmulationOptions Options(std::string list, fs::path state = {}, fs::path log = {}) {
    EmulationOptions options;
    options.list = std::move(list);
    options.stateFile = std::move(state);
    options.logFile = std::move(log);
    return options;
}

std::string Describe(const std::vector<EmulatedDeviceRequest>& requests) {
    std::string text;
    for (const auto& r : requests) {
        if (!text.empty()) text += " ";
        text += r.kind + ":" + (r.cable ? "c" : "-") + (r.receiver ? "r" : "-");
    }
    return text;
}

TEST(EmulationListTest, ParsesKindsAndConnectionsAndNamesWhatIsWrong) {
    const ListCase cases[] = {
        {"mouse", true, "mouse:c-"},
        {"mouse@cable", true, "mouse:c-"},
        {"mouse@receiver", true, "mouse:-r"},
        {"mouse@both", true, "mouse:cr"},
        {"mouse@unplugged", true, "mouse:--"},
        {" mouse , mouse@receiver ", true, "mouse:c- mouse:-r"},
        {"keyboard", true, "keyboard:c-"},
        {"keyboard@both", true, "keyboard:cr"},
        {"keyboard@receiver", false, "emulate it with \"keyboard@both\""},
        {"mousepad", true, "mousepad:c-"},
        {"toaster", false, "unknown device kind \"toaster\" (known: mouse, keyboard, mousepad"},
        {"mouse@usb", false, "unknown connection \"usb\""},
        {"mouse,,mouse", false, "empty device kind"},
        {"", false, "empty device kind"},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.list);
        std::vector<EmulatedDeviceRequest> requests;
        std::string error;
        ASSERT_EQ(ParseEmulationList(c.list, requests, error), c.valid) << error;
        if (c.valid) {
            EXPECT_EQ(Describe(requests), c.expected);
        } else {
            EXPECT_TRUE(requests.empty());
            EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        }
    }
}

TEST(EmulationTest, ConnectionsNotInTheListStartUnpluggedAndCanBePluggedLater) {
    std::string error;
    auto emulation = CEmulation::Create(Options("mouse@receiver,mouse"), error);
    ASSERT_NE(emulation, nullptr) << error;
    EXPECT_EQ(emulation->Targets(),
              (std::vector<std::string>{"mouse", "mouse-receiver", "mouse2", "mouse2-receiver"}));
    std::vector<std::string> paths;
    emulation->Backend().Enumerate(paths);
    EXPECT_EQ(paths, (std::vector<std::string>{
                         "emu:mouse-receiver.if0#vid_320f&pid_225b&mi_00",
                         "emu:mouse-receiver#vid_320f&pid_225b&mi_01&col01",
                         "emu:mouse-receiver#vid_320f&pid_225b&mi_01&col02",
                         "emu:mouse-receiver#vid_320f&pid_225b&mi_01&col03",
                         "emu:mouse-receiver#vid_320f&pid_225b&mi_01&col04",
                         "emu:mouse2.if0#vid_320f&pid_225a&mi_00",
                         "emu:mouse2#vid_320f&pid_225a&mi_01&col01",
                         "emu:mouse2#vid_320f&pid_225a&mi_01&col02",
                         "emu:mouse2#vid_320f&pid_225a&mi_01&col03",
                         "emu:mouse2#vid_320f&pid_225a&mi_01&col04",
                     }));
    ASSERT_TRUE(emulation->Plug("mouse", error)) << error;
    emulation->Backend().Enumerate(paths);
    EXPECT_EQ(paths.size(), 15u);
    EXPECT_FALSE(emulation->Plug("mouse3", error));
    EXPECT_NE(error.find("mouse2-receiver"), std::string::npos)
        << "the message lists the known targets: " << error;
}

TEST(EmulationTest, UnplugEndsAReadThatWaitsForAnAnswer) {
    std::string error;
    auto emulation = CEmulation::Create(Options("mouse"), error);
    ASSERT_NE(emulation, nullptr) << error;
    auto connection = emulation->Backend().Open(kCablePath, true, true);
    ASSERT_NE(connection, nullptr);
    emulation->Model("mouse")->Faults().Arm(EmulatedFault::NoAnswer);
    ASSERT_EQ(connection->Write(vendor::MakeRequest(vendor::kCmdBeginConfig), 100).status, HidIoStatus::Ok);
    auto reader = std::async(std::launch::async, [&] {
        vendor::Report answer{};
        return connection->Read(answer, kHidWaitForever).status;
    });
    std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(emulation->Unplug("mouse", error));
    ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(reader.get(), HidIoStatus::Failed);
}

TEST(EmulationTest, TheReceiverAddsItsRadioHopToEveryReport) {
    std::string error;
    auto emulation = CEmulation::Create(Options("mouse@both"), error);
    ASSERT_NE(emulation, nullptr) << error;
    emulation->SetLatency(2ms, 3ms);
    vendor::Report request = vendor::MakeRequest(vendor::kCmdBeginConfig);
    vendor::StoreChecksum(request);
    for (const auto& [path, least] : {std::pair{kCablePath, 4ms}, std::pair{kReceiverPath, 10ms}}) {
        SCOPED_TRACE(path);
        auto connection = emulation->Backend().Open(path, true, true);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(connection->Write(request, 1000).status, HidIoStatus::Ok);
        vendor::Report answer{};
        ASSERT_EQ(connection->Read(answer, 1000).status, HidIoStatus::Ok);
        EXPECT_GE(std::chrono::steady_clock::now() - start, least);
    }
}

class EmulationFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() / ("zevik-emulator-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    static std::string ReadText(const fs::path& file) {
        std::ifstream in(file);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder;
};

TEST_F(EmulationFilesTest, StateSurvivesARestartAndKeepsOtherDevicesEntries) {
    const fs::path state = folder / "state.json";
    { std::ofstream(state) << R"({"devices": {"mousepad": {"kind": "mousepad"}}, "note": "kept"})"; }
    std::string error;
    {
        auto emulation = CEmulation::Create(Options("mouse@both", state), error);
        ASSERT_NE(emulation, nullptr) << error;
        auto connection = emulation->Backend().Open(kCablePath, true, true);
        const std::vector<uint8_t> payload{7, 0x33};
        vendor::Report request = vendor::MakeRequest(vendor::kCmdWriteMemory);
        request[vendor::kOffsetLength] = 2;
        request[vendor::kOffsetPayload] = payload[0];
        request[vendor::kOffsetPayload + 1] = payload[1];
        vendor::StoreChecksum(request);
        ASSERT_EQ(connection->Write(request, 100).status, HidIoStatus::Ok);
        vendor::Report answer{};
        ASSERT_EQ(connection->Read(answer, 100).status, HidIoStatus::Ok);
        ASSERT_TRUE(emulation->SetInRange("mouse", false, error));
        emulation->Model("mouse")->SetFirmwareVersion(EmulatedPort::Cable, 0x010F);
        ASSERT_TRUE(emulation->SaveState(error)) << error;
    }
    auto restarted = CEmulation::Create(Options("mouse", state), error);
    ASSERT_NE(restarted, nullptr) << error;
    const auto memory = restarted->Model("mouse")->ReadArea("memory");
    EXPECT_EQ(memory[0], 7) << "the active slot";
    EXPECT_EQ(memory[1], 0x33);
    EXPECT_FALSE(restarted->Model("mouse")->InRange());
    EXPECT_EQ(restarted->Backend().Open(kCablePath, true, true)->Attributes().versionNumber, 0x010F);

    ASSERT_TRUE(restarted->SaveState(error)) << error;
    const std::string text = ReadText(state);
    EXPECT_NE(text.find("\"mousepad\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"kept\""), std::string::npos) << text;
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename(), "state.json") << "no temporary file is left behind";
    }
}

TEST_F(EmulationFilesTest, AMissingStateFileMeansFactoryStateAndNothingIsWrittenUntilSaved) {
    const fs::path state = folder / "new.json";
    std::string error;
    auto emulation = CEmulation::Create(Options("mouse", state), error);
    ASSERT_NE(emulation, nullptr) << error;
    EXPECT_EQ(emulation->Model("mouse")->ReadArea("memory"), [] {
        std::vector<uint8_t> memory;
        for (uint8_t slot = 0; slot < 16; ++slot) {
            auto block = CMouseModel::FactoryBlock(slot);
            block.resize(128, 0);
            memory.insert(memory.end(), block.begin(), block.end());
        }
        return memory;
    }());
    EXPECT_FALSE(fs::exists(state));
    ASSERT_TRUE(emulation->SaveState(error)) << error;
    EXPECT_TRUE(fs::exists(state));
}

struct BadStateCase {
    const char* what;
    const char* content;
    const char* message;
};

TEST_F(EmulationFilesTest, ABadStateFileIsRefusedWithAClearMessageAndLeftAsItIs) {
    const BadStateCase cases[] = {
        {"not JSON", "{\"devices\": ", "not valid JSON"},
        {"not an object", "[1, 2]", "does not hold a JSON object"},
        {"devices not an object", R"({"devices": 3})", "\"devices\" is not an object"},
        {"another kind", R"({"devices": {"mouse": {"kind": "headset"}}})", "\"kind\" is not \"mouse\""},
        {"short area", R"({"devices": {"mouse": {"kind": "mouse", "areas": {"status": "0102"}}}})",
         "holds 2 bytes, expected 16"},
        {"bad hex", R"({"devices": {"mouse": {"kind": "mouse", "areas": {"status": "zz"}}}})",
         "not hexadecimal"},
        {"unknown area", R"({"devices": {"mouse": {"kind": "mouse", "areas": {"eeprom": ""}}}})",
         "unknown area \"eeprom\""},
        {"version out of range", R"({"devices": {"mouse": {"kind": "mouse", "firmware": {"cable": 70000}}}})",
         "from 0 to 65535"},
    };
    const fs::path state = folder / "state.json";
    for (const BadStateCase& c : cases) {
        SCOPED_TRACE(c.what);
        { std::ofstream(state) << c.content; }
        std::string error;
        EXPECT_EQ(CEmulation::Create(Options("mouse", state), error), nullptr);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(ReadText(state), c.content);
    }
}

TEST_F(EmulationFilesTest, TheLogHasOneLinePerReportInBothDirections) {
    const fs::path log = folder / "reports.log";
    { std::ofstream(log) << "earlier line\n"; }
    std::string error;
    auto emulation = CEmulation::Create(Options("mouse", {}, log), error);
    ASSERT_NE(emulation, nullptr) << error;
    auto connection = emulation->Backend().Open(kCablePath, true, true);
    vendor::Report request = vendor::MakeRequest(vendor::kCmdBeginConfig);
    vendor::StoreChecksum(request);
    ASSERT_EQ(connection->Write(request, 100).status, HidIoStatus::Ok);
    vendor::Report answer{};
    ASSERT_EQ(connection->Read(answer, 100).status, HidIoStatus::Ok);

    const std::string zeros = [] {
        std::string text;
        for (int i = 0; i < 60; ++i) text += " 00";
        return text;
    }();
    EXPECT_EQ(ReadText(log),
              "earlier line\n"
              "OUT emu:mouse#vid_320f&pid_225a&mi_01&col04 04 01 00 01" +
                  zeros +
                  "\n"
                  "IN emu:mouse#vid_320f&pid_225a&mi_01&col04 04 01 00 01" +
                  zeros + "\n");
}

TEST_F(EmulationFilesTest, AnUnopenableLogIsAnError) {
    std::string error;
    EXPECT_EQ(CEmulation::Create(Options("mouse", {}, folder / "missing" / "reports.log"), error), nullptr);
    EXPECT_NE(error.find("report log"), std::string::npos) << error;
}

TEST(HexTextTest, ParsesWhatItFormatsAndRefusesTheRest) {
    const std::vector<uint8_t> bytes{0x00, 0x0f, 0xa5, 0xff};
    std::vector<uint8_t> parsed;
    EXPECT_EQ(FormatHexBytes(bytes, " "), "00 0f a5 ff");
    ASSERT_TRUE(ParseHexBytes(FormatHexBytes(bytes, ""), parsed));
    EXPECT_EQ(parsed, bytes);
    ASSERT_TRUE(ParseHexBytes("00 0F A5 ff", parsed));
    EXPECT_EQ(parsed, bytes);
    for (const char* bad : {"0", "0 0", "0g", "00,01"}) {
        EXPECT_FALSE(ParseHexBytes(bad, parsed)) << bad;
        EXPECT_TRUE(parsed.empty());
    }
}

}  // namespace
}  // namespace zevik::test
