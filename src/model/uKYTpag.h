// Pages: the typed view of a page's record (title, colours, background, browse sequence,
// keywords, header and footer, redirection, alias name) and which pages serve as its header
// and footer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/RecordView.h"
#include "model/ObjectRecord.h"

namespace orvo {

class TKYToggetto;
class TKYTset;

/// Record values of the header and footer fields: no header at all, or the hypertext's own.
inline constexpr std::int32_t kNoHeaderFooter = -2;
inline constexpr std::int32_t kHypertextHeaderFooter = -1;
/// The frame-map value of a page shown as a pop-up.
inline constexpr std::int32_t kPopupFrameMap = -2;
/// Longest stored title and alias name.
inline constexpr std::size_t kPageTitleLength = 71;
inline constexpr std::size_t kPageAliasLength = 40;

/// The record of a page (a testoHtml object) read and written field by field. It reads and
/// writes the object's record in place; the page object must outlive the view.
class PageRecord {
public:
    explicit PageRecord(TKYToggetto& page);
    /// A view for reading only: its setters cannot be called.
    static const PageRecord Read(const TKYToggetto& page);

    std::string Title() const { return bytes_.PStr(kPageTitle); }
    void SetTitle(std::string_view cp1252) { bytes_.SetPStr(kPageTitle, cp1252); }

    /// Browse sequence: the group and the order number within it (-1 none).
    std::int16_t Group() const { return bytes_.I16(kPageGroup); }
    std::int16_t Order() const { return bytes_.I16(kPageOrder); }
    void SetGroup(std::int16_t group) { bytes_.SetI16(kPageGroup, group); }
    void SetOrder(std::int16_t order) { bytes_.SetI16(kPageOrder, order); }
    /// "Inserisci in sequenza << >>": stored inverted, as the excluded flag.
    bool InSequence() const { return bytes_.U8(kPageExcluded) == 0; }
    void SetInSequence(bool in) { bytes_.SetU8(kPageExcluded, in ? 0 : 1); }

    /// The mappaFrame identifier of the frames the page hosts; -1 none; -2 a pop-up.
    std::int32_t FrameMap() const { return bytes_.I32(kPageFrameMap); }
    void SetFrameMap(std::int32_t map) { bytes_.SetI32(kPageFrameMap, map); }
    bool HostsFrames() const { return FrameMap() >= 0; }
    bool IsPopup() const { return FrameMap() == kPopupFrameMap; }

    /// Colours are Windows colour values (0x00BBGGRR).
    std::int32_t TextColour() const { return bytes_.I32(kPageTextColour); }
    std::int32_t LinkColour() const { return bytes_.I32(kPageLinkColour); }
    std::int32_t VisitedColour() const { return bytes_.I32(kPageVisitedColour); }
    std::int32_t BackgroundColour() const { return bytes_.I32(kPageBackColour); }
    void SetTextColour(std::int32_t c) { bytes_.SetI32(kPageTextColour, c); }
    void SetLinkColour(std::int32_t c) { bytes_.SetI32(kPageLinkColour, c); }
    void SetVisitedColour(std::int32_t c) { bytes_.SetI32(kPageVisitedColour, c); }
    void SetBackgroundColour(std::int32_t c) { bytes_.SetI32(kPageBackColour, c); }
    /// The identifier of the immagine tiled behind the text; -1 none.
    std::int32_t BackgroundPicture() const { return bytes_.I32(kPageBackPicture); }
    void SetBackgroundPicture(std::int32_t picture) { bytes_.SetI32(kPageBackPicture, picture); }
    /// Byte 288 is 1 when the background does not scroll; anything else (an unset 0xFF too)
    /// lets it scroll.
    bool FixedBackground() const { return bytes_.U8(kPageFixedBackground) == 1; }
    void SetFixedBackground(bool fixed) { bytes_.SetU8(kPageFixedBackground, fixed ? 1 : 0); }

    /// The identifiers of the page's keyword objects; -1 marks an empty entry.
    std::array<std::int32_t, kPageKeywordCount> Keywords() const;
    std::int32_t Keyword(int index) const;
    void SetKeyword(int index, std::int32_t keyword);
    bool HasKeyword(std::int32_t keyword) const;
    /// Puts `keyword` in the first empty entry; false when it is there already or all 20
    /// entries are taken.
    bool AddKeyword(std::int32_t keyword);
    /// Empties every entry that holds `keyword`; false when none did.
    bool RemoveKeyword(std::int32_t keyword);

    /// 1: legacy tags, 2: markup.
    int TextVersion() const { return bytes_.U8(kPageTextVersion); }
    /// The page's revision number: the save counter when it was created or last stored.
    std::int32_t VersionStamp() const { return bytes_.I32(kPageVersionStamp); }
    void SetVersionStamp(std::int32_t stamp) { bytes_.SetI32(kPageVersionStamp, stamp); }

    /// The help topic's context id (at most 20 characters).
    std::string HelpContext() const { return bytes_.PStr(kPageHelpContext); }
    void SetHelpContext(std::string_view id) { bytes_.SetPStr(kPageHelpContext, id); }

    /// Redirection of the exported page: after RedirectSeconds to the page RedirectTarget.
    std::int16_t RedirectSeconds() const { return bytes_.I16(kPageRedirectSeconds); }
    std::int32_t RedirectTarget() const { return bytes_.I32(kPageRedirectTarget); }
    void SetRedirect(std::int16_t seconds, std::int32_t target);
    /// The seconds after which the page redirects, when it names a target page and a delay of
    /// 0 seconds or more.
    std::optional<int> RedirectsAfter() const;

    /// -2 none, -1 the hypertext's header (footer) page, otherwise a page identifier.
    std::int32_t Header() const { return bytes_.I32(kPageHeader); }
    std::int32_t Footer() const { return bytes_.I32(kPageFooter); }
    void SetHeader(std::int32_t header) { bytes_.SetI32(kPageHeader, header); }
    void SetFooter(std::int32_t footer) { bytes_.SetI32(kPageFooter, footer); }

    /// The second HTML file name of the exported page (at most 40 characters).
    std::string Alias() const { return bytes_.PStr(kPageAlias); }
    /// Stores the name cut to 40 characters; a name of blanks only is stored empty.
    void SetAlias(std::string_view cp1252);

    /// Carried unchanged: no operation reads them.
    std::int16_t Reserved191() const { return bytes_.I16(kPageReserved191); }
    std::int32_t Reserved223() const { return bytes_.I32(kPageReserved223); }

private:
    RecordView bytes_;
};

/// The identifier of the live page that serves as `page`'s header: the one its record names,
/// or for -1 the hypertext's header page; -1 when there is none (-2, an empty hypertext
/// setting, a page that does not exist or is free). A page is never its own header.
std::int32_t HeaderPageOf(const TKYTset& set, const TKYToggetto& page);
/// The same for the footer.
std::int32_t FooterPageOf(const TKYTset& set, const TKYToggetto& page);

/// The live page with that identifier, or nullptr.
TKYToggetto* LivePage(const TKYTset& set, std::int32_t identifier);

}  // namespace orvo
