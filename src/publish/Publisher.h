// Publishing a hypertext over FTP: the rules of the publishing window without its widgets.
// The site is exported beside the document, the server's version page tells which version it
// holds, the items changed since then are sent (pictures into "images/" when the exporter
// puts them there), what was sent is stamped, and a new version page is written. The same
// rules send and fetch the ".kyt" file itself and keep the server configurations.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "model/ObjectHolders.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"
#include "publish/FtpListing.h"
#include "publish/PublishConfigurations.h"
#include "publish/uQzFtp.h"

namespace orvo {

class TKYTset;
class TKYTtoHtml;
class TKYTListHtmlToTx;

inline constexpr std::string_view kPublishOkText = "Pubblicazione OK.";
inline constexpr std::string_view kImagesFolderErrorText = "Errore creando directory per immagini";
inline constexpr std::string_view kStoppedByUserText = "Interrotto dall'utente";
inline constexpr std::string_view kPublishErrorText = "Errore";
inline constexpr std::string_view kCannotConnectText = "Impossibile connettersi";
inline constexpr std::string_view kTransferOkText = "Trasferimento OK";
inline constexpr std::string_view kEnterPasswordText = "Introdurre la password!";
inline constexpr std::string_view kSaveFirstQuestion =
    "E' necessario salvare il file anche in locale,\rlo faccio?";
inline constexpr std::string_view kNewConfigurationPrompt =
    "Inserisci il nome per la nuova configurazione server";
inline constexpr std::string_view kPromptCaption = "Pubblicazione in rete tramite FTP";
inline constexpr std::string_view kCloseWhileBusyQuestion =
    "Alcune operazioni di rete sono ancora in corso. Vuoi cancellarle?";
/// The folder beside the document the site is exported into.
inline constexpr std::string_view kExportFolderName = "TmpExpHtml";
/// "Rinomina la configurazione \"" + name + "\":".
std::string RenameConfigurationPrompt(std::string_view name);

/// Results of a publication besides the runner's own (200, 0 stopped, -1, -6).
inline constexpr int kImagesFolderFailed = -20;
/// A checked item whose local file is missing or cannot be written.
inline constexpr int kLocalFileFailed = -21;

/// The status after a publication: 200 "Pubblicazione OK.", -20 the images folder, 0 stopped,
/// anything else "Errore".
std::string_view PublishStatusText(int result);
/// The status after a transfer of the document file.
std::string_view TransferStatusText(int result);

/// The modes the window is opened in.
enum class PublishMode { Publish = 0, Unused = 1, TransferDocument = 2, Configurations = 3 };

/// One file sent (or to be sent): the local file, empty for the version page, which goes from
/// memory; the remote path; its size.
struct PublishTransfer {
    std::string local;
    std::string remote;
    std::int64_t bytes = 0;
    bool operator==(const PublishTransfer&) const = default;
};

class Publisher {
public:
    /// `list` is linked to `html`, which is linked to `set`; `comm` is the window's session.
    /// The list's exported objects follow the saves and loads of `set` through `holders`.
    Publisher(TKYTset& set, ObjectHolders& holders, TKYTtoHtml& html, TKYTListHtmlToTx& list,
              TQzFtpComm& comm, ISettings& settings, IMessages& messages);

    /// The main window's save command; true when the document was saved.
    std::function<bool()> SaveDocument;
    /// True when a publication or transfer starts, false when it ends: the window disables its
    /// buttons and the editor shows no page meanwhile.
    std::function<void(bool running)> OnRunning;
    /// The export's progress as the status bar shows it ("Export in corso, fase 1: 40%").
    std::function<void(const std::string& text)> OnExportProgress;
    /// After every file the server accepted.
    std::function<void(const PublishTransfer& sent)> OnSent;

    // Opening.
    /// Exports the whole site into kExportFolderName beside the document (the prefix override
    /// cleared, the exported-items list emptied first) and rebuilds the list. Also what
    /// "Opzioni..." does after the export options were confirmed.
    Status ExportSite();
    /// The window's start in `mode`: the configuration names, "autoChooseMod", the
    /// configuration last used in that mode in the fields, host, user, port and time-out given
    /// to the session; in the publishing modes the list rebuilt. The window then connects.
    void Start(PublishMode mode);

    // The configurations.
    FtpServerConfig& Fields() { return fields_; }
    const FtpServerConfig& Fields() const { return fields_; }
    int Selected() const { return selected_; }
    const std::vector<std::string>& ConfigurationNames() const { return names_; }
    bool AutoChoose() const { return autoChoose_; }
    void SetAutoChoose(bool on) { autoChoose_ = on; }
    /// Stops what runs, keeps the fields in the configuration that was selected, loads
    /// `index` and connects.
    int SelectConfiguration(int index);
    /// "Aggiungi nuova...": the fields kept; a non-empty name becomes a new configuration,
    /// selected and loaded. False for an empty name.
    bool AddConfiguration(std::string_view name);
    /// "Rinomina corrente...": false for an empty name.
    bool RenameCurrent(std::string_view name);
    /// "Applica configurazione": the fields kept, what runs stopped, the session told, connect.
    int ApplyConfiguration();
    /// "Chiudi": the fields kept and the configuration remembered for this mode.
    void CloseButton();
    /// Closing in any way. While an operation runs the user is asked whether to stop it; false
    /// when the window stays open.
    bool RequestClose();

    // The server.
    /// "Connetti": the session closed and opened again on the configured folder, listed, its
    /// version read. Result of the runner; on -6 the status reads "Impossibile connettersi".
    int Connect();
    /// Changes the remote folder (connecting when needed), lists it, reads the version and,
    /// with AutoChoose, chooses the changed items.
    int ChangeDirectory(const std::string& directory);
    /// "Ricarica".
    int Reload();
    /// The remote folder, always ending in "/" once known.
    const std::string& Directory() const { return directory_; }
    const std::vector<T_Filedata>& RemoteEntries() const { return remote_; }
    /// -1 when the server holds no readable version page.
    std::int32_t ServerVersion() const { return serverVersion_; }
    std::string VersionLabel() const;
    /// The configured web address followed by the exported name of the main page.
    std::string PageAddress() const;

    // Choosing what to send.
    /// "Modificate": the items whose change stamp is newer than the server's version.
    void ChooseChanged();
    /// "Tutte": checks every item, or unchecks every item at the next press.
    void ToggleAll();
    std::string_view AllCaption() const { return allChecked_ ? "Nessuna" : "Tutte"; }

    // Publishing (mode 0).
    /// What "Pubblica" would send now, in order, the version page last (dry run).
    std::vector<PublishTransfer> Plan() const;
    /// "Pubblica": sends the checked items, stamps them, writes the version page. Returns the
    /// result (200, -20, 0 stopped, other failures); StatusText() holds its text.
    int Publish();
    /// "Stop!": stops the running operation; the publication ends "Interrotto dall'utente".
    void Stop();

    // The document file (mode 2).
    /// "Pubblica" in mode 2: saves when asked, then sends the document file.
    int TransferDocument();
    /// "pubblica >": sends local files into the remote folder under their own names.
    int SendFiles(const std::vector<std::string>& localFiles);
    /// "< prendi": fetches the remote files (of the listing) into `folder` under the same
    /// names. A name that would leave the folder is refused; an existing file is replaced only
    /// when the user agrees; the open document is never overwritten.
    int FetchFiles(const std::vector<std::string>& remoteNames,
                   const std::filesystem::path& folder);

    const std::string& StatusText() const { return status_; }
    /// Why the last operation failed, for the user (empty after a success).
    const std::string& Detail() const { return detail_; }
    /// The files the last publication or transfer sent.
    const std::vector<PublishTransfer>& Sent() const { return sent_; }

private:
    void ApplyToSession();
    int EnsureConnected();
    int ListDirectory();
    void ReadServerVersion();
    std::string VersionPageName() const;
    std::string ImagesPart() const;
    int SendItem(int row, bool& imagesPending);
    int MakeImagesFolder();
    int Put(const std::string& local, const std::string& remote);
    /// The status text of a publication that ended with `result`; returns it.
    int Finish(int result);

    TKYTset& set_;
    TKYTtoHtml& html_;
    TKYTListHtmlToTx& list_;
    TQzFtpComm& comm_;
    PublishConfigurations configs_;
    IMessages& messages_;

    PublishMode mode_ = PublishMode::Publish;
    std::vector<std::string> names_;
    int selected_ = 0;
    FtpServerConfig fields_;
    bool autoChoose_ = true;
    bool allChecked_ = false;
    bool running_ = false;

    std::string directory_;
    std::vector<T_Filedata> remote_;
    std::int32_t serverVersion_ = -1;
    std::string status_;
    std::string detail_;
    std::vector<PublishTransfer> sent_;
    ObjectHolders::Registration listHeld_;
};

}  // namespace orvo
