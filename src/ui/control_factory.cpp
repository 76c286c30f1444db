#include "ui/control_factory.h"

#include <algorithm>
#include <cctype>

namespace zevik {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return out;
}

// "ccircleprogressui" -> "circleprogress"; "" when the name lacks the prefix or the suffix.
std::string ShortName(const std::string& lower) {
    if (lower.size() > 3 && lower.front() == 'c' && lower.ends_with("ui")) return lower.substr(1, lower.size() - 3);
    return {};
}

}  // namespace

CControlFactory* CControlFactory::GetInstance() {
    static CControlFactory factory;
    return &factory;
}

bool CControlFactory::RegistControl(std::string_view className, Creator creator) {
    if (className.empty() || !creator) return false;
    std::lock_guard lock(m_mutex);
    std::string lower = Lower(className);
    for (Entry& e : m_entries) {
        if (e.lowerName == lower) {
            e.creator = std::move(creator);
            return true;
        }
    }
    m_entries.push_back(Entry{std::string(className), lower, ShortName(lower), std::move(creator)});
    return true;
}

bool CControlFactory::UnregistControl(std::string_view className) {
    std::lock_guard lock(m_mutex);
    std::string lower = Lower(className);
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.lowerName == lower; });
    if (it == m_entries.end()) return false;
    m_entries.erase(it);
    return true;
}

const CControlFactory::Entry* CControlFactory::Find(std::string_view tag) const {
    std::string lower = Lower(tag);
    for (const Entry& e : m_entries) {
        if (e.lowerName == lower) return &e;
    }
    for (const Entry& e : m_entries) {
        if (!e.lowerShortName.empty() && e.lowerShortName == lower) return &e;
    }
    return nullptr;
}

CControlUI* CControlFactory::CreateControl(std::string_view tag) const {
    Creator creator;
    {
        std::lock_guard lock(m_mutex);
        const Entry* e = Find(tag);
        if (e == nullptr) return nullptr;
        creator = e->creator;
    }
    return creator();
}

bool CControlFactory::IsRegistered(std::string_view tag) const {
    std::lock_guard lock(m_mutex);
    return Find(tag) != nullptr;
}

std::vector<std::string> CControlFactory::GetRegisteredNames() const {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> names;
    for (const Entry& e : m_entries) names.push_back(e.name);
    return names;
}

void CControlFactory::Clear() {
    std::lock_guard lock(m_mutex);
    m_entries.clear();
}

}  // namespace zevik
