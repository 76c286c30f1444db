// The scan thread against the emulated devices: arrivals and removals of the catalogue's rows as the
// cable and the receiver are plugged and pulled, the activation message, interfaces it must leave
// alone, and a reused node that now holds another peripheral.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base_fixture.h"
#include "devices/device_catalogue.h"
#include "devices/discovery_interface_list.h"
#include "devices/scan_thread.h"
#include "emulator/emulation.h"
#include "ui/plain_message_loop.h"
#include "ui/window_wnd.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;

constexpr UINT kActivate = 0xC123;

// Records the scan thread's messages in the order the UI thread handled them.
class CScanLogWindow final : public CWindowWnd {
public:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == UM_DEVICE_ARRIVED || msg == UM_DEVICE_REMOVED || msg == kActivate) {
            log.emplace_back(msg, static_cast<int>(wParam));
            return 0;
        }
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
    std::vector<std::pair<UINT, int>> log;
};

// Passes every call to the real backend and records the paths opened for reading or writing.
class CCountingBackend final : public IHidBackend {
public:
    explicit CCountingBackend(IHidBackend& inner) : m_inner(inner) {}
    bool Enumerate(std::vector<std::string>& paths) override {
        ++enumerations;
        return m_inner.Enumerate(paths);
    }
    std::optional<std::uint64_t> ChangeCount() override { return m_inner.ChangeCount(); }
    std::atomic<int> enumerations{0};
    std::unique_ptr<IHidConnection> Open(const std::string& path, bool wantRead, bool wantWrite) override {
        if (wantRead || wantWrite) {
            std::lock_guard lock(m_mutex);
            opened.insert(path);
        }
        return m_inner.Open(path, wantRead, wantWrite);
    }
    std::set<std::string> Opened() {
        std::lock_guard lock(m_mutex);
        return opened;
    }

private:
    IHidBackend& m_inner;
    std::mutex m_mutex;
    std::set<std::string> opened;
};

class DiscoveryScanTest : public ::testing::Test {
protected:
    void Start(const char* list) {
        std::string error;
        EmulationOptions options;
        options.list = list;
        emulation = CEmulation::Create(options, error);
        ASSERT_NE(emulation, nullptr) << error;
        backend = std::make_unique<CCountingBackend>(emulation->Backend());
        ASSERT_NE(window.Create(0, "main", 0, 0), 0u);
        scan = std::make_unique<CScanThread>(*backend, loop, window.GetHWND(), kActivate, list_);
        ASSERT_TRUE(scan->Start());
    }
    void TearDown() override {
        if (scan) {
            scan->Stop();
        }
        window.DestroyWindow();
    }

    // Pumps the loop (real time) until cond holds or the limit passes.
    bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit = 3s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!cond()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            loop.ProcessPendingWait(10ms);
        }
        return true;
    }
    // Pumps for a while, so that several scan passes run.
    void PumpFor(std::chrono::milliseconds span) {
        PumpUntil([] { return false; }, span);
    }
    std::vector<int> Rows(UINT msg) const {
        std::vector<int> rows;
        for (const auto& [m, row] : window.log) {
            if (m == msg) {
                rows.push_back(row);
            }
        }
        return rows;
    }
    std::set<int> RowSet(UINT msg) const {
        const std::vector<int> rows = Rows(msg);
        return {rows.begin(), rows.end()};
    }
    void Act(bool ok, const std::string& error) { ASSERT_TRUE(ok) << error; }

    CPlainMessageLoop loop;
    CScanLogWindow window;
    std::unique_ptr<CEmulation> emulation;
    std::unique_ptr<CCountingBackend> backend;
    CDiscoveryInterfaceList list_;
    std::unique_ptr<CScanThread> scan;
};

TEST_F(DiscoveryScanTest, CablePlugClaimsCommandAndNotificationRowsAndActivatesOnce) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([&] { return RowSet(UM_DEVICE_ARRIVED).size() == 2; }));
    PumpFor(300ms);
    EXPECT_EQ(RowSet(UM_DEVICE_ARRIVED), (std::set<int>{4, 5}));
    EXPECT_EQ(Rows(UM_DEVICE_ARRIVED).size(), 2u) << "each row arrives once";
    EXPECT_EQ(Rows(kActivate).size(), 1u);
    const auto row4 = list_.Row(4);
    ASSERT_TRUE(row4);
    EXPECT_EQ(row4->connected, 1);
    EXPECT_NE(row4->devicePath.find("col04"), std::string::npos) << row4->devicePath;
    const auto row5 = list_.Row(5);
    EXPECT_NE(row5->devicePath.find("col03"), std::string::npos) << row5->devicePath;
    EXPECT_TRUE(Rows(UM_DEVICE_REMOVED).empty());
}

TEST_F(DiscoveryScanTest, ReceiverAndCableComeAndGoIndependently) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([&] { return RowSet(UM_DEVICE_ARRIVED).size() == 2; }));
    std::string error;
    Act(emulation->Plug("mouse-receiver", error), error);
    ASSERT_TRUE(PumpUntil([&] { return RowSet(UM_DEVICE_ARRIVED).size() == 4; }));
    EXPECT_EQ(RowSet(UM_DEVICE_ARRIVED), (std::set<int>{4, 5, 6, 7}));

    Act(emulation->Unplug("mouse", error), error);
    ASSERT_TRUE(PumpUntil([&] { return RowSet(UM_DEVICE_REMOVED).size() == 2; }));
    EXPECT_EQ(RowSet(UM_DEVICE_REMOVED), (std::set<int>{4, 5}));
    EXPECT_TRUE(list_.IsLive(6));
    EXPECT_FALSE(list_.IsLive(4));
    EXPECT_TRUE(list_.Row(4)->devicePath.empty());

    // Plugged again: the freed rows are claimed again.
    Act(emulation->Plug("mouse", error), error);
    ASSERT_TRUE(PumpUntil([&] { return Rows(UM_DEVICE_ARRIVED).size() == 6; }));
    EXPECT_TRUE(list_.IsLive(4));
    EXPECT_EQ(Rows(kActivate).size(), 1u) << "the activation is posted once only";
}

TEST_F(DiscoveryScanTest, EmulatedKeyboardTakesCableRowsFirstAndItsReceiverNeverTakesThem) {
    Start("keyboard@both");
    ASSERT_TRUE(PumpUntil([&] { return RowSet(UM_DEVICE_ARRIVED).size() == 4; }));
    EXPECT_EQ(RowSet(UM_DEVICE_ARRIVED), (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(list_.Row(0)->devicePath.find("emu:keyboard#"), 0u) << list_.Row(0)->devicePath;
    EXPECT_EQ(list_.Row(2)->devicePath.find("emu:keyboard-receiver#"), 0u) << list_.Row(2)->devicePath;

    // With the same ids on both connections, the receiver's nodes match the freed cable rows too:
    // a node already held is not claimed a second time.
    std::string error;
    Act(emulation->Unplug("keyboard", error), error);
    ASSERT_TRUE(PumpUntil([&] { return RowSet(UM_DEVICE_REMOVED).size() == 2; }));
    PumpFor(300ms);
    EXPECT_EQ(RowSet(UM_DEVICE_REMOVED), (std::set<int>{0, 1}));
    EXPECT_EQ(Rows(UM_DEVICE_ARRIVED).size(), 4u);
    EXPECT_FALSE(list_.IsLive(0));
    EXPECT_TRUE(list_.IsLive(2));

    Act(emulation->Plug("keyboard", error), error);
    ASSERT_TRUE(PumpUntil([&] { return Rows(UM_DEVICE_ARRIVED).size() == 6; }));
    EXPECT_EQ(list_.Row(0)->devicePath.find("emu:keyboard#"), 0u) << list_.Row(0)->devicePath;
}

TEST_F(DiscoveryScanTest, UnchangedNodesAreNotListedAgainUntilOneIsPlugged) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([&] { return RowSet(UM_DEVICE_ARRIVED).size() == 2; }));
    ASSERT_TRUE(PumpUntil([&] { return scan->PassCount() >= 2; }));
    const int listed = backend->enumerations.load();
    const auto passes = scan->PassCount();
    ASSERT_TRUE(PumpUntil([&] { return scan->PassCount() >= passes + 3; }));
    EXPECT_EQ(backend->enumerations.load(), listed) << "free rows remain, but no node changed";

    std::string error;
    Act(emulation->Plug("mouse-receiver", error), error);
    ASSERT_TRUE(PumpUntil([&] { return RowSet(UM_DEVICE_ARRIVED).size() == 4; }));
    EXPECT_GT(backend->enumerations.load(), listed);
    Act(emulation->Unplug("mouse", error), error);
    ASSERT_TRUE(PumpUntil([&] { return RowSet(UM_DEVICE_REMOVED).size() == 2; }));
    EXPECT_EQ(RowSet(UM_DEVICE_REMOVED), (std::set<int>{4, 5}));
}

TEST_F(DiscoveryScanTest, OtherCollectionsOfTheSameInterfaceAreNeverOpened) {
    Start("mouse");
    ASSERT_TRUE(PumpUntil([&] { return RowSet(UM_DEVICE_ARRIVED).size() == 2; }));
    PumpFor(250ms);
    const std::set<std::string> opened = backend->Opened();
    const std::vector<std::string> paths = emulation->EmulatedBackend().PathsOf("mouse");
    ASSERT_GT(paths.size(), 2u) << "the emulated mouse has more collections than the two we use";
    for (const std::string& path : paths) {
        const PathIds ids = ParsePathIds(path);
        const bool ours = ids.collectionNumber == 3 || ids.collectionNumber == 4;
        EXPECT_EQ(opened.count(path) != 0, ours) << path;
    }
}

TEST_F(DiscoveryScanTest, SecondIdenticalMouseIsNotServed) {
    Start("mouse,mouse");
    ASSERT_TRUE(PumpUntil([&] { return RowSet(UM_DEVICE_ARRIVED).size() == 2; }));
    PumpFor(400ms);
    EXPECT_EQ(Rows(UM_DEVICE_ARRIVED).size(), 2u);
    EXPECT_EQ(RowSet(UM_DEVICE_ARRIVED), (std::set<int>{4, 5}));
    // The first one leaves: the second takes its rows.
    const std::string firstPath = list_.Row(4)->devicePath;
    std::string error;
    Act(emulation->Unplug("mouse", error), error);
    ASSERT_TRUE(PumpUntil([&] { return Rows(UM_DEVICE_ARRIVED).size() == 4; }));
    const auto row4 = list_.Row(4);
    EXPECT_TRUE(row4->connected);
    EXPECT_NE(row4->devicePath, firstPath);
}

TEST_F(DiscoveryScanTest, StopReturnsPromptlyWhileTheUiThreadIsNotPumping) {
    Start("mouse");
    std::this_thread::sleep_for(150ms);  // the thread is now waiting to deliver an arrival
    const auto begin = std::chrono::steady_clock::now();
    scan->Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 500ms);
    EXPECT_FALSE(scan->IsRunning());
}

// A backend whose one node number is reused: first the mouse's cable collections, later the
// receiver's (another product id) under the very same paths.
class CReusedNodeBackend final : public IHidBackend {
public:
    CReusedNodeBackend(IHidBackend& inner, std::string first, std::string second)
        : m_inner(inner), m_first(std::move(first)), m_second(std::move(second)) {}
    void SwapToSecond() { m_swapped = true; }
    bool Enumerate(std::vector<std::string>& paths) override {
        paths = {kAlias};
        return true;
    }
    std::unique_ptr<IHidConnection> Open(const std::string& path, bool wantRead, bool wantWrite) override {
        if (path != kAlias) {
            return nullptr;
        }
        return m_inner.Open(m_swapped ? m_second : m_first, wantRead, wantWrite);
    }
    static constexpr const char* kAlias = "emu:node3#vid_320f&pid_225a&mi_01&col04";

private:
    IHidBackend& m_inner;
    std::string m_first;
    std::string m_second;
    std::atomic<bool> m_swapped{false};
};

TEST_F(DiscoveryScanTest, ReusedNodeWithAnotherPeripheralIsARemoval) {
    std::string error;
    EmulationOptions options;
    options.list = "mouse@both";
    emulation = CEmulation::Create(options, error);
    ASSERT_NE(emulation, nullptr) << error;
    auto find = [&](const std::string& node, int col) {
        for (const std::string& p : emulation->EmulatedBackend().PathsOf(node)) {
            if (ParsePathIds(p).collectionNumber == col) {
                return p;
            }
        }
        return std::string{};
    };
    const std::string mousePath = find("mouse", 4);
    const std::string receiverPath = find("mouse-receiver", 4);
    ASSERT_FALSE(mousePath.empty());
    ASSERT_FALSE(receiverPath.empty());
    CReusedNodeBackend reused(emulation->Backend(), mousePath, receiverPath);
    ASSERT_NE(window.Create(0, "main", 0, 0), 0u);
    CScanThread thread(reused, loop, window.GetHWND(), 0, list_);

    thread.RunPass();
    loop.ProcessPending();
    ASSERT_EQ(Rows(UM_DEVICE_ARRIVED), std::vector<int>{4});
    thread.RunPass();
    EXPECT_TRUE(Rows(UM_DEVICE_REMOVED).empty()) << "the same node is still there";

    reused.SwapToSecond();
    thread.RunPass();
    EXPECT_EQ(Rows(UM_DEVICE_REMOVED), std::vector<int>{4});
    EXPECT_FALSE(list_.IsLive(4));
}

TEST(DiscoveryInterfaceListTest, KeyboardRowsAloneDoNotKeepTheScanListing) {
    CDiscoveryInterfaceList list;
    const InterfaceTable table = MakeInterfaceTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DeviceInterfaceEntry& e = table[i];
        if (e.vendorId == 0) {
            continue;
        }
        EXPECT_TRUE(list.AnyReachableFree());
        const auto row = list.Claim(e.vendorId, e.productId, e.interfaceNumber, e.collectionNumber,
                                    e.usagePage, e.usage, "path" + std::to_string(i), {});
        EXPECT_EQ(row, i);
    }
    EXPECT_FALSE(list.AnyReachableFree());
    EXPECT_TRUE(list.AnyFree()) << "the keyboard rows stay free";
    EXPECT_FALSE(list.Claim(0x320F, 0x225A, 1, 4, 0xFF1C, 0x92, "again", {}))
        << "a claimed row is not claimed twice";
    EXPECT_TRUE(list.Release(4));
    EXPECT_FALSE(list.Release(4)) << "a free row is not released twice";
    EXPECT_TRUE(list.AnyReachableFree());
}

TEST(DiscoveryInterfaceListTest, KeyboardRowsCountWhileEmulatedNodesAreListed) {
    CDiscoveryInterfaceList list;
    const InterfaceTable table = MakeInterfaceTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DeviceInterfaceEntry& e = table[i];
        if (e.vendorId == 0) continue;
        ASSERT_TRUE(list.Claim(e.vendorId, e.productId, e.interfaceNumber, e.collectionNumber, e.usagePage,
                               e.usage, "path" + std::to_string(i), {}));
    }
    EXPECT_FALSE(list.AnyReachableFree(false));
    EXPECT_TRUE(list.AnyReachableFree(true));
    EXPECT_TRUE(list.HoldsPath("path4"));
    EXPECT_FALSE(list.Claim(0, 0, 1, 4, 0xFF1C, 0x92, "path4", {})) << "one node is never two rows";
    EXPECT_EQ(list.Claim(0, 0, 1, 4, 0xFF1C, 0x92, "emu:keyboard", {}), 0u);
    EXPECT_EQ(list.Claim(0, 0, 1, 4, 0xFF1C, 0x92, "emu:keyboard-receiver", {}), 2u);
}

TEST(DeviceCatalogueTest, PathsOfTheTablesInterfacesAreRecognised) {
    const std::pair<const char*, bool> cases[] = {
        {"hidraw:/dev/hidraw3#vid_320f&pid_225a&mi_01&col04", true},
        {"emu:mouse-receiver#vid_320f&pid_225b&mi_01&col04", true},
        {"hidraw:/dev/hidraw3#vid_320f&pid_225a&mi_01&col02", false},  // another collection
        {"hidraw:/dev/hidraw1#vid_046d&pid_c31c&mi_00", false},         // another maker's
        {"hidraw:/dev/hidraw2#mi_01&col04", false},                     // no ids: not a placeholder row
        {"hidraw:/dev/hidraw2#vid_0000&pid_0000&mi_01&col04", false},   // the keyboard's ids, a real node
        {"emu:keyboard#vid_0000&pid_0000&mi_01&col04", true},           // the emulated keyboard
        {"emu:keyboard#vid_0000&pid_0000&mi_01&col03", true},
        {"emu:keyboard.if0#vid_0000&pid_0000&mi_00", false},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(IsCatalogueInterface(ParsePathIds(path)), expected) << path;
    }
}

TEST(DeviceCatalogueTest, PartnerRowsNameEachOtherAndTabsFindTheirPages) {
    const InterfaceTable table = MakeInterfaceTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const DeviceInterfaceEntry& e = table[i];
        EXPECT_EQ(e.connected, 0);
        EXPECT_TRUE(e.devicePath.empty());
        if (e.hasPartner != 0) {
            const DeviceInterfaceEntry& p = table.at(e.partnerRow);
            EXPECT_EQ(p.partnerRow, i) << "row " << i;
            EXPECT_EQ(p.role, e.role) << "row " << i;
            EXPECT_NE(IsReceiverKind(p.kind), IsReceiverKind(e.kind)) << "row " << i;
        }
    }
    struct Case {
        int vid, pid, kind;
        std::optional<std::size_t> tab;
    };
    const Case cases[] = {
        {0x320F, 0x225A, kKindMouse, 0},
        {0x0000, 0x0000, kKindKeyboard, 1},
        {0x320F, 0x1004, kKindMousepad, 2},
        {0x0C76, 0x1630, kKindHeadset, 3},
        {0x320F, 0x225B, kKindMouseReceiver, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindDeviceTab(c.vid, c.pid, c.kind, 0), c.tab) << c.kind;
    }
    EXPECT_EQ(kDevicePageTable[*FindDeviceTab(0x320F, 0x225A, kKindMouse, 0)].batteryPanel, 1);
    EXPECT_EQ(FindInterfaceRow(table, 0x320F, 0x225B, kKindMouseReceiver, kRoleNotification), 7u);
}

}  // namespace
}  // namespace zevik::test
