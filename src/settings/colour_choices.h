#pragma once
// CColourChoices: the colours the colour picker remembers between runs, in "color_option_info.config":
// 20 preset colours and 20 collected slots, each list with its selected index.
//
//   { "coloroptioninfo": {
//       "palletDialogcoloroption": [ { "color": "FFFF0000" }, ... 20 ],
//       "palletDialogcoloroption_selectitem": 4,
//       "palletDialogcollectcoloroption": [ { "color": "FF000000", "UserData": "" }, ... 20 ],
//       "palletDialogcollectcoloroption_selectitem": 0 } }
//
// A colour is 8 hexadecimal digits, alpha first ("FFFF0000" is opaque red), written upper case and
// read back base 16. "UserData" is "1" when the slot holds a colour the user collected.
//
// The file is edited by hand at times: a value of the wrong type reads as absent, writes change only
// what they store and keep the rest of the document, and every write is atomic.

#include <json/value.h>

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/json_file_util.h"
#include "ui/ui_types.h"

namespace zevik {

class CColourChoices {
public:
    static constexpr int kSlotCount = 20;

    // Where the document came from.
    enum class Source {
        User,     // the user copy
        Default,  // the default copy, now also written as the user copy
        None,     // neither: every slot reads as absent
    };

    struct Collected {
        std::optional<UiColor> colour;
        std::string userData;  // "1": holds a collected colour
    };

    // Reads the user copy. When it is missing or no document (not JSON, not an object, unreadable),
    // the default copy is read and written as the user copy; a damaged user copy is moved aside to
    // ".bad" first, so nothing of it is lost.
    Source Load(const std::filesystem::path& userFile, const std::filesystem::path& defaultFile);
    // Reads the user copy, else the default copy, and writes, moves or creates nothing: for readers
    // that only show the colours. Writes after it are refused (they have no user copy to go to).
    Source Read(const std::filesystem::path& userFile, const std::filesystem::path& defaultFile);

    // Preset n (0 to 19), absent when missing or malformed.
    std::optional<UiColor> Preset(int n) const;
    // The stored selections; absent when missing, not an integer or outside 0 to 19.
    std::optional<int> PresetSelection() const;
    Collected CollectedSlot(int n) const;
    std::optional<int> CollectedSelection() const;

    // Stores the 20 preset colours (as shown) and the selected preset, then writes the user copy.
    JsonWriteResult StorePresets(std::span<const UiColor, kSlotCount> colours, int selected);
    // Stores colour in collected slot n, marks it "1" and selects it, then writes the user copy.
    JsonWriteResult StoreCollected(int n, UiColor colour);

    const Json::Value& Document() const { return doc_; }

    // "AARRGGBB" in upper case.
    static std::string FormatColour(UiColor colour);
    // 1 to 8 hexadecimal digits, nothing else; absent otherwise.
    static std::optional<UiColor> ParseColour(std::string_view text);

private:
    JsonWriteResult Write();
    Json::Value& Info();

    std::filesystem::path userFile_;
    Json::Value doc_;
};

}  // namespace zevik
