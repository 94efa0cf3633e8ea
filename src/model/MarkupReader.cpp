// Reading markup into paragraphs. The reader works on the stream's bytes in place and never
// reads past the end of the data or its first 0x00 byte, whatever the input holds.
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "base/ByteStream.h"
#include "base/Format.h"
#include "model/Entities.h"
#include "model/Markup.h"
#include "model/ObjectRecord.h"

namespace orvo {

namespace {

// A value the reader keeps for a field that is absent; it cannot be carried.
constexpr std::int64_t kAbsent = -10000000;
// The blank after a numeric or colour field stands within this many bytes after its key.
constexpr std::size_t kFieldWindow = 12;
// Tables inside table cells are read to this depth; deeper content is left to the
// paragraphs around it, so hostile nesting cannot exhaust the stack.
constexpr int kMaxTableDepth = 32;
// A font name in a paragraph head is cut to this many characters: stored files rely on it.
constexpr std::size_t kHeadFontNameLength = 20;

constexpr std::int32_t kStyleKind = 0x11;
constexpr std::int32_t kPageLinkKind = 0x00;
constexpr std::int32_t kFileLinkKind = 0x03;

// Bytes that end a run of plain text: control bytes (0x00 included), "<" and "&".
constexpr std::array<bool, 256> kSpecial = [] {
    std::array<bool, 256> special{};
    for (int c = 0; c < 0x20; ++c) special[std::size_t(c)] = true;
    special['<'] = true;
    special['&'] = true;
    return special;
}();

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

// What one read of a whole text shares with the reads of the table cells inside it.
struct ReadShared {
    IMarkupHost& host;
    const MarkupRemap* remap;
    int depth = 0;
    std::vector<const ITableCells*> openTables;
};

class ParagraphReader {
public:
    ParagraphReader(std::string_view data, ReadShared& shared, int mode, MarkupScope scope)
        : data_(data),
          shared_(shared),
          host_(shared.host),
          measurer_(host_.Measurer()),
          mode_(mode),
          scope_(scope) {}

    // Reads one paragraph from pos; returns whether the text or the cell ended.
    bool Read(TKYTparag& para, std::size_t& pos);

private:
    unsigned char At(std::size_t i) const {
        return i < data_.size() ? static_cast<unsigned char>(data_[i]) : 0;
    }
    // Moves past `count` bytes, but never past the terminator.
    std::size_t Skip(std::size_t p, std::size_t count) const {
        for (std::size_t k = 0; k < count && At(p) != 0; ++k) ++p;
        return p;
    }
    // After the next ">" at or after p; at the terminator when there is none.
    std::size_t AfterGt(std::size_t p) const {
        while (true) {
            const unsigned char c = At(p);
            if (c == 0) return p;
            ++p;
            if (c == '>') return p;
        }
    }
    // After the closing code "<x>" of an ignored block; at the terminator when there is none.
    std::size_t AfterClosing(std::size_t p, char letter) const {
        while (true) {
            const unsigned char c = At(p);
            if (c == 0) return p;
            if (c == '<' && At(p + 1) == static_cast<unsigned char>(letter) && At(p + 2) == '>')
                return p + 3;
            ++p;
        }
    }
    bool KeyAt(std::size_t p, std::string_view key) const {
        for (std::size_t k = 0; k < key.size(); ++k)
            if (At(p + k) != static_cast<unsigned char>(key[k])) return false;
        return true;
    }

    // Field readers: p stands on the key. They return kAbsent for an absent field and move p
    // past what they consumed.
    std::int64_t ReadNumber(std::size_t& p, std::string_view key);
    std::int64_t ReadColour(std::size_t& p, std::string_view key);
    bool ReadFont(std::size_t& p, std::string& name);
    // The position of the blank that ends a field whose value starts at `from`, or npos.
    std::size_t FieldBlank(std::size_t from) const;

    bool ReadHead(TKYTparag& para, std::size_t& p);
    void ReadCharacterCode(std::size_t& p);
    void ReadReference(std::size_t& p);
    void ReadTableCells(ITableCells& cells, std::size_t& p);

    void SetDisplay(const TMyFont& font);
    void ShowLink();
    void AppendCharacter(unsigned char c) {
        TKYTcharMetric& m = para_->metrics.back();
        m.width = measurer_.PairWidth(display_, previous_, c);
        m.height = displayHeight_;
        m.ascent = displayAscent_;
        previous_ = c;
        para_->text.push_back(static_cast<char>(c));
        para_->metrics.push_back(TKYTcharMetric{0, 0, 0, -1, -1, currentLink_});
        if (displayHeight_ > lineHeight_) lineHeight_ = displayHeight_;
        if (displayAscent_ > lineAscent_) lineAscent_ = displayAscent_;
    }
    // Appends a run of plain characters (no code, reference or control byte among them).
    void AppendRun(const char* bytes, std::size_t count) {
        auto& metrics = para_->metrics;
        std::int32_t widths[256];
        while (count > 0) {
            const std::size_t n = std::min<std::size_t>(count, 256);
            measurer_.RunWidths(display_, previous_, std::string_view(bytes, n), widths);
            for (std::size_t k = 0; k < n; ++k) {
                TKYTcharMetric& m = metrics.back();
                m.width = widths[k];
                m.height = displayHeight_;
                m.ascent = displayAscent_;
                metrics.push_back(TKYTcharMetric{0, 0, 0, -1, -1, currentLink_});
            }
            previous_ = static_cast<unsigned char>(bytes[n - 1]);
            para_->text.append(bytes, n);
            bytes += n;
            count -= n;
        }
        if (displayHeight_ > lineHeight_) lineHeight_ = displayHeight_;
        if (displayAscent_ > lineAscent_) lineAscent_ = displayAscent_;
    }
    // Makes room for the characters up to the next paragraph head, at most.
    void Reserve(std::size_t from);
    void AppendObject(TKYToggetto* object);
    void NewPending();
    void Finish();

    std::string_view data_;
    ReadShared& shared_;
    IMarkupHost& host_;
    ITextMeasurer& measurer_;
    int mode_;
    MarkupScope scope_;

    TKYTparag* para_ = nullptr;
    TMyFont base_;     // the style definition's own character format
    TMyFont working_;  // the format in force
    TMyFont display_;  // what characters are measured with
    std::int32_t displayHeight_ = 0;
    std::int32_t displayAscent_ = 0;
    int previous_ = -1;  // the previous character of the display format, for pair widths
    std::int32_t currentLink_ = -1;
    std::int32_t lineHeight_ = 0;
    std::int32_t lineAscent_ = 0;
};

std::size_t ParagraphReader::FieldBlank(std::size_t from) const {
    for (std::size_t k = 0; k < kFieldWindow; ++k) {
        const unsigned char c = At(from + k);
        if (c == 0) return std::string_view::npos;
        if (c == ' ') return from + k;
    }
    return std::string_view::npos;
}

std::int64_t ParagraphReader::ReadNumber(std::size_t& p, std::string_view key) {
    if (!KeyAt(p, key)) return kAbsent;
    p += key.size();
    const std::size_t blank = FieldBlank(p);
    if (blank == std::string_view::npos) {
        host_.Messages().Show(Box::Error, kTruncatedLine);
        return kAbsent;
    }
    long long value = kAbsent;
    const int used =
        ParseClampedInt(data_.substr(p, blank - p), std::numeric_limits<std::int32_t>::min(),
                        std::numeric_limits<std::int32_t>::max(), value);
    p = blank + 1;
    return used > 0 ? value : kAbsent;
}

std::int64_t ParagraphReader::ReadColour(std::size_t& p, std::string_view key) {
    if (!KeyAt(p, key)) return kAbsent;
    p += key.size();
    const std::size_t blank = FieldBlank(p);
    if (blank == std::string_view::npos) {
        host_.Messages().Show(Box::Error, kTruncatedLine);
        return kAbsent;
    }
    // RRGGBB; bytes that are no hexadecimal digit, and digits missing before the blank, are 0.
    std::uint32_t rgb = 0;
    for (std::size_t k = 0; k < 6; ++k) {
        const std::size_t i = p + k;
        rgb = (rgb << 4) | std::uint32_t(i < blank ? HexValue(At(i)) : 0);
    }
    p = blank + 1;
    const std::uint32_t red = rgb >> 16, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    return std::int64_t(red | (green << 8) | (blue << 16));
}

bool ParagraphReader::ReadFont(std::size_t& p, std::string& name) {
    if (!KeyAt(p, "F\"")) return false;
    p += 2;
    std::size_t q = p;
    while (At(q) != 0 && At(q) != '"') ++q;
    if (At(q) != '"') {
        host_.Messages().Show(Box::Information, kTruncatedLine);
        return false;
    }
    // "<" and ">" are dropped, as the writer drops them: scanners of stored texts would take
    // them for the bounds of a code.
    name.clear();
    for (char c : data_.substr(p, q - p))
        if (c != '<' && c != '>') name += c;
    p = Skip(q + 1, 1);  // the quote and the blank after it
    return true;
}

void ParagraphReader::SetDisplay(const TMyFont& font) {
    display_ = font;
    const TextMetrics metrics = measurer_.Metrics(font);
    displayHeight_ = metrics.height;
    displayAscent_ = metrics.ascent;
    if (font.position == kPositionSubscript) displayHeight_ += metrics.height / 2;
    if (font.position == kPositionSuperscript) displayAscent_ += metrics.height / 2;
    previous_ = -1;
}

void ParagraphReader::ShowLink() {
    if (currentLink_ == -1)
        SetDisplay(working_);
    else
        SetDisplay(LinkAppearance(working_, para_->style));
}

void ParagraphReader::NewPending() {
    para_->metrics.push_back(TKYTcharMetric{0, 0, 0, -1, -1, currentLink_});
}

void ParagraphReader::Reserve(std::size_t from) {
    std::size_t end = from;
    const char* bytes = data_.data();
    const std::size_t size = data_.size();
    while (end < size) {
        const void* found = std::memchr(bytes + end, '<', size - end);
        const std::size_t at = found ? std::size_t(static_cast<const char*>(found) - bytes) : size;
        const void* zero = std::memchr(bytes + end, '\0', at - end);
        if (zero) {
            end = std::size_t(static_cast<const char*>(zero) - bytes);
            break;
        }
        end = at;
        if (at >= size || At(at + 1) == 'Z') break;
        ++end;
    }
    para_->text.reserve(end - from);
    para_->metrics.reserve(end - from + 1);
}

void ParagraphReader::AppendObject(TKYToggetto* object) {
    if (!object) {
        AppendCharacter(' ');
        return;
    }
    para_->objects.push_back(object);
    const ObjectSize size = host_.SizeOf(*object);
    TKYTcharMetric& m = para_->metrics.back();
    m.objectIndex = std::int32_t(para_->objects.size() - 1);
    m.width = size.width;
    m.height = size.height;
    m.ascent = size.height;
    previous_ = -1;
    lineHeight_ = std::max(lineHeight_, m.height);
    lineAscent_ = std::max(lineAscent_, m.ascent);
    para_->text.push_back(' ');
    NewPending();
}

bool ParagraphReader::ReadHead(TKYTparag& para, std::size_t& p) {
    p = Skip(p, 3);  // "<Z "
    std::int64_t number = ReadNumber(p, "S");
    if (number != kAbsent && number >= 0 && number <= 0xFFFFFF && shared_.remap &&
        shared_.remap->codes) {
        if (auto code = shared_.remap->codes->Find(std::int32_t((kStyleKind << 24) | number)))
            number = *code & 0xFFFFFF;
    }
    const bool usable = number != kAbsent && number >= 0;
    const TKYToggetto* style = usable ? host_.StyleByNumber(std::int32_t(number)) : nullptr;
    if (!style) style = host_.StyleByNumber(0);
    para.style.SetDefinition(style);
    if (usable) {
        for (StyleField field : kHeadOrder) {
            const StyleKey& key = KeyOf(field);
            if (key.value == StyleValue::FontName) {
                std::string name;
                if (ReadFont(p, name) && !name.empty())
                    para.style.SetFontName(name.substr(0, kHeadFontNameLength));
                continue;
            }
            std::int64_t value =
                key.value == StyleValue::Colour ? ReadColour(p, key.key) : ReadNumber(p, key.key);
            if (value == kAbsent) continue;
            // A byte field keeps what the writer writes of it (y: the four style bits), so
            // that a text read and written again reads the same.
            if (key.value == StyleValue::Byte) value &= key.mask;
            para.style.Set(field, std::int32_t(value));
        }
    }
    p = AfterGt(p);
    return usable;
}

void ParagraphReader::ReadCharacterCode(std::size_t& p) {
    p = Skip(p, 3);  // "<Y "
    TKYTcharMetric& pending = para_->metrics.back();
    const bool repeat = pending.fontIndex >= 0;
    TMyFont w = working_;

    std::int64_t v = ReadColour(p, "c");
    if (v != kAbsent)
        w.colour = std::int32_t(v);
    else if (!repeat)
        w.colour = base_.colour;

    std::string name;
    if (ReadFont(p, name) && !name.empty())
        w.name = std::move(name);
    else if (!repeat)
        w.name = base_.name;

    v = ReadNumber(p, "s");
    if (v != kAbsent)
        w.size = std::int32_t(v);
    else if (!repeat)
        w.size = base_.size;

    bool legacyBits = false;
    v = ReadNumber(p, "i");
    if (v != kAbsent) {
        legacyBits = true;
        w.styleBits =
            std::uint8_t(v == 1 ? (w.styleBits | kFontItalic) : (w.styleBits & ~kFontItalic));
    }
    v = ReadNumber(p, "g");
    if (v != kAbsent) {
        legacyBits = true;
        w.styleBits = std::uint8_t(v == 1 ? (w.styleBits | kFontBold) : (w.styleBits & ~kFontBold));
    }
    v = ReadNumber(p, "y");
    if (v != kAbsent)
        w.styleBits = std::uint8_t((w.styleBits & ~15) | (v & 15));
    else if (!repeat && !legacyBits)
        w.styleBits = base_.styleBits;

    v = ReadNumber(p, "p");
    if (v != kAbsent)
        w.position = std::uint8_t(v & KeyOf(StyleField::Position).mask);
    else if (!repeat)
        w.position = base_.position;

    if (repeat) {
        para_->fonts[std::size_t(pending.fontIndex)].Assign(w);
    } else {
        TKYTFontStyle format;
        format.SetDefinition(para_->style.Definition());
        format.Assign(w);
        para_->fonts.push_back(std::move(format));
        pending.fontIndex = std::int32_t(para_->fonts.size() - 1);
    }
    working_ = std::move(w);

    if (currentLink_ == -1) {
        SetDisplay(working_);
    } else if (LinkKeepsSize(para_->style.LinkSize())) {
        TMyFont shown = display_;
        shown.name = working_.name;
        shown.size = working_.size;
        shown.styleBits = std::uint8_t(working_.styleBits ^ para_->style.LinkStyle());
        SetDisplay(shown);
    }
    p = AfterGt(p);
}

void ParagraphReader::ReadTableCells(ITableCells& cells, std::size_t& p) {
    const int rows = cells.Rows();
    const int columns = cells.Columns();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (At(p) == 0) return;  // the text ended: the other cells stay as they are
            Paragraphs cell;
            while (true) {
                auto para = std::make_unique<TKYTparag>();
                const std::size_t before = p;
                ParagraphReader reader(data_, shared_, 0, MarkupScope::Cell);
                const bool ended = reader.Read(*para, p);
                if (p == before && !ended) break;
                cell.push_back(std::move(para));
                if (ended || p <= before) break;
            }
            cells.SetCellParagraphs(r, c, std::move(cell));
        }
    }
}

void ParagraphReader::ReadReference(std::size_t& p) {
    p += 2;  // "<$"
    const std::uint32_t value = ReferenceValue(data_, p);
    p = AfterGt(p);

    const std::int32_t kind = std::int32_t(value >> 24);
    TKYTcharMetric& pending = para_->metrics.back();
    if (kind == kPageObjectKind) {
        std::int32_t id = std::int32_t(value & 0xFFFFFF);
        if (shared_.remap && shared_.remap->objectIds) {
            if (auto mapped = shared_.remap->objectIds->Find(id)) id = *mapped;
        }
        TKYToggetto* object = host_.PageObject(id);
        if (object && mode_ == 0) {
            if (ITableCells* cells = host_.TableCells(*object)) {
                if (At(p) == '<' && At(p + 1) == '@' && At(p + 2) == '>') {
                    p += 3;
                } else {
                    const bool open =
                        std::find(shared_.openTables.begin(), shared_.openTables.end(), cells) !=
                        shared_.openTables.end();
                    if (!open && shared_.depth < kMaxTableDepth) {
                        shared_.openTables.push_back(cells);
                        ++shared_.depth;
                        ReadTableCells(*cells, p);
                        --shared_.depth;
                        shared_.openTables.pop_back();
                    }
                }
            }
        }
        pending.linkId = currentLink_;
        AppendObject(object);
        return;
    }
    if (kind == kLocalLinkKind || kind == kPageLinkKind || kind == kFileLinkKind) {
        std::int32_t link = std::int32_t(value);
        if (kind == kLocalLinkKind && shared_.remap && shared_.remap->codes)
            link = shared_.remap->codes->Find(link).value_or(-1);
        currentLink_ = link;
        ShowLink();
    }
    para_->metrics.back().linkId = currentLink_;
}

void ParagraphReader::Finish() {
    if (para_->text.empty()) SetDisplay(para_->style.charFormat.AsMyFont());
    TKYTcharMetric& end = para_->metrics.back();
    end.height = displayHeight_;
    end.ascent = displayAscent_;
    TKYTline& line = para_->lines.front();
    line.count = std::int32_t(para_->text.size());
    line.ascent = lineAscent_;
    line.height = lineHeight_;
    if (line.height <= 0) line.height = para_->defaultLineHeight;
    if (line.height <= 0) line.height = 20;
}

bool ParagraphReader::Read(TKYTparag& para, std::size_t& pos) {
    para_ = &para;
    // A paragraph is read into once; what a used one held is dropped.
    para.text.clear();
    para.metrics.clear();
    para.fonts.clear();
    para.objects.clear();
    para.lines.clear();
    para.style = TKYTParaStyle{};
    std::size_t p = pos;
    bool strayCellEnd = false;
    while (true) {
        while (At(p) != 0 && At(p) != '<') ++p;
        // A cell end outside a cell (its table is missing) is no paragraph head.
        if (scope_ == MarkupScope::Text && At(p) == '<' && At(p + 1) == 'T') {
            p = AfterGt(p + 2);
            strayCellEnd = true;
            continue;
        }
        break;
    }
    if (At(p) == 0) {
        if (!strayCellEnd) return false;  // no paragraph: nothing read
        // Only stray cell ends were left: they are consumed and the text has ended.
        para.style.SetDefinition(host_.StyleByNumber(0));
        para.style.charFormat.Assign(para.style);
        para.MeasureDefaultLineHeight(measurer_);
        para.lines.assign(1, TKYTline{&para});
        NewPending();
        SetDisplay(para.style.charFormat.AsMyFont());
        Finish();
        pos = p;
        return true;
    }

    const bool cellEndFirst = scope_ == MarkupScope::Cell && At(p + 1) == 'T';
    bool usable = false;
    if (cellEndFirst) {
        para.style.SetDefinition(host_.StyleByNumber(0));
    } else {
        usable = ReadHead(para, p);
    }
    para.style.charFormat.Assign(para.style);
    para.MeasureDefaultLineHeight(measurer_);
    base_ = TMyFont{};
    if (const TKYToggetto* style = para.style.Definition()) {
        base_.name = DefinitionFontName(*style);
        base_.colour = DefinitionValue(*style, StyleField::Colour);
        base_.size = DefinitionValue(*style, StyleField::FontSize);
        base_.styleBits = std::uint8_t(DefinitionValue(*style, StyleField::StyleBits));
        base_.position = std::uint8_t(DefinitionValue(*style, StyleField::Position));
    }
    working_ = para.style.charFormat.AsMyFont();
    currentLink_ = -1;
    para.lines.assign(1, TKYTline{});
    para.lines.front().paragraph = &para;
    Reserve(p);
    NewPending();
    SetDisplay(working_);

    if (cellEndFirst) {
        Finish();
        pos = AfterGt(p + 1);
        return true;
    }
    if (!usable) {
        // A head without a usable style number: an empty paragraph of style 0 that still has
        // its line, so that layout and the caret can rely on one.
        Finish();
        pos = p;
        return At(p) == 0;
    }

    while (true) {
        const unsigned char c = At(p);
        if (c == 0) {
            Finish();
            pos = std::min(p, data_.size());
            return true;
        }
        if (c == '<') {
            const unsigned char next = At(p + 1);
            switch (next) {
                case '$':
                    ReadReference(p);
                    break;
                case '%':
                    currentLink_ = -1;
                    para.metrics.back().linkId = -1;
                    SetDisplay(working_);
                    p = AfterGt(p + 2);
                    break;
                case 'Y':
                    ReadCharacterCode(p);
                    break;
                case 'Z':
                    Finish();
                    pos = p;
                    return false;
                case 'T':
                    if (scope_ == MarkupScope::Cell) {
                        Finish();
                        pos = AfterGt(p + 2);
                        return true;
                    }
                    p = AfterGt(p + 2);  // a cell end outside a cell: its table is missing
                    break;
                case 'D':
                case 'F':
                case 'R':
                    p = AfterGt(p + 2);
                    p = AfterClosing(p, char(next + ('a' - 'A')));
                    break;
                default:
                    p = AfterGt(p + 1);
                    break;
            }
            continue;
        }
        if (c == '&') {
            const unsigned char decoded = DecodeEntity(data_, p);
            if (decoded >= 0x20) AppendCharacter(decoded);
            continue;
        }
        if (c < 0x20) {
            ++p;
            continue;
        }
        // A run of plain text, up to the next code, reference or control byte.
        const char* bytes = data_.data();
        const std::size_t size = data_.size();
        std::size_t end = p + 1;
        while (end < size && !kSpecial[static_cast<unsigned char>(bytes[end])]) ++end;
        AppendRun(bytes + p, end - p);
        p = end;
    }
}

}  // namespace

std::optional<std::int32_t> RemapList::Find(std::int32_t value) const {
    const std::size_t n = std::min(from.size(), to.size());
    for (std::size_t i = 0; i < n; ++i)
        if (from[i] == value) return to[i];
    return std::nullopt;
}

bool TKYTparag::ReadMarkup(ByteStream& stream, int mode, IMarkupHost& host,
                           const MarkupRemap* remap, MarkupScope scope) {
    auto* memory = dynamic_cast<MemoryStream*>(&stream);
    if (!memory) return false;
    const std::string& bytes = memory->Bytes();
    const std::int64_t start = memory->Position();
    if (start < 0 || std::uint64_t(start) >= bytes.size()) return false;
    std::size_t pos = std::size_t(start);
    ReadShared shared{host, remap, 0, {}};
    ParagraphReader reader(bytes, shared, mode, scope);
    const bool ended = reader.Read(*this, pos);
    (void)memory->Seek(std::int64_t(pos));
    return ended;
}

namespace {

Paragraphs ReadParagraphs(MemoryStream& stream, IMarkupHost& host, int mode,
                          const MarkupRemap* remap, MarkupScope scope) {
    Paragraphs paragraphs;
    while (stream.Position() < stream.Size()) {
        auto para = std::make_unique<TKYTparag>();
        const std::int64_t before = stream.Position();
        const bool ended = para->ReadMarkup(stream, mode, host, remap, scope);
        if (stream.Position() == before) break;  // nothing consumed: no paragraph left
        paragraphs.push_back(std::move(para));
        if (ended) break;
    }
    return paragraphs;
}

}  // namespace

std::uint32_t ReferenceValue(std::string_view text, std::size_t& p) {
    std::uint32_t value = 0;
    int digits = 0;
    for (; digits < 8 && p < text.size(); ++digits) {
        const unsigned char c = static_cast<unsigned char>(text[p]);
        if (c == 0 || c == '>') break;
        value = (value << 4) | std::uint32_t(HexValue(c));
        ++p;
    }
    for (int k = digits; k < 8; ++k) value <<= 4;  // missing digits count as 0
    return value;
}

Paragraphs ReadText(MemoryStream& stream, IMarkupHost& host, int mode, const MarkupRemap* remap) {
    return ReadParagraphs(stream, host, mode, remap, MarkupScope::Text);
}

Paragraphs ReadText(std::string_view markup, IMarkupHost& host, int mode,
                    const MarkupRemap* remap) {
    MemoryStream stream{std::string(markup)};
    return ReadText(stream, host, mode, remap);
}

Paragraphs ReadCellText(MemoryStream& stream, IMarkupHost& host, int mode,
                        const MarkupRemap* remap) {
    return ReadParagraphs(stream, host, mode, remap, MarkupScope::Cell);
}

}  // namespace orvo
