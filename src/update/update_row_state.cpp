#include "update/update_row_state.h"

namespace zevik {

std::string_view UpdateRowTextKey(UpdateRowState state) {
    switch (state) {
        case UpdateRowState::NotNeeded: return "LessUpdateText";
        case UpdateRowState::Needed:
        case UpdateRowState::NeededToo: return "NeedUpdateText";
        case UpdateRowState::WaitingDownload: return "DownloadWaitText";
        case UpdateRowState::Downloading: return "DownloadIngText";
        case UpdateRowState::Downloaded: return "DownloadOkText";
        case UpdateRowState::Installing: return "UpdateIngText";
        case UpdateRowState::UpToDate: return "UpdateOkText";
        case UpdateRowState::Failed: return "UpdateFailText";
    }
    return "UpdateFailText";
}

std::string_view UpdateWindowTextKey(UpdateWindowState state) {
    switch (state) {
        case UpdateWindowState::Checking: return "GetUpdateInfoText";
        case UpdateWindowState::HaveUpdates: return "HaveUpdateInfoText";
        case UpdateWindowState::NotReached: return "NoUpdateInfoText";
        case UpdateWindowState::Updating: return "ISUpdateINGText";
        case UpdateWindowState::AllCurrent: return "UpdateOkText";
    }
    return "NoUpdateInfoText";
}

}  // namespace zevik
