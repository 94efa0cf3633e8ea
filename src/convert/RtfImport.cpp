// The RTF reader: one pass over the bytes with an explicit stack of group states (never
// recursive, so any nesting is safe), the head tables read wherever they stand, and the body
// written as markup into the output of the piece being read (the page, or a footnote, header,
// footer or annotation of it).
#include "convert/RtfImport.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <new>
#include <unordered_map>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/RtfCodePage.h"
#include "convert/RtfImportParts.h"
#include "convert/TextImport.h"
#include "model/ObjectRecord.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/IMessages.h"
#include "platform/WordProcessor.h"

namespace orvo {

bool TRtfStateList::Pop(TRtfState& popped) {
    if (states_.size() <= 1) return false;
    popped = std::move(states_.back());
    states_.pop_back();
    return true;
}

std::string TRtfHeader::FontName(int number) const {
    const auto found = fonts.find(number);
    if (found == fonts.end() || found->second.name.empty()) return std::string(kDefaultStyleFont);
    return found->second.name;
}

std::int32_t TRtfHeader::Colour(int index) const {
    if (index < 0 || std::size_t(index) >= colours.size()) return 0;
    return colours[std::size_t(index)];
}

std::string HelpImportReport::Text() const {
    std::string text = "  Pagine importate:\r\n";
    for (const std::string& line : pages) text += line + "\r\n";
    text += "  Parole chiave importate:\r\n";
    for (const std::string& line : keywords) text += line + "\r\n";
    text += "  Collegamenti non importati:\r\n";
    if (failedLinks.empty()) text += "nessuna\r\n";
    for (const std::string& line : failedLinks) text += line + "\r\n";
    return text;
}

TRtfImp::TRtfImp(TKYTset& set, RtfImportOptions options) : set_(set), options_(options) {
    options_.headingLimit = std::clamp(options_.headingLimit, 1, 15);
    options_.maxParagraphs = std::clamp(options_.maxParagraphs, 6, 300);
    for (const auto& page : set_.KindList(TOggettiHel::testoHtml)) {
        if (page->IsFree()) continue;
        const std::string context = PageRecord::Read(*page).HelpContext();
        if (!context.empty()) contexts.emplace(Upper1252(context), page->Identifier());
    }
}

TRtfImp::~TRtfImp() {
    CompleteIndex();
}

void TRtfImp::CompleteIndex() {
    if (indexPage < 0) return;
    if (TKYToggetto* page = set_.ObjectByKind(TOggettiHel::testoHtml, indexPage))
        page->SetContent(indexMarkup + '\0');
    indexPage = -1;
    indexMarkup.clear();
}

std::int32_t TRtfImp::ImportFiles(const std::vector<std::string>& names, bool split) {
    ImportedPages.clear();
    Problems.clear();
    Failures.clear();
    Report = {};
    const int total = int(names.size());
    for (int i = 0; i < total; ++i) {
        const std::string& name = names[std::size_t(i)];
        if (OnProgress) OnProgress(i, total, 1);
        Result<std::string> bytes = Fail("");
        try {
            bytes = ReadFileBytes(NativePath(name));
        } catch (const std::bad_alloc&) {
            Failures.emplace_back(kRtfOutOfMemory);
            continue;
        }
        if (!bytes || !LooksLikeRtf(*bytes)) {
            Problems.push_back(name);
            continue;
        }
        try {
            TRtfPage page(*this, *bytes, false);
            page.sourceFolder = NativePath(name).parent_path();
            page.ImportFile(split);
        } catch (const std::bad_alloc&) {
            Failures.emplace_back(kRtfOutOfMemory);
        }
        if (!options_.commonIndex) CompleteIndex();
    }
    CompleteIndex();
    if (!Problems.empty()) {
        std::string text(kRtfProblems);
        for (const std::string& name : Problems) text += name + "\r\n";
        Failures.push_back(std::move(text));
    }
    return ImportedPages.empty() ? 0 : ImportedPages.front();
}

bool IsWordProcessorExtension(std::string_view extension) {
    const std::string lower = Lower1252(extension);
    return lower == ".doc" || lower == ".docx" || lower == ".odt" || lower == ".wpd" ||
           lower == ".wri";
}

std::int32_t TRtfImp::ImportDocuments(const std::vector<std::string>& names, bool split,
                                      IWordProcessor& processor) {
    ImportedPages.clear();
    Failures.clear();
    if (!processor.Available()) {
        Failures.emplace_back(kNoWordProcessor);
        return 0;
    }
    const std::filesystem::path folder = set_.WorkingDirectory() / "rtftmpI";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::vector<std::string> converted;
    for (const std::string& name : names) {
        Result<std::filesystem::path> rtf = processor.Convert(NativePath(name), "rtf", folder);
        if (!rtf) break;
        converted.push_back(NameOfPath(*rtf));
    }
    const bool allConverted = converted.size() == names.size();
    const std::int32_t first = converted.empty() ? 0 : ImportFiles(converted, split);
    if (!allConverted) Failures.insert(Failures.begin(), std::string(kNoWordProcessor));
    for (const std::string& name : converted) std::filesystem::remove(NativePath(name), ec);
    std::filesystem::remove(folder, ec);
    return first;
}

std::string TRtfImp::ImportFragment(std::string_view rtf, int* paragraphs) {
    if (!LooksLikeRtf(rtf)) {
        if (paragraphs) *paragraphs = 1;
        return "<Z S0 >";
    }
    TRtfPage page(*this, rtf, true);
    return page.Fragment(paragraphs);
}

}  // namespace orvo
