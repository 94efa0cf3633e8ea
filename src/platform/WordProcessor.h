// The word processor that converts ".doc" documents to and from RTF: LibreOffice run headless
// (soffice --convert-to) with a private profile, an argument vector and a time-out, when it is
// installed.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace orvo {

class IShell;

/// Shown when no word processor can do a conversion.
inline constexpr std::string_view kNoWordProcessor =
    "MsWord non installato, o linguaggio di MsWord non supportato.";

class IWordProcessor {
public:
    virtual ~IWordProcessor() = default;
    /// Whether conversions can be tried at all.
    virtual bool Available() const = 0;
    /// Converts `file` into `folder` as `format` ("doc", "rtf", or a format with its filter,
    /// "txt:Text (encoded):UTF8"); returns the path of the file made (its name is the
    /// source's with the format's extension).
    virtual Result<std::filesystem::path> Convert(const std::filesystem::path& file,
                                                  std::string_view format,
                                                  const std::filesystem::path& folder) = 0;
};

/// The first executable `program` in the folders of `path` (a PATH value); empty when none.
std::filesystem::path FindOnPath(std::string_view program, std::string_view path);

/// LibreOffice through `soffice` on the PATH.
class LibreOfficeWordProcessor final : public IWordProcessor {
public:
    /// `profile` is a private folder for LibreOffice's user profile, so a session the user
    /// has open does not take the conversion over (it is made when missing).
    LibreOfficeWordProcessor(IShell& shell, std::filesystem::path profile,
                             std::chrono::milliseconds timeout = std::chrono::minutes(2));

    /// The program run: "soffice" found on the PATH when empty.
    std::filesystem::path program;

    bool Available() const override;
    Result<std::filesystem::path> Convert(const std::filesystem::path& file,
                                          std::string_view format,
                                          const std::filesystem::path& folder) override;
    /// The argument vector of one conversion.
    std::vector<std::string> Arguments(const std::filesystem::path& file, std::string_view format,
                                       const std::filesystem::path& folder) const;

private:
    std::filesystem::path Program() const;

    IShell& shell_;
    std::filesystem::path profile_;
    std::chrono::milliseconds timeout_;
};

/// The value of soffice's -env:UserInstallation for a folder: a file URL, its bytes outside
/// the unreserved set written as %XX.
std::string FileUrl(const std::filesystem::path& folder);

}  // namespace orvo
