#include "ui/dialog_builder.h"

#include <memory>

#include "ui/button_ui.h"
#include "ui/combo_ui.h"
#include "ui/horizontal_layout_ui.h"
#include "ui/option_ui.h"
#include "ui/slider_ui.h"
#include "ui/tab_layout_ui.h"
#include "ui_test_support.h"

namespace zevik {
namespace {

using test::UiTest;

class BuilderTest : public UiTest {
protected:
    CControlUI* BuildMain() {
        CControlUI* root = builder.Create("main.xml", {}, nullptr, &pm);
        if (root != nullptr) pm.AttachDialog(root);
        return root;
    }
    template <typename T>
    T* Find(const char* name) {
        return dynamic_cast<T*>(pm.FindControl(name));
    }

    CPaintManagerUI pm;
    CDialogBuilder builder;
};

TEST_F(BuilderTest, AttributesNestingAndIncludes) {
    ASSERT_NE(BuildMain(), nullptr) << builder.GetLastError();
    EXPECT_TRUE(builder.GetWarnings().empty());

    CControlUI* root = pm.GetRoot();
    EXPECT_EQ(root->GetName(), "root");
    EXPECT_EQ(root->GetBkColor(), 0xFF1E1E1Eu);

    auto* close = Find<CButtonUI>("closebtn");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->GetParent(), pm.FindControl("caption"));
    EXPECT_EQ(close->GetFixedWidth(), 30);
    EXPECT_EQ(close->GetNormalImage(), "file='common/close.png' source='0,0,20,20'");
    // <Default name="Button"> applies before the element's own attributes.
    EXPECT_EQ(close->GetFixedHeight(), 24);
    EXPECT_EQ(close->GetTextColor(), 0xFFEEEEEEu);

    // The included file's controls stand where the <Include> was, in order.
    CControlUI* options = pm.FindControl("options");
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->GetParent(), root);
    EXPECT_EQ(options->GetUserData(), "from-part");
    auto* container = static_cast<CContainerUI*>(root->GetInterface("Container"));
    ASSERT_EQ(container->GetCount(), 3);
    EXPECT_EQ(container->GetItemAt(1), options);

    auto* pages = Find<CTabLayoutUI>("pages");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->GetCurSel(), 1);
    EXPECT_FALSE(pm.FindControl("page0")->IsVisible());
    EXPECT_TRUE(pm.FindControl("page1")->IsVisible());

    auto* slider = Find<CSliderUI>("DPI_slider_1");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetMinValue(), 100);
    EXPECT_EQ(slider->GetMaxValue(), 26000);
    EXPECT_EQ(slider->GetValue(), 800);

    auto* combo = Find<CComboUI>("rate_combo");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCount(), 3);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->GetText(), "500");

    // Window settings.
    EXPECT_EQ(pm.GetInitSize(), (UiSize{400, 300}));
    EXPECT_EQ(pm.GetCaptionRect(), (UiRect{0, 0, 0, 30}));
    ASSERT_NE(pm.GetFont(50), nullptr);
    EXPECT_TRUE(pm.GetFont(50)->bBold);
    EXPECT_EQ(pm.GetDefaultFont().iSize, 15);
}

TEST_F(BuilderTest, ResourceIdsResolveThroughTheResourceTable) {
    ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource("res.xml"));
    EXPECT_EQ(CResourceManager::GetInstance()->GetXmlPath("XML_MAIN"), "main.xml");
    CControlUI* root = builder.Create("XML_DIALOG", {}, nullptr, &pm);
    ASSERT_NE(root, nullptr) << builder.GetLastError();
    pm.AttachDialog(root);
    EXPECT_NE(pm.FindControl("confirm_btn"), nullptr);
}

TEST_F(BuilderTest, BadSkinsGiveAClearErrorAndNoTree) {
    struct Case {
        const char* skin;
        const char* errorPart;
    };
    const Case cases[] = {
        {"missing.xml", "missing.xml"},
        {"broken.xml", "broken.xml"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(builder.Create(c.skin, {}, nullptr, &pm), nullptr) << c.skin;
        EXPECT_NE(builder.GetLastError().find(c.errorPart), std::string::npos) << builder.GetLastError();
    }
    EXPECT_EQ(builder.CreateFromString("<Window><Font id='1' name='x'/></Window>"), nullptr);
    EXPECT_NE(builder.GetLastError().find("no control"), std::string::npos);
}

TEST_F(BuilderTest, UnknownTagsAreSkippedWithTheirSubtreeAndReported) {
    std::unique_ptr<CControlUI> root(builder.CreateFromString(R"(
        <VerticalLayout name="root">
          <Label name="before"/>
          <FancyWidget name="odd"><Label name="inside"/></FancyWidget>
          <Label name="after"><Label name="child_of_label"/></Label>
        </VerticalLayout>)"));
    ASSERT_NE(root, nullptr);
    auto* container = static_cast<CContainerUI*>(root->GetInterface("Container"));
    ASSERT_EQ(container->GetCount(), 2);
    EXPECT_EQ(container->GetItemAt(1)->GetName(), "after");
    ASSERT_EQ(builder.GetWarnings().size(), 2u);
    EXPECT_NE(builder.GetWarnings()[0].find("FancyWidget"), std::string::npos);
    EXPECT_NE(builder.GetWarnings()[1].find("no children"), std::string::npos);
}

TEST_F(BuilderTest, IncludeCyclesStop) {
    std::unique_ptr<CControlUI> root(builder.Create("self_include.xml"));
    ASSERT_NE(root, nullptr);
    ASSERT_FALSE(builder.GetWarnings().empty());
    EXPECT_NE(builder.GetWarnings().back().find("too deeply"), std::string::npos);
}

// The program's own classes: the builder asks the callback first, then its own classes, then the
// factory; a tag the callback declines reaches the others.
class RecordingCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::string_view className) override {
        asked.emplace_back(className);
        if (className == "DeviceKeyButton") return new CButtonUI();
        if (className == "Button") {
            auto* b = new CButtonUI();
            b->SetUserData("from callback");
            return b;
        }
        return nullptr;
    }
    std::vector<std::string> asked;
};

TEST_F(BuilderTest, CallbackThenLibraryThenFactory) {
    std::vector<std::string> factoryMade;
    CControlFactory::GetInstance()->RegistControl("CCircleProgressUI", [&] {
        factoryMade.push_back("CCircleProgressUI");
        return new CProgressUI();
    });
    CControlFactory::GetInstance()->RegistControl("CLabelUI", [&] {
        factoryMade.push_back("CLabelUI");
        return new CLabelUI();
    });
    RecordingCallback callback;
    std::unique_ptr<CControlUI> root(builder.CreateFromString(R"(
        <HorizontalLayout name="root">
          <DeviceKeyButton name="key_1"/>
          <Button name="plain"/>
          <CircleProgress name="ring" value="40"/>
          <CCircleProgressUI name="ring2"/>
          <Label name="label"/>
        </HorizontalLayout>)",
                                                              &callback, &pm));
    ASSERT_NE(root, nullptr) << builder.GetLastError();
    pm.AttachDialog(root.release());
    EXPECT_EQ(callback.asked, (std::vector<std::string>{"HorizontalLayout", "DeviceKeyButton", "Button",
                                                        "CircleProgress", "CCircleProgressUI", "Label"}));
    EXPECT_EQ(pm.FindControl("plain")->GetUserData(), "from callback");
    // "Label" is a library class: the factory's "CLabelUI" registration is not reached.
    EXPECT_EQ(factoryMade, (std::vector<std::string>{"CCircleProgressUI", "CCircleProgressUI"}));
    EXPECT_EQ(dynamic_cast<CProgressUI*>(pm.FindControl("ring"))->GetValue(), 40);
}

TEST_F(BuilderTest, FactoryRegistrationsKeepOrderAndReplaceByName) {
    CControlFactory* factory = CControlFactory::GetInstance();
    EXPECT_FALSE(factory->RegistControl("", [] { return new CControlUI(); }));
    EXPECT_FALSE(factory->RegistControl("CNothingUI", nullptr));
    factory->RegistControl("CSelectPanelUI", [] { return new CControlUI(); });
    factory->RegistControl("CDeviceOptionUI", [] { return new CLabelUI(); });
    factory->RegistControl("cselectpanelui", [] { return new CButtonUI(); });
    EXPECT_EQ(factory->GetRegisteredNames(), (std::vector<std::string>{"CSelectPanelUI", "CDeviceOptionUI"}));
    std::unique_ptr<CControlUI> made(factory->CreateControl("SelectPanel"));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetClass(), "ButtonUI");
    EXPECT_EQ(factory->CreateControl("Select"), nullptr);
}

TEST_F(BuilderTest, BuildingIntoAParentJoinsItsManager) {
    ASSERT_NE(BuildMain(), nullptr);
    CControlUI* page1 = pm.FindControl("page1");
    CDialogBuilder sub;
    CControlUI* added = sub.CreateFromString(R"(<HorizontalLayout name="sub"><Button name="sub_btn"/></HorizontalLayout>)",
                                             nullptr, &pm, page1);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->GetParent(), page1);
    EXPECT_EQ(pm.FindControl("sub_btn")->GetManager(), &pm);
    EXPECT_EQ(pm.FindSubControlByName(page1, "sub_btn"), pm.FindControl("sub_btn"));
}

}  // namespace
}  // namespace zevik
