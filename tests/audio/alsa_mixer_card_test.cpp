// The ALSA card without a sound card: what is not there is reported as absent, never opened.

#include "audio/alsa_mixer_card.h"

#include <gtest/gtest.h>

#include "audio/alsa_card_opener.h"

namespace zevik {
namespace {

TEST(AlsaMixerCard, CardsThatDoNotExistAreNotOpened) {
    EXPECT_EQ(CAlsaMixerCard::Open(-1), nullptr);
    EXPECT_EQ(CAlsaMixerCard::Open(31), nullptr);  // above ALSA's highest card number
}

TEST(AlsaMixerCard, TheOpenerFindsNoCardForANodeSysfsDoesNotKnow) {
    const auto opener = AlsaCardOpener("/dev/hidraw999", "/nonexistent-sysfs");
    EXPECT_EQ(opener(), nullptr);
}

}  // namespace
}  // namespace zevik
