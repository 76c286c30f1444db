#pragma once
// A mixer card for tests: controls with a raw range, an optional linear dB scale, any number of
// channels and an optional switch, all held in memory. Writes can be made to fail.

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "audio/mixer_card.h"

namespace zevik::test {

struct FakeControl {
    long rawMin = 0;
    long rawMax = 100;
    std::optional<long> dbAtMin;  // hundredths of a dB at rawMin; nullopt: no dB scale
    long dbPerStep = 0;
    bool muteAtMin = false;    // the bottom step reads as "muted" (-9999999), as some cards do
    std::vector<long> raw{0};  // one value per channel
    std::optional<std::vector<bool>> switches;
};

class FakeMixerCard : public IMixerCard {
public:
    std::string name = "Fake USB Headset";
    std::vector<std::pair<MixerControlId, FakeControl>> controls;
    bool refuseWrites = false;
    int writes = 0;

    FakeControl& Add(const std::string& controlName, MixerDirection direction, FakeControl control) {
        controls.emplace_back(MixerControlId{controlName, direction}, std::move(control));
        return controls.back().second;
    }
    FakeControl* Find(const MixerControlId& id) {
        for (auto& [key, control] : controls) {
            if (key == id) return &control;
        }
        return nullptr;
    }
    const FakeControl* Find(const MixerControlId& id) const {
        return const_cast<FakeMixerCard*>(this)->Find(id);
    }
    // The control named id; throws when there is none (a fault of the test).
    FakeControl& At(const MixerControlId& id) {
        FakeControl* c = Find(id);
        if (c == nullptr) throw std::out_of_range("no control " + id.name);
        return *c;
    }

    std::string Name() const override { return name; }
    std::vector<MixerControl> Controls() const override {
        std::vector<MixerControl> list;
        for (const auto& [id, c] : controls) {
            list.push_back({id, true, c.switches.has_value(), static_cast<int>(c.raw.size())});
        }
        return list;
    }
    std::optional<MixerRange> RawRange(const MixerControlId& id) const override {
        const FakeControl* c = Find(id);
        if (c == nullptr) return std::nullopt;
        return MixerRange{c->rawMin, c->rawMax};
    }
    std::optional<MixerRange> DbRange(const MixerControlId& id) const override {
        const FakeControl* c = Find(id);
        if (c == nullptr || !c->dbAtMin) return std::nullopt;
        return MixerRange{*DbOfRaw(id, c->rawMin), *DbOfRaw(id, c->rawMax)};
    }
    std::optional<long> DbOfRaw(const MixerControlId& id, long raw) const override {
        const FakeControl* c = Find(id);
        if (c == nullptr || !c->dbAtMin) return std::nullopt;
        if (c->muteAtMin && raw <= c->rawMin) return -9999999;
        return *c->dbAtMin + (raw - c->rawMin) * c->dbPerStep;
    }
    std::optional<long> Raw(const MixerControlId& id, int channel) const override {
        const FakeControl* c = Find(id);
        if (c == nullptr || channel < 0 || channel >= static_cast<int>(c->raw.size())) return std::nullopt;
        return c->raw[static_cast<std::size_t>(channel)];
    }
    std::optional<bool> Switch(const MixerControlId& id, int channel) const override {
        const FakeControl* c = Find(id);
        if (c == nullptr || !c->switches || channel < 0 || channel >= static_cast<int>(c->switches->size())) {
            return std::nullopt;
        }
        return (*c->switches)[static_cast<std::size_t>(channel)];
    }
    bool SetRaw(const MixerControlId& id, long raw) override {
        FakeControl* c = Find(id);
        if (c == nullptr || refuseWrites) return false;
        ++writes;
        for (long& v : c->raw) v = raw;
        return true;
    }
    bool SetSwitch(const MixerControlId& id, bool on) override {
        FakeControl* c = Find(id);
        if (c == nullptr || !c->switches || refuseWrites) return false;
        ++writes;
        for (auto&& s : *c->switches) s = on;
        return true;
    }
};

// Hands a card the test keeps to whoever opens it (the library owns what its opener returns).
class BorrowedCard : public IMixerCard {
public:
    explicit BorrowedCard(IMixerCard& card) : card_(card) {}
    std::string Name() const override { return card_.Name(); }
    std::vector<MixerControl> Controls() const override { return card_.Controls(); }
    std::optional<MixerRange> RawRange(const MixerControlId& id) const override { return card_.RawRange(id); }
    std::optional<MixerRange> DbRange(const MixerControlId& id) const override { return card_.DbRange(id); }
    std::optional<long> DbOfRaw(const MixerControlId& id, long raw) const override {
        return card_.DbOfRaw(id, raw);
    }
    std::optional<long> Raw(const MixerControlId& id, int channel) const override {
        return card_.Raw(id, channel);
    }
    std::optional<bool> Switch(const MixerControlId& id, int channel) const override {
        return card_.Switch(id, channel);
    }
    bool SetRaw(const MixerControlId& id, long raw) override { return card_.SetRaw(id, raw); }
    bool SetSwitch(const MixerControlId& id, bool on) override { return card_.SetSwitch(id, on); }

private:
    IMixerCard& card_;
};

// A USB headset whose microphone ("Mic" capture) and sidetone ("Mic" playback) span 0-100 over
// -20..0 dB: a dB range that narrow maps linearly, so every level 0-100 has its own step.
inline FakeMixerCard LinearHeadsetCard() {
    FakeMixerCard card;
    card.Add("PCM", MixerDirection::Playback,
             {0, 100, -5000, 50, false, {80, 80}, std::vector<bool>{true, true}});
    card.Add("Mic", MixerDirection::Playback, {0, 100, -2000, 20, false, {0}, std::vector<bool>{true}});
    card.Add("Mic", MixerDirection::Capture, {0, 100, -2000, 20, false, {50}, std::vector<bool>{true}});
    return card;
}

}  // namespace zevik::test
