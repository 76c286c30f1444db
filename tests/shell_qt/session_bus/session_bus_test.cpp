// The program's face on the session bus, against the private bus of dbus-run-session: other
// programs' calls reach the main window as its registered messages, and the program's own calls
// and signals reach stand-ins for the other programs.
#include "session_bus.h"

#include <array>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QThread>
#include <QVariant>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "shell/app_messages.h"
#include "shell/worktool_record.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/window_wnd.h"
#include "ui_qt/qt_test_app.h"
#include "update/update_entry.h"

namespace zevik::test {

// The factory tool: takes records, or refuses them with an error when told to.
class FakeWorkTool : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zevik.WorkTool")

public:
    struct Record {
        uint kind = 0;
        QByteArray data;
    };
    std::vector<Record> Records() {
        std::lock_guard lock(mutex_);
        return records_;
    }
    void Refuse(bool refuse) { refuse_ = refuse; }
    // Answers only after this long, as a tool that hangs for a while.
    void AnswerAfter(int ms) { delayMs_ = ms; }

public Q_SLOTS:
    void CopyData(uint kind, const QByteArray& data) {
        if (delayMs_ > 0) QThread::msleep(static_cast<unsigned long>(delayMs_.load()));
        if (refuse_) {
            sendErrorReply(QDBusError::AccessDenied, "not now");
            return;
        }
        std::lock_guard lock(mutex_);
        records_.push_back({kind, data});
    }

private:
    std::mutex mutex_;
    std::vector<Record> records_;
    std::atomic<bool> refuse_{false};
    std::atomic<int> delayMs_{0};
};

// The audio capture program: takes commands and records.
class FakeAudioCapture : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zevik.R300Prime.AudioRecord")

public:
    std::vector<std::pair<int, int>> Commands() {
        std::lock_guard lock(mutex_);
        return commands_;
    }
    std::vector<std::pair<uint, QByteArray>> Records() {
        std::lock_guard lock(mutex_);
        return records_;
    }

public Q_SLOTS:
    void Command(int wParam, int lParam) {
        std::lock_guard lock(mutex_);
        commands_.emplace_back(wParam, lParam);
    }
    void CopyData(uint kind, const QByteArray& data) {
        std::lock_guard lock(mutex_);
        records_.emplace_back(kind, data);
    }

private:
    std::mutex mutex_;
    std::vector<std::pair<int, int>> commands_;
    std::vector<std::pair<uint, QByteArray>> records_;
};

// A listener of the lighting hand-over signal.
class LightListener : public QObject {
    Q_OBJECT

public:
    std::vector<std::pair<uint, int>> seen;

public Q_SLOTS:
    void OnNotify(uint wParam, int lParam) { seen.emplace_back(wParam, lParam); }
};

namespace {

struct Message {
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    friend bool operator==(const Message&, const Message&) = default;
};

std::ostream& operator<<(std::ostream& os, const Message& m) {
    return os << "{" << m.msg << ", " << m.wParam << ", " << m.lParam << "}";
}

// A window that keeps every registered message it gets.
class RecordingWindow : public CWindowWnd {
public:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg >= 0xC000) received.push_back({msg, wParam, lParam});
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
    std::vector<Message> received;
};

constexpr UINT kVisible = 0x10000000;

class SessionBusTest : public QtFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
        ASSERT_EQ(bus_.Claim(), CSessionBus::Start::First);
        ASSERT_NE(window_.Create(0, "main", kVisible, 0), 0u);
        peersThread_.start();
        workTool_.moveToThread(&peersThread_);
        audioCapture_.moveToThread(&peersThread_);
    }
    void TearDown() override {
        peers_.unregisterObject(kWorkToolPath);
        peers_.unregisterObject(kAudioCapturePath);
        QDBusConnection::disconnectFromBus("peers");
        QDBusConnection::disconnectFromBus("client");
        peersThread_.quit();
        peersThread_.wait();
        if (window_.GetHWND() != 0) window_.DestroyWindow();
    }

    // Runs the Qt loop until done() holds; false when it did not come about within a few seconds.
    static bool PumpUntil(const std::function<bool()>& done) {
        const QDeadlineTimer giveUp(5000);
        while (!done()) {
            if (giveUp.hasExpired()) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(1);
        }
        return true;
    }
    // Calls a method of the program as another program would, and waits for the answer.
    QDBusMessage CallProgram(const char* method, const QVariantList& args = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(kServiceName, kObjectPath, kServiceName, method);
        call.setArguments(args);
        QDBusPendingCall pending = client_.asyncCall(call, 5000);
        EXPECT_TRUE(PumpUntil([&] { return pending.isFinished(); })) << method;
        return pending.reply();
    }
    // Lets whatever was posted to the window arrive.
    void Settle() {
        // One more round trip through the bus and the loop puts every earlier post behind us.
        QDBusPendingCall ping = client_.asyncCall(
            QDBusMessage::createMethodCall(kServiceName, kObjectPath, "org.freedesktop.DBus.Peer", "Ping"));
        PumpUntil([&] { return ping.isFinished(); });
        bool marker = false;
        loop_.PostTask([&marker] { marker = true; });
        PumpUntil([&] { return marker; });
    }
    void OfferPeer(QObject* peer, const char* service, const char* path) {
        ASSERT_TRUE(peers_.registerObject(path, peer, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(peers_.registerService(service));
    }

    CQtMessageLoop loop_;
    AppMessages ids_ = RegisterAppMessages();
    CSessionBus bus_;
    RecordingWindow window_;
    QDBusConnection client_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client");
    QDBusConnection peers_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "peers");
    QThread peersThread_;  // the peers answer while the program waits for them
    FakeWorkTool workTool_;
    FakeAudioCapture audioCapture_;
};

TEST_F(SessionBusTest, EveryMethodPostsItsMessageOnceTheWindowIsThere) {
    // Before the window is given, calls are answered and dropped.
    EXPECT_EQ(CallProgram("Activate").type(), QDBusMessage::ReplyMessage);
    Settle();
    EXPECT_TRUE(window_.received.empty());

    bus_.SetTarget(&window_);
    struct Case {
        const char* method;
        QVariantList args;
        Message want;
    };
    const Case cases[] = {
        {"Activate", {}, {ids_.activate, 0, 1}},
        {"UpdateEvent", {QVariant::fromValue(4u), QVariant::fromValue(0)}, {ids_.updateEvent, 4, 0}},
        {"UpdateEvent", {QVariant::fromValue(4u), QVariant::fromValue(77)}, {ids_.updateEvent, 4, 77}},
        {"UpdateRelay", {QVariant::fromValue(1u), QVariant::fromValue(-1)}, {ids_.updateRelay, 1, -1}},
        {"UpdateRelay",
         {QVariant::fromValue(0xFFFFFFFFu), QVariant::fromValue(0)},
         {ids_.updateRelay, 0xFFFFFFFFu, 0}},
        {"LightControlSet", {QVariant::fromValue(1u), QVariant::fromValue(0)}, {ids_.lightControlSet, 1, 0}},
        {"LightControlSet", {QVariant::fromValue(1u), QVariant::fromValue(1)}, {ids_.lightControlSet, 1, 1}},
        {"WorkToolQuery", {}, {ids_.workToolQuery, 0, 0}},
        {"Game_Start", {QVariant::fromValue(0u), QVariant::fromValue(9)}, {ids_.game[0], 0, 9}},
        {"Game_End", {QVariant::fromValue(1u), QVariant::fromValue(300)}, {ids_.game[1], 1, 300}},
        {"Game_Kill", {QVariant::fromValue(2u), QVariant::fromValue(-5)}, {ids_.game[2], 2, -5}},
        {"Game_Death", {QVariant::fromValue(3u), QVariant::fromValue(1)}, {ids_.game[3], 3, 1}},
    };
    for (const Case& c : cases) {
        window_.received.clear();
        const QDBusMessage reply = CallProgram(c.method, c.args);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
            << c.method << " " << reply.errorMessage().toStdString();
        ASSERT_TRUE(PumpUntil([&] { return !window_.received.empty(); })) << c.method;
        Settle();
        EXPECT_EQ(window_.received, std::vector<Message>{c.want}) << c.method;
    }

    // A call with the wrong arguments is refused by the bus layer and posts nothing.
    window_.received.clear();
    EXPECT_EQ(CallProgram("UpdateEvent", {QVariant::fromValue(QString("4"))}).type(),
              QDBusMessage::ErrorMessage);
    Settle();
    EXPECT_TRUE(window_.received.empty());

    // Once the window is gone, calls are dropped.
    window_.DestroyWindow();
    EXPECT_EQ(CallProgram("Activate").type(), QDBusMessage::ReplyMessage);
    Settle();
    EXPECT_TRUE(window_.received.empty());
}

TEST_F(SessionBusTest, RecordsReachTheHandlerWholeWhateverTheirLength) {
    std::vector<std::pair<unsigned, std::vector<std::uint8_t>>> got;
    bus_.SetOnRecord([&got](unsigned kind, std::span<const std::uint8_t> data) {
        got.emplace_back(kind, std::vector<std::uint8_t>(data.begin(), data.end()));
    });
    QByteArray big(3000, '\0');
    for (int i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i % 251);
    const std::pair<uint, QByteArray> sent[] = {
        {1, QByteArray()},  // empty
        {1, big},           // longer than any buffer of the main window
        {2, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x12\x13\x14\x15"
                       "\x16\x17\x18",
                       24)},
        {9, QByteArray(1, '\xff')},  // a kind the program does not know: its handler decides
    };
    for (const auto& [kind, data] : sent) {
        const QDBusMessage reply =
            CallProgram("CopyData", {QVariant::fromValue(kind), QVariant::fromValue(data)});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }
    ASSERT_EQ(got.size(), std::size(sent));
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].first, sent[i].first) << i;
        const QByteArray& data = sent[i].second;
        EXPECT_EQ(got[i].second, std::vector<std::uint8_t>(data.begin(), data.end())) << i;
    }
}

TEST_F(SessionBusTest, TheWorkToolGetsItsRecordOnlyWhenItIsThereAndAnswers) {
    const WorkToolRecord record = BuildWorkToolRecord(MakeUpdateTable());
    // Nobody owns the tool's name: false, and nothing waits for an answer.
    EXPECT_FALSE(bus_.SendToWorkTool(kWorkToolRecordKind, record));

    OfferPeer(&workTool_, kWorkToolService, kWorkToolPath);
    EXPECT_TRUE(bus_.SendToWorkTool(kWorkToolRecordKind, record));
    const auto records = workTool_.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].kind, kWorkToolRecordKind);
    EXPECT_EQ(records[0].data, QByteArray(reinterpret_cast<const char*>(record.data()), 1024));

    // A tool that answers with an error did not take it.
    workTool_.Refuse(true);
    EXPECT_FALSE(bus_.SendToWorkTool(kWorkToolRecordKind, record));
    EXPECT_EQ(workTool_.Records().size(), 1u);

    // A tool that takes longer than the program waits: the program gives up and says so.
    workTool_.Refuse(false);
    workTool_.AnswerAfter(1500);
    EXPECT_FALSE(bus_.SendToWorkTool(kWorkToolRecordKind, record));
}

TEST_F(SessionBusTest, AudioCaptureCommandsArriveInOrderAndAreSkippedWithoutIt) {
    bus_.SendToAudioCapture(2, 0);  // nobody there: nothing happens
    OfferPeer(&audioCapture_, kAudioCaptureService, kAudioCapturePath);
    for (const int command : {2, 4, 5}) bus_.SendToAudioCapture(command, 0);
    bus_.SendToAudioCapture(1, -7);
    EXPECT_EQ(audioCapture_.Commands(), (std::vector<std::pair<int, int>>{{2, 0}, {4, 0}, {5, 0}, {1, -7}}));
}

// The music window's group reaches the capture program as its record; nothing goes without it, and
// a record sent before a command arrives before it.
TEST_F(SessionBusTest, RecordsReachTheAudioCaptureProgramInOrderWithItsCommands) {
    std::array<std::uint8_t, 40> record{};
    record[4] = 1;
    record[8] = 9;
    EXPECT_FALSE(bus_.SendRecordToAudioCapture(10, record));
    OfferPeer(&audioCapture_, kAudioCaptureService, kAudioCapturePath);
    EXPECT_TRUE(bus_.SendRecordToAudioCapture(10, record));
    bus_.SendToAudioCapture(6, 200);
    ASSERT_EQ(audioCapture_.Commands(), (std::vector<std::pair<int, int>>{{6, 200}}));
    const auto records = audioCapture_.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].first, 10u);
    EXPECT_EQ(records[0].second, QByteArray(reinterpret_cast<const char*>(record.data()), 40));
}

TEST_F(SessionBusTest, LightingHandOverIsASignalOnTheProgramsPath) {
    LightListener listener;
    ASSERT_TRUE(client_.connect(QString(), kObjectPath, kServiceName, "LightControlNotify", &listener,
                                SLOT(OnNotify(uint, int))));
    bus_.BroadcastLightControl(1, 1);
    bus_.BroadcastLightControl(1, 0);
    ASSERT_TRUE(PumpUntil([&] { return listener.seen.size() == 2; }));
    EXPECT_EQ(listener.seen, (std::vector<std::pair<uint, int>>{{1, 1}, {1, 0}}));
}

TEST_F(SessionBusTest, LogindsSleepAnnouncementsReachTheHandler) {
    // Without the bus nothing is watched.
    const QDBusConnection none = QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "none");
    EXPECT_FALSE(bus_.WatchSleep([](bool) { ADD_FAILURE() << "called without a bus"; }, none));
    QDBusConnection::disconnectFromBus("none");

    // logind stands in on the session bus, under its own name.
    ASSERT_TRUE(peers_.registerService("org.freedesktop.login1"));
    std::vector<bool> seen;
    ASSERT_TRUE(bus_.WatchSleep([&seen](bool suspending) { seen.push_back(suspending); },
                                QDBusConnection::sessionBus()));
    for (const bool suspending : {true, false}) {
        QDBusMessage signal = QDBusMessage::createSignal("/org/freedesktop/login1",
                                                         "org.freedesktop.login1.Manager", "PrepareForSleep");
        signal << suspending;
        ASSERT_TRUE(peers_.send(signal));
    }
    // The same signal from anyone else is not logind's.
    QDBusMessage forged = QDBusMessage::createSignal("/org/freedesktop/login1",
                                                     "org.freedesktop.login1.Manager", "PrepareForSleep");
    forged << true;
    ASSERT_TRUE(client_.send(forged));
    ASSERT_TRUE(PumpUntil([&] { return seen.size() >= 2; }));
    Settle();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    peers_.unregisterService("org.freedesktop.login1");
}

}  // namespace
}  // namespace zevik::test

#include "session_bus_test.moc"
