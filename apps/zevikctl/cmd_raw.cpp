// zevikctl raw: single vendor commands on the command interface of one catalogue device.

#include <CLI/CLI.hpp>
#include <fmt/core.h>

#include <array>
#include <cctype>
#include <charconv>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "cli_context.h"
#include "commands.h"
#include "platform/hex_text.h"
#include "transport/command_channel.h"
#include "transport/command_set.h"
#include "transport/device_catalogue.h"

namespace zevik::cli {
namespace {

constexpr uint32_t kAddressSpace = 0x10000;  // transfer addresses are 16-bit

// A decimal or 0x-hexadecimal number.
std::optional<uint32_t> ParseNumber(const std::string& text) {
    int base = 10;
    size_t start = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        start = 2;
    }
    uint32_t value = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value, base);
    if (error != std::errc() || end != last || first == last) return std::nullopt;
    return value;
}

// Hex bytes: pairs of digits, with or without spaces between the pairs.
std::optional<std::vector<uint8_t>> ParseHexData(const std::string& text) {
    std::vector<uint8_t> bytes;
    std::string digits;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)) != 0) continue;
        if (std::isxdigit(static_cast<unsigned char>(c)) == 0) return std::nullopt;
        digits += c;
    }
    if (digits.empty() || digits.size() % 2 != 0) return std::nullopt;
    for (size_t i = 0; i < digits.size(); i += 2) {
        uint8_t byte = 0;
        std::from_chars(digits.data() + i, digits.data() + i + 2, byte, 16);
        bytes.push_back(byte);
    }
    return bytes;
}

struct RawArgs {
    std::string device;
    std::string address;
    std::string length;
    std::string data;
};

// The channel open on the command interface of the named catalogue device.
class OpenDevice {
public:
    // exitCode is kExitOk on success; otherwise the message has been printed.
    OpenDevice(CliContext& context, const std::string& name, int& exitCode) {
        exitCode = Open(context, name);
    }
    ~OpenDevice() {
        if (channel_) channel_->CloseConnections();
    }
    OpenDevice(const OpenDevice&) = delete;
    OpenDevice& operator=(const OpenDevice&) = delete;

    CCommandChannel& Channel() { return *channel_; }

private:
    int Open(CliContext& context, const std::string& name) {
        const CommandInterfaceRow* row = FindCommandInterface(name);
        if (row == nullptr) {
            fmt::print(stderr, "zevikctl: unknown device \"{}\"\n", name);
            return kExitUsage;
        }
        IHidBackend* backend = context.Backend();
        if (backend == nullptr) return kExitUsage;

        CHidInterface probe(*backend);
        if (!probe.EnumeratePaths()) {
            fmt::print(stderr, "zevikctl: cannot list the HID interfaces\n");
            return kExitFailed;
        }
        channel_ = std::make_unique<CCommandChannel>(*backend);
        const bool receiver = row->connectionMode == kConnectionReceiver;
        CHidInterface& link = receiver ? channel_->ReceiverInterface() : channel_->CableInterface();
        const std::lock_guard lock(channel_->ExchangeLock());
        while (const std::string* path = probe.NextPath()) {
            if (!PathMatches(*row, *path)) continue;
            if (!link.Open(*path, true, true, true, false)) continue;
            if (link.UsagePage() == row->usagePage && link.Usage() == row->usage) {
                channel_->SetConnectionMode(row->connectionMode);
                channel_->SetOpen(true);
                return kExitOk;
            }
            link.Close();
        }
        fmt::print(stderr, "zevikctl: no {} found\n", name);
        return kExitFailed;
    }

    std::unique_ptr<CCommandChannel> channel_;
};

int Failed(const char* what, int result) {
    fmt::print(stderr, "zevikctl: {} failed: {} ({})\n", what, CommandResultText(result), result);
    return kExitFailed;
}

int RunInfo(CliContext& context, const RawArgs& args) {
    int exitCode = kExitOk;
    OpenDevice device(context, args.device, exitCode);
    if (exitCode != kExitOk) return exitCode;
    std::array<uint8_t, kDeviceInfoSize> info{};
    const int result = ReadDeviceInfo(device.Channel(), info);
    if (result != kResultDone) return Failed("reading the device information", result);
    fmt::print("{}\n", FormatHexBytes(info, " "));
    return kExitOk;
}

int RunStatus(CliContext& context, const RawArgs& args) {
    int exitCode = kExitOk;
    OpenDevice device(context, args.device, exitCode);
    if (exitCode != kExitOk) return exitCode;
    constexpr uint8_t kStatusBytes = 6;  // battery, charging, ..., as the devices report them
    std::array<uint8_t, kStatusBytes> status{};
    const int result = ReadStatus(device.Channel(), status, kStatusBytes, 0);
    if (result != kResultDone) return Failed("reading the status", result);
    fmt::print("{}\n", FormatHexBytes(status, " "));
    return kExitOk;
}

int RunKeyTable(CliContext& context, const RawArgs& args) {
    int exitCode = kExitOk;
    OpenDevice device(context, args.device, exitCode);
    if (exitCode != kExitOk) return exitCode;
    std::vector<uint8_t> table(device.Channel().BlockSize());
    const int result = ReadKeyTable(device.Channel(), table);
    if (result != kResultDone) return Failed("reading the key table", result);
    fmt::print("{}\n", FormatHexBytes(table, " "));
    return kExitOk;
}

int RunLink(CliContext& context, const RawArgs& args) {
    int exitCode = kExitOk;
    OpenDevice device(context, args.device, exitCode);
    if (exitCode != kExitOk) return exitCode;
    if (QueryReceiverLink(device.Channel())) {
        fmt::print("linked\n");
        return kExitOk;
    }
    fmt::print("not linked\n");
    return kExitFailed;
}

int Usage(const std::string& message) {
    fmt::print(stderr, "zevikctl: {}\nRun with --help for usage.\n", message);
    return kExitUsage;
}

int RunRead(CliContext& context, const RawArgs& args) {
    const auto address = ParseNumber(args.address);
    const auto length = ParseNumber(args.length);
    if (!address || *address >= kAddressSpace) return Usage("ADDR must be a number from 0 to 0xffff");
    if (!length || *length == 0 || *length > kAddressSpace - *address)
        return Usage("LEN must be a number from 1 to the end of the address space");
    int exitCode = kExitOk;
    OpenDevice device(context, args.device, exitCode);
    if (exitCode != kExitOk) return exitCode;
    std::vector<uint8_t> memory(*length);
    const int result = ReadMemory(device.Channel(), memory, static_cast<uint16_t>(*address));
    if (result != kResultDone) return Failed("reading memory", result);
    fmt::print("{}\n", FormatHexBytes(memory, " "));
    return kExitOk;
}

int RunWrite(CliContext& context, const RawArgs& args) {
    const auto address = ParseNumber(args.address);
    const auto data = ParseHexData(args.data);
    if (!address || *address >= kAddressSpace) return Usage("ADDR must be a number from 0 to 0xffff");
    if (!data) return Usage("HEX must be pairs of hexadecimal digits, e.g. \"01 02 ff\"");
    if (data->size() > kAddressSpace - *address) return Usage("HEX runs past the end of the address space");
    int exitCode = kExitOk;
    OpenDevice device(context, args.device, exitCode);
    if (exitCode != kExitOk) return exitCode;
    CCommandChannel& channel = device.Channel();

    int result = BeginConfig(channel);
    if (result != kResultDone) return Failed("starting the configuration", result);
    const int written = WriteMemory(channel, *data, static_cast<uint16_t>(*address));
    // The configuration frame is closed even when the write failed, so the device leaves it.
    result = EndConfig(channel);
    if (written != kResultDone) return Failed("writing memory", written);
    if (result != kResultDone) return Failed("ending the configuration", result);
    return kExitOk;
}

std::string DeviceNames() {
    std::string names;
    for (const CommandInterfaceRow& row : kCommandInterfaces) names += (names.empty() ? "" : ", ") + std::string(row.name);
    return names;
}

}  // namespace

void RegisterRawCommands(CLI::App& app, CliContext& context, int& exitCode) {
    CLI::App* raw = app.add_subcommand("raw", "Single vendor commands on a device's command interface");
    raw->require_subcommand(1);
    auto args = std::make_shared<RawArgs>();
    const std::string deviceHelp = "The device: " + DeviceNames();

    using Runner = int (*)(CliContext&, const RawArgs&);
    auto add = [&](const char* name, const char* help, Runner run) {
        CLI::App* sub = raw->add_subcommand(name, help);
        sub->add_option("--device", args->device, deviceHelp)->required();
        sub->callback([&context, &exitCode, args, run] { exitCode = run(context, *args); });
        return sub;
    };
    add("info", "Read the 34 bytes of device information", RunInfo);
    add("status", "Read the 6 status bytes", RunStatus);
    add("keytable", "Read the key table (one block)", RunKeyTable);
    add("link", "Ask the receiver whether its device is linked (always linked by cable)", RunLink);
    CLI::App* read = add("read", "Read LEN bytes of memory from ADDR", RunRead);
    read->add_option("ADDR", args->address, "Address, decimal or 0x-hex")->required();
    read->add_option("LEN", args->length, "Byte count, decimal or 0x-hex")->required();
    CLI::App* write = add("write", "Write bytes to memory at ADDR (framed by begin and end of configuration)", RunWrite);
    write->add_option("ADDR", args->address, "Address, decimal or 0x-hex")->required();
    write->add_option("HEX", args->data, "Bytes as hex pairs, e.g. \"01 02 ff\"")->required();
}

}  // namespace zevik::cli
