#pragma once
// A configuration change as the devices take it: BeginConfig, the change's commands, EndConfig.
// EndConfig is sent once BeginConfig was, whatever the change gave; the result is the first failure.

#include <functional>

#include "transport/command_channel.h"

namespace zevik {

// The first result other than kResultDone of a sequence of commands (kResultDone when none).
class FirstFailure {
public:
    void Take(int result) {
        if (result_ == kResultDone && result != kResultDone) result_ = result;
    }
    int Result() const { return result_; }
    bool Failed() const { return result_ != kResultDone; }

private:
    int result_ = kResultDone;
};

// BeginConfig; change() when it was taken; EndConfig. kResultDone, or the first failed result.
int SendInConfigFrame(CCommandChannel& channel, const std::function<int()>& change);

}  // namespace zevik
