#pragma once
// A mouse emulated by cable and receiver, with the command and notification collections of both
// ports open, and a plain request/answer helper over the raw 64-byte reports.

#include <gtest/gtest.h>

#include <optional>

#include "emulator/emulation.h"
#include "emulator/mouse_model.h"
#include "transport/vendor_report.h"

namespace zevik::test {

inline constexpr const char* kCablePath = "emu:mouse#vid_320f&pid_225a&mi_01&col04";
inline constexpr const char* kReceiverPath = "emu:mouse-receiver#vid_320f&pid_225b&mi_01&col04";
inline constexpr const char* kCableNotificationPath = "emu:mouse#vid_320f&pid_225a&mi_01&col03";
inline constexpr const char* kReceiverNotificationPath = "emu:mouse-receiver#vid_320f&pid_225b&mi_01&col03";

class MouseFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        EmulationOptions options;
        options.list = "mouse@both";
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        mouse = dynamic_cast<CMouseModel*>(emulation->Model("mouse"));
        ASSERT_NE(mouse, nullptr);
        cable = emulation->Backend().Open(kCablePath, true, true);
        receiver = emulation->Backend().Open(kReceiverPath, true, true);
        ASSERT_NE(cable, nullptr);
        ASSERT_NE(receiver, nullptr);
    }

    // A request with the given command and parameter bytes 4..6, payload from byte 8, checksummed.
    static vendor::Report Request(uint8_t command, uint8_t length = 0, uint16_t address = 0,
                                  std::span<const uint8_t> payload = {}) {
        vendor::Report request = vendor::MakeRequest(command);
        request[vendor::kOffsetLength] = length;
        request[vendor::kOffsetAddressLow] = static_cast<uint8_t>(address & 0xFF);
        request[vendor::kOffsetAddressHigh] = static_cast<uint8_t>(address >> 8);
        std::copy(payload.begin(), payload.end(), request.begin() + vendor::kOffsetPayload);
        vendor::StoreChecksum(request);
        return request;
    }

    // Writes the request as it stands and reads the next vendor answer; nullopt when none comes.
    static std::optional<vendor::Report> Exchange(IHidConnection& connection, const vendor::Report& request,
                                                  int timeoutMs = 200) {
        if (connection.Write(request, 1000).status != HidIoStatus::Ok) return std::nullopt;
        for (;;) {
            vendor::Report answer{};
            const HidIoResult result = connection.Read(answer, timeoutMs);
            if (result.status != HidIoStatus::Ok) return std::nullopt;
            if (answer[0] == vendor::kReportId) return answer;  // other collections' reports are not answers
        }
    }

    std::vector<uint8_t> Memory() const { return mouse->ReadArea("memory"); }

    std::unique_ptr<CEmulation> emulation;
    CMouseModel* mouse = nullptr;
    std::unique_ptr<IHidConnection> cable;
    std::unique_ptr<IHidConnection> receiver;
};

}  // namespace zevik::test
