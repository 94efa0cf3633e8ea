// Conversion of page texts stored in the legacy tag form (text version 1) into markup.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvo {

class TKYTset;
class TKYToggetto;

/// What the conversion asks of the hypertext about the objects a legacy text names.
class ILegacyObjects {
public:
    virtual ~ILegacyObjects() = default;
    /// The code of the object that replaced a zipLink on reading; -1 when none.
    virtual std::int32_t ReplacementOf(std::int32_t zipLinkCode) = 0;
    /// The code of a new image object made from the picture (or image map) `code` names;
    /// -1 when it names none.
    virtual std::int32_t NewImageFor(std::int32_t code) = 0;
    /// For an inputStat of subtype 10..14: the code of a new shortObj copy; -1 otherwise.
    virtual std::int32_t NewShortObjFor(std::int32_t code) = 0;
    /// The kind of the object `code` names; -1 when it names none.
    virtual int KindOf(std::int32_t code) = 0;
    /// The number of cells (rows times columns) of the table `code` names; 0 for none.
    virtual int TableCells(std::int32_t code) = 0;
};

struct LegacyPage {
    std::int32_t textColour = 0;         // the page's text colour
    std::int32_t linkColour = 0xFF0000;  // the page's link colour
};

/// Converts the legacy tag text `old` (up to its first 0x00) into markup followed by one 0x00
/// byte. Tags it does not know are dropped.
std::string ConvertLegacyTags(std::string_view old, const LegacyPage& page,
                              ILegacyObjects& objects);

/// Converts the text of a page whose record says text version 1, in place: new objects are
/// registered with the hypertext and the page is marked text version 2. Other pages are left
/// as they are.
void ConvertLegacyPage(TKYTset& set, TKYToggetto& page);

/// Makes the hypertext convert legacy texts with ConvertLegacyPage before it copies or writes
/// them.
void InstallLegacyConversion(TKYTset& set);

}  // namespace orvo
