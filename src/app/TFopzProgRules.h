// "Opzioni del programma": what the program options window shows, what its buttons do, what
// Ok writes. No widgets: the dialog copies values in and out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/u3Utils.h"

namespace orvo {

/// A language the spell checker offers.
struct SpellLanguage {
    std::string name;
    int id = 0;
    bool operator==(const SpellLanguage&) const = default;
};

/// What the options window needs of the spell checker.
class ISpellerOptions {
public:
    virtual ~ISpellerOptions() = default;
    virtual std::vector<SpellLanguage> Languages() const = 0;
    virtual std::uint16_t Options() const = 0;
    virtual bool Progress() const = 0;
    virtual int Language() const = 0;
    virtual void SetLanguage(int language) = 0;
    virtual void Close() = 0;
    /// Opens the checker for its language; false when that fails.
    virtual bool Open() = 0;
};

/// The program around the options window.
class IProgramOptionsHost {
public:
    virtual ~IProgramOptionsHost() = default;
    /// The main window's window cache ("Cache finestre:").
    virtual int WindowCacheLimit() const = 0;
    virtual void SetWindowCacheLimit(int windows) = 0;
    /// The spell checker, or nullptr when none is available.
    virtual ISpellerOptions* Speller() = 0;
    virtual bool EditorReadOnly() const = 0;
    virtual void SetEditorReadOnly(bool readOnly) = 0;
    /// The main window's applySettings.
    virtual void ApplySettings() = 0;
    /// Asks the editor to show its current page again.
    virtual void ShowCurrentPageAgain() = 0;
    /// The main window and the options window do not store their positions in this run.
    virtual void StopStoringWindowPositions() = 0;
};

/// A row of the file-type list: its caption is the extension.
struct FileTypeRow {
    std::string caption;
    TExtData data;
    std::string storedAs;  // the group it was read from ("" for a new row)
};

struct BrowserRow {
    std::string caption;
    std::string program;
};

/// Everything the window edits. The number fields hold text, as typed.
struct ProgramOptions {
    // Tab "Editor"
    int windowCacheLimit = 3;        // "Cache finestre:", 3 to 10
    std::string maxCacheImg = "20";  // "Immagini in cache:", 10 to 200
    std::string undoDeep = "20";     // "Profondità undo:", 5 to 100
    std::string timeSave = "5";      // the minutes of "Promemoria salvataggio:  ogni"
    bool promemSave = false, atStartBlank = false, tipOfTheDay = true, autoHideTip = false,
         virgolette = false, alt = false, bak = true, bordoSx = false, cercaTop = false;
    bool notSaveTool = true;  // hidden; checked unless "NotSaveTool" is "0"
    int cursors = 0;          // "Puntatori": "Normali", "Evidenti", "Grandi", "Grandi ed
                              // evidenti"
    // Tab "Estensioni/applicazioni"
    std::vector<FileTypeRow> fileTypes;
    int selectedFileType = -1;
    // Tab "Browser" (never shown)
    std::vector<BrowserRow> browsers;
    int selectedBrowser = -1;
    // Tab "Ortografia"
    bool spellPanelVisible = false;
    std::vector<SpellLanguage> languages;  // sorted by name
    int selectedLanguage = -1;
    std::uint16_t spellOptions = 0;
    bool spellProgress = false;
};

/// The choices of "Comportamento predefinito per selezionata: ".
inline constexpr const char* kBehaviourItems[] = {
    "chiedi all'utente", "salva",
    "esegui utilizzando l'applicazione corrispondente registrata in Windows",
    "esegui utilizzando:"};

struct SpinBounds {
    int lo, hi;
};
inline constexpr SpinBounds kMaxCacheImgBounds{10, 200};
inline constexpr SpinBounds kUndoDeepBounds{5, 100};
inline constexpr SpinBounds kWindowCacheBounds{3, 10};

class TFopzProgRules {
public:
    TFopzProgRules(SettingsStore& store, IProgramOptionsHost& host);

    /// Fills the window from the store, the main window and the spell checker.
    void FormShow();
    ProgramOptions& Options() { return options_; }
    const ProgramOptions& Options() const { return options_; }

    /// Shows the selected row's fields (-1 when the list is empty).
    void SelectFileType(int row);
    /// The selected row's fields were edited: they go into its TExtData at once.
    void ExtParChgClick(const TExtData& shown);
    /// The selected row's caption was edited in place.
    void RenameFileType(int row, std::string caption);
    /// "Aggiungi": a row ".new" with the shown path and description, behaviour "chiedi
    /// all'utente"; it becomes the selected row. Returns its index.
    int BaggiungiClick(const TExtData& shown);
    /// Deletes the selected row and its group in the store at once; the first row is selected.
    void BcancExtClick();

    void SelectBrowser(int row);
    /// "Aggiungi" on the browser tab: a row "new" running `program`.
    int BaggiungiBClick(std::string program);
    void BcancBrowserClick();
    void BrowserPropChange(std::string program);

    /// "Azzera settaggi memorizzati per finestre": asks, and on Yes deletes "forms". True when
    /// the settings were reset.
    bool BdelRegClick();

    /// Confirms: writes every value, changes the checker's language when asked, applies the
    /// settings and shows the page again.
    void BOkClick();
    /// Cancels: writes nothing more (a file type deleted before stays deleted).
    void BAnnullaClick();

    /// The dialog filter of the "..." buttons.
    static constexpr const char* kExecutableFilter =
        "File eseguibile (*.exe,*.com)|*.exe;*.com;Tutti i file (*.*)|*.*";

private:
    SettingsStore& store_;
    IProgramOptionsHost& host_;
    ProgramOptions options_;
};

}  // namespace orvo
