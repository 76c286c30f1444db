#pragma once
// Tells the main window when the desktop's displays change (a monitor added or removed, a resolution
// or arrangement changed), so it fits itself to its monitor again.

#include <QObject>
#include <functional>
#include <memory>

namespace zevik {

// Calls onChange on the UI thread after each change, for as long as the returned watch lives.
std::unique_ptr<QObject> WatchDisplays(std::function<void()> onChange);

}  // namespace zevik
