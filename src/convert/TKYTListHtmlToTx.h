// TKYTListHtmlToTx: the list of what an HTML export writes (the style sheet, the pages, the
// pictures and linked files the last export listed) with sizes, file names and change stamps,
// as the model behind the export window's and the publishing window's list views.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "model/ObjectRecord.h"

namespace orvo {

class TKYTtoHtml;
class TKYToggetto;

/// What the list shows: the whole site, or only the pages (one file / a file per page).
enum class TListType { ltHtml, ltOneFile, ltManyFiles };
enum class TFileSortType { fsName, fsSize, fsType, fsVersion };

/// The columns after the caption, in order.
enum TListHtmlColumn : int {
    colSize = 0,       // "Dimensione"
    colType = 1,       // "Tipo"
    colFile = 2,       // "File"
    colFrameSize = 3,  // "Dimensione" of the secondary page file
    colFrameFile = 4,  // "File per frame"
    colVersion = 5,    // "Versione"
};

/// An empty or unreadable "Versione" counts as this number.
inline constexpr std::int32_t kUnreadableVersion = 0xF00000;

struct TListHtmlRow {
    std::string caption;
    /// "Dimensione", "Tipo", "File", "Dimensione", "File per frame", "Versione".
    std::array<std::string, 6> texts;
    /// The code of the object the row stands for; none for the style-sheet row.
    std::optional<std::int32_t> code;
    /// testoHtml for pages, immagine, genLink; none for the style sheet.
    TOggettiHel kind = TOggettiHel::none;
    bool checked = false;
    /// The extension whose system icon the row shows (".ini", ".txt", the file's own).
    std::string iconExtension;
};

class TKYTListHtmlToTx {
public:
    explicit TKYTListHtmlToTx(TKYTtoHtml* html = nullptr) : LinkedKYTtoHtml(html) {}

    TKYTtoHtml* LinkedKYTtoHtml = nullptr;
    TListType ListType = TListType::ltHtml;
    TFileSortType FileSortType = TFileSortType::fsType;
    /// A right click selects the row under the mouse and acts as a click.
    bool RightMouseSelect = true;
    /// Fired after every Rebuild.
    std::function<void(TKYTListHtmlToTx&)> OnReload;
    /// The picture and file objects the last ExportAllPages listed; the owner clears it
    /// before an export.
    std::vector<TKYToggetto*> ExportedImages;
    /// Around a save or a load of the hypertext (ObjectHolders): ExportedImages is kept as
    /// codes while the objects are replaced, then found again; objects gone are dropped.
    void DetachObjects();
    void ReattachObjects();

    /// Refills the rows from the linked exporter's hypertext and export folder, sorts them by
    /// FileSortType and fires OnReload.
    void Rebuild();
    const std::vector<TListHtmlRow>& Rows() const { return rows_; }
    std::vector<TListHtmlRow>& MutableRows() { return rows_; }

    /// The live object of a row; nullptr for the style-sheet row, a row out of range or an
    /// object that is gone.
    TKYToggetto* ObjectOf(int row) const;

    /// first: export folder + the row's file name (empty when the row shows none); second:
    /// export folder + the secondary page's name when the row shows one, empty when there is
    /// none or it equals first.
    void ItemFiles(int row, std::string& first, std::string& second) const;

    /// For a page row whose stamp is at least `version`: adds 1 to the stamp, true.
    bool AdvanceStamp(int row, std::int32_t version);
    /// Sets the change stamp of the row's object.
    void SetStamp(int row, std::int32_t stamp);
    /// Ticks exactly the rows whose "Versione" is greater than `version` (empty or unreadable
    /// counts as kUnreadableVersion).
    void CheckNewerThan(std::int32_t version);
    /// Rewrites every row's "Versione" from its object's current stamp.
    void RefreshStamps();
    void SetAllChecked(bool checked);
    /// Sorts once by `order` (a header click); FileSortType is left as it is.
    void SortBy(TFileSortType order);
    /// The order a header click sorts by: "Titolo" (0), the first "Dimensione" (1), "Tipo"
    /// (2), "Versione" (6); none for the other columns.
    static std::optional<TFileSortType> SortForColumn(int column);
    /// Renames the row's object and shows the name it took.
    Status RenameRow(int row, std::string caption);

private:
    std::string ExportFolder() const;
    std::vector<TListHtmlRow> rows_;
    std::vector<std::int32_t> detachedImages_;
};

}  // namespace orvo
