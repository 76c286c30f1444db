// CMainWnd: the records of the audio capture side. A record lands in its buffer (a shorter one
// replaces only the start), then samples become the first keyboard's band levels and a colour record
// its colour input. The mouse, the mousepad and the headset draw no audio.

#include "devices/keyboard_device.h"
#include "shell/main_wnd.h"

namespace zevik {

void CMainWnd::HandleAudioRecord(std::uint32_t kind, std::span<const std::uint8_t> data) {
    if (m_audioRecords.Accept(kind, data) == 0) return;
    const std::vector<COrbantixUSBDevice*>& keyboards = m_devices[kFamilyKeyboard];
    COrbantixUSBDevice* keyboard = keyboards.empty() ? nullptr : keyboards.front();
    if (kind == CAudioRecordBuffers::kSampleRecord) {
        const int rows = m_list.CountConnected({kDeviceKindKeyboard, kDeviceKindKeyboardReceiver});
        m_bandLevels.ProcessSamples(m_audioRecords.SampleBytes(), rows, keyboard);
    } else if (kind == CAudioRecordBuffers::kBandRecord) {
        ProcessAudioColour(m_audioRecords.BandBytes(), keyboard);
    }
}

}  // namespace zevik
