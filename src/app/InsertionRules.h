// What "&Inserisci" puts at the caret besides pictures, tables and links: anchors, the inputs,
// buttons and starts of forms ("&Moduli"), and the characters of "&Simbolo...".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

class TKYToggetto;
class TKYTset;

/// A new anchor numbered `number` (a marker of subtype 14), not registered: the text it is
/// placed in registers it.
std::unique_ptr<TKYToggetto> NewAnchor(TKYTset& set, std::int32_t number);

/// The items of "&Moduli", in the menu's order.
enum class FormObjectChoice : std::uint8_t {
    FormStart,
    Text,
    Password,
    File,
    TextArea,
    Hidden,
    Radio,
    CheckBox,
    List,
    DropDown,
    Submit,
    Reset,
};
inline constexpr int kFormObjectChoiceCount = 12;

/// The menu's caption of a choice (the names the objects' descriptions use).
std::string_view FormObjectCaption(FormObjectChoice choice);
/// The name of the choice's menu item ("MIForm" and a word).
std::string_view FormObjectComponentName(FormObjectChoice choice);

/// What the author gives a new form object in its window.
struct FormObjectFields {
    std::string name;      // an input's or a button's name
    std::string value;     // an input's value (a text area's, a list's items: one a line),
                           // a button's caption, a form start's action
    int size = 20;         // a text field's characters, a text area's columns, a list's rows
    int rows = 3;          // a text area's rows
    bool checked = false;  // a check box or radio button ticked at first
    bool post = true;      // a form start sends with POST (else GET)
};

/// Which fields the window asks for a choice.
struct FormFieldsAsked {
    bool name = false;
    bool value = false;
    bool size = false;
    bool rows = false;
    bool checked = false;
    bool method = false;
};
FormFieldsAsked FieldsAskedFor(FormObjectChoice choice);

/// The fields a new object of `choice` starts with: an input or button is named "campo" and
/// the first number from 1 no input or button of the hypertext is named with; a button's
/// caption is "Invia" or "Annulla"; a check box's or radio button's value "si".
FormObjectFields DefaultFormFields(const TKYTset& set, FormObjectChoice choice);

/// A new form object of `choice` with `fields`, not registered: the text it is placed in
/// registers it. Texts longer than their record's room are cut there; sizes are kept in
/// 1..255.
std::unique_ptr<TKYToggetto> NewFormObject(TKYTset& set, FormObjectChoice choice,
                                           const FormObjectFields& fields);

/// The files "&Animazione/suono..." offers: sounds, videos, any file.
inline constexpr std::string_view kPlayerFilter =
    "Files audio|*.wav;*.mid;*.au;|Files video|*.mov;*.avi;*.dat;*.mpg;*.mpeg;|"
    "Tutti i files (*.*)|*.*;";
/// Whether a file name is a video's (".mov", ".avi", ".dat", ".mpg", ".mpeg", any case).
bool IsVideoFile(std::string_view fileName);
/// A player of the embedded file `file` (a genLink's identifier) showing its buttons: a video's
/// 320 x 240, a sound's 141 x 30; not registered.
std::unique_ptr<TKYToggetto> NewPlayer(TKYTset& set, std::int32_t file, bool video);

/// What "&Embed/Java/activeX..." places: HTML code (an applet, an object, a frame of another
/// site) written as it is into the exported page, shown while editing as a box of its size.
struct EmbeddedCode {
    std::string code;
    int width = 200;
    int height = 100;
};
/// A multimedia object of subtype 5 keeping `embedded` (sizes kept in 1..32767); not
/// registered.
std::unique_ptr<TKYToggetto> NewEmbeddedCode(TKYTset& set, const EmbeddedCode& embedded);

/// The characters "&Simbolo..." offers: every printable Windows-1252 character from 0x21 up
/// (the code page's five unused places and the soft hyphen left out).
std::vector<unsigned char> SymbolCharacters();

}  // namespace orvo
