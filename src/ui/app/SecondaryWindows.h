// The windows the main window's command flow opens, as the services it calls: the export
// window over the converters, and the options, new-hypertext, tips and about windows.
#pragma once

#include <QPointer>

#include <functional>
#include <memory>

#include "app/ExportWindowRules.h"
#include "app/MainFormPorts.h"
#include "app/TFopzProgRules.h"

class QDialog;
class QWidget;

namespace orvo {

class AboutWindow;
class DocumentConverters;
class TKYTset;
class TMainFormRules;
class TipsWindow;

/// The desktop's converters: the main window's DocumentConverters, and the export window.
class QtConverters final : public IConverters {
public:
    QtConverters(DocumentConverters& converters, std::function<ExportWindowParts()> parts,
                 QWidget* parent);

    bool CanImport(std::string_view extension) const override;
    Outcome ImportFiles(const std::vector<std::string>& files) override;
    Outcome ImportFollowingLinks(const std::string& root) override;
    Outcome OpenImportWindow() override;
    HtmlOpening ChooseHtmlOpening(const std::string& file) override;
    std::optional<std::pair<std::string, int>> ReadPageMarker(const std::string& file) override;
    /// "Esportazione" on `path`, modal.
    Outcome OpenExportWindow(const std::string& path) override;
    Outcome ExportPage(PageFormat format, const std::string& path, int page,
                       const std::function<void(int, int, int)>& progress) override;
    PreviewExport ExportForPreview(const std::string& folder, bool allPages, int page) override;
    void MergeImportedStyles(int firstNewPage) override;
    std::optional<int> PageImportedFrom(const std::string& file) override;

    /// Called with the export window once it is made, before it shows (tests answer it).
    std::function<void(QDialog&)> onWindow;

private:
    DocumentConverters& converters_;
    std::function<ExportWindowParts()> parts_;
    QWidget* parent_;
};

/// What the desktop's secondary windows need of the main window.
struct SecondaryWindowsHost {
    ISettings& settings;
    IMessages& messages;
    IProgramOptionsHost& options;
    /// The folders of the models of "Nuovo ipertesto:", the user's first.
    std::function<std::vector<std::filesystem::path>()> modelFolders;
    QWidget* parent = nullptr;
    /// Whether the splash and the tips show at start (the program; not the widget tests).
    bool startWindows = false;
    /// The open hypertext, whose styles the style window edits.
    TKYTset* document = nullptr;
    /// A style changed: every page shown is laid out again.
    std::function<void()> stylesChanged = {};
};

class QtSecondaryWindows final : public ISecondaryWindows {
public:
    explicit QtSecondaryWindows(SecondaryWindowsHost host);
    ~QtSecondaryWindows() override;

    void ShowSplash() override;
    void CloseSplash() override;
    void ShowTips(std::string_view caption) override;
    void RetitleTips(std::string_view caption) override;
    void CloseTips() override;
    Outcome OpenAlbum(std::string_view tab) override;
    Outcome OpenKeywordSearch() override;
    Outcome NewHypertext(const std::string& document, std::string& chosen) override;
    Outcome CopyPageIn(const std::string& document, int page, bool asFirstPage) override;
    Outcome OfferLinkToPage(const std::string& document, int page) override;
    Outcome InsertDroppedPicture(const std::string& file) override;
    /// "&Opzioni del programma...", "&Stili..." and "&Nuovo stile..."; any other command: not
    /// supported.
    Outcome RunCommand(CommandId command) override;

    /// Called with each modal window once it is made, before it shows (tests answer it).
    std::function<void(QDialog&)> onWindow;
    TipsWindow* Tips() const;

private:
    Outcome RunModal(QDialog& window);
    SecondaryWindowsHost host_;
    QPointer<TipsWindow> tips_;
    QPointer<AboutWindow> splash_;
};

}  // namespace orvo

namespace orvo {

/// The options window's view of the main window, as functions.
class FunctionOptionsHost final : public IProgramOptionsHost {
public:
    std::function<int()> windowCacheLimit;
    std::function<void(int)> setWindowCacheLimit;
    std::function<void()> applySettings;
    std::function<void()> showCurrentPageAgain;
    bool storePositions = true;

    int WindowCacheLimit() const override { return windowCacheLimit ? windowCacheLimit() : 3; }
    void SetWindowCacheLimit(int windows) override {
        if (setWindowCacheLimit) setWindowCacheLimit(windows);
    }
    ISpellerOptions* Speller() override { return nullptr; }
    bool EditorReadOnly() const override { return readOnly_; }
    void SetEditorReadOnly(bool readOnly) override { readOnly_ = readOnly; }
    void ApplySettings() override {
        if (applySettings) applySettings();
    }
    void ShowCurrentPageAgain() override {
        if (showCurrentPageAgain) showCurrentPageAgain();
    }
    void StopStoringWindowPositions() override { storePositions = false; }

private:
    bool readOnly_ = false;
};

}  // namespace orvo

namespace orvo {

struct PublishWindowParts;

/// Publishing over FTP from the desktop: the first-time wizard and the publishing window.
class QtPublishService final : public IPublishService {
public:
    /// `parts` gives the window what it works on when it opens.
    QtPublishService(std::function<PublishWindowParts()> parts, QWidget* parent, bool startWindows);
    /// At start, while no configuration was saved: the wizard, asked once.
    void RunSetupWizard() override;
    Outcome PublishServer() override { return Outcome::NotSupported; }
    /// The wizard when needed, the site exported, the window in its publishing mode.
    Outcome PublishFtp() override;
    /// The window with the configurations only.
    Outcome Configurations() override;

    /// Called with each window once it is made and opened, before it shows (tests drive it).
    std::function<void(QDialog&)> onWindow;

private:
    Outcome Open(int mode);
    std::function<PublishWindowParts()> parts_;
    QWidget* parent_;
    bool startWindows_;
};

}  // namespace orvo
