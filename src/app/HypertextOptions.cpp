#include "app/HypertextOptions.h"

#include <algorithm>

#include "model/HeaderRecord.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/ISettings.h"

namespace orvo {

using K = TOggettiHel;

namespace {

constexpr std::size_t kStoredText = 79;
constexpr std::size_t kStoredShort = 16;
constexpr std::size_t kStoredInformation = 1256;

std::string Cut(const std::string& text, std::size_t length) {
    return text.substr(0, std::min(length, text.size()));
}

}  // namespace

HypertextOptions::HypertextOptions(TKYTset& set, std::vector<SpellerLanguageItem> languages)
    : set_(set), languages_(std::move(languages)) {
    RecordView h = set.HeaderRecordView();
    title = h.PStr(kHdrTitle);
    authors = h.PStr(kHdrAuthors);
    company = h.PStr(kHdrCompany);
    copyright = h.PStr(kHdrCopyright);
    prefix = h.PStr(kHdrExportPrefix);
    password = h.PStr(kHdrPassword);
    version = h.I32(kHdrSaveCounter);
    // The information ends at its first 0 byte, and at the field's last byte in any case.
    h.SetU8At(kHdrInformation.offset + kHdrInformation.width - 1, 0);
    const std::string_view info = h.Raw(kHdrInformation);
    information = std::string(info.substr(0, info.find('\0')));

    auto page = [&](const FieldSpec& field) -> std::optional<std::int32_t> {
        const std::int32_t id = h.I32(field);
        const TKYToggetto* object = set.ObjectByKind(K::testoHtml, id);
        if (!object || object->IsFree()) return std::nullopt;
        return id;
    };
    coverPage = page(kHdrCoverPage);
    contentsPage = page(kHdrContentsPage);
    headerPage = openedHeader_ = page(kHdrHeaderPage);
    footerPage = openedFooter_ = page(kHdrFooterPage);

    const std::int32_t pictureId = h.I32(kHdrBackPicture);
    TKYToggetto* picture = set.ObjectByKind(K::immagine, pictureId);
    if (picture && !picture->IsFree()) picture_ = picture;
    useBackgroundPicture = pictureId >= 0;
    backgroundColour = h.I32(kHdrBackColour);
    textColour = h.I32(kHdrTextColour);
    linkColour = h.I32(kHdrLinkColour);
    visitedColour = h.I32(kHdrVisitedColour);

    readOnly = h.U8(kHdrReadOnly) != 0;
    navContents = h.U8(kHdrNavSommario) != 0;
    navSearch = h.U8(kHdrNavCerca) != 0;
    navHelp = h.U8(kHdrNavGuida) != 0;
    navCover = h.U8(kHdrNavCopertinaHidden) == 0;
    navNone = h.U8(kHdrNoNavigation) != 0;

    std::stable_sort(languages_.begin(), languages_.end(),
                     [](const auto& a, const auto& b) { return a.name < b.name; });
    const std::uint16_t language = h.U16(kHdrLanguage);
    for (std::size_t i = 0; i < languages_.size(); ++i)
        if (languages_[i].id == language) selectedLanguage = int(i);
    if (selectedLanguage < 0 && !languages_.empty()) {
        selectedLanguage = 0;
        h.SetU16(kHdrLanguage, languages_[0].id);
    }
}

HypertextOptions::~HypertextOptions() = default;

std::string HypertextOptions::PageLabel(const std::optional<std::int32_t>& page) const {
    if (!page) return std::string(kNoPageLabel);
    const TKYToggetto* object = set_.ObjectByKind(K::testoHtml, *page);
    return object && !object->IsFree() ? object->Name() : std::string(kNoPageLabel);
}

void HypertextOptions::ChooseBackgroundPicture(TKYToggetto* registered) {
    if (!registered) return;
    ownPicture_.reset();
    picture_ = registered;
    useBackgroundPicture = true;
}

void HypertextOptions::ChooseBackgroundPicture(std::unique_ptr<TKYToggetto> unregistered) {
    if (!unregistered) return;
    ownPicture_ = std::move(unregistered);
    picture_ = ownPicture_.get();
    useBackgroundPicture = true;
}

void HypertextOptions::Apply(const HypertextOptionsHost& host) {
    RecordView h = set_.HeaderRecordView();
    h.SetPStr(kHdrTitle, Cut(title, kStoredText));
    h.SetPStr(kHdrAuthors, Cut(authors, kStoredText));
    h.SetPStr(kHdrCompany, Cut(company, kStoredText));
    h.SetPStr(kHdrCopyright, Cut(copyright, kStoredText));
    h.SetPStr(kHdrExportPrefix, Cut(prefix, kStoredShort));
    h.SetPStr(kHdrPassword, Cut(password, kStoredShort));
    // The information, its 0 byte, and zeros to the end of its field (no older text stays).
    std::string info = Cut(information.substr(0, information.find('\0')), kStoredInformation);
    info.resize(kHdrInformation.width, '\0');
    h.SetRaw(kHdrInformation, info);

    h.SetI32(kHdrContentsPage, contentsPage.value_or(-1));
    if (coverPage) h.SetI32(kHdrCoverPage, *coverPage);
    h.SetI32(kHdrHeaderPage, headerPage.value_or(-1));
    h.SetI32(kHdrFooterPage, footerPage.value_or(-1));

    h.SetI32(kHdrBackColour, backgroundColour);
    h.SetI32(kHdrTextColour, textColour);
    h.SetI32(kHdrLinkColour, linkColour);
    h.SetI32(kHdrVisitedColour, visitedColour);

    std::int32_t pictureId = -1;
    if (useBackgroundPicture && picture_) {
        if (ownPicture_) set_.Register(std::move(ownPicture_));
        pictureId = picture_->Identifier();
    }
    h.SetI32(kHdrBackPicture, pictureId);

    h.SetU8(kHdrReadOnly, readOnly ? 1 : 0);
    h.SetU8(kHdrNavSommario, navContents ? 1 : 0);
    h.SetU8(kHdrNavCerca, navSearch ? 1 : 0);
    h.SetU8(kHdrNavGuida, navHelp ? 1 : 0);
    h.SetU8(kHdrNavCopertinaHidden, navCover ? 0 : 1);
    h.SetU8(kHdrNoNavigation, navNone ? 1 : 0);

    bool languageChanged = false;
    TQzSpellChecker* speller = host.speller;
    if (speller && speller->IsOpen()) {
        const std::uint16_t previous = h.U16(kHdrLanguage);
        const std::uint16_t language =
            selectedLanguage >= 0 && std::size_t(selectedLanguage) < languages_.size()
                ? languages_[std::size_t(selectedLanguage)].id
                : previous;
        if (language != speller->Language()) {
            languageChanged = true;
            if (host.settings) host.settings->Write("orto", "lang", std::to_string(language));
            const bool wasReadOnly = host.editorReadOnly ? host.editorReadOnly() : true;
            if (host.setEditorReadOnly) host.setEditorReadOnly(true);
            speller->Close();
            speller->SetLanguage(language);
            if (!speller->Open()) {
                speller->Close();
                speller->SetLanguage(previous);
                speller->Open();
            }
            if (!wasReadOnly && host.setEditorReadOnly) host.setEditorReadOnly(false);
        }
        h.SetU16(kHdrLanguage, language);
    }

    if (headerPage != openedHeader_ || footerPage != openedFooter_ || languageChanged)
        if (host.reshowPage) host.reshowPage(-1);
    set_.SetModified(true);
}

}  // namespace orvo
