// The desktop program's command line: the switches that choose what happens after start-up,
// and the document to open.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace orvo {

/// What the next-action timer does once the main window is shown.
enum class NextAction {
    ProbeWordProcessor = 0,  // no switch
    Print = 1,               // "/PRINT"
    PublishServer = 2,       // "/PORVO"
    PublishFtp = 3           // "/PFTP"
};

struct CommandLine {
    NextAction nextAction = NextAction::ProbeWordProcessor;
    bool install = false;        // "/INIT": register the program with the desktop
    std::filesystem::path file;  // empty: open the last document
    bool operator==(const CommandLine&) const = default;
};

/// Reads the arguments after the program's name (bytes as the system gave them).
///
/// Only "/PRINT", "/PFTP", "/PORVO" and "/INIT", in any case, are switches, and only as the
/// first argument and when no file of that name exists: every absolute path begins with "/",
/// so anything else is a file name. After a switch the second argument is the file; without
/// one all arguments joined by single blanks form the file name, so an unquoted name with
/// blanks still opens.
CommandLine ParseCommandLine(const std::vector<std::string>& args,
                             const std::function<bool(const std::filesystem::path&)>& exists);

/// The desktop registration that "/INIT" makes, below the user's data folder (the
/// XDG_DATA_HOME of the desktop): a shared-mime-info package that names "*.kyt" files
/// "Orvo hypertext", the program's icon when one is given, and a desktop entry that starts
/// `program` on them and shows that icon. Every file is replaced atomically; running it again
/// gives the same files.
struct DesktopRegistration {
    std::filesystem::path mimePackage;   // <dataHome>/mime/packages/orvo.xml
    std::filesystem::path desktopEntry;  // <dataHome>/applications/orvo.desktop
    std::filesystem::path icon;          // <dataHome>/icons/hicolor/scalable/apps/orvo.svg
};
DesktopRegistration DesktopRegistrationPaths(const std::filesystem::path& dataHome);
std::string MimePackageText();
/// The entry; with an `icon` path an "Icon=" line names that file.
std::string DesktopEntryText(const std::filesystem::path& program,
                             const std::filesystem::path& icon = {});
/// `iconSvg` empty: no icon is installed and the entry names none.
Status RegisterWithDesktop(const std::filesystem::path& dataHome,
                           const std::filesystem::path& program, std::string_view iconSvg = {});

}  // namespace orvo
