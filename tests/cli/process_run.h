#pragma once
// Runs zevikctl (or any shell command) as a process for the command-line tests, and parses what it
// prints.

#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace zevik::test {

struct Outcome {
    int exitCode = -1;
    std::string out;  // what the command writes to stdout (and stderr where it is redirected there)
};

// Runs command through the shell; stderrTo is the redirection of stderr ("2>&1": into out).
inline Outcome RunShell(const std::string& command, const std::string& stderrTo = "2>&1") {
    Outcome run;
    FILE* pipe = popen((command + " " + stderrTo).c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// zevikctl with these arguments.
inline Outcome RunZevikctl(const std::string& arguments, const std::string& stderrTo = "2>&1") {
    return RunShell(std::string(ZEVIKCTL_PATH) + " " + arguments, stderrTo);
}

// The one JSON document of text; a test failure when it does not parse.
inline Json::Value ParseJson(const std::string& text) {
    Json::Value value;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, &errors)) << errors << text;
    return value;
}

}  // namespace zevik::test
