// CCommandChannel: framing, answer matching, the protected exchange, flags, traces and its locks.

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "channel_fixture.h"
#include "transport/vendor_report.h"

namespace zevik::test {
namespace {

Report AnswerWithCommand(uint8_t command) {
    Report answer = vendor::MakeRequest(command);
    answer[vendor::kOffsetPayload] = command;  // tells the answers apart in the answer buffer
    return answer;
}

TEST(VendorReport, CrcIsModbus) {
    const std::string digits = "123456789";
    EXPECT_EQ(vendor::Crc16Modbus({reinterpret_cast<const uint8_t*>(digits.data()), digits.size()}), 0x4B37);
}

TEST(VendorReport, CrcCoversBytes3To31StoredLowByteFirst) {
    Report report{};
    vendor::StoreCrc(report);
    const std::array<uint8_t, 29> zeros{};
    const uint16_t crcOfZeros = vendor::Crc16Modbus(zeros);
    EXPECT_EQ(report[1], crcOfZeros & 0xFF);
    EXPECT_EQ(report[2], crcOfZeros >> 8);
    EXPECT_TRUE(vendor::CrcMatches(report));

    for (size_t index : {3U, 17U, 31U}) {
        Report changed = report;
        changed[index] = 0x5A;
        EXPECT_NE(vendor::ReportCrc(changed), crcOfZeros) << "byte " << index;
    }
    for (size_t index : {32U, 63U}) {
        Report changed = report;
        changed[index] = 0x5A;
        EXPECT_EQ(vendor::ReportCrc(changed), crcOfZeros) << "byte " << index;
    }
}

TEST(VendorReport, ChecksumSumsBytes3To63AndDropsTheCarry) {
    Report begin = vendor::MakeRequest(vendor::kCmdBeginConfig);
    vendor::StoreChecksum(begin);
    EXPECT_EQ(begin[1], 0x01);
    EXPECT_EQ(begin[2], 0x00);

    Report full{};
    full.fill(0xFF);  // 61 * 255 = 15555: no carry; bytes 0..2 are not summed
    EXPECT_EQ(vendor::Checksum(full), 61 * 255);
    EXPECT_TRUE(vendor::ChecksumMatches(begin));
}

TEST(CommandChannelState, ConstructionDefaultsAndSizes) {
    CEmulatedBackend backend;
    CCommandChannel channel(backend);
    EXPECT_EQ(channel.BlockSize(), 512);
    EXPECT_EQ(channel.ChunkSize(), 24);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_FALSE(channel.IsBusy());
    EXPECT_FALSE(channel.ReceiverMode());

    EXPECT_TRUE(channel.SetBlockSize(512));
    EXPECT_TRUE(channel.SetBlockSize(94));
    EXPECT_FALSE(channel.SetBlockSize(513));
    EXPECT_FALSE(channel.SetBlockSize(70000));
    EXPECT_EQ(channel.BlockSize(), 94);

    struct Case { int mode; bool receiver; uint8_t chunk; };
    for (const Case c : {Case{2, true, 24}, Case{1, false, 56}, Case{0, false, 56}, Case{7, false, 56}}) {
        channel.SetConnectionMode(c.mode);
        EXPECT_EQ(channel.ReceiverMode(), c.receiver) << "mode " << c.mode;
        EXPECT_EQ(channel.ChunkSize(), c.chunk) << "mode " << c.mode;
    }
}

TEST_F(ChannelTest, ClosedChannelSendsNothingAndIsNotBusyAfterwards) {
    Report answer{};
    answer.fill(0x77);
    uint32_t received = 99;
    EXPECT_EQ(channel_.Exchange(vendor::MakeRequest(1), answer, &received), kResultNoAnswer);
    EXPECT_EQ(channel_.ExchangeProtected(vendor::MakeRequest(0x12), answer, &received), kResultNoAnswer);
    EXPECT_EQ(received, 0U);
    EXPECT_EQ(answer[0], 0x77);
    EXPECT_TRUE(node_->Requests().empty());
    EXPECT_FALSE(channel_.IsBusy());
}

TEST_F(ChannelTest, RequestIsPaddedOrCutTo64Bytes) {
    Connect();
    std::vector<uint8_t> shortRequest(10, 0x11);
    shortRequest[0] = vendor::kReportId;
    shortRequest[3] = 0x05;
    std::vector<uint8_t> longRequest(80, 0x22);
    longRequest[0] = vendor::kReportId;
    Report answer{};
    ASSERT_EQ(channel_.Exchange(shortRequest, answer), kResultDone);
    ASSERT_EQ(channel_.Exchange(longRequest, answer), kResultDone);

    const auto requests = node_->Requests();
    ASSERT_EQ(requests.size(), 2U);
    for (size_t i = 0; i < 64; ++i) {
        EXPECT_EQ(requests[0][i], i < 10 ? shortRequest[i] : 0) << i;
        EXPECT_EQ(requests[1][i], i == 0 ? vendor::kReportId : 0x22) << i;
    }
}

// Answer matching by command byte, per connection mode.
struct MatchCase {
    const char* name;
    int mode;
    std::vector<uint8_t> answerCommands;  // command bytes of the answers the device sends
    int expected;
    uint8_t lastAnswerMarker;  // payload byte 0 of the answer left in the buffer
};

class ChannelMatching : public ChannelTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(ChannelMatching, ResultAndAnswerBuffer) {
    const MatchCase& c = GetParam();
    Connect(c.mode);
    node_->SetResponder([&](const Report&, size_t) {
        std::vector<Report> answers;
        for (uint8_t command : c.answerCommands) answers.push_back(AnswerWithCommand(command));
        return answers;
    });
    Report answer{};
    uint32_t received = 0;
    EXPECT_EQ(channel_.Exchange(vendor::MakeRequest(0x05), answer, &received), c.expected);
    EXPECT_EQ(received, 64U);
    EXPECT_EQ(answer[vendor::kOffsetPayload], c.lastAnswerMarker);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ChannelMatching,
    ::testing::Values(MatchCase{"CableMatch", kConnectionCable, {0x05}, kResultDone, 0x05},
                      MatchCase{"CableStaleThenMatch", kConnectionCable, {0x03, 0x05}, kResultDone, 0x05},
                      // By cable 0xAA is only another command's answer: the spare read finds ours.
                      MatchCase{"CableAaThenMatch", kConnectionCable, {0xAA, 0x05}, kResultDone, 0x05},
                      MatchCase{"ReceiverAaStopsAtOnce", kConnectionReceiver, {0xAA, 0x05}, kResultReceiverCannotServe, 0xAA},
                      // Two answers to other requests are no answer to ours.
                      MatchCase{"TwoUnmatched", kConnectionCable, {0x03, 0x07}, kResultNoAnswer, 0x07},
                      MatchCase{"TwoUnmatchedReceiver", kConnectionReceiver, {0x03, 0x07, 0x05}, kResultNoAnswer, 0x07}),
    [](const ::testing::TestParamInfo<MatchCase>& p) { return std::string(p.param.name); });

TEST_F(ChannelTest, AnswerAfterATimedOutExchangeIsNotTakenForTheNextOne) {
    Connect();
    // The first request gets no answer in time; its late answer arrives just before the next one's.
    node_->SetResponder([&](const Report& request, size_t index) {
        if (index == 0) return std::vector<Report>{};
        if (index == 1) return std::vector<Report>{AnswerWithCommand(0x03), DefaultAnswer(request)};
        return std::vector<Report>{DefaultAnswer(request)};
    });
    Report answer{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(channel_.Exchange(vendor::MakeRequest(0x03), answer), kResultNoAnswer);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    // The late answer to 0x03 arrives first: the spare read skips it.
    EXPECT_EQ(channel_.Exchange(vendor::MakeRequest(0x05), answer), kResultDone);
    EXPECT_EQ(answer[vendor::kOffsetCommand], 0x05);
}

TEST_F(ChannelTest, FailedWriteLeavesAnswerUntouched) {
    Connect();
    ASSERT_TRUE(backend_.Unplug(node_->Name()));
    Report answer{};
    answer.fill(0x33);
    uint32_t received = 7;
    EXPECT_EQ(channel_.Exchange(vendor::MakeRequest(1), answer, &received), kResultWriteFailed);
    EXPECT_EQ(received, 0U);
    EXPECT_EQ(answer[3], 0x33);
    EXPECT_FALSE(channel_.IsBusy());
}

TEST_F(ChannelTest, ProtectedExchangeStoresCrcOnlyThroughTheReceiver) {
    Report request = vendor::MakeRequest(vendor::kCmdStreamLights);
    request[8] = 0x42;
    vendor::StoreChecksum(request);
    node_->SetResponder([](const Report& r, size_t) {
        Report answer = DefaultAnswer(r);
        vendor::StoreCrc(answer);
        return std::vector<Report>{answer};
    });
    Report answer{};

    Connect(kConnectionCable);
    EXPECT_EQ(channel_.ExchangeProtected(request, answer), kResultDone);
    Connect(kConnectionReceiver);
    EXPECT_EQ(channel_.ExchangeProtected(request, answer), kResultDone);

    const auto sent = node_->Requests();
    ASSERT_EQ(sent.size(), 2U);
    EXPECT_TRUE(vendor::ChecksumMatches(sent[0]));
    EXPECT_TRUE(vendor::CrcMatches(sent[1]));
}

TEST_F(ChannelTest, ProtectedExchangeNeedsBothCrcBytes) {
    Connect(kConnectionReceiver);
    struct Case { const char* name; int spoil; int expected; };  // spoil: 0 none, 1 low byte, 2 high byte, 3 both
    for (const Case c : {Case{"good", 0, kResultDone}, Case{"low wrong", 1, kResultReceiverCannotServe},
                         Case{"high wrong", 2, kResultReceiverCannotServe}, Case{"both wrong", 3, kResultReceiverCannotServe}}) {
        node_->SetResponder([&](const Report& r, size_t) {
            Report answer = DefaultAnswer(r);
            vendor::StoreCrc(answer);
            if ((c.spoil & 1) != 0) answer[1] ^= 0xFF;
            if ((c.spoil & 2) != 0) answer[2] ^= 0xFF;
            return std::vector<Report>{answer};
        });
        Report answer{};
        EXPECT_EQ(channel_.ExchangeProtected(vendor::MakeRequest(vendor::kCmdStreamLights), answer), c.expected) << c.name;
    }
}

TEST_F(ChannelTest, PlainExchangeTracesRequestAndAnswerInTheTwoLineFormat) {
    Connect();
    CapturingTraceSink sink;
    Report request = vendor::MakeRequest(0x05);
    for (size_t i = 8; i < 64; ++i) request[i] = static_cast<uint8_t>(i);
    Report answer{};
    ASSERT_EQ(channel_.Exchange(request, answer), kResultDone);
    ASSERT_EQ(channel_.ExchangeProtected(request, answer), kResultDone);  // writes no trace

    const auto lines = sink.Lines();
    ASSERT_EQ(lines.size(), 6U);
    EXPECT_EQ(lines[0], "命令");
    EXPECT_EQ(lines[1],
              "04 00 00 05   00 00 00 00   08 09 0a 0b   0c 0d 0e 0f  10 11 12 13  14 15 16 17  18 19 1a 1b  1c 1d 1e 1f");
    EXPECT_EQ(lines[2],
              "20 21 22 23   24 25 26 27   28 29 2a 2b   2c 2d 2e 2f  30 31 32 33  34 35 36 37  38 39 3a 3b  3c 3d 3e 3f");
    EXPECT_EQ(lines[3], "返回");
    EXPECT_EQ(lines[4].substr(0, 13), "04 00 00 05  ");
}

// Command-lock and stream-lock holders side by side: each exchange gets the answer to its own request.
TEST_F(ChannelTest, CommandAndStreamLockHoldersNeverTakeEachOthersAnswers) {
    Connect();
    backend_.SetLatency(node_->Name(), std::chrono::microseconds(50));
    node_->SetResponder([](const Report& request, size_t) {
        Report answer = request;  // echo everything, sequence numbers included
        answer[vendor::kOffsetStatus] = 0;
        return std::vector<Report>{answer};
    });
    constexpr int kRounds = 200;
    std::atomic<int> mismatches{0};
    auto party = [&](uint8_t command, std::mutex& lock) {
        for (int round = 0; round < kRounds; ++round) {
            Report request = vendor::MakeRequest(command);
            request[8] = static_cast<uint8_t>(round);
            request[9] = static_cast<uint8_t>(round >> 8);
            Report answer{};
            int result = 0;
            {
                const std::lock_guard guard(lock);
                result = channel_.Exchange(request, answer);
            }
            if (result != kResultDone || answer[3] != command || answer[8] != request[8] || answer[9] != request[9])
                ++mismatches;
        }
    };
    std::thread commands(party, vendor::kCmdReadStatus, std::ref(channel_.CommandLock()));
    std::thread stream(party, vendor::kCmdWriteKeyColors, std::ref(channel_.StreamLock()));
    commands.join();
    stream.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_FALSE(channel_.IsBusy());
}

// The owner closes the interface from another thread while a reader waits without time-out.
TEST_F(ChannelTest, CloseUnderTheExchangeLockEndsAnInfiniteRead) {
    Connect();
    auto reader = std::async(std::launch::async, [&] {
        Report buffer{};
        return channel_.CableInterface().Read(buffer.data(), 64, nullptr, CHidInterface::kInfinite);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    {
        const std::lock_guard lock(channel_.ExchangeLock());
        channel_.SetOpen(false);
        channel_.CableInterface().Close();
    }
    ASSERT_EQ(reader.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_FALSE(reader.get());
    Report answer{};
    EXPECT_EQ(channel_.Exchange(vendor::MakeRequest(1), answer), kResultNoAnswer);
}

}  // namespace
}  // namespace zevik::test
