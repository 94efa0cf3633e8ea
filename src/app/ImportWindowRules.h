// "Importazione": what the import window shows and what "&Importa" does, without its widgets.
// A format (HTML, RTF in several pages or one page a file, help-compiler RTF, text, word
// processor) chooses the files the browser shows and the options that apply; each format keeps
// its folder and options in its own settings section "imp\N". For HTML the window can start
// from one page and list the pages reachable from it through links; the import then turns the
// links between the imported files into links between their pages.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/MainFormPorts.h"
#include "app/u3Utils.h"

namespace orvo {

class DocumentConverters;
class Environment;
class IMessages;
class ISettings;
class TKYTset;

inline constexpr std::string_view kImportCaption = "Importazione";
inline constexpr std::string_view kNoFileChosen = "Occorre scegliere almeno un file";

/// What the import window works with (the main window's own).
struct ImportWindowParts {
    TKYTset& set;
    DocumentConverters& converters;
    ISettings& settings;
    IMessages& messages;
    const Environment& environment;
    /// A word processor can turn documents into RTF: the two DOC formats are listed.
    bool wordProcessor = false;
};

/// One entry of the format list.
struct ImportFormat {
    int number;                // 0 HTML, 1 and 2 RTF, 3 help RTF, 4 text, 5 and 6 DOC
    std::string_view name;     // as listed
    std::string_view browser;  // the browser's filter, "*.htm;"
    std::string_view opened;   // the extensions that choose it for a file, "*.htm;*.html;"
};

class ImportWindowRules {
public:
    explicit ImportWindowRules(ImportWindowParts parts);
    /// The shown format's settings are stored when the window goes.
    ~ImportWindowRules();
    ImportWindowRules(const ImportWindowRules&) = delete;
    ImportWindowRules& operator=(const ImportWindowRules&) = delete;

    /// Opens on `file` (none: empty): the file is chosen, with the first format whose
    /// extensions hold its extension.
    void Open(const std::string& file);

    const std::vector<ImportFormat>& Formats() const { return formats_; }
    int Format() const { return format_; }
    const ImportFormat& Shown() const;
    /// Another format: the shown one's settings are stored, the new one's read.
    void ChooseFormat(int format);
    /// The browser's patterns of the shown format ("*.txt", "*.asc", ...).
    std::vector<std::string> BrowserPatterns() const;
    /// The linked-pages tab shows for HTML only; the options tab's RTF options for RTF and DOC.
    bool LinksShown() const { return format_ == 0; }
    bool RtfOptionsShown() const { return format_ != 0 && format_ != 4; }

    /// The folder and options of the shown format; the window writes its fields back here.
    ImportWindowSettings& Values() { return values_; }

    /// The chosen files, each once, in the order chosen.
    const std::vector<std::string>& Files() const { return files_; }
    /// Adds a file (false when it is already chosen or empty).
    bool AddFile(const std::string& file);
    /// Takes the rows out (any order, out-of-range rows ignored).
    void RemoveFiles(std::vector<int> rows);
    /// Files dropped from the desktop: taken when the first one's extension is one the text,
    /// RTF or DOC formats read; with an empty list the first one chooses the format, the others
    /// are added when their extension belongs to the chosen format. Returns how many were added.
    int Drop(const std::vector<std::string>& files);

    // The linked pages ("Importa seguendo automaticamente i collegamenti").
    std::string root;
    int levels = 2;  // "Esamina n°", 0 to 200
    /// The linked-pages tab is the one shown: "&Importa" imports its rows.
    bool linksActive = false;
    /// "Determina lista": the root and the pages reachable from it.
    void DetermineList();
    const std::vector<std::string>& Linked() const { return linked_; }
    /// "(n)": the number of rows of the list.
    std::string LinkedCount() const;
    void RemoveLinked(std::vector<int> rows);

    // The background of new pages: a colour, and a picture used only when `usePicture`.
    std::int32_t backgroundColour = 0xFFFFFF;
    std::string backgroundPicture;
    bool usePicture = false;

    /// "&Importa": the chosen files (or, with none, `browserSelection`) imported in the shown
    /// format. With no file at all "Occorre scegliere almeno un file" is shown and nothing
    /// happens (Cancelled). Progress texts go to `status`. Done when pages were made; the
    /// editor then shows the first of them (FirstPage).
    Outcome Import(const std::string& browserSelection,
                   const std::function<void(const std::string&)>& status);
    /// The first page the last import made, -1 when none.
    std::int32_t FirstPage() const { return firstPage_; }

private:
    void Load();
    void Store();

    ImportWindowParts parts_;
    std::vector<ImportFormat> formats_;
    int format_ = 1;
    ImportWindowSettings values_;
    std::vector<std::string> files_;
    std::vector<std::string> linked_;
    std::int32_t firstPage_ = -1;
};

}  // namespace orvo
