// Following links to embedded files and to programs, and editing a file with an outside
// program: the file-type behaviours decide, the desktop shell does the work.
#pragma once

#include <array>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/u3Utils.h"
#include "base/Result.h"
#include "platform/IScheduler.h"
#include "platform/IShell.h"

namespace orvo {

/// A file embedded in the hypertext (a `genLink` object), as following a link needs it.
class IEmbeddedFile {
public:
    virtual ~IEmbeddedFile() = default;
    /// The object's file name as stored (Windows-1252, may carry a folder).
    virtual std::string FileName() const = 0;
    /// Writes the content into the container's working folder; the path written.
    virtual Result<std::filesystem::path> ExtractContent() = 0;
    virtual Status SaveContentAs(const std::filesystem::path& target) = 0;
};

/// The buttons of "Collegamento a file".
enum class FileLinkAction { Esegui, Salva, Avanzate, Annulla };

/// The texts of "Collegamento a file": its caption, the line above the file's name (shown
/// without its folder), the line below it, and its buttons in their order with their access
/// keys. "&Salva..." is the default button; closing the window is "&Annulla".
inline constexpr std::string_view kFileLinkCaption = "Collegamento a file";
inline constexpr std::string_view kFileLinkPointsTo = "Il collegamento seguito punta al file:";
inline constexpr std::string_view kFileLinkChoose = "Scegli l'azione da compiere:";
struct FileLinkButton {
    FileLinkAction action;
    std::string_view caption;
};
inline constexpr std::array<FileLinkButton, 4> kFileLinkButtons{
    {{FileLinkAction::Esegui, "&Esegui"},
     {FileLinkAction::Salva, "&Salva..."},
     {FileLinkAction::Avanzate, "A&vanzate..."},
     {FileLinkAction::Annulla, "&Annulla"}}};
inline constexpr FileLinkAction kFileLinkDefault = FileLinkAction::Salva;
/// The title of the open dialog that chooses the program editing a file.
inline constexpr std::string_view kChooseApplicationTitle = "Scegli l'applicazione da usare:";

/// The windows these operations show.
class ILinkedFileWindows {
public:
    virtual ~ILinkedFileWindows() = default;
    /// "Collegamento a file" for a file of that name (without its folder).
    virtual FileLinkAction AskFileAction(std::string_view fileName) = 0;
    /// The save dialog, proposing `fileName`; nullopt when cancelled.
    virtual std::optional<std::filesystem::path> AskSavePath(std::string_view fileName) = 0;
    /// The options window, modal, at the tab "Estensioni/applicazioni".
    virtual void ShowFileTypeOptions() = 0;
    /// The open dialog "Scegli l'applicazione da usare:"; nullopt when nothing was chosen.
    virtual std::optional<std::filesystem::path> ChooseApplication() = 0;
};

/// The waiter of an outside program: it learns when the program ends and reports it on the
/// owner thread. Keep it to ask whether the program still runs or to stop it.
class TProcDoneThread {
public:
    explicit TProcDoneThread(int processId) : processId_(processId) {}
    int ProcessId() const { return processId_; }
    bool Done() const { return done_.load(); }
    int ExitStatus() const { return exitStatus_.load(); }

private:
    friend class LinkedFiles;
    int processId_;
    std::atomic<bool> done_{false};
    std::atomic<int> exitStatus_{0};
};

/// "Il collegamento avvia il programma \"NAME\". Vuoi avviarlo?"
std::string StartProgramQuestion(std::string_view name);

/// True for a file that runs when opened: an extension of programs, scripts or launchers
/// (".exe", ".sh", ".desktop", ...), or content that starts as one ("#!", an ELF header, "MZ").
bool IsProgramFile(std::string_view fileName, std::string_view firstBytes = {});

/// The parameters a "prog:" link hands to its program: a `dbloc` object's attributes as lines
/// name="value" CR LF in their order, then the auxiliary data after its header (its first 4
/// bytes give the header's length).
std::string BuildProgramParameters(
    const std::vector<std::pair<std::string, std::string>>& dblocAttributes,
    std::string_view auxiliaryData);

class LinkedFiles {
public:
    LinkedFiles(SettingsStore& store, IShell& shell, IScheduler& scheduler,
                ILinkedFileWindows& windows);

    /// A link to an embedded file was followed: the behaviour of its type (default: ask).
    void openLinkedFile(IEmbeddedFile& file);

    /// Starts the program that edits `file` (behaviour default: the desktop's program).
    /// `onDone` runs on the owner thread when the program ends. No waiter when no program was
    /// found or it could not start: the caller reports that.
    std::shared_ptr<TProcDoneThread> runWithApplication(const std::filesystem::path& file,
                                                        std::function<void(int)> onDone);

    /// A web link whose address begins with "prog:" was followed. Nothing starts unless the
    /// user answers Yes to StartProgramQuestion.
    void runRegisteredProgram(std::string_view address, std::string_view parameters,
                              const std::filesystem::path& workingFolder);

private:
    void RunExtracted(IEmbeddedFile& file, bool withApplication);
    void SaveAs(IEmbeddedFile& file);
    void Report(const Failure& failure);
    std::optional<ShellCommand> ProgramForEditing(const std::filesystem::path& file);

    SettingsStore& store_;
    IShell& shell_;
    IScheduler& scheduler_;
    ILinkedFileWindows& windows_;
};

}  // namespace orvo
