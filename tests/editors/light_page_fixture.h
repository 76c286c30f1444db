#pragma once
// The shared lighting page built from the skin's own layout, inside a paint manager of its own, as a
// device page holds it.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editors/light_control_ui.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_builder_callback.h"
#include "ui/paint_manager_ui.h"

namespace zevik::test {

class LightControlCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::string_view tag) override {
        if (tag == CLightControlUI::kSkinTag) return new CLightControlUI;
        return nullptr;
    }
};

class LightPageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        previousPath_ = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(std::string(ZEVIK_RESOURCE_DIR) + "/skin");
        CControlUI* root = builder_.Create("XML\\CustomControlXML\\LightControl.xml", {}, &callback_, &pm_);
        ASSERT_NE(root, nullptr) << builder_.GetLastError();
        EXPECT_TRUE(builder_.GetWarnings().empty()) << builder_.GetWarnings().front();
        pm_.AttachDialog(root);
        control_ = dynamic_cast<CLightControlUI*>(root);
        ASSERT_NE(control_, nullptr);
    }
    void TearDown() override { CPaintManagerUI::SetResourcePath(previousPath_); }

    CControlUI& Named(const std::string& name) {
        CControlUI* c = pm_.FindControl(name);
        if (c == nullptr) {
            ADD_FAILURE() << "no control " << name;
            static CControlUI none;
            return none;
        }
        return *c;
    }

    std::string previousPath_;
    CPaintManagerUI pm_;
    CDialogBuilder builder_;
    LightControlCallback callback_;
    CLightControlUI* control_ = nullptr;
};

}  // namespace zevik::test
