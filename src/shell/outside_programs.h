#pragma once
// IOutsidePrograms: what the main window says to other programs of the desktop session (the
// lighting-control partner, the factory tool, the audio capture program). The desktop program
// speaks over the session bus; headless runs and tests use a silent or recording one.

#include <cstdint>
#include <span>

namespace zevik {

class IOutsidePrograms {
public:
    virtual ~IOutsidePrograms() = default;
    // Tells every listener whether this program now drives the device lighting (lParam 1) or gave it
    // up (0); wParam is 1.
    virtual void BroadcastLightControl(int wParam, int lParam) = 0;
    // Hands a record to the factory tool "WorkTool"; false when it is not running or did not answer.
    virtual bool SendToWorkTool(std::uint32_t kind, std::span<const std::uint8_t> record) = 0;
    // A command to the audio capture program, when it runs.
    virtual void SendToAudioCapture(int wParam, int lParam) = 0;
    // A record to the audio capture program, when it runs; not waited for. False when it is not there.
    virtual bool SendRecordToAudioCapture(std::uint32_t /*kind*/, std::span<const std::uint8_t> /*record*/) {
        return false;
    }
};

// Talks to nobody.
class CNoOutsidePrograms final : public IOutsidePrograms {
public:
    void BroadcastLightControl(int, int) override {}
    bool SendToWorkTool(std::uint32_t, std::span<const std::uint8_t>) override { return false; }
    void SendToAudioCapture(int, int) override {}
};

}  // namespace zevik
