#pragma once
// Diagnostic trace lines (the program's debugger output). They carry no behaviour:
// nothing may depend on whether a line was written.

#include <string_view>

namespace zevik {

class ITraceSink {
public:
    virtual ~ITraceSink() = default;
    virtual void Write(std::string_view line) = 0;
};

// True when some sink listens; callers skip formatting costly lines otherwise.
bool TraceEnabled();

// Writes one line to the current sink (stderr when ZEVIK_TRACE=1, else nowhere).
void Trace(std::string_view line);

// Installs a sink (tests, the command line's log) and returns the previous one; nullptr restores the
// default. The caller keeps ownership and must restore the previous sink before the sink dies.
ITraceSink* SetTraceSink(ITraceSink* sink);

}  // namespace zevik
