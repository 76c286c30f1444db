#pragma once
// IDialogBuilderCallback: lets the program create its own control classes while a skin is built.

#include <string_view>

namespace zevik {

class CControlUI;

class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    // A new control for the element's tag name, or nullptr to let the library try its own classes
    // and the control factory. The builder owns what is returned.
    virtual CControlUI* CreateControl(std::string_view className) = 0;
};

}  // namespace zevik
