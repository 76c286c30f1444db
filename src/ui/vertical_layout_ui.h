#pragma once
// CVerticalLayoutUI: lays its visible, non-floating children out one after the other from top to bottom,
// "childpadding" apart. Children with a fixed height get it; the rest share what is left equally
// (within their min/max). Across the flow a child takes its fixed size or the whole content area.

#include "ui/container_ui.h"

namespace zevik {

class CVerticalLayoutUI : public CContainerUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void SetPos(const UiRect& rc) override;
};

}  // namespace zevik
