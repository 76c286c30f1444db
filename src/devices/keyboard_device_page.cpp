// COrbantixKeyboardDevice: binding the page's items.

#include "devices/key_set_control.h"
#include "devices/keyboard_device.h"
#include "devices/light_control.h"
#include "devices/macro_control.h"
#include "settings/profile_locations.h"

namespace zevik {

void COrbantixKeyboardDevice::BindPageEx() {
    BindKeyPicture();
    CControlUI* light = Find("LightControlItem");
    lightControl_ = light != nullptr
                        ? static_cast<ILightControl*>(light->GetInterface(ILightControl::kInterfaceName))
                        : nullptr;
    if (lightControl_ != nullptr) lightControl_->SetPageKind(PageKind(ProfileKind::Keyboard));
    CControlUI* keySet = Find("KeySetControlItem");
    keySetControl_ = keySet != nullptr
                         ? static_cast<IKeySetControl*>(keySet->GetInterface(IKeySetControl::kInterfaceName))
                         : nullptr;
    if (keySetControl_ != nullptr) keySetControl_->SetPageKind(PageKind(ProfileKind::Keyboard));
    CControlUI* macros = Find("MacroControlItem");
    macroControl_ = macros != nullptr
                        ? static_cast<IMacroControl*>(macros->GetInterface(IMacroControl::kInterfaceName))
                        : nullptr;
    if (macroControl_ != nullptr) {
        macroControl_->SetMacroFolder(KindFolder());
        macroControl_->LoadMacroList();
    }
}

}  // namespace zevik
