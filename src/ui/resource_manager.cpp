#include "ui/resource_manager.h"

#include <pugixml.hpp>

#include "ui/dialog_builder.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

namespace {

void CollectResources(const pugi::xml_node& node, std::map<std::string, std::string, std::less<>>& out) {
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        pugi::xml_attribute id = child.attribute("id");
        pugi::xml_attribute path = child.attribute("path");
        if (!path) path = child.attribute("file");
        if (id && path && *id.value() != '\0') out.insert_or_assign(id.value(), path.value());
        CollectResources(child, out);
    }
}

}  // namespace

CResourceManager* CResourceManager::GetInstance() {
    static CResourceManager manager;
    return &manager;
}

bool CResourceManager::LoadResource(std::string_view file, std::string_view type) {
    std::string path = CDialogBuilder::ResolveSkinPath(file);
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_file(path.c_str());
    std::lock_guard lock(m_mutex);
    if (!type.empty()) {
        m_lastError = "resource type '" + std::string(type) + "' is not supported";
        return false;
    }
    if (!parsed) {
        m_lastError = path + ": " + parsed.description();
        return false;
    }
    Table entries;
    CollectResources(doc, entries);
    for (auto& [id, p] : entries) m_resources.insert_or_assign(id, p);
    m_lastError.clear();
    return true;
}

std::string CResourceManager::GetXmlPath(std::string_view id) const {
    std::lock_guard lock(m_mutex);
    auto it = m_resources.find(id);
    return it == m_resources.end() ? std::string() : it->second;
}

void CResourceManager::AddResource(std::string_view id, std::string_view path) {
    std::lock_guard lock(m_mutex);
    m_resources.insert_or_assign(std::string(id), std::string(path));
}

void CResourceManager::SetLanguage(std::string_view name) {
    {
        std::lock_guard lock(m_mutex);
        m_language = name;
    }
    ReloadText();
}

std::string CResourceManager::GetLanguage() const {
    std::lock_guard lock(m_mutex);
    return m_language;
}

bool CResourceManager::LoadLanguage(std::string_view file) {
    std::string path = CDialogBuilder::ResolveSkinPath(file);
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_file(path.c_str());
    {
        std::lock_guard lock(m_mutex);
        if (!parsed) {
            m_lastError = path + ": " + parsed.description();
            return false;
        }
        pugi::xml_node root = doc.document_element();
        if (std::string_view(root.name()) != "Language") {
            m_lastError = path + ": the root element is not <Language>";
            return false;
        }
        Table table;
        for (pugi::xml_node text : root.children("Text")) {
            pugi::xml_attribute id = text.attribute("id");
            if (!id || *id.value() == '\0') continue;
            pugi::xml_attribute value = text.attribute("value");
            table.insert_or_assign(id.value(), value ? value.value() : text.text().get());
        }
        m_languages[m_language] = std::move(table);
        m_stamps[m_language] = ++m_lastStamp;
        m_lastError.clear();
    }
    ReloadText();
    return true;
}

void CResourceManager::SetText(std::string_view key, std::string_view text) {
    std::lock_guard lock(m_mutex);
    m_languages[m_language].insert_or_assign(std::string(key), std::string(text));
    m_stamps[m_language] = ++m_lastStamp;
}

std::string CResourceManager::ResolveText(std::string_view text) const {
    std::lock_guard lock(m_mutex);
    auto table = m_languages.find(m_language);
    if (table != m_languages.end()) {
        auto it = table->second.find(text);
        if (it != table->second.end()) return it->second;
    }
    return std::string(text);
}

bool CResourceManager::HasText(std::string_view key) const {
    std::lock_guard lock(m_mutex);
    auto table = m_languages.find(m_language);
    return table != m_languages.end() && table->second.count(key) != 0;
}

std::uint64_t CResourceManager::LanguageStamp(std::string_view name) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_stamps.find(name);
    return it == m_stamps.end() ? 0 : it->second;
}

void CResourceManager::ReloadText() {
    for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
        if (CControlUI* root = manager->GetRoot()) root->ReloadText();
    }
}

void CResourceManager::Release() {
    std::lock_guard lock(m_mutex);
    m_resources.clear();
    m_languages.clear();
    m_stamps.clear();
    m_language.clear();
    m_lastError.clear();
}

std::string CResourceManager::GetLastError() const {
    std::lock_guard lock(m_mutex);
    return m_lastError;
}

}  // namespace zevik
