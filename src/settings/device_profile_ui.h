#pragma once
// CDeviceProfileUI: the profile bar of a device page ("DeviceProfileItem" in the page layout). It
// shows the kind's profiles in "device_profile_combo", the selected name in
// "device_profile_name_edit", toggles "profile_menu_layout", and marks the page's option tabs. The
// profile operations themselves are CProfileStore's; the bar keeps the combo box in step with the
// list after each of them.

#include <filesystem>
#include <string>
#include <string_view>

#include "settings/profile_store.h"
#include "ui/horizontal_layout_ui.h"

namespace zevik {

class CComboUI;
class CEditUI;

class CDeviceProfileUI : public CHorizontalLayoutUI {
public:
    static constexpr std::string_view kClassName = "DeviceProfileUI";
    static constexpr std::string_view kInterfaceName = "DeviceProfile";
    // The tag by which page layouts create the bar.
    static constexpr std::string_view kSkinTag = "DeviceProfile";
    static constexpr int kItemHeight = 30;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Page kind: keyboard 1, mouse 2, mousepad 3, headset 7.
    void SetPageKind(int pageKind);
    void SetStorePaths(const std::filesystem::path& kindFolder, const std::filesystem::path& defaultFile);

    // Loads or creates the list, fills the combo box, selects "profileselect" and applies the
    // option tabs of the page kind. Needs the bar to be in its page (the controls are found by name).
    ProfileResult InitProfiles();
    // Selects item index in the combo box (notifying when notify is set), shows its name in the
    // name edit and records the selection in the list.
    ProfileResult SelectProfile(int index, bool notify);

    // The combo box's selection; -1 when none or without a combo box.
    int GetSelectedIndex() const;
    std::string GetSelectedUUID() const { return store_.GetSelectedUUID(); }
    int GetProfileCount() const { return store_.GetProfileCount(); }
    std::filesystem::path GetProfileFilePath(int index) const { return store_.GetProfileFilePath(index); }
    std::string GetNameEditText() const;
    void SetNameEditText(std::string_view text);

    // The operations of the bar's buttons; each needs the combo box. After a delete the combo box
    // selects the neighbouring item with a notification, as a user's choice would.
    ProfileResult AddProfile();
    ProfileResult DeleteProfile();
    ProfileResult CopyProfile();
    ProfileResult RenameProfile(const std::string& name);
    ProfileResult ImportProfile(const std::filesystem::path& path);
    ProfileResult ExportProfile(const std::filesystem::path& path);
    ProfileResult ResetProfile();

    void ShowProfileMenu(bool show);
    bool IsProfileMenuShown() const;

    // Selects the option tab of a function page and clears the others, without notifications;
    // does nothing unless all nine tabs are found in the page.
    void SelectOptionTab(int functionPage);

    const CProfileStore& Store() const { return store_; }

private:
    void FindControls();
    // Rebuilds the combo box from the store's items and selects the store's selection.
    void FillCombo(bool notify);
    void ApplyOptionTabs();
    // A control of the page holding the bar: the nearest ancestor's subtree that has the name.
    CControlUI* FindPageControl(std::string_view name) const;
    ProfileResult NoComboBox() const;

    CProfileStore store_;
    CComboUI* combo_ = nullptr;
    CEditUI* nameEdit_ = nullptr;
    CControlUI* menuLayout_ = nullptr;
};

}  // namespace zevik
