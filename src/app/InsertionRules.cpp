#include "app/InsertionRules.h"

#include <algorithm>
#include <array>
#include <set>

#include "base/Cp1252.h"
#include "model/FormFields.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "objects/FormRecords.h"

namespace orvo {
namespace {

using K = TOggettiHel;

struct ChoiceRow {
    std::string_view caption;
    std::string_view component;
    K kind;
    std::uint8_t subtype;
    FormFieldsAsked asked;  // name, value, size, rows, checked, method
};

constexpr std::array<ChoiceRow, kFormObjectChoiceCount> kChoices{{
    {"Inizio modulo", "MIFormStart", K::inizioForm, 2, {false, true, false, false, false, true}},
    {"Casella",
     "MIFormText",
     K::inputStat,
     std::uint8_t(FormInputKind::Text),
     {true, true, true, false, false, false}},
    {"Casella password",
     "MIFormPassword",
     K::inputStat,
     std::uint8_t(FormInputKind::Password),
     {true, true, true, false, false, false}},
    {"Casella file",
     "MIFormFile",
     K::inputStat,
     std::uint8_t(FormInputKind::File),
     {true, false, true, false, false, false}},
    {"Box testo",
     "MIFormTextArea",
     K::inputStat,
     std::uint8_t(FormInputKind::TextArea),
     {true, true, true, true, false, false}},
    {"Invisibile",
     "MIFormHidden",
     K::inputStat,
     std::uint8_t(FormInputKind::Hidden),
     {true, true, false, false, false, false}},
    {"Bottone radio",
     "MIFormRadio",
     K::inputStat,
     std::uint8_t(FormInputKind::Radio),
     {true, true, false, false, true, false}},
    {"Check box",
     "MIFormCheckBox",
     K::inputStat,
     std::uint8_t(FormInputKind::CheckBox),
     {true, true, false, false, true, false}},
    {"Lista",
     "MIFormList",
     K::inputStat,
     std::uint8_t(FormInputKind::List),
     {true, true, true, false, false, false}},
    {"Combo box",
     "MIFormDropDown",
     K::inputStat,
     std::uint8_t(FormInputKind::DropDown),
     {true, true, false, false, false, false}},
    {"Bottone di immissione",
     "MIFormSubmit",
     K::bottoneCGI,
     1,
     {true, true, false, false, false, false}},
    {"Bottone di cancellazione dati",
     "MIFormReset",
     K::bottoneCGI,
     3,
     {false, true, false, false, false, false}},
}};

const ChoiceRow& Row(FormObjectChoice choice) {
    return kChoices[std::size_t(choice) % kChoices.size()];
}

// A new object of `kind` in use with `subtype`, not registered.
std::unique_ptr<TKYToggetto> NewInUse(TKYTset& set, K kind, std::uint8_t subtype) {
    auto object = NewObjectOfKind(kind, &set);
    object->Clear();
    object->TakeIntoUse();
    object->Record()[4] = subtype;
    return object;
}

std::uint8_t Clamp255(int n) {
    return std::uint8_t(std::clamp(n, 1, 255));
}

// The lines of `text` (CR LF or LF), the empty ones left out.
std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            if (!line.empty()) lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

}  // namespace

std::unique_ptr<TKYToggetto> NewAnchor(TKYTset& set, std::int32_t number) {
    auto anchor = NewInUse(set, K::shortObj, kMarkerAnchor);
    anchor->View().SetI32(kShortReference, number);
    return anchor;
}

std::string_view FormObjectCaption(FormObjectChoice choice) {
    return Row(choice).caption;
}

std::string_view FormObjectComponentName(FormObjectChoice choice) {
    return Row(choice).component;
}

FormFieldsAsked FieldsAskedFor(FormObjectChoice choice) {
    return Row(choice).asked;
}

FormObjectFields DefaultFormFields(const TKYTset& set, FormObjectChoice choice) {
    FormObjectFields fields;
    const ChoiceRow& row = Row(choice);
    if (row.kind == K::inizioForm) return fields;
    std::set<std::string> names;
    for (K kind : {K::inputStat, K::bottoneCGI})
        for (const auto& object : set.KindList(kind))
            if (object && !object->IsFree())
                names.insert(std::string(object->ReadView().PStr(kInputName)));
    int number = 1;
    while (names.count("campo" + std::to_string(number))) ++number;
    fields.name = "campo" + std::to_string(number);
    switch (choice) {
        case FormObjectChoice::Radio:
        case FormObjectChoice::CheckBox:
            fields.value = "si";
            break;
        case FormObjectChoice::TextArea:
            fields.size = 40;
            break;
        case FormObjectChoice::List:
            fields.size = 3;
            break;
        case FormObjectChoice::Submit:
            fields.value = "Invia";
            break;
        case FormObjectChoice::Reset:
            fields.name.clear();
            fields.value = "Annulla";
            break;
        default:
            break;
    }
    return fields;
}

std::unique_ptr<TKYToggetto> NewFormObject(TKYTset& set, FormObjectChoice choice,
                                           const FormObjectFields& fields) {
    const ChoiceRow& row = Row(choice);
    if (row.kind == K::inizioForm) {
        auto form = NewInUse(set, K::inizioForm, fields.post ? 2 : 1);
        form->View().SetPStr(kFormAction, fields.value);
        form->View().SetU8(kFormHasEncoding, 0);
        return form;
    }
    if (row.kind == K::bottoneCGI) {
        auto button = NewInUse(set, K::bottoneCGI, row.subtype);
        RecordView r = button->View();
        r.SetPStr(kButtonName, fields.name);
        r.SetPStr(kButtonCaption, fields.value);
        r.SetI32(kButtonPicture, -1);
        r.SetI32(kButtonLink, -1);
        return button;
    }
    auto input = NewInUse(set, K::inputStat, row.subtype);
    RecordView r = input->View();
    r.SetPStr(kInputName, fields.name);
    r.SetU8(kInputChecked, fields.checked ? 1 : 0);
    r.SetU8(kInputMultiple, 0);
    switch (choice) {
        case FormObjectChoice::TextArea:
            r.SetU8(kInputColumns, Clamp255(fields.size));
            r.SetU8(kInputRows, Clamp255(fields.rows));
            r.SetU8(kInputHasValue, 1);
            input->SetContent(fields.value);
            break;
        case FormObjectChoice::List:
        case FormObjectChoice::DropDown: {
            // Each line is an item, its text its value; none selected.
            std::vector<FormListItem> items;
            for (std::string& line : Lines(fields.value)) items.push_back({line, line, false});
            const std::uint8_t rows =
                choice == FormObjectChoice::List ? Clamp255(fields.size) : std::uint8_t(1);
            r.SetU8(kInputRows, rows);
            r.SetU8(kInputSize, rows);
            r.SetU8(kInputHasValue, 0);
            input->SetContent(WriteListItems(items));
            break;
        }
        default:
            r.SetPStr(kInputValue, fields.value);
            r.SetU8(kInputHasValue, fields.value.empty() ? 0 : 1);
            if (FieldsAskedFor(choice).size) {
                r.SetU8(kInputColumns, Clamp255(fields.size));
                r.SetU8(kInputSize, Clamp255(fields.size));
            }
            r.SetU8(kInputRows, 1);
            break;
    }
    return input;
}

bool IsVideoFile(std::string_view fileName) {
    const std::string name = Lower1252(fileName);
    for (std::string_view extension : {".mov", ".avi", ".dat", ".mpg", ".mpeg"})
        if (name.ends_with(extension)) return true;
    return false;
}

std::unique_ptr<TKYToggetto> NewPlayer(TKYTset& set, std::int32_t file, bool video) {
    auto player = NewInUse(set, K::multiMedia, video ? 3 : 1);
    RecordView r = player->View();
    r.SetI32(kMediaSource, file);
    r.SetI32(kMediaPoster, -1);
    r.SetU8(kMediaAction, 0);  // its buttons shown, played when asked
    r.SetI16(kMediaCycles, 0);
    r.SetI16(kMediaWidth, video ? 320 : 141);
    r.SetI16(kMediaHeight, video ? 240 : 30);
    r.SetU8(kMediaPercent, 0);
    return player;
}

std::unique_ptr<TKYToggetto> NewEmbeddedCode(TKYTset& set, const EmbeddedCode& embedded) {
    auto object = NewInUse(set, K::multiMedia, 5);
    RecordView r = object->View();
    r.SetI32(kMediaSource, -1);
    r.SetI32(kMediaPoster, -1);
    r.SetI16(kMediaWidth, std::int16_t(std::clamp(embedded.width, 1, 32767)));
    r.SetI16(kMediaHeight, std::int16_t(std::clamp(embedded.height, 1, 32767)));
    r.SetU8(kMediaPercent, 0);
    // The code follows an empty header.
    object->SetAuxiliary(std::string(4, '\0') + embedded.code);
    return object;
}

std::vector<unsigned char> SymbolCharacters() {
    std::vector<unsigned char> characters;
    for (int c = 0x21; c <= 0xFF; ++c) {
        switch (c) {
            case 0x7F:
            case 0x81:
            case 0x8D:
            case 0x8F:
            case 0x90:
            case 0x9D:
            case 0xAD:
                continue;
            default:
                characters.push_back(static_cast<unsigned char>(c));
        }
    }
    return characters;
}

}  // namespace orvo
