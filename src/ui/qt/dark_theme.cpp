#include "ui/qt/dark_theme.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

#include "ui/qt/theme_colors.h"

namespace zevik {

namespace {

QString Hex(const QColor& c) {
    return c.name(QColor::HexRgb);
}

}  // namespace

QString DarkThemeStyleSheet() {
    QString css = QStringLiteral(R"(
QWidget { color: %TEXT%; }
QToolTip { background: %CONTROL%; color: %TEXT%; border: 1px solid %ACCENT%; padding: 4px; }
QLabel { background: transparent; }
QLabel[zevikRole="title"] { font-size: 15px; font-weight: bold; letter-spacing: 1px; }
QLabel[zevikRole="caption"] { color: %DIM%; font-size: 11px; text-transform: uppercase; }
QPushButton {
  background: %CONTROL%; border: 1px solid %BORDER%; border-radius: 4px; padding: 4px 12px;
}
QPushButton:hover { background: %HOVER%; border-color: %ACCENT%; }
QPushButton:pressed { background: %ACCENTDARK%; }
QPushButton:checked { background: %ACCENT%; border-color: %ACCENT%; color: white; }
QPushButton:disabled { color: %DIM%; border-color: %CONTROL%; }
QPushButton[zevikRole="caption"] { background: transparent; border: none; font-size: 14px; padding: 0; }
QPushButton[zevikRole="caption"]:hover { background: %HOVER%; }
QPushButton[zevikRole="close"] { background: transparent; border: none; font-size: 14px; padding: 0; }
QPushButton[zevikRole="close"]:hover { background: %ACCENT%; color: white; }
QPushButton[zevikRole="compact"] { padding: 2px 6px; }
QPushButton[zevikRole="nav"] {
  background: transparent; border: none; border-radius: 6px; text-align: left; padding-left: 12px;
  font-size: 14px; color: %DIM%;
}
QPushButton[zevikRole="nav"]:hover { background: %CONTROL%; color: %TEXT%; }
QPushButton[zevikRole="nav"]:checked {
  background: %CONTROL%; color: white; border-left: 3px solid %ACCENT%; font-weight: bold;
}
QLineEdit, QTextEdit, QPlainTextEdit {
  background: %WINDOW%; border: 1px solid %BORDER%; border-radius: 4px; padding: 3px 6px;
  selection-background-color: %ACCENT%;
}
QLineEdit:focus, QTextEdit:focus { border-color: %ACCENT%; }
QComboBox {
  background: %CONTROL%; border: 1px solid %BORDER%; border-radius: 4px; padding: 3px 8px;
}
QComboBox:hover { border-color: %ACCENT%; }
QComboBox QAbstractItemView {
  background: %PANEL%; border: 1px solid %BORDER%; selection-background-color: %ACCENT%; outline: 0;
}
QCheckBox, QRadioButton { spacing: 6px; background: transparent; }
QCheckBox::indicator, QRadioButton::indicator {
  width: 14px; height: 14px; background: %WINDOW%; border: 1px solid %BORDER%;
}
QCheckBox::indicator { border-radius: 3px; }
QRadioButton::indicator { border-radius: 8px; }
QCheckBox::indicator:checked, QRadioButton::indicator:checked {
  background: %ACCENT%; border-color: %ACCENT%;
}
QCheckBox::indicator:hover, QRadioButton::indicator:hover { border-color: %ACCENT%; }
QSlider { background: transparent; }
QSlider::groove:horizontal { height: 4px; background: %BORDER%; border-radius: 2px; }
QSlider::sub-page:horizontal { background: %ACCENT%; border-radius: 2px; }
QSlider::handle:horizontal {
  width: 14px; height: 14px; margin: -6px 0; border-radius: 7px; background: %TEXT%;
  border: 2px solid %ACCENT%;
}
QSlider::sub-page:horizontal:disabled { background: %DIM%; }
QSlider::handle:horizontal:disabled { background: %DIM%; border-color: %DIM%; }
QCheckBox::indicator:checked:disabled { background: %DIM%; border-color: %DIM%; }
QSlider::groove:vertical { width: 4px; background: %BORDER%; border-radius: 2px; }
QSlider::add-page:vertical { background: %ACCENT%; border-radius: 2px; }
QSlider::handle:vertical {
  width: 14px; height: 14px; margin: 0 -6px; border-radius: 7px; background: %TEXT%;
  border: 2px solid %ACCENT%;
}
QProgressBar {
  background: %WINDOW%; border: 1px solid %BORDER%; border-radius: 4px; text-align: center;
  color: %TEXT%;
}
QProgressBar::chunk { background: %ACCENT%; border-radius: 3px; }
QListWidget, QListView {
  background: %WINDOW%; border: 1px solid %BORDER%; border-radius: 4px; outline: 0;
}
QListWidget::item { padding: 4px 6px; }
QListWidget::item:hover { background: %HOVER%; }
QListWidget::item:selected { background: %ACCENT%; color: white; }
QScrollBar:vertical { background: transparent; width: 8px; margin: 0; }
QScrollBar::handle:vertical { background: %BORDER%; border-radius: 4px; min-height: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { height: 0; width: 0; }
QScrollBar:horizontal { background: transparent; height: 8px; margin: 0; }
QScrollBar::handle:horizontal { background: %BORDER%; border-radius: 4px; min-width: 24px; }
QMenu { background: %PANEL%; border: 1px solid %BORDER%; padding: 4px; }
QMenu::item { padding: 5px 20px; border-radius: 3px; }
QMenu::item:selected { background: %ACCENT%; color: white; }
)");
    css.replace(QStringLiteral("%TEXT%"), Hex(theme::Text()));
    css.replace(QStringLiteral("%DIM%"), Hex(theme::TextDim()));
    css.replace(QStringLiteral("%WINDOW%"), Hex(theme::Window()));
    css.replace(QStringLiteral("%PANEL%"), Hex(theme::Panel()));
    css.replace(QStringLiteral("%CONTROL%"), Hex(theme::Control()));
    css.replace(QStringLiteral("%HOVER%"), Hex(theme::ControlHover()));
    css.replace(QStringLiteral("%BORDER%"), Hex(theme::Border()));
    css.replace(QStringLiteral("%ACCENTDARK%"), Hex(theme::AccentDark()));
    css.replace(QStringLiteral("%ACCENT%"), Hex(theme::Accent()));
    return css;
}

void ApplyDarkTheme(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        app.setStyle(fusion);
    }
    QPalette pal;
    pal.setColor(QPalette::Window, theme::Window());
    pal.setColor(QPalette::WindowText, theme::Text());
    pal.setColor(QPalette::Base, theme::Window());
    pal.setColor(QPalette::AlternateBase, theme::Panel());
    pal.setColor(QPalette::ToolTipBase, theme::Control());
    pal.setColor(QPalette::ToolTipText, theme::Text());
    pal.setColor(QPalette::Text, theme::Text());
    pal.setColor(QPalette::Button, theme::Control());
    pal.setColor(QPalette::ButtonText, theme::Text());
    pal.setColor(QPalette::BrightText, Qt::white);
    pal.setColor(QPalette::Highlight, theme::Accent());
    pal.setColor(QPalette::HighlightedText, Qt::white);
    pal.setColor(QPalette::PlaceholderText, theme::TextDim());
    pal.setColor(QPalette::Disabled, QPalette::Text, theme::TextDim());
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, theme::TextDim());
    pal.setColor(QPalette::Disabled, QPalette::WindowText, theme::TextDim());
    app.setPalette(pal);
    // The size goes on the application font, not into the style sheet: a style sheet font would
    // override the fonts the skins give their controls.
    QFont font = QApplication::font();
    font.setPixelSize(12);
    app.setFont(font);
    app.setStyleSheet(DarkThemeStyleSheet());
}

}  // namespace zevik
