#pragma once
// The headset's profile data: the audio settings and the equaliser values, on top of the common
// sections.

#include <string>
#include <vector>

#include "settings/basic_profiledata.h"
#include "settings/headset_system_record.h"

namespace zevik {

class CHs6533Profiledata : public CBasicProfiledata {
public:
    static constexpr int kBands = 10;
    // Equaliser type 13 is the custom equaliser; it has no stored preset.
    static constexpr int kCustomEqType = 13;
    // A custom equaliser index beyond this is refused (the page allows at most 20).
    static constexpr int kMaxCustomEqs = 256;

    // The element of "EQHzValueInfo" that equaliser type t uses: 0 -> 1, 1-12 -> t, 13 -> none
    // (-1), above 13 (or negative) -> 1. Element 0 is never used.
    static int PresetElement(int eqType);

    // "SystemSetStages"; all zero when absent.
    HeadsetSystemRecord GetHeadsetSystem();
    void SetHeadsetSystem(const HeadsetSystemRecord& record);

    // The ten band values of the preset of eqType; empty for type 13. A missing preset element or
    // band is written into the document as {"value": 0} and reads as 0.
    std::vector<int> GetEqValues(int eqType);
    // Writes the ten band values of the preset of eqType; type 13 writes nothing.
    void SetEqValues(int eqType, const std::vector<int>& values);

    // The same on user equaliser index of "CustomEQHzValueInfo".
    std::vector<int> GetCustomEqValues(int index);
    void SetCustomEqValues(int index, const std::vector<int>& values);

    // "CustomEQNameInfo": one {"Name": ...} per user equaliser, UTF-8.
    std::vector<std::string> GetCustomEqNames();
    void SetCustomEqNames(const std::vector<std::string>& names);

private:
    std::vector<int> ReadBands(const char* section, int element);
    void WriteBands(const char* section, int element, const std::vector<int>& values);

    HeadsetSystemRecord headsetSystem_;
    std::vector<int> eqValues_;
};

}  // namespace zevik
