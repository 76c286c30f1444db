#pragma once
// CQtRenderer: shows one paint manager's control tree as Qt widgets inside a host widget.
//
// Every rendered control gets one widget, a child of its nearest rendered ancestor's widget, placed
// at the control's computed rectangle. The renderer observes the manager, so every change of a
// control (text, visibility, state, style, position, children) reaches its widget at once. User
// input on a widget goes into the core through the control's own user operations (Activate,
// UserSetValue, UserSetText, SelectItem, focus through the manager), which raise the notifications;
// the renderer itself raises only "menu" (a right click on a control with menu="true"), which no
// control operation stands for.
//
// Mouse presses that no widget takes (on labels, layouts and the program's own painted controls)
// reach the host; the renderer gives them, as button-down, move and button-up events, to the control
// the core's hit test finds under the pointer, which keeps them until the button is released (drag
// selection on the key pictures works this way).
//
// Items of combos are not rendered as widgets: the combo box shows them.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <unordered_map>

#include "ui/control_observer.h"
#include "ui/qt/image_loader.h"

namespace zevik {

class CControlUI;
class CPaintManagerUI;

enum class WidgetKind {
    Painted,    // CPaintedControlWidget: layouts, labels, image buttons and options, list rows
    Button,     // QPushButton
    Option,     // QPushButton, checkable
    CheckBox,   // QCheckBox
    Combo,      // QComboBox
    Slider,     // QSlider
    Progress,   // QProgressBar
    Ring,       // CRingProgressWidget
    Edit,       // QLineEdit
    RichEdit,   // QPlainTextEdit
    Palette,    // CColorPaletteWidget
    KeyButton,  // CKeyButtonWidget
    Light,      // CLightWidget, painted by its parent's CLightLayerWidget
    BarGraph,   // CBarGraphWidget
};

struct RenderedControl {
    QPointer<QWidget> widget;
    WidgetKind kind = WidgetKind::Painted;
};

class CQtRenderer : public QObject, public IControlObserver {
    Q_OBJECT
public:
    // The renderer registers with the manager and builds the current tree, if any. Images are read
    // below skinFolder.
    CQtRenderer(CPaintManagerUI& manager, QWidget& host, std::filesystem::path skinFolder);
    ~CQtRenderer() override;
    CQtRenderer(const CQtRenderer&) = delete;
    CQtRenderer& operator=(const CQtRenderer&) = delete;

    // The widget showing a control, nullptr when it has none.
    QWidget* WidgetFor(const CControlUI* control) const;
    const RenderedControl* Find(const CControlUI* control) const;
    // The control a widget shows, nullptr when none.
    CControlUI* ControlFor(const QWidget* widget) const;
    std::size_t WidgetCount() const { return m_widgets.size(); }
    CPaintManagerUI& Manager() { return m_manager; }
    CImageLoader& Images() { return m_images; }
    QWidget& Host() { return m_host; }

    // Rebuilds every widget from the manager's tree.
    void Rebuild();
    // Places every widget at its control's rectangle again (after a layout pass).
    void SyncGeometry();
    // Sets the widget's state from its control (every aspect in what).
    void Sync(CControlUI& control, UiChange what);
    // The width the control's widget needs to show text on one line: the text in the widget's font and
    // what the widget draws around it (text_metrics.h). A control without a widget yet is measured in
    // the font it will get, without anything around; the renderer lays the window out again once its
    // widgets exist.
    int MeasureTextWidth(const CControlUI& control, std::string_view text) const;

    // IControlObserver
    void OnControlChanged(CControlUI& control, UiChange what) override;
    void OnChildAdded(CContainerUI& container, CControlUI& child) override;
    void OnChildRemoved(CContainerUI& container, CControlUI& child) override;
    void OnRootChanged(CControlUI* root) override;

protected:
    // Focus changes and keys of edits go to the core.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build(CControlUI& control, QWidget* parentWidget);
    void Forget(CControlUI& control);
    void Place(CControlUI& control);
    // The nearest ancestor that has a widget (nullptr: the host).
    CControlUI* RenderedAncestor(const CControlUI& control) const;
    void RestackChildren(CControlUI& container);
    void ClearAll();
    bool ManagerAlive() const;
    // Raw mouse input of the host for the control under the pointer; false when not used.
    bool HostMouseEvent(QEvent& event);

    CPaintManagerUI& m_manager;
    QWidget& m_host;
    CImageLoader m_images;
    std::unordered_map<const CControlUI*, RenderedControl> m_widgets;
    std::unordered_map<const QWidget*, CControlUI*> m_controls;
    bool m_managerGone = false;
    CControlUI* m_mouseCapture = nullptr;  // the control that got the button-down, until button-up
};

}  // namespace zevik
