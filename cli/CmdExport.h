// The formats of orvo-cli export: each cli/CmdExport<Format>.cpp registers one with a static
// ExportFormatRegistration, as commands register themselves.
#pragma once

#include <string_view>
#include <vector>

#include "CliCommand.h"

namespace orvo::cli {

struct ExportFormat {
    std::string_view name;   // the word after "export"
    std::string_view usage;  // "orvo-cli export NAME ..." and its options, one or more lines
    CliRun run;              // gets the arguments after the format's name
};

class ExportFormats {
public:
    static void Add(const ExportFormat& format);
    /// Sorted by name.
    static const std::vector<ExportFormat>& All();
};

struct ExportFormatRegistration {
    explicit ExportFormatRegistration(const ExportFormat& format) { ExportFormats::Add(format); }
};

}  // namespace orvo::cli
