#pragma once
// Shared pieces of the UI library tests: a fixture with a fresh loop (virtual clock), the skin folder
// of the test data, clean process-wide tables, and a recorder of notifications.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ui/control_factory.h"
#include "ui/control_ui.h"
#include "ui/notify_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/plain_message_loop.h"
#include "ui/resource_manager.h"

namespace zevik {

inline void PrintTo(const UiRect& rc, std::ostream* os) {
    *os << "{" << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom << "}";
}

}  // namespace zevik

namespace zevik::test {

inline std::string UiDataDir() { return std::string(ZEVIK_TEST_DATA_DIR) + "/ui/"; }

class UiTest : public ::testing::Test {
protected:
    UiTest() {
        CResourceManager::GetInstance()->Release();
        CControlFactory::GetInstance()->Clear();
        CPaintManagerUI::SetResourcePath(UiDataDir());
    }
    ~UiTest() override {
        CResourceManager::GetInstance()->Release();
        CControlFactory::GetInstance()->Clear();
    }

    CPlainMessageLoop loop;
};

struct RecordedNotify {
    std::string type;
    std::string sender;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    friend bool operator==(const RecordedNotify&, const RecordedNotify&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const RecordedNotify& n) {
    return os << n.type << "(" << n.sender << ", " << n.wParam << ", " << n.lParam << ")";
}

// Records every notification of a paint manager, in order.
class NotifyRecorder : public INotifyUI {
public:
    explicit NotifyRecorder(CPaintManagerUI& pm) : m_pm(pm) { pm.AddNotifier(this); }
    ~NotifyRecorder() override { m_pm.RemoveNotifier(this); }
    void Notify(TNotifyUI& msg) override {
        events.push_back({msg.sType, msg.pSender != nullptr ? msg.pSender->GetName() : std::string(), msg.wParam,
                          msg.lParam});
    }
    // The recorded types of one sender.
    std::vector<std::string> TypesOf(const std::string& sender) const {
        std::vector<std::string> out;
        for (const auto& e : events) {
            if (e.sender == sender) out.push_back(e.type);
        }
        return out;
    }

    std::vector<RecordedNotify> events;

private:
    CPaintManagerUI& m_pm;
};

}  // namespace zevik::test
