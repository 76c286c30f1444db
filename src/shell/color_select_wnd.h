#pragma once
// CColorSelectWnd: the colour picker of the mouse's sensitivity stages. The user picks in the palette
// "Pallet", types red, green and blue, or takes one of 20 presets or 20 collected colours; every
// colour picked or typed is collected into the selected slot. The presets, the collected slots and
// both selections live in the colour choices file (CColourChoices).
//
// Results of the modal run: 1 with the colour of "color_show_btn" ("okbtn"), 0 when closed
// ("closebtn", "laterbtn"), 2 for "okbtn" in a skin without a palette.
//
// Prepared answers (no renderer): "yes" clicks "okbtn", anything unknown "closebtn";
// "color=RRGGBB" types the three edits, then "okbtn"; "preset=N" and "collect=N" select that option,
// then "okbtn".

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "settings/colour_choices.h"
#include "shell/secondary_wnd.h"

namespace zevik {

class CColorPaletteUI;

class CColorSelectWnd : public CSecondaryWnd {
public:
    static constexpr std::string_view kClassName = "ColorSelectWnd";
    static constexpr std::string_view kTitle = "PalletDialog";
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 572;
    static constexpr int kOptionCount = CColourChoices::kSlotCount;

    // The colour files are read when the window is created: the user copy, and the default copy
    // that replaces it when it is missing or damaged.
    CColorSelectWnd(UiColor initial, std::filesystem::path userFile, std::filesystem::path defaultFile);

    std::string_view GetWindowClassName() const override { return kClassName; }
    // Named from the skin root, which is also where its images ("common/...") are found.
    std::string GetSkinFile() override { return "XML/PalletDialog.xml"; }
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;

    // Switches the seven-colour option; off also hides "7color_layout" (a stage has one colour).
    void SetSevenColour(bool on);
    bool IsSevenColour() const { return m_sevenColour; }

    // The colour shown now; after "okbtn", the chosen one.
    UiColor GetColour() const { return m_colour; }
    int GetPresetIndex() const { return m_presetIndex; }
    int GetCollectIndex() const { return m_collectIndex; }
    const CColourChoices& Choices() const { return m_choices; }

protected:
    void ApplyAnswer(const std::string& answer) override;

private:
    void SelectPreset(int n);
    void SelectCollected(int n);
    // The current colour from the palette or the edits: shown, and collected into the selected slot.
    void TakeColour(UiColor colour);
    void OnEditTyped();
    // "color_show_btn", the edits and (optionally) the palette follow the current colour.
    void ShowColour(bool palette);
    void FillEdits();
    UiColor ShownColour() const;

    CColorPaletteUI* m_palette = nullptr;
    CColourChoices m_choices;
    std::filesystem::path m_userFile;
    std::filesystem::path m_defaultFile;
    UiColor m_colour;
    int m_presetIndex = 4;
    int m_collectIndex = 0;
    bool m_sevenColour = false;
};

// Opens the picker over parent at that DPI with the initial colour (0xAARRGGBB) as the main window
// opens it for a stage (seven-colour off) and runs it; the chosen colour, or none when it was closed.
std::optional<UiColor> ShowColorSelectWindow(HWND parent, int dpi, UiColor initial,
                                             const std::filesystem::path& userFile,
                                             const std::filesystem::path& defaultFile);

}  // namespace zevik
