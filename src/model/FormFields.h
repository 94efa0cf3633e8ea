// Where the form inputs, buttons, form starts, multimedia objects and markers keep their
// values in the object record.
#pragma once

#include <cstdint>

#include "model/ObjectRecord.h"

namespace orvo {

// Form inputs (inputStat), by subtype.
enum class FormInputKind : std::uint8_t {
    Text = 1,
    Password = 2,
    File = 3,
    TextArea = 4,
    Hidden = 5,
    Radio = 6,
    CheckBox = 7,
    List = 8,
    DropDown = 9,
    Floating = 18,
};

inline constexpr FieldSpec kInputName{"name", 17, 80, Cell::PStr};
inline constexpr FieldSpec kInputValue{"value", 97, 80, Cell::PStr};
inline constexpr FieldSpec kInputColumns{"columns", 177, 1, Cell::U8};  // text area: columns
inline constexpr FieldSpec kInputRows{"rows", 178, 1, Cell::U8};        // text area, lists
inline constexpr FieldSpec kInputSize{"size", 179, 1, Cell::U8};        // text field; list rows
inline constexpr FieldSpec kInputHasValue{"hasValue", 180, 1, Cell::U8};
inline constexpr FieldSpec kInputChecked{"checked", 181, 1, Cell::U8};
inline constexpr FieldSpec kInputMultiple{"multiple", 182, 1, Cell::U8};
// The floating window (subtype 18).
inline constexpr FieldSpec kFloatingNested{"showNested", 116, 1, Cell::U8};
inline constexpr FieldSpec kFloatingAutoJump{"autoJump", 177, 1, Cell::U8};
inline constexpr FieldSpec kFloatingPercent{"percent", 178, 1, Cell::U8};
inline constexpr FieldSpec kFloatingHeight{"height", 180, 2, Cell::I16};
inline constexpr FieldSpec kFloatingWidth{"width", 182, 2, Cell::I16};

// Buttons (bottoneCGI): subtype 1 submit, 2 image, 3 reset.
inline constexpr FieldSpec kButtonName{"name", 17, 80, Cell::PStr};
inline constexpr FieldSpec kButtonCaption{"caption", 97, 80, Cell::PStr};
inline constexpr FieldSpec kButtonNaturalWidth{"naturalWidth", 186, 2, Cell::I16};
inline constexpr FieldSpec kButtonNaturalHeight{"naturalHeight", 188, 2, Cell::I16};
inline constexpr FieldSpec kButtonWidth{"width", 190, 2, Cell::I16};
inline constexpr FieldSpec kButtonHeight{"height", 192, 2, Cell::I16};
inline constexpr FieldSpec kButtonPercent{"percent", 194, 1, Cell::U8};

// Form starts (inizioForm): subtype 1 GET, 2 POST, 3 a page, 4 mail.
inline constexpr FieldSpec kFormAction{"action", 17, 256, Cell::PStr};
inline constexpr FieldSpec kFormHasEncoding{"hasEncoding", 273, 1, Cell::U8};
inline constexpr FieldSpec kFormEncoding{"encoding", 276, 80, Cell::PStr};

// Multimedia (multiMedia): subtypes 1, 2 sound, 3, 4 video, 5 applet, 6 custom component.
inline constexpr FieldSpec kMediaAction{"cyclic", 25, 1, Cell::U8};
inline constexpr FieldSpec kMediaCycles{"cycles", 27, 2, Cell::I16};
inline constexpr FieldSpec kMediaCyclesLeft{"cyclesLeft", 31, 2, Cell::I16};
inline constexpr FieldSpec kMediaWidth{"width", 33, 2, Cell::I16};
inline constexpr FieldSpec kMediaHeight{"height", 35, 2, Cell::I16};
inline constexpr FieldSpec kMediaPercent{"percent", 37, 1, Cell::U8};

// Markers (shortObj), by subtype.
inline constexpr std::uint8_t kMarkerAnnotation = 10;
inline constexpr std::uint8_t kMarkerCustomHtml = 11;
inline constexpr std::uint8_t kMarkerWindowScript = 13;
inline constexpr std::uint8_t kMarkerAnchor = 14;
/// An annotation whose text goes into the exported page's comment.
inline constexpr FieldSpec kAnnotationExported{"exported", 17, 1, Cell::U8};

}  // namespace orvo
