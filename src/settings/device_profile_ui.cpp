#include "settings/device_profile_ui.h"

#include "settings/profile_option_tabs.h"
#include "ui/combo_ui.h"
#include "ui/edit_ui.h"
#include "ui/option_ui.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

namespace fs = std::filesystem;

std::string_view CDeviceProfileUI::GetClass() const { return kClassName; }

void* CDeviceProfileUI::GetInterface(std::string_view name) {
    if (name == kInterfaceName) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

void CDeviceProfileUI::SetPageKind(int pageKind) { store_.SetPageKind(pageKind); }

void CDeviceProfileUI::SetStorePaths(const fs::path& kindFolder, const fs::path& defaultFile) {
    store_.SetStorePaths(kindFolder, defaultFile);
}

void CDeviceProfileUI::FindControls() {
    CPaintManagerUI* pm = GetManager();
    if (pm == nullptr) return;
    combo_ = dynamic_cast<CComboUI*>(pm->FindSubControlByName(this, "device_profile_combo"));
    nameEdit_ = dynamic_cast<CEditUI*>(pm->FindSubControlByName(this, "device_profile_name_edit"));
    menuLayout_ = pm->FindSubControlByName(this, "profile_menu_layout");
}

CControlUI* CDeviceProfileUI::FindPageControl(std::string_view name) const {
    CPaintManagerUI* pm = GetManager();
    if (pm == nullptr) return nullptr;
    // The search ends at the device page the bar sits on: a page without some tab must not reach the
    // tab of the same name on another device's page.
    constexpr std::string_view kDevicePage = "OrbantixUSBDevice";
    for (CControlUI* c = GetParent(); c != nullptr; c = c->GetParent()) {
        if (CControlUI* found = pm->FindSubControlByName(c, name)) return found;
        if (c->GetInterface(kDevicePage) != nullptr) break;
    }
    return nullptr;
}

ProfileResult CDeviceProfileUI::NoComboBox() const {
    return ProfileResult::Refused(0, "", "The profile bar has no profile list.");
}

void CDeviceProfileUI::FillCombo(bool notify) {
    if (combo_ == nullptr) return;
    combo_->RemoveAll();
    for (const ProfileEntry& entry : store_.Items()) {
        CListLabelElementUI* item = combo_->AddItem(entry.name);
        item->SetFixedHeight(kItemHeight);
        item->SetToolTip(entry.name);
    }
    const int selected = store_.GetSelectedIndex();
    if (selected >= 0) {
        combo_->SelectItem(selected, notify);
        SetNameEditText(combo_->GetItemText(selected));
    }
}

ProfileResult CDeviceProfileUI::InitProfiles() {
    FindControls();
    ProfileResult result = store_.InitProfiles();
    FillCombo(false);
    ApplyOptionTabs();
    return result;
}

ProfileResult CDeviceProfileUI::SelectProfile(int index, bool notify) {
    if (combo_ == nullptr) return NoComboBox();
    ProfileResult result = store_.SelectProfile(index);
    if (result.status == ProfileResult::Status::Refused) return result;
    combo_->SelectItem(index, notify);
    SetNameEditText(combo_->GetItemText(index));
    return result;
}

int CDeviceProfileUI::GetSelectedIndex() const { return combo_ != nullptr ? combo_->GetCurSel() : -1; }

std::string CDeviceProfileUI::GetNameEditText() const { return nameEdit_ != nullptr ? nameEdit_->GetText() : std::string(); }

void CDeviceProfileUI::SetNameEditText(std::string_view text) {
    if (nameEdit_ != nullptr) nameEdit_->SetText(text);
}

ProfileResult CDeviceProfileUI::AddProfile() {
    if (combo_ == nullptr) return NoComboBox();
    ProfileResult result = store_.AddProfile();
    FillCombo(false);
    return result;
}

ProfileResult CDeviceProfileUI::CopyProfile() {
    if (combo_ == nullptr) return NoComboBox();
    ProfileResult result = store_.CopyProfile();
    FillCombo(false);
    return result;
}

ProfileResult CDeviceProfileUI::DeleteProfile() {
    if (combo_ == nullptr) return NoComboBox();
    ProfileResult result = store_.DeleteProfile();
    FillCombo(result.ok());
    return result;
}

ProfileResult CDeviceProfileUI::RenameProfile(const std::string& name) {
    if (combo_ == nullptr) return NoComboBox();
    ProfileResult result = store_.RenameProfile(name);
    if (result.ok()) FillCombo(false);
    return result;
}

ProfileResult CDeviceProfileUI::ImportProfile(const fs::path& path) {
    if (combo_ == nullptr) return NoComboBox();
    ProfileResult result = store_.ImportProfile(path);
    FillCombo(false);
    return result;
}

ProfileResult CDeviceProfileUI::ExportProfile(const fs::path& path) {
    if (combo_ == nullptr) return NoComboBox();
    return store_.ExportProfile(path);
}

ProfileResult CDeviceProfileUI::ResetProfile() {
    if (combo_ == nullptr) return NoComboBox();
    return store_.ResetProfile();
}

void CDeviceProfileUI::ShowProfileMenu(bool show) {
    if (menuLayout_ != nullptr) menuLayout_->SetVisible(show);
}

bool CDeviceProfileUI::IsProfileMenuShown() const { return menuLayout_ != nullptr && menuLayout_->IsVisible(); }

void CDeviceProfileUI::ApplyOptionTabs() {
    const OptionTabVisibility tabs = OptionTabsForPageKind(store_.GetPageKind());
    for (std::string_view name : tabs.hidden) {
        if (CControlUI* tab = FindPageControl(name)) tab->SetVisible(false);
    }
    for (std::string_view name : tabs.shown) {
        if (CControlUI* tab = FindPageControl(name)) tab->SetVisible(true);
    }
}

void CDeviceProfileUI::SelectOptionTab(int functionPage) {
    std::vector<COptionUI*> tabs;
    for (std::string_view name : AllOptionTabs()) {
        auto* tab = dynamic_cast<COptionUI*>(FindPageControl(name));
        if (tab == nullptr) return;
        tabs.push_back(tab);
    }
    const std::string_view chosen = OptionTabForFunctionPage(functionPage);
    for (COptionUI* tab : tabs) tab->Selected(tab->GetName() == chosen, false);
}

}  // namespace zevik
