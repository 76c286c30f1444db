#pragma once
// CControlFactory: the process-wide table of control classes the program registers at start-up, by
// class name. A skin element finds a registered class when its tag equals the registered name
// (case-insensitive), or equals it without the "C" prefix and "UI" suffix: a class registered as
// "CCircleProgressUI" is found by the tags "CCircleProgressUI" and "CircleProgress".

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace zevik {

class CControlUI;

class CControlFactory {
public:
    using Creator = std::function<CControlUI*()>;

    static CControlFactory* GetInstance();

    // Replaces an earlier registration of the same name (case-insensitive). False for an empty name
    // or no creator.
    bool RegistControl(std::string_view className, Creator creator);
    bool UnregistControl(std::string_view className);
    // A new control (owned by the caller) or nullptr when no registration matches.
    CControlUI* CreateControl(std::string_view tag) const;
    bool IsRegistered(std::string_view tag) const;
    // Registered names in registration order.
    std::vector<std::string> GetRegisteredNames() const;
    void Clear();

private:
    struct Entry {
        std::string name;
        std::string lowerName;
        std::string lowerShortName;  // without "C" prefix and "UI" suffix, "" when it has neither
        Creator creator;
    };
    const Entry* Find(std::string_view tag) const;

    mutable std::mutex m_mutex;
    std::vector<Entry> m_entries;
};

}  // namespace zevik
