// Every text on the main window's built pages fits its control, in each interface language, measured
// with the real fonts and styles of the Qt renderer (offscreen): the page tabs, the profile bar with its
// actions open, each sub-page of the performance page, the lighting page in each of its effects and the
// placeholders of the pages not built yet.
// The window runs as the desktop program runs it, over an emulated mouse, with the language chosen
// through a settings file in a temporary configuration folder, or switched to from the other one while
// the window shows (texts and fonts set again over a laid-out window).

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "devices/mouse_device.h"
#include "editors/key_set_control_ui.h"
#include "editors/light_control_ui.h"
#include "emulator/emulation.h"
#include "settings/profile_locations.h"
#include "shell/main_wnd.h"
#include "shell/secondary_wnd.h"
#include "transport/command_channel.h"
#include "ui/combo_ui.h"
#include "ui/container_ui.h"
#include "ui/label_ui.h"
#include "ui/option_ui.h"
#include "ui/qt/font_loader.h"
#include "ui/qt/qt_message_loop.h"
#include "ui/qt/qt_renderer.h"
#include "ui/qt/qt_ui_backend.h"
#include "ui/qt/qt_window_host.h"
#include "ui/resource_manager.h"
#include "ui/ui_lib.h"
#include "ui_qt/qt_test_app.h"

namespace zevik::test {
namespace {

using namespace std::chrono_literals;
constexpr UINT kVisible = 0x10000000;

// An entry of "DefaultData/Language.config".
struct Language {
    const char* name;   // "Language_name"
    int id;             // "Language_ID", also its index in the list
    const char* label;  // for the test's name
    int savedId;        // the language the window starts in
};

void PrintTo(const Language& language, std::ostream* os) {
    *os << language.label;
}

// One text a control shows and the room its widget gives it, in pixels.
struct Fit {
    QString text;
    int need = 0;
    int room = 0;
    const char* what = "wide";  // the dimension compared
};

std::string Describe(const CControlUI& control) {
    if (!control.GetName().empty()) return "\"" + control.GetName() + "\"";
    for (const CControlUI* p = control.GetParent(); p != nullptr; p = p->GetParent()) {
        if (!p->GetName().empty()) return std::string(control.GetClass()) + " in \"" + p->GetName() + "\"";
    }
    return std::string(control.GetClass());
}

int ContentsWidth(QWidget& widget, QStyle::SubElement element) {
    QStyleOptionButton option;
    option.initFrom(&widget);
    return widget.style()->subElementRect(element, &option, &widget).width();
}

// The texts a control's widget shows and the room for each, measured as the widget draws them.
std::vector<Fit> FitsOf(CControlUI& control, WidgetKind kind, QWidget& w, CPaintManagerUI& pm) {
    const QFontMetrics fm(w.font());
    const QString text = QString::fromStdString(control.GetText());
    std::vector<Fit> fits;
    switch (kind) {
        case WidgetKind::Painted: {
            auto* label = dynamic_cast<CLabelUI*>(&control);
            if (label == nullptr || text.trimmed().isEmpty()) break;
            const UiRect pad = pm.Scale(label->GetTextPadding());
            const QRect room = w.rect().adjusted(pad.left, pad.top, -pad.right, -pad.bottom);
            const bool wraps =
                control.GetAttribute("wordbreak") == "true" || control.GetAttribute("multiline") == "true";
            if (wraps) {
                const QRect bound =
                    fm.boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, text);
                fits.push_back({text, bound.width(), room.width()});
                fits.push_back({text, bound.height(), room.height(), "high"});
            } else {
                fits.push_back({text, fm.horizontalAdvance(text), room.width()});
            }
            break;
        }
        case WidgetKind::Button:
        case WidgetKind::Option:
            if (!text.trimmed().isEmpty()) {
                fits.push_back(
                    {text, fm.horizontalAdvance(text), ContentsWidth(w, QStyle::SE_PushButtonContents)});
            }
            break;
        case WidgetKind::CheckBox:
            if (!text.trimmed().isEmpty()) {
                fits.push_back(
                    {text, fm.horizontalAdvance(text), ContentsWidth(w, QStyle::SE_CheckBoxContents)});
            }
            break;
        case WidgetKind::Combo: {
            // Any item may become the shown one.
            auto& box = static_cast<QComboBox&>(w);
            QStyleOptionComboBox option;
            option.initFrom(&box);
            const int room =
                box.style()
                    ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box)
                    .width();
            auto& combo = static_cast<CComboUI&>(control);
            for (int i = 0; i < combo.GetCount(); ++i) {
                const QString item = QString::fromStdString(combo.GetItemText(i));
                fits.push_back({item, fm.horizontalAdvance(item), room});
            }
            break;
        }
        default:
            break;  // edits scroll their text; the painted gauges draw numbers only
    }
    return fits;
}

class TextFitTest : public QtFixture, public ::testing::WithParamInterface<Language> {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() / (std::string("zevik-text-fit-") + GetParam().label);
        std::filesystem::remove_all(root_);
        // The window takes the saved language as it initialises.
        const std::filesystem::path settings = root_ / "config" / "settings.json";
        std::filesystem::create_directories(settings.parent_path());
        std::ofstream(settings) << "{ \"LANGUAGE\": " << GetParam().savedId << " }\n";

        ASSERT_GT(fonts_.LoadFolder(ZEVIK_RESOURCE_DIR "/Font"), 0);
        // Without a font for the language, every character measures as a missing-glyph box.
        ASSERT_TRUE(GetParam().id == 0 ||
                    !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty())
            << "no font for Simplified Chinese (scripts/install-deps.sh installs one)";
        SetUiBackend(&backend_);
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin/");
        CResourceManager& resources = *CResourceManager::GetInstance();
        ASSERT_TRUE(resources.LoadResource("res.xml"));

        locations_ =
            std::make_unique<CProfileLocations>(root_ / "data", std::filesystem::path(ZEVIK_RESOURCE_DIR));
        EmulationOptions options;
        options.list = EmulatedDevices();
        std::string error;
        emulation_ = CEmulation::Create(options, error);
        ASSERT_NE(emulation_, nullptr) << error;
        DeviceContext context;
        context.hidBackend = &emulation_->Backend();
        context.uiLoop = &loop_;
        context.profileLocations = locations_.get();
        window_ = std::make_unique<CMainWnd>(context);
        window_->SetSettingsFile(settings);
        ASSERT_NE(window_->Create(0, "zevik", kVisible, 0, 0, 0, 800, 572), 0u) << window_->GetSkinError();
        ASSERT_TRUE(PumpUntil([this] { return window_->IsWindowVisible() && Mouse() != nullptr; }));
        if (GetParam().savedId != GetParam().id) {
            Settle();
            window_->SendMessage(UM_LANGUAGE_CHANGED, static_cast<WPARAM>(GetParam().id), 0);
            Settle();
        }
        ASSERT_EQ(resources.GetLanguage(), GetParam().name);
    }
    virtual const char* EmulatedDevices() const { return "mouse"; }
    void TearDown() override {
        if (window_) {
            window_->ExitProgram();
            if (window_->GetHWND() != 0) window_->DestroyWindow();
            window_.reset();
        }
        SetUiBackend(nullptr);
        CResourceManager::GetInstance()->Release();
        std::filesystem::remove_all(root_);
    }
    static bool PumpUntil(const std::function<bool()>& cond, std::chrono::milliseconds limit = 5s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!cond()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }
    static void Settle() {
        PumpUntil([] { return false; }, 50ms);
    }
    COrbantixMouseDevice* Mouse() {
        const auto& mice = window_->Devices(CMainWnd::kFamilyMouse);
        auto* mouse = mice.empty() ? nullptr : dynamic_cast<COrbantixMouseDevice*>(mice.front());
        return mouse != nullptr && mouse->CommandChannel().IsOpen() && mouse->HasMirror() ? mouse : nullptr;
    }
    CQtRenderer& Renderer() { return *backend_.HostOf(*window_)->Renderer(); }
    // Clicks the control's widget as the user would.
    void Click(CControlUI& control) {
        QWidget* w = Renderer().WidgetFor(&control);
        ASSERT_NE(w, nullptr) << control.GetName();
        QTest::mouseClick(w, Qt::LeftButton);
        Settle();
    }

    // Every shown text of the window that its control cannot show whole, and every control with text
    // that runs past an edge of a container holding it. Each fault is reported once, on the first page
    // it shows on.
    void CheckShownTexts(const std::string& where) {
        CPaintManagerUI& pm = *window_->GetPaintManager();
        const auto report = [this](const std::string& key, const std::string& message) {
            if (reported_.insert(key).second) ADD_FAILURE() << message;
        };
        pm.GetRoot()->FindControl(
            [&](CControlUI& c) {
                const RenderedControl* rendered = Renderer().Find(&c);
                QWidget* w = rendered != nullptr ? rendered->widget.data() : nullptr;
                if (w == nullptr || !w->isVisible()) return false;
                const std::vector<Fit> fits = FitsOf(c, rendered->kind, *w, pm);
                for (const Fit& fit : fits) {
                    if (fit.need <= fit.room) continue;
                    std::ostringstream message;
                    message << where << ": " << Describe(c) << " shows \"" << fit.text.toStdString() << "\", "
                            << fit.need << " px " << fit.what << ", in " << fit.room << " px";
                    report(Describe(c) + fit.text.toStdString() + fit.what, message.str());
                }
                if (fits.empty() || c.IsFloat()) return false;
                const UiRect& rc = c.GetPos();
                for (const CControlUI* p = c.GetParent(); p != nullptr; p = p->GetParent()) {
                    const UiRect& outer = p->GetPos();
                    if (rc.left >= outer.left && rc.right <= outer.right) continue;
                    std::ostringstream message;
                    message << where << ": " << Describe(c) << " (x " << rc.left << " to " << rc.right
                            << ") runs past " << Describe(*p) << " (x " << outer.left << " to " << outer.right
                            << ")";
                    report(Describe(c) + " past", message.str());
                    break;
                }
                return false;
            },
            UIFIND_VISIBLE);
    }

    // The title of the placeholder on show, "" when the page on show has none.
    std::string ShownPlaceholderTitle() {
        CControlUI* shown =
            Mouse()->FindControl([](CControlUI& c) { return c.GetName() == "page_placeholder"; },
                                 UIFIND_VISIBLE | UIFIND_ME_FIRST);
        auto* box = dynamic_cast<CContainerUI*>(shown);
        return box != nullptr && box->GetCount() > 0 ? box->GetItemAt(0)->GetText() : std::string();
    }

    CQtMessageLoop loop_;
    CQtUiBackend backend_;
    CFontLoader fonts_;
    std::filesystem::path root_;
    std::set<std::string> reported_;
    std::unique_ptr<CProfileLocations> locations_;
    std::unique_ptr<CEmulation> emulation_;
    std::unique_ptr<CMainWnd> window_;
};

TEST_P(TextFitTest, EveryShownTextOfEveryBuiltPageFitsItsControl) {
    CControlUI* more = window_->FindControl("profile_fun_spread_btn");
    ASSERT_NE(more, nullptr);
    Click(*more);
    ASSERT_TRUE(window_->FindControl("profile_menu_layout")->IsVisible());

    auto* tabs = dynamic_cast<CContainerUI*>(window_->FindControl("device_op_tabs"));
    ASSERT_NE(tabs, nullptr);
    std::map<std::string, std::string> placeholderTitles;  // tab -> title of the placeholder it shows
    int pagesSeen = 0;
    for (int i = 0; i < tabs->GetCount(); ++i) {
        auto* tab = dynamic_cast<COptionUI*>(tabs->GetItemAt(i));
        if (tab == nullptr || !tab->IsVisible()) continue;
        Click(*tab);
        const std::string where = "tab \"" + tab->GetText() + "\"";
        if (const std::string title = ShownPlaceholderTitle(); !title.empty())
            placeholderTitles[tab->GetName()] = title;
        if (tab->GetName() == "deng_Op_tab") {
            // The lighting page: every effect of the list, since each shows other parts and texts.
            auto* light = dynamic_cast<CLightControlUI*>(window_->FindControl("LightControlItem"));
            ASSERT_NE(light, nullptr);
            ASSERT_TRUE(light->IsShown()) << "the lighting tab shows the lighting page";
            ASSERT_NE(light->ModeCombo(), nullptr);
            const int modes = light->ModeCombo()->GetCount();
            ASSERT_GT(modes, 0);
            for (int mode = 0; mode < modes; ++mode) {
                light->SelectMode(mode);
                Settle();
                CheckShownTexts(where + ", effect " + std::to_string(mode));
                ++pagesSeen;
            }
            continue;
        }
        if (tab->GetName() == "key_Op_tab") {
            // The key page: a key opened, then every function's settings.
            auto* keys = dynamic_cast<CKeySetControlUI*>(window_->FindControl("KeySetControlItem"));
            ASSERT_NE(keys, nullptr);
            ASSERT_TRUE(keys->IsShown()) << "the buttons tab shows the key page";
            CControlUI* key = window_->FindControl("key_5");
            ASSERT_NE(key, nullptr);
            Click(*key);
            ASSERT_TRUE(keys->HasOpenKey());
            for (int function = 0; function < kFunctionCount; ++function) {
                EXPECT_TRUE(keys->SelectFunction(function)) << function;
                Settle();
                CheckShownTexts(where + ", function " + std::to_string(function));
                ++pagesSeen;
            }
            continue;
        }
        const auto* subTabs = window_->GetPaintManager()->GetOptionGroup("mouse_seting_tab");
        const bool hasSubPages =
            subTabs != nullptr && window_->FindControl("mouse_device_seting_layout")->IsShown();
        if (!hasSubPages) {
            CheckShownTexts(where);
            ++pagesSeen;
            continue;
        }
        for (COptionUI* subTab : *subTabs) {
            Click(*subTab);
            CheckShownTexts(where + ", \"" + subTab->GetText() + "\"");
            ++pagesSeen;
        }
    }
    EXPECT_GE(pagesSeen, 20) << "five tabs, the performance page's three sub-pages and the lighting effects";

    std::set<std::string> distinct;
    for (const auto& [tab, title] : placeholderTitles) {
        EXPECT_TRUE(distinct.insert(title).second)
            << "\"" << tab << "\" shows the title of another tab: " << title;
    }
    EXPECT_EQ(placeholderTitles.size(), 3u) << "system, recoil and about are placeholders";
}

// The device bar with a device of each family: every card shows its whole name beside its icon, and
// every card lies within the bar's room for them, clear of the power panel.
class DeviceBarFitTest : public TextFitTest {
protected:
    const char* EmulatedDevices() const override { return "mouse,keyboard,mousepad,headset"; }
};

TEST_P(DeviceBarFitTest, EveryCardShowsItsWholeNameWithinTheBar) {
    CPaintManagerUI& pm = *window_->GetPaintManager();
    auto* cards = dynamic_cast<CContainerUI*>(window_->FindControl("device_select_layout"));
    ASSERT_NE(cards, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return cards->GetCount() == 4; })) << cards->GetCount() << " cards";
    Settle();
    const UiRect room = cards->GetPos();
    const UiRect power = window_->FindControl("device_power_switch")->GetPos();
    for (int i = 0; i < cards->GetCount(); ++i) {
        CControlUI* card = cards->GetItemAt(i);
        const UiRect rc = card->GetPos();
        EXPECT_TRUE(rc.left >= room.left && rc.right <= room.right && rc.right <= power.left)
            << "card " << i << " (x " << rc.left << " to " << rc.right << ") past its room (x " << room.left
            << " to " << std::min(room.right, power.left) << ")";
        CControlUI* name = pm.FindSubControlByName(card, "device_select");
        ASSERT_NE(name, nullptr);
        const RenderedControl* rendered = Renderer().Find(name);
        ASSERT_NE(rendered, nullptr);
        EXPECT_EQ(rendered->kind, WidgetKind::Painted) << "the card is drawn from its family's images";
        for (const Fit& fit : FitsOf(*name, rendered->kind, *rendered->widget, pm)) {
            EXPECT_LE(fit.need, fit.room) << "card " << i << " shows \"" << fit.text.toStdString() << "\", "
                                          << fit.need << " px " << fit.what << ", in " << fit.room << " px";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, DeviceBarFitTest,
                         ::testing::Values(Language{"English", 0, "English", 0},
                                           Language{"简体中文", 1, "SimplifiedChinese", 1}),
                         [](const ::testing::TestParamInfo<Language>& param) { return param.param.label; });

INSTANTIATE_TEST_SUITE_P(Languages, TextFitTest,
                         ::testing::Values(Language{"English", 0, "English", 0},
                                           Language{"简体中文", 1, "SimplifiedChinese", 1},
                                           Language{"English", 0, "SwitchedToEnglish", 1},
                                           Language{"简体中文", 1, "SwitchedToSimplifiedChinese", 0}),
                         [](const ::testing::TestParamInfo<Language>& param) { return param.param.label; });

}  // namespace
}  // namespace zevik::test
