#include "ui/dialog_builder.h"

#include <algorithm>
#include <functional>
#include <map>
#include <pugixml.hpp>

#include "ui/attribute_parser.h"
#include "ui/check_box_ui.h"
#include "ui/color_palette_ui.h"
#include "ui/combo_ui.h"
#include "ui/control_factory.h"
#include "ui/horizontal_layout_ui.h"
#include "ui/list_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/resource_manager.h"
#include "ui/rich_edit_ui.h"
#include "ui/slider_ui.h"
#include "ui/tab_layout_ui.h"

namespace zevik {

namespace {

constexpr int kMaxIncludeDepth = 8;
constexpr int kMaxIncludeCount = 1000;

bool IsTag(std::string_view tag, std::string_view name) { return EqualsNoCase(tag, name); }

// Elements that configure the window rather than create controls.
bool IsSettingTag(std::string_view tag) {
    return IsTag(tag, "Font") || IsTag(tag, "Default") || IsTag(tag, "Style") || IsTag(tag, "Image") ||
           IsTag(tag, "Window");
}

std::string Where(const std::string& source, const pugi::xml_node& node) {
    return source + " (offset " + std::to_string(node.offset_debug()) + ")";
}

}  // namespace

std::string CDialogBuilder::ResolveSkinPath(std::string_view skin) {
    std::string path(skin);
    std::string mapped = CResourceManager::GetInstance()->GetXmlPath(path);
    if (!mapped.empty()) path = mapped;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (!path.empty() && path.front() == '/') return path;
    return CPaintManagerUI::GetResourcePath() + path;
}

CControlUI* CDialogBuilder::CreateBuiltinControl(std::string_view tag) {
    using Maker = CControlUI* (*)();
    static const std::pair<std::string_view, Maker> kClasses[] = {
        {"Control", []() -> CControlUI* { return new CControlUI; }},
        {"Container", []() -> CControlUI* { return new CContainerUI; }},
        {"HorizontalLayout", []() -> CControlUI* { return new CHorizontalLayoutUI; }},
        {"VerticalLayout", []() -> CControlUI* { return new CVerticalLayoutUI; }},
        {"TabLayout", []() -> CControlUI* { return new CTabLayoutUI; }},
        {"Label", []() -> CControlUI* { return new CLabelUI; }},
        {"Text", []() -> CControlUI* { return new CLabelUI; }},
        {"Button", []() -> CControlUI* { return new CButtonUI; }},
        {"Option", []() -> CControlUI* { return new COptionUI; }},
        {"CheckBox", []() -> CControlUI* { return new CCheckBoxUI; }},
        {"Combo", []() -> CControlUI* { return new CComboUI; }},
        {"Progress", []() -> CControlUI* { return new CProgressUI; }},
        {"Slider", []() -> CControlUI* { return new CSliderUI; }},
        {"Edit", []() -> CControlUI* { return new CEditUI; }},
        {"RichEdit", []() -> CControlUI* { return new CRichEditUI; }},
        {"List", []() -> CControlUI* { return new CListUI; }},
        {"ListLabelElement", []() -> CControlUI* { return new CListLabelElementUI; }},
        {"ListTextElement", []() -> CControlUI* { return new CListTextElementUI; }},
        {"ListContainerElement", []() -> CControlUI* { return new CListContainerElementUI; }},
        {"ColorPalette", []() -> CControlUI* { return new CColorPaletteUI; }},
    };
    for (const auto& [name, make] : kClasses) {
        if (IsTag(tag, name)) return make();
    }
    return nullptr;
}

CControlUI* CDialogBuilder::CreateControlForTag(std::string_view tag) {
    if (m_pCallback != nullptr) {
        if (CControlUI* control = m_pCallback->CreateControl(tag)) return control;
    }
    if (CControlUI* control = CreateBuiltinControl(tag)) return control;
    return CControlFactory::GetInstance()->CreateControl(tag);
}

CControlUI* CDialogBuilder::Create(std::string_view skin, std::string_view type, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent) {
    m_pCallback = callback;
    m_lastError.clear();
    m_warnings.clear();
    m_includeCount = 0;
    if (!type.empty()) {
        m_lastError = "skin type '" + std::string(type) + "' is not supported";
        return nullptr;
    }
    std::string path = ResolveSkinPath(skin);
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_file(path.c_str());
    if (!parsed) {
        m_lastError = path + ": " + parsed.description() + " at offset " + std::to_string(parsed.offset);
        return nullptr;
    }
    CControlUI* root = BuildDocument(doc.document_element(), path, manager, parent, 0);
    if (root == nullptr && m_lastError.empty()) m_lastError = path + ": no control in the skin";
    return root;
}

CControlUI* CDialogBuilder::CreateFromString(std::string_view xml, IDialogBuilderCallback* callback,
                                             CPaintManagerUI* manager, CControlUI* parent) {
    m_pCallback = callback;
    m_lastError.clear();
    m_warnings.clear();
    m_includeCount = 0;
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size());
    if (!parsed) {
        m_lastError = std::string("skin text: ") + parsed.description() + " at offset " + std::to_string(parsed.offset);
        return nullptr;
    }
    CControlUI* root = BuildDocument(doc.document_element(), "skin text", manager, parent, 0);
    if (root == nullptr && m_lastError.empty()) m_lastError = "skin text: no control in the skin";
    return root;
}

CControlUI* CDialogBuilder::BuildDocument(const pugi::xml_node& top, const std::string& sourceName,
                                          CPaintManagerUI* manager, CControlUI* parent, int depth) {
    if (!top) return nullptr;
    if (IsTag(top.name(), "Window")) {
        if (depth == 0) ApplyWindowElement(top, manager);
        for (pugi::xml_node child : top.children()) {
            if (child.type() == pugi::node_element && IsSettingTag(child.name())) ApplyWindowChild(child, manager);
        }
        return ParseChildren(top, parent, manager, depth, sourceName);
    }
    return ParseElement(top, parent, manager, depth, sourceName);
}

CControlUI* CDialogBuilder::ParseChildren(const pugi::xml_node& node, CControlUI* parent, CPaintManagerUI* manager,
                                          int depth, const std::string& sourceName) {
    CControlUI* first = nullptr;
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element || IsSettingTag(child.name())) continue;
        if (parent == nullptr && first != nullptr) {
            m_warnings.push_back(Where(sourceName, child) + ": a second root <" + child.name() + "> is ignored");
            continue;
        }
        CControlUI* built = ParseElement(child, parent, manager, depth, sourceName);
        if (first == nullptr) first = built;
    }
    return first;
}

CControlUI* CDialogBuilder::ParseInclude(const pugi::xml_node& node, CControlUI* parent, CPaintManagerUI* manager,
                                         int depth, const std::string& sourceName) {
    std::string source = node.attribute("source").value();
    int count = node.attribute("count").as_int(1);
    if (source.empty()) {
        m_warnings.push_back(Where(sourceName, node) + ": <Include> without source");
        return nullptr;
    }
    if (depth + 1 > kMaxIncludeDepth) {
        m_warnings.push_back(Where(sourceName, node) + ": includes nested too deeply at '" + source + "'");
        return nullptr;
    }
    std::string path = ResolveSkinPath(source);
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_file(path.c_str());
    if (!parsed) {
        m_warnings.push_back(Where(sourceName, node) + ": include " + path + ": " + parsed.description());
        return nullptr;
    }
    CControlUI* first = nullptr;
    for (int i = 0; i < count; ++i) {
        if (++m_includeCount > kMaxIncludeCount) {
            m_warnings.push_back(Where(sourceName, node) + ": too many included copies");
            break;
        }
        CControlUI* built = BuildDocument(doc.document_element(), path, manager, parent, depth + 1);
        if (first == nullptr) first = built;
        if (parent == nullptr) break;  // without a container only one copy can be the root
    }
    return first;
}

CControlUI* CDialogBuilder::ParseElement(const pugi::xml_node& node, CControlUI* parent, CPaintManagerUI* manager,
                                         int depth, const std::string& sourceName) {
    std::string_view tag = node.name();
    if (IsTag(tag, "Include")) return ParseInclude(node, parent, manager, depth, sourceName);

    CControlUI* control = CreateControlForTag(tag);
    if (control == nullptr) {
        m_warnings.push_back(Where(sourceName, node) + ": no control class for <" + std::string(tag) + ">");
        return nullptr;
    }
    if (manager != nullptr) {
        std::string defaults = manager->GetDefaultAttributeList(tag);
        if (!defaults.empty()) control->ApplyAttributeList(defaults);
    }
    for (pugi::xml_attribute attribute : node.attributes()) control->SetAttribute(attribute.name(), attribute.value());

    if (parent != nullptr) {
        auto* container = static_cast<CContainerUI*>(parent->GetInterface("Container"));
        if (container == nullptr || !container->Add(control)) {
            m_warnings.push_back(Where(sourceName, node) + ": <" + std::string(tag) + "> cannot be placed in " +
                                 std::string(parent->GetClass()));
            delete control;
            return nullptr;
        }
    }
    bool hasChildren = false;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element) hasChildren = true;
    }
    if (hasChildren) {
        if (control->GetInterface("Container") != nullptr) {
            ParseChildren(node, control, manager, depth, sourceName);
        } else {
            m_warnings.push_back(Where(sourceName, node) + ": <" + std::string(tag) + "> holds no children; they are ignored");
        }
    }
    return control;
}

void CDialogBuilder::ApplyWindowElement(const pugi::xml_node& window, CPaintManagerUI* manager) {
    if (manager == nullptr) return;
    for (pugi::xml_attribute attribute : window.attributes()) {
        std::string_view name = attribute.name();
        std::string_view value = attribute.value();
        manager->SetWindowAttribute(name, value);
        if (name == "size") {
            if (auto size = ParseSize(value)) manager->SetInitSize(*size);
        } else if (name == "caption") {
            if (auto rc = ParseRect(value)) manager->SetCaptionRect(*rc);
        } else if (name == "mininfo") {
            if (auto size = ParseSize(value)) manager->SetMinInfo(*size);
        } else if (name == "maxinfo") {
            if (auto size = ParseSize(value)) manager->SetMaxInfo(*size);
        }
    }
}

void CDialogBuilder::ApplyWindowChild(const pugi::xml_node& node, CPaintManagerUI* manager) {
    if (manager == nullptr) return;
    std::string_view tag = node.name();
    if (IsTag(tag, "Font")) {
        TFontInfo font;
        font.sFontName = node.attribute("name").value();
        font.iSize = node.attribute("size").as_int(12);
        font.bBold = node.attribute("bold").as_bool(false);
        font.bUnderline = node.attribute("underline").as_bool(false);
        font.bItalic = node.attribute("italic").as_bool(false);
        font.bShared = node.attribute("shared").as_bool(false);
        if (node.attribute("id")) manager->AddFont(node.attribute("id").as_int(), font);
        if (node.attribute("default").as_bool(false)) manager->SetDefaultFont(font);
    } else if (IsTag(tag, "Default")) {
        std::string_view name = node.attribute("name").value();
        if (!name.empty()) manager->AddDefaultAttributeList(name, node.attribute("value").value());
    }
}

}  // namespace zevik
