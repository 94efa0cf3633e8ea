// TKYTset: the container's life, kind lists, header, names and working directory.
#include "model/uKYTset.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "base/ByteReader.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "model/StyleRecord.h"

namespace orvo {

using K = TOggettiHel;

TKYTset::TKYTset(Environment& environment, IMessages& messages, IFileSystem& fileSystem)
    : environment_(environment), messages_(messages), fileSystem_(fileSystem) {
    FillNewHeader();
    AddBuiltInStyles();
}

TKYTset::~TKYTset() {
    Close();
    if (!workingDirectory_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(workingDirectory_, ec);
    }
}

// ---------------------------------------------------------------------------------------------
// New document, close

void TKYTset::FillNewHeader() {
    header_.fill(0);
    RecordView h = HeaderRecordView();
    h.SetRaw(kHdrMagic, "ZEBU");
    h.SetPStr(kHdrTitle, kUntitled);
    h.SetPStr(kHdrAuthors, environment_.UserName());
    h.SetU8(kHdrHighestKind, 26);
    h.SetI16(kHdrVersion, 2);
    h.SetI32(kHdrSaveCounter, 2);
    h.SetU8(kHdrNavCopertinaHidden, 1);
    h.SetU8(kHdrNoNavigation, 1);
    h.SetPStr(kHdrFixedFont, "Courier New");
    h.SetPStr(kHdrProportionalFont, "Times New Roman");
    h.SetI16(kHdrPixelsPerInch, std::int16_t(environment_.PixelsPerInch()));
    h.SetI32(kHdrHeaderPage, -1);
    h.SetI32(kHdrFooterPage, -1);
    h.SetI32(kHdrBackColour, 0xC0C0C0);
    h.SetI32(kHdrBackPicture, -1);
    h.SetU16(kHdrLanguage, 1033);
    h.SetI32(kHdrTextColour, 0);
    h.SetI32(kHdrLinkColour, 0xFF0000);
    h.SetI32(kHdrVisitedColour, 0x0000FF);
}

void TKYTset::AddBuiltInStyles() {
    auto& styles = lists_[KindIndex(K::stileParagrafo)];
    while (styles.size() < 2) {
        auto style = NewObjectOfKind(K::stileParagrafo, this);
        SetBuiltInStyle(style->Record(), int(styles.size()));
        style->SetIdentifier(std::int32_t(styles.size()));
        style->SetRegistered(true);
        styles.push_back(std::move(style));
    }
    TakeBuiltInStyleReferences();
}

void TKYTset::TakeBuiltInStyleReferences() {
    const auto& styles = lists_[KindIndex(K::stileParagrafo)];
    style0_ = styles.size() > 0 ? styles[0].get() : nullptr;
    style1_ = styles.size() > 1 ? styles[1].get() : nullptr;
}

void TKYTset::NewDocument() {
    if (OnBeforeNew) OnBeforeNew();
    Close();
    FillNewHeader();
    AddBuiltInStyles();
    if (OnAfterNew) OnAfterNew();
    modified_ = false;
}

void TKYTset::Close() {
    // No step may outlive the objects it would restore.
    if (UndoHistory && !readingBack_) UndoHistory->Restart(UndoDeep);
    pictureCache.clear();
    style0_ = style1_ = nullptr;
    for (auto& list : lists_) list.clear();
    orphans_.clear();
    conversions_.clear();
    document_.reset();
    fileName_.clear();
    EmptyWorkingDirectory();
}

void TKYTset::EmptyWorkingDirectory() {
    if (workingDirectory_.empty()) return;
    std::error_code ec;
    // directory_iterator does not follow links; remove_all removes a link, not its target.
    for (const auto& entry : std::filesystem::directory_iterator(workingDirectory_, ec))
        std::filesystem::remove_all(entry.path(), ec);
}

std::string TKYTset::ReadOnlyPassword() const {
    const RecordView h = HeaderView();
    if (Version() < 2 || h.U8(kHdrReadOnly) == 0) return {};
    return h.PStr(kHdrPassword);
}

// ---------------------------------------------------------------------------------------------
// Kind lists

TKYToggetto* TKYTset::ObjectByKind(int kind, std::int32_t identifier) const {
    if (identifier < 0 || identifier > 0xFFFFFF || kind < 0 || kind >= 25) return nullptr;
    const auto& list = lists_[kind];
    if (std::size_t(identifier) >= list.size()) return nullptr;
    return list[std::size_t(identifier)].get();
}

TKYToggetto* TKYTset::ObjectByKind(TOggettiHel kind, std::int32_t identifier) const {
    return ObjectByKind(KindIndex(kind), identifier);
}

TKYToggetto* TKYTset::ObjectByCode(std::int32_t code) const {
    const int kind = CodeKind(code);
    if (kind == KindIndex(K::zipLink) || kind == KindIndex(K::mappaClic)) {
        for (const auto& [oldCode, newCode] : conversions_)
            if (oldCode == code) {
                code = newCode;
                break;
            }
    }
    return ObjectByKind(CodeKind(code), CodeIdentifier(code));
}

int TKYTset::KindCount(int kind) const {
    if (kind < 0 || kind > 25) return 0;
    return int(lists_[kind].size());
}

std::int32_t TKYTset::Register(std::unique_ptr<TKYToggetto> object, std::int32_t identifier) {
    auto& list = lists_[KindIndex(object->Kind()) % kKindCount];
    object->SetOwner(this);
    std::size_t slot = list.size();
    if (identifier < 0 || identifier > 0xFFFFFF) {
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i]->IsFree()) {
                slot = i;
                break;
            }
    } else {
        modified_ = true;
        slot = std::size_t(identifier);
        // Pad with free objects, so an identifier is always its index.
        while (list.size() < slot) {
            auto filler = NewObjectOfKind(object->Kind(), this);
            filler->Clear();
            filler->SetIdentifier(std::int32_t(list.size()));
            filler->SetRegistered(true);
            list.push_back(std::move(filler));
        }
    }
    object->SetIdentifier(std::int32_t(slot));
    object->SetRegistered(true);
    TKYToggetto* stored = object.get();
    if (slot < list.size()) {
        modified_ = true;
        list[slot] = std::move(object);
    } else {
        list.push_back(std::move(object));
    }
    if (stored->Kind() == K::stileParagrafo) TakeBuiltInStyleReferences();
    return std::int32_t(slot);
}

std::unique_ptr<TKYToggetto> TKYTset::Unregister(TKYToggetto& object) {
    auto& list = lists_[KindIndex(object.Kind()) % kKindCount];
    const std::int32_t id = object.Identifier();
    if (id < 0 || std::size_t(id) >= list.size() || list[std::size_t(id)].get() != &object)
        return nullptr;
    auto placeholder = NewObjectOfKind(object.Kind(), this);
    placeholder->Clear();
    placeholder->SetIdentifier(id);
    placeholder->SetRegistered(true);
    std::unique_ptr<TKYToggetto> taken = std::move(list[std::size_t(id)]);
    list[std::size_t(id)] = std::move(placeholder);
    taken->SetRegistered(false);
    if (object.Kind() == K::immagine) DropCachedPicture(id);
    return taken;
}

void TKYTset::KeepOrphan(std::unique_ptr<TKYToggetto> object) {
    if (object) orphans_.push_back(std::move(object));
}

void TKYTset::DropCachedPicture(std::int32_t identifier) {
    std::erase_if(pictureCache, [&](const auto& entry) { return entry.first == identifier; });
}

// ---------------------------------------------------------------------------------------------
// Names

namespace {

bool IsAbsoluteName(std::string_view name) {
    if (name.starts_with("/") || name.starts_with("\\")) return true;
    return name.size() >= 2 && name[1] == ':' &&
           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

// Header bytes of a document file, or nullopt when it is not one.
std::optional<std::string> ReadHeaderOf(const std::string& file,
                                        std::shared_ptr<const DocumentFile>* keep) {
    auto opened = DocumentFile::Open(NativePath(FromWindowsPath(file)));
    if (!opened) return std::nullopt;
    const auto& doc = *opened;
    Result<std::string> header = doc->ReadAt(0, std::int64_t(kHeaderSize));
    if (!header || Upper1252(header->substr(0, 4)) != "ZEBU") return std::nullopt;
    if (keep) *keep = doc;
    return *header;
}

}  // namespace

DocumentLink TKYTset::ParseDocumentLink(std::string_view link) const {
    DocumentLink result;
    if (!link.starts_with("orvo:")) return result;
    result.isDocumentLink = true;
    std::string_view rest = link.substr(5);
    if (rest.starts_with("//")) rest.remove_prefix(2);
    const std::size_t bar = rest.find('|');
    const std::string_view file = rest.substr(0, bar);
    result.isCurrentDocument = !fileName_.empty() && file == fileName_;
    if (!result.isCurrentDocument && !IsAbsoluteName(file) && !fileName_.empty()) {
        const std::string folder = NameOfPath(DocumentFolder());
        result.file = folder.empty() ? FromWindowsPath(file) : folder + "/" + FromWindowsPath(file);
    } else {
        result.file = std::string(file);
    }
    if (bar == std::string_view::npos) {
        result.page = -2;
        return result;
    }
    const std::string_view page = rest.substr(bar + 1, 12);
    if (page.empty()) {
        result.page = -2;
        return result;
    }
    long long value = 0;
    // A number out of the int32 range is no number either.
    const int used = ParseClampedInt(page, -(1LL << 40), 1LL << 40, value);
    result.page =
        (used == int(page.size()) && value > 0 && value <= 2147483647LL) ? std::int32_t(value) : 0;
    return result;
}

std::string TKYTset::ExportedPageName(const std::string& file, std::int32_t page,
                                      std::string_view extension) const {
    std::optional<std::string> bytes = ReadHeaderOf(file, nullptr);
    if (!bytes) return {};
    std::array<std::uint8_t, kHeaderSize> header{};
    std::memcpy(header.data(), bytes->data(), kHeaderSize);
    const RecordView h(header);
    if (h.I16(kHdrVersion) < 2) return "LinkToOldHypertext" + std::string(extension);
    const std::string prefix = h.PStr(kHdrExportPrefix);
    // An empty prefix still gives a plain name ("_000001.htm"); one with separators does not.
    if (!prefix.empty() && !IsSafeName(prefix)) return {};
    if (page == h.I32(kHdrCoverPage)) return prefix + "_index" + std::string(extension);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06x", unsigned(page));
    return prefix + "_" + digits + std::string(extension);
}

std::optional<std::string> ReadPageTitle(const std::string& file, std::int32_t page) {
    if (page < 0) return std::nullopt;
    std::shared_ptr<const DocumentFile> doc;
    std::optional<std::string> bytes = ReadHeaderOf(file, &doc);
    if (!bytes) return std::nullopt;
    const int highestKind = static_cast<unsigned char>((*bytes)[kHdrHighestKind.offset]);
    if (highestKind >= kKindCount) return std::nullopt;
    Result<std::string> entry = doc->ReadAt(std::int64_t(kHeaderSize), 12);
    Result<std::string> areaSize = doc->ReadAt(std::int64_t(RecordAreaStart(highestKind)) - 4, 4);
    if (!entry || !areaSize) return std::nullopt;
    ByteReader e(*entry);
    const std::int64_t offset = e.I32(), recordSize = e.I32(), count = e.I32();
    if (offset < 0 || recordSize <= 0 || page >= count) return std::nullopt;
    const std::int64_t at =
        std::int64_t(RecordAreaStart(highestKind)) + offset + std::int64_t(page) * recordSize;
    Result<std::string> record =
        doc->ReadAt(at, std::min<std::int64_t>(recordSize, kPageTitle.offset + kPageTitle.width));
    if (!record || record->size() <= kPageTitle.offset) return std::nullopt;
    const std::size_t length = std::min<std::size_t>(
        static_cast<unsigned char>((*record)[kPageTitle.offset]),
        std::min<std::size_t>(kPageTitle.width - 1, record->size() - kPageTitle.offset - 1));
    return record->substr(kPageTitle.offset + 1, length);
}

std::filesystem::path TKYTset::WorkingDirectory() {
    if (!workingDirectory_.empty()) return workingDirectory_;
    static std::atomic<std::uint32_t> containers{0};
    const std::filesystem::path root = environment_.TempRoot();
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::uint32_t mine =
            containers.fetch_add(1) ^ (attempt ? environment_.Random(0xFFFFFFFFu) : 0);
        const std::filesystem::path candidate =
            root / (Hex8(std::uint32_t(::getpid())) + "_" + Hex8(mine));
        // Made exclusively and private: nobody else can plant files or links in it.
        if (::mkdir(candidate.c_str(), 0700) == 0) {
            workingDirectory_ = candidate;
            return workingDirectory_;
        }
        if (errno != EEXIST) break;
    }
    return {};
}

std::string TKYTset::TempFileName(std::string_view fileName) {
    std::string name(LastComponent(fileName));
    if (name.empty() || name == "." || name == "..") name = "file";
    const std::filesystem::path folder = WorkingDirectory();
    std::filesystem::path candidate = folder / NativePath(name);
    const std::size_t dotAt = name.rfind('.');
    const std::string dot = dotAt == std::string::npos ? std::string() : name.substr(dotAt);
    std::error_code ec;
    for (int attempt = 0; std::filesystem::symlink_status(candidate, ec).type() !=
                              std::filesystem::file_type::not_found &&
                          attempt < 100000;
         ++attempt) {
        char random[16];
        std::snprintf(random, sizeof random, "re%03x%03x", unsigned(environment_.Random(0x1000)),
                      unsigned(environment_.Random(0x1000)));
        candidate = folder / NativePath(std::string(random) + dot);
    }
    return NameOfPath(candidate);
}

std::filesystem::path TKYTset::DocumentFolder() const {
    if (fileName_.empty()) return {};
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(NativePath(fileName_), ec);
    return path.parent_path();
}

bool TKYTset::LiesInDocumentFolder(std::string_view name) const {
    if (fileName_.empty() || name.empty()) return false;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::weakly_canonical(DocumentFolder(), ec);
    if (ec) return false;
    std::filesystem::path candidate = NativePath(FromWindowsPath(name));
    if (candidate.is_relative()) candidate = folder / candidate;
    candidate = std::filesystem::weakly_canonical(candidate, ec);
    if (ec) return false;
    const std::filesystem::path relative = candidate.lexically_relative(folder);
    if (relative.empty() || relative == ".") return false;
    return *relative.begin() != "..";
}

}  // namespace orvo
