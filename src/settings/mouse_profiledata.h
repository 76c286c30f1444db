#pragma once
// The mouse's profile data: the sensitivity stages, the report rate, the system settings and the
// sensor correction presets, on top of the common sections.

#include <vector>

#include "settings/basic_profiledata.h"
#include "settings/correct_info_record.h"
#include "settings/dpi_stage_record.h"
#include "settings/mouse_system_record.h"

namespace zevik {

class CMouseProfiledata : public CBasicProfiledata {
public:
    // Reads "DPIStages": the active stage index and the stage list. The records read overwrite the
    // cached list position by position; the cached list never shrinks, so stages beyond the
    // document's array keep their earlier values. Returns a copy of the cached list.
    std::vector<DpiStageRecord> GetDpiStages();
    // Writes the stages into "DPIStages"."StageDPIs"; elements beyond the list stay.
    void SetDpiStages(const std::vector<DpiStageRecord>& stages);
    // The cached active stage index (no document read).
    int GetActiveDpiStage() const { return activeDpiStage_; }
    void SetActiveDpiStage(int index);

    // "SystemStages" with "ReportStages"."StageActive"; all zero when "SystemStages" is absent.
    MouseSystemRecord GetMouseSystem();
    void SetMouseSystem(const MouseSystemRecord& record);

    // "CorrectInfo", read only; empty when absent.
    std::vector<CorrectInfoRecord> GetCorrectInfo();

private:
    std::vector<DpiStageRecord> dpiStages_;
    int activeDpiStage_ = 0;
    MouseSystemRecord mouseSystem_;
    std::vector<CorrectInfoRecord> correctInfo_;
};

}  // namespace zevik
