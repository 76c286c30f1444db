#pragma once
// CProgressUI: a value within a range [min, max]. The value is always kept inside the range: setting
// it outside clamps it, and narrowing the range clamps it again. When min > max the range collapses
// to min. The filled part is drawn with the control's "foreimage".

#include "ui/label_ui.h"

namespace zevik {

class CProgressUI : public CLabelUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int min);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int max);
    int GetValue() const { return m_nValue; }
    void SetValue(int value);
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool horizontal = true);

    void SetAttribute(std::string_view name, std::string_view value) override;

protected:
    int Clamp(int value) const;

private:
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    bool m_bHorizontal = true;
};

}  // namespace zevik
