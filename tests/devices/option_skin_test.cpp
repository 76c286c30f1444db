// The device option's layout file: it builds into a CDeviceOptionUI with the controls the program
// looks for, and every image the option can show exists in the skin.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "devices/device_option_ui.h"
#include "ui/check_box_ui.h"
#include "ui/dialog_builder.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik::test {
namespace {

const std::filesystem::path kSkin = std::filesystem::path(ZEVIK_RESOURCE_DIR) / "skin";

class COptionCallback final : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::string_view className) override {
        return className == CDeviceOptionUI::kClassName ? new CDeviceOptionUI : nullptr;
    }
};

TEST(OptionSkinTest, LayoutBuildsTheOptionWithItsButtonAndCheck) {
    const std::string previous = CPaintManagerUI::GetResourcePath();
    CPaintManagerUI::SetResourcePath(kSkin.string());
    COptionCallback callback;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(
        builder.Create("XML\\CustomControlXML\\DeviceOption.xml", {}, &callback));
    CPaintManagerUI::SetResourcePath(previous);
    ASSERT_NE(root, nullptr) << builder.GetLastError();
    EXPECT_TRUE(builder.GetWarnings().empty());
    auto* option = static_cast<CDeviceOptionUI*>(root->GetInterface(CDeviceOptionUI::kClassName));
    ASSERT_NE(option, nullptr);
    ASSERT_NE(option->SelectButton(), nullptr);
    ASSERT_NE(option->SynchroCheck(), nullptr);
    EXPECT_EQ(option->SelectButton()->GetGroup(), "device_select_group");

    option->SetKindAndVariant(7, 0);
    EXPECT_EQ(option->SelectButton()->GetNormalImage(), "file='common/device_ico/hd_device_normal.png'");
    option->SynchroCheck()->SetCheck(true, false);
    option->SetSynchro(true);
    EXPECT_EQ(option->SelectButton()->GetSelectedImage(),
              "file='common/device_ico/hd_device_synchro_select.png'");
}

TEST(OptionSkinTest, EveryIconOfEveryFamilyAndStateExists) {
    for (const char* prefix : {"kb_", "ms_", "hard_mp_", "soft_mp_", "hd_"}) {
        for (const char* state : {"device_normal", "device_hot", "device_select", "device_synchro",
                                  "device_synchro_hot", "device_synchro_select"}) {
            const auto file = kSkin / "common" / "device_ico" / (std::string(prefix) + state + ".png");
            EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
        }
    }
    for (const char* check : {"synchro_check_normal", "synchro_check_hot", "synchro_check_selected"}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(kSkin / "common" / (std::string(check) + ".png")))
            << check;
    }
}

}  // namespace
}  // namespace zevik::test
