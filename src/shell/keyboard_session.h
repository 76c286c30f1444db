#pragma once
// Finding the keyboard in a headless session, as WaitForMouse does for the mouse.

#include <chrono>

namespace zevik {

class CHeadlessSession;
class COrbantixKeyboardDevice;

// The keyboard, when it is connected and its settings block has been read; null otherwise.
COrbantixKeyboardDevice* ConnectedKeyboard(CHeadlessSession& session);
// Pumps until the keyboard is connected and read, the first scan pass found none, or the limit passes.
COrbantixKeyboardDevice* WaitForKeyboard(CHeadlessSession& session, std::chrono::milliseconds limit);

}  // namespace zevik
