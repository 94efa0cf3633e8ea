// TKYToggetto: the persistent object every part of a hypertext is made of (pages, links,
// pictures, tables, styles, form elements), and TKYTtesto, the text object of a page.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteStream.h"
#include "base/RecordView.h"
#include "base/Result.h"
#include "model/DocumentFile.h"
#include "model/ObjectRecord.h"

namespace orvo {

class TKYTset;
class TKYTtesto;

/// An object's main byte stream: none, bytes in memory, or a range still in the document file.
class ObjectContent {
public:
    bool Present() const { return where_ != Where::None; }
    bool InMemory() const { return where_ == Where::Memory; }
    bool InDocumentFile() const { return where_ == Where::File; }
    std::int64_t Size() const;
    /// The bytes; reading a range of the document file may fail.
    Result<std::string> Bytes() const;
    /// The bytes in memory, or nullptr when the content is not in memory.
    const std::string* Memory() const { return where_ == Where::Memory ? &bytes_ : nullptr; }
    const DocumentFile* File() const { return file_.get(); }
    std::int64_t FilePosition() const { return position_; }

    void SetMemory(std::string bytes);
    void SetFileRange(std::shared_ptr<const DocumentFile> file, std::int64_t position,
                      std::int64_t size);
    void Reset();

private:
    enum class Where { None, Memory, File };
    Where where_ = Where::None;
    std::string bytes_;
    std::shared_ptr<const DocumentFile> file_;
    std::int64_t position_ = 0;
    std::int64_t size_ = 0;
};

/// A persistent object: a kind, a 668-byte record laid out by kind, a file name and two
/// optional byte streams (content and auxiliary). Owned by its container's kind list once
/// registered, otherwise by whoever made it.
class TKYToggetto {
public:
    explicit TKYToggetto(TKYTset* owner = nullptr);
    virtual ~TKYToggetto();
    TKYToggetto(const TKYToggetto&) = delete;
    TKYToggetto& operator=(const TKYToggetto&) = delete;

    TOggettiHel Kind() const { return kind_; }
    /// Sets the kind; an object registered under another kind leaves a free object of the
    /// old kind in its slot and becomes unregistered.
    void SetKind(TOggettiHel kind);
    std::int32_t Identifier() const { return identifier_; }
    void SetIdentifier(std::int32_t identifier) { identifier_ = identifier; }
    bool Registered() const { return registered_; }
    void SetRegistered(bool registered) { registered_ = registered; }
    std::int32_t Code() const { return MakeCode(kind_, identifier_); }
    std::int32_t LocalCode() const { return localCode_; }
    void SetLocalCode(std::int32_t code) { localCode_ = code; }
    TKYTset* Owner() const { return owner_; }
    void SetOwner(TKYTset* owner) { owner_ = owner; }
    bool InHeaderFooter() const { return inHeaderFooter_; }
    void SetInHeaderFooter(bool v) { inHeaderFooter_ = v; }

    /// Resets the record to the kind's defaults and frees the streams: the object is free.
    virtual void Clear();
    /// Gives the in-use subtype (a page also gets the text "<Z S0 >" and a 0x00 byte) and the
    /// current save counter as version stamp.
    void TakeIntoUse();
    bool IsFree() const;
    std::uint8_t Subtype() const { return record_[4]; }

    /// The name field of the kind (derived for speclink and shortObj), and setting it (cut).
    std::string Name() const;
    void SetName(std::string_view cp1252);
    /// The file field of genLink, zipLink, immagine and programma.
    std::string FileName() const;
    /// Sets the file field, made unique among the genLink and immagine objects of the
    /// hypertext ("ed" + 6 hexadecimal digits + the extension on a clash).
    void SetFileName(std::string_view cp1252);
    /// The version stamp of the kinds that keep one; the save counter for the others.
    std::int32_t VersionStamp() const;
    void SetVersionStamp(std::int32_t stamp);

    /// The record.
    std::span<std::uint8_t> Record() { return record_; }
    std::span<const std::uint8_t> Record() const { return record_; }
    RecordView View() { return RecordView(record_); }
    /// A view for reading only (RecordView's setters cannot be called on it).
    const RecordView ReadView() const {
        return RecordView(
            std::span<std::uint8_t>(const_cast<std::uint8_t*>(record_.data()), record_.size()));
    }

    /// The main stream.
    const ObjectContent& Content() const { return content_; }
    ObjectContent& MutableContent() { return content_; }
    void SetContent(std::string bytes) { content_.SetMemory(std::move(bytes)); }
    /// The content's bytes (from memory, the document file, or the file named by fileName
    /// when extracted); empty with no content.
    Result<std::string> ContentBytes() const;
    /// The second stream.
    const std::optional<std::string>& Auxiliary() const { return auxiliary_; }
    void SetAuxiliary(std::optional<std::string> bytes) { auxiliary_ = std::move(bytes); }
    /// The path of the file that holds the content when extracted or not yet embedded.
    const std::string& ContentFileName() const { return fileName_; }
    void SetContentFileName(std::string path) { fileName_ = std::move(path); }
    /// Whether the file field may be read to fill a missing content: set in this run, or (for
    /// a name read from data) checked against the document's folder when used.
    bool FileFieldSetInThisRun() const { return fileFieldSetInThisRun_; }

    /// The record read from a document file: `stored` holds the record's bytes as stored
    /// (its length is the file's record size; at most 668 are taken). Completes records of
    /// older versions.
    void ReadRecord(std::string_view stored);

    /// Copies `source` (an immagine gives an immagineNew that shows it). Not registered.
    void Assign(const TKYToggetto& source);

    /// The object stream of the clipboard and undo records.
    [[nodiscard]] Status WriteToStream(ByteStream& stream) const;
    [[nodiscard]] Status ReadFromStream(ByteStream& stream);

    /// Equality used to avoid duplicates; FindEqual: the first equal object of the hypertext.
    bool Equals(const TKYToggetto& other) const;
    TKYToggetto* FindEqual() const;

    /// The reason this object refers to the object with `code`; 0 when it does not.
    int Refers(std::int32_t code) const;
    /// The value of an attribute of the HTML code in the auxiliary stream.
    std::optional<std::string> GetAttribute(std::string_view name) const;
    /// Which term the object's text matches: first (with second), else third (with fourth).
    std::string MatchTerms(std::string first, std::string second, std::string third,
                           std::string fourth, int options) const;
    /// "label|description" for the user.
    std::string Describe() const;
    /// For a dbloc: the content as lines, names and values alternating (read once).
    const std::vector<std::string>& DbAttributes();

    /// Writes the content to a new file in the working directory and returns its path.
    std::string ExtractContent();
    /// Writes the content to `path`, making its folder; false (and an error box) on failure.
    bool SaveContentAs(const std::string& path);

    /// The HTML code of the auxiliary stream (after its header), when it has one.
    std::string AuxiliaryCode() const;

    /// The file that fills a missing content (saving, object streams): the content's own
    /// file, else for genLink, immagine and immagineNew the file field when it was set in this
    /// run or names a file inside the document's folder. Empty when none.
    std::string ContentSourceFile() const;

    /// Marks the file field as read from data (documents, streams from elsewhere).
    void MarkFileFieldFromData() { fileFieldSetInThisRun_ = false; }

protected:
    void SetKindDefaults();
    void CompleteOldRecord(std::size_t storedSize);

    TOggettiHel kind_ = TOggettiHel::testoHtmlRtf;
    std::int32_t localCode_ = -1;
    std::int32_t identifier_ = -1;
    bool registered_ = false;
    bool inHeaderFooter_ = false;
    bool fileFieldSetInThisRun_ = true;
    TKYTset* owner_ = nullptr;
    std::array<std::uint8_t, kObjectRecordSize> record_{};
    ObjectContent content_;
    std::optional<std::string> auxiliary_;
    std::string fileName_;
    std::optional<std::vector<std::string>> attributes_;
    TKYTtesto* ownerText_ = nullptr;
};

/// A text object: every page, header text and footer text. While a page is opened for editing
/// its working copy holds the objects local to the text.
class TKYTtesto : public TKYToggetto {
public:
    explicit TKYTtesto(TKYTset* owner = nullptr) : TKYToggetto(owner) {}
    ~TKYTtesto() override;

    /// The text version of the page record: 1 legacy tags, 2 markup.
    int TextVersion() const { return record_[195]; }

    std::unique_ptr<TKYTtesto> headerText;
    std::unique_ptr<TKYTtesto> footerText;
    /// The link objects local to this text (index = low 24 bits of a local link code).
    std::vector<std::unique_ptr<TKYToggetto>> links;
    /// Working copies of the objects embedded in the text, and the position of each one's code.
    std::vector<std::unique_ptr<TKYToggetto>> pageObjects;
    std::vector<std::size_t> codePositions;
};

/// A new object of the class for `kind` (a TKYTtesto for pages).
std::unique_ptr<TKYToggetto> NewObjectOfKind(TOggettiHel kind, TKYTset* owner);

}  // namespace orvo
