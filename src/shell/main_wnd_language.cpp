// CMainWnd: the interface language: the saved choice at start, a switch from the settings window,
// and the settings file that keeps it.

#include "devices/orbantix_usb_device.h"
#include "platform/trace.h"
#include "settings/app_settings.h"
#include "settings/language_list.h"
#include "shell/language_texts.h"
#include "shell/main_wnd.h"
#include "shell/secondary_wnd.h"
#include "shell/ui_font_table.h"
#include "ui/resource_manager.h"

namespace zevik {

namespace {

// The id taken when the settings file has no (usable) language value.
constexpr int kUnreadLanguageId = 520;

}  // namespace

std::vector<LanguageEntry> CMainWnd::Languages() const {
    return ReadLanguageList(ProfileLocationsOf(m_context).ProgramFolder());
}

int CMainWnd::ReadSavedLanguage() const {
    return SavedLanguageIn(Languages());
}

int CMainWnd::SavedLanguageIn(const std::vector<LanguageEntry>& list) const {
    const CAppSettings::SavedLanguage saved = CAppSettings(m_settingsFile).ReadLanguage();
    if (!saved.fileRead) return 0;  // nothing saved yet: the first language
    return LanguageIndexOfId(list, saved.id.value_or(kUnreadLanguageId));
}

void CMainWnd::ApplyLanguage(int index) {
    if (index == m_languageIndex) return;
    ApplyLanguageOf(index, Languages());
}

void CMainWnd::ApplyLanguageOf(int index, const std::vector<LanguageEntry>& list) {
    if (index == m_languageIndex) return;
    SetUIFonts(kUiFontFace);
    m_languageIndex = index;
    // A list that cannot be read still switches: to no table, whose keys show as they are.
    const LanguageEntry entry = index >= 0 && index < static_cast<int>(list.size())
                                    ? list[static_cast<std::size_t>(index)]
                                    : LanguageEntry{};
    LoadLanguageTexts(*CResourceManager::GetInstance(), entry);
    SaveLanguage(entry.id);
    Invalidate();
    CSecondaryWnd::SendToAllOwnedBy(GetHWND(), UM_LANGUAGE_CHANGED, 0, 0);
    m_pm.NeedUpdate();
}

void CMainWnd::ApplySavedLanguage() {
    const std::vector<LanguageEntry> list = Languages();
    ApplyLanguageOf(SavedLanguageIn(list), list);
}

void CMainWnd::SetUIFonts(std::string_view face) { zevik::SetUIFonts(m_pm, face); }

void CMainWnd::SaveLanguage(int id) {
    if (const JsonWriteResult written = CAppSettings(m_settingsFile).WriteLanguage(id); written) {
        Trace("写成功！");
    } else {
        Trace("language not saved: " + written.message);
    }
}

void CMainWnd::OnLanguageChosen(WPARAM index) {
    const std::vector<LanguageEntry> list = Languages();
    if (index >= list.size()) return;  // not a language of the list: nothing changes
    ApplyLanguageOf(static_cast<int>(index), list);
    ForEachDevice({kFamilyMouse, kFamilyKeyboard}, [](COrbantixUSBDevice& device) { device.RefreshPage(); });
}

}  // namespace zevik
