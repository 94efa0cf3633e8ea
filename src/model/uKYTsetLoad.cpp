// TKYTset::LoadFromFile: reading a document file, with every refusal, the completion of older
// records and the conversion of version-1 kinds. Every offset and size read from the file is
// checked against the file before it is used.
#include <cstring>
#include <new>
#include <system_error>

#include "base/ByteReader.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "model/uKYTset.h"

namespace orvo {

using namespace orvo::literals;
using K = TOggettiHel;

namespace {

enum class ReadOutcome { Ok, Refused, Failed };

constexpr std::string_view kTooOld =
    "Attenzione: file salvato con una versione del programma\ranteriore alla 0.98. Non più "
    "supportato. UNSUPPORTED\r"_cp;
constexpr std::string_view kTooNew =
    "File non supportato dalla corrente versione del programma."_cp;
constexpr std::string_view kTooNewAdvice =
    "\rPer aprirlo occorre una versione più recente del programma."_cp;

struct Range {
    std::int64_t position = -1;
    std::int64_t size = 0;
};

// The range of one variable data stream of a record; size 0 when the object has none.
Range RangeOf(const TKYToggetto& object, const DataPlace& place) {
    if (!place.Exists()) return {};
    const RecordView r = object.ReadView();
    if (object.Kind() == K::tabellaHtml && &place == &kContentPlace[KindIndex(K::tabellaHtml)] &&
        r.U8At(kTableHasContentOffset) == 0)
        return {};
    const std::int64_t position = r.I32At(std::size_t(place.position));
    const std::int64_t size =
        place.sizeIsI16 ? r.I16At(std::size_t(place.size)) : r.I32At(std::size_t(place.size));
    if (position < 0 || size <= 0) return {};
    return {position, size};
}

}  // namespace

std::string ExportPrefixFromName(std::string_view fileName, std::size_t length) {
    return Lower1252(StemOf(fileName)).substr(0, length);
}

bool TKYTset::LoadFromFile(const std::string& fileName) {
    const std::filesystem::path path = NativePath(fileName);
    std::error_code ec;
    if (fileName.empty() || !std::filesystem::exists(path, ec)) {
        messages_.Warn(fileName + " non esiste");
        return false;
    }
    Close();
    ReadOutcome outcome = ReadOutcome::Failed;
    auto opened = DocumentFile::Open(path);
    if (opened) {
        document_ = *opened;
        fileName_ = fileName;
        try {
            outcome = ReadDocument(document_->Size()) ? ReadOutcome::Ok : ReadOutcome::Failed;
            if (refused_) outcome = ReadOutcome::Refused;
        } catch (const ParseError&) {
            outcome = ReadOutcome::Failed;
        } catch (const std::bad_alloc&) {
            outcome = ReadOutcome::Failed;
        } catch (const std::length_error&) {
            outcome = ReadOutcome::Failed;
        }
        refused_ = false;
    }
    if (outcome != ReadOutcome::Ok) {
        // A new document, without a file name: a later save cannot overwrite the unread file.
        Close();
        FillNewHeader();
        AddBuiltInStyles();
        if (outcome == ReadOutcome::Failed)
            messages_.Inform(std::string("Errore nella lettura file:") + fileName);
    }
    if (OnAfterNew) OnAfterNew();
    modified_ = false;
    return outcome == ReadOutcome::Ok;
}

bool TKYTset::ReadDocument(std::int64_t fileSize) {
    if (fileSize == 0) {
        FillNewHeader();
        HeaderRecordView().SetPStr(kHdrExportPrefix, ExportPrefixFromName(fileName_, 8));
        AddBuiltInStyles();
        return true;
    }
    if (fileSize < std::int64_t(kHeaderSize)) return false;
    Result<std::string> headerBytes = document_->ReadAt(0, std::int64_t(kHeaderSize));
    if (!headerBytes) return false;
    std::memcpy(header_.data(), headerBytes->data(), kHeaderSize);
    RecordView h = HeaderRecordView();
    if (Upper1252(h.Raw(kHdrMagic)) != "ZEBU") {
        messages_.Inform("Formato sconosciuto.");
        refused_ = true;
        return false;
    }
    const int version = h.I16(kHdrVersion);
    const int highestKind = h.U8(kHdrHighestKind);
    if (version == 1) {
        if (highestKind <= 7) {
            messages_.Inform(kTooOld);
            refused_ = true;
            return false;
        }
        h.SetPStr(kHdrAuthors, "");
        h.SetPStr(kHdrCopyright, "");
        h.SetPStr(kHdrCompany, "");
        h.SetPStr(kHdrPassword, "");
        h.SetPStr(kHdrExportPrefix, ExportPrefixFromName(fileName_, 8));
        h.SetI32(kHdrHeaderPage, -1);
        h.SetI32(kHdrFooterPage, -1);
        h.SetI32(kHdrPageTree, 0);
        h.SetI32(kHdrPrototypeTree, 0);
        h.SetI32(kHdrBackColour, 0xC0C0C0);
        h.SetI32(kHdrTextColour, 0);
        h.SetI32(kHdrLinkColour, 0xFF0000);
        h.SetI32(kHdrVisitedColour, 0x0000FF);
        h.SetI32(kHdrBackPicture, -1);
        h.SetU16(kHdrLanguage, 1033);
    } else if (version >= 3) {
        messages_.Error(std::string(kTooNew) + std::string(kTooNewAdvice));
        refused_ = true;
        return false;
    }
    if (highestKind >= kKindCount) {
        messages_.Inform(kTooNew);
        refused_ = true;
        return false;
    }

    // The kind table and the record area.
    const std::int64_t tableSize = std::int64_t(highestKind + 1) * std::int64_t(kKindEntrySize);
    const std::int64_t recordStart = std::int64_t(RecordAreaStart(highestKind));
    if (recordStart > fileSize) return false;
    Result<std::string> table = document_->ReadAt(std::int64_t(kHeaderSize), tableSize + 4);
    if (!table) return false;
    ByteReader tableReader(*table);
    std::array<KindEntry, kKindCount> entries{};
    for (int kind = 0; kind <= highestKind; ++kind) {
        entries[kind].offset = tableReader.I32();
        entries[kind].recordSize = tableReader.I32();
        entries[kind].count = tableReader.I32();
    }
    const std::int64_t recordAreaSize = tableReader.I32();
    if (recordAreaSize < 0 || recordAreaSize > fileSize - recordStart) return false;
    for (int kind = 0; kind <= highestKind; ++kind) {
        const KindEntry& e = entries[kind];
        if (e.offset < 0 || e.recordSize < 0 || e.count < 0 || e.count > 0xFFFFFF) return false;
        if (e.count == 0) continue;
        if (e.recordSize == 0 || e.offset > recordAreaSize ||
            e.count > (recordAreaSize - e.offset) / e.recordSize)
            return false;
    }
    Result<std::string> records = document_->ReadAt(recordStart, recordAreaSize);
    if (!records) return false;
    const std::int64_t dataStart = recordStart + recordAreaSize;
    const std::int64_t dataSize = fileSize - dataStart;

    auto inData = [&](const Range& range) {
        return range.position <= dataSize && range.size <= dataSize - range.position;
    };
    for (int kind = 0; kind <= highestKind; ++kind) {
        const KindEntry& e = entries[kind];
        auto& list = lists_[kind];
        list.reserve(std::size_t(e.count));
        for (std::int64_t id = 0; id < e.count; ++id) {
            auto object = NewObjectOfKind(KindOf(kind), this);
            object->SetIdentifier(std::int32_t(id));
            const std::size_t at = std::size_t(e.offset + id * e.recordSize);
            object->ReadRecord(std::string_view(*records).substr(at, std::size_t(e.recordSize)));
            object->SetRegistered(true);
            if (!object->IsFree()) {
                const Range content = RangeOf(*object, kContentPlace[kind]);
                const Range aux = RangeOf(*object, kAuxiliaryPlace[kind]);
                if (!inData(content) || !inData(aux)) return false;
                const TOggettiHel k = KindOf(kind);
                if (content.size > 0) {
                    if (k == K::zipLink || k == K::genLink || k == K::immagine ||
                        k == K::mappaClic) {
                        object->MutableContent().SetFileRange(
                            document_, dataStart + content.position, content.size);
                    } else {
                        Result<std::string> bytes =
                            document_->ReadAt(dataStart + content.position, content.size);
                        if (!bytes) return false;
                        object->SetContent(std::move(*bytes));
                    }
                }
                if (aux.size > 0) {
                    Result<std::string> bytes =
                        document_->ReadAt(dataStart + aux.position, aux.size);
                    if (!bytes) return false;
                    object->SetAuxiliary(std::move(*bytes));
                }
            }
            list.push_back(std::move(object));
        }
    }
    // A document keeps its two built-in styles.
    AddBuiltInStyles();
    ConvertLegacyKinds();
    TakeBuiltInStyleReferences();
    return true;
}

void TKYTset::ConvertLegacyKinds() {
    const std::int32_t previous = SaveCounterStep(SaveCounter(), -1);
    for (auto [from, to] :
         {std::pair{K::mappaClic, K::immagine}, std::pair{K::zipLink, K::genLink}}) {
        auto legacy = std::move(lists_[KindIndex(from)]);
        lists_[KindIndex(from)].clear();
        for (auto& object : legacy) {
            if (object->IsFree()) continue;
            const std::int32_t oldCode = object->Code();
            const std::int32_t oldIdentifier = object->Identifier();
            object->SetRegistered(false);
            object->SetKind(to);
            if (to == K::immagine) {
                object->View().SetI32(kPictureMapId, oldIdentifier);
                object->SetVersionStamp(previous);
            }
            TKYToggetto* converted = object.get();
            Register(std::move(object), -1);
            conversions_.emplace_back(oldCode, converted->Code());
        }
    }
}

}  // namespace orvo
