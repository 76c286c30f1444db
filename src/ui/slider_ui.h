#pragma once
// CSliderUI: a progress value the user moves. User moves go through UserMoveValue (while dragging:
// "movevaluechanged") and UserSetValue (released: "valuechanged"); both clamp and carry the clamped
// value in wParam. SetValue from code raises nothing.

#include "ui/progress_ui.h"

namespace zevik {

class CSliderUI : public CProgressUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    int GetChangeStep() const { return m_nStep; }
    void SetChangeStep(int step);
    const std::string& GetThumbImage() const { return m_sThumbImage; }

    // "valuechanged" when the clamped value differs from the current one (or always when force).
    void UserSetValue(int value, bool force = false);
    // "movevaluechanged" when the clamped value differs from the current one.
    void UserMoveValue(int value);

    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    int m_nStep = 1;
    std::string m_sThumbImage;
};

}  // namespace zevik
