// The 668-byte object record: the kinds, the bytes each kind stores in the document file, where
// each kind keeps its variable data, and the one offset table of the fields the model uses.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/RecordView.h"

namespace orvo {

/// The kind of an object; also the index of its list in the hypertext.
enum class TOggettiHel : std::uint8_t {
    testoHtml = 0,
    internetLink,
    zipLink,
    genLink,
    keyword,
    immagine,
    mappaClic,
    programma,
    tabellaHtml,
    mappaFrame,
    speclink,
    shortObj,
    custom,
    dbloc,
    spazio4,
    spazio5,
    immagineNew,
    stileParagrafo,
    fontFace,
    formato,
    inputStat,
    inputDin,
    bottoneCGI,
    inizioForm,
    multiMedia,
    none,
    testoHtmlRtf,
};

inline constexpr int kKindCount = 27;
/// The highest kind the writer stores (kinds 0..25); the reader accepts one more.
inline constexpr int kWrittenHighestKind = 25;
inline constexpr std::size_t kObjectRecordSize = 668;

constexpr int KindIndex(TOggettiHel kind) {
    return static_cast<int>(kind);
}
constexpr TOggettiHel KindOf(int index) {
    return static_cast<TOggettiHel>(index);
}

/// An object code: kind in the top byte, identifier in the low 24 bits.
constexpr std::int32_t MakeCode(TOggettiHel kind, std::int32_t identifier) {
    return std::int32_t((std::uint32_t(KindIndex(kind)) << 24) |
                        (std::uint32_t(identifier) & 0xFFFFFF));
}
constexpr int CodeKind(std::int32_t code) {
    return int((std::uint32_t(code) >> 24) & 0xFF);
}
constexpr std::int32_t CodeIdentifier(std::int32_t code) {
    return std::int32_t(std::uint32_t(code) & 0xFFFFFF);
}

/// Codes of a text in working form, the index in the low 24 bits: kind 0x6F names one of the
/// text's own links, kind 0xFF one of its page objects.
inline constexpr int kLocalLinkKind = 0x6F;
inline constexpr int kPageObjectKind = 0xFF;
inline constexpr std::int32_t kLocalLinkBase = std::int32_t(std::uint32_t(kLocalLinkKind) << 24);
inline constexpr std::int32_t kPageObjectBase = std::int32_t(std::uint32_t(kPageObjectKind) << 24);

/// Bytes of the record stored in the document file, by kind.
inline constexpr std::array<std::uint16_t, kKindCount> kStoredRecordSize{
    292, 133, 93,  93,  80, 667, 667, 465, 220, 112, 47, 28, 80, 67,
    0,   0,   553, 103, 38, 75,  192, 460, 203, 364, 46, 0,  0};

/// Where a kind keeps the position and size of one of its variable data streams; an offset of
/// -1 means the kind has no such stream. Positions are relative to the data area.
struct DataPlace {
    std::int16_t position = -1;
    std::int16_t size = -1;
    bool sizeIsI16 = false;  // the table's content size is an int16
    bool Exists() const { return position >= 0; }
};

inline constexpr std::array<DataPlace, kKindCount> kContentPlace{{
    {0, 185},       // testoHtml: the page text
    {},             // internetLink
    {0, 85},        // zipLink (legacy, as genLink)
    {0, 85},        // genLink: the linked file
    {},             // keyword
    {0, 174},       // immagine: the picture file
    {0, 174},       // mappaClic (legacy, as immagine)
    {},             // programma
    {0, 85, true},  // tabellaHtml: only when byte 81 is not 0
    {0, 85},        // mappaFrame
    {0, 5},         // speclink
    {0, 13},        // shortObj
    {0, 13},        // custom
    {0, 13},        // dbloc
    {},             // spazio4
    {},             // spazio5
    {},             // immagineNew
    {},             // stileParagrafo
    {},             // fontFace
    {},             // formato
    {0, 13},        // inputStat
    {0, 13},        // inputDin
    {},             // bottoneCGI
    {},             // inizioForm
    {0, 13},        // multiMedia
    {},             // none
    {},             // testoHtmlRtf
}};

inline constexpr std::array<DataPlace, kKindCount> kAuxiliaryPlace{{
    {239, 243},                                                  // testoHtml: the page's head code
    {},         {}, {},       {},         {}, {}, {}, {58, 62},  // tabellaHtml: cell backgrounds
    {101, 97},                             // mappaFrame: the frame-set description
    {39, 43},                              // speclink
    {20, 24},                              // shortObj
    {72, 76},                              // custom
    {38, 42},                              // dbloc
    {},         {}, {61, 65},              // immagineNew
    {},         {}, {},       {184, 188},  // inputStat
    {452, 456},                            // inputDin
    {195, 199},                            // bottoneCGI
    {356, 360},                            // inizioForm
    {38, 42},                              // multiMedia
    {},         {},
}};

/// The byte that says whether a table has content.
inline constexpr std::uint16_t kTableHasContentOffset = 81;

// Fields common to every kind.
inline constexpr FieldSpec kRecDataPosition{"dataPosition", 0, 4, Cell::I32};
inline constexpr FieldSpec kRecSubtype{"subtype", 4, 1, Cell::U8};

// testoHtml: the page record (292 bytes stored).
inline constexpr FieldSpec kPageTitle{"title", 5, 72, Cell::PStr};
inline constexpr FieldSpec kPageGroup{"group", 77, 2, Cell::I16};
inline constexpr FieldSpec kPageOrder{"order", 79, 2, Cell::I16};
inline constexpr FieldSpec kPageFrameMap{"frameMap", 81, 4, Cell::I32};
inline constexpr FieldSpec kPageBackPicture{"backgroundPicture", 85, 4, Cell::I32};
inline constexpr FieldSpec kPageTextColour{"textColour", 89, 4, Cell::I32};
inline constexpr FieldSpec kPageLinkColour{"linkColour", 93, 4, Cell::I32};
inline constexpr FieldSpec kPageVisitedColour{"visitedColour", 97, 4, Cell::I32};
inline constexpr FieldSpec kPageBackColour{"backgroundColour", 101, 4, Cell::I32};
inline constexpr FieldSpec kPageKeywords{"keywords", 105, 80, Cell::Raw};  // 20 x int32
inline constexpr FieldSpec kPageTextSize{"textSize", 185, 4, Cell::I32};
inline constexpr FieldSpec kPageExcluded{"excluded", 189, 1, Cell::U8};
inline constexpr FieldSpec kPageReserved191{"reserved191", 191, 2, Cell::I16};
inline constexpr FieldSpec kPageTextVersion{"textVersion", 195, 1, Cell::U8};
inline constexpr FieldSpec kPageVersionStamp{"versionStamp", 196, 4, Cell::I32};
inline constexpr FieldSpec kPageHelpContext{"helpContext", 200, 21, Cell::PStr};
inline constexpr FieldSpec kPageRedirectSeconds{"redirectSeconds", 221, 2, Cell::I16};
inline constexpr FieldSpec kPageReserved223{"reserved223", 223, 4, Cell::I32};
inline constexpr FieldSpec kPageRedirectTarget{"redirectTarget", 227, 4, Cell::I32};
inline constexpr FieldSpec kPageHeader{"header", 231, 4, Cell::I32};
inline constexpr FieldSpec kPageFooter{"footer", 235, 4, Cell::I32};
inline constexpr FieldSpec kPageAuxPosition{"auxPosition", 239, 4, Cell::I32};
inline constexpr FieldSpec kPageAuxSize{"auxSize", 243, 4, Cell::I32};
inline constexpr FieldSpec kPageAlias{"alias", 247, 41, Cell::PStr};
inline constexpr FieldSpec kPageFixedBackground{"fixedBackground", 288, 1, Cell::U8};
inline constexpr std::array kPageFields{
    kRecDataPosition,    kRecSubtype,        kPageTitle,           kPageGroup,
    kPageOrder,          kPageFrameMap,      kPageBackPicture,     kPageTextColour,
    kPageLinkColour,     kPageVisitedColour, kPageBackColour,      kPageKeywords,
    kPageTextSize,       kPageExcluded,      kPageReserved191,     kPageTextVersion,
    kPageVersionStamp,   kPageHelpContext,   kPageRedirectSeconds, kPageReserved223,
    kPageRedirectTarget, kPageHeader,        kPageFooter,          kPageAuxPosition,
    kPageAuxSize,        kPageAlias,         kPageFixedBackground};
static_assert(FieldsAscendAndFit(kPageFields, 292));
inline constexpr int kPageKeywordCount = 20;
/// Page records stored by older versions are at most this long and get completed.
inline constexpr std::size_t kOldPageRecordSize = 242;

// internetLink
inline constexpr FieldSpec kLinkAddress{"address", 5, 128, Cell::PStr};
// genLink and zipLink
inline constexpr FieldSpec kGenLinkFile{"file", 5, 80, Cell::PStr};
inline constexpr FieldSpec kGenLinkSize{"size", 85, 4, Cell::I32};
inline constexpr FieldSpec kGenLinkStamp{"versionStamp", 89, 4, Cell::I32};
static_assert(FieldsAscendAndFit(std::array{kRecDataPosition, kRecSubtype, kGenLinkFile,
                                            kGenLinkSize, kGenLinkStamp},
                                 93));
inline constexpr std::size_t kOldGenLinkRecordSize = 92;
// keyword: the keyword string takes the place of the data position and the subtype
inline constexpr FieldSpec kKeywordText{"keyword", 0, 80, Cell::PStr};
// immagine and mappaClic
inline constexpr FieldSpec kPictureName{"name", 5, 72, Cell::PStr};
inline constexpr FieldSpec kPictureStamp{"versionStamp", 77, 4, Cell::I32};
inline constexpr FieldSpec kPictureWidth{"width", 85, 2, Cell::I16};
inline constexpr FieldSpec kPictureHeight{"height", 87, 2, Cell::I16};
inline constexpr FieldSpec kPictureFile{"file", 94, 76, Cell::PStr};
inline constexpr FieldSpec kPictureTransparency{"transparency", 170, 4, Cell::I32};
inline constexpr FieldSpec kPictureSize{"size", 174, 4, Cell::I32};
inline constexpr FieldSpec kPictureZones{"zones", 182, 480, Cell::Raw};  // 30 x 16 bytes
inline constexpr FieldSpec kPictureMapId{"mapIdentifier", 662, 4, Cell::I32};
inline constexpr FieldSpec kPictureByte666{"byte666", 666, 1, Cell::U8};
static_assert(FieldsAscendAndFit(std::array{kRecDataPosition, kRecSubtype, kPictureName,
                                            kPictureStamp, kPictureWidth, kPictureHeight,
                                            kPictureFile, kPictureTransparency, kPictureSize,
                                            kPictureZones, kPictureMapId, kPictureByte666},
                                 667));
inline constexpr std::size_t kOldPictureRecordSize = 666;
// programma
inline constexpr FieldSpec kProgramName{"name", 5, 76, Cell::PStr};
inline constexpr FieldSpec kProgramFile{"file", 81, 128, Cell::PStr};
// mappaFrame
inline constexpr FieldSpec kFrameMapName{"name", 5, 80, Cell::PStr};
// speclink: the name holds at most 19 characters, the field before the auxiliary position
inline constexpr FieldSpec kSpecAnchor{"anchor", 9, 4, Cell::I32};
inline constexpr FieldSpec kSpecTarget{"target", 13, 4, Cell::I32};
inline constexpr FieldSpec kSpecFrame{"targetFrame", 17, 1, Cell::U8};
inline constexpr FieldSpec kSpecAction{"action", 18, 1, Cell::U8};
inline constexpr FieldSpec kSpecName{"name", 19, 20, Cell::PStr};
static_assert(FieldsAscendAndFit(std::array{kRecDataPosition, kRecSubtype, kSpecAnchor, kSpecTarget,
                                            kSpecFrame, kSpecAction, kSpecName},
                                 39));
// shortObj: a reference (object code, anchor or catalogue number) at 5
inline constexpr FieldSpec kShortReference{"reference", 5, 4, Cell::I32};
// custom, dbloc, form elements, buttons, form starts: the name at 17
inline constexpr FieldSpec kCustomName{"name", 17, 41, Cell::PStr};
inline constexpr FieldSpec kDblocName{"name", 17, 16, Cell::PStr};
inline constexpr FieldSpec kFormName{"name", 17, 80, Cell::PStr};
inline constexpr FieldSpec kFormStartName{"name", 17, 256, Cell::PStr};
inline constexpr FieldSpec kButtonPicture{"picture", 177, 4, Cell::I32};
inline constexpr FieldSpec kButtonLink{"link", 181, 4, Cell::I32};  // an object code; -1 none
// multiMedia and dbloc: the media file or prototype, the poster picture, a database element's
// picture (identifiers, -1 none)
inline constexpr FieldSpec kMediaSource{"source", 17, 4, Cell::I32};
inline constexpr FieldSpec kMediaPoster{"poster", 21, 4, Cell::I32};
inline constexpr FieldSpec kMediaElementPicture{"elementPicture", 47, 4, Cell::I32};
// inputStat subtype 18, the floating window: the page it shows
inline constexpr std::uint8_t kFloatingWindowSubtype = 18;
inline constexpr FieldSpec kFloatingPage{"page", 108, 4, Cell::I32};
// immagineNew
inline constexpr FieldSpec kImagePicture{"picture", 0, 4, Cell::I32};
inline constexpr FieldSpec kImageLowRes{"lowResPicture", 5, 4, Cell::I32};
inline constexpr FieldSpec kImageRollover{"rolloverPicture", 9, 4, Cell::I32};
inline constexpr FieldSpec kImageAlignment{"alignment", 13, 1, Cell::U8};
inline constexpr FieldSpec kImageBorder{"border", 14, 1, Cell::U8};
inline constexpr FieldSpec kImageNaturalWidth{"naturalWidth", 15, 2, Cell::I16};
inline constexpr FieldSpec kImageNaturalHeight{"naturalHeight", 17, 2, Cell::I16};
inline constexpr FieldSpec kImageWidth{"width", 19, 2, Cell::I16};
inline constexpr FieldSpec kImageHeight{"height", 21, 2, Cell::I16};
inline constexpr FieldSpec kImagePercent{"percent", 23, 1, Cell::U8};
inline constexpr FieldSpec kImageColour{"colour", 24, 4, Cell::I32};
inline constexpr FieldSpec kImageName{"alternativeText", 28, 33, Cell::PStr};
inline constexpr FieldSpec kImageZones{"zones", 73, 480, Cell::Raw};
static_assert(FieldsAscendAndFit(std::array{kImagePicture, kRecSubtype, kImageLowRes,
                                            kImageRollover, kImageAlignment, kImageBorder,
                                            kImageNaturalWidth, kImageNaturalHeight, kImageWidth,
                                            kImageHeight, kImagePercent, kImageColour, kImageName,
                                            kImageZones},
                                 553));
inline constexpr int kZoneCount = 30;
inline constexpr int kZoneRecordSize = 16;
// fontFace
inline constexpr FieldSpec kFontFaceName{"name", 5, 33, Cell::PStr};

// tabellaHtml: the defaults of a new table
inline constexpr std::uint16_t kTableColumnKinds = 5;    // 50 bytes
inline constexpr std::uint16_t kTableColumnWidths = 97;  // 50 x int16
inline constexpr int kTableMaxColumns = 50;
inline constexpr FieldSpec kTablePercentFlag{"widthInPercent", 55, 1, Cell::U8};
inline constexpr FieldSpec kTableFixedWidth{"fixedWidth", 56, 2, Cell::I16};
inline constexpr FieldSpec kTableStyle{"style", 66, 1, Cell::U8};
inline constexpr FieldSpec kTableByte88{"byte88", 88, 1, Cell::U8};
inline constexpr FieldSpec kTablePercent{"percent", 89, 1, Cell::U8};
inline constexpr FieldSpec kTablePadding{"padding", 90, 1, Cell::U8};
inline constexpr FieldSpec kTableSpacing{"spacing", 91, 1, Cell::U8};
inline constexpr FieldSpec kTableBorder{"border", 92, 1, Cell::U8};
inline constexpr FieldSpec kTableRows{"rows", 93, 1, Cell::U8};
inline constexpr FieldSpec kTableColumns{"columns", 94, 1, Cell::U8};
inline constexpr FieldSpec kTableByte95{"byte95", 95, 1, Cell::U8};
inline constexpr FieldSpec kTableByte96{"byte96", 96, 1, Cell::U8};
inline constexpr FieldSpec kTable197{"reserved197", 197, 4, Cell::I32};
inline constexpr FieldSpec kTable201{"reserved201", 201, 4, Cell::I32};
inline constexpr FieldSpec kTable205{"reserved205", 205, 2, Cell::I16};
inline constexpr FieldSpec kTableBackground{"background", 207, 4, Cell::I32};
inline constexpr FieldSpec kTableLightBorder{"lightBorder", 211, 4, Cell::I32};
inline constexpr FieldSpec kTableDarkBorder{"darkBorder", 215, 4, Cell::I32};
inline constexpr FieldSpec kTableBackgroundFormat{"backgroundFormat", 219, 1, Cell::U8};
/// System colours are 0x80000000 + their index: 20 button highlight, 16 button shadow.
inline constexpr std::int32_t kSystemButtonHighlight = std::int32_t(0x80000014u);
inline constexpr std::int32_t kSystemButtonShadow = std::int32_t(0x80000010u);

}  // namespace orvo
