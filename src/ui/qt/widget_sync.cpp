#include "ui/qt/widget_sync.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStringList>

#include "ui/attribute_parser.h"
#include "ui/button_ui.h"
#include "ui/color_palette_ui.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/label_ui.h"
#include "ui/list_element_ui.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/progress_ui.h"
#include "ui/qt/bar_graph_widget.h"
#include "ui/qt/color_palette_widget.h"
#include "ui/qt/font_loader.h"
#include "ui/qt/key_cap_widget.h"
#include "ui/qt/painted_control_widget.h"
#include "ui/qt/ring_progress_widget.h"
#include "ui/qt/theme_colors.h"
#include "ui/rich_edit_ui.h"
#include "ui/slider_ui.h"

namespace zevik {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QColor AttributeColor(const CControlUI& control, std::string_view name) {
    const auto parsed = ParseColor(control.GetAttribute(name));
    return parsed ? CWidgetSync::ToColor(*parsed) : QColor();
}

Qt::Alignment AlignmentOf(const CLabelUI& label) {
    Qt::Alignment a = Qt::AlignLeft;
    if (EqualsNoCase(label.GetAlign(), "center")) {
        a = Qt::AlignHCenter;
    } else if (EqualsNoCase(label.GetAlign(), "right")) {
        a = Qt::AlignRight;
    }
    if (EqualsNoCase(label.GetVAlign(), "top")) {
        return a | Qt::AlignTop;
    }
    if (EqualsNoCase(label.GetVAlign(), "bottom")) {
        return a | Qt::AlignBottom;
    }
    return a | Qt::AlignVCenter;
}

QString Css(const QColor& c) {
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

// A key cap's light: its "keycolor", else its background colour, else white.
QColor KeyColor(const CControlUI& control, const QColor& bk) {
    const QColor key = AttributeColor(control, "keycolor");
    if (key.isValid()) {
        return key;
    }
    return bk.isValid() ? bk : QColor(Qt::white);
}

std::vector<double> NumberList(const std::string& text) {
    std::vector<double> out;
    for (const QString& part : Q(text).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = part.trimmed().toDouble(&ok);
        if (ok) {
            out.push_back(v);
        }
    }
    return out;
}

// The column texts of a list row with more than one column, else none.
QStringList ColumnsOf(CControlUI& control) {
    QStringList out;
    auto* row = dynamic_cast<CListTextElementUI*>(&control);
    if (row == nullptr || row->GetColumnCount() < 2) {
        return out;
    }
    for (int i = 0; i < row->GetColumnCount(); ++i) {
        out << Q(row->GetText(i));
    }
    return out;
}

}  // namespace

QColor CWidgetSync::ToColor(UiColor color) {
    if (color == 0) {
        return {};
    }
    return QColor::fromRgba(color);
}

QFont CWidgetSync::FontFor(const CControlUI& control, const CPaintManagerUI& manager) {
    const TFontInfo* info = nullptr;
    if (const auto* label = dynamic_cast<const CLabelUI*>(&control);
        label != nullptr && label->GetFont() >= 0) {
        info = manager.GetFont(label->GetFont());
    }
    if (info == nullptr &&
        (!manager.GetDefaultFont().sFontName.empty() || manager.GetDefaultFont().iSize > 0)) {
        info = &manager.GetDefaultFont();
    }
    QFont font = QApplication::font();
    if (info != nullptr) {
        if (!info->sFontName.empty()) {
            SetFontFace(font, Q(info->sFontName));
        }
        if (info->iSize > 0) {
            font.setPixelSize(manager.Scale(info->iSize));
        }
        font.setBold(info->bBold);
        font.setItalic(info->bItalic);
        font.setUnderline(info->bUnderline);
    }
    return font;
}

void CWidgetSync::Apply(CControlUI& control, const RenderedControl& rendered, UiChange what,
                        CQtRenderer& renderer) {
    QWidget* w = rendered.widget;
    if (w == nullptr) {
        return;
    }
    if (HasChange(what, UiChange::Style)) {
        ApplyStyle(control, rendered, renderer);
    } else {
        if (HasChange(what, UiChange::BkColor)) {
            ApplyBkColor(control, rendered, renderer);
        }
        if (HasChange(what, UiChange::ForeImage)) {
            ApplyForeImage(control, rendered, renderer);
        }
    }
    if (HasChange(what, UiChange::Text) || HasChange(what, UiChange::Style)) {
        ApplyText(control, rendered);
    }
    if (HasChange(what, UiChange::Items)) {
        ApplyItems(control, rendered);
    }
    if (HasChange(what, UiChange::State) || HasChange(what, UiChange::Items)) {
        ApplyState(control, rendered);
    }
    if (HasChange(what, UiChange::Enabled)) {
        w->setEnabled(control.IsEnabled());
    }
    if (HasChange(what, UiChange::Visible)) {
        w->setVisible(control.IsVisible());
    }
    if (HasChange(what, UiChange::Focus) && control.IsFocused() && !w->hasFocus() &&
        w->focusPolicy() != Qt::NoFocus) {
        w->setFocus(Qt::OtherFocusReason);
    }
}

void CWidgetSync::ApplyText(CControlUI& control, const RenderedControl& rendered) {
    QWidget* w = rendered.widget;
    const QString text = Q(control.GetText());
    w->setToolTip(Q(control.GetToolTip()));
    const QSignalBlocker block(w);
    switch (rendered.kind) {
        case WidgetKind::Painted: {
            auto* painted = static_cast<CPaintedControlWidget*>(w);
            painted->SetText(text);
            painted->SetColumns(ColumnsOf(control));
            break;
        }
        case WidgetKind::Button:
        case WidgetKind::Option:
        case WidgetKind::CheckBox:
            static_cast<QAbstractButton*>(w)->setText(text);
            break;
        case WidgetKind::Edit: {
            auto* line = static_cast<QLineEdit*>(w);
            if (line->text() != text) {
                const int cursor = line->cursorPosition();
                line->setText(text);
                line->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
            }
            break;
        }
        case WidgetKind::RichEdit: {
            auto* edit = static_cast<QPlainTextEdit*>(w);
            if (edit->toPlainText() != text) {
                QTextCursor cursor = edit->textCursor();
                const int pos = cursor.position();
                edit->setPlainText(text);
                cursor = edit->textCursor();
                cursor.setPosition(std::min(pos, static_cast<int>(text.size())));
                edit->setTextCursor(cursor);
            }
            break;
        }
        case WidgetKind::Progress: {
            // A bar shows the text its control gives, never a percentage of its own: the panels put
            // the value in a label beside the bar.
            auto* bar = static_cast<QProgressBar*>(w);
            bar->setTextVisible(!text.isEmpty());
            if (!text.isEmpty()) {
                bar->setFormat(text);
            }
            break;
        }
        case WidgetKind::Ring:
            static_cast<CRingProgressWidget*>(w)->SetText(text);
            break;
        case WidgetKind::KeyButton:
        case WidgetKind::Light:
            static_cast<CKeyCapWidget*>(w)->SetText(text);
            break;
        case WidgetKind::Combo:
        case WidgetKind::Slider:
        case WidgetKind::Palette:
        case WidgetKind::BarGraph:
            break;
    }
}

void CWidgetSync::ApplyStyle(CControlUI& control, const RenderedControl& rendered, CQtRenderer& renderer) {
    QWidget* w = rendered.widget;
    CPaintManagerUI& pm = renderer.Manager();
    const QFont font = FontFor(control, pm);
    w->setFont(font);
    auto* label = dynamic_cast<CLabelUI*>(&control);
    const QColor bk = ToColor(control.GetBkColor());
    const QColor border = ToColor(control.GetBorderColor());
    const int borderSize = control.GetBorderSize() > 0 ? pm.Scale(control.GetBorderSize()) : 0;
    const QColor textColor = label != nullptr ? ToColor(label->GetTextColor()) : QColor();
    const QColor hot = AttributeColor(control, "hotbkcolor");
    QColor selected = AttributeColor(control, "selectedbkcolor");
    if (auto* option = dynamic_cast<COptionUI*>(&control);
        option != nullptr && option->GetSelectedBkColor() != 0) {
        selected = ToColor(option->GetSelectedBkColor());
    }
    int round = 0;
    if (const std::string r = control.GetAttribute("borderround"); !r.empty()) {
        const auto size = ParseSize(r);
        round = pm.Scale(size ? size->cx : ParseInt(r).value_or(0));
    }

    switch (rendered.kind) {
        case WidgetKind::Painted: {
            PaintedLook look;
            look.background = bk;
            look.hotBackground = hot;
            look.selectedBackground = selected;
            if (dynamic_cast<IListItemUI*>(&control) != nullptr) {
                // Rows of lists light up under the pointer and when selected unless the skin says otherwise.
                if (!look.hotBackground.isValid()) {
                    look.hotBackground = theme::ControlHover();
                }
                if (!look.selectedBackground.isValid()) {
                    look.selectedBackground = theme::AccentDark();
                }
            }
            look.border = border;
            look.borderSize = borderSize;
            look.borderRound = round;
            CImageLoader& images = renderer.Images();
            look.backgroundImage = images.Load(control.GetBkImage());
            look.foreImage = images.Load(control.GetForeImage());
            if (auto* button = dynamic_cast<CButtonUI*>(&control)) {
                look.normalImage = images.Load(button->GetNormalImage());
                look.hotImage = images.Load(button->GetHotImage());
                look.pushedImage = images.Load(button->GetPushedImage());
                look.disabledImage = images.Load(button->GetDisabledImage());
            }
            if (auto* option = dynamic_cast<COptionUI*>(&control)) {
                look.selectedImage = images.Load(option->GetSelectedImage());
            }
            look.font = font;
            if (label != nullptr) {
                look.textColor = textColor;
                look.selectedTextColor = AttributeColor(control, "selectedtextcolor");
                look.endEllipsis = ParseBool(control.GetAttribute("endellipsis")).value_or(false);
                look.disabledTextColor = ToColor(label->GetDisabledTextColor());
                look.alignment = AlignmentOf(*label);
                const UiRect pad = pm.Scale(label->GetTextPadding());
                look.textPadding = QMargins(pad.left, pad.top, pad.right, pad.bottom);
                look.wordWrap = ParseBool(control.GetAttribute("wordbreak")).value_or(false) ||
                                ParseBool(control.GetAttribute("multiline")).value_or(false);
            }
            look.text = Q(control.GetText());
            look.columns = ColumnsOf(control);
            static_cast<CPaintedControlWidget*>(w)->SetLook(std::move(look));
            break;
        }
        case WidgetKind::KeyButton:
        case WidgetKind::Light: {
            auto* key = static_cast<CKeyCapWidget*>(w);
            key->SetColor(KeyColor(control, bk));
            key->SetIntensity(ParseInt(control.GetAttribute("intensity")).value_or(100));
            key->SetSelected(ParseBool(control.GetAttribute("selected")).value_or(false));
            break;
        }
        case WidgetKind::BarGraph: {
            auto* graph = static_cast<CBarGraphWidget*>(w);
            graph->SetRange(ParseInt(control.GetAttribute("min")).value_or(0),
                            ParseInt(control.GetAttribute("max")).value_or(100));
            graph->SetValues(NumberList(control.GetAttribute("values")));
            graph->SetLabels(Q(control.GetAttribute("labels")).split(QLatin1Char(','), Qt::SkipEmptyParts));
            break;
        }
        default: {
            // Standard widgets keep the theme; only what the skin sets overrides it.
            QStringList rules;
            QStringList hotRules;
            QStringList checkedRules;
            if (bk.isValid()) {
                rules << QStringLiteral("background-color:%1").arg(Css(bk));
            }
            if (textColor.isValid()) {
                rules << QStringLiteral("color:%1").arg(Css(textColor));
            }
            if (border.isValid() && borderSize > 0) {
                rules << QStringLiteral("border:%1px solid %2").arg(borderSize).arg(Css(border));
            }
            if (round > 0) {
                rules << QStringLiteral("border-radius:%1px").arg(round);
            }
            if (hot.isValid()) {
                hotRules << QStringLiteral("background-color:%1").arg(Css(hot));
            }
            if (selected.isValid()) {
                checkedRules << QStringLiteral("background-color:%1").arg(Css(selected));
            }
            QString css;
            const QString id = w->objectName();
            if (!rules.isEmpty()) {
                css += QStringLiteral("#%1{%2}").arg(id, rules.join(QLatin1Char(';')));
            }
            if (!hotRules.isEmpty()) {
                css += QStringLiteral("#%1:hover{%2}").arg(id, hotRules.join(QLatin1Char(';')));
            }
            if (!checkedRules.isEmpty()) {
                css += QStringLiteral("#%1:checked{%2}").arg(id, checkedRules.join(QLatin1Char(';')));
            }
            // A disabled control shows the skin's disabled text colour over its own one.
            if (const QColor dim = label != nullptr ? ToColor(label->GetDisabledTextColor()) : QColor();
                dim.isValid()) {
                css += QStringLiteral("#%1:disabled{color:%2}").arg(id, Css(dim));
            }
            if (w->styleSheet() != css) {
                w->setStyleSheet(css);
            }
            if (const std::string role = control.GetAttribute("qtrole"); !role.empty()) {
                w->setProperty("zevikRole", Q(role));
            }
            break;
        }
    }
}

void CWidgetSync::ApplyForeImage(CControlUI& control, const RenderedControl& rendered, CQtRenderer& renderer) {
    // Only the skin's own painter draws fore images.
    if (rendered.kind == WidgetKind::Painted) {
        QWidget* w = rendered.widget;
        static_cast<CPaintedControlWidget*>(w)->SetForeImage(renderer.Images().Load(control.GetForeImage()));
    }
}

void CWidgetSync::ApplyBkColor(CControlUI& control, const RenderedControl& rendered, CQtRenderer& renderer) {
    const QColor bk = ToColor(control.GetBkColor());
    switch (rendered.kind) {
        case WidgetKind::Painted:
            static_cast<CPaintedControlWidget*>(rendered.widget.data())->SetBackground(bk);
            break;
        case WidgetKind::KeyButton:
        case WidgetKind::Light:
            static_cast<CKeyCapWidget*>(rendered.widget.data())->SetColor(KeyColor(control, bk));
            break;
        default:
            ApplyStyle(control, rendered, renderer);  // the colour is part of the widget's style rules
            break;
    }
}

void CWidgetSync::ApplyState(CControlUI& control, const RenderedControl& rendered) {
    QWidget* w = rendered.widget;
    const QSignalBlocker block(w);
    switch (rendered.kind) {
        case WidgetKind::Painted:
            if (auto* item = dynamic_cast<IListItemUI*>(&control)) {
                static_cast<CPaintedControlWidget*>(w)->SetSelected(item->IsSelected());
            } else if (auto* option = dynamic_cast<COptionUI*>(&control)) {
                static_cast<CPaintedControlWidget*>(w)->SetSelected(option->IsSelected());
            }
            break;
        case WidgetKind::Option:
        case WidgetKind::CheckBox:
            static_cast<QAbstractButton*>(w)->setChecked(static_cast<COptionUI&>(control).IsSelected());
            break;
        case WidgetKind::Combo:
            static_cast<QComboBox*>(w)->setCurrentIndex(static_cast<CComboUI&>(control).GetCurSel());
            break;
        case WidgetKind::Slider: {
            auto& slider = static_cast<CSliderUI&>(control);
            auto* qs = static_cast<QSlider*>(w);
            qs->setOrientation(slider.IsHorizontal() ? Qt::Horizontal : Qt::Vertical);
            qs->setRange(slider.GetMinValue(), slider.GetMaxValue());
            qs->setSingleStep(std::max(1, slider.GetChangeStep()));
            qs->setPageStep(std::max(1, slider.GetChangeStep()) * 10);
            qs->setValue(slider.GetValue());
            break;
        }
        case WidgetKind::Progress: {
            auto& progress = static_cast<CProgressUI&>(control);
            auto* bar = static_cast<QProgressBar*>(w);
            bar->setOrientation(progress.IsHorizontal() ? Qt::Horizontal : Qt::Vertical);
            bar->setRange(progress.GetMinValue(), progress.GetMaxValue());
            bar->setValue(progress.GetValue());
            break;
        }
        case WidgetKind::Ring: {
            auto* ring = static_cast<CRingProgressWidget*>(w);
            if (auto* progress = dynamic_cast<CProgressUI*>(&control)) {
                ring->SetRange(progress->GetMinValue(), progress->GetMaxValue());
                ring->SetValue(progress->GetValue());
            }
            break;
        }
        case WidgetKind::Edit: {
            auto& edit = static_cast<CEditUI&>(control);
            auto* line = static_cast<QLineEdit*>(w);
            line->setReadOnly(edit.IsReadOnly());
            line->setEchoMode(edit.IsPasswordMode() ? QLineEdit::Password : QLineEdit::Normal);
            break;
        }
        case WidgetKind::RichEdit:
            static_cast<QPlainTextEdit*>(w)->setReadOnly(static_cast<CEditUI&>(control).IsReadOnly());
            break;
        case WidgetKind::Palette:
            static_cast<CColorPaletteWidget*>(w)->SetColor(
                QColor::fromRgba(static_cast<CColorPaletteUI&>(control).GetSelectColor()));
            break;
        case WidgetKind::Button:
        case WidgetKind::KeyButton:
        case WidgetKind::Light:
        case WidgetKind::BarGraph:
            break;
    }
}

void CWidgetSync::ApplyItems(CControlUI& control, const RenderedControl& rendered) {
    if (rendered.kind != WidgetKind::Combo) {
        return;
    }
    auto& combo = static_cast<CComboUI&>(control);
    auto* box = static_cast<QComboBox*>(rendered.widget.data());
    const QSignalBlocker block(box);
    QStringList texts;
    for (int i = 0; i < combo.GetCount(); ++i) {
        texts << Q(combo.GetItemText(i));
    }
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) {
        shown << box->itemText(i);
    }
    if (shown != texts) {
        box->clear();
        box->addItems(texts);
    }
    box->setCurrentIndex(combo.GetCurSel());
}

}  // namespace zevik
