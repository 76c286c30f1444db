#include "devices/config_frame.h"

#include "transport/command_set.h"

namespace zevik {

int SendInConfigFrame(CCommandChannel& channel, const std::function<int()>& change) {
    FirstFailure outcome;
    outcome.Take(BeginConfig(channel));
    if (!outcome.Failed()) outcome.Take(change());
    outcome.Take(EndConfig(channel));
    return outcome.Result();
}

}  // namespace zevik
