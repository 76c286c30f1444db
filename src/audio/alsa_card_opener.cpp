#include "audio/alsa_card_opener.h"

#include <fmt/format.h>

#include "audio/alsa_mixer_card.h"
#include "audio/sound_card_locator.h"
#include "platform/trace.h"

namespace zevik {

CAudioConfLibrary::CardOpener AlsaCardOpener(std::string hidrawNode, std::filesystem::path sysfsRoot) {
    return [node = std::move(hidrawNode), root = std::move(sysfsRoot)]() -> std::unique_ptr<IMixerCard> {
        const std::optional<int> card = CSoundCardLocator(root).CardOfHidraw(node);
        if (!card) {
            Trace(fmt::format("audio: no sound card on the USB device of {}", node));
            return nullptr;
        }
        return CAlsaMixerCard::Open(*card);
    };
}

}  // namespace zevik
