#include "ui/registered_messages.h"

#include <map>
#include <mutex>

#include "ui/window_messages.h"

namespace zevik {

namespace {

struct RegisteredMessages {
    std::mutex mutex;
    std::map<std::string, UINT, std::less<>> ids;
    std::map<UINT, std::string> names;
    UINT next = kFirstRegisteredMessage;
};

RegisteredMessages& Table() {
    static RegisteredMessages table;
    return table;
}

}  // namespace

UINT RegisterWindowMessage(std::string_view name) {
    if (name.empty()) return 0;
    RegisteredMessages& table = Table();
    std::lock_guard lock(table.mutex);
    if (auto it = table.ids.find(name); it != table.ids.end()) return it->second;
    if (table.next > kLastRegisteredMessage) return 0;
    UINT id = table.next++;
    table.ids.emplace(std::string(name), id);
    table.names.emplace(id, std::string(name));
    return id;
}

std::string GetRegisteredMessageName(UINT id) {
    RegisteredMessages& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.names.find(id);
    return it == table.names.end() ? std::string() : it->second;
}

}  // namespace zevik
