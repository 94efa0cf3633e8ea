// The HTML of images, image maps and roll-over pictures.
#include "convert/HtmlObjects.h"

#include <array>
#include <cstdio>

#include "base/Format.h"
#include "convert/HtmlExport.h"
#include "convert/HtmlScripts.h"
#include "convert/HtmlText.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "objects/TableRules.h"

namespace orvo {
namespace {

constexpr std::array<const char*, 6> kImageAlignNames{"LEFT", "RIGHT",  "CENTER",
                                                      "TOP",  "MIDDLE", "BOTTOM"};

constexpr std::array<const char*, 27> kKindNames{
    "testoHtml",  "internetLink", "zipLink",     "genLink",    "keyword",     "immagine",
    "mappaClic",  "programma",    "tabellaHtml", "mappaFrame", "speclink",    "shortObj",
    "custom",     "dbloc",        "spazio4",     "spazio5",    "immagineNew", "stileParagrafo",
    "fontFace",   "formato",      "inputStat",   "inputDin",   "bottoneCGI",  "inizioForm",
    "multiMedia", "none",         "testoHtmlRtf"};

std::string Hex6(std::uint32_t n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06x", n & 0xFFFFFFu);
    return digits;
}

void AddOnce(std::vector<TKYToggetto*>& list, TKYToggetto* object) {
    for (TKYToggetto* o : list)
        if (o == object) return;
    list.push_back(object);
}

// The label of a link target: its description before the "|".
std::string TargetText(const TKYToggetto& target) {
    const std::string description = target.Describe();
    return description.substr(0, description.find('|'));
}

}  // namespace

std::string ObjectKindName(int kind) {
    if (kind >= 0 && std::size_t(kind) < kKindNames.size()) return kKindNames[std::size_t(kind)];
    return "kind " + std::to_string(kind);
}

std::string CleanedText(std::string_view text) {
    return EscapeText(text);
}

std::string HeadScripts(std::uint8_t flags) {
    if (flags == 0) return {};
    struct Piece {
        std::uint8_t flag;
        const char* text;
    };
    static constexpr std::array<Piece, 5> kPieces{{
        {1,
         "\r\nOrvoC_bname = navigator.appName;\r\nOrvoC_bver = "
         "parseFloat(navigator.appVersion);\r\n"},
        {2,
         "\r\nOrvoC_SensOk ='false';\r\nif (OrvoC_bver >= 3.0) { OrvoC_SensOk = 'true' } "
         "\r\n\r\nfunction OrvoF_over(img,ref)\r\n{\r\n  if (OrvoC_SensOk=='true') { "
         "document.images[img].src = ref }\r\n}\r\n"},
        {8,
         "\r\nfunction OrvoF_open(newURL, newName, newFeatures, orgName) \r\n{\r\n  var remote = "
         "open(newURL, newName, newFeatures);\r\n  if (remote.opener == null) remote.opener = "
         "window;\r\n  remote.opener.name = orgName;\r\n}\r\n"},
        {16, "\r\nfunction OrvoF_openB(newURL) \r\n{\r\n  var remote = open(newURL);\r\n}\r\n"},
        {4,
         "\r\nfunction OrvoF_close(finName)\r\n{\r\n  OrvoC_tmp=open('', finName);\r\n  "
         "OrvoC_tmp.close( );\r\n}\r\n"},
    }};
    std::string out = "<SCRIPT>\r\n<!--//\r\n";
    for (const Piece& piece : kPieces)
        if (flags & piece.flag) out += piece.text;
    return out + "\r\n//-->\r\n</SCRIPT>\r\n";
}

std::string RolloverPreload(const TKYTtoHtml& exporter, const TExportContext& context) {
    if (context.rollovers.empty()) return {};
    std::string out = "\r\n<SCRIPT>\r\n<!--//\r\n  if (OrvoC_SensOk == 'true')\r\n  {";
    for (std::size_t n = 0; n < context.rollovers.size(); ++n) {
        const std::string number = std::to_string(n);
        out += "\r\n  OrvoP_" + number + "= new Image();";
        out += "\r\n  OrvoP_" + number + ".src=\"" +
               exporter.ObjectFileName(*context.rollovers[n], context.mode) + "\";";
    }
    return out + "\r\n  }\r\n//-->\r\n</SCRIPT>\r\n";
}

// An object code of the text that is not a text link.
void HtmlTextWriter::ObjectCode(std::uint32_t code) {
    const int kind = CodeKind(std::int32_t(code));
    TKYTset& set = *exporter_.LinkedKYTset;
    TKYToggetto* object = set.ObjectByCode(std::int32_t(code));
    if (!object || object->IsFree()) return;
    out_ += FormatChange();
    switch (KindOf(kind)) {
        case TOggettiHel::tabellaHtml:
            TableStart(*object);
            return;
        case TOggettiHel::immagineNew:
            Image(*object);
            return;
        case TOggettiHel::inputStat:
            FormInput(*object);
            return;
        case TOggettiHel::bottoneCGI:
            Button(*object);
            return;
        case TOggettiHel::inizioForm:
            FormStart(*object);
            return;
        case TOggettiHel::multiMedia:
            Multimedia(*object);
            return;
        case TOggettiHel::shortObj:
            Marker(*object);
            return;
        case TOggettiHel::inputDin:
        case TOggettiHel::dbloc:
            // Filled on the server or by a database: their own code is what they write.
            out_ += ResolveCustomCode(exporter_, context_, *object);
            return;
        case TOggettiHel::immagine:
        case TOggettiHel::mappaClic:
            ++exporter_.UnwrittenKinds[kind];
            Report(kStoredPictureInText);
            return;
        default:
            return;  // keywords, styles, prototypes and maps write nothing in a text
    }
}

void HtmlTextWriter::Image(TKYToggetto& image) {
    TKYTset& set = *exporter_.LinkedKYTset;
    const ImageRecord record(image);
    TKYToggetto* picture = ImagePictureObject(set, image, false);
    if (!picture) {
        ++exporter_.UnwrittenKinds[KindIndex(TOggettiHel::immagineNew)];
        out_ += "<!-- immagine mancante -->";
        return;
    }
    TKYToggetto* rollover = ImagePictureObject(set, image, true);
    TKYToggetto* lowRes = nullptr;
    if (record.LowResPicture() >= 0) {
        lowRes = set.ObjectByKind(TOggettiHel::immagine, record.LowResPicture());
        if (lowRes && lowRes->IsFree()) lowRes = nullptr;
    }
    if (context_.images) {
        AddOnce(*context_.images, picture);
        if (lowRes) AddOnce(*context_.images, lowRes);
        if (rollover) AddOnce(*context_.images, rollover);
    }
    const std::string id = Hex6(std::uint32_t(image.Identifier()));
    const std::string file = exporter_.ObjectFileName(*picture, 0);

    // The image map: one rectangle a zone whose target exists and has a file name.
    std::string areas;
    for (const ZoneRecord& zone : record.Zones()) {
        if (zone.Empty()) continue;
        const TKYToggetto* target = ZoneTarget(set, nullptr, zone.link);
        if (!target || exporter_.ObjectFileName(*target, 0).empty()) continue;
        const std::string text = CleanedText(TargetText(*target));
        areas += "<AREA COORDS=" + std::to_string(zone.left) + "," + std::to_string(zone.top) +
                 "," + std::to_string(zone.left + zone.width) + "," +
                 std::to_string(zone.top + zone.height) + " " + LinkHref(*target);
        if (exporter_.ExpAlt) areas += " ALT=\"" + text + "\"";
        areas += " TITLE=\"" + text + "\">\r\n";
    }
    if (!areas.empty()) out_ += "<MAP NAME=ma" + id + " >\r\n" + areas + "</MAP>\r\n";

    // The roll-over: the image's own link (or the open text link, closed and opened again).
    bool ownLink = false;
    if (rollover) {
        context_.scriptFlags |= 1 | 2;
        AddOnce(context_.rollovers, rollover);
        if (linkOpen_ && openLink_) {
            out_ += "</A>" + LinkStart(*openLink_);
        } else if (context_.page) {
            out_ += "<A " + LinkHref(*context_.page);
            ownLink = true;
        } else {
            out_ += "<A ";
            ownLink = true;
        }
        out_ += " onMouseOver=\"OrvoF_over('i" + id + "','" +
                exporter_.ObjectFileName(*rollover, 0) + "');\"";
        out_ += " onMouseOut=\"OrvoF_over('i" + id + "','" + file + "');\" >";
    }

    const int alignment = record.Alignment();
    const std::int32_t width = record.Width() > 0 ? record.Width() : 100;
    const std::int32_t height = record.Height() > 0 ? record.Height() : 100;
    out_ += "<IMG SRC=\"" + file + "\"";
    out_ += " BORDER=" + std::to_string(record.Border());
    out_ += " ALIGN=";
    out_ += alignment >= 0 && alignment < int(kImageAlignNames.size())
                ? kImageAlignNames[std::size_t(alignment)]
                : "MIDDLE";
    out_ += " ALT=\"" + CleanedText(record.AlternativeText()) + "\"";
    if (rollover) out_ += " NAME=i" + id;
    if (!areas.empty()) out_ += " USEMAP=#ma" + id;
    if (lowRes) out_ += " LOWSRC=\"" + exporter_.ObjectFileName(*lowRes, 0) + "\"";
    // The image's own HTML parameters go last in the tag, their references resolved.
    out_ += " WIDTH=" + std::to_string(width) + " HEIGHT=" + std::to_string(height) + " " +
            ResolveCustomCode(exporter_, context_, image) + " >";
    if (ownLink) out_ += "</A>";
    textSinceCode_ = true;
    previousSpace_ = false;
}

// ---------------------------------------------------------------------------------------------
// Tables

std::string HtmlTextWriter::Background(std::int32_t stored) {
    const TableBackground b = TableBackground::Decode(stored);
    if (b.kind == TableBackground::Kind::Colour)
        return " BGCOLOR=#" + HexColour(std::uint32_t(b.value));
    if (b.kind != TableBackground::Kind::Picture) return {};
    TKYToggetto* picture = exporter_.LinkedKYTset->ObjectByKind(TOggettiHel::immagine, b.value);
    if (!picture || picture->IsFree()) return {};
    const std::string file = exporter_.ObjectFileName(*picture, 0);
    if (file.empty()) return {};
    if (context_.images) AddOnce(*context_.images, picture);
    return " background=\"" + file + "\"";
}

void HtmlTextWriter::TableStart(TKYToggetto& table) {
    previousSpace_ = false;
    counter_ = 1;
    out_ += CloseFormat();
    // A text link does not run across a table.
    if (linkOpen_) out_ += "</A>";
    linkOpen_ = false;
    openLink_ = nullptr;
    tables_.push_back(
        {&table, 0,
         OuterState{styleNumber_, paragraphFont_, font_, open_, fontTagOpen_, paragraphOpen_,
                    textSinceCode_, numbering_, counter_, styleLayout_, linkOpen_, openLink_}});
    const TableRecord record(table.ReadView());
    out_ += "<TABLE";
    if (record.WidthInPercent())
        out_ += " WIDTH=" + std::to_string(record.Percent()) + "%";
    else if (record.FixedWidth() > 0)
        out_ += " WIDTH=" + std::to_string(record.FixedWidth());
    out_ += " BORDER=" + std::to_string(record.Border());
    out_ += " CELLPADDING=" + std::to_string(record.Padding());
    out_ += " CELLSPACING=" + std::to_string(record.Spacing());
    out_ += Background(record.Background()) + " >\r\n";
    paragraphOpen_ = false;
    WriteCell();
}

void HtmlTextWriter::WriteCell() {
    if (tables_.empty()) return;  // a "<T>" outside any table
    OpenTable& t = tables_.back();
    const TableRecord record(t.table->ReadView());
    const int rows = std::min(record.Rows(), kTableMaxRows), columns = record.Columns();
    const int cells = rows * columns;
    const int n = t.cell++;
    auto closeCell = [&] {
        out_ += FormatChange();
        if (paragraphOpen_) {
            CloseParagraph();
        } else {
            out_ += "&nbsp;" + CloseFormat();
            if (linkOpen_) out_ += "</A>";
            linkOpen_ = false;
            openLink_ = nullptr;
        }
    };
    if (n < cells) {
        if (n % columns != 0) {
            closeCell();
            out_ += "</TD>\r\n";
        } else {
            if (n > 0) {
                closeCell();
                out_ += "</TD></TR>\r\n";
            }
            out_ += "<TR>\r\n";
        }
        paragraphFont_ = font_ = open_ = HtmlFont{};
        styleLayout_ = HtmlLayout{};
        fontTagOpen_ = paragraphOpen_ = textSinceCode_ = changed_ = false;
        numbering_ = 0;
        out_ += "<TD";
        const int c = n % columns;
        if (record.Kind(c) == kColumnPercent)
            out_ += " WIDTH=" + std::to_string(record.Width(c)) + "%";
        else if (record.Kind(c) == kColumnFixed)
            out_ += " WIDTH=" + std::to_string(record.Width(c));
        out_ += " VALIGN=\"top\" ";
        const std::vector<std::int32_t> backgrounds =
            ReadCellBackgrounds(t.table->Auxiliary(), rows, columns);
        if (t.table->Auxiliary()) out_ += Background(backgrounds[std::size_t(n)]);
        out_ += " >\r\n";
        return;
    }
    // The table ends.
    if (cells > 0) {
        out_ += "\r\n";
        closeCell();
        out_ += "</TD></TR>";
    }
    out_ += "</TABLE>";
    const OuterState o = t.outer;
    tables_.pop_back();
    styleNumber_ = o.styleNumber;
    paragraphFont_ = o.paragraphFont;
    font_ = o.font;
    open_ = o.open;  // nothing of it is open in the output: its tags closed before the table
    fontTagOpen_ = false;
    textSinceCode_ = o.textSinceCode;
    numbering_ = o.numbering;
    counter_ = o.counter;
    styleLayout_ = o.styleLayout;
    linkOpen_ = false;
    openLink_ = nullptr;
    changed_ = false;
    if (o.paragraphOpen) {
        if (numbering_ == 6 || numbering_ == 10) out_ += "</LI>";
        out_ += "</DIV>\r\n";
    }
    paragraphOpen_ = false;
}

}  // namespace orvo
