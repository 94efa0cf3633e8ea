// Writing paragraphs as markup, byte for byte. A paragraph's markup is built in memory and
// written in one piece (plus one piece before the cells of each inline table).
#include <algorithm>
#include <charconv>
#include <vector>

#include "base/ByteStream.h"
#include "base/Format.h"
#include "model/Markup.h"

namespace orvo {

namespace {

void AppendNumber(std::string& out, std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void AppendHex(std::string& out, std::uint32_t value, int width) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = (width - 1) * 4; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 15];
}

// One field: key, value, blank.
void AppendField(std::string& out, const StyleKey& key, std::int32_t value,
                 const std::string& fontName) {
    out += key.key;
    switch (key.value) {
        case StyleValue::Colour:
            out += HexColour(std::uint32_t(value));
            break;
        case StyleValue::FontName:
            // The quote would end the name early, a zero byte the text, and "<" or ">" would
            // be taken for the bounds of a code by whoever scans the stored text.
            for (char c : fontName)
                if (c != '"' && c != '<' && c != '>' && c != '\0') out += c;
            out += '"';
            break;
        case StyleValue::Byte:
            AppendNumber(out, value & key.mask);
            break;
        case StyleValue::Number:
            AppendNumber(out, value);
            break;
    }
    out += ' ';
}

// "<Y c.. F".." s.. y.. p.. >": all five fields of a format.
void AppendCompleteCode(std::string& out, const TMyFont& font) {
    out += "<Y ";
    AppendField(out, KeyOf(StyleField::Colour), font.colour, {});
    AppendField(out, KeyOf(StyleField::FontName), 0, font.name);
    AppendField(out, KeyOf(StyleField::FontSize), font.size, {});
    AppendField(out, KeyOf(StyleField::StyleBits), font.styleBits, {});
    AppendField(out, KeyOf(StyleField::Position), font.position, {});
    out += '>';
}

// "<Y " and the fields a run format overrides.
void AppendRunCode(std::string& out, const TKYTFontStyle& format) {
    out += "<Y ";
    for (StyleField field : kCharOrder) {
        if (!format.Overrides(field)) continue;
        AppendField(out, KeyOf(field), format.OverrideValue(field), format.OverrideFontName());
    }
    out += '>';
}

// Tables whose cells are being written: a table inside its own cell, or nested deeper than
// the reader reads, is written as its code alone, so hostile texts cannot recurse for ever.
struct WriteShared {
    std::vector<const ITableCells*> openTables;
};
constexpr std::size_t kMaxTableDepth = 32;

class ParagraphWriter {
public:
    ParagraphWriter(const TKYTparag& para, ByteStream& stream, IMarkupHost& host,
                    WriteShared& shared)
        : para_(para), stream_(stream), host_(host), shared_(shared) {}

    bool Write(WriteMode mode, int start, int end);

private:
    bool Flush() {
        const bool ok = stream_.Write(out_);
        out_.clear();
        lastCodeEnd_ = std::string::npos;
        return ok && ok_;
    }
    void AppendCode(void (*append)(std::string&, const TKYTFontStyle&), const TKYTFontStyle* run,
                    const TMyFont* font) {
        // Collapse rule: a code followed by nothing yet gives way to the next one.
        if (lastCodeEnd_ == out_.size()) out_.resize(lastCodeStart_);
        lastCodeStart_ = out_.size();
        if (run)
            append(out_, *run);
        else
            AppendCompleteCode(out_, *font);
        lastCodeEnd_ = out_.size();
    }
    // Text with "&", "<" and ">" as references.
    void AppendEscaped(const char* text, std::size_t count) {
        std::size_t from = 0;
        for (std::size_t k = 0; k < count; ++k) {
            const char c = text[k];
            if (c != '&' && c != '<' && c != '>') continue;
            out_.append(text + from, k - from);
            out_ += c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;";
            from = k + 1;
        }
        out_.append(text + from, count - from);
    }
    void WriteHead(WriteMode mode);
    void WriteCells(const ITableCells& cells);

    const TKYTparag& para_;
    ByteStream& stream_;
    IMarkupHost& host_;
    WriteShared& shared_;
    std::string out_;
    std::size_t lastCodeStart_ = 0;
    std::size_t lastCodeEnd_ = std::string::npos;
    bool ok_ = true;
};

void ParagraphWriter::WriteHead(WriteMode mode) {
    const TKYTParaStyle& style = para_.style;
    if (mode == wmContinuation && !para_.IsTableParagraph(host_)) {
        AppendCompleteCode(out_, style.AsMyFont());
        return;
    }
    out_ += "<Z S";
    AppendNumber(out_, style.Definition() ? StyleNumber(*style.Definition()) : 0);
    out_ += ' ';
    for (StyleField field : kHeadOrder) {
        if (!style.Overrides(field)) continue;
        AppendField(out_, KeyOf(field), style.OverrideValue(field), style.OverrideFontName());
    }
    out_ += '>';
}

void ParagraphWriter::WriteCells(const ITableCells& cells) {
    auto& open = shared_.openTables;
    if (open.size() >= kMaxTableDepth || std::find(open.begin(), open.end(), &cells) != open.end())
        return;
    ok_ = Flush() && ok_;
    open.push_back(&cells);
    for (int r = 0; r < cells.Rows(); ++r) {
        for (int c = 0; c < cells.Columns(); ++c) {
            const Paragraphs& cell = cells.CellParagraphs(r, c);
            // A cell holds at least one paragraph; one without any is written empty.
            if (cell.empty()) ok_ = stream_.Write(std::string_view("<Z S1 >")) && ok_;
            for (const auto& para : cell) {
                if (!para) continue;
                ParagraphWriter writer(*para, stream_, host_, shared_);
                ok_ = writer.Write(wmSave, 0, -1) && ok_;
            }
            ok_ = stream_.Write(std::string_view("<T>")) && ok_;
        }
    }
    open.pop_back();
}

bool ParagraphWriter::Write(WriteMode mode, int start, int end) {
    const int length = int(para_.text.size());
    if (end < 0 || end > length) end = length;
    if (start < 0) start = 0;
    const int rangeStart = start;
    const int rangeEnd = end;
    if (mode == wmRange) {
        start = 0;
        end = length;
    }
    out_.reserve(std::size_t(end) + 64);
    WriteHead(mode);

    std::int32_t lastLink = -1;
    const TKYTFontStyle* current = nullptr;  // none: the paragraph's character format
    const TKYTcharMetric* metrics = para_.metrics.data();
    const int metricsCount = int(para_.metrics.size());
    for (int i = 0; i < end; ++i) {
        if (i > start && i < metricsCount) {
            // Characters that change nothing: written as a run.
            int j = i;
            while (j < end && j < metricsCount && metrics[j].fontIndex < 0 &&
                   metrics[j].objectIndex < 0 && metrics[j].linkId == lastLink)
                ++j;
            if (j > i) {
                AppendEscaped(para_.text.data() + i, std::size_t(j - i));
                i = j - 1;
                continue;
            }
        }
        const TKYTcharMetric m = std::size_t(i) < para_.metrics.size()
                                     ? para_.metrics[std::size_t(i)]
                                     : TKYTcharMetric{};
        if (m.fontIndex >= 0 && std::size_t(m.fontIndex) < para_.fonts.size()) {
            current = &para_.fonts[std::size_t(m.fontIndex)];
            if (i >= start) AppendCode(AppendRunCode, current, nullptr);
        } else if (i > 0 && i == start) {
            const TMyFont font = current ? current->AsMyFont() : para_.style.charFormat.AsMyFont();
            AppendCode(nullptr, nullptr, &font);
        }
        if (i < start) continue;
        if (m.linkId != lastLink) {
            lastLink = m.linkId;
            if (lastLink == -1) {
                out_ += "<%>";
            } else {
                out_ += "<$";
                AppendHex(out_, std::uint32_t(lastLink), 8);
                out_ += '>';
            }
        }
        if (m.objectIndex >= 0 && std::size_t(m.objectIndex) < para_.objects.size() &&
            para_.objects[std::size_t(m.objectIndex)]) {
            const TKYToggetto& object = *para_.objects[std::size_t(m.objectIndex)];
            out_ += "<$FF";
            AppendHex(out_, std::uint32_t(host_.PageObjectIdentifier(object)) & 0xFFFFFF, 6);
            out_ += '>';
            if (const ITableCells* cells = host_.TableCells(object)) {
                if (mode == wmSave || (mode == wmRange && i >= rangeStart && i < rangeEnd))
                    WriteCells(*cells);
                else if (mode == wmRange)
                    out_ += "<@>";
            }
            continue;
        }
        AppendEscaped(para_.text.data() + i, 1);
    }
    if (lastLink != -1) out_ += "<%>";
    return Flush();
}

}  // namespace

bool TKYTparag::WriteMarkup(ByteStream& stream, WriteMode mode, int start, int end,
                            IMarkupHost& host) const {
    WriteShared shared;
    ParagraphWriter writer(*this, stream, host, shared);
    return writer.Write(mode, start, end);
}

bool WriteText(ByteStream& stream, const Paragraphs& paragraphs, IMarkupHost& host) {
    bool ok = true;
    for (const auto& para : paragraphs)
        if (para && para->kind == kBodyParagraph)
            ok = para->WriteMarkup(stream, wmSave, 0, -1, host) && ok;
    const char zero = 0;
    return stream.Write(&zero, 1) && ok;
}

std::string WriteText(const Paragraphs& paragraphs, IMarkupHost& host) {
    MemoryStream stream;
    (void)WriteText(stream, paragraphs, host);
    return stream.TakeBytes();
}

}  // namespace orvo
