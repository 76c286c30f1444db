#pragma once
// The profile data object every device owns: the settings document of the selected profile (the
// current document), the factory document of the device kind (the default document), the light
// configuration, and typed copies of the sections the pages edit.
//
// A profile file is {"Device": [element 0, element 1, ...]}; element N is the settings document of
// the device with device index N. Setters change only the current document and the cached record;
// nothing reaches the disk before SaveProfile.

#include <json/value.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "settings/audio_light_info_record.h"
#include "settings/json_file_util.h"
#include "settings/key_assign_record.h"
#include "settings/light_effect_record.h"
#include "settings/light_info_record.h"
#include "settings/light_list_record.h"

namespace zevik {

class CBasicProfiledata {
public:
    CBasicProfiledata() = default;
    virtual ~CBasicProfiledata() = default;
    CBasicProfiledata(const CBasicProfiledata&) = delete;
    CBasicProfiledata& operator=(const CBasicProfiledata&) = delete;

    // Writes the current document as "Device"[device index] of the profile file.
    virtual JsonWriteResult SaveProfile();
    // A device's save: 0 when no profile file is chosen, 1 when saved, 0 with a trace naming owner
    // when the write failed.
    int SaveChosenProfile(std::string_view owner);
    // The "profilename" of the current document ("" when absent).
    std::string ProfileName() const;
    // Reads the file at path, sets its "Device"[device index] to value and writes the whole file
    // back atomically; the other elements and members stay. A file that is not JSON, or whose
    // "Device" is not an array, is first moved aside (".bad"); a file that cannot be read at all is
    // left alone and the write fails.
    virtual JsonWriteResult WriteDeviceEntry(const Json::Value& value, const std::filesystem::path& path);
    // Writes the default document as "Device"[device index] of the file at path.
    virtual JsonWriteResult SaveDefaultProfile(const std::filesystem::path& path);
    // Writes value as the whole content of the file at path.
    virtual JsonWriteResult WriteDocument(const Json::Value& value, const std::filesystem::path& path);

    // An empty path leaves the previous one.
    void SetProfilePath(const std::filesystem::path& path);
    void SetDefaultPath(const std::filesystem::path& path);
    std::filesystem::path GetProfilePath() const { return profilePath_; }
    std::filesystem::path GetDefaultPath() const { return defaultPath_; }
    void SetLightConfigPath(const std::filesystem::path& path) { lightConfigPath_ = path; }
    std::filesystem::path GetLightConfigPath() const { return lightConfigPath_; }
    void SetDeviceIndex(int index) { deviceIndex_ = index < 0 ? 0 : index; }
    int GetDeviceIndex() const { return deviceIndex_; }

    // Loads element device index of the file at path as the current document. When the file has
    // no such element (missing file, not JSON, element absent or not an object) the factory element
    // is taken from the default file and written into path, the file's other content kept. When the
    // factory element is unavailable too, the current document is null and path is not touched.
    // Returns a copy of the current document.
    Json::Value LoadProfile(const std::filesystem::path& path);
    // The same for the default document.
    Json::Value LoadDefaultProfile(const std::filesystem::path& path);
    // Loads the whole light configuration file (null when missing or not JSON).
    Json::Value LoadLightConfig(const std::filesystem::path& path);

    // The message of the last failed write made by a load (seeding a profile), empty when none.
    const std::string& LastError() const { return lastError_; }

    const Json::Value& CurrentDocument() const { return current_; }
    const Json::Value& DefaultDocument() const { return default_; }
    const Json::Value& LightConfigDocument() const { return lightConfig_; }

    // Common sections. Getters read the current document (the default one for GetDefaultKeyList)
    // and refresh the cached copy; an absent section gives the fallback the comment names.
    LightInfoRecord GetLightInfo();                 // absent: all zero
    void SetLightInfo(const LightInfoRecord& record);
    AudioLightInfoRecord GetAudioLightInfo();       // absent: the cached record unchanged
    void SetAudioLightInfo(const AudioLightInfoRecord& record);
    std::vector<LightListRecord> GetLightList();    // absent: empty
    std::vector<LightEffectRecord> GetCustomLightEffects();  // no sequence: empty
    std::vector<KeyAssignRecord> GetKeyList();      // absent: empty
    std::vector<KeyAssignRecord> GetDefaultKeyList();
    // Writes "Assignment" of element i for every record i in list order; "DefaultAssignment" is
    // never written.
    void SetKeyList(const std::vector<KeyAssignRecord>& list);
    void SetDefaultKeyList(const std::vector<KeyAssignRecord>& list);

protected:
    // The current document, for the sections of the derived classes. Readers use the const form.
    Json::Value& MutableDocument() { return current_; }

private:
    Json::Value LoadElement(const std::filesystem::path& path);
    static std::vector<KeyAssignRecord> ReadKeyList(const Json::Value& document);
    static void WriteKeyList(Json::Value& document, const std::vector<KeyAssignRecord>& list);

    std::filesystem::path profilePath_;
    std::filesystem::path defaultPath_;
    LightInfoRecord lightInfo_;
    const LightInfoRecord lightInfoFallback_ {};
    AudioLightInfoRecord audioLightInfo_;
    std::vector<LightListRecord> lightList_;
    Json::Value current_;
    CJsonFileUtil files_;
    Json::Value default_;
    std::filesystem::path lightConfigPath_;
    std::vector<LightEffectRecord> customLightEffects_;
    Json::Value lightConfig_;
    std::vector<KeyAssignRecord> keyList_;
    std::vector<KeyAssignRecord> defaultKeyList_;
    int deviceIndex_ = 0;
    std::string lastError_;
};

}  // namespace zevik
