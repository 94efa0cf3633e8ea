// The legacy tag text conversion.
#include "model/LegacyText.h"

#include <vector>

#include "base/Format.h"
#include "model/ObjectRecord.h"
#include "model/uKYTset.h"

namespace orvo {

namespace {

constexpr int kLegacySizes[7] = {8, 10, 12, 14, 19, 27, 34};

int HexDigit(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

std::uint32_t ReadHex(std::string_view digits) {
    std::uint32_t value = 0;
    for (unsigned char c : digits) value = (value << 4) | std::uint32_t(HexDigit(c));
    return value;
}

struct LegacyFont {
    std::string name = "Times New Roman";
    int size = 12;
    int bits = 0;
    std::int32_t colour = 0;
};

struct OpenTable {
    int cellsLeft;
    int alignment;  // the alignment in force where the table stands
};

class LegacyConverter {
public:
    LegacyConverter(std::string_view old, const LegacyPage& page, ILegacyObjects& objects)
        : old_(old.substr(0, old.find('\0'))), page_(page), objects_(objects) {
        defaults_.colour = page.textColour;
        font_ = defaults_;
    }

    std::string Convert();

private:
    void Head() {
        out_ += tables_.empty() ? "<Z S0 " : "<Z S1 ";
        // Appended piece by piece: "literal" + temporary trips a false -Wrestrict in GCC 12.
        out_ += 'A';
        out_ += std::to_string(alignment_);
        out_ += ' ';
        if (indent_ > 0) {
            out_ += 'l';
            out_ += std::to_string(indent_);
            out_ += ' ';
        }
        out_ += 'C';
        out_ += HexColour(std::uint32_t(page_.linkColour));
        out_ += " >";
        FontCode();
    }
    void FontCode() {
        out_ += "<Y c" + HexColour(std::uint32_t(font_.colour)) + " F\"" + font_.name + "\" s" +
                std::to_string(font_.size) + " y" + std::to_string(font_.bits & 3) + " p0 >";
        fontChanged_ = false;
    }
    void PendingFont() {
        if (fontChanged_) FontCode();
    }
    void SetFont(const LegacyFont& font) {
        font_ = font;
        fontChanged_ = true;
    }
    void CellEnd(bool ownAlignment);
    void Reference(std::string_view code);
    void Tag(std::string_view tag);

    std::string_view old_;
    const LegacyPage& page_;
    ILegacyObjects& objects_;
    std::string out_;
    LegacyFont defaults_;
    LegacyFont font_;
    bool fontChanged_ = true;
    int alignment_ = 0;
    int indent_ = 0;
    std::vector<OpenTable> tables_;
};

void LegacyConverter::CellEnd(bool ownAlignment) {
    out_ += "<T>";
    int alignment = alignment_;
    if (!tables_.empty()) {
        alignment = tables_.back().alignment;
        if (--tables_.back().cellsLeft <= 0) tables_.pop_back();
    }
    (void)ownAlignment;  // a table keeps no alignment of its own: both return to where it stood
    font_ = defaults_;
    indent_ = 0;
    alignment_ = alignment;
    Head();
}

void LegacyConverter::Reference(std::string_view code) {
    const std::uint32_t value = ReadHex(code.substr(2, 8));
    const int kind = int(value >> 24);
    std::int32_t written = std::int32_t(value);
    if (kind == KindIndex(TOggettiHel::zipLink)) {
        written = objects_.ReplacementOf(std::int32_t(value));
        if (written == -1) written = 0;
    } else if (kind == KindIndex(TOggettiHel::immagine) ||
               kind == KindIndex(TOggettiHel::mappaClic)) {
        const std::int32_t image = objects_.NewImageFor(std::int32_t(value));
        if (image != -1) written = image;
    } else if (kind == KindIndex(TOggettiHel::inputStat)) {
        const std::int32_t shortObj = objects_.NewShortObjFor(std::int32_t(value));
        if (shortObj != -1) written = shortObj;
    }
    const int namedKind = objects_.KindOf(written);
    const bool isLink = namedKind == KindIndex(TOggettiHel::internetLink) ||
                        namedKind == KindIndex(TOggettiHel::genLink) ||
                        namedKind == KindIndex(TOggettiHel::programma) ||
                        namedKind == KindIndex(TOggettiHel::speclink);
    if (namedKind >= 0 && !isLink) PendingFont();
    out_ += "<$" + Hex8(std::uint32_t(written)) + ">";
    if (namedKind == KindIndex(TOggettiHel::tabellaHtml)) {
        const int cells = objects_.TableCells(written);
        if (cells > 0) tables_.push_back({cells, alignment_});
        Head();
    }
}

void LegacyConverter::Tag(std::string_view tag) {
    auto is = [&](std::string_view prefix) { return tag.starts_with(prefix); };
    auto byteAt = [&](std::size_t oneBased) -> unsigned char {
        return oneBased <= tag.size() ? static_cast<unsigned char>(tag[oneBased - 1]) : 0;
    };
    if (is("<B>")) {
        font_.bits |= 1;
        fontChanged_ = true;
    } else if (is("</B")) {
        font_.bits &= ~1;
        fontChanged_ = true;
    } else if (is("<I")) {
        font_.bits |= 2;
        fontChanged_ = true;
    } else if (is("</I")) {
        font_.bits &= ~2;
        fontChanged_ = true;
    } else if (is("<B") || is("<L")) {
        Head();
    } else if (is("<C")) {
        alignment_ = 2;
        Head();
    } else if (is("<DI")) {
        alignment_ = byteAt(12) == 'R' ? 1 : 0;
        Head();
    } else if (is("<U")) {
        indent_ += 40;
        Head();
    } else if (is("</U")) {
        indent_ = std::max(0, indent_ - 40);
        Head();
    } else if (is("<P") || is("<TT")) {
        LegacyFont font = font_;
        font.name = "Courier New";
        SetFont(font);
    } else if (is("</P") || is("</TT")) {
        LegacyFont font = font_;
        font.name = "Times New Roman";
        SetFont(font);
    } else if (is("<F")) {
        if (byteAt(7) == 'C' && tag.size() >= 19) {
            const std::uint32_t rgb = ReadHex(tag.substr(13, 6));
            font_.colour =
                std::int32_t(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
            fontChanged_ = true;
        } else if (byteAt(7) == 'S') {
            const unsigned char digit = byteAt(12);
            // The size table has seven entries; any other digit leaves the size as it is.
            if (digit >= '1' && digit <= '7') {
                font_.size = kLegacySizes[digit - '1'];
                fontChanged_ = true;
            }
        }
    } else if (is("<TE")) {
        CellEnd(false);
    } else if (is("<TF")) {
        CellEnd(true);
    } else if (is("<%")) {
        out_ += "<%>";
    }
    // Any other tag is dropped: copied, a "<D", "<F" or "<R" tag would open an ignored block
    // that swallows the rest of the page.
}

std::string LegacyConverter::Convert() {
    out_ = "<Z S0 C" + HexColour(std::uint32_t(page_.linkColour)) + " >";
    std::size_t p = 0;
    while (p < old_.size()) {
        const char c = old_[p];
        if (c != '<') {
            PendingFont();
            out_ += c;
            ++p;
            continue;
        }
        if (old_.substr(p, 2) == "<$") {
            const std::string_view code = old_.substr(p, 11);
            if (code.size() == 11) {
                Reference(code);
                p += 11;
                continue;
            }
            p = old_.size();  // a code cut short by the end of the text
            break;
        }
        const std::size_t close = old_.find('>', p);
        const std::size_t end = close == std::string_view::npos ? old_.size() : close + 1;
        Tag(old_.substr(p, end - p));
        p = end;
    }
    out_ += '\0';
    return std::move(out_);
}

// The hypertext's objects as the conversion sees them.
class SetObjects final : public ILegacyObjects {
public:
    explicit SetObjects(TKYTset& set) : set_(set) {}

    std::int32_t ReplacementOf(std::int32_t zipLinkCode) override {
        for (const auto& [oldCode, newCode] : set_.ConversionTable())
            if (oldCode == zipLinkCode) return newCode;
        return -1;
    }
    std::int32_t NewImageFor(std::int32_t code) override {
        TKYToggetto* picture = set_.ObjectByCode(code);
        if (!picture || picture->Kind() != TOggettiHel::immagine || picture->IsFree()) return -1;
        auto image = NewObjectOfKind(TOggettiHel::immagineNew, &set_);
        image->Assign(*picture);
        const std::int32_t id = set_.Register(std::move(image), -1);
        return MakeCode(TOggettiHel::immagineNew, id);
    }
    std::int32_t NewShortObjFor(std::int32_t code) override {
        TKYToggetto* input = set_.ObjectByCode(code);
        if (!input || input->Kind() != TOggettiHel::inputStat) return -1;
        if (input->Subtype() < 10 || input->Subtype() > 14) return -1;
        auto copy = NewObjectOfKind(TOggettiHel::shortObj, &set_);
        copy->Assign(*input);
        copy->SetKind(TOggettiHel::shortObj);
        const std::int32_t id = set_.Register(std::move(copy), -1);
        return MakeCode(TOggettiHel::shortObj, id);
    }
    int KindOf(std::int32_t code) override {
        const TKYToggetto* object = set_.ObjectByCode(code);
        return object ? KindIndex(object->Kind()) : -1;
    }
    int TableCells(std::int32_t code) override {
        const TKYToggetto* table = set_.ObjectByCode(code);
        if (!table || table->Kind() != TOggettiHel::tabellaHtml) return 0;
        return int(table->ReadView().U8(kTableRows)) * int(table->ReadView().U8(kTableColumns));
    }

private:
    TKYTset& set_;
};

}  // namespace

std::string ConvertLegacyTags(std::string_view old, const LegacyPage& page,
                              ILegacyObjects& objects) {
    LegacyConverter converter(old, page, objects);
    return converter.Convert();
}

void ConvertLegacyPage(TKYTset& set, TKYToggetto& page) {
    if (page.Kind() != TOggettiHel::testoHtml) return;
    if (page.ReadView().U8(kPageTextVersion) != 1) return;
    auto old = page.ContentBytes();
    const std::string text = old ? *old : std::string();
    LegacyPage colours;
    colours.textColour = page.ReadView().I32(kPageTextColour);
    colours.linkColour = page.ReadView().I32(kPageLinkColour);
    SetObjects objects(set);
    page.SetContent(ConvertLegacyTags(text, colours, objects));
    page.View().SetU8(kPageTextVersion, 2);
}

void InstallLegacyConversion(TKYTset& set) {
    set.ConvertLegacyText = [&set](TKYToggetto& page) { ConvertLegacyPage(set, page); };
}

}  // namespace orvo
