#include "app/ObjectDeletion.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "base/Cp1252.h"
#include "model/HeaderRecord.h"
#include "model/ObjectRecord.h"
#include "model/TKYTorderedTree.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo {

using K = TOggettiHel;

namespace {

// A table names its background picture as 0x03000000 + the picture's identifier.
constexpr std::int32_t kTableBackgroundBase = 0x03000000;

// Codes that start a link in a stored text (the rest are objects sitting in the text).
bool IsLinkKind(int kind) {
    return kind == KindIndex(K::testoHtml) || kind == KindIndex(K::internetLink) ||
           kind == KindIndex(K::zipLink) || kind == KindIndex(K::genLink) ||
           kind == KindIndex(K::programma) || kind == KindIndex(K::speclink);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The stored text without the codes of `gone`: a link's start becomes a link end (its words
// stay, unlinked), an object goes. Returns whether anything changed.
bool DropCodes(std::string& text, const std::set<std::int32_t>& gone) {
    std::string out;
    out.reserve(text.size());
    bool changed = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t at = text.find("<$", pos);
        if (at == std::string::npos) break;
        out.append(text, pos, at - pos);
        pos = at;
        bool ok = at + 11 <= text.size() && text[at + 10] == '>';
        std::uint32_t value = 0;
        for (std::size_t i = 0; ok && i < 8; ++i) {
            const int d = HexValue(text[at + 2 + i]);
            ok = d >= 0;
            value = (value << 4) | std::uint32_t(std::max(d, 0));
        }
        if (ok && gone.count(std::int32_t(value))) {
            if (IsLinkKind(CodeKind(std::int32_t(value)))) out += "<%>";
            pos = at + 11;
            changed = true;
        } else {
            out.append(text, at, 2);
            pos = at + 2;
        }
    }
    out.append(text, pos, std::string::npos);
    if (changed) text = std::move(out);
    return changed;
}

bool Gone(const std::set<std::int32_t>& gone, K kind, std::int32_t identifier) {
    return identifier >= 0 && gone.count(MakeCode(kind, identifier)) > 0;
}

void ResetIf(RecordView record, const FieldSpec& field, const std::set<std::int32_t>& gone, K kind,
             std::int32_t value) {
    if (Gone(gone, kind, record.I32(field))) record.SetI32(field, value);
}

// Every field of the objects in use and of the header that names a deleted object.
void DropReferences(TKYTset& set, const std::set<std::int32_t>& gone) {
    for (const auto& page : set.KindList(K::testoHtml)) {
        if (!page || page->IsFree()) continue;
        RecordView r = page->View();
        ResetIf(r, kPageBackPicture, gone, K::immagine, -1);
        ResetIf(r, kPageHeader, gone, K::testoHtml, -2);
        ResetIf(r, kPageFooter, gone, K::testoHtml, -2);
        ResetIf(r, kPageRedirectTarget, gone, K::testoHtml, -1);
        for (int k = 0; k < kPageKeywordCount; ++k) {
            const std::size_t at = kPageKeywords.offset + 4 * std::size_t(k);
            if (Gone(gone, K::keyword, r.I32At(at))) r.SetI32At(at, -1);
        }
        Result<std::string> text = page->ContentBytes();
        if (text && DropCodes(*text, gone)) page->SetContent(std::move(*text));
    }
    for (const auto& image : set.KindList(K::immagineNew)) {
        if (!image || image->IsFree()) continue;
        ResetIf(image->View(), kImageLowRes, gone, K::immagine, -1);
        ResetIf(image->View(), kImageRollover, gone, K::immagine, -1);
    }
    for (const auto& button : set.KindList(K::bottoneCGI))
        if (button && !button->IsFree())
            ResetIf(button->View(), kButtonPicture, gone, K::immagine, -1);
    for (const auto& table : set.KindList(K::tabellaHtml)) {
        if (!table || table->IsFree()) continue;
        const std::int32_t background = table->ReadView().I32(kTableBackground);
        if (background >= kTableBackgroundBase &&
            Gone(gone, K::immagine, background - kTableBackgroundBase))
            table->View().SetI32(kTableBackground, -1);
    }
    RecordView h = set.HeaderRecordView();
    ResetIf(h, kHdrCoverPage, gone, K::testoHtml, 0);
    ResetIf(h, kHdrContentsPage, gone, K::testoHtml, -1);
    ResetIf(h, kHdrHeaderPage, gone, K::testoHtml, -1);
    ResetIf(h, kHdrFooterPage, gone, K::testoHtml, -1);
    ResetIf(h, kHdrBackPicture, gone, K::immagine, -1);
}

// The nodes of deleted pages and prototypes leave the trees that exist (none is made).
void DropTreeNodes(TKYTset& set, const std::vector<std::int32_t>& codes) {
    const std::pair<K, const FieldSpec*> trees[] = {{K::testoHtml, &kHdrPageTree},
                                                    {K::custom, &kHdrPrototypeTree}};
    for (const auto& [kind, field] : trees) {
        if (set.HeaderView().I32(*field) == 0) continue;
        TKYTorderedTree tree(&set, kind);
        tree.OnDel = [](const TreeNode&) { return true; };
        tree.LoadTree();
        bool changed = false;
        for (std::int32_t code : codes)
            if (CodeKind(code) == KindIndex(kind) && tree.SelectObject(code))
                changed = tree.DeleteSelected() || changed;
        if (changed) tree.SaveTree();
    }
}

// An embedded file's working copy, when it lies in the hypertext's working folder.
void DeleteWorkingCopy(TKYTset& set, const TKYToggetto& file) {
    const std::string& copy = file.ContentFileName();
    if (copy.empty()) return;
    std::error_code ec;
    const auto folder = std::filesystem::weakly_canonical(set.WorkingDirectory(), ec);
    const auto path = std::filesystem::weakly_canonical(std::filesystem::path(copy), ec);
    if (ec) return;
    const auto rel = path.lexically_relative(folder);
    if (rel.empty() || *rel.begin() == "..") return;
    std::filesystem::remove(path, ec);
}

}  // namespace

std::string SelectedLine(const TKYTset& set, std::int32_t code) {
    const TKYToggetto* object = set.ObjectByCode(code);
    return object ? object->Name() : std::string();
}

std::string DeletedLine(std::string line) {
    return line + " [X] Cancellato";
}

std::vector<std::int32_t> CollectForDeletion(const std::vector<std::int32_t>& selected) {
    std::vector<std::int32_t> codes;
    for (std::int32_t code : selected)
        if (code != 0 && std::find(codes.begin(), codes.end(), code) == codes.end())
            codes.push_back(code);
    return codes;
}

DeletionResult DeleteObjects(TKYTset& set, const std::vector<std::int32_t>& codes,
                             const DeletionEditor& editor) {
    DeletionResult result;
    const int shown = editor.shownPage ? editor.shownPage() : -1;
    if (editor.showPage) editor.showPage(-1);

    auto inUse = [&](std::int32_t code) {
        const TKYToggetto* object = set.ObjectByCode(code);
        return object && object->Registered() && !object->IsFree() && object->Code() == code;
    };
    for (std::int32_t code : CollectForDeletion(codes))
        if (inUse(code)) result.deleted.push_back(code);
    // An image object without its picture shows nothing: it goes too.
    const std::size_t asked = result.deleted.size();
    for (const auto& image : set.KindList(K::immagineNew)) {
        if (!image || image->IsFree()) continue;
        const std::int32_t picture = MakeCode(K::immagine, image->ReadView().I32(kImagePicture));
        if (std::find(result.deleted.begin(), result.deleted.begin() + std::ptrdiff_t(asked),
                      picture) != result.deleted.begin() + std::ptrdiff_t(asked))
            result.deleted.push_back(image->Code());
    }

    DropTreeNodes(set, result.deleted);
    for (std::int32_t code : result.deleted) {
        TKYToggetto* object = set.ObjectByCode(code);
        if (!object || object->IsFree()) continue;  // cleared with a page that held it
        if (object->Kind() == K::genLink) DeleteWorkingCopy(set, *object);
        object->Clear();
    }
    const std::set<std::int32_t> gone(result.deleted.begin(), result.deleted.end());
    DropReferences(set, gone);

    if (set.UndoHistory) set.UndoHistory->Restart(set.UndoDeep);
    set.SetModified(true);
    result.pageShown = shown >= 0 && !gone.count(MakeCode(K::testoHtml, shown)) ? shown : 0;
    if (shown < 0) result.pageShown = shown;
    if (editor.showPage) editor.showPage(result.pageShown);
    return result;
}

}  // namespace orvo
