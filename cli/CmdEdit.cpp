// orvo-cli edit: runs editor actions on a page through the text box's input, as a user would
// with the keyboard, the mouse and the clipboard, then stores the page and saves the document.
#include <charconv>
#include <fstream>
#include <iostream>
#include <optional>
#include <ostream>
#include <sstream>

#include "CliCommand.h"
#include "EditActions.h"
#include "app/MenuCatalogue.h"
#include "base/Cp1252.h"
#include "model/LegacyText.h"
#include "model/TextForms.h"
#include "model/uKYTset.h"
#include "platform/FixedMetrics.h"
#include "platform/IClipboard.h"
#include "platform/IScheduler.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTboxInput.h"
#include "textbox/uKYTboxView.h"
#include "textbox/uKYTundo.h"

namespace orvo::cli {
namespace {

// The menu commands that act on a text box, by their component names.
struct BoxCommand {
    std::string_view name;
    CommandId id;
};
constexpr BoxCommand kBoxCommands[] = {
    {"EditUndo", CommandId::EditUndo},           {"EditCut", CommandId::EditCut},
    {"EditCopy", CommandId::EditCopy},           {"EditPaste", CommandId::EditPaste},
    {"EditSelectAll", CommandId::EditSelectAll},
};

struct NamedKey {
    std::string_view name;
    BoxKey key;
};
// Qt's names of keys, and their longer spellings.
constexpr NamedKey kKeys[] = {
    {"Backspace", BoxKey::Backspace},
    {"Return", BoxKey::Return},
    {"Enter", BoxKey::Return},
    {"PgUp", BoxKey::PageUp},
    {"PageUp", BoxKey::PageUp},
    {"PgDown", BoxKey::PageDown},
    {"PageDown", BoxKey::PageDown},
    {"End", BoxKey::End},
    {"Home", BoxKey::Home},
    {"Left", BoxKey::Left},
    {"Up", BoxKey::Up},
    {"Right", BoxKey::Right},
    {"Down", BoxKey::Down},
    {"Del", BoxKey::Delete},
    {"Delete", BoxKey::Delete},
    {"F9", BoxKey::F9},
};

// The frame set of the command line: a text drag is remembered so that the release drops it.
class CliInputHost final : public IBoxInputHost {
public:
    void TakeFocus(TKYTboxInput& box) override {
        if (!box.Focused()) box.FocusIn();
    }
    void StartTextDrag(TKYTboxInput& source) override { dragSource = &source; }
    TKYTboxInput* dragSource = nullptr;
};

// One script line split into words; the rest of the line after the first word is kept for
// `type` and `clipboard-text`.
struct Line {
    std::string verb;
    std::string rest;
    std::vector<std::string> words;
};

Line Split(const std::string& text) {
    Line line;
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) return line;
    std::size_t end = text.find_first_of(" \t", i);
    line.verb = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
    if (end != std::string::npos) {
        line.rest = text.substr(end + 1);
        std::istringstream words(line.rest);
        for (std::string w; words >> w;) line.words.push_back(w);
    }
    return line;
}

std::optional<std::int32_t> Number(const std::string& text) {
    std::int32_t value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

class ScriptRunner {
public:
    ScriptRunner(TKYTboxInput& input, MemoryClipboard& clipboard, CliInputHost& host,
                 TKYTundoList& undo, RecordingMessages& messages)
        : input_(input),
          box_(input.Box()),
          clipboard_(clipboard),
          host_(host),
          undo_(undo),
          messages_(messages) {}

    // Runs one line; the message when it cannot be run.
    std::optional<std::string> Run(const std::string& text) {
        Line line = Split(text);
        if (line.verb.empty() || line.verb[0] == '#') return std::nullopt;
        input_.ClearRefusal();
        messages_.Clear();
        std::optional<std::string> error = Dispatch(line);
        if (!error && !input_.Refusal().empty()) error = input_.Refusal();
        // A message of the editing operations means the action did not go through.
        if (!error && !messages_.Shown().empty()) error = Cp1252ToUtf8(messages_.Shown()[0].text);
        return error;
    }

    EditSession* session = nullptr;  // the text-changing actions and undo

private:
    std::optional<std::string> Dispatch(const Line& line) {
        const std::string& v = line.verb;
        if (session)
            if (auto done = session->Run(v, line.words, line.rest)) return *done;
        if (v == "type") return Type(line.rest);
        if (v == "key") return Key(line);
        if (v == "click" || v == "dblclick") return Click(line, v == "dblclick");
        if (v == "drag") return Drag(line);
        if (v == "caret") return Caret(line);
        if (v == "select") return Select(line);
        if (v == "copy") return Refused(input_.CopySelection(), "nothing was copied");
        if (v == "cut") return Refused(input_.CutSelection(), "nothing is selected");
        if (v == "paste") return Refused(input_.Paste(), "nothing was pasted");
        if (v == "clipboard-text") {
            clipboard_.SetContents({{std::string(kClipText), Utf8ToCp1252(line.rest)}});
            return std::nullopt;
        }
        if (v == "command") return Command(line);
        if (v == "undo") return Command(Line{"command", "EditUndo", {"EditUndo"}});
        return "unknown action \"" + v + "\"";
    }

    std::optional<std::string> Refused(bool done, std::string_view why) {
        if (done || !input_.Refusal().empty()) return std::nullopt;
        return std::string(why);
    }

    std::optional<std::string> Type(const std::string& utf8) {
        // A character outside Windows-1252 becomes 0x01, which cannot be typed.
        for (const char c : Utf8ToCp1252(utf8, '\x01')) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 32) return "a character of the text cannot be typed";
            input_.Char(byte);
            if (!input_.Refusal().empty()) return input_.Refusal();
        }
        return std::nullopt;
    }

    std::optional<std::string> Key(const Line& line) {
        if (line.words.size() != 1) return "key takes one key name";
        std::string_view name = line.words[0];
        unsigned modifiers = 0;
        for (;;) {
            if (name.starts_with("Shift+")) {
                modifiers |= kModShift;
                name.remove_prefix(6);
            } else if (name.starts_with("Ctrl+")) {
                modifiers |= kModCtrl;
                name.remove_prefix(5);
            } else if (name.starts_with("Alt+")) {
                modifiers |= kModAlt;
                name.remove_prefix(4);
            } else {
                break;
            }
        }
        for (const NamedKey& k : kKeys)
            if (k.name == name) {
                input_.KeyDown(k.key, modifiers);
                return std::nullopt;
            }
        return "unknown key \"" + line.words[0] + "\"";
    }

    std::optional<std::string> Points(const Line& line, std::size_t count,
                                      std::vector<std::int32_t>& out) {
        if (line.words.size() != count)
            return line.verb + " takes " + std::to_string(count) + " numbers";
        for (const std::string& w : line.words) {
            const auto n = Number(w);
            if (!n) return "\"" + w + "\" is not a number";
            out.push_back(*n);
        }
        return std::nullopt;
    }

    std::optional<std::string> Click(const Line& line, bool twice) {
        std::vector<std::int32_t> xy;
        if (auto e = Points(line, 2, xy)) return e;
        input_.MouseDown(MouseButton::Left, xy[0], xy[1], 0);
        input_.MouseUp(MouseButton::Left, xy[0], xy[1], 0);
        if (twice) {
            input_.DoubleClick(xy[0], xy[1]);
            input_.MouseUp(MouseButton::Left, xy[0], xy[1], 0);
        }
        return std::nullopt;
    }

    std::optional<std::string> Drag(const Line& line) {
        std::vector<std::int32_t> p;
        if (auto e = Points(line, 4, p)) return e;
        host_.dragSource = nullptr;
        input_.MouseDown(MouseButton::Left, p[0], p[1], 0);
        input_.MouseMove(p[2], p[3], 0);
        if (host_.dragSource) {
            // The text under the press is dragged: the release drops it.
            input_.DragOver(*host_.dragSource, p[2], p[3]);
            const bool dropped = input_.Drop(*host_.dragSource, p[2], p[3]);
            if (!dropped && input_.Refusal().empty()) return "the drop was refused there";
            return std::nullopt;
        }
        input_.MouseUp(MouseButton::Left, p[2], p[3], 0);
        return std::nullopt;
    }

    // A body paragraph's index and a byte index in its text.
    std::optional<std::string> Position(const std::string& para, const std::string& character,
                                        TKYTTextPos& out) {
        const auto p = Number(para), c = Number(character);
        if (!p || !c) return "positions are two numbers";
        const std::int32_t count = box_.LastEditable() - box_.FirstEditable() + 1;
        if (*p < 0 || *p >= count)
            return "the page has no paragraph " + para + " (it has " + std::to_string(count) + ")";
        const std::int32_t index = box_.FirstEditable() + *p;
        const std::int32_t length = std::int32_t(box_.Paragraph(index).text.size());
        if (*c < 0 || *c > length)
            return "paragraph " + para + " has no character " + character + " (it has " +
                   std::to_string(length) + ")";
        out.paraIndex = index;
        out.charIndex = *c;
        return std::nullopt;
    }

    std::optional<std::string> Caret(const Line& line) {
        if (line.words.size() != 2) return "caret takes a paragraph and a character";
        TKYTTextPos p;
        if (auto e = Position(line.words[0], line.words[1], p)) return e;
        input_.PlaceCaret(p);
        input_.Editing().EndBursts();
        return std::nullopt;
    }

    std::optional<std::string> Select(const Line& line) {
        if (line.words.size() != 4) return "select takes two paragraphs and characters";
        TKYTTextPos a, b;
        if (auto e = Position(line.words[0], line.words[1], a)) return e;
        if (auto e = Position(line.words[2], line.words[3], b)) return e;
        input_.SetSelection(a, b);
        input_.Editing().EndBursts();
        return std::nullopt;
    }

    std::optional<std::string> Command(const Line& line) {
        if (line.words.size() != 1) return "command takes one command name";
        const std::string& name = line.words[0];
        if (name == "EditCut") return Refused(input_.CutSelection(), "nothing is selected");
        if (name == "EditCopy") return Refused(input_.CopySelection(), "nothing was copied");
        if (name == "EditPaste") return Refused(input_.Paste(), "nothing was pasted");
        if (name == "EditSelectAll") {
            input_.SelectAll();
            return std::nullopt;
        }
        if (name == "EditUndo") {
            if (!undo_.CanUndo()) return std::string("there is nothing to undo");
            undo_.UndoOne();
            input_.SelectionPresent();  // the step set the caret or the selection
            return std::nullopt;
        }
        return "no command \"" + name + "\" acts on a text box (orvo-cli edit --commands)";
    }

    TKYTboxInput& input_;
    TKYTbox& box_;
    MemoryClipboard& clipboard_;
    CliInputHost& host_;
    TKYTundoList& undo_;
    RecordingMessages& messages_;
};

// Where the caret or the selection is, in the script's terms.
std::string StateLine(TKYTboxInput& input) {
    const TKYTbox& box = input.Box();
    const auto [start, end] = input.SelectionRange();
    const auto text = [&](const TKYTTextPos& p) {
        return std::to_string(p.paraIndex - box.FirstEditable()) + " " +
               std::to_string(p.charIndex);
    };
    if (input.SelectionPresent()) return "selection " + text(start) + " " + text(end);
    return "caret " + text(input.Caret().Pos());
}

int RunEdit(CliContext& context) {
    std::vector<std::string> operands;
    bool print = false, state = false, listCommands = false, undoList = false;
    std::int32_t width = 600;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--print") {
            print = true;
        } else if (arg == "--state") {
            state = true;
        } else if (arg == "--undo-list") {
            undoList = true;
        } else if (arg == "--commands") {
            listCommands = true;
        } else if (arg == "--width") {
            const auto n = i + 1 < context.args.size() ? Number(context.args[i + 1]) : std::nullopt;
            if (!n || *n < 20 || *n > 100000)
                return FailWith(context, "--width takes a width of 20 to 100000 pixels");
            width = *n;
            ++i;
        } else {
            operands.push_back(arg);
        }
    }
    if (listCommands) {
        for (const BoxCommand& c : kBoxCommands)
            context.out << c.name << '\t' << Cp1252ToUtf8(MenuItemOf(c.id).caption) << '\n';
        for (const auto& [name, takes] : EditCommandList())
            context.out << name << '\t' << takes << '\n';
        return 0;
    }
    if (operands.size() != 2 && operands.size() != 3)
        return FailWith(context, "edit takes FILE, PAGE and an optional SCRIPT");
    const auto page = Number(operands[1]);
    if (!page || *page < 0) return FailWith(context, "PAGE must be a page number (0 or more)");

    std::string script;
    if (operands.size() == 3) {
        std::ifstream in(operands[2], std::ios::binary);
        if (!in) return FailWith(context, "cannot read " + operands[2]);
        script.assign(std::istreambuf_iterator<char>(in), {});
    } else {
        script.assign(std::istreambuf_iterator<char>(std::cin), {});
    }

    TKYTset set(context.environment, context.messages);
    InstallLegacyConversion(set);
    const std::string file = Utf8ToCp1252(operands[0]);
    if (!set.LoadFromFile(file)) return FailWith(context, "cannot read " + operands[0]);
    const TKYToggetto* object = set.ObjectByKind(TOggettiHel::testoHtml, *page);
    if (!object || object->IsFree())
        return FailWith(context, "the document has no page " + operands[1]);

    FixedMetrics metrics;
    RecordingBoxHost boxHost(width, 400);
    TKYTboxViewFactory views(metrics, boxHost);
    HeadlessFrameSet frames;
    // The editing operations' messages stop the script with their text.
    RecordingMessages editMessages;
    EditSession session(set, editMessages);
    ManualSpellPacer spell;
    ManualScheduler scheduler;
    TKYTpage surface(set, frames, views, session.Undo(), spell, scheduler);
    if (!surface.ShowText(*page) || !views.Last())
        return FailWith(context, "cannot show page " + operands[1]);
    TKYTbox& box = views.Last()->Box();

    MemoryClipboard clipboard;
    CliInputHost host;
    session.Attach(box, *surface.WorkingText(), *page);
    TKYTboxInput input(box, scheduler, host, clipboard, session.Editing());
    input.FocusIn();
    ScriptRunner runner(input, clipboard, host, session.Undo(), editMessages);
    runner.session = &session;

    std::istringstream lines(script);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (auto error = runner.Run(line))
            return FailWith(context, "line " + std::to_string(number) + ": " + *error);
    }

    const std::string where = StateLine(input);
    const std::vector<std::string> labels = session.Undo().Labels();
    surface.CommitText();
    if (print) {
        std::string markup = WorkingMarkupOfPage(set, *object, metrics);
        if (!markup.empty() && markup.back() == '\0') markup.pop_back();
        context.out << Cp1252ToUtf8(markup) << '\n';
    } else if (!set.SaveToFile(file)) {
        return FailWith(context, "cannot save " + operands[0]);
    }
    if (state) context.out << where << '\n';
    if (undoList)
        for (const std::string& label : labels) context.out << Cp1252ToUtf8(label) << '\n';
    return context.out.good() ? 0 : FailWith(context, "cannot write the output");
}

const CliRegistration kRegistration{
    {"edit", "runs editor actions on a page and saves the document",
     "Usage: orvo-cli edit FILE PAGE [SCRIPT] [--print] [--state] [--undo-list] [--width N]\n"
     "       orvo-cli edit --commands\n"
     "Shows page PAGE (its number among the pages) of the document FILE in a text box laid\n"
     "out N pixels wide (600 by default), runs the actions of SCRIPT (or of standard input),\n"
     "one a line, stores the page and saves the document. A line that cannot be run stops\n"
     "the script with its number and the reason; the document is then left as it was.\n"
     "Actions (positions are box pixels; PARA counts the body paragraphs from 0, CHAR is a\n"
     "byte index in the paragraph's text):\n"
     "  type TEXT            types the text, one character after the other\n"
     "  key NAME             a key, with Shift+, Ctrl+ and Alt+ before it: Left, Right, Up,\n"
     "                       Down, Home, End, PgUp, PgDown, Backspace, Del, Return, F9\n"
     "  click X Y            presses and releases the left button\n"
     "  dblclick X Y         a double click\n"
     "  drag X1 Y1 X2 Y2     presses at X1 Y1, moves to X2 Y2 and releases\n"
     "  caret PARA CHAR      puts the caret there\n"
     "  select PARA CHAR PARA CHAR\n"
     "                       selects from one position to the other\n"
     "  copy, cut, paste     the clipboard commands (the clipboard lives for the run)\n"
     "  clipboard-text TEXT  puts TEXT on the clipboard as plain text\n"
     "  command NAME         a menu command that acts on the box (see --commands)\n"
     "  undo [N]             undoes the last step (N steps, newest first)\n"
     "  command NAME VALUE   a format or paragraph operation on the selection or the caret's\n"
     "                       paragraph (see --commands), e.g. command ApplyFontStyle 1\n"
     "  link TARGET          links the selection to TARGET: a page number, orvo://FILE|PAGE,\n"
     "                       file:NAME (an embedded file of that name, else the file NAME\n"
     "                       on disk, embedded) or any other address; unlink removes links\n"
     "  speclink KIND ...    a special link on the selection ([--frameset] shows the target\n"
     "                       as its frame set; TARGET as for link):\n"
     "                         anchor N                  anchor N of this page\n"
     "                         jump TARGET [N]           to the target (at anchor N)\n"
     "                         replace TARGET [N]        in place of the linking page\n"
     "                         browser TARGET [N]        in a new browser window\n"
     "                         frame NAME TARGET [N]     in the frame or window NAME\n"
     "                         window NAME TARGET [WxH[+LEFT+TOP]]  a separate window\n"
     "                         popup TARGET [WxH[+LEFT+TOP]]        a pop-up\n"
     "                         close NAME                closes window NAME (principale:\n"
     "                                                   the main window)\n"
     "                         keywords, previous, next  the keyword window, page << or >>\n"
     "                         import PATH               automatic import of PATH\n"
     "Lines that start with # are skipped.\n"
     "--print prints the page's text as `markup` prints it instead of saving; --state prints\n"
     "a last line \"caret PARA CHAR\" or \"selection PARA CHAR PARA CHAR\"; --commands lists\n"
     "the menu commands that act on a box with their captions, and the format and paragraph\n"
     "commands with what they take; --undo-list prints the labels of the undo steps after the\n"
     "script, newest first, as the undo list shows them.\n",
     &RunEdit}};

}  // namespace
}  // namespace orvo::cli
