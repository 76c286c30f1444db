#pragma once
// CMainWnd: the program's one top-level window. It shows the main skin ("XML_MAIN"), keeps the tray
// icon and its menu, routes the window's messages and its controls' notifications, and owns the
// device list: the live interface list and the scan thread, one device tab (power panel, device
// option and device page) per device family, opening and closing the devices' interfaces as rows
// arrive and leave, and switching a device between its cable and its receiver.
//
// Everything here runs on the UI thread; the scan thread reaches it only through UM_DEVICE_ARRIVED and
// UM_DEVICE_REMOVED sent with the loop's Send, and the activate message it posts after its first pass.
// Other programs reach it through registered messages (see app_messages.h) that the desktop program
// delivers from the session bus.

#include <array>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio_lighting/audio_source.h"
#include "audio_lighting/music_settings.h"
#include "audio_lighting/audio_band_levels.h"
#include "devices/device_catalogue.h"
#include "devices/device_context.h"
#include "devices/discovery_interface_list.h"
#include "devices/scan_thread.h"
#include "settings/app_settings.h"
#include "settings/language_list.h"
#include "shell/app_messages.h"
#include "shell/audio_record_buffers.h"
#include "shell/game_events.h"
#include "shell/device_hook.h"
#include "shell/main_window_ops.h"
#include "shell/notify_router.h"
#include "shell/outside_programs.h"
#include "shell/secondary_wnd.h"
#include "shell/skin_observer.h"
#include "shell/synchronised_lighting.h"
#include "ui/menu_wnd.h"
#include "ui/tray_icon.h"
#include "ui/window_impl_base.h"
#include "shell/set_wnd_update.h"
#include "update/update_entry.h"
#include "update/update_server.h"

namespace zevik {

class CButtonUI;
class CContainerUI;
class CControlUI;
class CDeviceOptionUI;
class CMpDevicePowerUI;
class COptionUI;
class COrbantixUSBDevice;
class CTabLayoutUI;

class CSkinFrame;
class CSetWnd;
class CAudioCapture;
class COwnRecordMailbox;

class CMainWnd : public WindowImplBase, public IMainWindowOps, public CSkinReceiver {
public:
    enum Family { kFamilyMouse, kFamilyKeyboard, kFamilyMousepad, kFamilyHeadset, kFamilyCount };

    // The window's own messages.
    static constexpr UINT kTrayMessage = WM_USER + 1;
    static constexpr UINT kMenuCommandMessage = WM_MENUCLICK;
    static constexpr UINT kDpiNoteMessage = WM_USER + 200;
    static constexpr UINT kSettingProgressMessage = WM_USER + 2048;
    static constexpr UINT kUpdateDoneMessage = WM_USER + 2070;
    // The notice of firmware older than the program needs, after the connect that found it.
    static constexpr UINT kFirmwareNoticeMessage = WM_USER + 2309;
    // The window and tray icon.
    static constexpr UINT kIconId = 107;
    static constexpr std::string_view kProductName = "ZEVIK-R300Prime";
    // Timers.
    static constexpr UINT_PTR kFitTimer = 1011;
    static constexpr UINT_PTR kTrayMenuTimer = 1032;
    static constexpr UINT_PTR kProfileSwitchTimer = 1055;
    // WM_POWERBROADCAST events.
    static constexpr WPARAM kPowerSuspend = 4;
    static constexpr WPARAM kPowerResumeAutomatic = 18;

    // Total time the link query may take when a device moves to its receiver.
    static constexpr std::chrono::milliseconds kLinkQueryBudget{1300};
    static constexpr std::chrono::milliseconds kLinkQueryPause{50};

    // context.hidBackend must be set; context.uiLoop is the loop the window lives on. outside: the
    // other programs of the session (not owned; none when null).
    explicit CMainWnd(const DeviceContext& context, IOutsidePrograms* outside = nullptr);
    ~CMainWnd() override;

    // ---- window ----
    std::string_view GetWindowClassName() const override { return "MainWnd"; }
    std::string GetSkinFile() override { return "XML_MAIN"; }
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(std::string_view className) override;
    LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void OnTimer(UINT_PTR id) override;

    // Whether the desktop shows tray icons; without one, closing minimises and the tray menu is
    // reached from the window.
    void SetTrayAvailable(bool available) { m_trayAvailable = available; }
    // The update table with the versions the connected devices and this build report now.
    UpdateTable CurrentUpdateTable();
    // ---- updates (main_wnd_update.cpp) ----
    // The service the settings window asks (ZEVIK_UPDATE_SERVER, else the built-in one).
    void SetUpdateApiRoot(std::string apiRoot) { m_updateApiRoot = std::move(apiRoot); }
    // What the settings window checks now: the current versions, the service, the download folder.
    UpdateSetup MakeUpdateSetup();
    // Creates the settings window over this one, centred or inside its top right corner, as its
    // openers do; OpenSettingsWindow then runs it modally.
    bool CreateSettingsWindow(CSetWnd& wnd, bool centred);
    // UM_FIRMWARE_OUTDATED: a notice when the product's firmware is older than the program needs;
    // otherwise the no-upgrade mark is set.
    void OnFirmwareOutdated(std::uint16_t productId, std::uint16_t version);
    // No forced upgrade is pending: "No_device_Link" follows the device count.
    bool NoUpgradeMark() const { return m_noUpgradeMark; }
    // Where the program keeps its files.
    std::filesystem::path DataRoot() const { return ProfileLocationsOf(m_context).DataRoot(); }
    // Starts in the tray: the scan's first pass does not show the window (the desktop's autostart).
    void SetStartHidden(bool hidden) { m_startHidden = hidden; }
    // Runs once, when the window is shown for the first time.
    void SetOnFirstShown(std::function<void()> onFirstShown) { m_onFirstShown = std::move(onFirstShown); }
    // Runs once when the orderly shutdown has ended (before the loop is told to quit).
    void SetOnShutdown(std::function<void()> onShutdown) { m_onShutdown = std::move(onShutdown); }
    // Asked for a file to import a profile from or export it to; empty: cancelled.
    using FileChooser = std::function<std::filesystem::path(bool save, const std::string& suggestedName)>;
    void SetProfileFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    // The file dialog of the pages' import and export buttons (macros, recoil patterns).
    using PatternFileChooser = std::function<std::filesystem::path(
        bool save, const std::string& title, const std::string& suggested, const std::string& filterName,
        const std::vector<std::string>& patterns)>;
    void SetPatternFileChooser(PatternFileChooser chooser) { m_choosePatternFile = std::move(chooser); }
    std::filesystem::path ChooseFile(bool save, const std::string& title, const std::string& suggested,
                                     const std::string& filterName, const std::vector<std::string>& patterns) override {
        return m_choosePatternFile ? m_choosePatternFile(save, title, suggested, filterName, patterns)
                                   : std::filesystem::path();
    }
    // The commands that open the desktop's own keyboard (0) and mouse (1) settings; the buttons
    // "windowdeviceset_" 0 and 1 show only where one exists. Found at construction.
    using Command = std::optional<std::vector<std::string>>;
    void SetDesktopSettingsCommands(Command keyboard, Command mouse);

    // ---- IMainWindowOps ----
    COrbantixUSBDevice* GetCurrentDevice() override;
    CControlUI* FindMainControl(std::string_view name) override { return FindControl(name); }
    void CloseToTray() override;
    void HideMainWindow() override;
    void ShowMainWindow() override;
    void SendSysCommand(UINT command) override;
    void ExitProgram() override;
    int AskUser(std::string_view textKey, int buttons,
                const std::optional<std::string>& argument = std::nullopt) override;
    void OpenAboutWindow() override;
    void OpenSettingsWindow(bool centred) override;
    void SetKeyCapture(bool on) override;
    void OfferWindowKey(std::uint16_t code) override { m_hook.OfferWindowKey(code); }
    int InstallRecordingHook(int mode, std::string& error) override { return m_hook.Install(mode, error); }
    void UninstallRecordingHook() override { m_hook.Uninstall(); }
    // UM_MACRO_HOOK: the key capture installed (the key edit has the focus) or removed.
    void OnMacroHook(bool install);
    // The capture of the desktop's input (key page and macro recording).
    CDeviceHook& Hook() { return m_hook; }
    void ResetColourChoices() override;
    void OpenSkinFrame() override;

    // ---- background skin ----
    // A skin change: "root" takes the colour (and no image) or the image (and no colour). 1.
    int Receive(SkinChangedParam param) override;
    // The popup the last "skinbtn" click opened, while it is open.
    CSkinFrame* GetSkinFrame() const;
    // Asked for the image file of "skin_Custom"; empty: cancelled.
    void SetImageFileChooser(std::function<std::filesystem::path()> chooser) {
        m_chooseImage = std::move(chooser);
    }

    // ---- language ----
    // The languages of "Language.config", the index of the saved one (0 when none was saved), and
    // the switch to another (nothing when it is the current one; the choice is saved).
    std::vector<LanguageEntry> Languages() const;
    int ReadSavedLanguage() const;
    void ApplyLanguage(int index);
    void SaveLanguage(int id);
    // The window's font table rebuilt in face (every language uses the same table).
    void SetUIFonts(std::string_view face);
    int GetLanguageIndex() const { return m_languageIndex; }
    // The settings file that keeps the language (tests give their own).
    void SetSettingsFile(std::filesystem::path file) { m_settingsFile = std::move(file); }

    // ---- secondary windows ----
    // Closes every open dialog of the window (each ends as if cancelled).
    void CloseChildWindows();
    // The colour picker over this window at its DPI, opened with initial (0xAARRGGBB); the chosen
    // colour, or none when it was closed or a picker is open already (one copy at a time).
    std::optional<UiColor> PickColour(UiColor initial);

    // ---- window operations ----
    // Shows "No_device_Link" when no device is present, lifts the polling hold and brings the window
    // to the front.
    void ActivateMainWindow();
    // The scan's first pass has been delivered: every device present at start has arrived.
    bool FirstScanDone() const { return m_firstScanDone; }
    // Lays the 1000 x 640 skin out for the monitor the window is on; the DPI chosen.
    int FitWindowToMonitor();
    // Takes (1) or gives up (0) driving the devices' lighting.
    void SetLightControl(bool on);
    bool GetLightControl() const { return m_lightControl; }
    // Hides the window, stops the scan and every device worker, and tells the audio capture program
    // to stop. Safe to call more than once.
    void StopWorkers();
    // A record of the audio capture program (kind 1 samples, kind 2 band values).
    void OnCopyData(std::uint32_t kind, std::span<const std::uint8_t> data);
    // The same record taken into its buffer and on to the keyboard (main_wnd_audio.cpp): samples
    // become band levels, a colour record the keyboard's colour input. Every source of records
    // (the session bus, our own capture, the command line) comes through here.
    void HandleAudioRecord(std::uint32_t kind, std::span<const std::uint8_t> data);
    const CAudioBandLevels& BandLevels() const { return m_bandLevels; }
    bool IsShutDown() const { return m_shutDown; }
    bool IsSystemAwake() const { return m_systemAwake; }
    const AppMessages& Messages() const { return m_messages; }
    CMenuWnd* TrayMenu() const { return m_trayMenu.get(); }
    CMenuWnd* MacroActionMenu() const { return m_macroActionMenu.get(); }
    void OpenMacroActionMenu() override;

    // ---- device list ----
    // The scan thread (the window must exist). Starting a running scan is not an error.
    bool StartScan();
    void StopScan();

    void OnDeviceArrived(std::size_t row);
    void OnDeviceRemoved(std::size_t row);
    bool CreateDeviceTab(std::size_t row, int variant);
    void ConnectDevice(std::size_t row);
    void DisconnectDevice(std::size_t row);
    void SwitchConnection(std::size_t cableRow);
    // UM_DEVICE_POWER: shows (true) or hides the option at that index of "device_select_layout".
    void ShowDevice(int optionIndex, bool show);
    // Counts the visible options and applies the visibility rule; the count.
    int RefreshDeviceList();

    CDiscoveryInterfaceList& InterfaceList() { return m_list; }
    CControlUI* FindControl(std::string_view name) const;
    const std::vector<COrbantixUSBDevice*>& Devices(Family family) const { return m_devices[family]; }
    // The device whose tab shows the row's peripheral; null when none.
    COrbantixUSBDevice* DeviceForRow(std::size_t row) const;
    // The tab identity row of a live row (the cable command row of the device), nothing when none.
    std::optional<std::size_t> IdentityRow(std::size_t row) const;
    int VisibleDeviceCount() const;
    // The value last offered to synchronised lighting (1: two or more devices shown).
    int SameModeOffer() const { return m_sameModeOffer; }

    // ---- synchronised lighting and game events (main_wnd_light_sync.cpp) ----
    // "deng_same_mode": every connected device follows the current device's effect.
    void StartSynchronisedLighting();
    // After every count of the device list: 1 with two or more devices shown, else 0 (nobody
    // follows any more).
    void OfferSameMode(int flag);
    // A game message: changes the current device and (re)starts timer 1066.
    void OnGameEvent(WPARAM wParam, LPARAM lParam);
    DeviceFamilies Families() const;
    CSynchronisedLighting& SynchronisedLighting() { return m_sync; }
    const CGameEvents& GameEvents() const { return m_game; }
    // Link queries sent by the last switch to a receiver.
    int LastLinkQueries() const { return m_lastLinkQueries; }

    static std::optional<Family> FamilyOfKind(int kind);

    // ---- music lighting (main_wnd_music.cpp) ----
    // "AudioFile.json": loaded at window-init (its group then goes to the capture program), put back
    // to the factory copy by a profile reset, changed by the music window's OK.
    void LoadMusicSettings();
    void ResetMusicSettings() override;
    CMusicSettings& MusicSettings();
    // "music_setting_btn": the music window over this one (one at a time). With OK its chosen group
    // goes to the capture program and the settings are saved: true when both happened.
    bool OpenMusicWindow();
    bool IsMusicWindowOpen() const { return m_musicOpen; }
    // The chosen group's three values to the capture program as a kind-10 record (a green of 0 is
    // sent as 1), when it runs.
    void SendMusicColour(const MusicStyleRecord& record);
    // Our own capture of the desktop's sound runs while a connected keyboard is in mode 29 and
    // settings.json (read as the mode is entered) does not say "audioCapture": false. Its records
    // take the path of the capture program's kind-1 records, except within a second of one of
    // those. Checked after every message and notification; a capture that failed is tried again
    // only when the condition comes anew.
    void UpdateOwnCapture();
    bool OwnCaptureRunning() const;
    // The records of the capture program (ours included) as they landed.
    const CAudioRecordBuffers& AudioRecords() const { return m_audioRecords; }
    // Where our capture hears the sound (the sound server unless set; tests give their own).
    void SetAudioSourceFactory(AudioSourceFactory factory) { m_audioSource = std::move(factory); }

protected:
    // Minimised or covered: the devices' previews rest (polling goes on).
    void OnSeenChanged(bool seen) override;

private:
    // Message handling.
    void OnWindowInit();
    void OnTrayAction(LPARAM mouseMessage);
    void ShowTrayMenu();
    void OnActivityMessage(UINT msg, WPARAM wParam);
    // UM_LANGUAGE_CHANGED from the settings window: the language at that index, then the pages.
    void OnLanguageChosen(WPARAM index);
    // The language list read once by the caller: the saved language's index in it, the switch to an
    // index of it, and the saved one applied at window-init.
    int SavedLanguageIn(const std::vector<LanguageEntry>& list) const;
    void ApplyLanguageOf(int index, const std::vector<LanguageEntry>& list);
    void ApplySavedLanguage();
    void OnPowerBroadcast(WPARAM event);
    // An update event or relay for the settings window, passed on while it is open.
    void RelayUpdateEvent(WPARAM wParam, LPARAM lParam);
    void ShowFirmwareNotice();
    void AnswerWorkTool();
    void SwitchProfileOfCurrentDevice();
    void ExchangeProfileFile(bool save);
    void AddOwnRoutes();
    void AddLightSyncRoutes();
    void OpenDesktopSettings(int page);
    void ShowDesktopSettingsButtons();
    // The polling hold of every mouse and keyboard that has a battery panel.
    void HoldPolling(bool hold);
    template <typename Fn>
    void ForEachDevice(std::initializer_list<Family> families, Fn fn) const {
        for (Family f : families) {
            for (COrbantixUSBDevice* device : m_devices[f]) fn(*device);
        }
    }

    // Device list.
    void CreateFirstTabs();
    // Fills the profile bar of a device page from the family's profile folder.
    void InitProfileBar(COrbantixUSBDevice& device, Family family);
    CContainerUI* Selector() const;
    CTabLayoutUI* Tab(std::string_view name) const;
    void SelectOption(CDeviceOptionUI* option);
    // A device shown for the first time opens on its performance page.
    void ShowStartPage(COrbantixUSBDevice* device);
    void HideOption(CDeviceOptionUI* option);
    bool QueryLink(COrbantixUSBDevice& device);

    DeviceContext m_context;
    IOutsidePrograms* m_outside;
    CNoOutsidePrograms m_nobody;
    AppMessages m_messages;
    CNotifyRouter m_router;
    CTrayIcon m_tray;
    CDeviceHook m_hook{*this, UM_INPUT_EVENTS};
    std::unique_ptr<CMenuWnd> m_trayMenu;
    std::unique_ptr<CMenuWnd> m_macroActionMenu;  // a slot of its own: the tray menu may be open too
    CAudioRecordBuffers m_audioRecords;  // kept for the audio-reactive lighting
    CAudioBandLevels m_bandLevels;       // the samples' band levels, handed to the first keyboard
    CSynchronisedLighting m_sync;          // its thread is the worker of slot 8
    CGameEvents m_game;
    FileChooser m_chooseFile;
    PatternFileChooser m_choosePatternFile;
    std::array<Command, 2> m_desktopSettings;
    std::function<void()> m_onShutdown;
    std::function<void()> m_onFirstShown;

    CDiscoveryInterfaceList m_list;
    std::unique_ptr<CScanThread> m_scan;
    std::array<std::vector<COrbantixUSBDevice*>, kFamilyCount> m_devices;

    bool m_trayAvailable = true;
    bool m_startHidden = false;
    bool m_firstScanDone = false;
    bool m_aboutOpen = false;
    bool m_settingsOpen = false;
    HWND m_settingsWnd = 0;
    std::string m_updateApiRoot = ResolveUpdateApiRoot(std::nullopt);
    // Clear while firmware older than the program needs holds "No_device_Link" up. Set from the
    // start: the devices report only firmware that is too old.
    bool m_noUpgradeMark = true;
    bool m_firmwareNoticePending = false;
    HWND m_skinFrame = 0;
    std::function<std::filesystem::path()> m_chooseImage;
    int m_languageIndex = -1;  // none applied yet, so the first application always runs
    std::filesystem::path m_settingsFile = CAppSettings::DefaultFile();
    bool m_colourPickerOpen = false;
    bool m_lightControl = true;
    bool m_windowActivated = false;
    bool m_pointerInside = false;
    bool m_displayChanged = false;
    bool m_systemAwake = true;
    bool m_workersStopped = false;
    bool m_shutDown = false;
    int m_sameModeOffer = 0;
    int m_lastLinkQueries = 0;

    // Music lighting (main_wnd_music.cpp).
    void AddMusicRoutes();
    // "R_light_slider", "G_light_slider", "B_light_slider": channel 0, 1, 2.
    void OnChannelSlider(CControlUI* slider, int channel);
    void OnOwnRecord(std::span<const std::uint8_t> record);
    void StopOwnCapture();
    bool OwnCaptureWanted();
    // settings.json does not say "audioCapture": false; read at each entry into the music mode.
    bool AudioCaptureAllowed() const;
    // "music_layout" of a keyboard's lighting page shows in the music modes.
    void ShowMusicControls(COrbantixUSBDevice& keyboard, int mode);
    std::map<const COrbantixUSBDevice*, int> m_musicControlsMode;
    std::unique_ptr<CMusicSettings> m_musicSettings;
    bool m_musicOpen = false;
    AudioSourceFactory m_audioSource;
    std::unique_ptr<CAudioCapture> m_ownCapture;
    std::shared_ptr<COwnRecordMailbox> m_ownRecords;
    bool m_ownCaptureWanted = false;
    std::optional<std::chrono::microseconds> m_lastOutsideRecord;  // loop time
};

}  // namespace zevik
