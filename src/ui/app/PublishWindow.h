// The publishing window "Pubblicazione in rete tramite FTP" (the list of exported items, the
// server configurations, the document transfer), its FTP browser with the progress bar and
// its stop button, and the first-time wizard. Every rule is in Publisher and FtpBrowserRules;
// FTP work runs on the session's worker thread while the window keeps its events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "convert/TKYTListHtmlToTx.h"
#include "publish/FtpBrowserRules.h"
#include "publish/Publisher.h"
#include "publish/TQzFtpTxRxBarRules.h"
#include "ui/app/DialogSupport.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvo {

class IEventPump;
class IScheduler;
class ObjectHolders;

/// The event pump of the desktop: the window's events run while FTP work waits.
class QtEventPump final : public IEventPump {
public:
    void RunUntil(const std::function<bool()>& done) override;
};

/// What the publishing window works on.
struct PublishWindowParts {
    TKYTset& set;
    ObjectHolders& holders;
    TKYTtoHtml& html;
    ISettings& settings;
    IMessages& messages;
    IScheduler& scheduler;
    /// The main window's save command.
    std::function<bool()> save;
};

class PublishWindow final : public PlacedDialog {
public:
    PublishWindow(PublishWindowParts parts, QWidget* parent = nullptr);
    ~PublishWindow() override;

    Publisher& Rules() { return *publisher_; }
    TQzFtpComm& Comm() { return bar_.Comm(); }
    /// Exports the site (mode 0), then starts in `mode`.
    Status Open(PublishMode mode);

    // The buttons.
    int ConnectNow();
    int PublishNow();
    void StopNow();
    void ChooseChanged();
    void ToggleAll();
    int GoUp();
    int OpenFolder(const std::string& name);
    int MakeFolder(const std::string& name);
    int RenameRemote(const std::string& oldName, const std::string& newName);
    /// Deletes the selected remote entries (files with DELE, folders with RMD), each after
    /// the question "Cancello " + name + "?" is answered yes.
    int DeleteSelected();
    /// "pubblica >" with these local files; "< prendi" of the selected remote files.
    int SendFiles(const std::vector<std::string>& files);
    int FetchSelected();

    QTreeWidget* Items() const { return items_; }
    QTreeWidget* Remote() const { return remote_; }
    QString StatusText() const;

protected:
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    /// Once shown, the window connects once, as "Connetti" does.
    void showEvent(QShowEvent* event) override;

private:
    void ShowFields();
    /// The files of the document's folder, the document selected.
    void ShowLocal();
    void TakeFields();
    void ShowItems();
    void ShowRemote();
    void ShowBar();
    void ShowStatus();
    void Busy(bool running);

    PublishWindowParts parts_;
    QtEventPump pump_;
    TQzFtpTxRxBarRules bar_;
    TKYTListHtmlToTx list_;
    std::unique_ptr<Publisher> publisher_;
    PublishMode mode_ = PublishMode::Publish;
    TFtpSortType sort_ = TFtpSortType::fsName;
    bool filling_ = false;
    bool connectStarted_ = false;

    QTabWidget* tabs_ = nullptr;
    QTreeWidget* items_ = nullptr;
    QPushButton* all_ = nullptr;
    QCheckBox* autoChoose_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* address_ = nullptr;
    QComboBox* configurations_ = nullptr;
    QLineEdit* server_ = nullptr;
    QSpinBox* port_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* pass_ = nullptr;
    QCheckBox* savePass_ = nullptr;
    QLineEdit* baseDir_ = nullptr;
    QLineEdit* www_ = nullptr;
    QSpinBox* timeout_ = nullptr;
    QListWidget* local_ = nullptr;
    QLabel* directory_ = nullptr;
    QTreeWidget* remote_ = nullptr;
    QWidget* barPanel_ = nullptr;
    QProgressBar* gauge_ = nullptr;
    QPushButton* stop_ = nullptr;
    QLabel* barLabel_ = nullptr;
    QLabel* status_ = nullptr;
    std::vector<QWidget*> busyDisabled_;
};

/// "Orvo - Pubblicazione in Internet": the first configuration, asked once.
class PublishWizard final : public PlacedDialog {
public:
    PublishWizard(ISettings& settings, QWidget* parent = nullptr);
    /// OK: false when the user or the server is empty (the window stays).
    bool Confirm();
    PublishWizardAnswers& Answers() { return answers_; }

private:
    void TakeFields();
    PublishWizardRules rules_;
    PublishWizardAnswers answers_;
    QLineEdit* user_ = nullptr;
    QLineEdit* pass_ = nullptr;
    QLineEdit* server_ = nullptr;
    QLineEdit* baseDir_ = nullptr;
    QLineEdit* www_ = nullptr;
};

}  // namespace orvo
