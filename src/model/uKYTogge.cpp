// TKYToggetto: kinds, defaults, names, records, copying, streams and extraction.
#include "model/uKYTogge.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/ByteReader.h"
#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "model/KindHooks.h"
#include "model/StyleRecord.h"
#include "model/uKYTset.h"

namespace orvo {

using namespace orvo::literals;
using K = TOggettiHel;

namespace {

std::array<KindHooks, kKindCount>& HookTable() {
    static std::array<KindHooks, kKindCount> table = [] {
        std::array<KindHooks, kKindCount> built{};
        for (int kind = 0; kind < kKindCount; ++kind) built[kind] = BuiltInKindHooks(KindOf(kind));
        return built;
    }();
    return table;
}

constexpr std::string_view kNewPageText{"<Z S0 >\0", 8};

}  // namespace

void SetKindHooks(TOggettiHel kind, const KindHooks& hooks) {
    HookTable()[KindIndex(kind)] = hooks;
}
const KindHooks& HooksOf(TOggettiHel kind) {
    return HookTable()[KindIndex(kind) % kKindCount];
}

// ---------------------------------------------------------------------------------------------
// ObjectContent

std::int64_t ObjectContent::Size() const {
    switch (where_) {
        case Where::Memory:
            return std::int64_t(bytes_.size());
        case Where::File:
            return size_;
        default:
            return 0;
    }
}

Result<std::string> ObjectContent::Bytes() const {
    switch (where_) {
        case Where::Memory:
            return bytes_;
        case Where::File:
            return file_->ReadAt(position_, size_);
        default:
            return std::string();
    }
}

void ObjectContent::SetMemory(std::string bytes) {
    Reset();
    where_ = Where::Memory;
    bytes_ = std::move(bytes);
}

void ObjectContent::SetFileRange(std::shared_ptr<const DocumentFile> file, std::int64_t position,
                                 std::int64_t size) {
    Reset();
    if (!file) return;
    where_ = Where::File;
    file_ = std::move(file);
    position_ = position;
    size_ = size;
}

void ObjectContent::Reset() {
    where_ = Where::None;
    bytes_.clear();
    bytes_.shrink_to_fit();
    file_.reset();
    position_ = size_ = 0;
}

// ---------------------------------------------------------------------------------------------
// Kind tables

namespace {

// Where each kind keeps its name; nullptr for none (speclink and shortObj derive theirs).
const FieldSpec* NameField(TOggettiHel kind) {
    switch (kind) {
        case K::testoHtml:
            return &kPageTitle;
        case K::internetLink:
            return &kLinkAddress;
        case K::zipLink:
        case K::genLink:
            return &kGenLinkFile;
        case K::keyword:
            return &kKeywordText;
        case K::immagine:
        case K::mappaClic:
            return &kPictureName;
        case K::programma:
            return &kProgramName;
        case K::mappaFrame:
            return &kFrameMapName;
        case K::custom:
            return &kCustomName;
        case K::dbloc:
            return &kDblocName;
        case K::immagineNew:
            return &kImageName;
        case K::stileParagrafo:
            return &kStyleName;
        case K::fontFace:
            return &kFontFaceName;
        case K::inputStat:
        case K::inputDin:
        case K::bottoneCGI:
            return &kFormName;
        case K::inizioForm:
            return &kFormStartName;
        default:
            return nullptr;
    }
}

const FieldSpec* FileField(TOggettiHel kind) {
    switch (kind) {
        case K::zipLink:
        case K::genLink:
            return &kGenLinkFile;
        case K::immagine:
        case K::mappaClic:
            return &kPictureFile;
        case K::programma:
            return &kProgramFile;
        default:
            return nullptr;
    }
}

const FieldSpec* StampField(TOggettiHel kind) {
    switch (kind) {
        case K::testoHtml:
            return &kPageVersionStamp;
        case K::zipLink:
        case K::genLink:
            return &kGenLinkStamp;
        case K::immagine:
        case K::mappaClic:
            return &kPictureStamp;
        default:
            return nullptr;
    }
}

std::uint8_t InternetLinkSubtype(std::string_view address) {
    if (address.starts_with("orvo:")) return 6;
    if (address.starts_with("http:")) return 7;
    if (address.starts_with("mailto:")) return 8;
    return 4;
}

bool ContainsCodeRef(std::string_view text, std::string_view marker, std::int32_t code) {
    const std::string hex = Hex8(std::uint32_t(code));
    for (std::size_t at = text.find(marker); at != std::string_view::npos;
         at = text.find(marker, at + 1)) {
        const std::size_t digits = at + marker.size();
        if (digits + 8 <= text.size() && SameText1252(text.substr(digits, 8), hex)) return true;
    }
    return false;
}

// "<$" + code + ">" in a stored text, the hexadecimal digits compared without case.
bool TextHoldsCode(std::string_view text, std::int32_t code) {
    const std::string hex = Hex8(std::uint32_t(code));
    for (std::size_t at = text.find("<$"); at != std::string_view::npos;
         at = text.find("<$", at + 2)) {
        if (at + 11 <= text.size() && text[at + 10] == '>' &&
            SameText1252(text.substr(at + 2, 8), hex))
            return true;
    }
    return false;
}

// Every "<$" code of a stored text.
std::vector<std::int32_t> CodesInText(std::string_view text) {
    std::vector<std::int32_t> codes;
    for (std::size_t at = text.find("<$"); at != std::string_view::npos;
         at = text.find("<$", at + 2)) {
        std::uint32_t value = 0;
        if (at + 11 <= text.size() && text[at + 10] == '>' &&
            ParseHex(text.substr(at + 2, 8), 8, value) == 8)
            codes.push_back(std::int32_t(value));
    }
    return codes;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Life of an object

TKYToggetto::TKYToggetto(TKYTset* owner) : owner_(owner) {
    record_.fill(0xFF);
}

TKYToggetto::~TKYToggetto() {
    if (owner_ && registered_ && kind_ == K::immagine) owner_->DropCachedPicture(identifier_);
}

TKYTtesto::~TKYTtesto() = default;

std::unique_ptr<TKYToggetto> NewObjectOfKind(TOggettiHel kind, TKYTset* owner) {
    std::unique_ptr<TKYToggetto> object;
    if (kind == K::testoHtml)
        object = std::make_unique<TKYTtesto>(owner);
    else
        object = std::make_unique<TKYToggetto>(owner);
    object->SetKind(kind);
    return object;
}

void TKYToggetto::SetKind(TOggettiHel kind) {
    if (registered_ && owner_ && kind != kind_) {
        // The old slot keeps a free object, so no kind list ever holds an empty entry; the
        // container keeps this object alive until the document is closed.
        owner_->KeepOrphan(owner_->Unregister(*this));
    }
    kind_ = kind;
}

void TKYToggetto::Clear() {
    if (kind_ == K::immagine && owner_ && registered_) owner_->DropCachedPicture(identifier_);
    if (const auto hook = HooksOf(kind_).dropReferences) hook(*this);
    record_.fill(0xFF);
    fileName_.clear();
    fileFieldSetInThisRun_ = true;
    content_.Reset();
    auxiliary_.reset();
    attributes_.reset();
    SetKindDefaults();
}

void TKYToggetto::SetKindDefaults() {
    RecordView r = View();
    const std::int32_t counter = owner_ ? owner_->SaveCounter() : 0;
    switch (kind_) {
        case K::testoHtml: {
            r.SetU8(kRecSubtype, 3);
            r.SetPStr(kPageTitle, kUntitled);
            if (owner_) {
                const RecordView h = owner_->HeaderView();
                r.SetI32(kPageBackPicture, h.I32(kHdrBackPicture));
                r.SetI32(kPageTextColour, h.I32(kHdrTextColour));
                r.SetI32(kPageLinkColour, h.I32(kHdrLinkColour));
                r.SetI32(kPageVisitedColour, h.I32(kHdrVisitedColour));
                r.SetI32(kPageBackColour, h.I32(kHdrBackColour));
            } else {
                r.SetI32(kPageBackPicture, -1);
                r.SetI32(kPageTextColour, 0);
                r.SetI32(kPageLinkColour, 0xFF0000);
                r.SetI32(kPageVisitedColour, 0x0000FF);
                r.SetI32(kPageBackColour, 0xC0C0C0);
            }
            r.SetU8(kPageExcluded, 1);
            r.SetI16(kPageReserved191, 1040);
            r.SetU8(kPageTextVersion, 2);
            r.SetI32(kPageVersionStamp, counter);
            r.SetPStr(kPageHelpContext, "");
            r.SetPStr(kPageAlias, "");
            r.SetU8(kPageFixedBackground, 0);
            break;
        }
        case K::internetLink:
            r.SetU8(kRecSubtype, 5);
            break;
        case K::genLink:
            r.SetU8(kRecSubtype, 5);
            r.SetI32(kGenLinkStamp, counter);
            break;
        case K::keyword:
            r.SetPStr(kKeywordText, "-");
            break;
        case K::immagine:
            r.SetU8(kRecSubtype, 3);
            r.SetU8(kPictureByte666, 0);
            r.SetI32(kPictureStamp, counter);
            break;
        case K::programma:
            r.SetU8(kRecSubtype, 1);
            break;
        case K::mappaFrame:
            r.SetU8(kRecSubtype, 1);
            r.SetPStr(kFrameMapName, "Map");
            break;
        case K::custom:
            r.SetU8(kRecSubtype, 0);
            r.SetPStr(kCustomName, "Nuovo prototipo");
            break;
        case K::dbloc:
            r.SetU8(kRecSubtype, 0);
            r.SetPStr(kDblocName, "db");
            break;
        case K::speclink:
        case K::shortObj:
        case K::immagineNew:
        case K::formato:
        case K::inputStat:
        case K::inputDin:
        case K::bottoneCGI:
        case K::inizioForm:
        case K::multiMedia:
            r.SetU8(kRecSubtype, 0);
            break;
        case K::tabellaHtml: {
            r.SetU8(kRecSubtype, 0);
            for (int c = 0; c < kTableMaxColumns; ++c) r.SetU8At(kTableColumnKinds + c, 1);
            r.SetU8(kTablePercentFlag, 1);
            r.SetI16(kTableFixedWidth, -1);
            r.SetU8(kTableStyle, 255);
            r.SetU8(kTableByte88, 100);
            r.SetU8(kTablePercent, 100);
            r.SetU8(kTablePadding, 2);
            r.SetU8(kTableSpacing, 2);
            r.SetU8(kTableBorder, 0);
            r.SetU8(kTableRows, 1);
            r.SetU8(kTableColumns, 1);
            r.SetU8(kTableByte95, 0);
            r.SetU8(kTableByte96, 0);
            for (int c = 0; c < kTableMaxColumns; ++c) r.SetI16At(kTableColumnWidths + 2 * c, 0);
            r.SetI32(kTable197, 0);
            r.SetI32(kTable201, 0);
            r.SetI16(kTable205, 0);
            r.SetI32(kTableBackground, -1);
            r.SetI32(kTableLightBorder, kSystemButtonHighlight);
            r.SetI32(kTableDarkBorder, kSystemButtonShadow);
            r.SetU8(kTableBackgroundFormat, 2);
            break;
        }
        case K::stileParagrafo:
            StyleRecord(record_).SetDefaults();
            break;
        default:
            break;
    }
}

void TKYToggetto::TakeIntoUse() {
    RecordView r = View();
    switch (kind_) {
        case K::testoHtml:
            r.SetU8(kRecSubtype, 0);
            content_.SetMemory(std::string(kNewPageText));
            break;
        case K::internetLink:
            r.SetU8(kRecSubtype, InternetLinkSubtype(Name()));
            break;
        case K::genLink:
            r.SetU8(kRecSubtype, 4);
            break;
        case K::immagine:
            r.SetU8(kRecSubtype, 0);
            break;
        case K::tabellaHtml:
        case K::mappaFrame:
            r.SetU8(kRecSubtype, 2);
            break;
        case K::dbloc:
            r.SetU8(kRecSubtype, 7);
            break;
        case K::speclink:
        case K::shortObj:
        case K::custom:
        case K::immagineNew:
        case K::formato:
        case K::inputStat:
        case K::inputDin:
        case K::bottoneCGI:
        case K::inizioForm:
        case K::multiMedia:
            r.SetU8(kRecSubtype, 1);
            break;
        default:
            break;
    }
    SetVersionStamp(owner_ ? owner_->SaveCounter() : 0);
}

bool TKYToggetto::IsFree() const {
    const std::uint8_t s = Subtype();
    switch (kind_) {
        case K::testoHtml:
        case K::immagine:
            return s == 3;
        case K::internetLink:
        case K::genLink:
            return s == 5;
        case K::keyword:
            return Name() == "-";
        case K::programma:
        case K::mappaFrame:
            return s == 1;
        case K::tabellaHtml:
        case K::speclink:
        case K::shortObj:
        case K::custom:
        case K::dbloc:
        case K::immagineNew:
        case K::formato:
        case K::inputStat:
        case K::inputDin:
        case K::bottoneCGI:
        case K::inizioForm:
        case K::multiMedia:
            return s == 0;
        default:
            return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Names

std::string TKYToggetto::Name() const {
    if (kind_ == K::speclink || kind_ == K::shortObj) {
        const std::string description = Describe();
        return description.substr(0, description.find('|'));
    }
    const FieldSpec* field = NameField(kind_);
    return field ? ReadView().PStr(*field) : std::string();
}

void TKYToggetto::SetName(std::string_view cp1252) {
    if (const FieldSpec* field = NameField(kind_)) View().SetPStr(*field, cp1252);
}

std::string TKYToggetto::FileName() const {
    const FieldSpec* field = FileField(kind_);
    return field ? ReadView().PStr(*field) : std::string();
}

namespace {

// The extension of a name's last component, as written (".GIF" stays ".GIF").
std::string_view RawExtension(std::string_view name) {
    const std::string_view last = LastComponent(name);
    const std::size_t dot = last.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : last.substr(dot);
}

// A file name no other genLink or immagine of the hypertext has (compared without case).
std::string UniqueFileName(const TKYToggetto& self, std::string name) {
    TKYTset* owner = self.Owner();
    if (!owner || name.empty()) return name;
    auto taken = [&](std::string_view candidate) {
        for (TOggettiHel kind : {K::genLink, K::immagine}) {
            for (const auto& other : owner->KindList(kind))
                if (other.get() != &self && SameText1252(other->FileName(), candidate)) return true;
        }
        return false;
    };
    if (!taken(name)) return name;
    const std::string extension(RawExtension(name));
    for (int attempt = 0; attempt < 100000; ++attempt) {
        std::string candidate = "ed";
        for (int i = 0; i < 6; ++i) candidate += "0123456789abcdef"[owner->Env().Random(16)];
        candidate += extension;
        if (!taken(candidate)) return candidate;
    }
    return name;
}

// A file name that fits `room` characters: the whole path when it fits, else its last
// component, else that component's stem cut so that the extension stays (exports name their
// files by it, so a cut must never take the extension away).
std::string FittedFileName(std::string_view name, std::size_t room) {
    if (name.size() <= room) return std::string(name);
    const std::string_view last = LastComponent(name);
    if (last.size() <= room) return std::string(last);
    const std::string_view extension = RawExtension(last);
    if (extension.size() >= room) return std::string(last.substr(0, room));
    return std::string(last.substr(0, room - extension.size())) + std::string(extension);
}

}  // namespace

void TKYToggetto::SetFileName(std::string_view cp1252) {
    const FieldSpec* field = FileField(kind_);
    if (!field) return;
    const std::string unique =
        UniqueFileName(*this, FittedFileName(cp1252, std::size_t(field->width - 1)));
    // A file field that was renamed or shortened no longer names the file the content is to
    // come from: keep that.
    if (unique != cp1252 && !content_.Present() && fileName_.empty()) fileName_ = cp1252;
    View().SetPStr(*field, unique);
    fileFieldSetInThisRun_ = true;
}

std::int32_t TKYToggetto::VersionStamp() const {
    const FieldSpec* field = StampField(kind_);
    if (field) return ReadView().I32(*field);
    return owner_ ? owner_->SaveCounter() : 0;
}

void TKYToggetto::SetVersionStamp(std::int32_t stamp) {
    if (const FieldSpec* field = StampField(kind_)) View().SetI32(*field, stamp);
}

// ---------------------------------------------------------------------------------------------
// Reading a record, copying

void TKYToggetto::ReadRecord(std::string_view stored) {
    record_.fill(0xFF);
    const std::size_t n = std::min(stored.size(), kObjectRecordSize);
    std::memcpy(record_.data(), stored.data(), n);
    fileFieldSetInThisRun_ = false;
    CompleteOldRecord(stored.size());
}

void TKYToggetto::CompleteOldRecord(std::size_t storedSize) {
    RecordView r = View();
    const std::int32_t previous = SaveCounterStep(owner_ ? owner_->SaveCounter() : 0, -1);
    auto uniqueFile = [&] {
        if (const FieldSpec* field = FileField(kind_))
            r.SetPStr(*field, UniqueFileName(*this, ReadView().PStr(*field)));
    };
    switch (kind_) {
        case K::testoHtml:
            if (storedSize <= kOldPageRecordSize) {
                r.SetI16(kPageReserved191, 1040);
                r.SetU8(kPageTextVersion, 1);
                r.SetI32(kPageVersionStamp, previous);
                r.SetPStr(kPageHelpContext, "");
                r.SetI16(kPageRedirectSeconds, 5);
                r.SetI32(kPageReserved223, -1);
                r.SetI32(kPageRedirectTarget, -1);
                r.SetI32(kPageHeader, -1);
                r.SetI32(kPageFooter, -1);
            }
            // Fields past the stored record would read as a 255-byte alias and a fixed
            // background.
            if (storedSize <= kPageAlias.offset) r.SetPStr(kPageAlias, "");
            if (storedSize <= kPageFixedBackground.offset) r.SetU8(kPageFixedBackground, 0);
            break;
        case K::internetLink: {
            const std::uint8_t s = Subtype();
            if (s < 5 || s > 8) r.SetU8(kRecSubtype, InternetLinkSubtype(Name()));
            break;
        }
        case K::zipLink:
        case K::genLink:
            if (storedSize <= kOldGenLinkRecordSize) {
                r.SetI32(kGenLinkStamp, previous);
                uniqueFile();
            }
            break;
        case K::immagine:
            if (storedSize <= kOldPictureRecordSize) {
                uniqueFile();
                r.SetI32(kPictureMapId, -1);
                r.SetU8(kPictureByte666, 0);
                r.SetI32(kPictureStamp, previous);
            }
            break;
        case K::mappaClic:
            if (storedSize <= kOldPictureRecordSize) uniqueFile();
            break;
        default:
            break;
    }
    if (storedSize < kStoredRecordSize[KindIndex(kind_)])
        if (const auto hook = HooksOf(kind_).completeRecord) hook(*this, storedSize);
}

void TKYToggetto::Assign(const TKYToggetto& source) {
    kind_ = source.kind_ == K::immagine ? K::immagineNew : source.kind_;
    content_ = source.content_;
    auxiliary_ = source.auxiliary_;
    identifier_ = source.identifier_;
    record_ = source.record_;
    owner_ = source.owner_;
    registered_ = false;
    localCode_ = -1;
    fileName_ = source.fileName_;
    fileFieldSetInThisRun_ = source.fileFieldSetInThisRun_;
    attributes_.reset();
    if (kind_ == K::testoHtml && record_[195] == 1 && owner_ && owner_->ConvertLegacyText)
        owner_->ConvertLegacyText(*this);
    if (source.kind_ != K::immagine) return;

    // An image object that shows the picture.
    const RecordView picture = source.ReadView();
    content_.Reset();
    fileName_.clear();
    record_.fill(0xFF);
    RecordView r = View();
    r.SetI32(kImagePicture, source.identifier_);
    r.SetU8(kRecSubtype, 1);
    r.SetI32(kImageLowRes, -1);
    r.SetI32(kImageRollover, -1);
    r.SetU8(kImageAlignment, 4);
    r.SetU8(kImageBorder, 0);
    r.SetI16(kImageNaturalWidth, picture.I16(kPictureWidth));
    r.SetI16(kImageNaturalHeight, picture.I16(kPictureHeight));
    r.SetI16(kImageWidth, picture.I16(kPictureWidth));
    r.SetI16(kImageHeight, picture.I16(kPictureHeight));
    r.SetU8(kImagePercent, 0);
    r.SetI32(kImageColour, 0xFF0000);
    r.SetPStr(kImageName, picture.PStr(kPictureName));
    bool hasZones = false;
    for (int z = 0; z < kZoneCount; ++z)
        if (picture.I32At(kPictureZones.offset + z * kZoneRecordSize) >= 0) hasZones = true;
    if (hasZones) r.SetRaw(kImageZones, picture.Raw(kPictureZones));
}

// ---------------------------------------------------------------------------------------------
// Content

Result<std::string> TKYToggetto::ContentBytes() const {
    if (content_.Present()) return content_.Bytes();
    if (!fileName_.empty()) return ReadFileBytes(NativePath(fileName_));
    return std::string();
}

std::string TKYToggetto::ContentSourceFile() const {
    if (!fileName_.empty()) return fileName_;
    if (kind_ != K::genLink && kind_ != K::immagine && kind_ != K::immagineNew) return {};
    std::string field = FromWindowsPath(FileName());
    if (field.empty()) return {};
    if (!fileFieldSetInThisRun_ && !(owner_ && owner_->LiesInDocumentFolder(field))) return {};
    // A relative name is relative to the document's folder.
    if (owner_ && !field.starts_with('/') && !owner_->DocumentFolder().empty())
        field = NameOfPath(owner_->DocumentFolder()) + "/" + field;
    return field;
}

Status TKYToggetto::WriteToStream(ByteStream& stream) const {
    std::string out;
    ByteWriter w(out);
    w.I32(identifier_);
    w.U8(std::uint8_t(KindIndex(kind_)));
    w.Bytes(std::string_view(reinterpret_cast<const char*>(record_.data()), record_.size()));
    w.I32(std::int32_t(fileName_.size()));
    w.Bytes(fileName_);
    std::string content;
    if (content_.Present()) {
        Result<std::string> bytes = content_.Bytes();
        if (!bytes) return bytes.failure();
        content = std::move(*bytes);
    } else {
        const std::string source = ContentSourceFile();
        const std::filesystem::path path = NativePath(FromWindowsPath(source));
        std::error_code ec;
        if (!source.empty() && std::filesystem::is_regular_file(path, ec)) {
            Result<std::string> bytes = ReadFileBytes(path);
            if (!bytes) return bytes.failure();
            content = std::move(*bytes);
        }
    }
    if (content.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        return Fail("content too large");
    w.I32(std::int32_t(content.size()));
    w.I32(0);
    w.Bytes(content);
    const std::string aux = auxiliary_.value_or(std::string());
    w.I32(std::int32_t(aux.size()));
    w.Bytes(aux);
    if (!stream.Write(out)) return Fail("write failed");
    return Status::Ok();
}

Status TKYToggetto::ReadFromStream(ByteStream& stream) {
    auto remaining = [&] { return stream.Size() - stream.Position(); };
    auto readI32 = [&](std::int32_t& v) {
        std::uint8_t b[4];
        if (!stream.ReadExact(b, 4)) return false;
        v = std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                         std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
        return true;
    };
    std::int32_t identifier = 0;
    std::uint8_t kind = 0;
    std::array<std::uint8_t, kObjectRecordSize> record{};
    if (!readI32(identifier) || !stream.ReadExact(&kind, 1) ||
        !stream.ReadExact(record.data(), record.size()))
        return Fail("object stream too short");
    if (kind >= kKindCount) return Fail("object stream of an unknown kind");
    if (registered_ && KindOf(kind) != kind_) {
        // Taking the other kind would leave the object in the wrong kind list.
        if (owner_)
            owner_->Messages().Error(
                "In un TKYToggetto registrato si può caricare solo un TKYToggetto dello stesso tipo!"_cp);
        return Fail(std::string(
            "In un TKYToggetto registrato si può caricare solo un TKYToggetto dello stesso tipo!"_cp));
    }
    std::int32_t nameLength = 0;
    std::string name;
    bool streamsOk = readI32(nameLength) && nameLength >= 0 && nameLength <= remaining();
    if (streamsOk) {
        name.resize(std::size_t(nameLength));
        streamsOk = stream.ReadExact(name.data(), name.size());
    }
    std::int32_t contentSize = 0, zero = 0, auxSize = 0;
    std::string content, aux;
    streamsOk = streamsOk && readI32(contentSize) && readI32(zero) && contentSize >= 0 &&
                contentSize <= remaining();
    if (streamsOk) {
        content.resize(std::size_t(contentSize));
        streamsOk = stream.ReadExact(content.data(), content.size());
    }
    streamsOk = streamsOk && readI32(auxSize) && auxSize >= 0 && auxSize <= remaining();
    if (streamsOk) {
        aux.resize(std::size_t(auxSize));
        streamsOk = stream.ReadExact(aux.data(), aux.size());
    }

    if (!registered_) identifier_ = identifier;
    kind_ = KindOf(kind);
    record_ = record;
    attributes_.reset();
    fileFieldSetInThisRun_ = false;
    if (!streamsOk) {
        content_.Reset();
        auxiliary_.reset();
        fileName_.clear();
        return Status::Ok();
    }
    fileName_ = std::move(name);
    if (contentSize > 0)
        content_.SetMemory(std::move(content));
    else
        content_.Reset();
    if (auxSize > 0)
        auxiliary_ = std::move(aux);
    else
        auxiliary_.reset();
    return Status::Ok();
}

std::string TKYToggetto::ExtractContent() {
    if (!content_.Present()) return fileName_;
    if (!owner_) return {};
    const std::string target = owner_->TempFileName(FileName());
    Result<std::string> bytes = content_.Bytes();
    Status written =
        bytes ? WriteFileAtomically(NativePath(target), *bytes, 0600u, owner_->FileSystem())
              : Status(bytes.failure());
    if (!written) {
        // The content stays where it was, so nothing is lost.
        owner_->Messages().Error(
            std::string(
                "Lo spazio su HD potrebbe essere insufficiente! Errore nella scorporazione file: "_cp) +
            target);
        return {};
    }
    content_.Reset();
    fileName_ = target;
    return target;
}

bool TKYToggetto::SaveContentAs(const std::string& path) {
    Result<std::string> bytes = ContentBytes();
    if (!bytes) return false;
    const std::filesystem::path native = NativePath(path);
    std::error_code ec;
    if (native.has_parent_path()) std::filesystem::create_directories(native.parent_path(), ec);
    if (ec) return false;
    IFileSystem& fs = owner_ ? owner_->FileSystem() : RealFileSystem();
    return bool(WriteFileAtomically(native, *bytes, std::nullopt, fs));
}

const std::vector<std::string>& TKYToggetto::DbAttributes() {
    if (!attributes_) {
        attributes_.emplace();
        if (kind_ == K::dbloc) {
            Result<std::string> bytes = ContentBytes();
            if (bytes) {
                std::string_view text = *bytes;
                while (!text.empty()) {
                    std::size_t end = text.find('\n');
                    std::string_view line = text.substr(0, end);
                    if (line.ends_with('\r')) line.remove_suffix(1);
                    attributes_->emplace_back(line);
                    if (end == std::string_view::npos) break;
                    text.remove_prefix(end + 1);
                }
            }
        }
    }
    return *attributes_;
}

std::string TKYToggetto::AuxiliaryCode() const {
    if (!auxiliary_ || auxiliary_->size() < 4) return {};
    ByteReader reader(*auxiliary_);
    const std::int32_t headerLength = reader.I32();
    if (headerLength < 0 || std::size_t(headerLength) > reader.Remaining()) return {};
    return auxiliary_->substr(4 + std::size_t(headerLength));
}

// ---------------------------------------------------------------------------------------------
// Equality, references, attributes, terms

bool TKYToggetto::Equals(const TKYToggetto& other) const {
    if (other.kind_ != kind_) return false;
    switch (kind_) {
        case K::internetLink:
        case K::keyword:
            return Name() == other.Name();
        case K::immagine: {
            // The content may be in memory, in the document file or extracted to a file: the
            // bytes are compared wherever they are.
            Result<std::string> a = ContentBytes();
            Result<std::string> b = other.ContentBytes();
            return a && b && *a == *b;
        }
        case K::stileParagrafo: {
            const bool builtIn =
                owner_ && registered_ && (this == owner_->Style0() || this == owner_->Style1());
            StyleRecord mine(
                std::span<std::uint8_t>(const_cast<std::uint8_t*>(record_.data()), record_.size()));
            StyleRecord theirs(std::span<std::uint8_t>(
                const_cast<std::uint8_t*>(other.record_.data()), other.record_.size()));
            if (!builtIn && mine.FontName() != theirs.FontName()) return false;
            return mine.SameFormat(theirs);
        }
        default:
            return false;
    }
}

TKYToggetto* TKYToggetto::FindEqual() const {
    if (!owner_) return nullptr;
    for (const auto& candidate : owner_->KindList(kind_))
        if (candidate.get() != this && !candidate->IsFree() && candidate->Equals(*this))
            return candidate.get();
    return nullptr;
}

int TKYToggetto::Refers(std::int32_t code) const {
    if (IsFree()) return 0;
    if (kind_ != K::custom && auxiliary_) {
        for (std::string_view marker : {"!RefI:", "!RefL:", "!RefP:", "!RefF:"})
            if (ContainsCodeRef(*auxiliary_, marker, code)) return 6;
    }
    const int codeKind = CodeKind(code);
    const std::int32_t id = CodeIdentifier(code);
    const RecordView r = ReadView();
    if (kind_ == K::testoHtml) {
        if (codeKind == KindIndex(K::keyword)) {
            for (int k = 0; k < kPageKeywordCount; ++k)
                if (r.I32At(kPageKeywords.offset + 4 * k) == id) return 1;
            return 0;
        }
        if (codeKind == KindIndex(K::immagine) && r.I32(kPageBackPicture) == id) return 2;
        if (codeKind == KindIndex(K::testoHtml)) {
            if (r.I32(kPageHeader) == id || r.I32(kPageFooter) == id) return 4;
            if (r.I32(kPageRedirectTarget) == id) return 5;
        }
        Result<std::string> text = ContentBytes();
        if (!text) return 0;
        if (codeKind == KindIndex(K::immagine)) {
            // Pictures are reached through the objects the text holds (not through linked
            // pages, which would make the search endless).
            if (!owner_) return 0;
            for (std::int32_t held : CodesInText(*text)) {
                if (CodeKind(held) == KindIndex(K::testoHtml)) continue;
                const TKYToggetto* object = owner_->ObjectByCode(held);
                if (object && object != this)
                    if (const int reason = object->Refers(code)) return reason;
            }
            return 0;
        }
        return TextHoldsCode(*text, code) ? 1 : 0;
    }
    if (codeKind == KindIndex(K::immagine)) {
        if (kind_ == K::immagineNew && (r.I32(kImagePicture) == id || r.I32(kImageLowRes) == id ||
                                        r.I32(kImageRollover) == id))
            return 1;
        if (kind_ == K::bottoneCGI && r.I32(kButtonPicture) == id) return 9;
    }
    if (const auto hook = HooksOf(kind_).refers) return hook(*this, code);
    return 0;
}

std::optional<std::string> TKYToggetto::GetAttribute(std::string_view name) const {
    if (kind_ == K::custom || !auxiliary_ || auxiliary_->size() < 4) return std::nullopt;
    const std::string& aux = *auxiliary_;
    ByteReader header(aux);
    const std::int32_t headerLength = header.I32();
    if (headerLength < 0 || std::size_t(headerLength) > header.Remaining()) return std::nullopt;
    const std::string wanted = Lower1252(name);
    std::optional<std::string> result;
    std::string pairName, pairValue;
    bool hasEquals = false;
    auto endPair = [&] {
        if (Lower1252(pairName) == wanted) result = pairValue;
        pairName.clear();
        pairValue.clear();
        hasEquals = false;
    };
    auto append = [&](unsigned char c) {
        if (c < 0x20) return;
        (hasEquals ? pairValue : pairName) += char(c);
    };
    std::size_t pos = 4 + std::size_t(headerLength);
    while (pos < aux.size()) {
        const auto c = static_cast<unsigned char>(aux[pos]);
        if (c == '"' || c == '\'') {
            ++pos;
            while (pos < aux.size() && static_cast<unsigned char>(aux[pos]) != c)
                append(static_cast<unsigned char>(aux[pos++]));
            ++pos;
            endPair();
            continue;
        }
        if (c == 0 || c == ' ' || c == '\r' || c == '\n') {
            if (!pairName.empty() || hasEquals) endPair();
            if (c == 0) break;
            ++pos;
            while (pos < aux.size() && aux[pos] >= 0x09 && aux[pos] <= 0x20) ++pos;
            continue;
        }
        if (c == '=')
            hasEquals = true;
        else
            append(c);
        ++pos;
    }
    if (!pairName.empty() || hasEquals) endPair();
    return result;
}

namespace {

// The text of a stored content without its codes.
std::string PlainText(std::string_view text, int version) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] != '<') {
            out += text[pos++];
            continue;
        }
        if (version == 2 && pos + 1 < text.size()) {
            const char tag = text[pos + 1];
            const char* closing = tag == 'D'   ? "<d>"
                                  : tag == 'F' ? "<f>"
                                  : tag == 'R' ? "<r>"
                                               : nullptr;
            if (closing) {
                const std::size_t end = text.find(closing, pos + 2);
                pos = end == std::string_view::npos ? text.size() : end + 3;
                continue;
            }
            if (tag == 'Z') out += "\r\n";
        }
        const std::size_t end = text.find('>', pos + 1);
        pos = end == std::string_view::npos ? text.size() : end + 1;
    }
    return out;
}

}  // namespace

std::string TKYToggetto::MatchTerms(std::string first, std::string second, std::string third,
                                    std::string fourth, int options) const {
    if (!content_.Present() && fileName_.empty()) return {};
    if (first.empty() && second.empty() && third.empty() && fourth.empty()) return {};
    if (first.empty() && second.empty()) {
        first = std::move(third);
        second = std::move(fourth);
        third.clear();
        fourth.clear();
    } else if (first.empty()) {
        first = std::move(second);
        second.clear();
    }
    if (third.empty() && !fourth.empty()) {
        third = std::move(fourth);
        fourth.clear();
    }
    Result<std::string> bytes = ContentBytes();
    if (!bytes) return {};
    const int version = kind_ == K::testoHtml ? record_[195] : 2;
    std::string plain = PlainText(*bytes, version == 1 ? 1 : 2);
    const bool matchCase = (options & 2) != 0;
    if (!matchCase) plain = Lower1252(plain);
    auto occurs = [&](const std::string& term) {
        return plain.find(matchCase ? term : Lower1252(term)) != std::string::npos;
    };
    if (!first.empty() && occurs(first) && (second.empty() || occurs(second))) return first;
    if (!third.empty() && occurs(third) && (fourth.empty() || occurs(fourth))) return third;
    return {};
}

// ---------------------------------------------------------------------------------------------
// Descriptions

namespace {

std::string LabelOf(const TKYToggetto* object) {
    if (!object) return {};
    const std::string description = object->Describe();
    return description.substr(0, description.find('|'));
}

constexpr std::string_view kActionTexts[] = {"rimpiazza la cornice corrente con",
                                             "rimpiazza la cornice \"",
                                             "crea in finestra separata",
                                             "crea nuovo browser",
                                             "crea in popup",
                                             "salta al"};

std::string WithCode(std::string description, const TKYToggetto& object) {
    const std::string code = object.AuxiliaryCode();
    if (code.size() > 5) description += "\r\n----------\r\n" + code;
    return description;
}

}  // namespace

std::string TKYToggetto::Describe() const {
    if (IsFree()) return "Non definito.";
    // Links may name each other in a circle (a hostile file can make one): stop going deeper.
    static thread_local int depth = 0;
    if (depth > 4) return {};
    ++depth;
    struct Leave {
        ~Leave() { --depth; }
    } leave;
    const RecordView r = ReadView();
    if (const auto hook = HooksOf(kind_).describe)
        if (std::optional<std::string> text = hook(*this)) return *text;
    switch (kind_) {
        case K::testoHtml: {
            const std::string title = Name();
            return title + "|Collegamento a: " + title + " (" + std::to_string(identifier_) + ")";
        }
        case K::internetLink: {
            const std::string address = Name();
            if (address.starts_with("orvo:")) {
                std::string_view file = std::string_view(address).substr(5);
                if (file.starts_with("//")) file.remove_prefix(2);
                file = file.substr(0, file.find('|'));
                std::string page;
                if (owner_) {
                    const DocumentLink link = owner_->ParseDocumentLink(address);
                    page = std::to_string(link.page);
                    if (std::optional<std::string> title = ReadPageTitle(link.file, link.page))
                        page = *title;
                }
                const std::string text = std::string(file) + " Pag.:" + page;
                return text + "|Collegamento a ipertesto: " + text;
            }
            if (address.starts_with("mailto:")) {
                const std::string to = address.substr(7);
                return to + "|Collegamento a e-mail: " + to;
            }
            return address + "|Collegamento a: " + address;
        }
        case K::genLink: {
            const std::string file(LastComponent(FileName()));
            return file + "|Collegamento a file: " + file;
        }
        case K::immagine:
            return Name();
        case K::speclink: {
            switch (Subtype()) {
                case 1: {
                    const std::int32_t targetCode = r.I32(kSpecTarget);
                    const TKYToggetto* target = owner_ ? owner_->ObjectByCode(targetCode) : nullptr;
                    const std::string label = LabelOf(target);
                    const std::int32_t anchor = r.I32(kSpecAnchor);
                    const std::string anchorPart =
                        anchor >= 0 ? " #a" + std::to_string(anchor) : std::string();
                    const int action = r.U8(kSpecAction);
                    std::string text = label + "|";
                    if (action == 6) {
                        text += "Qui si salta all'interno della pagina corrente, all'ancora: "_cp;
                        text += anchorPart;
                        return WithCode(text, *this);
                    }
                    text += "Qui si ";
                    if (action < 6) text += kActionTexts[action];
                    const std::string frameName = r.PStr(kSpecName);
                    if (action == 1) text += frameName + "\" con";
                    if (action >= 2 && action <= 4) text += " \"" + frameName + "\" ";
                    const int frame = r.U8(kSpecFrame);
                    text += " ";
                    text += frame == 0   ? "la pagina singola"
                            : frame == 1 ? "l'insieme cornici"
                                         : "";
                    text += ": " + label + anchorPart;
                    if (target) text += " @" + std::to_string(target->Identifier());
                    return WithCode(text, *this);
                }
                case 2:
                    return WithCode(r.PStr(kSpecName), *this);
                case 3:
                    return WithCode("Parole chiave|Collegamento a: finestra parole chiave", *this);
                case 4:
                    return WithCode("pagina precedente|Collegamento a: pagina precedente", *this);
                case 5:
                    return WithCode("pagina successiva|Collegamento a: pagina successiva", *this);
                case 6: {
                    Result<std::string> file = ContentBytes();
                    if (!file || file->empty()) return WithCode("Auto import", *this);
                    std::string name = *file;
                    name = name.substr(0, name.find('\0'));
                    return WithCode(name + "|Auto import:" + name, *this);
                }
                default:
                    return {};
            }
        }
        case K::shortObj: {
            const std::int32_t reference = r.I32(kShortReference);
            auto referred = [&]() -> const TKYToggetto* {
                return owner_ ? owner_->ObjectByCode(reference) : nullptr;
            };
            auto contentText = [&] {
                Result<std::string> bytes = ContentBytes();
                return bytes ? *bytes : std::string();
            };
            switch (Subtype()) {
                case 13:
                    return referred() ? referred()->Describe() : std::string();
                case 14:
                    return "Ancora: a" + std::to_string(reference);
                case 15:
                    return "Collegamento a pagina di catalogo: " + std::to_string(reference);
                case 21:
                case 22:
                case 23:
                case 24: {
                    static constexpr std::string_view texts[] = {
                        "Riferimento a immagine:", "Riferimento a pagina o link:",
                        "Qui verrà riportato tutto il testo della pagina:"_cp,
                        "Riferimento a oggetto fondamentale:"};
                    const TKYToggetto* object = referred();
                    return std::string(texts[Subtype() - 21]) + " " +
                           (object ? object->Name() : std::string());
                }
                case 25:
                    return std::string("Qui verrà riportata la dimensione X"_cp);
                case 26:
                    return std::string("Qui verrà riportata la dimensione Y"_cp);
                case 27:
                    return "Parametri: " + contentText();
                case 28:
                    return "File: " + contentText();
                default:
                    return {};
            }
        }
        case K::custom: {
            const std::string name = Name();
            return name + "|Custom  " + name;
        }
        default:
            return Name();
    }
}

}  // namespace orvo
