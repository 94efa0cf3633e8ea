// The list of exported items: rows built from the hypertext and the export folder, the four
// orders, the change stamps and the files a row stands for.
#include "convert/TKYTListHtmlToTx.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo {

using namespace orvo::literals;

namespace {

// The size in bytes of a file, or nothing when it is not a regular file.
std::string FileSizeText(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return {};
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return ec ? std::string() : std::to_string(size);
}

// A whole decimal number, or nullopt.
std::optional<long long> WholeNumber(std::string_view text) {
    long long value = 0;
    if (text.empty() ||
        ParseClampedInt(text, INT32_MIN, INT32_MAX, value) != static_cast<int>(text.size()))
        return std::nullopt;
    return value;
}

long long VersionOf(const TListHtmlRow& row) {
    return WholeNumber(row.texts[colVersion]).value_or(kUnreadableVersion);
}

long long SizeOf(const TListHtmlRow& row) {
    return WholeNumber(row.texts[colSize]).value_or(0);
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return NameOfPath(NativePath(folder) / NativePath(name));
}

}  // namespace

std::string TKYTListHtmlToTx::ExportFolder() const {
    return LinkedKYTtoHtml ? LinkedKYTtoHtml->ExportPath : std::string();
}

void TKYTListHtmlToTx::Rebuild() {
    rows_.clear();
    TKYTtoHtml* html = LinkedKYTtoHtml;
    TKYTset* set = html ? html->LinkedKYTset : nullptr;
    if (set) {
        const bool site = ListType == TListType::ltHtml;
        const std::filesystem::path folder = NativePath(ExportFolder());
        auto inFolder = [&](const std::string& name) {
            return FileSizeText(folder / NativePath(name));
        };
        if (site) {
            TListHtmlRow sheet;
            sheet.caption = "Stili del testo";
            const std::string name = html->StyleSheetName();
            sheet.texts[colSize] = inFolder(name);
            sheet.texts[colType] = "CSS";
            sheet.texts[colFile] = name;
            sheet.checked = true;
            sheet.iconExtension = ".ini";
            rows_.push_back(std::move(sheet));
        }
        for (const auto& page : set->KindList(TOggettiHel::testoHtml)) {
            if (!page || page->IsFree()) continue;
            TListHtmlRow row;
            row.caption = page->Name();
            row.code = page->Code();
            row.kind = TOggettiHel::testoHtml;
            row.texts[colType] = "Pagina";
            if (site) {
                row.texts[colFile] = html->ObjectFileName(*page, 0);
                row.texts[colSize] = inFolder(row.texts[colFile]);
                const std::string frame = html->ObjectFileName(*page, 1);
                if (std::string size = inFolder(frame); !size.empty()) {
                    row.texts[colFrameSize] = std::move(size);
                    row.texts[colFrameFile] = frame;
                }
            }
            row.texts[colVersion] = std::to_string(page->VersionStamp());
            row.iconExtension = ".txt";
            rows_.push_back(std::move(row));
        }
        if (site) {
            const auto listed = [&](const TKYToggetto* object) {
                return std::find(ExportedImages.begin(), ExportedImages.end(), object) !=
                       ExportedImages.end();
            };
            for (TOggettiHel kind : {TOggettiHel::immagine, TOggettiHel::genLink}) {
                for (const auto& object : set->KindList(kind)) {
                    if (!object || object->IsFree() || !listed(object.get())) continue;
                    TListHtmlRow row;
                    row.caption = object->Name();
                    row.code = object->Code();
                    row.kind = kind;
                    row.texts[colSize] = std::to_string(object->Content().Size());
                    row.texts[colType] = kind == TOggettiHel::immagine ? "Immagine" : "File";
                    row.texts[colFile] = html->ObjectFileName(*object, 0);
                    row.texts[colVersion] = std::to_string(object->VersionStamp());
                    row.iconExtension =
                        ExtensionOf(LastComponent(FromWindowsPath(object->FileName())));
                    rows_.push_back(std::move(row));
                }
            }
        }
    }
    SortBy(FileSortType);
    if (OnReload) OnReload(*this);
}

void TKYTListHtmlToTx::SortBy(TFileSortType order) {
    auto byCaption = [](const TListHtmlRow& a, const TListHtmlRow& b) {
        return a.caption < b.caption;
    };
    switch (order) {
        case TFileSortType::fsName:
            std::stable_sort(rows_.begin(), rows_.end(), byCaption);
            break;
        case TFileSortType::fsSize:
            std::stable_sort(
                rows_.begin(), rows_.end(),
                [](const TListHtmlRow& a, const TListHtmlRow& b) { return SizeOf(a) < SizeOf(b); });
            break;
        case TFileSortType::fsType:
            std::stable_sort(rows_.begin(), rows_.end(),
                             [&](const TListHtmlRow& a, const TListHtmlRow& b) {
                                 if (a.texts[colType] != b.texts[colType])
                                     return a.texts[colType] < b.texts[colType];
                                 return byCaption(a, b);
                             });
            break;
        case TFileSortType::fsVersion:
            std::stable_sort(rows_.begin(), rows_.end(),
                             [&](const TListHtmlRow& a, const TListHtmlRow& b) {
                                 const long long va = VersionOf(a), vb = VersionOf(b);
                                 if (va != vb) return va < vb;
                                 if (a.texts[colSize] != b.texts[colSize])
                                     return a.texts[colSize] < b.texts[colSize];
                                 return byCaption(a, b);
                             });
            break;
    }
}

std::optional<TFileSortType> TKYTListHtmlToTx::SortForColumn(int column) {
    switch (column) {
        case 0:
            return TFileSortType::fsName;
        case 1:
            return TFileSortType::fsSize;
        case 2:
            return TFileSortType::fsType;
        case 6:
            return TFileSortType::fsVersion;
        default:
            return std::nullopt;
    }
}

void TKYTListHtmlToTx::DetachObjects() {
    for (const TKYToggetto* object : ExportedImages)
        if (object) detachedImages_.push_back(object->Code());
    ExportedImages.clear();
}

void TKYTListHtmlToTx::ReattachObjects() {
    TKYTset* set = LinkedKYTtoHtml ? LinkedKYTtoHtml->LinkedKYTset : nullptr;
    for (std::int32_t code : detachedImages_) {
        TKYToggetto* object = set ? set->ObjectByCode(code) : nullptr;
        if (object && !object->IsFree()) ExportedImages.push_back(object);
    }
    detachedImages_.clear();
}

TKYToggetto* TKYTListHtmlToTx::ObjectOf(int row) const {
    if (row < 0 || std::size_t(row) >= rows_.size()) return nullptr;
    const TListHtmlRow& r = rows_[std::size_t(row)];
    if (!r.code || !LinkedKYTtoHtml || !LinkedKYTtoHtml->LinkedKYTset) return nullptr;
    TKYToggetto* object = LinkedKYTtoHtml->LinkedKYTset->ObjectByCode(*r.code);
    return object && !object->IsFree() ? object : nullptr;
}

void TKYTListHtmlToTx::ItemFiles(int row, std::string& first, std::string& second) const {
    first.clear();
    second.clear();
    if (row < 0 || std::size_t(row) >= rows_.size() || !LinkedKYTtoHtml) return;
    const TListHtmlRow& r = rows_[std::size_t(row)];
    const std::string folder = ExportFolder();
    const std::string& name = r.code ? r.texts[colFile] : LinkedKYTtoHtml->StyleSheetName();
    // A row without a file (the page lists of the other formats) names none, not the folder.
    if (name.empty()) return;
    first = Join(folder, name);
    if (r.texts[colFrameSize].empty()) return;
    if (TKYToggetto* object = ObjectOf(row))
        second = Join(folder, LinkedKYTtoHtml->ObjectFileName(*object, 1));
    if (second == first) second.clear();
}

bool TKYTListHtmlToTx::AdvanceStamp(int row, std::int32_t version) {
    TKYToggetto* object = ObjectOf(row);
    if (!object || object->Kind() != TOggettiHel::testoHtml) return false;
    const std::int32_t stamp = object->VersionStamp();
    if (stamp < version || stamp == INT32_MAX) return false;
    object->SetVersionStamp(stamp + 1);
    return true;
}

void TKYTListHtmlToTx::SetStamp(int row, std::int32_t stamp) {
    if (TKYToggetto* object = ObjectOf(row)) object->SetVersionStamp(stamp);
}

void TKYTListHtmlToTx::CheckNewerThan(std::int32_t version) {
    for (TListHtmlRow& row : rows_) row.checked = VersionOf(row) > version;
}

void TKYTListHtmlToTx::RefreshStamps() {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (TKYToggetto* object = ObjectOf(int(i)))
            rows_[i].texts[colVersion] = std::to_string(object->VersionStamp());
}

void TKYTListHtmlToTx::SetAllChecked(bool checked) {
    for (TListHtmlRow& row : rows_) row.checked = checked;
}

Status TKYTListHtmlToTx::RenameRow(int row, std::string caption) {
    TKYToggetto* object = ObjectOf(row);
    if (!object) return Fail(std::string("Questa riga non si può rinominare"_cp));
    object->SetName(caption);
    rows_[std::size_t(row)].caption = object->Name();
    return Status::Ok();
}

}  // namespace orvo
