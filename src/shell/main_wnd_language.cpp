// CMainWnd: the interface language: the saved choice at start, a switch from the settings window,
// and the settings file that keeps it.

#include "devices/orbantix_usb_device.h"
#include "platform/trace.h"
#include "settings/app_settings.h"
#include "settings/language_list.h"
#include "shell/language_texts.h"
#include "shell/main_wnd.h"
#include "shell/secondary_wnd.h"
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
    const CAppSettings::SavedLanguage saved = CAppSettings(m_settingsFile).ReadLanguage();
    if (!saved.fileRead) return 0;  // nothing saved yet: the first language
    return LanguageIndexOfId(Languages(), saved.id.value_or(kUnreadLanguageId));
}

void CMainWnd::ApplyLanguage(int index) {
    if (index == m_languageIndex) return;
    m_languageIndex = index;
    const std::vector<LanguageEntry> list = Languages();
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

void CMainWnd::SaveLanguage(int id) {
    if (const JsonWriteResult written = CAppSettings(m_settingsFile).WriteLanguage(id); written) {
        Trace("写成功！");
    } else {
        Trace("language not saved: " + written.message);
    }
}

void CMainWnd::OnLanguageChosen(WPARAM index) {
    if (index >= Languages().size()) return;  // not a language of the list: nothing changes
    ApplyLanguage(static_cast<int>(index));
    ForEachDevice({kFamilyMouse, kFamilyKeyboard}, [](COrbantixUSBDevice& device) { device.RefreshPage(); });
}

}  // namespace zevik
