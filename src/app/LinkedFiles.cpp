// Following links to embedded files and programs; editing files with outside programs.
#include "app/LinkedFiles.h"

#include <algorithm>
#include <fstream>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"

namespace orvo {

using namespace orvo::literals;

namespace {

constexpr std::string_view kDefineEditor =
    "Dovresti definire l'editor in Windows, oppure in Orvo usando \"Strumenti >Opzioni "
    "programma...\"";

std::string ProgramFileRefused(std::string_view name) {
    return "Il file \""_cp.data() + std::string(name) +
           "\" è un programma: non viene aperto."_cp.data();
}

std::string FirstBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    char buffer[4] = {};
    in.read(buffer, sizeof buffer);
    return std::string(buffer, std::size_t(in.gcount()));
}

ShellCommand CommandFor(const std::filesystem::path& program, const std::filesystem::path& file) {
    return {{program.string(), file.string()}, file.parent_path()};
}

}  // namespace

std::string StartProgramQuestion(std::string_view name) {
    return "Il collegamento avvia il programma \"" + std::string(name) + "\". Vuoi avviarlo?";
}

bool IsProgramFile(std::string_view fileName, std::string_view firstBytes) {
    static constexpr std::string_view kProgramExtensions[] = {
        ".exe",      ".com",     ".bat", ".cmd", ".pif", ".scr",     ".msi", ".vbs",
        ".vbe",      ".js",      ".jse", ".wsf", ".wsh", ".ps1",     ".lnk", ".jar",
        ".sh",       ".bash",    ".csh", ".ksh", ".zsh", ".run",     ".bin", ".elf",
        ".appimage", ".desktop", ".py",  ".pl",  ".rb",  ".php",     ".cgi", ".reg",
        ".hta",      ".cpl",     ".deb", ".rpm", ".so",  ".command", ".app", ".out"};
    const std::string extension = ExtensionOf(fileName);
    for (std::string_view e : kProgramExtensions)
        if (extension == e) return true;
    if (firstBytes.starts_with("#!") ||
        firstBytes.starts_with("\x7F"
                               "ELF") ||
        firstBytes.starts_with("MZ"))
        return true;
    return false;
}

std::string BuildProgramParameters(
    const std::vector<std::pair<std::string, std::string>>& dblocAttributes,
    std::string_view auxiliaryData) {
    std::string out;
    for (const auto& [name, value] : dblocAttributes) out += name + "=\"" + value + "\"\r\n";
    if (auxiliaryData.size() >= 4) {
        const auto* b = reinterpret_cast<const unsigned char*>(auxiliaryData.data());
        const std::int32_t header =
            std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                         std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
        // The header follows its length; a length that points outside the data copies nothing.
        if (header >= 0 && std::uint64_t(header) <= auxiliaryData.size() - 4)
            out.append(auxiliaryData.substr(4 + std::size_t(header)));
    }
    return out;
}

LinkedFiles::LinkedFiles(SettingsStore& store, IShell& shell, IScheduler& scheduler,
                         ILinkedFileWindows& windows)
    : store_(store), shell_(shell), scheduler_(scheduler), windows_(windows) {}

void LinkedFiles::Report(const Failure& failure) {
    const Box box = failure.severity == Severity::Information ? Box::Information
                    : failure.severity == Severity::Warning   ? Box::Warning
                                                              : Box::Error;
    store_.Messages().Show(box, failure.text);
}

void LinkedFiles::openLinkedFile(IEmbeddedFile& file) {
    const std::string name = file.FileName();
    switch (fileTypeBehaviour(store_, ExtensionOf(name), 0)) {
        case 1:
            SaveAs(file);
            return;
        case 2:
            RunExtracted(file, false);
            return;
        case 3:
            RunExtracted(file, true);
            return;
        default:
            break;
    }
    switch (windows_.AskFileAction(LastComponent(name))) {
        case FileLinkAction::Esegui:
            RunExtracted(file, false);
            break;
        case FileLinkAction::Salva:
            SaveAs(file);
            break;
        case FileLinkAction::Avanzate:
            windows_.ShowFileTypeOptions();
            break;
        case FileLinkAction::Annulla:
            break;
    }
}

void LinkedFiles::SaveAs(IEmbeddedFile& file) {
    const auto target = windows_.AskSavePath(LastComponent(file.FileName()));
    if (!target) return;
    if (Status saved = file.SaveContentAs(*target); !saved) Report(saved.failure());
}

void LinkedFiles::RunExtracted(IEmbeddedFile& file, bool withApplication) {
    auto extracted = file.ExtractContent();
    if (!extracted) {
        Report(extracted.failure());
        return;
    }
    const std::filesystem::path& path = *extracted;
    if (withApplication) {
        const std::string application = fileTypeApplication(store_, ExtensionOf(file.FileName()));
        if (application.empty()) {
            // An empty program would make the file itself the program.
            store_.Messages().Warn(kDefineEditor);
            return;
        }
        auto started = shell_.Start(CommandFor(NativePath(application), path));
        if (!started) Report(started.failure());
        return;
    }
    // A document may carry a program; the default action would run it.
    if (IsProgramFile(file.FileName(), FirstBytes(path))) {
        store_.Messages().Warn(ProgramFileRefused(LastComponent(file.FileName())));
        return;
    }
    if (Status opened = shell_.OpenWithDefault(path); !opened) Report(opened.failure());
}

std::optional<ShellCommand> LinkedFiles::ProgramForEditing(const std::filesystem::path& file) {
    auto chosen = [&]() -> std::optional<ShellCommand> {
        if (auto program = windows_.ChooseApplication()) return CommandFor(*program, file);
        return std::nullopt;
    };
    const std::string extension = ExtensionOf(NameOfPath(file));
    switch (fileTypeBehaviour(store_, extension, 2)) {
        case 0:
            return chosen();
        case 3: {
            const std::string application = fileTypeApplication(store_, extension);
            if (application.empty()) return std::nullopt;
            return CommandFor(NativePath(application), file);
        }
        default: {
            const AssociatedProgram associated = shell_.ProgramFor(file);
            if (associated.outcome == ProgramLookup::Found) return associated.command;
            if (associated.outcome == ProgramLookup::NoAssociation) return chosen();
            return std::nullopt;
        }
    }
}

std::shared_ptr<TProcDoneThread> LinkedFiles::runWithApplication(const std::filesystem::path& file,
                                                                 std::function<void(int)> onDone) {
    std::optional<ShellCommand> command = ProgramForEditing(file);
    if (!command) return nullptr;
    auto waiter = std::make_shared<TProcDoneThread>(0);
    IScheduler& scheduler = scheduler_;
    auto started = shell_.Start(*command, [waiter, &scheduler, onDone](int status) {
        waiter->exitStatus_ = status;
        waiter->done_ = true;
        scheduler.Post([onDone, status] {
            if (onDone) onDone(status);
        });
    });
    if (!started) return nullptr;
    waiter->processId_ = *started;
    return waiter;
}

void LinkedFiles::runRegisteredProgram(std::string_view address, std::string_view parameters,
                                       const std::filesystem::path& workingFolder) {
    std::string_view rest = address;
    if (rest.size() >= 5 && SameText1252(rest.substr(0, 5), "prog:")) rest.remove_prefix(5);
    IMessages& messages = store_.Messages();
    auto writeParameters = [&](std::string_view name) -> std::optional<std::filesystem::path> {
        const std::filesystem::path target = workingFolder / NativePath(name);
        if (Status written = WriteFileAtomically(target, parameters); !written) {
            Report(written.failure());
            return std::nullopt;
        }
        return target;
    };

    if (rest.find('\\') != std::string_view::npos) {
        const std::string program = store_.readValuePath(rest);
        if (program.empty()) {
            messages.Warn("La chiave di registro indicata risulta vuota! (" + std::string(rest) +
                          ")");
            // Instead of a text editor named by a Windows path: the parameters are shown by the
            // desktop's program for text files.
            if (auto file = writeParameters("params.txt"))
                if (Status opened = shell_.OpenWithDefault(*file); !opened)
                    Report(opened.failure());
            return;
        }
        if (!messages.Ask(StartProgramQuestion(program))) return;
        auto file = writeParameters("params.txt");
        if (!file) return;
        auto started =
            shell_.Start({{NativePath(program).string(), file->string()}, workingFolder});
        if (!started) Report(started.failure());
        return;
    }

    const std::string name = "params" + ExtensionOf(rest);
    if (!IsSafeName(name) || IsProgramFile(name)) {
        messages.Warn(ProgramFileRefused(name));
        return;
    }
    if (!messages.Ask(StartProgramQuestion(rest))) return;
    auto file = writeParameters(name);
    if (!file) return;
    if (Status opened = shell_.OpenWithDefault(*file); !opened) Report(opened.failure());
}

}  // namespace orvo
