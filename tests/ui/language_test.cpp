// Language tables: texts that are keys show the current language; switching re-resolves every text.

#include "ui/combo_ui.h"
#include "ui/dialog_builder.h"
#include "ui/list_element_ui.h"
#include "ui/menu_wnd.h"
#include "ui_test_support.h"

namespace zevik {
namespace {

class LanguageTest : public test::UiTest {
protected:
    LanguageTest() {
        CDialogBuilder builder;
        CControlUI* root = builder.CreateFromString(R"(<VerticalLayout name="root">
            <Label name="title" text="title_text" tooltip="exit_text"/>
            <Label name="literal" text="ZEVIK-R300Prime"/>
            <Combo name="lang_combo"><ListLabelElement text="exit_text"/></Combo>
            <List name="l"><ListTextElement name="row"/></List>
          </VerticalLayout>)",
                                                    nullptr, &pm);
        pm.AttachDialog(root);
    }
    std::string Text(const char* name) { return pm.FindControl(name)->GetText(); }

    CResourceManager* resources = CResourceManager::GetInstance();
    CPaintManagerUI pm;
};

TEST_F(LanguageTest, SwitchingLanguageReResolvesEveryText) {
    EXPECT_EQ(Text("title"), "title_text") << "no table yet: the key shows as it is";

    resources->SetLanguage("English");
    ASSERT_TRUE(resources->LoadLanguage("lang_en.xml")) << resources->GetLastError();
    EXPECT_EQ(Text("title"), "Settings");
    EXPECT_EQ(pm.FindControl("title")->GetToolTip(), "Exit");
    EXPECT_EQ(pm.FindControl("title")->GetTextKey(), "title_text");
    EXPECT_EQ(Text("literal"), "ZEVIK-R300Prime");
    EXPECT_EQ(resources->ResolveText("message_text_5"), "The name is empty.") << "element text form";

    resources->SetLanguage("Deutsch");
    ASSERT_TRUE(resources->LoadLanguage("lang_de.xml"));
    EXPECT_EQ(Text("title"), "Einstellungen");
    auto* combo = dynamic_cast<CComboUI*>(pm.FindControl("lang_combo"));
    EXPECT_EQ(combo->GetItemText(0), "Beenden");

    // Back to a table loaded before: no reload needed.
    resources->SetLanguage("English");
    EXPECT_EQ(Text("title"), "Settings");
    EXPECT_EQ(combo->GetItemText(0), "Exit");
}

TEST_F(LanguageTest, TextsSetByCodeAndColumnsResolveToo) {
    resources->SetLanguage("English");
    resources->LoadLanguage("lang_en.xml");
    // The about window's trick: set a key as text and read the language's text back.
    pm.FindControl("literal")->SetText("exit_text");
    EXPECT_EQ(Text("literal"), "Exit");
    auto* row = dynamic_cast<CListTextElementUI*>(pm.FindControl("row"));
    row->SetText(1, "title_text");
    EXPECT_EQ(row->GetText(1), "Settings");
    resources->SetLanguage("Deutsch");
    resources->LoadLanguage("lang_de.xml");
    EXPECT_EQ(row->GetText(1), "Einstellungen");
}

TEST_F(LanguageTest, ABadLanguageFileChangesNothing) {
    resources->SetLanguage("English");
    resources->LoadLanguage("lang_en.xml");
    for (const char* file : {"missing_lang.xml", "broken.xml", "menu.xml"}) {
        EXPECT_FALSE(resources->LoadLanguage(file)) << file;
        EXPECT_FALSE(resources->GetLastError().empty());
        EXPECT_EQ(Text("title"), "Settings") << file;
    }
}

TEST_F(LanguageTest, MenuItemsUseTheLanguageToo) {
    resources->SetLanguage("Deutsch");
    resources->LoadLanguage("lang_de.xml");
    CMenuWnd menu;
    ASSERT_TRUE(menu.Init(nullptr, "menu.xml", UiPoint{10, 10}, &pm)) << menu.GetLastError();
    ASSERT_NE(menu.FindItem("exit"), nullptr);
    EXPECT_EQ(menu.FindItem("exit")->GetText(), "Beenden");
}

}  // namespace
}  // namespace zevik
