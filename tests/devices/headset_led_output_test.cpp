// The headset's LEDs from the light frame: levels (x intensity / 256, limited to 247), LEDs 0-12
// of a longer frame, the twelve reports on their own worker, and a failed report that does not stop
// the others.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "devices/headset_led_output.h"
#include "devices/lighting_frame.h"
#include "devices/lighting_tables.h"
#include "emulator/emulation.h"
#include "emulator/headset_model.h"
#include "transport/command_channel.h"

namespace zevik::test {
namespace {

constexpr const char* kHeadsetPath = "emu:headset#vid_0c76&pid_1630&mi_03";

bool WaitFor(const std::function<bool()>& cond) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!cond()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Passes everything to the emulation, except that the output reports the test names fail.
class FailingOutputBackend final : public IHidBackend {
public:
    using Refuse = std::function<bool(std::span<const uint8_t> report)>;
    FailingOutputBackend(IHidBackend& inner, Refuse refuse) : inner_(inner), refuse_(std::move(refuse)) {}

    bool Enumerate(std::vector<std::string>& paths) override { return inner_.Enumerate(paths); }
    std::unique_ptr<IHidConnection> Open(const std::string& path, bool read, bool write) override {
        auto connection = inner_.Open(path, read, write);
        return connection ? std::make_unique<Connection>(std::move(connection), refuse_) : nullptr;
    }

private:
    class Connection final : public IHidConnection {
    public:
        Connection(std::unique_ptr<IHidConnection> inner, Refuse refuse)
            : inner_(std::move(inner)), refuse_(std::move(refuse)) {}
        std::vector<uint8_t> ReportDescriptor() const override { return inner_->ReportDescriptor(); }
        HidAttributes Attributes() const override { return inner_->Attributes(); }
        HidIoResult Read(std::span<uint8_t> buffer, int timeoutMs) override { return inner_->Read(buffer, timeoutMs); }
        HidIoResult Write(std::span<const uint8_t> report, int timeoutMs) override {
            return inner_->Write(report, timeoutMs);
        }
        HidIoResult SetOutputReport(std::span<const uint8_t> report, int timeoutMs) override {
            if (refuse_(report)) return {HidIoStatus::Failed, 0};
            return inner_->SetOutputReport(report, timeoutMs);
        }
        void Cancel() override { inner_->Cancel(); }

    private:
        std::unique_ptr<IHidConnection> inner_;
        Refuse refuse_;
    };

    IHidBackend& inner_;
    Refuse refuse_;
};

class HeadsetLedOutputTest : public ::testing::Test {
protected:
    void Start(FailingOutputBackend::Refuse refuse = [](auto) { return false; }) {
        std::string error;
        EmulationOptions options;
        options.list = "headset";
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        headset = emulation->Model("headset");
        backend = std::make_unique<FailingOutputBackend>(emulation->Backend(), std::move(refuse));
        channel = std::make_unique<CCommandChannel>(*backend);
        ASSERT_TRUE(channel->OpenConnection(kHeadsetPath, kConnectionCable));
        output = std::make_unique<CHeadsetLedOutput>(*channel);
        ASSERT_TRUE(output->Start());
        frame.Resize(15);
    }
    void TearDown() override {
        if (output) output->Stop();
    }

    // The red, green and blue the emulated headset shows on LED led of group (0: 0x22, 1: 0x44).
    std::vector<uint8_t> Shown(size_t group, size_t led) const {
        const std::vector<uint8_t> area = headset->ReadArea("leds");
        const size_t at = group * CHeadsetModel::kLedGroupSize + 3 * led;
        return {area[at], area[at + 1], area[at + 2]};
    }
    // Offers the frame and waits until the worker has sent (or failed) its twelve reports.
    void Send() {
        const std::uint64_t before = output->Link().ReportsSent() + output->Link().ReportsFailed();
        output->Offer(frame);
        ASSERT_TRUE(WaitFor([&] {
            return output->Link().ReportsSent() + output->Link().ReportsFailed() >= before + 12;
        }));
    }

    std::unique_ptr<CEmulation> emulation;
    CFirmwareModel* headset = nullptr;
    std::unique_ptr<FailingOutputBackend> backend;
    std::unique_ptr<CCommandChannel> channel;
    std::unique_ptr<CHeadsetLedOutput> output;
    CLightFrame frame;
};

TEST_F(HeadsetLedOutputTest, LevelsAreColourTimesIntensityOver256) {
    frame.Resize(15);
    const struct {
        lighting::Rgb colour;
        uint8_t intensity;
        std::vector<uint8_t> levels;
    } cases[] = {
        {{255, 255, 255}, 255, {254, 254, 254}},  // the report then limits them to 247
        {{255, 128, 0}, 128, {127, 64, 0}},
        {{200, 100, 50}, 0, {0, 0, 0}},
        {{10, 20, 30}, 256 - 1, {9, 19, 29}},
    };
    for (const auto& c : cases) {
        frame.Set(4, lighting::PackLightEntry(c.colour, c.intensity));
        const auto levels = CHeadsetLedOutput::LevelsOf(frame);
        EXPECT_EQ(std::vector<uint8_t>(levels.begin() + 12, levels.begin() + 15), c.levels) << int{c.intensity};
    }
}

TEST_F(HeadsetLedOutputTest, FullRedAtFullIntensityReachesTheHeadsetAs247) {
    Start();
    frame.Set(0, lighting::PackLightEntry({255, 0, 0}, 255));
    Send();
    EXPECT_EQ(Shown(0, 0), (std::vector<uint8_t>{247, 0, 0}));
    EXPECT_EQ(Shown(1, 0), (std::vector<uint8_t>{247, 0, 0}));
    EXPECT_EQ(output->Link().ReportsSent(), 12u);
    EXPECT_EQ(headset->ReadArea("led_reports"), (std::vector<uint8_t>{12, 0, 0, 0}));
}

TEST_F(HeadsetLedOutputTest, AFifteenLedFrameSendsLedsZeroToTwelve) {
    Start();
    for (int led = 0; led < 15; ++led) frame.Set(led, lighting::PackLightEntry({0, 0, 200}, 255));
    Send();
    for (size_t led = 0; led < 13; ++led) EXPECT_EQ(Shown(1, led), (std::vector<uint8_t>{0, 0, 199})) << led;

    // LEDs 13 and 14 are the page's alone: changing them sends nothing.
    frame.Set(13, lighting::PackLightEntry({9, 9, 9}, 255));
    frame.Set(14, lighting::PackLightEntry({9, 9, 9}, 255));
    output->Offer(frame);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(output->Link().ReportsSent(), 12u);
}

TEST_F(HeadsetLedOutputTest, AFailedReportDoesNotStopTheOthers) {
    // Group 0x22's red of LEDs 7-12 fails.
    Start([](std::span<const uint8_t> report) { return report[1] == 0x22 && report[2] == 0xAD; });
    for (int led = 0; led < 13; ++led) frame.Set(led, lighting::PackLightEntry({100, 50, 25}, 255));
    Send();
    EXPECT_EQ(output->Link().ReportsFailed(), 1u);
    EXPECT_EQ(output->Link().ReportsSent(), 11u);
    EXPECT_EQ(Shown(0, 8), (std::vector<uint8_t>{0, 49, 24})) << "red of LED 8 in group 0x22 failed";
    EXPECT_EQ(Shown(1, 8), (std::vector<uint8_t>{99, 49, 24}));
    EXPECT_EQ(Shown(0, 2), (std::vector<uint8_t>{99, 49, 24}));
}

TEST_F(HeadsetLedOutputTest, NothingGoesOutWhileTheChannelIsClosed) {
    Start();
    channel->CloseConnections();
    frame.Set(0, lighting::PackLightEntry({255, 255, 255}, 255));
    output->Offer(frame);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(output->Link().ReportsSent() + output->Link().ReportsFailed(), 0u);
    EXPECT_EQ(headset->ReadArea("led_reports"), std::vector<uint8_t>(4, 0));
}

}  // namespace
}  // namespace zevik::test
