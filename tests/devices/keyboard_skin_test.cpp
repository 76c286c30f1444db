// The keyboard page's skin: it builds without warnings, carries every control the page binds, one
// key button (its own light) for each key of a full-size board with the macro keys, each where the
// key sits on a real board; and the picture binds those buttons and repaints only changed keys.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "devices/keyboard_key_picture.h"
#include "devices/lighting_tables.h"
#include "ui/button_ui.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_builder_callback.h"
#include "ui/horizontal_layout_ui.h"
#include "ui/paint_manager_ui.h"
#include "ui/vertical_layout_ui.h"

namespace zevik {
namespace {

class CKeyButtonStandIn : public CButtonUI {
public:
    std::string_view GetClass() const override { return "DeviceKeyButtonUI"; }
};

// The program's own classes stand in as plain layouts: only the tree and its names are looked at.
class KeyboardSkinCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::string_view tag) override {
        if (tag == "OrbantixKeyboardDevice" || tag == "DeviceProfile" || tag == "LightControl" ||
            tag == "KeySetControl" || tag == "MacroControl" || tag == "ShootControl") {
            return new CHorizontalLayoutUI;
        }
        if (tag == "SelectPanel") return new CVerticalLayoutUI;
        if (tag == "DeviceKeyButton") return new CKeyButtonStandIn;
        if (tag == "RedioMacroButton") return new CButtonUI;  // the macro page's record buttons
        return nullptr;
    }
};

// The keys of a full-size board (104) and the macro keys M1-M5, by logical key.
std::set<int> BoardKeys() {
    std::set<int> keys;
    for (const auto& [first, last] : {std::pair{0, 15}, {21, 61}, {63, 78}, {84, 99}, {105, 124}}) {
        for (int k = first; k <= last; ++k) keys.insert(k);
    }
    return keys;
}

class KeyboardSkin : public ::testing::Test {
protected:
    void SetUp() override {
        previousPath = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin");
        root.reset(builder.Create("XML\\DeviceXml\\keyboarddevice.xml", {}, &callback));
        ASSERT_NE(root, nullptr) << builder.GetLastError();
        EXPECT_TRUE(builder.GetWarnings().empty()) << builder.GetWarnings().front();
        picture.Bind(root.get(), lighting::kLogicalKeyCount, lighting::kLogicalKeyCount);
        ASSERT_NE(picture.Area(), nullptr);
    }
    void TearDown() override {
        root.reset();
        CPaintManagerUI::SetResourcePath(previousPath);
    }
    CControlUI* Find(const std::string& name) {
        return root->FindControl([&name](CControlUI& c) { return c.GetName() == name; },
                                 UIFIND_ALL | UIFIND_ME_FIRST);
    }
    // A key's rectangle inside the picture, from the skin's float position.
    UiRect KeyRect(int key) {
        return picture.KeyButtons().at(static_cast<size_t>(key))->GetFloatPos();
    }

    std::string previousPath;
    CDialogBuilder builder;
    KeyboardSkinCallback callback;
    std::unique_ptr<CControlUI> root;
    CKeyboardKeyPicture picture;
};

TEST_F(KeyboardSkin, CarriesEveryControlThePageBinds) {
    std::vector<std::string> names = {
        "DeviceProfileItem",   "LightControlItem",        "MacroControlItem",         "KeySetControlItem",
        "device_function_switch", "deng_Op_tab",          "key_Op_tab",               "macro_Op_tab",
        "system_Op_tab",       "key_layer_option_0",      "key_layer_option_1",       "winlockflag_option",
        "wflag_option",        "6flag_option",            "repeat_rate_slider",       "repeat_delay_time_label1",
        "repeat_input_richedit", "reset_repeat_btn",      "light_combo_modeSelect",   "light_combo_ZZCCmodeSelect",
        "light_combo_ZZCCmodeSelectLayout", "lightcustom_layout", "light_combo_custommodeSelect",
        "custom_bright_color_btn", "custom_off_color_btn", "deng_Color_Pallet",       "deng_same_mode"};
    for (int n = 0; n < 5; ++n) names.push_back("polling_rate_option_" + std::to_string(n));
    for (int n = 0; n < 4; ++n) names.push_back("repeat_delay_check_" + std::to_string(n));
    for (int n = 0; n < 8; ++n) names.push_back("color_option_" + std::to_string(n));
    for (const std::string& name : names) EXPECT_NE(Find(name), nullptr) << name;
}

TEST_F(KeyboardSkin, EveryKeyOfTheBoardIsOneButtonThatIsAlsoItsLightAndStartsLitWhite) {
    const std::set<int> board = BoardKeys();
    ASSERT_EQ(board.size(), 109U);
    for (int k = 0; k < lighting::kLogicalKeyCount; ++k) {
        CControlUI* key = picture.KeyButtons()[static_cast<size_t>(k)];
        CControlUI* light = picture.LightButtons()[static_cast<size_t>(k)];
        if (board.count(k) == 0) {
            EXPECT_EQ(key, nullptr) << k;
            EXPECT_EQ(light, nullptr) << k;
            continue;
        }
        ASSERT_NE(key, nullptr) << k;
        EXPECT_EQ(key, light) << k;
        EXPECT_EQ(key->GetBkColor(), 0xFFFFFFFFu) << k;
    }
}

TEST_F(KeyboardSkin, KeysSitAsOnARealBoardNoneOverlapping) {
    const std::set<int> board = BoardKeys();
    const UiRect area{0, 0, picture.Area()->GetFixedWidth(), picture.Area()->GetFixedHeight()};
    // Along each row of the key matrix the keys go left to right, down each column top to bottom.
    for (int r = 0; r < lighting::kMatrixRows; ++r) {
        int previousLeft = -1;
        for (int c = 0; c < lighting::kMatrixColumns; ++c) {
            const int key = lighting::MatrixKey(c, r);
            if (board.count(key) == 0) continue;
            EXPECT_GT(KeyRect(key).left, previousLeft) << "row " << r << " column " << c;
            previousLeft = KeyRect(key).left;
        }
    }
    for (int c = 0; c < lighting::kMatrixColumns; ++c) {
        int previousTop = -1;
        for (int r = 0; r < lighting::kMatrixRows; ++r) {
            const int key = lighting::MatrixKey(c, r);
            if (board.count(key) == 0) continue;
            EXPECT_GT(KeyRect(key).top, previousTop) << "column " << c << " row " << r;
            previousTop = KeyRect(key).top;
        }
    }
    for (const int a : board) {
        const UiRect ra = KeyRect(a);
        EXPECT_TRUE(ra.left >= area.left && ra.top >= area.top && ra.right <= area.right && ra.bottom <= area.bottom)
            << a;
        for (const int b : board) {
            const UiRect rb = KeyRect(b);
            const bool apart = ra.right <= rb.left || rb.right <= ra.left || ra.bottom <= rb.top || rb.bottom <= ra.top;
            EXPECT_TRUE(a == b || apart) << a << " overlaps " << b;
        }
    }
}

TEST_F(KeyboardSkin, ShowingAFrameRepaintsOnlyTheKeysWhoseColourChanged) {
    KeyLightPreview preview;
    for (auto& light : preview.buttons) light = {0xFFFFFF, 255};  // white, as the keys start
    EXPECT_EQ(picture.Show(preview), 0);
    preview.buttons[64] = {0x0000FF, 255};  // red: the preview packs red, blue, green from the low byte
    preview.buttons[18] = {0x0000FF, 255};  // a key the board lacks: nothing to repaint
    EXPECT_EQ(picture.Show(preview), 1);
    EXPECT_EQ(picture.LightButtons()[64]->GetBkColor(), 0xFFFF0000u);
    EXPECT_EQ(picture.Show(preview), 0);
}

TEST(KeyboardKeyPicture, AButtonShowsItsColourScaledByTheIntensity) {
    struct Case {
        KeyButtonLight light;
        UiColor shown;
    };
    for (const Case c : {Case{{0x0000FF, 255}, 0xFFFF0000}, Case{{0xFF0000, 255}, 0xFF00FF00},
                         Case{{0x00FF00, 255}, 0xFF0000FF}, Case{{0x102030, 0}, 0xFF000000},
                         Case{{0xFFFFFF, 128}, 0xFF808080}}) {
        EXPECT_EQ(CKeyboardKeyPicture::ButtonColour(c.light), c.shown) << std::hex << c.light.colour;
    }
}

TEST(KeyboardKeyPicture, APageWithoutTheAreaBindsNothing) {
    CHorizontalLayoutUI page;
    CKeyboardKeyPicture picture;
    picture.Bind(&page, 170, 170);
    EXPECT_EQ(picture.Area(), nullptr);
    EXPECT_EQ(picture.KeyButtons().size(), 170U);
    for (CControlUI* key : picture.KeyButtons()) EXPECT_EQ(key, nullptr);
}

}  // namespace
}  // namespace zevik
