// The link window ("Collega a.../Nuova.../Visualizza.../Incolla...:"): the tabs its mode
// shows, the page lists with their search field and preview, the other hypertext's pages, the
// internet agenda, the embedded files, and Ok through the link window's rules.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/LinkWindowRules.h"

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace orvo {

class IMessages;
class PageViewWidget;
class TKYTbox;
class TKYTset;

/// The number of the anchor drawn at (x, y) of a laid-out box, or -1.
std::int32_t AnchorAt(const TKYTbox& box, std::int32_t x, std::int32_t y);
/// Whether a laid-out box shows an anchor.
bool BoxHasAnchors(const TKYTbox& box);

class LinkWindow final : public QDialog {
public:
    LinkWindow(TKYTset& set, ILinkEditor& editor, IMessages& messages, QWidget* parent = nullptr);
    ~LinkWindow() override;

    /// Shows the tabs of `mode` with the preset's entry selected (as the caller set them in
    /// Chooser()); call before exec().
    void Prepare();
    TLinkChooser& Chooser() { return chooser_; }

    /// The tab shown, and the choice the controls hold.
    LinkTab CurrentTab() const;
    void SetCurrentTab(LinkTab tab);
    LinkChoice Choice() const;

    // The controls, for the tests and for the callers that fill them.
    QTabWidget* Tabs() const { return tabs_; }
    QListWidget* PageList() const { return pages_; }
    QLineEdit* Search() const { return search_; }
    QLineEdit* OtherFile() const { return otherFile_; }
    QListWidget* OtherPages() const { return otherPages_; }
    QLineEdit* Address() const { return address_; }
    QListWidget* Agenda() const { return agenda_; }
    QLineEdit* DiskFile() const { return diskFile_; }
    QListWidget* Album() const { return album_; }
    QTabWidget* FileTabs() const { return fileTabs_; }
    QLineEdit* HtmlFile() const { return htmlFile_; }
    QSpinBox* Anchor() const { return anchor_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* OkStayButton() const { return okStay_; }
    PageViewWidget* Preview() const { return preview_; }
    /// The page imported from the HTML file chosen; none before a file is read.
    PageViewWidget* HtmlPreview() const { return htmlPreview_; }
    /// The page chosen of the other hypertext; none before its file is read.
    PageViewWidget* OtherPreview() const { return otherPreview_; }

    /// The page being edited, for the preview's "Pagina corrente" button.
    std::function<std::int32_t()> currentPage;

    /// "&Ok" (stay: "&Ok, e non cambiare pagina"): true when the window closed with a choice.
    bool Accept(bool stay);
    /// Loads the pages of another hypertext file into its list (and the template list).
    bool LoadOtherFile(const QString& path);
    /// "Aggiungi": registers the typed address in the agenda.
    void AddAddress();
    /// Reads the HTML file named on its tab and shows the page it makes; false (the
    /// preview emptied) when the file gives no page.
    bool PreviewHtml();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillPages();
    void FillAgenda();
    void FillAlbum();
    void ShowPreview(std::int32_t page);
    void UpdateOk();

    TKYTset& set_;
    IMessages& messages_;
    TLinkChooser chooser_;
    std::unique_ptr<TKYTset> other_;
    std::int32_t previousPreview_ = -1;
    QLabel* anchorLabel_ = nullptr;
    QSpinBox* anchor_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::array<QWidget*, kLinkTabCount> tabPages_{};
    QLineEdit* search_ = nullptr;
    QComboBox* viewMode_ = nullptr;
    QListWidget* pages_ = nullptr;
    QLabel* chooseAnchor_ = nullptr;
    PageViewWidget* preview_ = nullptr;
    QLineEdit* otherFile_ = nullptr;
    QListWidget* otherPages_ = nullptr;
    QHBoxLayout* otherRow_ = nullptr;
    PageViewWidget* otherPreview_ = nullptr;  // over other_
    QLineEdit* automatic_ = nullptr;
    QLineEdit* address_ = nullptr;
    QListWidget* agenda_ = nullptr;
    std::array<QRadioButton*, 4> kinds_{};
    QTabWidget* fileTabs_ = nullptr;
    QLineEdit* diskFile_ = nullptr;
    QListWidget* album_ = nullptr;
    QLineEdit* htmlFile_ = nullptr;
    QWidget* htmlTab_ = nullptr;
    PageViewWidget* htmlPreview_ = nullptr;  // over the chooser's imported HTML
    QCheckBox* importBackground_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* okStay_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace orvo
