// The editing actions of orvo-cli edit.
#include "EditActions.h"

#include "EditLinks.h"

#include <charconv>
#include <cstdlib>

#include "base/Cp1252.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "textbox/uKYTbox.h"

namespace orvo::cli {
namespace {

struct EditCommand {
    std::string_view name;
    std::string_view takes;
};

constexpr EditCommand kCommands[] = {
    {"ApplyColour", "RRGGBB"},
    {"ApplyFontName", "NAME"},
    {"ApplyFontSize", "POINTS"},
    {"ApplyFontStyle", "BITS (1 bold, 2 italic, 4 underline, 8 strike-out)"},
    {"SetStyleBits", "SET CLEAR"},
    {"ApplyVerticalPosition", "0 normal, 1 subscript, 2 superscript"},
    {"FormatNormal", ""},
    {"FormatSubscript", ""},
    {"FormatSuperscript", ""},
    {"SetAlignment", "0 left, 1 right, 2 centre"},
    {"SetNumbering", "0 none, 6 numbered, 10 bulleted"},
    {"ApplyParagraphStyle", "NAME"},
    {"SetUnit", "0 cm, 1 mm, 2 in, 3 pt, 4 pc, 5 px"},
    {"SetLineHeight", "VALUE in the paragraph's unit"},
    {"SetSpaceBefore", "VALUE"},
    {"SetSpaceAfter", "VALUE"},
    {"SetFirstIndent", "VALUE"},
    {"SetLeftMargin", "VALUE"},
    {"SetRightMargin", "VALUE"},
    {"SetLinkColour", "RRGGBB"},
    {"SetLinkSize", "POINTS (-1 the text's size)"},
    {"SetLinkStyle", "BITS"},
};

std::optional<std::int32_t> Integer(const std::string& text) {
    std::int32_t value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> Real(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size()) return std::nullopt;
    return value;
}

// RRGGBB as a Windows colour value (0x00BBGGRR).
std::optional<std::int32_t> Colour(const std::string& text) {
    if (text.size() != 6) return std::nullopt;
    std::uint32_t rgb = 0;
    const auto r = std::from_chars(text.data(), text.data() + 6, rgb, 16);
    if (r.ec != std::errc() || r.ptr != text.data() + 6) return std::nullopt;
    return std::int32_t(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

// The text after the first word of `rest` (a name may hold blanks).
std::string AfterFirstWord(const std::string& rest) {
    std::size_t i = rest.find_first_not_of(" \t");
    if (i == std::string::npos) return {};
    i = rest.find_first_of(" \t", i);
    if (i == std::string::npos) return {};
    i = rest.find_first_not_of(" \t", i);
    return i == std::string::npos ? std::string() : rest.substr(i);
}

}  // namespace

std::vector<std::pair<std::string_view, std::string_view>> EditCommandList() {
    std::vector<std::pair<std::string_view, std::string_view>> list;
    for (const EditCommand& c : kCommands) list.emplace_back(c.name, c.takes);
    return list;
}

EditSession::EditSession(TKYTset& set, IMessages& messages)
    : set_(set),
      messages_(messages),
      undo_(UndoListOf(set)),
      frameId_(undo_.Frames().NewFrameId()) {}

EditSession::~EditSession() {
    editing_.reset();
    undo_.Frames().RemoveFrame(frameId_);
}

void EditSession::Attach(TKYTbox& box, TKYTtesto& text, std::int32_t pageId) {
    editing_.reset();
    undo_.Frames().SetFrame(frameId_, pageId, &controls_);
    EditContext context(set_, text, messages_);
    context.undo = &undo_;
    editing_ = std::make_unique<BoxEditing>(box, std::move(context), &controls_, pageId, frameId_);
}

IBoxEditing& EditSession::Editing() {
    static NoBoxEditing none;
    return editing_ ? static_cast<IBoxEditing&>(*editing_) : none;
}

std::optional<std::optional<std::string>> EditSession::Run(const std::string& verb,
                                                           const std::vector<std::string>& words,
                                                           const std::string& rest) {
    if (verb == "command" && words.size() == 1 && words[0] == "EditUndo")
        return Run("undo", {}, {});
    if (verb == "undo") {
        std::int32_t count = 1;
        if (words.size() > 1) return std::optional<std::string>("undo takes at most one count");
        if (words.size() == 1) {
            const auto n = Integer(words[0]);
            if (!n || *n < 1) return std::optional<std::string>("undo takes a count of 1 or more");
            count = *n;
        }
        if (std::size_t(count) > undo_.Count())
            return std::optional<std::string>("there are only " + std::to_string(undo_.Count()) +
                                              " steps to undo");
        if (editing_) editing_->EndBursts();
        undo_.UndoFromList(count);
        return std::optional<std::string>();
    }
    if (verb == "link" || verb == "unlink" || verb == "speclink") {
        if (!editing_) return std::optional<std::string>(std::string(kEditingNotBuilt));
        if (verb == "unlink") {
            editing_->Text().ApplyLink(nullptr);
            return std::optional<std::string>();
        }
        if (verb == "speclink") return SpecialLinkAction(set_, editing_->Text(), words);
        return Link(words, rest);
    }
    if (verb == "command" && !words.empty()) {
        for (const EditCommand& c : kCommands)
            if (c.name == words[0]) {
                if (!editing_) return std::optional<std::string>(std::string(kEditingNotBuilt));
                return Command(words, rest);
            }
    }
    return std::nullopt;
}

std::optional<std::string> EditSession::Link(const std::vector<std::string>& words,
                                             const std::string& rest) {
    if (words.empty()) return "link takes a page number, an address or file:NAME";
    // An address or a file name may hold blanks: the whole rest of the line.
    std::string target = rest;
    target.erase(0, target.find_first_not_of(" \t"));
    target.erase(target.find_last_not_of(" \t") + 1);
    return LinkAction(set_, editing_->Text(), target);
}

std::optional<std::string> EditSession::Command(const std::vector<std::string>& words,
                                                const std::string& rest) {
    const std::string& name = words[0];
    TKYTTextAttributes& text = editing_->Text();
    TKYTParaAttributes& para = editing_->Para();
    const std::string arg = words.size() > 1 ? words[1] : std::string();
    auto integer = [&]() -> std::optional<std::int32_t> {
        return words.size() == 2 ? Integer(arg) : std::nullopt;
    };
    auto byte = [&]() -> std::optional<std::uint8_t> {
        const auto n = integer();
        if (!n || *n < 0 || *n > 255) return std::nullopt;
        return std::uint8_t(*n);
    };
    const std::string bad = name + " takes " + std::string([&] {
                                for (const EditCommand& c : kCommands)
                                    if (c.name == name) return c.takes;
                                return std::string_view();
                            }());
    if (name == "FormatNormal" || name == "FormatSubscript" || name == "FormatSuperscript") {
        text.ApplyVerticalPosition(name == "FormatNormal" ? 0 : name == "FormatSubscript" ? 1 : 2);
        return std::nullopt;
    }
    if (name == "ApplyFontName" || name == "ApplyParagraphStyle") {
        const std::string value = Utf8ToCp1252(AfterFirstWord(rest));
        if (value.empty()) return bad;
        if (name == "ApplyFontName")
            text.ApplyFontName(value);
        else
            para.ApplyParagraphStyle(value);
        return std::nullopt;
    }
    if (name == "ApplyColour" || name == "SetLinkColour") {
        const auto colour = words.size() == 2 ? Colour(arg) : std::nullopt;
        if (!colour) return bad;
        if (name == "ApplyColour")
            text.ApplyColour(*colour);
        else
            para.SetLinkColour(*colour);
        return std::nullopt;
    }
    if (name == "SetStyleBits") {
        const auto set = words.size() == 3 ? Integer(words[1]) : std::nullopt;
        const auto clear = words.size() == 3 ? Integer(words[2]) : std::nullopt;
        if (!set || !clear || *set < 0 || *set > 15 || *clear < 0 || *clear > 15) return bad;
        text.SetStyleBits(std::uint8_t(*set), std::uint8_t(*clear));
        return std::nullopt;
    }
    if (name == "ApplyFontSize" || name == "SetLinkSize") {
        const auto n = integer();
        if (!n || *n < -1 || *n > 1638) return bad;
        if (name == "ApplyFontSize")
            text.ApplyFontSize(*n);
        else
            para.SetLinkSize(*n);
        return std::nullopt;
    }
    if (name.starts_with("Set") && name != "SetAlignment" && name != "SetNumbering" &&
        name != "SetUnit" && name != "SetLinkStyle") {
        const auto value = words.size() == 2 ? Real(arg) : std::nullopt;
        if (!value || *value < -10000 || *value > 10000) return bad;
        if (name == "SetLineHeight") para.SetLineHeight(*value);
        if (name == "SetSpaceBefore") para.SetSpaceBefore(*value);
        if (name == "SetSpaceAfter") para.SetSpaceAfter(*value);
        if (name == "SetFirstIndent") para.SetFirstIndent(*value);
        if (name == "SetLeftMargin") para.SetLeftMargin(*value);
        if (name == "SetRightMargin") para.SetRightMargin(*value);
        return std::nullopt;
    }
    const auto b = byte();
    if (!b) return bad;
    if (name == "ApplyFontStyle") text.ApplyFontStyle(*b);
    if (name == "ApplyVerticalPosition") text.ApplyVerticalPosition(*b);
    if (name == "SetAlignment") para.SetAlignment(*b);
    if (name == "SetNumbering") para.SetNumbering(*b);
    if (name == "SetUnit") para.SetUnit(*b);
    if (name == "SetLinkStyle") para.SetLinkStyle(*b);
    return std::nullopt;
}

}  // namespace orvo::cli
