#pragma once
// COrbantixKeyboardDevice: the keyboard (kind 1 by cable, 9 through its receiver) and its settings page.
//
// At connect the keyboard tells its layout: N physical positions, each with the factory triple of
// the key sitting there and the LED that lights it. From them the object builds the logical-key maps
// (keyboard_key_layout.h) that every per-key operation goes through.
//
// Its settings live in one 34-byte block (keyboard_settings_block.h). The object keeps a mirror of
// the block as last read on the current connection and writes the whole block back after a change of
// the report rate, the three flags or the lighting; a write is only ever built over a mirror read on
// this connection, so bytes the program does not understand are never replaced by zeros.
//
// Threads: page operations, Connect, Resync, PollStatus and the writes run on the UI thread. The two
// event readers (kind 1 by cable, kind 9 through the receiver) run beside it: they post work to the
// UI loop or hand key events to the lighting engine, and never start timers. The lighting thread runs
// the engine (LightStepPeriod, RunLightStep).
//
// The source is split by concern: keyboard_device.cpp (connect, settings block, profile),
// keyboard_device_events.cpp (event readers, resynchronisation, status), keyboard_device_options.cpp
// (system options, page refresh, function page, defaults), keyboard_device_keys.cpp (key layers and
// macros), keyboard_device_page.cpp (page binding and the light frame).

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "devices/keyboard_custom_colour_control.h"
#include "devices/keyboard_key_layout.h"
#include "devices/keyboard_light_engine.h"
#include "devices/keyboard_settings_block.h"
#include "devices/orbantix_usb_device.h"
#include "devices/receiver_event_reader.h"
#include "settings/keyboard_profiledata.h"
#include "settings/keyboard_system_record.h"
#include "settings/light_names_file.h"

namespace zevik {

class CKeyboardLightOutput;
class IKeySetControl;
class ILightControl;
class IMacroControl;

inline constexpr int kDeviceKindKeyboardReceiver = 9;

class COrbantixKeyboardDevice : public COrbantixUSBDevice, public IKeyboardCustomColours {
public:
    static constexpr std::string_view kClassName = "OrbantixKeyboardDevice";
    static constexpr int kProfileCatalogueIndex = 0;  // the keyboard's index in the light files' arrays
    static constexpr int kLightLevelMax = 4;          // brightness and speed levels 0-4
    static constexpr int kReportRateOptions = 5;      // "PollingRate" 0-4
    static constexpr int kRepeatDelayOptions = 4;     // "RepeatDelay" 0-3
    static constexpr int kRepeatMax = 31;             // the repeat slider's range 0-31

    explicit COrbantixKeyboardDevice(const DeviceContext& context);
    ~COrbantixKeyboardDevice() override;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // ---- device contract ----
    void BindPageEx() override;
    // Reads the layout (device information, key code table, LED index table) and builds the key
    // maps, then ApplyProfile, ReadSettingsBlock, RefreshPage and the lighting thread. 1 when the
    // layout was read; otherwise the first failed command's result (0 when closed or when the
    // keyboard reports more positions than a block holds).
    int Connect() override;
    int Resync() override;
    int PollStatus() override;
    bool IsReceiverLinked() override;
    int ApplyProfile() override;
    void ApplyLightSettings() override;
    int RefreshPage() override;
    int RestoreDefaults() override;
    // 1 written; 0 channel closed, receiver not linked or no slot address (nothing sent); otherwise
    // the first failed command's result (0x02 is still sent once 0x01 was), or the failed read of a
    // mirror that was missing.
    int WriteSettingsBlock(int blockSlot, int profileSlotValue) override;
    int LoadLightLists() override;
    int LoadProfileFiles() override;
    std::string GetProfileName() override;
    int SaveDeviceProfile() override;
    int SwitchProfile() override;
    void SetLighting(const LightInfoRecord& record) override;
    // Also into the profile (not saved) and the lighting engine.
    void SetAudioLighting(const AudioLightInfoRecord& record) override;
    // The music modes' input, handed to the lighting engine whole: a batch of 25 band levels, the
    // six values of the colour input.
    void AudioLevels(std::span<const std::int32_t> levels) override;
    void AudioBands(std::span<const std::int32_t> bands) override;
    // The base's page switch; the Fn key's button is enabled on page 1 only.
    void SelectFunctionPage(int page) override;
    int LightStepPeriod() const override;
    void RunLightStep() override;

    // ---- the picture and the frame's outputs (keyboard_device_lights.cpp) ----
    // The key buttons show the frame; in the streamed modes the frame also goes to the keyboard.
    void SendLightFrame() override;
    bool IsLightingUnseen() const override;
    // The streamed modes step while unseen: the keyboard needs their frames while the window rests.
    bool LightStepsRest() const override;
    bool StreamsLightFrames() const override;
    CKeyboardLightOutput& LightOutput();

    // ---- key layers and macros (keyboard_device_keys.cpp) ----
    int CheckMacroKeys() override;
    std::vector<int> GetUsedMacros() override;
    int WriteKeyLayer1(int profileSlot, const std::vector<KeyAssignRecord>& keys) override;
    int WriteKeyLayer2(int profileSlot, const std::vector<KeyAssignRecord>& keys) override;
    int WriteCurrentKeyLayer1(int profileSlot) override;
    int WriteCurrentKeyLayer2(int profileSlot) override;
    int WriteMacros(const std::vector<int>& macroNumbers) override;
    // The key page: SelectKey opens a key of layer 1, SelectKey2 one of layer 2; a kept function goes
    // into that layer (layer 2 takes no macro). WriteKeysAndMacros writes both layers, layer 1 with
    // its macros, then saves the profile (results as WriteLayerAndMacros).
    void SelectKey(int index) override;
    void SelectKey2(int index) override;
    // The page's layer choice: the layer a click on a key opens (1 or 2).
    void ChooseKeyLayer(int layer);
    int ChosenKeyLayer() const { return chosenLayer_; }
    void SelectKeyOnPage(int index) override;
    void StoreKeyAssignment(const KeyAssignRecord& record) override;
    int WriteKeysAndMacros() override;
    void ShowKeyAssignments() override;
    // Layer 1 ("KeyList") or 2 ("KeyList2") as the profile holds it, one record per logical key.
    std::vector<KeyAssignRecord> KeyLayer(int layer);
    void SetKeyLayer(int layer, const std::vector<KeyAssignRecord>& keys);
    // Writes a layer (layer 1 with the macros it binds) and then saves the profile. 0 done; -1 the
    // keyboard did not take it; a positive number: the macros exceed the macro memory by that many
    // 4-byte units (nothing sent, nothing saved); another negative number: the failed command's result.
    int WriteLayerAndMacros(int layer);
    int EditedLayer() const { return editedLayer_; }

    // ---- custom colours of mode 20 (keyboard_device_colours.cpp) ----
    bool InCustomColourMode() const override;
    void SelectCustomSlot(int slot) override;
    int ShowCustomSlot(int slot) override;
    int SetAllCustomKeys(bool lit) override;
    int SetCustomKey(int key) override;
    // The custom colours of the slot in force (the light frame shows them under the per-key effects).
    const KeyLightFrame& CustomColours() const { return customColours_; }
    // Whether the slot's table lies within the keyboard's addressable colour memory.
    bool CustomSlotFits(int slot) const;
    // The slot of the lighting record from the keyboard into the custom colours, the frame and the
    // profile's group (kept, not saved), then written back. After a failed read nothing is stored or written back. The
    // result of the read, else of the write; 0 with nothing sent for a slot that does not fit.
    int ReadCustomColours();
    // The custom colours into the slot of the lighting record; only in mode 20.
    int WriteCustomColours();

    // ---- the keyboard's own operations ----
    // Reads the active slot and its block into the mirror, takes the block's values into the
    // lighting state, the system record and the profile (saved). 1 done; 0 closed or not linked;
    // else the failed read's result, and then mirror, lighting state and profile stay as they were.
    int ReadSettingsBlock();

    // Event interfaces: kind 1 (cable) and kind 9 (receiver), each read by its own thread.
    bool OpenEventInterface(int kind, const std::string& path);
    void CloseEventInterface(int kind);
    bool IsEventInterfaceOpen(int kind) const;

    // ---- system options (keyboard_device_options.cpp) ----
    KeyboardSystemRecord GetSystemRecord() const;
    // Stores the record in the object and the profile (saved); nothing is sent.
    void SetSystemRecord(const KeyboardSystemRecord& record);
    // Each stores the value, saves the profile and writes the block (slot 0, value 0); the result
    // is WriteSettingsBlock's. Values outside their range are refused (0) and change nothing.
    int SetReportRate(int option);
    int SetWinLock(bool on);
    int SetWFlag(bool on);
    int SetSixKey(bool on);
    // Stored in the profile only. False for a value outside its range.
    bool SetRepeat(int value);
    bool SetRepeatDelay(int option);
    // Empties the box in which the user tries the repeat.
    void ClearRepeatTest();
    // Routes a notification of this page's option controls to the operations above; false when the
    // control is not one of them.
    bool HandlePageNotification(const TNotifyUI& msg);

    // ---- state ----
    CKeyboardProfiledata& Profile() { return profile_; }
    void EnsureProfileLoaded();
    // ApplyProfile's second half: the loaded documents into the key list, lighting and options.
    void ApplyLoadedProfile();
    int GetActiveSlot() const { return activeSlot_.load(); }
    int GetSecondProfile() const { return secondProfile_.load(); }
    // The number of physical positions the keyboard reported (0 before the layout was read).
    int PositionCount() const { return positionCount_; }
    // As the keyboard reported them on this connection: N x 3 and N bytes.
    const std::vector<std::uint8_t>& KeyCodeTable() const { return keyCodeTable_; }
    const std::vector<std::uint8_t>& LedIndexTable() const { return ledIndexTable_; }
    const KeyboardKeyMaps& KeyMaps() const { return keyMaps_; }
    const KeyboardSettingsBlock& Mirror() const { return mirror_; }
    bool HasMirror() const { return mirrorValid_; }
    const std::vector<int>& ModeList() const { return modes_.codes; }
    const std::vector<std::string>& ModeNames() const { return modes_.names; }
    const std::vector<bool>& ModeVisible() const { return modes_.visible; }
    // The mode code in force (the mode list's value at "SelectItem"); what the engine runs.
    int CurrentModeCode() const;
    const std::vector<std::uint8_t>& LastStatus() const { return lastStatus_; }
    std::filesystem::path KindFolder() const;

    // The lighting engine: frame, animation, layers and sequence of this keyboard.
    KeyboardLightEngine& Engine() { return engine_; }
    const KeyboardLightEngine& Engine() const { return engine_; }
    // The one generator of this keyboard's random lighting; tests seed it.
    void SeedRandom(std::uint32_t seed);

    // Open, and linked when through the receiver.
    bool ChannelReady();
    // The device information read again; kept as it was on failure.
    void RefreshDeviceInfo();

    // Page items; null when the page has none.
    ILightControl* LightControlOfPage() const { return lightControl_; }
    IKeySetControl* KeySetControlOfPage() const { return keySetControl_; }
    IMacroControl* MacroControlOfPage() const { return macroControl_; }

protected:
    // Kind 1's reader (the base's notification reader on the cable side).
    void OnNotificationUsage(std::uint16_t usage) override;

private:
    void SetKeyMaps(const KeyboardKeyMaps& maps);
    KeyboardBlockSettings CollectSettings();
    int ReadMirror(KeyboardSettingsBlock& block, int& slot);
    // Enter the mode when it changed or is 20 (custom colours): animation reset and entry step.
    void EnterModeIfNeeded(int previousCode);
    void HandleEvent(std::uint16_t code, bool byCable);
    void PostToUi(std::function<void()> task);
    void ChangeSystem(const std::function<void(KeyboardSystemRecord&)>& change);
    void ShowOptions();
    // A control of this page by name (names compared without case); null when absent.
    CControlUI* Find(std::string_view name) const;
    template <class T>
    T* FindAs(std::string_view name) const {
        return dynamic_cast<T*>(Find(name));
    }

    // Key layers and macros (keyboard_device_keys.cpp).
    void OpenKey(int layer, int index);
    void LabelKeyButtons();
    size_t MacroCapacity() const;
    int WriteLayerImage(int layer, int profileSlot, const std::vector<std::uint8_t>& image);
    // One layer (layer 1 with its macros), nothing saved; results as WriteLayerAndMacros.
    int SendLayer(int layer);
    int SendMacroImage(const std::vector<std::uint8_t>& image);
    // The custom colours into the profile's group of the slot in force, saved.
    void StoreCustomColours();
    // The custom colours onto the light frame (each key keeps its intensity).
    void ShowCustomColours();

    CKeyboardProfiledata profile_;
    bool profileLoaded_ = false;
    int editedLayer_ = 1;  // the layer the key page edits
    int chosenLayer_ = 1;  // the layer the page's choice opens keys in
    std::vector<std::string> keyCaptions_;  // the skin's caption of each key button, kept for factory keys
    // The custom colours of the slot in force, one entry per logical key (intensity unused); UI thread.
    KeyLightFrame customColours_;

    KeyboardSettingsBlock mirror_;
    bool mirrorValid_ = false;
    std::array<std::uint8_t, 20> mirrorHead_{};  // the mirror's first 20 bytes before the last read
    std::atomic<int> activeSlot_{0};
    std::atomic<int> secondProfile_{0};
    std::atomic<int> pendingRequest_{0};  // 0x402 while a profile reload is asked for

    int positionCount_ = 0;
    std::vector<std::uint8_t> keyCodeTable_;
    std::vector<std::uint8_t> ledIndexTable_;
    KeyboardKeyMaps keyMaps_{};
    // Position -> logical key, for the event reader (kNoKeyAtPosition: none).
    static constexpr std::uint8_t kNoKeyAtPosition = 255;
    std::array<std::atomic<std::uint8_t>, 256> keyAtPosition_;

    mutable std::mutex systemLock_;  // the event threads read the record; the UI thread writes it
    KeyboardSystemRecord system_;

    LightModeLists modes_;  // the mode list: codes, names, shown or not
    std::vector<std::uint8_t> lastStatus_;

    KeyboardLightEngine engine_;

    ILightControl* lightControl_ = nullptr;    // "LightControlItem"
    IKeySetControl* keySetControl_ = nullptr;  // "KeySetControlItem"
    IMacroControl* macroControl_ = nullptr;    // "MacroControlItem"

    // The picture's key buttons and the frame stream (keyboard_device_lights.cpp).
    void BindKeyPicture();
    void NoteEngineFrame();
    // Lighting thread, after a step: while nobody sees the frame, a streamed mode's frame goes to the
    // stream from here, at most once per frame period.
    void StreamUnseenFrame();
    std::unique_ptr<CKeyboardLightOutput> lightOutput_;
    std::uint64_t lastUnseenFrameMs_ = 0;  // lighting thread only

    // Last, so it stops before anything its handler uses goes.
    CReceiverEventReader receiverEvents_{[this](std::uint16_t code) { HandleEvent(code, false); }};
};

}  // namespace zevik
