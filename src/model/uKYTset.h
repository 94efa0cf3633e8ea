// TKYTset: the hypertext container. It owns every object in 27 kind lists and the header, and
// reads and writes the ".kyt" document file.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Files.h"
#include "base/RecordView.h"
#include "base/Result.h"
#include "model/DocumentFile.h"
#include "model/HeaderRecord.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

namespace orvo {

class TKYTpicture;  // a decoded picture (src/picture)

/// The title of a document or a page not named yet, and the name a new document is shown by.
inline constexpr std::string_view kUntitled = "Senza titolo";

/// The export prefix a document takes from its file name: the name without folder and
/// extension, in lower case, cut to `length` bytes (16 when saved under a new name, 8 for a
/// new or legacy document).
std::string ExportPrefixFromName(std::string_view fileName, std::size_t length = 16);

/// The hypertext's undo list as the container sees it: the list and its steps belong to the
/// editing layer, the container owns it and empties it whenever a new hypertext starts.
class IUndoHistory {
public:
    virtual ~IUndoHistory() = default;
    /// Every step goes; the list keeps at most `depth` steps from now on.
    virtual void Restart(int depth) = 0;
};

/// What ParseDocumentLink finds in an "orvo:" link.
struct DocumentLink {
    bool isDocumentLink = false;
    std::string file;  // Windows-1252; the document's folder put in front of a relative name
    bool isCurrentDocument = false;
    std::int32_t page = 0;  // -2 when the link names no page
};

/// The title of page `page` of the document file `file`; nullopt when unreadable.
std::optional<std::string> ReadPageTitle(const std::string& file, std::int32_t page);

class TKYTset {
public:
    /// A container holding a new document. `fileSystem` is the seam saves go through.
    TKYTset(Environment& environment, IMessages& messages,
            IFileSystem& fileSystem = RealFileSystem());
    ~TKYTset();
    TKYTset(const TKYTset&) = delete;
    TKYTset& operator=(const TKYTset&) = delete;

    // Properties.
    /// The document's file name (Windows-1252, as given); empty for a new document.
    const std::string& KYTFileName() const { return fileName_; }
    int Version() const { return HeaderView().I16(kHdrVersion); }
    std::string ExpPrefix() const { return HeaderView().PStr(kHdrExportPrefix); }
    void SetExpPrefix(std::string_view prefix) {
        HeaderRecordView().SetPStr(kHdrExportPrefix, prefix);
    }
    int MaxCacheImg = 20;
    int UndoDeep = 20;
    /// The setting "Bak": keep the previous file as ".bak" when saving.
    bool Backups = true;
    /// The setting "Alt": images made from pictures take the picture's name as alternative text.
    bool AutomaticAlternativeText = false;
    TKYTset* WrapperSet = nullptr;
    std::function<void()> OnBeforeNew;
    std::function<void()> OnAfterNew;
    /// Converts a page text still in version 1 (legacy tags) before it is copied or written.
    std::function<void(TKYToggetto& page)> ConvertLegacyText;
    /// The undo list of this hypertext (made by the editing layer when it is first asked for;
    /// see UndoListOf). Closing, loading and starting a document empty it, with depth UndoDeep;
    /// the read-back of a save keeps it.
    std::unique_ptr<IUndoHistory> UndoHistory;

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // The document.
    void NewDocument();
    /// Reads a document; every refusal is shown through IMessages and leaves a new document.
    bool LoadFromFile(const std::string& fileName);
    /// Writes the document (format version 2 from the program) and reads it back. Failures
    /// are in Errors(); the previous file and this document are then left as they were.
    bool SaveToFile(const std::string& fileName, int version = 2);
    void Close();
    /// The messages collected by the last save; it succeeded when there is none.
    const std::vector<std::string>& Errors() const { return errors_; }

    // The header (1978 bytes, exactly as stored).
    std::span<std::uint8_t> Header() { return header_; }
    RecordView HeaderRecordView() { return RecordView(header_); }
    const RecordView HeaderView() const {
        return RecordView(
            std::span<std::uint8_t>(const_cast<std::uint8_t*>(header_.data()), header_.size()));
    }
    std::int32_t SaveCounter() const { return HeaderView().I32(kHdrSaveCounter); }
    std::string ReadOnlyPassword() const;

    // The objects.
    TKYToggetto* ObjectByCode(std::int32_t code) const;
    TKYToggetto* ObjectByKind(TOggettiHel kind, std::int32_t identifier) const;
    TKYToggetto* ObjectByKind(int kind, std::int32_t identifier) const;
    /// Entries of a kind list, free ones included; 0 for kinds above 25.
    int KindCount(TOggettiHel kind) const { return KindCount(KindIndex(kind)); }
    int KindCount(int kind) const;
    const std::vector<std::unique_ptr<TKYToggetto>>& KindList(TOggettiHel kind) const {
        return lists_[KindIndex(kind)];
    }
    /// Stores `object` in its kind list: identifier -1 (or outside 0..0xFFFFFF) takes the first
    /// free entry or a new one; a given identifier replaces that entry (the lists are padded
    /// with free objects up to it). Returns the identifier.
    std::int32_t Register(std::unique_ptr<TKYToggetto> object, std::int32_t identifier = -1);
    /// Takes `object` out of its kind list, leaving a free object of the kind in its slot.
    std::unique_ptr<TKYToggetto> Unregister(TKYToggetto& object);
    /// Keeps an object that left its kind list alive until the document is closed.
    void KeepOrphan(std::unique_ptr<TKYToggetto> object);
    TKYToggetto* Style0() const { return style0_; }
    TKYToggetto* Style1() const { return style1_; }
    /// Pairs (old code, new code) of the zipLink and mappaClic objects converted on reading.
    const std::vector<std::pair<std::int32_t, std::int32_t>>& ConversionTable() const {
        return conversions_;
    }

    // Names.
    DocumentLink ParseDocumentLink(std::string_view link) const;
    /// The name a page of another hypertext file is exported under; empty when unreadable.
    std::string ExportedPageName(const std::string& file, std::int32_t page,
                                 std::string_view extension) const;
    /// The private folder of this container's temporary files (made on first use, mode 0700).
    std::filesystem::path WorkingDirectory();
    /// A path in the working directory for `fileName` (its last component only).
    std::string TempFileName(std::string_view fileName);
    /// The folder of the document file; empty for a new document.
    std::filesystem::path DocumentFolder() const;
    /// True when `name` (read from data) names a file inside the document's own folder.
    bool LiesInDocumentFolder(std::string_view name) const;
    const DocumentFile* DocumentStream() const { return document_.get(); }
    std::shared_ptr<const DocumentFile> SharedDocumentStream() const { return document_; }

    Environment& Env() const { return environment_; }
    IMessages& Messages() const { return messages_; }
    IFileSystem& FileSystem() const { return fileSystem_; }

    // Pictures (src/model/uKYTsetPictures.cpp).
    /// A picture object for a picture file (".gif", ".jpeg", ".jpg", ".wmf", ".emf"; ".bmp"
    /// converted), the existing one when the hypertext holds the same bytes.
    Result<TKYToggetto*> AddPictureFromFile(const std::string& fileName);
    /// The decoded picture of an immagine (from the cache of MaxCacheImg entries) or of the
    /// picture an immagineNew shows.
    Result<std::shared_ptr<TKYTpicture>> PictureOf(TKYToggetto& object);
    Result<bool> IsOpaque(TKYToggetto& picture);
    Status SetTransparent(TKYToggetto& picture, bool on);
    /// Puts a decoded picture in the cache, the oldest entry leaving when MaxCacheImg are held;
    /// anything but an immagine is refused with the error box "What happens? Image cache bug?".
    Status AddToPictureCache(TKYToggetto& object, std::shared_ptr<TKYTpicture> picture);
    /// Drops the cached picture of the immagine with this identifier.
    void DropCachedPicture(std::int32_t identifier);
    /// The cache: picture object identifiers and their decoded pictures, oldest first.
    std::vector<std::pair<std::int32_t, std::shared_ptr<TKYTpicture>>> pictureCache;

private:
    struct KindEntry {
        std::int64_t offset = 0;
        std::int64_t recordSize = 0;
        std::int64_t count = 0;
    };
    void ClearHeader();
    void FillNewHeader();
    void AddBuiltInStyles();
    void TakeBuiltInStyleReferences();
    void EmptyWorkingDirectory();
    void ConvertLegacyKinds();
    bool ReadDocument(std::int64_t fileSize);
    enum class WriteOutcome { Ok, WriteFailed, Refused };
    WriteOutcome WriteTemporary(FileStream& stream, std::span<const std::uint8_t> header);

    Environment& environment_;
    IMessages& messages_;
    IFileSystem& fileSystem_;
    std::array<std::uint8_t, kHeaderSize> header_{};
    std::array<std::vector<std::unique_ptr<TKYToggetto>>, kKindCount> lists_;
    std::shared_ptr<const DocumentFile> document_;
    std::string fileName_;
    bool modified_ = false;
    bool refused_ = false;
    bool readingBack_ = false;  // a save reads its file back
    TKYToggetto* style0_ = nullptr;
    TKYToggetto* style1_ = nullptr;
    std::vector<std::pair<std::int32_t, std::int32_t>> conversions_;
    std::vector<std::string> errors_;
    std::vector<std::unique_ptr<TKYToggetto>> orphans_;
    std::filesystem::path workingDirectory_;
};

}  // namespace orvo
