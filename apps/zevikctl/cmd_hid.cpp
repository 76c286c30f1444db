// zevikctl hid: the HID interfaces present (list) and the parser's view of a report descriptor file.

#include <CLI/CLI.hpp>
#include <fmt/core.h>
#include <json/json.h>

#include <cctype>
#include <fstream>
#include <iostream>
#include <memory>

#include "cli_context.h"
#include "commands.h"
#include "transport/hid_interface.h"
#include "transport/hid_report_descriptor.h"

namespace zevik::cli {
namespace {

void PrintJson(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "  ";
    std::cout << Json::writeString(builder, value) << '\n';
}

int ListInterfaces(CliContext& context) {
    IHidBackend* backend = context.Backend();
    if (backend == nullptr) return kExitUsage;
    CHidInterface probe(*backend);
    if (!probe.EnumeratePaths()) {
        fmt::print(stderr, "zevikctl: cannot list the HID interfaces\n");
        return kExitFailed;
    }
    Json::Value list(Json::arrayValue);
    CHidInterface device(*backend);
    while (const std::string* path = probe.NextPath()) {
        // Describing an interface needs no access to its reports.
        if (!device.Open(*path, false, false, true, false)) {
            if (context.options.json) {
                Json::Value entry;
                entry["path"] = *path;
                entry["error"] = "cannot open";
                list.append(entry);
            } else {
                fmt::print("{} (cannot open)\n", *path);
            }
            continue;
        }
        if (context.options.json) {
            Json::Value entry;
            entry["path"] = *path;
            entry["vendor_id"] = device.VendorId();
            entry["product_id"] = device.ProductId();
            entry["interface"] = device.InterfaceNumber();
            entry["collection"] = device.CollectionNumber();
            entry["usage_page"] = device.UsagePage();
            entry["usage"] = device.Usage();
            entry["input_length"] = device.InputReportLength();
            entry["output_length"] = device.OutputReportLength();
            entry["feature_length"] = device.FeatureReportLength();
            list.append(entry);
        } else {
            fmt::print("{} vendor={:04x} product={:04x} interface={} collection={} usage_page={:04x} usage={:04x} "
                       "input={} output={} feature={}\n",
                       *path, device.VendorId(), device.ProductId(), device.InterfaceNumber(),
                       device.CollectionNumber(), device.UsagePage(), device.Usage(), device.InputReportLength(),
                       device.OutputReportLength(), device.FeatureReportLength());
        }
        device.Close();
    }
    if (context.options.json) PrintJson(list);
    return kExitOk;
}

// Hex text: pairs of hex digits, optionally written 0xNN, separated by white space or commas.
// False when the text holds anything else.
bool ParseHexText(const std::string& text, std::vector<uint8_t>& bytes) {
    bytes.clear();
    size_t i = 0;
    auto digit = [](char c) {
        const int lower = std::tolower(static_cast<unsigned char>(c));
        if (lower >= '0' && lower <= '9') return lower - '0';
        if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
        return -1;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c)) != 0 || c == ',') {
            ++i;
            continue;
        }
        if (c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) i += 2;
        if (i + 1 >= text.size() || digit(text[i]) < 0 || digit(text[i + 1]) < 0) return false;
        bytes.push_back(static_cast<uint8_t>(digit(text[i]) * 16 + digit(text[i + 1])));
        i += 2;
        if (i < text.size() && digit(text[i]) >= 0) return false;  // three digits in a row
    }
    return true;
}

int ParseDescriptorFile(CliContext& context, const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        fmt::print(stderr, "zevikctl: cannot read {}\n", file);
        return kExitFailed;
    }
    std::string content;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) content.append(chunk, static_cast<size_t>(in.gcount()));
    std::vector<uint8_t> bytes;
    if (!ParseHexText(content, bytes) || bytes.empty()) bytes.assign(content.begin(), content.end());

    HidReportDescriptor descriptor;
    std::string error;
    if (!descriptor.Parse(bytes, &error)) {
        fmt::print(stderr, "zevikctl: {}: not a valid report descriptor: {}\n", file, error);
        return kExitFailed;
    }
    Json::Value list(Json::arrayValue);
    int number = 0;
    for (const HidTopCollection& collection : descriptor.Collections()) {
        ++number;
        const uint16_t input = collection.ReportLength(HidReportType::Input);
        const uint16_t output = collection.ReportLength(HidReportType::Output);
        const uint16_t feature = collection.ReportLength(HidReportType::Feature);
        if (context.options.json) {
            Json::Value entry;
            entry["collection"] = number;
            entry["usage_page"] = collection.usagePage;
            entry["usage"] = collection.usage;
            entry["input_length"] = input;
            entry["output_length"] = output;
            entry["feature_length"] = feature;
            Json::Value ids(Json::arrayValue);
            for (uint8_t id : collection.reportIds) ids.append(id);
            entry["report_ids"] = ids;
            list.append(entry);
        } else {
            std::string ids;
            for (uint8_t id : collection.reportIds) ids += (ids.empty() ? "" : ",") + std::to_string(id);
            fmt::print("collection {}: usage_page={:04x} usage={:04x} input={} output={} feature={} report_ids={}\n",
                       number, collection.usagePage, collection.usage, input, output, feature, ids);
        }
    }
    if (context.options.json) PrintJson(list);
    return kExitOk;
}

}  // namespace

void RegisterHidCommands(CLI::App& app, CliContext& context, int& exitCode) {
    CLI::App* hid = app.add_subcommand("hid", "HID interfaces and report descriptors");
    hid->require_subcommand(1);

    CLI::App* list = hid->add_subcommand("list", "Every HID interface path with its ids, usage and report lengths");
    list->callback([&context, &exitCode] { exitCode = ListInterfaces(context); });

    auto file = std::make_shared<std::string>();
    CLI::App* parse = hid->add_subcommand("parse-descriptor", "The top-level collections of a report descriptor");
    parse->add_option("FILE", *file, "Report descriptor, binary or hex text")->required();
    parse->callback([&context, &exitCode, file] { exitCode = ParseDescriptorFile(context, *file); });
}

}  // namespace zevik::cli
