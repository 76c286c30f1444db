#pragma once
// The program's own control classes that the gallery skin shows. They carry no behaviour of their own
// here: the renderer recognises them by class name and paints them (ring, key cap, bar graph).

#include "ui/button_ui.h"
#include "ui/control_ui.h"
#include "ui/progress_ui.h"

namespace zevik::gallery {

class CCircleProgressUI : public CProgressUI {
public:
    std::string_view GetClass() const override { return "CircleProgressUI"; }
};

class CDeviceKeyButtonUI : public CButtonUI {
public:
    std::string_view GetClass() const override { return "DeviceKeyButtonUI"; }
};

class CChartViewUI : public CControlUI {
public:
    std::string_view GetClass() const override { return "ChartViewUI"; }
};

// Registers the classes with the control factory (idempotent).
void RegisterGalleryControls();

}  // namespace zevik::gallery
