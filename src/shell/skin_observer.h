#pragma once
// The background skin of the main window: the change the skin popup broadcasts, and the one observer
// of the process that carries it to the main window.

#include <string>

#include "shell/observer_impl.h"
#include "ui/ui_types.h"

namespace zevik {

struct SkinChangedParam {
    bool isColour = false;
    UiColor colour = 0;  // ARGB, with isColour
    std::string image;   // an image attribute or a file, without isColour
};

using CSkinObserver = ObserverImpl<int, SkinChangedParam>;
using CSkinReceiver = ReceiverImpl<int, SkinChangedParam>;

// Created on first use; lives until the process ends.
CSkinObserver& GetSkinObserver();

}  // namespace zevik
