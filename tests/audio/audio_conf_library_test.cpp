#include "audio/audio_conf_library.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "audio/fake_mixer_card.h"
#include "audio/mixer_area_card.h"

namespace zevik {
namespace {

struct AreaBytes : IMixerArea {
    // PCM 80 on; Mic capture 32 (0 dB) on; sidetone 22 (-10 dB) off.
    std::array<std::uint8_t, 6> bytes{80, 1, 32, 1, 22, 0};
    std::optional<std::array<std::uint8_t, 6>> ReadMixerArea() const override { return bytes; }
    bool WriteMixerArea(std::size_t offset, std::uint8_t value) override {
        bytes.at(offset) = value;
        return true;
    }
};

// A library over a card the test keeps; nullptr card: no headset card present.
struct Library {
    explicit Library(IMixerCard* card)
        : conf([card]() -> std::unique_ptr<IMixerCard> {
              if (card == nullptr) return nullptr;
              return std::make_unique<test::BorrowedCard>(*card);
          }) {}

    std::optional<AudioDeviceInfo> Device(AudioDataFlow flow) {
        std::int32_t count = -1;
        if (conf.GetDeviceCount(flow, &count) != 0 || count < 1) return std::nullopt;
        AudioDeviceInfo info;
        if (conf.GetDeviceById(flow, 0, &info) != 0) return std::nullopt;
        return info;
    }
    int Read(const AudioDeviceInfo& device, std::string_view property, std::string& text,
             std::vector<std::int32_t> selector = {}) {
        PropertyValue value;
        value.text = "stale";
        const int result = conf.PropertyControl(device, property, value, selector, PropertyAccess::Read);
        text = value.text;
        return result;
    }
    int Write(const AudioDeviceInfo& device, std::string_view property, std::variant<std::int32_t, float> v,
              std::vector<std::int32_t> selector = {}) {
        PropertyValue value;
        value.binary = v;
        return conf.PropertyControl(device, property, value, selector, PropertyAccess::Write);
    }

    CAudioConfLibrary conf;
};

struct ReadCase {
    AudioDataFlow flow;
    const char* property;
    std::vector<std::int32_t> selector;
    int result;
    const char* text;
};

TEST(AudioConfLibrary, PropertiesOfTheEmulatedCard) {
    AreaBytes area;
    CMixerAreaCard card(area);
    Library lib(&card);
    ASSERT_EQ(lib.conf.ConfLibInit(), 0);
    ASSERT_EQ(lib.conf.CreateDeviceList(), 0);
    const auto playback = lib.Device(AudioDataFlow::Playback);
    const auto capture = lib.Device(AudioDataFlow::Capture);
    ASSERT_TRUE(playback && capture);
    EXPECT_EQ(playback->endpointType, AudioDeviceInfo::kHeadphones);
    EXPECT_EQ(capture->endpointType, AudioDeviceInfo::kMicrophone);
    EXPECT_EQ(capture->state, AudioDeviceInfo::kUsable);
    EXPECT_EQ(lib.conf.CardName(), CMixerAreaCard::kCardName);

    constexpr int kNo = CAudioConfLibrary::kNotAvailable;
    const ReadCase cases[] = {
        {AudioDataFlow::Capture, "GetMaxVol", {}, 0, "35.63"},
        {AudioDataFlow::Capture, "GetMinVol", {}, 0, "-12.00"},
        {AudioDataFlow::Capture, "GetVolStep", {}, 0, "0.38"},
        {AudioDataFlow::Capture, "VolumeControl", {-1}, 0, "0.00"},
        {AudioDataFlow::Capture, "MuteControl", {}, 0, "0"},
        {AudioDataFlow::Capture, "GetAAMaxVol", {}, 0, "0.00"},
        {AudioDataFlow::Capture, "GetAAMinVol", {}, 0, "-32.00"},
        {AudioDataFlow::Capture, "GetAAVolStep", {}, 0, "1.00"},
        {AudioDataFlow::Capture, "AAVolumeControl", {0}, 0, "-10.00"},
        {AudioDataFlow::Capture, "AAMuteControl", {}, 0, "1"},
        {AudioDataFlow::Capture, "AAVolumeControl", {1}, 0, "-10.00"},  // a mono control is every channel
        {AudioDataFlow::Capture, "VolumeControl", {-2}, CAudioConfLibrary::kFailed, ""},
        {AudioDataFlow::Capture, "Enable_MAGICVOICE", {}, kNo, ""},
        {AudioDataFlow::Capture, "MagicVoice_Selection", {}, kNo, ""},
        {AudioDataFlow::Capture, "Enable_ENC_LFX", {0}, kNo, ""},
        {AudioDataFlow::Capture, "Enable_MICECHO", {}, kNo, ""},
        {AudioDataFlow::Capture, "GetSupportFeature", {}, kNo, ""},
        {AudioDataFlow::Playback, "GetSupportFeature", {}, kNo, ""},
        {AudioDataFlow::Playback, "Enable_EQ_GFX", {}, kNo, ""},
        {AudioDataFlow::Playback, "EQ_Slider4", {}, kNo, ""},
        {AudioDataFlow::Playback, "Enable_RFX_GFX", {}, kNo, ""},
        {AudioDataFlow::Playback, "VirtualSurroundEffectControl", {4, -1, 0}, kNo, ""},
        {AudioDataFlow::Playback, "VolumeControl", {-1}, kNo, ""},
    };
    for (const ReadCase& c : cases) {
        std::string text;
        const auto& device = c.flow == AudioDataFlow::Capture ? capture : playback;
        EXPECT_EQ(lib.Read(*device, c.property, text, c.selector), c.result) << c.property;
        EXPECT_EQ(text, c.text) << c.property;
    }

    std::string position;
    ASSERT_EQ(lib.Read(*capture, "VolumeScalarControl", position, {-1}), 0);
    EXPECT_NEAR(std::stod(position), 0.112, 1e-3);  // 0 dB of -12..+35.6 dB on the cubic curve
}

TEST(AudioConfLibrary, WritesReachTheCardBytes) {
    AreaBytes area;
    CMixerAreaCard card(area);
    Library lib(&card);
    lib.conf.ConfLibInit();
    lib.conf.CreateDeviceList();
    const AudioDeviceInfo capture = *lib.Device(AudioDataFlow::Capture);

    EXPECT_EQ(lib.Write(capture, "MuteControl", 1), 0);
    EXPECT_EQ(area.bytes[3], 0);  // muted: switch off
    EXPECT_EQ(lib.Write(capture, "AAMuteControl", 0), 0);
    EXPECT_EQ(area.bytes[5], 1);
    EXPECT_EQ(lib.Write(capture, "VolumeControl", 6, {-1}), 0);
    EXPECT_EQ(area.bytes[2], 48);  // -12 + 48 x 0.375 = +6 dB
    EXPECT_EQ(lib.Write(capture, "AAVolumeControl", -20, {0}), 0);
    EXPECT_EQ(area.bytes[4], 12);
    EXPECT_EQ(lib.Write(capture, "VolumeScalarControl", 1.0f, {-1}), 0);
    EXPECT_EQ(area.bytes[2], 127);
    EXPECT_EQ(lib.Write(capture, "AAVolumeScalarControl", 0.0f, {0}), 0);
    EXPECT_EQ(area.bytes[4], 0);
    EXPECT_EQ(lib.Write(capture, "GetMaxVol", 3), CAudioConfLibrary::kNotAvailable);
    EXPECT_EQ(lib.Write(capture, "Enable_MAGICVOICE", 1), CAudioConfLibrary::kNotAvailable);
    EXPECT_EQ(lib.Write(capture, "VolumeScalarControl", std::numeric_limits<float>::quiet_NaN()),
              CAudioConfLibrary::kFailed);
    EXPECT_EQ(area.bytes[2], 127);
}

TEST(AudioConfLibrary, ReadsTakeTheSelectorsChannelAndWritesSetEvery) {
    test::FakeMixerCard card;
    card.Add("Mic", MixerDirection::Capture,
             {0, 100, std::nullopt, 0, false, {10, 90}, std::vector<bool>{true, false}});
    Library lib(&card);
    lib.conf.ConfLibInit();
    lib.conf.CreateDeviceList();
    const AudioDeviceInfo capture = *lib.Device(AudioDataFlow::Capture);

    std::string text;
    ASSERT_EQ(lib.Read(capture, "VolumeScalarControl", text, {-1}), 0);
    EXPECT_EQ(text, "0.100000");
    ASSERT_EQ(lib.Read(capture, "VolumeScalarControl", text, {1}), 0);
    EXPECT_EQ(text, "0.900000");
    ASSERT_EQ(lib.Read(capture, "MuteControl", text, {1}), 0);
    EXPECT_EQ(text, "1");
    EXPECT_EQ(lib.Read(capture, "VolumeScalarControl", text, {2}), CAudioConfLibrary::kCardRefused);
    // No dB scale: the dB properties are not available, the position is.
    EXPECT_EQ(lib.Read(capture, "VolumeControl", text, {-1}), CAudioConfLibrary::kNotAvailable);
    EXPECT_EQ(lib.Read(capture, "GetMaxVol", text), CAudioConfLibrary::kNotAvailable);
    // No sidetone on this card.
    EXPECT_EQ(lib.Read(capture, "AAMuteControl", text), CAudioConfLibrary::kNotAvailable);

    ASSERT_EQ(lib.Write(capture, "VolumeScalarControl", 0.37f, {-1}), 0);
    EXPECT_EQ(card.At({"Mic", MixerDirection::Capture}).raw, (std::vector<long>{37, 37}));
    ASSERT_EQ(lib.Write(capture, "MuteControl", 0), 0);
    EXPECT_EQ(*card.At({"Mic", MixerDirection::Capture}).switches, (std::vector<bool>{true, true}));

    card.refuseWrites = true;
    EXPECT_EQ(lib.Write(capture, "MuteControl", 1), CAudioConfLibrary::kCardRefused);
}

TEST(AudioConfLibrary, UnknownDevicesNoCardAndNoMicrophoneFail) {
    {
        Library lib(nullptr);
        lib.conf.ConfLibInit();
        EXPECT_NE(lib.conf.CreateDeviceList(), 0);
        EXPECT_EQ(lib.Device(AudioDataFlow::Playback), std::nullopt);
        EXPECT_EQ(lib.Device(AudioDataFlow::Capture), std::nullopt);
        std::string text;
        EXPECT_EQ(lib.Read(AudioDeviceInfo{}, "MuteControl", text), CAudioConfLibrary::kFailed);
        EXPECT_EQ(text, "");
        EXPECT_EQ(lib.conf.CardName(), "");
    }
    {
        test::FakeMixerCard card;
        card.Add("PCM", MixerDirection::Playback, {0, 100, -5000, 50, false, {80}, std::vector<bool>{true}});
        Library lib(&card);
        lib.conf.ConfLibInit();
        ASSERT_EQ(lib.conf.CreateDeviceList(), 0);
        EXPECT_TRUE(lib.Device(AudioDataFlow::Playback));
        EXPECT_EQ(lib.Device(AudioDataFlow::Capture), std::nullopt);
        // A record the library never gave out, all zero included, reaches no card.
        std::string text;
        EXPECT_EQ(lib.Read(AudioDeviceInfo{}, "MuteControl", text), CAudioConfLibrary::kFailed);
        EXPECT_EQ(lib.Write(AudioDeviceInfo{}, "MuteControl", 1), CAudioConfLibrary::kFailed);
        EXPECT_EQ(lib.Read(AudioDeviceInfo{2, 2, 0, 1}, "MuteControl", text), CAudioConfLibrary::kFailed);
        EXPECT_EQ(card.writes, 0);
    }
    {
        test::FakeMixerCard card = test::LinearHeadsetCard();
        Library lib(&card);
        EXPECT_NE(lib.conf.CreateDeviceList(), 0) << "listing before ConfLibInit";
        EXPECT_EQ(lib.Device(AudioDataFlow::Playback), std::nullopt);
    }
}

TEST(AudioConfLibrary, EveryListingOpensTheCardAgain) {
    int opened = 0;
    test::FakeMixerCard card = test::LinearHeadsetCard();
    bool present = true;
    CAudioConfLibrary conf([&]() -> std::unique_ptr<IMixerCard> {
        ++opened;
        if (!present) return nullptr;
        return std::make_unique<test::BorrowedCard>(card);
    });
    conf.ConfLibInit();
    EXPECT_EQ(conf.CreateDeviceList(), 0);
    present = false;
    EXPECT_NE(conf.CreateDeviceList(), 0);
    std::int32_t count = -1;
    conf.GetDeviceCount(AudioDataFlow::Capture, &count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(opened, 2);
}

}  // namespace
}  // namespace zevik
