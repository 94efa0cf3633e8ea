// The link window's rules without widgets: which tabs each mode of the window shows and how
// they are captioned, the objects its tabs yield (a page, a link to a page of another
// hypertext, an internet address, an embedded file, a new page), where a preset selects its
// entry, and what Ok hands to the caller. The window in src/ui/links is a view over them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo {

class TKYTset;
class TKYToggetto;
class TKYTTextAttributes;

/// The tabs of the link window, in the order they are shown.
enum class LinkTab : std::uint8_t {
    Page,       // a page of this hypertext
    CopyPage,   // a new page copying an existing page
    OtherPage,  // a page of another hypertext file
    CopyOther,  // a new page copying a page of another hypertext
    Internet,   // an internet address or a program
    Embedded,   // a file embedded in the hypertext
    Empty,      // a new empty page
    Template,   // a new page copying a page of a template hypertext
    Html,       // a new page copying an HTML file
};
inline constexpr int kLinkTabCount = 9;

inline constexpr std::string_view kLinkWindowCaption =
    "Collega a.../Nuova.../Visualizza.../Incolla...:";
inline constexpr std::string_view kLinkAnchorPrompt =
    "Eventuale numero di un'ancora (si pu\xF2 cliccare un'ancora nella pagina):";
inline constexpr std::string_view kLinkChooseAnchor =
    "Scegli nella pagina l'ancora cui vuoi collegarti:";
inline constexpr std::string_view kLinkAutomaticField =
    "Link automatico (mantenendo i path relativi, funziona anche in Internet):";
inline constexpr std::string_view kLinkOk = "&Ok";
inline constexpr std::string_view kLinkOkStay = "&Ok, e non cambiare pagina";
inline constexpr std::string_view kLinkCancel = "A&nnulla";
inline constexpr std::string_view kLinkImportBackground = "importa sfondo";
inline constexpr std::string_view kLinkFromDisk = "Da disco";
inline constexpr std::string_view kLinkFromAlbum = "Da album interno";
inline constexpr std::string_view kLinkAdd = "Aggiungi";
inline constexpr std::string_view kLinkTrash = "Cestina selezionato";
inline constexpr std::string_view kLinkKind = "Tipo:";
inline constexpr std::string_view kLinkSearch = "Cerca";
/// The label of the step that copies a page's content into the edited page.
inline constexpr std::string_view kCopyPageLabel = "Copio pagina da preesistente";
/// The link commands' refusal without a selection in a text box.
inline constexpr std::string_view kSelectFirst =
    "Seleziona prima un'immagine o un blocco di testo!";
inline constexpr std::string_view kNoZoneForAnchor = "Problem detected #3. (Definiscicollancora1)";

/// The captions of the tabs in mode 0.
inline constexpr std::array<std::string_view, kLinkTabCount> kLinkTabCaptions{
    "Pagina dell'ipertesto",
    "Nuova pagina copiando esistente",
    "Pagina di altro ipertesto",
    "Nuova copiando altro ipertesto",
    "Indirizzo internet - programma",
    "File incorporato",
    "Nuova pagina vuota",
    "Nuova pagina da modello",
    "Nuova copiando pagina Html"};

/// "Tipo:" of the internet tab: its choices and the prefix each puts in the address field.
struct AddressKind {
    std::string_view caption;
    std::string_view prefix;
};
inline constexpr std::array<AddressKind, 4> kAddressKinds{{{"Indirizzo HTTP", "http://"},
                                                           {"Posta elettronica", "mailto:"},
                                                           {"Indirizzo FTP", "ftp://"},
                                                           {"Lancia programma", "prog:"}}};

/// What a mode of the window shows.
struct LinkWindowLayout {
    std::string_view caption = kLinkWindowCaption;
    std::array<bool, kLinkTabCount> shown{};
    std::array<std::string_view, kLinkTabCount> captions = kLinkTabCaptions;
    LinkTab start = LinkTab::Page;
    bool anchorShown = false;       // the anchor field (modes 1 to 3)
    bool okStayShown = false;       // "&Ok, e non cambiare pagina" (modes 0 and 1)
    bool topPanelShown = true;      // hidden in modes 5 and 6
    bool pageListShown = true;      // mode 3 shows only the preview
    bool previewFollows = true;     // mode 3: the preview does not follow links
    bool importBackground = false;  // mode 10
    bool Shows(LinkTab tab) const { return shown[std::size_t(tab)]; }
};

/// The layout of mode 0..11; another mode is shown as mode 0.
LinkWindowLayout LinkLayoutOfMode(int mode);

/// A new, unregistered internetLink for `address` (at most 127 characters) with the subtype
/// its address gives: 6 "orvo:", 7 "http:", 8 "mailto:", 4 otherwise.
std::unique_ptr<TKYToggetto> MakeInternetLink(TKYTset& set, std::string_view address);

/// The address of a page of another hypertext: `automatic` when not empty, otherwise
/// "orvo://" + the file + "|" + the page (0 when none). The file is written relative to the
/// open document's folder when it lies below it (whole folder names compared, "/" between).
std::string DocumentLinkAddress(const std::string& documentFile, const std::string& chosenFile,
                                std::int32_t page, std::string_view automatic = {});

/// Embeds a file the author chose: it is read from where it lies and copied into the
/// hypertext's working folder; a genLink named after the file (at most 79 characters,
/// subtype 4) points at the copy and is registered. `refill` (an existing genLink) is filled
/// again instead, its previous copy deleted first. Fails with the reason when the file cannot
/// be read or copied; nothing is registered then.
Result<TKYToggetto*> AddEmbeddedFile(TKYTset& set, const std::filesystem::path& file,
                                     TKYToggetto* refill = nullptr);

/// A new empty page, registered with the next free identifier; its identifier.
std::int32_t AddNewEmptyPage(TKYTset& set);

/// The whole text of a page of `source` as a selection stream (what a copy of the page
/// pastes), and its background record; fails when the page cannot be shown.
struct PageCopy {
    std::string stream;
    std::string background;  // the page record's colours and background picture
};
Result<PageCopy> CopyOfPage(TKYTset& source, std::int32_t page);
/// Applies a background written by CopyOfPage to `page` (a picture of another hypertext is
/// copied into `set`).
void ApplyPageBackground(TKYTset& set, TKYTset& source, const std::string& background,
                         TKYToggetto& page);

/// Where a preset selects its entry at start.
struct PresetEntry {
    LinkTab tab = LinkTab::Page;
    std::int32_t page = -1;        // the page to select (Page and OtherPage)
    std::string otherFile;         // OtherPage: the file whose page is selected
    std::int32_t agendaCode = -1;  // Internet: the agenda entry
    std::int32_t embeddedCode = -1;
    bool fromDisk = false;  // Embedded: the album is empty
    bool found = false;     // false: nothing is selected (a document link to a missing file)
};
PresetEntry PresetEntryOf(const TKYTset& set, const TKYToggetto* preset);

/// The choice the window's controls hold when Ok is pressed.
struct LinkChoice {
    LinkTab tab = LinkTab::Page;
    std::int32_t page = -1;          // Page, CopyPage: a page of this hypertext
    std::string otherFile;           // OtherPage, CopyOther, Template: the hypertext file
    std::int32_t otherPage = -1;     // its page (-1 none)
    std::string automatic;           // OtherPage: "Link automatico ..." field
    std::string address;             // Internet: the address typed
    std::int32_t agendaCode = -1;    // Internet: the agenda entry selected (-1 none)
    std::filesystem::path diskFile;  // Embedded, "Da disco": the file selected
    std::int32_t albumCode = -1;     // Embedded, "Da album interno": the entry selected
    bool fromDisk = false;           // Embedded: which sub-tab is active
    std::filesystem::path htmlFile;  // Html: the HTML file chosen
    bool importBackground = false;   // mode 10
};

/// Whether Ok is enabled for the choice (the embedded-file tab needs a file or an entry).
bool LinkOkEnabled(const LinkChoice& choice);

/// What the link window does with its caller's editor.
class ILinkEditor {
public:
    virtual ~ILinkEditor() = default;
    /// Shows a page in the editor.
    virtual void ShowPage(std::int32_t page) = 0;
    /// The editing of the current text box, when a page is edited (for copying content).
    virtual TKYTTextAttributes* CurrentText() = 0;
    /// The working copy of the page being edited (its record is stored with its text), to
    /// take a copied background.
    virtual TKYToggetto* CurrentPage() = 0;
};

/// The link window without its widgets: its state and Ok.
class TLinkChooser {
public:
    TLinkChooser(TKYTset& set, ILinkEditor& editor) : set_(set), editor_(editor) {}

    int mode = 0;
    std::int32_t anchor = -1;
    const TKYToggetto* preset = nullptr;
    /// Called with the chosen or created object as soon as it is known.
    std::function<void(TKYToggetto&)> onChoose;
    std::string sourceDocument;    // mode 10
    std::int32_t sourcePage = -1;  // mode 10

    /// Ok ("&Ok": changePage set; "&Ok, e non cambiare pagina": cleared). The object handed to
    /// onChoose, or the reason nothing was chosen (the window stays open then).
    Result<TKYToggetto*> Ok(const LinkChoice& choice, bool changePage);
    /// "A&nnulla": no result.
    void Cancel() {
        result_ = nullptr;
        owned_.reset();
    }
    /// The object chosen by the last Ok; none after a cancel.
    TKYToggetto* ResultObject() const { return result_; }
    bool ChangePage() const { return changePage_; }
    /// An unregistered object made by the last Ok (an internet link): the caller applies it
    /// (which registers a copy) or lets it go with the chooser.
    std::unique_ptr<TKYToggetto> TakeOwned() { return std::move(owned_); }
    /// Closing the window clears the preset and the anchor.
    void Close() {
        preset = nullptr;
        anchor = -1;
    }
    /// "Nuova copiando pagina Html": the file imported as a page of the window's own
    /// hypertext, for its preview; Ok copies that page without reading the file again. The
    /// page's identifier, or "Errore nell'apertura file: " and the file's name.
    Result<std::int32_t> ImportHtml(const std::filesystem::path& file);
    /// The hypertext the last HTML file was imported into; none before (or after DropHtml).
    TKYTset* HtmlHypertext() const { return html_.get(); }
    /// The HTML file imported (absolute); empty before.
    const std::filesystem::path& HtmlFile() const { return htmlFile_; }
    /// Empties the imported HTML (a new session of the window).
    void DropHtml() {
        html_.reset();
        htmlFile_.clear();
        htmlPage_ = -1;
    }

private:
    Result<TKYToggetto*> NewPage(const LinkChoice& choice);
    Status CopyContent(TKYTset& source, std::int32_t page, bool background);
    void Choose(TKYToggetto& object);

    TKYTset& set_;
    ILinkEditor& editor_;
    TKYToggetto* result_ = nullptr;
    std::unique_ptr<TKYToggetto> owned_;
    std::unique_ptr<TKYTset> other_;  // the other hypertext or template copied
    std::unique_ptr<TKYTset> html_;   // the HTML file imported, and its page
    std::filesystem::path htmlFile_;
    std::int32_t htmlPage_ = -1;
    bool changePage_ = true;
};

}  // namespace orvo

namespace orvo {

/// A link target named in words (the batch tool's): a page number, "orvo://FILE|PAGE" or any
/// other address, or "file:NAME" (an embedded file of that name, else the file NAME on disk,
/// embedded). `owned` holds an object not yet registered (an address).
struct NamedTarget {
    TKYToggetto* object = nullptr;
    std::unique_ptr<TKYToggetto> owned;
};
Result<NamedTarget> TargetNamed(TKYTset& set, std::string_view words);

}  // namespace orvo

namespace orvo {

/// Whatever carries a link the windows make: a text selection, an image, a zone. The link
/// windows read its present link and hand it the chosen one.
class ILinkHolder {
public:
    virtual ~ILinkHolder() = default;
    /// Whether a link can be made now (a text selection must not be empty).
    virtual bool CanLink() const = 0;
    /// The link the holder has now (a page, an internet link, a file, a special link), or none.
    virtual const TKYToggetto* PresentLink() const = 0;
    /// Applies `link` as one step; none removes the holder's link.
    virtual void ApplyLink(const TKYToggetto* link) = 0;
    /// Applies a special link with its target (none for an anchor in the same page).
    virtual void ApplySpecialLink(TKYToggetto& link, const TKYToggetto* target) = 0;
};

/// The selection of a text box as a link holder.
class TextSelectionLink final : public ILinkHolder {
public:
    explicit TextSelectionLink(TKYTTextAttributes& text) : text_(text) {}
    bool CanLink() const override;
    const TKYToggetto* PresentLink() const override;
    void ApplyLink(const TKYToggetto* link) override;
    void ApplySpecialLink(TKYToggetto& link, const TKYToggetto* target) override;

private:
    TKYTTextAttributes& text_;
};

}  // namespace orvo
