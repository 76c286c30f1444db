#pragma once
// CEventFileInputSource: replays evemu-record files (event_file.h) as a recording's input: Start reads
// them all, merged by time, and hands every event to the sink before it returns. A file that cannot be
// read or holds a bad line fails Start, naming the file and the line, and delivers nothing.

#include <filesystem>
#include <vector>

#include "platform/input_source.h"

namespace zevik {

class CEventFileInputSource final : public IInputSource {
public:
    explicit CEventFileInputSource(std::vector<std::filesystem::path> files) : files_(std::move(files)) {}
    bool Start(InputEventSink sink, std::string& error) override;
    void Stop() override {}

private:
    std::vector<std::filesystem::path> files_;
};

}  // namespace zevik
