// The command set: request building, chunking, locks, results and the lighting stream's frame drop.

#include <array>
#include <chrono>
#include <future>
#include <thread>

#include "channel_fixture.h"
#include "transport/command_set.h"

namespace zevik::test {
namespace {

struct Chunk {
    uint8_t length;
    uint16_t address;
    bool operator==(const Chunk&) const = default;
};

std::vector<Chunk> ChunksOf(const std::vector<Report>& requests) {
    std::vector<Chunk> chunks;
    for (const Report& r : requests)
        chunks.push_back({r[vendor::kOffsetLength],
                          static_cast<uint16_t>(r[vendor::kOffsetAddressLow] | (r[vendor::kOffsetAddressHigh] << 8))});
    return chunks;
}

std::vector<Chunk> Expected(std::initializer_list<std::pair<int, int>> list) {
    std::vector<Chunk> chunks;
    for (auto [length, address] : list) chunks.push_back({static_cast<uint8_t>(length), static_cast<uint16_t>(address)});
    return chunks;
}

std::vector<Chunk> EvenChunks(int total, int chunk, int base = 0) {
    std::vector<Chunk> chunks;
    for (int offset = 0; offset < total; offset += chunk)
        chunks.push_back({static_cast<uint8_t>(std::min(chunk, total - offset)), static_cast<uint16_t>(base + offset)});
    return chunks;
}

struct TransferCase {
    const char* name;
    int mode;
    uint32_t blockSize;
    std::function<int(CCommandChannel&)> run;
    uint8_t command;
    std::vector<Chunk> chunks;
};

class CommandChunking : public ChannelTest, public ::testing::WithParamInterface<TransferCase> {};

TEST_P(CommandChunking, SendsTheExpectedChunks) {
    const TransferCase& c = GetParam();
    Connect(c.mode);
    ASSERT_TRUE(channel_.SetBlockSize(c.blockSize));
    EXPECT_EQ(c.run(channel_), kResultDone);
    const auto requests = node_->Requests();
    EXPECT_EQ(ChunksOf(requests), c.chunks);
    for (const Report& request : requests) {
        EXPECT_EQ(request[vendor::kOffsetReportId], vendor::kReportId);
        EXPECT_EQ(request[vendor::kOffsetCommand], c.command);
        EXPECT_EQ(request[vendor::kOffsetStatus], 0);
        EXPECT_TRUE(vendor::ChecksumMatches(request));
    }
}

std::vector<uint8_t> Bytes(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Transfers, CommandChunking,
    ::testing::Values(
        TransferCase{"DeviceInfoCable", kConnectionCable, 512,
                     [](CCommandChannel& ch) { std::array<uint8_t, 34> deviceInfo{}; return ReadDeviceInfo(ch, deviceInfo); },
                     0x03, Expected({{34, 0}})},
        TransferCase{"DeviceInfoReceiver", kConnectionReceiver, 512,
                     [](CCommandChannel& ch) { std::array<uint8_t, 34> deviceInfo{}; return ReadDeviceInfo(ch, deviceInfo); },
                     0x03, Expected({{24, 0}, {10, 24}})},
        TransferCase{"KeyTable512Cable", kConnectionCable, 512,
                     [](CCommandChannel& ch) { std::vector<uint8_t> table(512); return ReadKeyTable(ch, table); },
                     0x07, EvenChunks(512, 56)},
        TransferCase{"WriteKeyTableBank0Receiver", kConnectionReceiver, 100,
                     [](CCommandChannel& ch) { return WriteKeyTable(ch, Bytes(100), 0); },
                     0x09, EvenChunks(100, 24)},
        TransferCase{"WriteKeyTable2", kConnectionCable, 94,
                     [](CCommandChannel& ch) { return WriteKeyTable2(ch, Bytes(94), 0); },
                     0x27, Expected({{56, 0}, {38, 56}})},
        TransferCase{"LedIndexTableBlock100", kConnectionCable, 100,
                     [](CCommandChannel& ch) { std::vector<uint8_t> table(33); return ReadLedIndexTable(ch, table); },
                     0x1B, Expected({{33, 0}})},
        TransferCase{"ReadMemoryAtAddress", kConnectionCable, 512,
                     [](CCommandChannel& ch) { std::vector<uint8_t> m(94); return ReadMemory(ch, m, 0x0180); },
                     0x05, Expected({{56, 0x180}, {38, 0x1B8}})},
        TransferCase{"WriteMemoryReceiver", kConnectionReceiver, 512,
                     [](CCommandChannel& ch) { return WriteMemory(ch, Bytes(50), 0x10); },
                     0x06, Expected({{24, 0x10}, {24, 0x28}, {2, 0x40}})},
        TransferCase{"ReadKeyColorsSlot", kConnectionCable, 512,
                     [](CCommandChannel& ch) { std::vector<uint8_t> c(60); return ReadKeyColors(ch, c, 2, 100); },
                     0x0A, Expected({{56, 200}, {4, 256}})},
        TransferCase{"WriteKeyColorsSlot", kConnectionCable, 512,
                     [](CCommandChannel& ch) { return WriteKeyColors(ch, Bytes(10), 3, 0x200); },
                     0x0B, Expected({{10, 0x600}})},
        TransferCase{"MacroImage", kConnectionCable, 512,
                     [](CCommandChannel& ch) { return WriteMacroImage(ch, Bytes(120)); },
                     0x15, EvenChunks(120, 56)},
        TransferCase{"RecoilKeeps56ThroughReceiver", kConnectionReceiver, 512,
                     [](CCommandChannel& ch) { return WriteRecoilData(ch, Bytes(100)); },
                     0x17, Expected({{56, 0}, {44, 56}})},
        TransferCase{"StreamLightsCable", kConnectionCable, 512,
                     [](CCommandChannel& ch) { return StreamLights(ch, Bytes(150)); },
                     0x12, EvenChunks(150, 56)},
        TransferCase{"ReadStatusParameters", kConnectionCable, 512,
                     [](CCommandChannel& ch) { std::array<uint8_t, 8> s{}; return ReadStatus(ch, s, 8, 0x0102); },
                     0x1A, Expected({{8, 0x0102}})},
        TransferCase{"BeginConfig", kConnectionCable, 512, [](CCommandChannel& ch) { return BeginConfig(ch); },
                     0x01, Expected({{0, 0}})},
        TransferCase{"EndConfig", kConnectionCable, 512, [](CCommandChannel& ch) { return EndConfig(ch); },
                     0x02, Expected({{0, 0}})},
        TransferCase{"NotifyLightControl", kConnectionCable, 512,
                     [](CCommandChannel& ch) { return NotifyLightControl(ch); }, 0x1C, Expected({{0, 0}})}),
    [](const ::testing::TestParamInfo<TransferCase>& p) { return std::string(p.param.name); });

TEST_F(ChannelTest, ProtectedStreamChunksCarryTheCrcThroughTheReceiver) {
    Connect(kConnectionReceiver);
    node_->SetResponder([](const Report& r, size_t) {
        Report answer = DefaultAnswer(r);
        vendor::StoreCrc(answer);
        return std::vector<Report>{answer};
    });
    ASSERT_EQ(StreamLights(channel_, Bytes(60)), kResultDone);
    const auto requests = node_->Requests();
    EXPECT_EQ(ChunksOf(requests), EvenChunks(60, 24));
    for (const Report& request : requests) EXPECT_TRUE(vendor::CrcMatches(request));
}

TEST_F(ChannelTest, WritesCarryTheSourceBytesAndNothingOfEarlierChunks) {
    Connect();
    const auto source = Bytes(70);
    ASSERT_EQ(WriteMemory(channel_, source, 0), kResultDone);
    const auto requests = node_->Requests();
    ASSERT_EQ(requests.size(), 2U);
    EXPECT_TRUE(std::equal(source.begin(), source.begin() + 56, requests[0].begin() + 8));
    EXPECT_TRUE(std::equal(source.begin() + 56, source.end(), requests[1].begin() + 8));
    EXPECT_TRUE(std::all_of(requests[1].begin() + 8 + 14, requests[1].end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(ChannelTest, ReadsCollectEachChunkAtItsOffset) {
    Connect(kConnectionReceiver);
    std::vector<uint8_t> memory(60);
    ASSERT_EQ(ReadMemory(channel_, memory, 0x100), kResultDone);
    for (size_t i = 0; i < memory.size(); ++i) EXPECT_EQ(memory[i], static_cast<uint8_t>(0x100 + i)) << i;
}

// A failing chunk ends the transfer with its result; later chunks are not sent.
struct FailureCase {
    const char* name;
    uint8_t status;
    int expected;
};

class ChunkFailure : public ChannelTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ChunkFailure, SecondChunkStopsTheTransfer) {
    const FailureCase& c = GetParam();
    Connect();
    node_->SetResponder([&](const Report& r, size_t index) {
        Report answer = DefaultAnswer(r);
        if (index == 1) answer[vendor::kOffsetStatus] = c.status;
        return std::vector<Report>{answer};
    });
    EXPECT_EQ(WriteMemory(channel_, Bytes(150), 0), c.expected);
    EXPECT_EQ(node_->Requests().size(), 2U);
}

INSTANTIATE_TEST_SUITE_P(Statuses, ChunkFailure,
                         ::testing::Values(FailureCase{"StatusFE", 0xFE, kResultStatusRejected},
                                           FailureCase{"StatusFF", 0xFF, kResultStatusFailed}),
                         [](const ::testing::TestParamInfo<FailureCase>& p) { return std::string(p.param.name); });

TEST_F(ChannelTest, SingleCommandsMapTheStatusByte) {
    Connect();
    for (auto [status, expected] : {std::pair{0x00, kResultDone}, std::pair{0x01, kResultDone},
                                    std::pair{0xFF, kResultStatusFailed}, std::pair{0xFE, kResultStatusRejected}}) {
        node_->SetResponder([status = status](const Report& r, size_t) {
            Report answer = DefaultAnswer(r);
            answer[vendor::kOffsetStatus] = static_cast<uint8_t>(status);
            return std::vector<Report>{answer};
        });
        EXPECT_EQ(BeginConfig(channel_), expected) << "status " << status;
    }
}

TEST_F(ChannelTest, ReadDeviceInfoTouchesTheDestinationOnlyOnSuccess) {
    Connect(kConnectionReceiver);
    node_->SetResponder([](const Report& r, size_t index) {
        Report answer = DefaultAnswer(r);
        if (index == 1) answer[vendor::kOffsetStatus] = 0xFF;
        return std::vector<Report>{answer};
    });
    std::array<uint8_t, kDeviceInfoSize> info{};
    info.fill(0xEE);
    EXPECT_EQ(ReadDeviceInfo(channel_, info), kResultStatusFailed);
    EXPECT_TRUE(std::all_of(info.begin(), info.end(), [](uint8_t b) { return b == 0xEE; }));

    // A plain read keeps the chunks that arrived before the failure.
    node_->ClearRequests();
    node_->SetResponder([](const Report& r, size_t index) {
        Report answer = DefaultAnswer(r);
        if (index == 1) answer[vendor::kOffsetStatus] = 0xFF;
        return std::vector<Report>{answer};
    });
    std::vector<uint8_t> memory(48, 0xEE);
    EXPECT_EQ(ReadMemory(channel_, memory, 0), kResultStatusFailed);
    EXPECT_EQ(memory[23], 23);
    EXPECT_EQ(memory[24], 0xEE);
}

TEST_F(ChannelTest, RefusedArgumentsSendNothing) {
    Connect();
    std::vector<uint8_t> table(512);
    EXPECT_EQ(WriteKeyTable(channel_, table, 1), kResultBankNotZero);
    EXPECT_EQ(WriteKeyTable2(channel_, table, 2), kResultBankNotZero);
    std::vector<uint8_t> small(100);
    EXPECT_EQ(ReadKeyTable(channel_, small), kResultNoAnswer);      // block size is 512
    EXPECT_EQ(WriteKeyTable(channel_, small, 0), kResultNoAnswer);
    EXPECT_EQ(ReadLedIndexTable(channel_, std::span(small).first(10)), kResultNoAnswer);
    EXPECT_TRUE(node_->Requests().empty());
}

TEST_F(ChannelTest, ReadStatusCopiesAtMost56BytesWhateverTheStatus) {
    Connect();
    node_->SetResponder([](const Report& r, size_t) {
        Report answer = DefaultAnswer(r);
        answer[vendor::kOffsetStatus] = 0xFF;
        return std::vector<Report>{answer};
    });
    std::vector<uint8_t> status(100, 0xEE);
    EXPECT_EQ(ReadStatus(channel_, status, 200, 0x20), kResultDone);
    EXPECT_EQ(status[0], 0x20);
    EXPECT_EQ(status[55], static_cast<uint8_t>(0x20 + 55));
    EXPECT_EQ(status[56], 0xEE);

    std::array<uint8_t, 4> tiny{};
    EXPECT_EQ(ReadStatus(channel_, tiny, 40, 0), kResultDone);  // never past the destination
    EXPECT_EQ(tiny[3], 3);
}

TEST_F(ChannelTest, QueryReceiverLinkByCableSendsNothing) {
    Connect(kConnectionCable);
    EXPECT_TRUE(QueryReceiverLink(channel_));
    EXPECT_TRUE(node_->Requests().empty());
}

TEST_F(ChannelTest, QueryReceiverLinkNeedsLinkByteAndGoodStatus) {
    Connect(kConnectionReceiver);
    struct Case { uint8_t link; uint8_t status; bool linked; };
    for (const Case c : {Case{0xFF, 0x00, true}, Case{0x00, 0x00, false}, Case{0x01, 0x00, false},
                         Case{0xFF, 0xFE, false}, Case{0xFF, 0xFF, false}}) {
        node_->SetResponder([c](const Report& r, size_t) {
            Report answer = DefaultAnswer(r);
            answer[vendor::kOffsetStatus] = c.status;
            answer[vendor::kOffsetPayload] = c.link;
            return std::vector<Report>{answer};
        });
        EXPECT_EQ(QueryReceiverLink(channel_), c.linked) << int(c.link) << " " << int(c.status);
    }
    const auto requests = node_->Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0][vendor::kOffsetCommand], 0xAA);
}

TEST_F(ChannelTest, EndConfigPausesBeforeItSends) {
    Connect();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(EndConfig(channel_), kResultDone);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(10));
}

// While another exchange runs, the whole lighting frame is dropped; once it is done, the next frame
// goes out whole.
TEST_F(ChannelTest, BusyChannelDropsTheWholeLightingFrame) {
    Connect();
    std::promise<void> entered;
    std::promise<void> release;
    auto released = release.get_future().share();
    node_->SetResponder([&](const Report& r, size_t index) {
        if (index == 0) {  // the blocking command: hold the device until the test lets it go
            entered.set_value();
            released.wait();
        }
        return std::vector<Report>{DefaultAnswer(r)};
    });
    CapturingTraceSink sink;
    auto slow = std::async(std::launch::async, [&] { return BeginConfig(channel_); });
    entered.get_future().wait();
    ASSERT_TRUE(channel_.IsBusy());
    EXPECT_EQ(StreamLights(channel_, Bytes(150)), kResultDone);
    release.set_value();
    EXPECT_EQ(slow.get(), kResultDone);

    auto requests = node_->Requests();
    ASSERT_EQ(requests.size(), 1U);
    const auto lines = sink.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "放弃灯光数据"), 1);

    EXPECT_EQ(StreamLights(channel_, Bytes(150)), kResultDone);
    EXPECT_EQ(ChunksOf(node_->Requests()).size(), 1U + 3U);
}

TEST(CommandResultText, NamesEveryResult) {
    struct Case { int result; const char* text; };
    for (const Case c : {Case{1, "done"}, Case{0, "no answer"}, Case{-1, "write failed"},
                         Case{-101, "receiver cannot serve"}, Case{-102, "device status 0xFF"},
                         Case{-103, "device status 0xFE"}, Case{-201, "bank not 0"}, Case{-7, "unknown result -7"}}) {
        EXPECT_EQ(CommandResultText(c.result), c.text) << c.result;
    }
}

}  // namespace
}  // namespace zevik::test
