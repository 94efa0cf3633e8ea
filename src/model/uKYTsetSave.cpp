// TKYTset::SaveToFile: the document is written whole into a temporary file beside the target,
// flushed, and renamed over the target; the previous file becomes ".bak" through a second name
// (link, then rename), so the target's name always holds a whole file. The written file is then
// read back.
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <limits>
#include <system_error>

#include "base/ByteReader.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "model/uKYTset.h"

namespace orvo {

using namespace orvo::literals;
using K = TOggettiHel;

namespace {

constexpr std::string_view kWriteError = "Errore nella scrittura file ";

std::string SharingQuestion(const std::string& fileName) {
    return std::string(
               "Probabile errore di condivisione, o disco pieno.\rChiudi l'altra applicazione "
               "che sta accedendo al file, e scegli \"Si\" per riprovare a scrivere.\r(") +
           fileName + ")";
}

// Appends the data area through the file-system seam, in large writes.
class DataWriter {
public:
    DataWriter(IFileSystem& fs, FileStream& stream) : fs_(fs), stream_(stream) {}
    std::int64_t Written() const { return written_; }
    bool Failed() const { return failed_; }
    std::string& Buffer() { return buffer_; }
    void Account(std::int64_t n) { written_ += n; }
    void Append(std::string_view bytes) {
        buffer_ += bytes;
        written_ += std::int64_t(bytes.size());
        if (buffer_.size() >= kChunk) Flush();
    }
    bool Flush() {
        if (!buffer_.empty() && !failed_ && !fs_.Write(stream_, buffer_)) failed_ = true;
        buffer_.clear();
        return !failed_;
    }
    static constexpr std::size_t kChunk = 1 << 20;

private:
    IFileSystem& fs_;
    FileStream& stream_;
    std::string buffer_;
    std::int64_t written_ = 0;
    bool failed_ = false;
};

std::string UniqueTag() {
    static std::atomic<unsigned> counter{0};
    return std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
}

}  // namespace

TKYTset::WriteOutcome TKYTset::WriteTemporary(FileStream& stream,
                                              std::span<const std::uint8_t> header) {
    std::int64_t recordAreaSize = 0;
    for (int kind = 0; kind <= kWrittenHighestKind; ++kind)
        recordAreaSize += std::int64_t(lists_[kind].size()) * kStoredRecordSize[kind];
    const std::int64_t dataStart =
        std::int64_t(RecordAreaStart(kWrittenHighestKind)) + recordAreaSize;
    if (recordAreaSize > std::numeric_limits<std::int32_t>::max()) {
        errors_.emplace_back(kWriteError);
        return WriteOutcome::Refused;
    }
    if (!stream.Seek(dataStart)) return WriteOutcome::WriteFailed;

    std::string head(reinterpret_cast<const char*>(header.data()), header.size());
    head.reserve(std::size_t(dataStart));
    ByteWriter table(head);
    std::string records;
    records.reserve(std::size_t(recordAreaSize));
    DataWriter data(fileSystem_, stream);
    bool tooLarge = false;

    // Writes one stream of an object into the data area and returns its (position, size).
    auto writeStream = [&](const TKYToggetto& object,
                           bool content) -> std::pair<std::int64_t, std::int64_t> {
        const std::int64_t position = data.Written();
        if (!content) {
            if (object.Auxiliary()) data.Append(*object.Auxiliary());
            return {position, data.Written() - position};
        }
        const ObjectContent& c = object.Content();
        if (const std::string* bytes = c.Memory()) {
            data.Append(*bytes);
        } else if (c.InDocumentFile()) {
            std::int64_t done = 0;
            while (done < c.Size()) {
                const std::int64_t n = std::min<std::int64_t>(DataWriter::kChunk, c.Size() - done);
                if (!c.File()->ReadInto(c.FilePosition() + done, n, data.Buffer())) {
                    errors_.push_back(std::string("Errore nell'apertura file: "_cp) + fileName_);
                    break;
                }
                data.Account(n);
                done += n;
                if (data.Buffer().size() >= DataWriter::kChunk) data.Flush();
            }
        } else if (const std::string source = object.ContentSourceFile(); !source.empty()) {
            const std::filesystem::path path = NativePath(FromWindowsPath(source));
            std::error_code ec;
            // A missing file is written empty; one that is there but cannot be read stops
            // the save, naming that file.
            if (std::filesystem::exists(path, ec)) {
                Result<std::string> bytes = std::filesystem::is_regular_file(path, ec)
                                                ? ReadFileBytes(path)
                                                : Result<std::string>(Fail("not a file"));
                if (bytes)
                    data.Append(*bytes);
                else
                    errors_.push_back(std::string("Errore nell'apertura file: "_cp) + source);
            }
        }
        return {position, data.Written() - position};
    };

    for (int kind = 0; kind <= kWrittenHighestKind; ++kind) {
        const auto& list = lists_[kind];
        const std::size_t recordSize = kStoredRecordSize[kind];
        table.I32(std::int32_t(records.size()));
        table.I32(std::int32_t(recordSize));
        table.I32(std::int32_t(list.size() & 0xFFFFFF));
        for (const auto& object : list) {
            std::array<std::uint8_t, kObjectRecordSize> record;
            std::copy(object->Record().begin(), object->Record().end(), record.begin());
            RecordView r(record);
            if (!object->IsFree()) {
                for (bool content : {true, false}) {
                    const DataPlace& place = content ? kContentPlace[kind] : kAuxiliaryPlace[kind];
                    if (!place.Exists()) continue;
                    const auto [position, size] = writeStream(*object, content);
                    const std::int64_t limit = place.sizeIsI16
                                                   ? std::numeric_limits<std::int16_t>::max()
                                                   : std::numeric_limits<std::int32_t>::max();
                    if (size > limit || position + size > std::numeric_limits<std::int32_t>::max())
                        tooLarge = true;
                    r.SetI32At(std::size_t(place.position), std::int32_t(position));
                    if (place.sizeIsI16)
                        r.SetI16At(std::size_t(place.size), std::int16_t(size));
                    else
                        r.SetI32At(std::size_t(place.size), std::int32_t(size));
                }
            }
            records.append(reinterpret_cast<const char*>(record.data()), recordSize);
        }
        if (data.Failed()) return WriteOutcome::WriteFailed;
    }
    if (tooLarge) errors_.emplace_back(kWriteError);
    if (!errors_.empty()) return WriteOutcome::Refused;
    if (!data.Flush()) return WriteOutcome::WriteFailed;
    table.I32(std::int32_t(records.size()));
    head += records;
    if (!stream.Seek(0) || !fileSystem_.Write(stream, head)) return WriteOutcome::WriteFailed;
    return WriteOutcome::Ok;
}

bool TKYTset::SaveToFile(const std::string& fileName, int version) {
    errors_.clear();
    if (fileName.empty()) {
        messages_.Error("Nome file non valido!");
        return false;
    }
    if (OnBeforeNew) OnBeforeNew();
    auto failed = [&] {
        if (errors_.empty()) errors_.emplace_back(kWriteError);
        if (OnAfterNew) OnAfterNew();
        return false;
    };
    // Saving onto a symbolic link writes the file it names, so the link stays a link.
    const Result<std::filesystem::path> resolved = ReplaceableTarget(NativePath(fileName));
    if (!resolved) {
        errors_.push_back(resolved.failure().text);
        return failed();
    }
    const std::filesystem::path target = *resolved;
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    if (!std::filesystem::exists(folder, ec)) std::filesystem::create_directories(folder, ec);
    if (ec) return failed();

    if (ConvertLegacyText)
        for (const auto& page : lists_[KindIndex(K::testoHtml)])
            if (!page->IsFree() && page->Record()[195] == 1) ConvertLegacyText(*page);

    // The header as written; the document's own header changes only through the read-back.
    std::array<std::uint8_t, kHeaderSize> header = header_;
    RecordView h(header);
    h.SetU8(kHdrHighestKind, std::uint8_t(kWrittenHighestKind));
    h.SetI16(kHdrVersion, std::int16_t(version));
    h.SetI32(kHdrSaveCounter, SaveCounterStep(h.I32(kHdrSaveCounter), 1));
    h.SetI16(kHdrPixelsPerInch, std::int16_t(environment_.PixelsPerInch()));
    const std::string lastName(LastComponent(fileName));
    if (h.PStr(kHdrExportPrefix).empty())
        h.SetPStr(kHdrExportPrefix, ExportPrefixFromName(lastName));
    if (h.PStr(kHdrTitle) == kUntitled) h.SetPStr(kHdrTitle, std::string(StemOf(lastName)) + ".");

    const std::optional<FileIdentity> existing = fileSystem_.Identify(target);
    std::filesystem::path temporary;
    for (;;) {
        auto created = CreateTemporaryBeside(fileSystem_, target, 0666);
        if (!created) {
            if (messages_.Ask(SharingQuestion(fileName))) continue;
            return failed();
        }
        temporary = created->path;
        WriteOutcome outcome = WriteTemporary(created->stream, header);
        if (outcome == WriteOutcome::Ok && !fileSystem_.Sync(created->stream))
            outcome = WriteOutcome::WriteFailed;
        if (!fileSystem_.Close(created->stream) && outcome == WriteOutcome::Ok)
            outcome = WriteOutcome::WriteFailed;
        if (outcome == WriteOutcome::Ok) break;
        (void)fileSystem_.Remove(temporary);
        if (outcome == WriteOutcome::WriteFailed && messages_.Ask(SharingQuestion(fileName))) {
            errors_.clear();
            continue;
        }
        return failed();
    }
    auto abandon = [&](const std::filesystem::path& alsoRemove = {}) {
        (void)fileSystem_.Remove(temporary);
        if (!alsoRemove.empty()) (void)fileSystem_.Remove(alsoRemove);
        return failed();
    };
    if (existing && !fileSystem_.SetPermissions(temporary, existing->mode)) return abandon();

    // The previous file gets a second name before the new one takes its place, so the name
    // always holds a whole file; ".bak" changes only once the new file stands.
    std::filesystem::path second;
    if (Backups && existing) {
        bool linked = false;
        for (int attempt = 0; attempt < 20 && !linked; ++attempt) {
            second = folder / ("." + target.filename().string() + ".bak." + UniqueTag() + ".tmp");
            linked = bool(fileSystem_.Link(target, second));
            if (!linked && errno != EEXIST) break;
        }
        if (!linked) {
            // A file system without hard links: the backup is a copy, written whole.
            Result<std::string> old = ReadFileBytes(target);
            if (!old || !WriteFileAtomically(second, *old, existing->mode, fileSystem_))
                return abandon(second);
        }
    }
    if (!fileSystem_.Rename(temporary, target)) return abandon(second);
    if (!second.empty()) {
        std::filesystem::path backup = target;
        backup.replace_extension(".bak");
        (void)fileSystem_.Rename(second, backup);
        (void)fileSystem_.Remove(second);  // left when ".bak" already was this very file
    }
    (void)fileSystem_.SyncFolder(folder);
    RemoveStaleTemporaries(target);
    modified_ = false;

    // The file read back is the same hypertext: its undo steps (numbers and markup) stay.
    readingBack_ = true;
    const bool readBack = LoadFromFile(fileName);
    readingBack_ = false;
    if (!readBack) {
        if (UndoHistory) UndoHistory->Restart(UndoDeep);
        errors_.emplace_back(kWriteError);
        return false;
    }
    return errors_.empty();
}

}  // namespace orvo
