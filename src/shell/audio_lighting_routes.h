#pragma once
// The routes of the lighting page's audio controls to the audio lighting handlers
// (audio_lighting_handlers.h).

#include "shell/notify_router.h"

namespace zevik {

class IMainWindowOps;

void AddAudioLightingRoutes(CNotifyRouter& router, IMainWindowOps& ops);

}  // namespace zevik
