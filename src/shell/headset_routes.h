#pragma once
// The routes of the headset's sound and voice-changer pages: microphone and monitoring, equaliser
// presets, bands and the user's own equalisers, voice changer. Each reaches the current device's
// audio binding only while that device is the headset.

namespace zevik {

class CNotifyRouter;
class IMainWindowOps;

void AddHeadsetPageRoutes(CNotifyRouter& router, IMainWindowOps& ops);

}  // namespace zevik
