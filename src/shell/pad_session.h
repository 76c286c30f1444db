#pragma once
// Finding the mousepad in a headless session, as WaitForKeyboard does for the keyboard.

#include <chrono>

namespace zevik {

class CHeadlessSession;
class COrbantixMousePadDevice;

// The pad, when it is open and connected; null otherwise.
COrbantixMousePadDevice* ConnectedPad(CHeadlessSession& session);
// Pumps until the pad is connected, the first scan pass found none, or the limit passes.
COrbantixMousePadDevice* WaitForPad(CHeadlessSession& session, std::chrono::milliseconds limit);

}  // namespace zevik
