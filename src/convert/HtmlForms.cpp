// The HTML of links with their targets and window scripts, form inputs, buttons, form starts,
// multimedia objects and markers.
#include <algorithm>

#include "base/ByteReader.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "convert/HtmlExport.h"
#include "convert/HtmlScripts.h"
#include "convert/HtmlText.h"
#include "model/BrowseSequence.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "objects/FormRecords.h"

namespace orvo {
namespace {

using K = TOggettiHel;

void AddOnce(std::vector<TKYToggetto*>* list, TKYToggetto* object) {
    if (!list || !object) return;
    if (std::find(list->begin(), list->end(), object) == list->end()) list->push_back(object);
}

TKYToggetto* LivePicture(const TKYTset& set, std::int32_t identifier) {
    if (identifier < 0) return nullptr;
    TKYToggetto* picture = set.ObjectByKind(K::immagine, identifier);
    return picture && !picture->IsFree() ? picture : nullptr;
}

std::string Number(std::int64_t n) {
    return std::to_string(n);
}

// Text for a text area: escaped, its line breaks kept as CR LF.
std::string AreaText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (c == '\n' || c == '\r')
            out += "\r\n";
        else
            out += EscapeText(std::string_view(&text[i], 1));
    }
    return out;
}

// The page before or after `page` in its chapter's sequence; -1 when there is none.
std::int32_t ChapterNeighbour(const TKYTset& set, const TKYToggetto& page, bool next) {
    std::vector<SequenceEntry> entries;
    for (const auto& p : set.KindList(K::testoHtml)) {
        if (!p) continue;
        const PageRecord r = PageRecord::Read(*p);
        entries.push_back({p->Identifier(), r.Group(), r.Order(), p->IsFree()});
    }
    const std::int32_t found = next ? NextInSequence(entries, page.Identifier())
                                    : PreviousInSequence(entries, page.Identifier());
    return found == page.Identifier() ? -1 : found;
}

}  // namespace

std::string HtmlTextWriter::SpecialTargetFile(const TKYToggetto& object) {
    const SpecialLink link = SpecialLink::Read(object);
    const TKYTset& set = *exporter_.LinkedKYTset;
    if (link.type == 4 || link.type == 5) {
        if (!context_.page) return {};
        const std::int32_t page = ChapterNeighbour(set, *context_.page, link.type == 5);
        TKYToggetto* target = page >= 0 ? LivePage(set, page) : nullptr;
        return target ? exporter_.ObjectFileName(*target, 0) : std::string();
    }
    return WindowCall(exporter_, context_, 2, link, false, true);
}

std::string HtmlTextWriter::LinkHref(const TKYToggetto& object) {
    if (object.Kind() != K::speclink) {
        const std::string file = exporter_.ObjectFileName(object, 0);
        if (file.empty()) return {};
        // A page's own code is its head code, not code of a link.
        const std::string custom = object.Kind() == K::testoHtml
                                       ? std::string()
                                       : ResolveCustomCode(exporter_, context_, object);
        return "HREF=\"" + file + "\" " + " " + custom;
    }
    const SpecialLink link = SpecialLink::Read(object);
    const std::string name = EscapeText(CleanWindowName(link.name));
    std::string href;
    switch (link.type) {
        case 1: {
            if (link.action == 6) {
                href = "HREF=\"#an" + Number(link.anchor) + "\" TARGET=_self";
                break;
            }
            const std::string file = SpecialTargetFile(object);
            if (file.empty()) return {};
            switch (link.action) {
                case 0:
                    href = "TARGET=_self HREF=\"" + file + "\"";
                    break;
                case 1:
                    href = "TARGET=\"" + name + "\" HREF=\"" + file + "\"";
                    break;
                case 3:
                    href =
                        "HREF=\"" + WindowCall(exporter_, context_, 3, link, false, false) + "\"";
                    break;
                case 2:
                case 4:
                    href = "HREF=\"" + WindowCall(exporter_, context_, 0, link, true, true) + "\"";
                    break;
                default:
                    href = "HREF=\"" + file + "\"";
            }
            break;
        }
        case 2:
            href = "HREF=\"" + CloseWindowCall(true, link.name, context_.scriptFlags) + "\" ";
            break;
        case 4:
        case 5: {
            const std::string file = SpecialTargetFile(object);
            if (file.empty()) return {};
            href = "HREF=\"" + file + "\"";
            break;
        }
        case 3:
        case 6:
            break;
        default:
            return {};
    }
    return href + " " + ResolveCustomCode(exporter_, context_, object);
}

std::string HtmlTextWriter::LinkOnClick(const TKYToggetto& object) {
    const std::string custom = object.Kind() == K::testoHtml
                                   ? std::string()
                                   : ResolveCustomCode(exporter_, context_, object);
    auto go = [&](const std::string& file) {
        return " onClick=\"javascript:location='" + ScriptAddress(file) + "'\" ";
    };
    if (object.Kind() != K::speclink) {
        const std::string file = exporter_.ObjectFileName(object, 0);
        if (file.empty()) return {};
        return go(file) + " " + custom;
    }
    const SpecialLink link = SpecialLink::Read(object);
    std::string click;
    switch (link.type) {
        case 1:
            switch (link.action) {
                case 6:
                    click = go("#an" + Number(link.anchor));
                    break;
                case 3:
                    click = " onClick=\"" + WindowCall(exporter_, context_, 3, link, false, false) +
                            "\"";
                    break;
                case 2:
                case 4:
                    click =
                        " onClick=\"" + WindowCall(exporter_, context_, 0, link, true, true) + "\"";
                    break;
                case 1:
                    // Another frame or named window: opened by its name, which reaches the
                    // frame when it exists.
                    click = " onClick=\"" + WindowCall(exporter_, context_, 0, link, false, true) +
                            "\"";
                    break;
                default: {
                    // The page itself (with its anchor) in the current window.
                    const std::string file = SpecialTargetFile(object);
                    if (file.empty()) return {};
                    click = go(file);
                }
            }
            break;
        case 2:
            click = " onClick=\"" + CloseWindowCall(true, link.name, context_.scriptFlags) + "\" ";
            break;
        case 4:
        case 5: {
            const std::string file = SpecialTargetFile(object);
            if (file.empty()) return {};
            click = go(file);
            break;
        }
        default:
            return {};
    }
    return click + " " + custom;
}

void HtmlTextWriter::FormInput(const TKYToggetto& input) {
    const RecordView r = input.ReadView();
    const std::string custom = ResolveCustomCode(exporter_, context_, input);
    const std::string name = EscapeText(r.PStr(kInputName));
    const std::string value = EscapeText(r.PStr(kInputValue));
    const bool hasValue = r.U8(kInputHasValue) == 1;
    auto stream = [&] {
        Result<std::string> bytes = input.ContentBytes();
        return bytes ? *bytes : std::string();
    };
    std::string s;
    switch (FormInputKind(input.Subtype())) {
        case FormInputKind::Text:
        case FormInputKind::Password:
        case FormInputKind::File:
            s = "<INPUT";
            if (input.Subtype() == 2) s += " TYPE=password";
            if (input.Subtype() == 3) s += " TYPE=file";
            s += " NAME=\"" + name + "\"";
            if (hasValue) s += " VALUE=\"" + value + "\"";
            s += " SIZE=" + Number(r.U8(kInputSize)) + " " + custom + ">\r\n";
            break;
        case FormInputKind::TextArea:
            s = "<TEXTAREA NAME=\"" + name + "\" ROWS=" + Number(r.U8(kInputRows)) +
                " COLS=" + Number(r.U8(kInputColumns)) + " " + custom + ">\r\n";
            if (hasValue) s += AreaText(stream());
            // No line break before the end tag: a reader would send it as part of the text
            // (and an empty box as one line break).
            s += "</TEXTAREA>";
            break;
        case FormInputKind::Hidden:
        case FormInputKind::Radio:
        case FormInputKind::CheckBox: {
            static constexpr const char* kTypes[] = {"hidden ", "radio ", "checkbox "};
            s = std::string("<INPUT TYPE=") + kTypes[input.Subtype() - 5] + "NAME=\"" + name +
                "\" VALUE=\"" + value + "\" ";
            if (input.Subtype() != 5 && r.U8(kInputChecked) == 1) s += "CHECKED ";
            s += " " + custom + ">\r\n";
            break;
        }
        case FormInputKind::List:
        case FormInputKind::DropDown: {
            s = "<SELECT NAME=\"" + name + "\" ";
            if (input.Subtype() == 8) {
                s += " SIZE=" + Number(r.U8(kInputSize));
                if (r.U8(kInputMultiple) == 1) s += " MULTIPLE";
            }
            s += " " + custom + " >";
            for (const FormListItem& item : ReadListItems(stream())) {
                s += "<OPTION VALUE=\"" + EscapeText(item.value) + "\"";
                if (item.selected) s += " SELECTED";
                s += " >" + EscapeText(item.text) + "\r\n";
            }
            s += "</SELECT>";
            break;
        }
        case FormInputKind::Floating: {
            const TKYTset& set = *exporter_.LinkedKYTset;
            TKYToggetto* page = LivePage(set, r.I32(kFloatingPage));
            if (!page) return;
            int mode = 0;
            if (r.U8(kFloatingNested) != 1 && context_.secondaries) {
                mode = 1;
                if (std::find(context_.secondaries->begin(), context_.secondaries->end(),
                              page->Identifier()) == context_.secondaries->end())
                    context_.secondaries->push_back(page->Identifier());
            }
            const std::string unit = r.U8(kFloatingPercent) == 1 ? "%" : "";
            s = "<IFRAME  FRAMEBORDER=\"no\"  HEIGHT=" + Number(r.I16(kFloatingHeight)) + unit +
                " WIDTH=" + Number(r.I16(kFloatingWidth)) + unit + "  SRC=\"" +
                exporter_.ObjectFileName(*page, mode) + "\" SCROLLING=yes " + custom +
                ">\r\n</IFRAME>\r\n";
            break;
        }
        default:
            return;
    }
    out_ += s;
    textSinceCode_ = true;
    previousSpace_ = false;
}

void HtmlTextWriter::Button(const TKYToggetto& button) {
    const RecordView r = button.ReadView();
    const TKYTset& set = *exporter_.LinkedKYTset;
    TKYToggetto* picture = LivePicture(set, r.I32(kButtonPicture));
    std::int32_t width = r.I16(kButtonWidth), height = r.I16(kButtonHeight);
    if (picture && r.U8(kButtonPercent) == 1) {
        width = r.I16(kButtonNaturalWidth) * width / 100;
        height = r.I16(kButtonNaturalHeight) * height / 100;
    }
    const std::string size = " WIDTH=" + Number(width) + " HEIGHT=" + Number(height);
    const int type = button.Subtype();
    if (type == 3 && picture) {
        AddOnce(context_.images, picture);
        out_ += "<A HREF=\"#\" onclick=\"document.forms[" +
                Number(std::max(context_.forms - 1, 0)) + "].reset()\"><IMG SRC=\"" +
                exporter_.ObjectFileName(*picture, 0) + "\" BORDER=0" + size + " ></A>\r\n";
        textSinceCode_ = true;
        previousSpace_ = false;
        return;
    }
    static constexpr const char* kTypes[] = {"submit", "submit", "image", "reset"};
    std::string s = std::string("<INPUT TYPE=") + kTypes[type >= 1 && type <= 3 ? type : 1];
    const std::int32_t linkCode = r.I32(kButtonLink);
    TKYToggetto* link = linkCode != -1 ? set.ObjectByCode(linkCode) : nullptr;
    if (link && link->IsFree()) link = nullptr;
    const std::string name = r.PStr(kButtonName);
    if (!link && !name.empty()) s += " NAME=\"" + EscapeText(name) + "\" ";
    if (picture && (type == 2 || type == 1)) {
        AddOnce(context_.images, picture);
        s += " SRC=\"" + exporter_.ObjectFileName(*picture, 0) + "\" BORDER=0" + size;
    }
    s += " VALUE=\"" + EscapeText(r.PStr(kButtonCaption)) + "\"  " +
         ResolveCustomCode(exporter_, context_, button);
    if (link) s += LinkOnClick(*link);
    out_ += s + ">\r\n";
    textSinceCode_ = true;
    previousSpace_ = false;
}

void HtmlTextWriter::FormStart(const TKYToggetto& form) {
    // The form encloses the paragraph it sits in: what is written of that paragraph is taken
    // back and follows the FORM tag. Within a table only a paragraph of the current cell is.
    std::string taken;
    if (paragraphOpen_) {
        const std::size_t div = out_.rfind("<DIV");
        bool tableBetween = div == std::string::npos;
        for (std::string_view tag : {"<TABLE", "<TD", "</TD>", "</TABLE>"})
            tableBetween = tableBetween || out_.find(tag, div) != std::string::npos;
        if (!tableBetween) {
            taken = out_.substr(div);
            out_.resize(div);
        }
    }
    const RecordView r = form.ReadView();
    std::string s;
    if (context_.forms > 0) s += "</FORM>";
    s += "<FORM ";
    ++context_.forms;
    const std::string action = EscapeText(r.PStr(kFormAction));
    switch (form.Subtype()) {
        case 1:
        case 2:
            s += std::string("TARGET=_top METHOD=") + (form.Subtype() == 1 ? "GET" : "POST") +
                 " ACTION=\"" + action + "\" ";
            if (r.U8(kFormHasEncoding) == 1)
                s += " ENCTYPE=\"" + EscapeText(r.PStr(kFormEncoding)) + "\" ";
            break;
        case 4:
            // Mail is sent by POST: a GET form would put the fields into the address.
            s += "METHOD=POST ACTION=\"mailto:" + action + "\" ENCTYPE=\"text/plain\" ";
            break;
        default:
            s += "TARGET=_top METHOD=GET ";
    }
    s += ' ';
    s += ResolveCustomCode(exporter_, context_, form);
    s += ">\r\n";
    out_ += s;
    out_ += taken;
}

std::string HtmlTextWriter::TemplateCode(const TKYToggetto& media) {
    const TKYTset& set = *exporter_.LinkedKYTset;
    const std::int32_t source = media.ReadView().I32(kMediaSource);
    const TKYToggetto* prototype = source >= 0 ? set.ObjectByKind(K::custom, source) : nullptr;
    if (!prototype || prototype->IsFree() || !prototype->Auxiliary()) return {};
    const std::string& stream = *prototype->Auxiliary();
    // The header of the prototype's code lists the objects "!ReCF:" names by index.
    std::vector<std::int32_t> objects;
    if (stream.size() >= 4) {
        ByteReader reader(stream);
        const std::int32_t headerLength = reader.I32();
        if (headerLength > 0 && std::size_t(headerLength) <= reader.Remaining())
            for (std::int32_t i = 0; i + 4 <= headerLength; i += 4) objects.push_back(reader.I32());
    }
    // The instance's properties: name and value lines alternating.
    std::vector<std::pair<std::string, std::string>> properties;
    if (Result<std::string> content = media.ContentBytes(); content) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < content->size()) {
            std::size_t end = content->find('\n', start);
            if (end == std::string::npos) end = content->size();
            std::string line = content->substr(start, end - start);
            if (line.ends_with('\r')) line.pop_back();
            lines.push_back(std::move(line));
            start = end + 1;
        }
        for (std::size_t i = 0; i + 1 < lines.size(); i += 2)
            properties.emplace_back(lines[i], lines[i + 1]);
    }
    const std::string code = prototype->AuxiliaryCode();
    std::string out;
    std::size_t at = 0;
    while (at < code.size()) {
        const std::size_t ref = code.find("!ReC", at);
        if (ref == std::string::npos || ref + 6 > code.size() || code[ref + 5] != ':') {
            out += code.substr(at, ref == std::string::npos ? std::string::npos : ref + 4 - at);
            if (ref == std::string::npos) break;
            at = ref + 4;
            continue;
        }
        out += code.substr(at, ref - at);
        if (code[ref + 4] == 'P') {
            const std::size_t bang = code.find('!', ref + 6);
            if (bang == std::string::npos) {
                out += code.substr(ref);
                break;
            }
            const std::string name = code.substr(ref + 6, bang - ref - 6);
            for (const auto& [key, value] : properties)
                if (key == name) {
                    out += value;
                    break;
                }
            at = bang + 1;
        } else if (code[ref + 4] == 'F') {
            std::uint32_t index = 0;
            const int digits = ParseHex(std::string_view(code).substr(ref + 6, 8), 8, index);
            if (digits == 8 && index < objects.size())
                if (TKYToggetto* object = set.ObjectByCode(objects[index]);
                    object && !object->IsFree()) {
                    out += exporter_.ObjectFileName(*object, 0);
                    AddOnce(context_.images, object);
                }
            at = ref + 6 + std::size_t(digits);
        } else {
            out += code.substr(ref, 6);
            at = ref + 6;
        }
    }
    // "!RefX:" and "!RefY:" give the instance's size, other references their files.
    return ResolveCustomText(exporter_, context_, out, &media);
}

void HtmlTextWriter::Multimedia(const TKYToggetto& media) {
    const TKYTset& set = *exporter_.LinkedKYTset;
    const RecordView r = media.ReadView();
    const int kind = media.Subtype();
    if (kind == 5) {
        out_ += ResolveCustomCode(exporter_, context_, media);
        textSinceCode_ = true;
        return;
    }
    if (kind == 6) {
        out_ += TemplateCode(media);
        textSinceCode_ = true;
        return;
    }
    if (kind < 1 || kind > 4) return;
    const std::int32_t source = r.I32(kMediaSource);
    TKYToggetto* file = source >= 0 ? set.ObjectByKind(K::genLink, source) : nullptr;
    if (file && file->IsFree()) file = nullptr;
    const std::string name = file ? exporter_.ObjectFileName(*file, 0) : std::string();
    AddOnce(context_.images, name.empty() ? nullptr : file);
    const bool cyclic = r.U8(kMediaAction) == 1;
    const std::int16_t cycles = r.I16(kMediaCycles);
    const std::string unit = r.U8(kMediaPercent) == 1 ? "%" : "";
    const std::string width = Number(r.I16(kMediaWidth)) + unit;
    const std::string height = Number(r.I16(kMediaHeight)) + unit;
    std::string s = "<EMBED SRC=\"" + name + "\"";
    if (kind <= 2) {
        if (cyclic)
            s += " AUTOSTART=true HIDDEN=true LOOP=" +
                 (cycles < 0 ? std::string("true") : Number(cycles));
        else
            s += " CONTROLS=SMALLCONSOLE height=15";
        s += ">\r\n";
    } else {
        s += " WIDTH=" + width + " HEIGHT=" + height;
        if (cyclic)
            s += std::string(" CONTROLLER=false AUTOSTART=true LOOP=") +
                 (cycles == -1 ? "true" : "false");
        else
            s += " CONTROLS=true ";
        if (Lower1252(name).ends_with(".mov"))
            s += " URL=\"http://www.apple.com/quicktime/download/\"";
        s += " >";
    }
    if (TKYToggetto* poster = LivePicture(set, r.I32(kMediaPoster))) {
        AddOnce(context_.images, poster);
        s += "<IMG BORDER=0 ALIGN=MIDDLE ALT=\"" + EscapeText(poster->Name()) + "\" SRC=\"" +
             exporter_.ObjectFileName(*poster, 0) + "\" HEIGHT=" + height + " WIDTH=" + width +
             " >";
    }
    out_ += s + "</EMBED>\r\n";
    textSinceCode_ = true;
    previousSpace_ = false;
}

void HtmlTextWriter::Marker(const TKYToggetto& marker) {
    const TKYTset& set = *exporter_.LinkedKYTset;
    const RecordView r = marker.ReadView();
    switch (marker.Subtype()) {
        case kMarkerAnnotation: {
            std::string text;
            if (r.U8(kAnnotationExported) != 0 && marker.Auxiliary())
                text = CommentText(*marker.Auxiliary());
            out_ += "<!--" + text + "-->";
            break;
        }
        case kMarkerCustomHtml:
            out_ += ResolveCustomCode(exporter_, context_, marker);
            textSinceCode_ = true;
            break;
        case kMarkerWindowScript: {
            const TKYToggetto* link = set.ObjectByCode(r.I32(kShortReference));
            if (!link || link->IsFree() || link->Kind() != K::speclink) break;
            const SpecialLink special = SpecialLink::Read(*link);
            if (special.type == 1) {
                const bool features = special.action == 2 || special.action == 4;
                out_ += WindowCall(exporter_, context_, 1, special, features, false);
            } else if (special.type == 2) {
                out_ += CloseWindowCall(false, special.name, context_.scriptFlags);
            }
            break;
        }
        case kMarkerAnchor: {
            const bool wasOpen = linkOpen_ && openLink_;
            if (linkOpen_) out_ += "</A>";
            out_ += "<A NAME=\"an" + Number(r.I32(kShortReference)) + "\"></A>";
            if (wasOpen) out_ += LinkStart(*openLink_) + " >";
            break;
        }
        default:
            break;  // markers of the editor only
    }
}

}  // namespace orvo
