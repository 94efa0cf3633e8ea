#include "app/ImportWindowRules.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/DocumentConverters.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "base/Result.h"
#include "convert/HtmlImport.h"
#include "convert/uKYTexp.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/IMessages.h"
#include "platform/ISettings.h"

namespace orvo {

using namespace literals;

namespace {

constexpr std::string_view kTextList = "*.txt;*.asc;*.pas;*.c;*.cpp;*.ini;*.h;*.inc;*.dpr;";
constexpr std::string_view kDocList = "*.doc;*.wri;*.rtf;";
// Dropped files are taken only when the first one is of these.
constexpr std::string_view kDropped = "*.txt;*.ini;*.asc;*.rtf;*.pas;*.c;*.cpp;*.doc;*.wri;";

std::string Trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1));
}

bool Lists(std::string_view list, const std::string& file) {
    const std::string extension = ExtensionOf(file);
    if (extension.empty()) return false;
    return list.find("*" + extension + ";") != std::string_view::npos;
}

int Number(const std::string& text, int fallback, int lo, int hi) {
    const std::optional<int> n = ParseSettingInt(Trimmed(text));
    return std::clamp(n.value_or(fallback), lo, hi);
}

std::string Absolute(const std::string& file) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(NativePath(file), ec);
    return ec ? file : NameOfPath(full.lexically_normal());
}

// Rows taken out of a list, highest first so the others keep their places.
void RemoveRows(std::vector<std::string>& list, std::vector<int> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows)
        if (row >= 0 && std::size_t(row) < list.size()) list.erase(list.begin() + row);
}

}  // namespace

ImportWindowRules::ImportWindowRules(ImportWindowParts parts) : parts_(parts) {
    formats_ = {
        {0, "HTML", "*.htm;*.html;", "*.htm;*.html;"},
        {1, "RTF (Word, Word Perfect, Publisher, ...): più pagine"_cp, "*.rtf;", "*.rtf;"},
        {2, "RTF (Word, Word Perfect, Publisher, ...): una pagina ogni file", "*.rtf;", "*.rtf;"},
        {3, "RTF (WinHelp Compiler): più pagine"_cp, "*.rtf;", "*.rtf;"},
        {4, "ASCII (Blocco note,...)", kTextList, kTextList},
    };
    if (parts_.wordProcessor) {
        formats_.push_back(
            {5, "DOC (Word): più pagine"_cp, "*.doc;*.wri;*.rtf;*.docx;*.odt;", kDocList});
        formats_.push_back(
            {6, "DOC (Word): una pagina ogni file", "*.doc;*.wri;*.rtf;*.docx;*.odt;", kDocList});
    }
    Load();
}

ImportWindowRules::~ImportWindowRules() {
    Store();
}

const ImportFormat& ImportWindowRules::Shown() const {
    for (const ImportFormat& f : formats_)
        if (f.number == format_) return f;
    return formats_[1];
}

void ImportWindowRules::Load() {
    const SettingsStore store(parts_.settings, parts_.messages);
    values_ = ReadImportWindowSettings(store, format_, parts_.environment);
}

void ImportWindowRules::Store() {
    SettingsStore store(parts_.settings, parts_.messages);
    const std::string group = std::string(keys::kImp) + "\\" + std::to_string(format_);
    std::string folder = values_.impPathInWindow;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    store.writeGroupValue(group, keys::kImpPathInWindow, folder);
    store.writeGroupFlag(group, keys::kAllToGif, values_.allToGif);
    store.writeGroupFlag(group, keys::kSummary, values_.summary);
    store.writeGroupFlag(group, keys::kComune, values_.comune);
    store.writeGroupValue(group, keys::kNumParPerPag,
                          std::to_string(Number(values_.numParPerPag, 100, 6, 300)));
    store.writeGroupValue(group, keys::kTitLevel,
                          std::to_string(Number(values_.titLevel, 4, 1, 15)));
}

void ImportWindowRules::ChooseFormat(int format) {
    const bool listed = std::any_of(formats_.begin(), formats_.end(),
                                    [&](const ImportFormat& f) { return f.number == format; });
    if (!listed || format == format_) return;
    Store();
    format_ = format;
    Load();
    if (format_ != 0) linksActive = false;
}

std::vector<std::string> ImportWindowRules::BrowserPatterns() const {
    std::vector<std::string> patterns;
    std::string_view list = Shown().browser;
    while (!list.empty()) {
        const std::size_t end = list.find(';');
        const std::string_view one = list.substr(0, end);
        if (!one.empty()) patterns.emplace_back(one);
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return patterns;
}

void ImportWindowRules::Open(const std::string& file) {
    if (file.empty()) return;
    for (const ImportFormat& f : formats_)
        if (Lists(f.opened, file)) {
            ChooseFormat(f.number);
            break;
        }
    AddFile(file);
}

bool ImportWindowRules::AddFile(const std::string& file) {
    if (file.empty()) return false;
    const std::string full = Absolute(file);
    if (std::find(files_.begin(), files_.end(), full) != files_.end()) return false;
    files_.push_back(full);
    return true;
}

void ImportWindowRules::RemoveFiles(std::vector<int> rows) {
    RemoveRows(files_, std::move(rows));
}

int ImportWindowRules::Drop(const std::vector<std::string>& files) {
    if (files.empty() || !Lists(kDropped, files.front())) return 0;
    int added = 0;
    std::size_t from = 0;
    if (files_.empty()) {
        for (const ImportFormat& f : formats_)
            if (Lists(f.opened, files.front())) {
                ChooseFormat(f.number);
                break;
            }
        added += AddFile(files.front()) ? 1 : 0;
        from = 1;
    }
    for (std::size_t i = from; i < files.size(); ++i)
        if (Lists(Shown().opened, files[i]) && AddFile(files[i])) ++added;
    return added;
}

void ImportWindowRules::DetermineList() {
    linked_.clear();
    if (Trimmed(root).empty()) return;
    const std::string full = Absolute(Trimmed(root));
    std::vector<std::string> pages;
    CollectLinkedPages(full, pages, std::clamp(levels, 0, 200));
    linked_.push_back(full);
    linked_.insert(linked_.end(), pages.begin(), pages.end());
}

std::string ImportWindowRules::LinkedCount() const {
    return "(" + std::to_string(linked_.size()) + ")";
}

void ImportWindowRules::RemoveLinked(std::vector<int> rows) {
    RemoveRows(linked_, std::move(rows));
}

Outcome ImportWindowRules::Import(const std::string& browserSelection,
                                  const std::function<void(const std::string&)>& status) {
    firstPage_ = -1;
    const bool links = format_ == 0 && linksActive;
    if (links && linked_.empty()) DetermineList();
    std::vector<std::string> files = links ? linked_ : files_;
    if (files.empty() && !browserSelection.empty()) files.push_back(Absolute(browserSelection));
    // The list is kept across formats: only the files of the shown one are read (any file
    // for text).
    if (!links && format_ != 4)
        std::erase_if(files, [&](const std::string& f) { return !Lists(Shown().browser, f); });
    if (files.empty()) {
        parts_.messages.Error(kNoFileChosen);
        return Outcome::Cancelled;
    }
    Store();
    DocumentConverters& converters = parts_.converters;

    // The background of the new pages: the picture only when asked for and readable.
    std::int32_t picture = -1;
    if (usePicture && !backgroundPicture.empty()) {
        const Result<TKYToggetto*> loaded = parts_.set.AddPictureFromFile(backgroundPicture);
        if (loaded && *loaded) picture = (*loaded)->Identifier();
    }
    TKYTtoHtml& html = converters.Html();
    const TMyExpProgressEvent progress = html.OnExpProgress;
    html.OnExpProgress = [&status](TKYTconv&, int pag, int tot, int phase) {
        if (status) status(ProgressText(phase, pag, tot));
    };
    std::vector<std::int32_t> made;
    Outcome outcome = Outcome::Done;
    if (format_ == 0) {
        const std::int32_t colour = converters.HtmlColour, image = converters.HtmlPicture;
        converters.HtmlColour = backgroundColour;
        converters.HtmlPicture = picture;
        // Links and pictures are read only inside the root's folder, or each file's own.
        std::filesystem::path folder;
        if (links) folder = NativePath(files.front()).parent_path();
        converters.ImportHtml(files, folder);
        converters.HtmlColour = colour;
        converters.HtmlPicture = image;
        made = converters.LastImported();
    } else if (format_ == 4) {
        TKYTtoTxt& text = converters.Text();
        const std::int32_t colour = text.ImportColour, image = text.ImportImage;
        text.ImportColour = backgroundColour;
        text.ImportImage = picture;
        text.ImportFiles(files);
        text.ImportColour = colour;
        text.ImportImage = image;
        made = text.ImportedPages;
    } else {
        const RtfImportOptions options = converters.RtfImport;
        const bool split = converters.RtfSplit;
        RtfImportOptions& o = converters.RtfImport;
        o.buildIndex = values_.summary;
        o.commonIndex = values_.comune;
        o.headingLimit = Number(values_.titLevel, 4, 1, 15);
        o.maxParagraphs = Number(values_.numParPerPag, 100, 6, 300);
        o.convertToGif = values_.allToGif;
        o.backgroundColour = backgroundColour;
        o.backgroundPicture = picture;
        o.helpMode = format_ == 3;
        converters.RtfSplit = format_ != 2 && format_ != 6;
        outcome = converters.ImportFiles(files);
        converters.RtfImport = options;
        converters.RtfSplit = split;
        made = converters.LastImported();
    }
    html.OnExpProgress = progress;
    if (made.empty()) return outcome == Outcome::Done ? Outcome::Failed : outcome;
    firstPage_ = made.front();
    converters.ShowImported(firstPage_);
    return Outcome::Done;
}

}  // namespace orvo
