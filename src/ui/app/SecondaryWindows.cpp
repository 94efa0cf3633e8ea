// The secondary windows as services of the command flow.
#include "ui/app/SecondaryWindows.h"

#include <QTimer>

#include "app/DocumentConverters.h"
#include "ui/QtConvert.h"
#include "ui/app/ExportWindow.h"
#include "ui/app/ProgramOptionsWindow.h"
#include "ui/app/StartWindows.h"
#include "ui/app/StyleWindow.h"

namespace orvo {

namespace {

// A modal window: the test hook answers it (and closes it) or the user does.
Outcome Run(QDialog& window, const std::function<void(QDialog&)>& hook) {
    if (hook) {
        window.setModal(true);
        window.show();
        hook(window);
        if (window.isVisible()) window.reject();
        return window.result() == QDialog::Accepted ? Outcome::Done : Outcome::Cancelled;
    }
    return window.exec() == QDialog::Accepted ? Outcome::Done : Outcome::Cancelled;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Converters

QtConverters::QtConverters(DocumentConverters& converters, std::function<ExportWindowParts()> parts,
                           QWidget* parent)
    : converters_(converters), parts_(std::move(parts)), parent_(parent) {}

bool QtConverters::CanImport(std::string_view extension) const {
    return converters_.CanImport(extension);
}
Outcome QtConverters::ImportFiles(const std::vector<std::string>& files) {
    return converters_.ImportFiles(files);
}
Outcome QtConverters::ImportFollowingLinks(const std::string& root) {
    return converters_.ImportFollowingLinks(root);
}
Outcome QtConverters::OpenImportWindow() {
    return converters_.OpenImportWindow();
}
HtmlOpening QtConverters::ChooseHtmlOpening(const std::string& file) {
    return converters_.ChooseHtmlOpening(file);
}
std::optional<std::pair<std::string, int>> QtConverters::ReadPageMarker(const std::string& file) {
    return converters_.ReadPageMarker(file);
}
Outcome QtConverters::ExportPage(PageFormat format, const std::string& path, int page,
                                 const std::function<void(int, int, int)>& progress) {
    return converters_.ExportPage(format, path, page, progress);
}
PreviewExport QtConverters::ExportForPreview(const std::string& folder, bool allPages, int page) {
    return converters_.ExportForPreview(folder, allPages, page);
}
void QtConverters::MergeImportedStyles(int firstNewPage) {
    converters_.MergeImportedStyles(firstNewPage);
}
std::optional<int> QtConverters::PageImportedFrom(const std::string& file) {
    return converters_.PageImportedFrom(file);
}

Outcome QtConverters::OpenExportWindow(const std::string& path) {
    ExportWindow window(parts_(), parent_);
    window.Open(path);
    // The window's own "&Chiudi" ends it: the work was done (or shown failed) inside.
    Run(window, onWindow);
    return Outcome::Done;
}

// ---------------------------------------------------------------------------------------------
// Secondary windows

QtSecondaryWindows::QtSecondaryWindows(SecondaryWindowsHost host) : host_(std::move(host)) {}

QtSecondaryWindows::~QtSecondaryWindows() {
    delete tips_.data();
    delete splash_.data();
}

TipsWindow* QtSecondaryWindows::Tips() const {
    return tips_.data();
}

void QtSecondaryWindows::ShowSplash() {
    if (!host_.startWindows) return;
    if (!splash_) splash_ = new AboutWindow(host_.settings, true, nullptr);
    splash_->show();
}

void QtSecondaryWindows::CloseSplash() {
    if (splash_) splash_->deleteLater();
    splash_ = nullptr;
}

void QtSecondaryWindows::ShowTips(std::string_view caption) {
    if (!host_.startWindows) return;
    if (!tips_) {
        tips_ = new TipsWindow(host_.settings, nullptr);
        tips_->setAttribute(Qt::WA_DeleteOnClose);
    }
    tips_->setWindowTitle(ToQString(caption));
    tips_->show();
}

void QtSecondaryWindows::RetitleTips(std::string_view caption) {
    if (!tips_) return;
    tips_->setWindowTitle(ToQString(caption));
    // The main window was shown after the tips and covers them: once it is up, the tips come
    // back on top, where the reader can see and close them.
    QTimer::singleShot(0, tips_.data(), [tips = tips_] {
        if (!tips) return;
        tips->raise();
        tips->activateWindow();
    });
}

void QtSecondaryWindows::CloseTips() {
    if (tips_) tips_->close();
}

Outcome QtSecondaryWindows::OpenAlbum(std::string_view) {
    return Outcome::NotSupported;
}
Outcome QtSecondaryWindows::OpenKeywordSearch() {
    return Outcome::NotSupported;
}
Outcome QtSecondaryWindows::CopyPageIn(const std::string&, int, bool) {
    return Outcome::NotSupported;
}
Outcome QtSecondaryWindows::OfferLinkToPage(const std::string&, int) {
    return Outcome::NotSupported;
}
Outcome QtSecondaryWindows::InsertDroppedPicture(const std::string&) {
    return Outcome::NotSupported;
}

Outcome QtSecondaryWindows::NewHypertext(const std::string& document, std::string& chosen) {
    NewHypertextWindow window(host_.modelFolders(), document, host_.settings, host_.parent);
    const Outcome outcome = RunModal(window);
    chosen = outcome == Outcome::Done ? window.Chosen() : std::string();
    return outcome;
}

Outcome QtSecondaryWindows::RunCommand(CommandId command) {
    switch (command) {
        case CommandId::ToolsOptions: {
            SettingsStore store(host_.settings, host_.messages);
            ProgramOptionsWindow window(store, host_.settings, host_.options, host_.parent);
            return RunModal(window);
        }
        case CommandId::FormatStyles:
        case CommandId::FormatNewStyle: {
            if (!host_.document) return Outcome::NotSupported;
            StyleWindow window(*host_.document, host_.settings, host_.parent);
            if (command == CommandId::FormatNewStyle) window.NewStyle();
            const Outcome outcome = RunModal(window);
            if (outcome == Outcome::Done && host_.stylesChanged) host_.stylesChanged();
            return outcome;
        }
        default:
            return Outcome::NotSupported;
    }
}

Outcome QtSecondaryWindows::RunModal(QDialog& window) {
    return Run(window, onWindow);
}

}  // namespace orvo

#include "publish/PublishConfigurations.h"
#include "ui/app/PublishWindow.h"

namespace orvo {

QtPublishService::QtPublishService(std::function<PublishWindowParts()> parts, QWidget* parent,
                                   bool startWindows)
    : parts_(std::move(parts)), parent_(parent), startWindows_(startWindows) {}

void QtPublishService::RunSetupWizard() {
    if (!startWindows_) return;
    const PublishWindowParts parts = parts_();
    // Asked once: skipped, it is not asked again at the next start ("Pubblica ipertesto in
    // rete..." still asks while no configuration was saved).
    if (parts.settings.ReadString("options", "liteAsked") == "1") return;
    parts.settings.Write("options", "liteAsked", "1");
    PublishWizard wizard(parts.settings, parent_);
    (void)Run(wizard, onWindow);
}

Outcome QtPublishService::PublishFtp() {
    const PublishWindowParts parts = parts_();
    if (PublishWizardRules(parts.settings).Needed()) {
        PublishWizard wizard(parts.settings, parent_);
        if (Run(wizard, onWindow) != Outcome::Done) return Outcome::Cancelled;
    }
    return Open(int(PublishMode::Publish));
}

Outcome QtPublishService::Configurations() {
    return Open(int(PublishMode::Configurations));
}

Outcome QtPublishService::Open(int mode) {
    PublishWindow window(parts_(), parent_);
    if (Status opened = window.Open(PublishMode(mode)); !opened) {
        parts_().messages.Error(opened.failure().text);
        return Outcome::Failed;
    }
    Run(window, onWindow);
    return Outcome::Done;
}

}  // namespace orvo
