// zevikctl audio send KIND FILE: FILE's bytes as one record of the audio capture side ("CopyData"
// with that kind) to the running zevik over the session bus. The words and the file are checked
// first (exit 2); no program on the bus is a failure (exit 1).

#include <CLI/CLI.hpp>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "shell/command_numbers.h"

#ifdef ZEVIK_HAVE_QTDBUS
#include <QByteArray>

#include "program_call.h"
#endif

namespace zevik::cli {

namespace {

// A record is at most 2000 bytes where it lands; more is cut there, so a file far larger than that
// is a mistake rather than a record.
constexpr std::uintmax_t kFileBytesMax = 65536;

struct AudioSend {
    std::uint32_t kind = 0;
    std::vector<std::uint8_t> bytes;
};

std::optional<AudioSend> ParseSend(const std::vector<std::string>& words, std::string& error) {
    if (words.size() != 3 || words[0] != "send") {
        error = "audio takes send KIND FILE";
        return std::nullopt;
    }
    const std::optional<std::uint32_t> kind = WholeNumber<std::uint32_t>(words[1]);
    if (!kind) {
        error = "\"audio send\" takes a kind of 0 to " +
                std::to_string(std::numeric_limits<std::uint32_t>::max()) + ", not \"" + words[1] + "\"";
        return std::nullopt;
    }
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(words[2], ec);
    if (ec || !std::filesystem::is_regular_file(words[2], ec)) {
        error = "cannot read \"" + words[2] + "\"";
        return std::nullopt;
    }
    if (size > kFileBytesMax) {
        error = "\"audio send\" takes a file of at most " + std::to_string(kFileBytesMax) + " bytes";
        return std::nullopt;
    }
    std::ifstream in(words[2], std::ios::binary);
    AudioSend send{*kind, {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}};
    if (!in.good() && !in.eof()) {
        error = "cannot read \"" + words[2] + "\"";
        return std::nullopt;
    }
    return send;
}

#ifdef ZEVIK_HAVE_QTDBUS
bool SendRecord(const AudioSend& send, std::string& error) {
    const QByteArray bytes(reinterpret_cast<const char*>(send.bytes.data()),
                           static_cast<qsizetype>(send.bytes.size()));
    return CallRunningProgram("CopyData", {QVariant::fromValue(static_cast<uint>(send.kind)), QVariant(bytes)},
                              "record", error);
}
#else
bool SendRecord(const AudioSend&, std::string& error) {
    error = "this build has no session bus support";
    return false;
}
#endif

int RunAudio(const std::vector<std::string>& words) {
    std::string error;
    const std::optional<AudioSend> send = ParseSend(words, error);
    if (!send) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitUsage;
    }
    if (!SendRecord(*send, error)) {
        std::cerr << "zevikctl: " << error << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace

CLI::App* AudioCommandGroup(CLI::App& app) {
    for (CLI::App* sub : app.get_subcommands([](CLI::App* a) { return a->get_name() == "audio"; })) return sub;
    CLI::App* audio = app.add_subcommand("audio", "The music mode's sound records");
    audio->require_subcommand(1);
    return audio;
}

void RegisterAudioCommands(CLI::App& app, CliContext&, int& exitCode) {
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App* send = AudioCommandGroup(app)->add_subcommand(
        "send", "FILE's bytes as one record of that kind to the running zevik (\"CopyData\")");
    send->add_option("WORDS", *words, "KIND FILE")->required();
    send->callback([&exitCode, words] {
        std::vector<std::string> all{"send"};
        all.insert(all.end(), words->begin(), words->end());
        exitCode = RunAudio(all);
    });
}

}  // namespace zevik::cli
