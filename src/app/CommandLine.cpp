// The desktop program's command line, and the desktop registration of "/INIT".
#include "app/CommandLine.h"

#include <array>
#include <vector>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"

namespace orvo {

namespace {

struct Switch {
    std::string_view name;  // after the "/"
    NextAction action;
    bool install;
};
constexpr std::array kSwitches{
    Switch{"PRINT", NextAction::Print, false},
    Switch{"PFTP", NextAction::PublishFtp, false},
    Switch{"PORVO", NextAction::PublishServer, false},
    Switch{"INIT", NextAction::ProbeWordProcessor, true},
};

const Switch* SwitchOf(std::string_view arg) {
    if (arg.size() < 2 || arg[0] != '/') return nullptr;
    const std::string upper = Upper1252(arg.substr(1));
    for (const Switch& s : kSwitches)
        if (upper == s.name) return &s;
    return nullptr;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args,
                             const std::function<bool(const std::filesystem::path&)>& exists) {
    CommandLine line;
    if (args.empty()) return line;
    const Switch* first = SwitchOf(args[0]);
    if (first && !exists(std::filesystem::path(args[0]))) {
        line.nextAction = first->action;
        line.install = first->install;
        if (args.size() > 1) line.file = args[1];
        return line;
    }
    std::string joined;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0) joined += ' ';
        joined += args[i];
    }
    line.file = joined;
    return line;
}

DesktopRegistration DesktopRegistrationPaths(const std::filesystem::path& dataHome) {
    return {dataHome / "mime" / "packages" / "orvo.xml", dataHome / "applications" / "orvo.desktop",
            dataHome / "icons" / "hicolor" / "scalable" / "apps" / "orvo.svg"};
}

std::string MimePackageText() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"application/x-orvo-hypertext\">\n"
           "    <comment>Orvo hypertext</comment>\n"
           "    <glob pattern=\"*.kyt\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

namespace {

// A string value of a desktop entry: a backslash, a line break, a tab and a carriage return
// written as escapes.
std::string EntryString(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::string DesktopEntryText(const std::filesystem::path& program,
                             const std::filesystem::path& icon) {
    // The Exec key quotes the program as one argument (", `, $ and \ escaped inside the
    // quotes, % doubled), and a string value escapes each backslash once more.
    std::string quoted = "\"";
    for (char c : program.string()) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    std::string exec;
    for (char c : quoted) {
        if (c == '\\') exec += '\\';
        if (c == '\n') {
            exec += "\\n";
            continue;
        }
        exec += c;
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Orvo 3\n"
           "Comment=Orvo hypertext\n"
           "Exec=" +
           exec + " %f\n" +
           (icon.empty() ? std::string() : "Icon=" + EntryString(icon.string()) + "\n") +
           "MimeType=application/x-orvo-hypertext;\n"
           "Terminal=false\n"
           "Categories=Office;\n";
}

Status RegisterWithDesktop(const std::filesystem::path& dataHome,
                           const std::filesystem::path& program, std::string_view iconSvg) {
    const DesktopRegistration paths = DesktopRegistrationPaths(dataHome);
    std::error_code ec;
    std::vector<std::filesystem::path> files{paths.mimePackage, paths.desktopEntry};
    if (!iconSvg.empty()) files.push_back(paths.icon);
    for (const auto& p : files) {
        std::filesystem::create_directories(p.parent_path(), ec);
        if (ec) return Fail(NameOfPath(p.parent_path()) + ": " + ec.message());
    }
    if (Status s = WriteFileAtomically(paths.mimePackage, MimePackageText()); !s) return s;
    // The icon first, so that the entry never names a file that is not there.
    if (!iconSvg.empty()) {
        if (Status s = WriteFileAtomically(paths.icon, iconSvg); !s) return s;
    }
    return WriteFileAtomically(
        paths.desktopEntry,
        DesktopEntryText(program, iconSvg.empty() ? std::filesystem::path() : paths.icon));
}

}  // namespace orvo
