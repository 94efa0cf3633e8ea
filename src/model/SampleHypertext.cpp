// The sample hypertext, built through the model's own operations.
#include "model/SampleHypertext.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "model/HeaderRecord.h"
#include "model/ObjectRecord.h"
#include "model/SampleForms.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/TKYTorderedTree.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "picture/GifCodec.h"
#include "platform/FixedMetrics.h"

namespace orvo {

using namespace orvo::literals;

namespace {

using K = TOggettiHel;

constexpr std::int32_t kCover = 0;
constexpr std::int32_t kHeaderPage = 1;
constexpr std::int32_t kFooterPage = 2;
constexpr std::int32_t kFirstChapterPage = 3;

constexpr int kStyleHeading = 2;
constexpr int kStyleBullets = 3;
constexpr int kStyleNumbers = 4;

constexpr std::int32_t kDarkBlue = 0x00800000;  // 0x00BBGGRR
constexpr std::int32_t kDarkRed = 0x000000C0;
constexpr std::int32_t kGreen = 0x00008000;

// A stored page text, written paragraph by paragraph.
class Markup {
public:
    Markup& Paragraph(int style, std::string_view headFields = {}) {
        text_ += "<Z S" + std::to_string(style) + " ";
        text_ += headFields;
        text_ += ">";
        return *this;
    }
    Markup& Text(std::string_view text) {
        for (const char c : text) {
            switch (c) {
                case '&':
                    text_ += "&amp;";
                    break;
                case '<':
                    text_ += "&lt;";
                    break;
                case '>':
                    text_ += "&gt;";
                    break;
                default:
                    text_ += c;
            }
        }
        return *this;
    }
    Markup& Run(std::string_view fields, std::string_view text) {
        text_ += "<Y ";
        text_ += fields;
        text_ += ">";
        Text(text);
        text_ += "<Y >";
        return *this;
    }
    Markup& Bold(std::string_view text) { return Run("y1 ", text); }
    Markup& Italic(std::string_view text) { return Run("y2 ", text); }
    Markup& Coloured(std::int32_t colour, std::string_view text) {
        return Run("c" + HexColour(std::uint32_t(colour)) + " ", text);
    }
    Markup& Font(std::string_view face, std::string_view text) {
        return Run("F\"" + std::string(face) + "\" ", text);
    }
    Markup& Object(std::int32_t code) {
        text_ += "<$" + Hex8(std::uint32_t(code)) + ">";
        return *this;
    }
    Markup& Link(std::int32_t code, std::string_view text) {
        text_ += "<$" + Hex8(std::uint32_t(code)) + ">";
        Text(text);
        text_ += "<%>";
        return *this;
    }
    /// Markup written elsewhere (a table's cells), as it is.
    Markup& Raw(std::string_view markup) {
        text_ += markup;
        return *this;
    }
    std::size_t Size() const { return text_.size(); }
    std::string Done() const { return text_ + '\0'; }

private:
    std::string text_;
};

struct Topic {
    std::string_view title;
    std::string_view opening;  // the first sentence, before the formatted part
    std::array<std::string_view, 3> points;
};

// The guide's own pages; further pages of a larger document repeat them with a number.
const std::array<Topic, 6>& Topics() {
    static const std::array<Topic, 6> topics{{
        {"Che cos'è un ipertesto"_cp,
         "Un ipertesto è un documento fatto di pagine collegate tra loro."_cp,
         {"Una pagina per ogni argomento", "Collegamenti fra le pagine",
          "Un'unica copertina da cui partire"}},
        {"Pagine e capitoli",
         "Le pagine si ordinano in capitoli nell'albero delle pagine."_cp,
         {"Aggiungere un capitolo", "Spostare una pagina", "Riordinare i capitoli"}},
        {"Gli stili di paragrafo",
         "Uno stile dà a un paragrafo il carattere, i margini e l'allineamento."_cp,
         {"Il titolo", "L'elenco puntato", "L'elenco numerato"}},
        {"I collegamenti",
         "Ogni parola può portare a un'altra pagina, a un sito o a un altro ipertesto."_cp,
         {"Collegamenti a pagine", "Collegamenti a siti", "Collegamenti ad altri ipertesti"}},
        {"Intestazione e piè di pagina"_cp,
         "L'intestazione e il piè di pagina compaiono su ogni pagina della guida."_cp,
         {"Un'intestazione per tutte le pagine", "Un piè di pagina comune"_cp,
          "Pagine che ne fanno a meno"}},
        {"Parole chiave e sequenze",
         "Le parole chiave aiutano a trovare le pagine; le sequenze le fanno sfogliare."_cp,
         {"Cercare per parola chiave", "Sfogliare con << e >>", "Pagine fuori sequenza"}},
    }};
    return topics;
}

constexpr std::array<std::string_view, 4> kKeywords{"ipertesto", "stile", "collegamento",
                                                    "sequenza"};
// The keywords of each topic, as indexes into kKeywords.
constexpr std::array<std::array<int, 2>, 6> kTopicKeywords{
    {{0, -1}, {0, -1}, {1, -1}, {2, -1}, {0, -1}, {3, 2}}};

std::int32_t Register(TKYTset& set, std::unique_ptr<TKYToggetto> object) {
    return set.Register(std::move(object), -1);
}

std::int32_t AddKeyword(TKYTset& set, std::string_view word) {
    auto keyword = NewObjectOfKind(K::keyword, &set);
    keyword->Clear();
    keyword->SetName(word);
    return Register(set, std::move(keyword));
}

std::int32_t AddInternetLink(TKYTset& set, std::string_view address) {
    auto link = NewObjectOfKind(K::internetLink, &set);
    link->Clear();
    link->SetName(address);
    link->TakeIntoUse();
    return MakeCode(K::internetLink, Register(set, std::move(link)));
}

TKYToggetto& AddPage(TKYTset& set, std::string_view title) {
    auto page = NewObjectOfKind(K::testoHtml, &set);
    page->Clear();
    page->TakeIntoUse();
    page->SetName(title);
    const std::int32_t identifier = Register(set, std::move(page));
    return *set.ObjectByKind(K::testoHtml, identifier);
}

void AddStyles(TKYTset& set) {
    StyleRecord heading(CreateStyle(set, "Titolo").Record());
    heading.SetFontName("Arial");
    heading.SetSize(18);
    heading.SetStyleBits(1);
    heading.SetColour(kDarkBlue);
    heading.SetSpaceBefore(6);
    heading.SetSpaceAfter(8);
    StyleRecord bullets(CreateStyle(set, "Elenco puntato").Record());
    bullets.SetListKind(10);
    bullets.SetLeftMargin(24);
    StyleRecord numbers(CreateStyle(set, "Elenco numerato").Record());
    numbers.SetListKind(6);
    numbers.SetLeftMargin(24);
}

// Paragraphs of filler, each with a bold word and a link back to the cover, until the text
// holds at least `bytes` bytes.
void Fill(Markup& text, std::size_t bytes) {
    for (int n = 1; text.Size() + 1 < bytes; ++n) {
        text.Paragraph(0)
            .Text("Paragrafo " + std::to_string(n))
            .Text(
                ": questo testo riempie la pagina per misurare la velocità del programma con "
                "pagine lunghe. "_cp)
            .Bold("Leggere")
            .Text(", scrivere e salvare devono restare rapidi; si può sempre tornare alla "_cp)
            .Link(MakeCode(K::testoHtml, kCover), "copertina")
            .Text(".");
    }
}

// The cover's background: a pale paper tile with a faint diagonal weave, drawn here so that
// the sample needs no picture file of its own. Nothing is lost without it, so a tile that
// cannot be made leaves the cover on its plain colour.
std::optional<std::int32_t> AddPaperPicture(TKYTset& set) {
    constexpr int kSide = 64;
    constexpr Rgb kPaper{0xFF, 0xFF, 0xE0};  // the cover's own colour
    constexpr Rgb kWeave{0xF0, 0xE6, 0xB4};
    constexpr Rgb kSpeck{0xF8, 0xF2, 0xCC};
    Bitmap tile(kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const bool weave = (x + y) % 16 == 0 || (x - y + kSide) % 16 == 0;
            const bool speck = (x * 7 + y * 13) % 29 == 0;
            tile.Set(x, y, weave ? kWeave : speck ? kSpeck : kPaper);
        }
    Result<std::string> gif = BitmapToGif(tile, false);
    if (!gif) return std::nullopt;
    const std::string file = set.TempFileName("carta.gif");
    const std::filesystem::path native = NativePath(file);
    if (!WriteFileAtomically(native, *gif, 0600u, set.FileSystem())) return std::nullopt;
    Result<TKYToggetto*> picture = set.AddPictureFromFile(file);
    std::error_code ec;
    std::filesystem::remove(native, ec);  // the picture holds its bytes
    if (!picture) return std::nullopt;
    (*picture)->SetName("Carta della copertina");
    // The file field names "carta.gif", with nothing left of the temporary file's path.
    (*picture)->View().SetRaw(kPictureFile, std::string(kPictureFile.width, '\xFF'));
    (*picture)->SetFileName("carta.gif");
    return (*picture)->Identifier();
}

// The map of the guide: a sky with a house on the left (the cover) and an open book on the
// right (the first chapter), each a clickable zone of the picture.
constexpr int kMapWidth = 240;
constexpr int kMapHeight = 120;
constexpr std::array<int, 4> kHouseZone{16, 20, 90, 84};  // left, top, width, height
constexpr std::array<int, 4> kBookZone{134, 28, 90, 72};

std::optional<std::int32_t> AddMapPicture(TKYTset& set) {
    constexpr Rgb kSky{0xD8, 0xEC, 0xFF}, kGrass{0x9C, 0xD0, 0x7C};
    constexpr Rgb kWall{0xF4, 0xD0, 0x9C}, kRoof{0xB0, 0x30, 0x30}, kDoor{0x70, 0x48, 0x20};
    constexpr Rgb kPaper{0xFF, 0xFF, 0xFF}, kCover{0x20, 0x50, 0xA0}, kLine{0x80, 0x80, 0x90};
    Bitmap map(kMapWidth, kMapHeight);
    for (int y = 0; y < kMapHeight; ++y)
        for (int x = 0; x < kMapWidth; ++x) map.Set(x, y, y < 96 ? kSky : kGrass);
    auto fill = [&](int left, int top, int right, int bottom, Rgb colour) {
        for (int y = std::max(top, 0); y < std::min(bottom, kMapHeight); ++y)
            for (int x = std::max(left, 0); x < std::min(right, kMapWidth); ++x)
                map.Set(x, y, colour);
    };
    // The house: a roof over a wall with a door.
    for (int y = 24; y < 56; ++y) {
        const int half = (y - 24) * 45 / 32;
        fill(61 - half, y, 61 + half + 1, y + 1, kRoof);
    }
    fill(26, 56, 96, 100, kWall);
    fill(52, 72, 70, 100, kDoor);
    // The book: two pages with lines of text on a blue cover.
    fill(134, 30, 224, 98, kCover);
    fill(138, 34, 178, 94, kPaper);
    fill(180, 34, 220, 94, kPaper);
    for (int y = 42; y < 90; y += 8) {
        fill(142, y, 174, y + 2, kLine);
        fill(184, y, 216, y + 2, kLine);
    }
    Result<std::string> gif = BitmapToGif(map, false);
    if (!gif) return std::nullopt;
    const std::string file = set.TempFileName("mappa.gif");
    const std::filesystem::path native = NativePath(file);
    if (!WriteFileAtomically(native, *gif, 0600u, set.FileSystem())) return std::nullopt;
    Result<TKYToggetto*> picture = set.AddPictureFromFile(file);
    std::error_code ec;
    std::filesystem::remove(native, ec);
    if (!picture) return std::nullopt;
    (*picture)->SetName("Mappa della guida");
    (*picture)->View().SetRaw(kPictureFile, std::string(kPictureFile.width, '\xFF'));
    (*picture)->SetFileName("mappa.gif");
    return (*picture)->Identifier();
}

// An image object that shows the picture, with its alternative text and, when `withZones` is
// set, one zone a target (an object code); its code.
std::optional<std::int32_t> AddImage(TKYTset& set, std::int32_t picture, std::string_view name,
                                     const std::array<std::int32_t, 2>& targets, bool withZones) {
    TKYToggetto* shown = set.ObjectByKind(K::immagine, picture);
    if (!shown) return std::nullopt;
    auto image = NewObjectOfKind(K::immagineNew, &set);
    image->Assign(*shown);
    RecordView r = image->View();
    r.SetPStr(kImageName, name);
    std::string zones;
    auto put32 = [&](std::int32_t v) {
        for (int i = 0; i < 4; ++i) zones += char((std::uint32_t(v) >> (8 * i)) & 0xFF);
    };
    auto put16 = [&](int v) {
        zones += char(std::uint16_t(v) & 0xFF);
        zones += char(std::uint16_t(v) >> 8);
    };
    const std::array<std::array<int, 4>, 2> rects{kHouseZone, kBookZone};
    for (int z = 0; z < kZoneCount; ++z) {
        const bool used = withZones && z < 2;
        put32(used ? targets[std::size_t(z)] : -1);
        put32(0);
        for (int k = 0; k < 4; ++k) put16(used ? rects[std::size_t(z)][std::size_t(k)] : 0);
    }
    r.SetRaw(kImageZones, zones);
    return MakeCode(K::immagineNew, Register(set, std::move(image)));
}

// A small picture of a table, drawn here: a header row over a grid of cells.
std::optional<std::int32_t> AddTablePicture(TKYTset& set) {
    constexpr int kWidth = 48, kHeight = 32;
    constexpr Rgb kPaper{0xFF, 0xFF, 0xFF}, kHead{0x20, 0x50, 0xA0}, kLine{0x80, 0x80, 0x90};
    Bitmap icon(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool line = x == 0 || y == 0 || x == kWidth - 1 || y == kHeight - 1 ||
                              x % 16 == 0 || y % 8 == 0;
            icon.Set(x, y, line ? kLine : y < 8 ? kHead : kPaper);
        }
    Result<std::string> gif = BitmapToGif(icon, false);
    if (!gif) return std::nullopt;
    const std::string file = set.TempFileName("tabella.gif");
    const std::filesystem::path native = NativePath(file);
    if (!WriteFileAtomically(native, *gif, 0600u, set.FileSystem())) return std::nullopt;
    Result<TKYToggetto*> picture = set.AddPictureFromFile(file);
    std::error_code ec;
    std::filesystem::remove(native, ec);
    if (!picture) return std::nullopt;
    (*picture)->SetName("Disegno di una tabella");
    (*picture)->View().SetRaw(kPictureFile, std::string(kPictureFile.width, '\xFF'));
    (*picture)->SetFileName("tabella.gif");
    return (*picture)->Identifier();
}

// A table object of `rows` x `columns` percent columns sharing the line, with a border, its
// first row on `headColour` and the other cells transparent; its code.
std::int32_t AddTable(TKYTset& set, int rows, int columns, std::int32_t headColour) {
    auto table = NewObjectOfKind(K::tabellaHtml, &set);
    table->Clear();
    table->TakeIntoUse();
    RecordView r = table->View();
    r.SetU8(kTableRows, std::uint8_t(rows));
    r.SetU8(kTableColumns, std::uint8_t(columns));
    for (int c = 0; c < columns; ++c) {
        r.SetU8At(kTableColumnKinds + c, 0);  // percent
        r.SetI16At(kTableColumnWidths + 2 * c, std::int16_t(100 / columns));
    }
    r.SetU8(kTablePercentFlag, 1);
    r.SetU8(kTablePercent, std::uint8_t(100 / columns * columns));
    r.SetU8(kTablePadding, 4);
    r.SetU8(kTableBorder, 1);
    r.SetU8(kTableBackgroundFormat, 2);
    std::string backgrounds;
    for (int i = 0; i < rows * columns; ++i) {
        const std::int32_t v = i < columns ? headColour : -1;
        for (int b = 0; b < 4; ++b) backgrounds += char((std::uint32_t(v) >> (8 * b)) & 0xFF);
    }
    table->SetAuxiliary(backgrounds);
    return MakeCode(K::tabellaHtml, Register(set, std::move(table)));
}

}  // namespace

void MakeSampleHypertext(TKYTset& set, const SampleOptions& options) {
    const int pages = std::clamp(options.pages, 1, kSampleMaxPages);
    const std::size_t fill = std::size_t(std::clamp(options.textKb, 0, kSampleMaxTextKb)) * 1024;
    FixedMetrics metrics;

    RecordView header = set.HeaderRecordView();
    header.SetPStr(kHdrTitle, "Guida di Orvo");
    header.SetRaw(kHdrInformation,
                  std::string("Un ipertesto di esempio che mostra pagine, capitoli, stili e "
                              "collegamenti."_cp) +
                      '\0');
    header.SetPStr(kHdrExportPrefix, "guida");
    header.SetPStr(kHdrCompany, "Orvo");
    header.SetPStr(kHdrCopyright, "© Gli autori di Orvo"_cp);
    header.SetPStr(kHdrAuthors, "Gli autori di Orvo");
    header.SetI32(kHdrBackColour, 0x00FFFFFF);  // new pages are white
    header.SetU16(kHdrLanguage, 1040);          // the guide is checked as Italian text
    header.SetI32(kHdrCoverPage, kCover);
    header.SetI32(kHdrContentsPage, kCover);

    AddStyles(set);
    std::vector<std::int32_t> keywords;
    for (std::string_view word : kKeywords) keywords.push_back(AddKeyword(set, word));
    const std::int32_t webLink = AddInternetLink(set, "http://www.esempio.it/orvo/");
    const std::int32_t otherHypertext = AddInternetLink(set, "orvo://Altro.kyt|0");

    // Pages: the cover, the header and footer pages, then the chapters' pages.
    const int chapterPages = pages - 1;
    const int firstChapter = (chapterPages + 1) / 2;
    auto pageCode = [](std::int32_t identifier) { return MakeCode(K::testoHtml, identifier); };
    auto topicOf = [&](int j) -> const Topic& {
        return Topics()[std::size_t(j) % Topics().size()];
    };
    auto titleOf = [&](int j) {
        std::string title(topicOf(j).title);
        if (j >= int(Topics().size())) title += " (" + std::to_string(j + 1) + ")";
        return title;
    };

    TKYToggetto& cover = AddPage(set, "Copertina");
    TKYToggetto& headerPage = AddPage(set, "Intestazione");
    TKYToggetto& footerPage = AddPage(set, "Piè di pagina"_cp);
    std::vector<TKYToggetto*> chapter;
    for (int j = 0; j < chapterPages; ++j) chapter.push_back(&AddPage(set, titleOf(j)));
    TKYToggetto& mapPage = AddPage(set, "La mappa della guida");
    const std::int32_t mapIdentifier = kFirstChapterPage + chapterPages;
    TKYToggetto& tablePage = AddPage(set, "Una tabella");
    const std::int32_t tableIdentifier = mapIdentifier + 1;
    TKYToggetto& formPage = AddPage(set, kSampleFormPageTitle);
    const std::int32_t formIdentifier = tableIdentifier + 1;
    header.SetI32(kHdrHeaderPage, kHeaderPage);
    header.SetI32(kHdrFooterPage, kFooterPage);

    {
        Markup text;
        text.Paragraph(kStyleHeading).Text("Benvenuti nella guida di Orvo");
        text.Paragraph(0)
            .Text(
                "Questa è una guida di esempio: ogni pagina mostra una parte del programma. "
                "Il testo può essere in "_cp)
            .Bold("grassetto")
            .Text(", in ")
            .Italic("corsivo")
            .Text(", ")
            .Coloured(kDarkRed, "colorato")
            .Text(" o scritto con ")
            .Font("Courier New", "un altro carattere")
            .Text(".");
        if (chapterPages > 0) {
            text.Paragraph(0)
                .Text("Cominciate dal ")
                .Link(pageCode(kFirstChapterPage), "primo capitolo");
            if (chapterPages > firstChapter)
                text.Text(" oppure passate agli ")
                    .Link(pageCode(kFirstChapterPage + firstChapter), "approfondimenti");
            text.Text(".");
        }
        text.Paragraph(0)
            .Text("Fuori dalla guida: il ")
            .Link(webLink, "sito di Orvo")
            .Text(" e ")
            .Link(otherHypertext, "un altro ipertesto")
            .Text(".");
        text.Paragraph(kStyleBullets).Text("Pagine e capitoli");
        text.Paragraph(kStyleBullets).Text("Stili e formati");
        text.Paragraph(kStyleBullets).Text("Collegamenti");
        Fill(text, fill);
        cover.SetContent(text.Done());
        PageRecord record(cover);
        record.SetHeader(kNoHeaderFooter);
        record.SetFooter(kNoHeaderFooter);
        record.SetAlias("benvenuti.htm");
        record.SetBackgroundColour(0x00E0FFFF);  // light yellow
        if (const std::optional<std::int32_t> paper = AddPaperPicture(set))
            record.SetBackgroundPicture(*paper);
        record.AddKeyword(keywords[0]);
    }
    {
        Markup text;
        text.Paragraph(0, "A2 ").Font("Arial", "Guida di Orvo");
        headerPage.SetContent(text.Done());
        PageRecord(headerPage).SetHeader(kNoHeaderFooter);
        PageRecord(headerPage).SetFooter(kNoHeaderFooter);
    }
    {
        Markup text;
        text.Paragraph(0, "s10 A2 ")
            .Text("Pagina della guida · "_cp)
            .Coloured(kGreen, "© Gli autori di Orvo"_cp);
        footerPage.SetContent(text.Done());
        PageRecord(footerPage).SetHeader(kNoHeaderFooter);
        PageRecord(footerPage).SetFooter(kNoHeaderFooter);
    }
    for (int j = 0; j < chapterPages; ++j) {
        const Topic& topic = topicOf(j);
        const std::int32_t identifier = kFirstChapterPage + j;
        Markup text;
        text.Paragraph(kStyleHeading).Text(titleOf(j));
        text.Paragraph(0)
            .Text(topic.opening)
            .Text(" ")
            .Italic("Provate")
            .Text(" a sfogliare le pagine con i pulsanti della sequenza.");
        const int listStyle = j % 2 == 0 ? kStyleBullets : kStyleNumbers;
        for (std::string_view point : topic.points) text.Paragraph(listStyle).Text(point);
        text.Paragraph(0);
        const bool lastOfChapter = j + 1 == firstChapter || j + 1 == chapterPages;
        if (!lastOfChapter) text.Link(pageCode(identifier + 1), "Pagina successiva").Text(" · "_cp);
        text.Link(pageCode(kCover), "Torna alla copertina");
        Fill(text, fill);
        TKYToggetto& page = *chapter[std::size_t(j)];
        page.SetContent(text.Done());
        PageRecord record(page);
        const bool first = j < firstChapter;
        record.SetGroup(first ? 1 : 2);
        record.SetOrder(std::int16_t(std::min(first ? j + 1 : j - firstChapter + 1, 32767)));
        record.SetInSequence(true);
        for (const int k : kTopicKeywords[std::size_t(j) % kTopicKeywords.size()])
            if (k >= 0) record.AddKeyword(keywords[std::size_t(k)]);
    }

    {
        // The map page: a picture whose two zones lead to the cover and the first chapter.
        Markup text;
        text.Paragraph(kStyleHeading).Text("La mappa della guida");
        text.Paragraph(0).Text(
            "Ogni zona dell'immagine porta a una pagina: la casa alla copertina, il libro al "
            "primo capitolo.");
        const std::int32_t firstTarget = pageCode(chapterPages > 0 ? kFirstChapterPage : kCover);
        if (const std::optional<std::int32_t> picture = AddMapPicture(set))
            if (const std::optional<std::int32_t> image = AddImage(
                    set, *picture, "Mappa: casa e libro", {pageCode(kCover), firstTarget}, true))
                text.Paragraph(0, "A2 ").Object(*image);
        text.Paragraph(0).Link(pageCode(kCover), "Torna alla copertina");
        mapPage.SetContent(text.Done());
    }
    {
        // The table page: a header row on a light blue, a cell with a link, one with a picture.
        Markup text;
        text.Paragraph(kStyleHeading).Text("Una tabella");
        text.Paragraph(0).Text(
            "Ogni casella di una tabella è un testo come gli altri, con collegamenti e "
            "immagini."_cp);
        text.Paragraph(0).Object(AddTable(set, 4, 3, 0x00FFE0C0));
        // The cells follow the table's character, row after row, each ended by "<T>".
        const auto cell = [&text](std::string_view words) {
            text.Paragraph(1).Text(words).Raw("<T>");
        };
        for (std::string_view head : {"Parte", "Che cosa mostra", "Dove"})
            text.Paragraph(1).Bold(head).Raw("<T>");
        cell("Copertina");
        cell("Il titolo e i primi collegamenti");
        text.Paragraph(1).Link(pageCode(kCover), "Vai alla copertina").Raw("<T>");
        cell("Disegno");
        cell("Una tabella in piccolo");
        text.Paragraph(1);
        if (const std::optional<std::int32_t> picture = AddTablePicture(set))
            if (const std::optional<std::int32_t> image =
                    AddImage(set, *picture, "", {-1, -1}, false))
                text.Object(*image);
        text.Raw("<T>");
        cell("Capitoli");
        cell("Le pagine in ordine");
        cell("Nell'albero delle pagine");
        text.Paragraph(0).Link(pageCode(kCover), "Torna alla copertina");
        tablePage.SetContent(text.Done());
    }
    // The form page: an input of every kind, a sound, an anchor and a popup of the map page.
    formPage.SetContent(SampleFormPageText(set, kStyleHeading, mapIdentifier));

    // Every text as the markup writer writes it.
    for (const auto& page : set.KindList(K::testoHtml)) ReopenAndStorePage(set, *page, metrics);

    // The page tree: the cover, then the two chapters.
    TKYTorderedTree tree(&set);
    tree.LoadTree();
    TreeNode* root = tree.Nodes().TopLevel().front().get();
    for (const auto& page : set.KindList(K::testoHtml))
        if (tree.SelectObject(page->Code())) tree.DeleteSelected();
    tree.Rename(*root, std::string(LastComponent(options.fileName)));
    tree.Select(root);
    tree.AddObject(pageCode(kCover));
    auto addChapter = [&](std::string_view title, int from, int to) {
        if (from >= to) return;
        tree.Select(root);
        tree.AddChapter(title);
        TreeNode* node = tree.Selected();
        for (int j = from; j < to; ++j) {
            tree.Select(node);
            tree.AddObject(pageCode(kFirstChapterPage + j));
        }
    };
    addChapter("Primi passi", 0, firstChapter);
    addChapter("Approfondimenti", firstChapter, chapterPages);
    tree.Select(root);
    tree.AddObject(pageCode(mapIdentifier));
    tree.Select(root);
    tree.AddObject(pageCode(tableIdentifier));
    tree.Select(root);
    tree.AddObject(pageCode(formIdentifier));
    tree.SaveTree();
    set.SetModified(true);
}

}  // namespace orvo
