#include "ui/qt/widget_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>

#include "ui/button_ui.h"
#include "ui/check_box_ui.h"
#include "ui/color_palette_ui.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/list_element_ui.h"
#include "ui/message_loop.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/progress_ui.h"
#include "ui/qt/bar_graph_widget.h"
#include "ui/qt/color_palette_widget.h"
#include "ui/qt/key_button_widget.h"
#include "ui/qt/light_widget.h"
#include "ui/qt/opaque_painted_widget.h"
#include "ui/qt/painted_control_widget.h"
#include "ui/qt/ring_progress_widget.h"
#include "ui/rich_edit_ui.h"
#include "ui/slider_ui.h"

namespace zevik {

namespace {

bool ClassHas(const CControlUI& control, std::string_view part) {
    return control.GetClass().find(part) != std::string_view::npos;
}

bool InLightLayer(const CControlUI& control) {
    return control.GetAttribute("lightlayer") == "true";
}

bool HasStateImages(CControlUI& control) {
    auto* button = dynamic_cast<CButtonUI*>(&control);
    if (button == nullptr) {
        return false;
    }
    auto* option = dynamic_cast<COptionUI*>(&control);
    return !button->GetNormalImage().empty() || !button->GetHotImage().empty() ||
           !button->GetPushedImage().empty() || (option != nullptr && !option->GetSelectedImage().empty());
}

void SendEvent(CControlUI& control, int type, QPoint globalPos = {}) {
    TEventUI event;
    event.Type = type;
    event.pSender = &control;
    if (CMessageLoop* loop = CMessageLoop::Current()) {
        event.dwTimestamp = loop->NowMs();
    }
    event.ptMouse = UiPoint{globalPos.x(), globalPos.y()};
    control.Event(event);
}

}  // namespace

WidgetKind CWidgetFactory::KindFor(CControlUI& control) {
    if (ClassHas(control, "DeviceKeyButton")) {
        // A cap that takes no input is a light of the picture; so is a key the skin puts in its
        // parent's light layer (a keyboard's keys, all recoloured by every frame).
        return control.IsMouseEnabled() && !InLightLayer(control) ? WidgetKind::KeyButton : WidgetKind::Light;
    }
    if (ClassHas(control, "CircleProgress")) {
        return WidgetKind::Ring;
    }
    if (ClassHas(control, "Chart")) {
        return WidgetKind::BarGraph;
    }
    if (ClassHas(control, "RedioMacroButton")) {
        return WidgetKind::Painted;  // the skin's painter draws its blinking fore image
    }
    if (dynamic_cast<CColorPaletteUI*>(&control) != nullptr) {
        return WidgetKind::Palette;
    }
    if (dynamic_cast<CComboUI*>(&control) != nullptr) {
        return WidgetKind::Combo;
    }
    if (dynamic_cast<CRichEditUI*>(&control) != nullptr) {
        return WidgetKind::RichEdit;
    }
    if (dynamic_cast<CEditUI*>(&control) != nullptr) {
        return WidgetKind::Edit;
    }
    if (dynamic_cast<CSliderUI*>(&control) != nullptr) {
        return WidgetKind::Slider;
    }
    if (dynamic_cast<CProgressUI*>(&control) != nullptr) {
        return WidgetKind::Progress;
    }
    if (dynamic_cast<IListItemUI*>(&control) != nullptr || HasStateImages(control)) {
        return WidgetKind::Painted;
    }
    if (dynamic_cast<CCheckBoxUI*>(&control) != nullptr) {
        return WidgetKind::CheckBox;
    }
    if (dynamic_cast<COptionUI*>(&control) != nullptr) {
        return WidgetKind::Option;
    }
    if (dynamic_cast<CButtonUI*>(&control) != nullptr) {
        return WidgetKind::Button;
    }
    return WidgetKind::Painted;
}

RenderedControl CWidgetFactory::Create(CControlUI& control, QWidget* parent, CQtRenderer& renderer) {
    RenderedControl out;
    out.kind = KindFor(control);
    switch (out.kind) {
        case WidgetKind::Painted: {
            // A blinking button paints all its pixels: its blink repaints the button alone.
            auto* w = ClassHas(control, "RedioMacroButton") ? new COpaquePaintedWidget(parent)
                                                             : new CPaintedControlWidget(parent);
            // Buttons, options and list rows take clicks; layouts and labels let them through.
            w->SetInteractive(dynamic_cast<CButtonUI*>(&control) != nullptr ||
                              dynamic_cast<IListItemUI*>(&control) != nullptr);
            out.widget = w;
            break;
        }
        case WidgetKind::Button:
            out.widget = new QPushButton(parent);
            out.widget->setCursor(Qt::PointingHandCursor);
            break;
        case WidgetKind::Option: {
            auto* b = new QPushButton(parent);
            b->setCheckable(true);
            b->setCursor(Qt::PointingHandCursor);
            out.widget = b;
            break;
        }
        case WidgetKind::CheckBox:
            out.widget = new QCheckBox(parent);
            break;
        case WidgetKind::Combo:
            out.widget = new QComboBox(parent);
            break;
        case WidgetKind::Slider:
            out.widget = new QSlider(Qt::Horizontal, parent);
            break;
        case WidgetKind::Progress:
            out.widget = new QProgressBar(parent);
            break;
        case WidgetKind::Ring:
            out.widget = new CRingProgressWidget(parent);
            break;
        case WidgetKind::Edit:
            out.widget = new QLineEdit(parent);
            break;
        case WidgetKind::RichEdit:
            out.widget = new QPlainTextEdit(parent);
            break;
        case WidgetKind::Palette:
            out.widget = new CColorPaletteWidget(parent);
            break;
        case WidgetKind::KeyButton:
            out.widget = new CKeyButtonWidget(parent);
            break;
        case WidgetKind::Light: {
            auto* light = new CLightWidget(parent);
            light->SetTakesInput(control.IsMouseEnabled());
            out.widget = light;
            break;
        }
        case WidgetKind::BarGraph:
            out.widget = new CBarGraphWidget(parent);
            break;
    }
    if (out.kind == WidgetKind::Button || out.kind == WidgetKind::Option ||
        out.kind == WidgetKind::CheckBox) {
        // A click focuses the control (and ends an edit's input); Tab does not stop on it.
        out.widget->setFocusPolicy(Qt::ClickFocus);
    }
    Wire(control, out, renderer);
    return out;
}

void CWidgetFactory::Wire(CControlUI& control, const RenderedControl& rendered, CQtRenderer& renderer) {
    QWidget* widget = rendered.widget;
    CControlUI* c = &control;
    CQtRenderer* r = &renderer;
    // After a user operation the core may have kept a state that differs from what the widget did on
    // its own (a grouped option stays selected, a filtered text); the widget follows the core.
    auto resync = [r, c](UiChange what) {
        if (r->Find(c) != nullptr) {
            r->Sync(*c, what);
        }
    };
    switch (rendered.kind) {
        case WidgetKind::Painted: {
            auto* w = static_cast<CPaintedControlWidget*>(widget);
            if (!w->IsInteractive()) {
                break;
            }
            QObject::connect(w, &CPaintedControlWidget::clicked, r, [c, resync] {
                c->Activate();
                resync(UiChange::State);
            });
            QObject::connect(w, &CPaintedControlWidget::doubleClicked, r,
                             [c] { SendEvent(*c, UIEVENT_DBLCLICK); });
            QObject::connect(w, &CPaintedControlWidget::contextMenuRequested, r,
                             [c](const QPoint& pos) { SendEvent(*c, UIEVENT_CONTEXTMENU, pos); });
            break;
        }
        case WidgetKind::Button:
        case WidgetKind::Option:
        case WidgetKind::CheckBox:
            QObject::connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, r,
                             [c, resync] {
                                 c->Activate();
                                 resync(UiChange::State);
                             });
            break;
        case WidgetKind::KeyButton:
            QObject::connect(static_cast<CKeyButtonWidget*>(widget), &CKeyButtonWidget::clicked, r,
                             [c] { c->Activate(); });
            break;
        case WidgetKind::Light:
            // Only a light that takes input ever clicks.
            QObject::connect(static_cast<CLightWidget*>(widget), &CLightWidget::clicked, r, [c] { c->Activate(); });
            break;
        case WidgetKind::Combo: {
            auto* combo = static_cast<CComboUI*>(c);
            QObject::connect(static_cast<QComboBox*>(widget), &QComboBox::activated, r,
                             [combo, resync](int index) {
                                 combo->SelectItem(index, true);
                                 resync(UiChange::State);
                             });
            break;
        }
        case WidgetKind::Slider: {
            auto* slider = static_cast<CSliderUI*>(c);
            auto* qs = static_cast<QSlider*>(widget);
            // Dragging reports moves; a release, a key or a click on the groove sets the value.
            QObject::connect(qs, &QSlider::valueChanged, r, [slider, qs, resync](int value) {
                if (qs->isSliderDown()) {
                    slider->UserMoveValue(value);
                } else {
                    slider->UserSetValue(value);
                }
                resync(UiChange::State);
            });
            QObject::connect(qs, &QSlider::sliderReleased, r, [slider, qs, resync] {
                slider->UserSetValue(qs->value(), true);  // the release always reports the value
                resync(UiChange::State);
            });
            break;
        }
        case WidgetKind::Edit: {
            auto* edit = static_cast<CEditUI*>(c);
            auto* line = static_cast<QLineEdit*>(widget);
            QObject::connect(line, &QLineEdit::textEdited, r, [edit, resync](const QString& text) {
                edit->UserSetText(text.toStdString());
                resync(UiChange::Text);
            });
            QObject::connect(line, &QLineEdit::returnPressed, r, [edit] { edit->UserReturn(); });
            line->installEventFilter(r);
            break;
        }
        case WidgetKind::RichEdit: {
            auto* edit = static_cast<CRichEditUI*>(c);
            auto* text = static_cast<QPlainTextEdit*>(widget);
            QObject::connect(text, &QPlainTextEdit::textChanged, r, [edit, text, resync] {
                edit->UserSetText(text->toPlainText().toStdString());
                resync(UiChange::Text);
            });
            text->installEventFilter(r);
            break;
        }
        case WidgetKind::Palette: {
            auto* palette = static_cast<CColorPaletteUI*>(c);
            QObject::connect(static_cast<CColorPaletteWidget*>(widget), &CColorPaletteWidget::colorPicked, r,
                             [palette](const QColor& color) { palette->UserSelectColor(color.rgba()); });
            break;
        }
        case WidgetKind::Progress:
        case WidgetKind::Ring:
        case WidgetKind::BarGraph:
            break;
    }
}

}  // namespace zevik
