#pragma once
// CDialogBuilder: builds a control tree from an XML skin file.
//
// A skin is either <Window ...> holding <Font>, <Default>, <Include> and one root control, or a
// control element itself. For each control element the builder asks, in this order: the callback,
// the library's own classes (by tag: Control, Container, HorizontalLayout, VerticalLayout,
// TabLayout, Label, Text, Button, Option, CheckBox, Combo, Progress, Slider, Edit, RichEdit, List,
// ListLabelElement, ListTextElement, ListContainerElement, ColorPalette), then the control factory.
// The new control gets the default attributes of its tag, then the element's attributes in document
// order, then its children (pre-order: callbacks see the tags in document order).
// <Include source="file.xml" count="n"/> builds the controls of another skin file in its place
// (n times; nesting depth limited to guard against include cycles).
//
// Skin paths and resource ids: a name that the resource table knows is replaced by its file; files are
// read below the resource path; '\\' is read as '/'.
//
// Errors: a missing or malformed file, or a document without a control, yields nullptr and
// GetLastError(). An element whose tag no class matches is skipped with its subtree and listed in
// GetWarnings(); the rest of the tree is built.

#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog_builder_callback.h"

namespace pugi {
class xml_node;
}

namespace zevik {

class CControlUI;
class CPaintManagerUI;

class CDialogBuilder {
public:
    CDialogBuilder() = default;

    // Builds the skin. With a parent (a container) the root is added to it; without one and with a
    // manager, the caller attaches the root (AttachDialog). Window attributes, fonts and defaults go
    // to the manager. The caller owns the result unless it was added to a parent.
    CControlUI* Create(std::string_view skin, std::string_view type = {},
                       IDialogBuilderCallback* callback = nullptr, CPaintManagerUI* manager = nullptr,
                       CControlUI* parent = nullptr);
    // The same from XML text in memory (relative includes are read below the resource path).
    CControlUI* CreateFromString(std::string_view xml, IDialogBuilderCallback* callback = nullptr,
                                 CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);

    const std::string& GetLastError() const { return m_lastError; }
    const std::vector<std::string>& GetWarnings() const { return m_warnings; }

    // The file a skin name stands for: a resource id resolved, '\\' read as '/', made absolute below
    // the resource path unless already absolute.
    static std::string ResolveSkinPath(std::string_view skin);
    // A control of a library class by tag, or nullptr.
    static CControlUI* CreateBuiltinControl(std::string_view tag);

private:
    CControlUI* BuildDocument(const pugi::xml_node& top, const std::string& sourceName, CPaintManagerUI* manager,
                              CControlUI* parent, int depth);
    // Builds the control children of node into parent (a container), or, without parent, the first
    // as the root. Returns the first control built.
    CControlUI* ParseChildren(const pugi::xml_node& node, CControlUI* parent, CPaintManagerUI* manager, int depth,
                              const std::string& sourceName);
    CControlUI* ParseElement(const pugi::xml_node& node, CControlUI* parent, CPaintManagerUI* manager, int depth,
                             const std::string& sourceName);
    CControlUI* ParseInclude(const pugi::xml_node& node, CControlUI* parent, CPaintManagerUI* manager, int depth,
                             const std::string& sourceName);
    CControlUI* CreateControlForTag(std::string_view tag);
    void ApplyWindowElement(const pugi::xml_node& window, CPaintManagerUI* manager);
    void ApplyWindowChild(const pugi::xml_node& node, CPaintManagerUI* manager);

    IDialogBuilderCallback* m_pCallback = nullptr;
    std::string m_lastError;
    std::vector<std::string> m_warnings;
    int m_includeCount = 0;
};

}  // namespace zevik
