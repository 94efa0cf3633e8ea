// The internal selection stream: reading it whole before anything is inserted, writing a
// selection into it, pasting it; and the RTF and text forms of copy and paste.
#include "textbox/SelectionStream.h"
#include "textbox/StoredFragment.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/ByteStream.h"
#include "model/Markup.h"
#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/StyleTable.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "textbox/UpdateLock.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"

namespace orvo {

namespace {

// The smallest object stream: id, kind, the record, three sizes and the zero word.
constexpr std::int64_t kMinObjectStream = 4 + 1 + std::int64_t(kObjectRecordSize) + 4 * 4;
constexpr std::uint32_t kStyleTop = 0x11000000u;

bool ReadI32(MemoryStream& in, std::int32_t& value) {
    std::uint8_t b[4];
    if (!in.ReadExact(b, 4)) return false;
    value = std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                         std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
    return true;
}

bool WriteI32(ByteStream& out, std::int32_t value) {
    const std::uint32_t v = std::uint32_t(value);
    const std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                               std::uint8_t(v >> 24)};
    return out.Write(b, 4);
}

// A count of entries of at least `entrySize` bytes that the rest of the data can hold.
bool ReadCount(MemoryStream& in, std::int64_t entrySize, std::int32_t& count) {
    if (!ReadI32(in, count) || count < 0) return false;
    return std::int64_t(count) * entrySize <= in.Size() - in.Position();
}

Result<std::unique_ptr<TKYToggetto>> ReadObject(MemoryStream& in, int kind, TKYTset& owner) {
    if (kind < 0 || kind >= kKindCount) return Fail("object of an unknown kind");
    auto object = NewObjectOfKind(KindOf(kind), &owner);
    Status read = object->ReadFromStream(in);
    if (!read) return read.failure();
    if (KindIndex(object->Kind()) != kind) return Fail("object of another kind");
    object->MarkFileFieldFromData();
    object->SetRegistered(false);
    return object;
}

}  // namespace

Result<SelectionStream> ParseSelectionStream(std::string_view bytes, TKYTset& owner) {
    MemoryStream in{std::string(bytes)};
    SelectionStream parsed;
    if (!ReadI32(in, parsed.contentCode)) return Fail("stream too short");
    if (parsed.contentCode != kStreamContentText && parsed.contentCode != kStreamContentOther)
        return Fail("not a text stream");
    std::int32_t count = 0;
    if (!ReadCount(in, 8 + kMinObjectStream, count)) return Fail("link count beyond the data");
    for (std::int32_t i = 0; i < count; ++i) {
        SelectionStream::Entry entry;
        if (!ReadI32(in, entry.kind) || !ReadI32(in, entry.oldId)) return Fail("link cut short");
        auto object = ReadObject(in, entry.kind, owner);
        if (!object) return object.failure();
        const TOggettiHel kind = KindOf(entry.kind);
        if (kind != TOggettiHel::internetLink && kind != TOggettiHel::speclink &&
            kind != TOggettiHel::shortObj)
            return Fail("a link of a kind that is no link");
        entry.object = std::move(*object);
        parsed.links.push_back(std::move(entry));
    }
    if (!ReadCount(in, 4 + kMinObjectStream, count)) return Fail("shared count beyond the data");
    for (std::int32_t i = 0; i < count; ++i) {
        SelectionStream::Entry entry;
        if (!ReadI32(in, entry.kind)) return Fail("shared object cut short");
        auto object = ReadObject(in, entry.kind, owner);
        if (!object) return object.failure();
        const TOggettiHel kind = KindOf(entry.kind);
        if (kind != TOggettiHel::immagine && kind != TOggettiHel::mappaClic &&
            kind != TOggettiHel::stileParagrafo) {
            parsed.foreignShared = true;
            continue;
        }
        entry.oldId = (*object)->Identifier();
        entry.object = std::move(*object);
        parsed.shared.push_back(std::move(entry));
    }
    if (!ReadCount(in, 8 + kMinObjectStream, count)) return Fail("object count beyond the data");
    for (std::int32_t i = 0; i < count; ++i) {
        SelectionStream::Entry entry;
        if (!ReadI32(in, entry.kind) || !ReadI32(in, entry.oldId)) return Fail("object cut short");
        if (entry.oldId < 0 || entry.oldId > 0xFFFFFF) return Fail("object number out of range");
        auto object = ReadObject(in, entry.kind, owner);
        if (!object) return object.failure();
        entry.object = std::move(*object);
        parsed.objects.push_back(std::move(entry));
    }
    std::int32_t paragraphs = 0;
    if (!ReadI32(in, paragraphs) || paragraphs <= 0) return Fail("no paragraphs");
    const std::string& data = in.Bytes();
    const std::size_t from = std::size_t(in.Position());
    const std::size_t terminator = data.find('\0', from);
    if (terminator == std::string::npos) return Fail("markup without its terminator");
    // Every paragraph takes at least a head of five bytes.
    if (std::int64_t(paragraphs) * 5 > std::int64_t(terminator - from))
        return Fail("paragraph count beyond the data");
    parsed.paragraphCount = paragraphs;
    parsed.markup = data.substr(from, terminator - from + 1);
    return parsed;
}

// --- Writing -------------------------------------------------------------------------------

namespace {

struct Collected {
    std::vector<std::int32_t> links;  // local link codes, in order of appearance
    std::vector<TKYToggetto*> objects;
    std::vector<const TKYToggetto*> shared;
};

void AddOnce(std::vector<const TKYToggetto*>& list, const TKYToggetto* object) {
    if (object && std::find(list.begin(), list.end(), object) == list.end()) list.push_back(object);
}

}  // namespace

std::string TKYTTextAttributes::SelectionMarkup() {
    auto [start, end] = Selection();
    IMarkupHost& host = box_.HostFor(kBodyParagraph);
    MemoryStream out;
    for (std::int32_t i = start.para; i <= end.para; ++i) {
        const TKYTparag& p = box_.Paragraph(i);
        const std::int32_t size = std::int32_t(p.text.size());
        const std::int32_t from = i == start.para ? start.ch : 0;
        const std::int32_t to = i == end.para ? end.ch : size;
        const bool wholeTable = from == 0 && to >= 1 && p.IsTableParagraph(host);
        // A table travels with its cells; other text as a fragment.
        bool ok = wholeTable ? p.WriteMarkup(out, wmRange, 0, 1, host)
                             : p.WriteMarkup(out, wmSnapshot, from, to, host);
        if (!ok) break;
    }
    std::string markup = out.TakeBytes();
    markup.push_back('\0');
    return markup;
}

bool TKYTTextAttributes::WriteSelection(ByteStream& stream, bool forDrag,
                                        const TKYToggetto** picture) {
    if (picture) *picture = nullptr;
    if (!HasSelection()) return false;
    auto [start, end] = Selection();
    Collected found;
    std::set<std::int32_t> seenLinks;
    for (std::int32_t i = start.para; i <= end.para; ++i) {
        const TKYTparag& p = box_.Paragraph(i);
        AddOnce(found.shared, p.style.Definition());
        const std::int32_t from = i == start.para ? start.ch : 0;
        const std::int32_t to = i == end.para ? end.ch : std::int32_t(p.text.size());
        for (std::int32_t k = from; k < to; ++k) {
            const TKYTcharMetric& m = p.metrics[std::size_t(k)];
            if (CodeKind(m.linkId) == kLocalLinkKind && seenLinks.insert(m.linkId).second)
                found.links.push_back(m.linkId);
            if (m.objectIndex >= 0 && std::size_t(m.objectIndex) < p.objects.size() &&
                p.objects[std::size_t(m.objectIndex)])
                found.objects.push_back(p.objects[std::size_t(m.objectIndex)]);
        }
    }
    // The pictures the copied images and buttons show travel with them.
    for (TKYToggetto* object : found.objects) {
        std::vector<std::int32_t> codes;
        if (object->Kind() == TOggettiHel::immagineNew) {
            const RecordView record = object->ReadView();
            codes = {record.I32(kImagePicture), record.I32(kImageLowRes),
                     record.I32(kImageRollover)};
        } else if (object->Kind() == TOggettiHel::bottoneCGI && !forDrag) {
            codes = {object->ReadView().I32(kButtonPicture)};
        }
        for (std::int32_t code : codes)
            if (TKYToggetto* shown = context_.set.ObjectByCode(code))
                if (shown->Kind() == TOggettiHel::immagine) {
                    AddOnce(found.shared, shown);
                    if (picture && !forDrag && !*picture) *picture = shown;
                }
    }
    IMarkupHost& host = box_.HostFor(kBodyParagraph);
    if (!WriteI32(stream, kStreamContentText)) return false;
    std::vector<std::pair<std::int32_t, const TKYToggetto*>> links;
    for (std::int32_t code : found.links) {
        const std::size_t index = std::uint32_t(code) & 0xFFFFFFu;
        if (index < context_.text.links.size() && context_.text.links[index])
            links.emplace_back(code, context_.text.links[index].get());
    }
    if (!WriteI32(stream, std::int32_t(links.size()))) return false;
    for (auto [code, link] : links)
        if (!WriteI32(stream, KindIndex(link->Kind())) || !WriteI32(stream, code) ||
            !link->WriteToStream(stream))
            return false;
    if (!WriteI32(stream, std::int32_t(found.shared.size()))) return false;
    for (const TKYToggetto* object : found.shared)
        if (!WriteI32(stream, KindIndex(object->Kind())) || !object->WriteToStream(stream))
            return false;
    std::vector<TKYToggetto*> objects;
    for (TKYToggetto* object : found.objects)
        if (std::find(objects.begin(), objects.end(), object) == objects.end())
            objects.push_back(object);
    if (!WriteI32(stream, std::int32_t(objects.size()))) return false;
    for (TKYToggetto* object : objects)
        if (!WriteI32(stream, KindIndex(object->Kind())) ||
            !WriteI32(stream, host.PageObjectIdentifier(*object)) || !object->WriteToStream(stream))
            return false;
    if (!WriteI32(stream, end.para - start.para + 1)) return false;
    const std::string markup = SelectionMarkup();
    return stream.Write(markup.data(), markup.size());
}

// --- Pasting -------------------------------------------------------------------------------

bool TKYTTextAttributes::InsertFromStream(std::string_view bytes, std::string_view label,
                                          bool replaceCaretParagraph, bool adoptStyle) {
    if (bytes.size() < 4) return false;
    const std::int32_t code = std::int32_t(
        std::uint32_t(std::uint8_t(bytes[0])) | std::uint32_t(std::uint8_t(bytes[1])) << 8 |
        std::uint32_t(std::uint8_t(bytes[2])) << 16 | std::uint32_t(std::uint8_t(bytes[3])) << 24);
    if (code != kStreamContentText && code != kStreamContentOther) return false;
    Result<SelectionStream> parsed = ParseSelectionStream(bytes, context_.set);
    if (!parsed) {
        context_.messages.Error(kStreamRefused);
        return false;
    }
    if (parsed->foreignShared) context_.messages.Error(kStreamReadError);
    if (HasSelection()) DeleteSelection();
    const EditPos caret = CaretPos();
    TboBackup* step =
        label.empty() ? nullptr : RecordBox(std::string(label), caret.para, caret.para);
    EndBursts();
    DropPending();
    UpdateLock lock(box_);
    IMarkupHost& host = box_.HostFor(kBodyParagraph);
    TKYTset& set = context_.set;
    TKYTtesto& text = context_.text;
    const std::int32_t oldTop = box_.Paragraph(caret.para).top;
    BreakParagraph(box_, caret);
    // The tail's bottom: where the text below stands now.
    const std::int32_t oldBottom = box_.Paragraph(caret.para + 1).bottom;
    const bool caretWasEmpty = box_.Paragraph(caret.para).text.empty();

    MarkupRemap remap;
    remap.codes.emplace();
    remap.objectIds.emplace();
    std::map<std::int32_t, std::int32_t> pictureCodes;
    bool newStyles = false;
    for (auto& entry : parsed->links) {
        const std::int32_t newCode = kLocalLinkBase | std::int32_t(text.links.size());
        entry.object->SetLocalCode(newCode);
        remap.codes->from.push_back(entry.oldId);
        remap.codes->to.push_back(newCode);
        text.links.push_back(std::move(entry.object));
    }
    for (auto& entry : parsed->shared) {
        const int kind = entry.kind;
        TKYToggetto* equal = entry.object->FindEqual();
        std::int32_t newId;
        if (equal) {
            newId = equal->Identifier();
        } else {
            if (KindOf(kind) == TOggettiHel::stileParagrafo)
                entry.object->SetName(UniqueStyleName(set, entry.object->Name()));
            newId = set.Register(std::move(entry.object));
            if (KindOf(kind) == TOggettiHel::stileParagrafo) newStyles = true;
        }
        if (KindOf(kind) == TOggettiHel::stileParagrafo) {
            remap.codes->from.push_back(
                std::int32_t(kStyleTop | std::uint32_t(entry.oldId & 0xFFFFFF)));
            remap.codes->to.push_back(std::int32_t(kStyleTop | std::uint32_t(newId)));
        } else {
            pictureCodes[MakeCode(KindOf(kind), entry.oldId)] = MakeCode(KindOf(kind), newId);
        }
    }
    // Links that point to other links of the stream point to their new copies.
    for (std::size_t i = text.links.size() - parsed->links.size(); i < text.links.size(); ++i) {
        TKYToggetto& link = *text.links[i];
        if (link.Kind() == TOggettiHel::speclink) {
            if (auto target = remap.codes->Find(link.ReadView().I32(kSpecTarget)))
                link.View().SetI32(kSpecTarget, *target);
        }
    }
    for (auto& entry : parsed->objects) {
        TKYToggetto& object = *entry.object;
        auto remapField = [&](const FieldSpec& field) {
            auto it = pictureCodes.find(object.ReadView().I32(field));
            if (it != pictureCodes.end()) object.View().SetI32(field, it->second);
        };
        if (object.Kind() == TOggettiHel::immagineNew) {
            remapField(kImagePicture);
            remapField(kImageLowRes);
            remapField(kImageRollover);
        } else if (object.Kind() == TOggettiHel::bottoneCGI) {
            remapField(kButtonPicture);
        }
        object.SetOwner(&set);
        remap.objectIds->from.push_back(entry.oldId);
        remap.objectIds->to.push_back(std::int32_t(text.pageObjects.size()));
        text.pageObjects.push_back(std::move(entry.object));
    }

    Paragraphs inserted = ReadText(parsed->markup, host, 0, &remap);
    if (inserted.empty()) inserted = ReadText(std::string_view("<Z S0 >\0", 8), host, 0);
    const std::int32_t count = std::int32_t(inserted.size());
    const std::int32_t lastLength = std::int32_t(inserted.back()->text.size());
    for (auto& p : inserted) p->kind = kBodyParagraph;
    if (adoptStyle || caretWasEmpty) {
        const TKYToggetto* style = inserted.front()->style.Definition();
        TKYTparag& caretPara = box_.Paragraph(caret.para);
        if (style && (adoptStyle || StyleNumber(*style) > 1) &&
            caretPara.style.Definition() != style) {
            TKYTParaStyle adopted;
            adopted.SetDefinition(style);
            caretPara.style = adopted;
        }
    }
    const bool firstIsTable = inserted.front()->IsTableParagraph(host);
    const bool lastIsTable = inserted.back()->IsTableParagraph(host);
    Paragraphs& all = box_.MutableParagraphs();
    all.insert(all.begin() + caret.para + 1, std::make_move_iterator(inserted.begin()),
               std::make_move_iterator(inserted.end()));
    // Now: the caret's paragraph C, the inserted paragraphs, the tail T.
    const std::int32_t c = caret.para;
    std::int32_t first = c + 1;
    std::int32_t tail = c + 1 + count;
    bool joinedIntoCaret = false;
    EditPos startPos = caret;
    auto dropCaretParagraph = [&] {
        all.erase(all.begin() + c);
        --tail;
        first = c;
        startPos = {c, 0};
    };
    if (replaceCaretParagraph) {
        dropCaretParagraph();
    } else if (firstIsTable) {
        if (caretWasEmpty) dropCaretParagraph();
    } else if (!box_.Paragraph(c).IsTableParagraph(host)) {
        if (!caretWasEmpty && !adoptStyle)
            box_.Paragraph(first).style.Assign(box_.Paragraph(c).style);
        const bool emptyCaret = box_.Paragraph(c).text.empty();
        if (JoinWithNext(box_, c) == 1) {
            --tail;
            first = c;
            if (emptyCaret)
                startPos = {c, 0};
            else
                joinedIntoCaret = true;
        }
    }
    const std::int32_t last = tail - 1;
    EditPos endPos{last, lastLength + (joinedIntoCaret && last == first ? caret.ch : 0)};
    std::int32_t lastTouched = tail;
    if (box_.Paragraph(tail).IsTableParagraph(host)) {
        if (last >= first && box_.Paragraph(last).text.empty()) {
            all.erase(all.begin() + last);
            --tail;
            lastTouched = tail;
            endPos = {tail, 0};
            if (startPos.para > tail) startPos = endPos;
        }
    } else if (!lastIsTable || last < first) {
        if (!box_.Paragraph(last).IsTableParagraph(host)) {
            const bool emptyLast = box_.Paragraph(last).text.empty();
            const std::int32_t left = JoinWithNext(box_, last);
            lastTouched = last + left - 1;
            if (emptyLast) endPos = {last, 0};
        }
    }
    box_.RelayoutRange(c, lastTouched, false, oldBottom, oldTop);
    if (step) step->SetAfterRange(caret.para, lastTouched);
    Select(startPos, endPos);
    if (newStyles && context_.onAddStyle) context_.onAddStyle();
    return true;
}

// --- Other forms ---------------------------------------------------------------------------

bool TKYTTextAttributes::WriteSelectionAsRtf(ByteStream& stream) {
    if (!context_.converters || !HasSelection()) return false;
    Result<std::string> rtf = context_.converters->MarkupToRtf(SelectionMarkup());
    return rtf && stream.Write(rtf->data(), rtf->size());
}

bool TKYTTextAttributes::WriteSelectionAsText(ByteStream& stream) {
    if (!HasSelection()) return false;
    if (context_.converters) {
        Result<std::string> text = context_.converters->MarkupToText(SelectionMarkup());
        return text && stream.Write(text->data(), text->size());
    }
    // Without a converter: the characters, paragraphs ended by CR LF, objects left out.
    auto [start, end] = Selection();
    std::string out;
    for (std::int32_t i = start.para; i <= end.para; ++i) {
        const TKYTparag& p = box_.Paragraph(i);
        const std::int32_t from = i == start.para ? start.ch : 0;
        const std::int32_t to = i == end.para ? end.ch : std::int32_t(p.text.size());
        for (std::int32_t k = from; k < to; ++k)
            if (p.metrics[std::size_t(k)].objectIndex < 0) out.push_back(p.text[std::size_t(k)]);
        if (i != end.para) out += "\r\n";
    }
    return stream.Write(out.data(), out.size());
}

bool TKYTTextAttributes::PasteText(std::string_view text, std::string_view label) {
    const EditPos caret = CaretPos();
    const std::int32_t style = box_.Paragraph(caret.para).style.Definition()
                                   ? StyleNumber(*box_.Paragraph(caret.para).style.Definition())
                                   : 0;
    // One paragraph a line, in the caret paragraph's style.
    std::string markup;
    std::int32_t paragraphs = 0;
    auto head = [&] {
        markup += "<Z S" + std::to_string(style) + " >";
        ++paragraphs;
    };
    head();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            head();
        } else if (c == '<') {
            markup += "&lt;";
        } else if (c == '>') {
            markup += "&gt;";
        } else if (c == '&') {
            markup += "&amp;";
        } else if (c == '\t') {
            markup.push_back(' ');
        } else if (static_cast<unsigned char>(c) >= 0x20) {
            markup.push_back(c);
        }
    }
    MemoryStream stream;
    if (!WriteI32(stream, kStreamContentText) || !WriteI32(stream, 0) || !WriteI32(stream, 0) ||
        !WriteI32(stream, 0) || !WriteI32(stream, paragraphs) ||
        !stream.Write(markup.data(), markup.size()) || !stream.Write("\0", 1))
        return false;
    return InsertFromStream(stream.Bytes(), label.empty() ? kLabelPaste : label, false, false);
}

bool TKYTTextAttributes::PasteRtf(std::string_view rtf) {
    const EditPos caret = CaretPos();
    const TKYToggetto* style = box_.Paragraph(caret.para).style.Definition();
    // The importer registers the objects of the fragment with the hypertext and names them by
    // their stored codes: they go into this page's text as its own objects.
    const RegisteredObjects before(context_.set);
    std::optional<Result<std::string>> converted;
    if (context_.converters)
        converted = context_.converters->RtfToStream(rtf, context_.wrapper,
                                                     style ? StyleNumber(*style) : 0);
    if (!converted) {
        context_.messages.Inform(kRtfPasteUnsupported);
        return false;
    }
    if (!*converted) {
        context_.messages.Error(converted->failure().text);
        return false;
    }
    Result<std::string> carried = CarryStoredObjects(**converted, context_.set, before);
    if (!carried) {
        context_.messages.Error(kStreamRefused);
        return false;
    }
    return InsertFromStream(*carried, kLabelPaste, false, false);
}

}  // namespace orvo
