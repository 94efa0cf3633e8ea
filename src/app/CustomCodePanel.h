// The custom-code panel without its widgets: HTML code attached to a page or an object, edited
// as a rich text of the panel's own hypertext in which references to objects of the main
// hypertext are inline reference objects (shortObj subtypes 21 to 28). The code is read from
// and written to the custom-code layout (int32 header length, the header, then the text with
// references in their textual forms "!RefI:0500000a"), templates are kept in a folder of their
// own, and the editor it is edited in is a port: the desktop's page widget or a box without a
// window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class Environment;
class IMessages;
class TKYTset;
class TKYToggetto;

/// The explanation shown above the code when its host gives none.
inline constexpr std::string_view kCodePanelDefaultCaption =
    "L'HTML che segue \xE8 inserito senza alcun controllo sulla esattezza del codice.";
/// The undo label of a code loaded into the editor.
inline constexpr std::string_view kCodeLoadLabel = "Inserimento testo in wrapper";
inline constexpr std::string_view kTemplateNone = "Nessuno";
inline constexpr std::string_view kTemplateQuestion =
    "Caricando il nuovo modello le attuali modifiche andranno perdute. Sei sicuro?";
inline constexpr std::string_view kTemplateLoadTitle = "Carica modello";
inline constexpr std::string_view kTemplateSaveTitle = "Salva modello";
inline constexpr std::string_view kTemplateFilter = "File modelli|";
/// A reference chosen while the editor shows no text box.
inline constexpr std::string_view kCodeNoTextBox =
    "Errore interno: il riferimento non pu\xF2 essere inserito (nessun testo in modifica).";
/// The content of a parameter or file reference when nothing was chosen.
inline constexpr std::string_view kReferenceUndefined = "Undef";
/// Templates larger than this are not read.
inline constexpr std::size_t kMaxTemplateBytes = 4 * 1024 * 1024;

/// The reference subtypes the panel inserts.
enum class CodeReference : std::uint8_t {
    Picture = 21,      // "!RefI:"
    PageOrFile = 22,   // "!RefL:"
    PageText = 23,     // "!RefP:"
    Fundamental = 24,  // "!RefF:"
    SizeX = 25,        // "!RefX:"
    SizeY = 26,        // "!RefY:"
    Parameter = 27,    // "!ReCP:" + name + "!"
    File = 28,         // "!ReCF:" + index
};

/// The editor the code is edited in: page 0 of the panel's hypertext, shown in a box.
class ICodeEditor {
public:
    virtual ~ICodeEditor() = default;
    /// Shows page 0 of the panel's hypertext (just made anew) in the box, editable.
    virtual void ShowCode() = 0;
    /// Lets the text go unstored (the panel's hypertext is about to be emptied).
    virtual void Release() = 0;
    /// Inserts an internal selection stream at the caret with that undo label; the caret is
    /// left after it, nothing selected.
    virtual bool InsertStream(std::string_view stream, std::string_view label) = 0;
    /// Inserts an object at the caret; false when the editor has no text box.
    virtual bool InsertObject(std::unique_ptr<TKYToggetto> object) = 0;
    /// Stores the box's text as page 0 of the panel's hypertext.
    virtual void Commit() = 0;
    /// The editor's change flag.
    virtual bool Edited() const = 0;
    virtual void ClearEdited() = 0;
    /// A reference object of the text was changed: the flag is set and its view refreshed.
    virtual void NoteEdit() = 0;
    /// The working copies of the objects in the text shown (none without a text).
    virtual std::vector<TKYToggetto*> Objects() = 0;
};

/// The working copies of the reference objects (shortObj) in `objects`, in their order.
std::vector<TKYToggetto*> ReferenceObjects(const std::vector<TKYToggetto*>& objects);

/// An editor without a window: a text box of fixed metrics over page 0 of the panel's
/// hypertext (tests and the command line).
std::unique_ptr<ICodeEditor> NewHeadlessCodeEditor(TKYTset& codeSet, IMessages& messages);

/// The template folder of a panel: "ModelliHtml" in `base` followed by `directory`, or
/// `directory` itself with `dirApp`.
std::string TemplateFolder(std::string_view base, std::string_view directory, bool dirApp);
/// The masks of "*.htm;*.html;" in order, empty ones left out.
std::vector<std::string> TemplateMasks(std::string_view mask);
/// "Nessuno", then the names of the files of `folder` that match each mask in turn (case
/// ignored, hidden files included), each name once.
std::vector<std::string> TemplateList(const std::string& folder, std::string_view mask);
/// The default extension of "Salva...": the first mask from its second character to the one
/// before the first ";" (".htm"); empty when that holds a wildcard.
std::string TemplateExtension(std::string_view mask);

class CustomCodePanel {
public:
    /// The panel refers to objects of `main`; its own hypertext is made here.
    CustomCodePanel(TKYTset& main, Environment& environment, IMessages& messages);
    ~CustomCodePanel();
    CustomCodePanel(const CustomCodePanel&) = delete;
    CustomCodePanel& operator=(const CustomCodePanel&) = delete;

    /// The panel's own hypertext: page 0 holds the code, its objects the references.
    TKYTset& CodeSet() { return *codeSet_; }
    TKYTset& MainSet() { return main_; }
    /// The editor (a headless one until the desktop gives its own).
    void SetEditor(std::unique_ptr<ICodeEditor> editor);
    ICodeEditor& Editor() { return *editor_; }

    // Properties.
    int Kind = 0;
    std::string Mask = "*.*;";
    std::string Directory;
    bool DirApp = false;
    bool Confirm = false;
    bool CanInsObj = false;
    bool CanInsDim = false;
    bool CanInsText = false;
    std::string Caption = std::string(kCodePanelDefaultCaption);
    /// Asked before a template replaces the code; its answer replaces the confirmation.
    std::function<bool()> OnChangeFile;
    /// Asked to choose the object of a reference (its subtype, the identifier it starts from);
    /// none: cancelled.
    std::function<std::optional<std::int32_t>(CodeReference, std::int32_t start)> OnGetRif;
    /// The parameter names and file names of a prototype.
    std::vector<std::string> Parameters, Files;

    /// Empties the code (a text of one blank) and, with a stream, skips its header (kept for
    /// StoreCode) and inserts the rest as code; the editor's change flag is then cleared. A
    /// header length that the stream cannot hold counts as no header.
    void LoadCode(const std::optional<std::string>& stream);
    /// With the editor's change flag set: `stream` becomes the header loaded (none: an int32
    /// 0) and the code's text with references in their textual forms; returns the new size.
    /// Unchanged: nothing happens and the size of `stream` as it is (0 for none) is returned.
    std::size_t StoreCode(std::optional<std::string>& stream);
    /// The code as StoreCode writes it after the header.
    std::string CodeText();

    /// Inserts a reference at the caret: 21..24 ask OnGetRif (`generic`: none, -1), 25 and 26
    /// refer to nothing, 27 and 28 take `choice` (an index into Parameters or Files). False
    /// when nothing was inserted.
    bool InsertReference(CodeReference kind, bool generic = false, int choice = -1);
    /// Changes a reference object of the text shown (a working copy, Editor().Objects()):
    /// 21..24 ask OnGetRif from the present object; 27 and 28 store `choice` and its name
    /// ("Undef" when out of range).
    bool ChangeReference(TKYToggetto& reference, int choice = -1);

    // Templates.
    /// The folder below `base` (the program's data folder), made when missing.
    std::string Folder(std::string_view base) const;
    /// The same below the user's data folder.
    std::string Folder() const;
    /// Replaces the code by a template file (nothing for "Nessuno" but emptying); asks first.
    /// False when refused or unreadable.
    bool ChooseTemplate(const std::string& path, const std::function<bool()>& confirm);
    /// Writes the code's text to `path`, the default extension added when it has none.
    bool SaveTemplate(std::string path);

private:
    void InsertCode(std::string_view text);

    TKYTset& main_;
    Environment& environment_;
    IMessages& messages_;
    std::unique_ptr<TKYTset> codeSet_;
    std::unique_ptr<ICodeEditor> editor_;
    std::string header_;  // the header of the stream loaded, with its length
    std::int32_t lastFundamental_ = -1;
};

}  // namespace orvo
