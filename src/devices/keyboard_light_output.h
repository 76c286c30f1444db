#pragma once
// CKeyboardLightOutput: where the keyboard's key frame goes, each time the option's frame timer
// fires (UI thread): the picture's key buttons, and in the streamed modes the keyboard itself.
//
// The buttons show the frame while the lighting page can be seen, turn dark on the other pages, and
// rest (nothing repainted) while the window cannot be seen. In a streamed mode the first N x 3 bytes
// of the colour buffer (N positions) go to the stream worker, which sends them on its own thread.
// While the window rests in the tray the frame timer rests too: the lighting thread then hands each
// stepped frame to the stream itself (StreamUnseen), with the LED map it was given last. Leaving the
// streamed modes drops a frame not yet sent.

#include <cstdint>
#include <mutex>

#include "devices/channel_frame_link.h"
#include "devices/key_light_frame.h"
#include "devices/keyboard_frame_stream.h"
#include "devices/keyboard_key_picture.h"

namespace zevik {

class CCommandChannel;

class CKeyboardLightOutput {
public:
    enum class Preview {
        Lit,      // the buttons show the frame
        Dark,     // the buttons show black (another page is shown)
        Resting,  // the buttons are left as they are (nobody can see them)
    };

    explicit CKeyboardLightOutput(CCommandChannel& channel) : m_link(channel), m_stream(m_link) {}

    CKeyboardKeyPicture& Picture() { return m_picture; }
    const CKeyboardKeyPicture& Picture() const { return m_picture; }
    CKeyboardFrameStream& Stream() { return m_stream; }

    // The frame through the LED map SetDeviceMap gave. frameChanged: the frame changed since the last
    // call. Nothing is done when neither the frame nor the preview changed, outside the streamed modes.
    // Returns how many buttons changed.
    int Show(const KeyLightFrame& frame, Preview preview, bool streamed, bool frameChanged = true);
    // Stops the stream worker (before the channel goes).
    void StopStream() { m_stream.Stop(); }

    // The keyboard's LED map and position count, for Show and StreamUnseen (any thread).
    void SetDeviceMap(const KeyLedIndices& leds, int positions);
    // The lighting thread, while nobody sees the picture: the frame goes to the stream alone.
    void StreamUnseen(const KeyLightFrame& frame);

private:
    void Offer(const KeyboardColourBuffer& device, int positions);

    std::mutex m_mapLock;  // guards the two below
    KeyLedIndices m_leds{};
    int m_positions = 0;
    CKeyboardKeyPicture m_picture;
    CChannelFrameLink m_link;
    CKeyboardFrameStream m_stream;
    Preview m_lastPreview = Preview::Resting;
};

}  // namespace zevik
