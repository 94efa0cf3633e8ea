// The page properties window ("Proprietà pagina") without its widgets: the page record's
// fields as the window shows them (title, alias name, colours, background, browse sequence,
// header and footer), the page's head code in a custom-code panel, the properties of the frame
// that shows the page, and Ok, which stores them back with the record's limits.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/CustomCodePanel.h"

namespace orvo {

class Environment;
class IMessages;
class TKYTFrame;
class TKYTset;
class TKYToggetto;

inline constexpr std::string_view kPagePropertiesCaption = "Propriet\xE0 pagina";
/// Shown when the window is asked to open without a page or a frame.
inline constexpr std::string_view kPageObjectMissing = "OggettoTesto NIL";
inline constexpr std::string_view kHeadCodeCaption =
    "E' possibile inserire uno script, o testo HTML che sar\xE0 inserito tra <HEAD> e </HEAD>, "
    "senza alcun controllo.";
/// Limits of the frame fields.
inline constexpr std::int32_t kFrameMaxPercent = 100;
inline constexpr std::int32_t kFrameMaxPixels = 10000;
inline constexpr std::size_t kFrameNameLength = 19;

/// The window's mode from the tag of the command that opens it: "&Meta..." 0, "Sce&gli pagina in
/// cornice..." 1, "&Proprietà pagina..." 2 (mode 3), "&Intestazione e piè di pagina..." 3
/// (mode 2), "&Diapositive..." 4.
int PagePropertiesMode(int tag);
/// Modes 2 and 4 close at once with Ok, storing nothing.
bool PagePropertiesClosesAtOnce(int mode);
enum class PagePropertiesTab : std::uint8_t { Text, Frame, Script };
/// The tab a mode opens on (mode 1 on a top frame: the text tab).
PagePropertiesTab PagePropertiesStartTab(int mode, bool frameTabShown);

/// "nessuna", "globale", "definita qui".
enum class HeaderChoice : std::uint8_t { None = 0, Global = 1, Here = 2 };
/// "scegli fra esistenti", "master", "nuova".
enum class FramePageChoice : std::uint8_t { Existing = 0, Master = 1, New = 2 };

/// What Ok asks of the window's surroundings.
struct PagePropertiesHost {
    /// The editor shows its page again (the header or footer changed).
    std::function<void()> reshowPage;
    /// The page's box takes the background at once.
    std::function<void()> refreshBackground;
    /// The editor's change flag.
    std::function<void()> setChanged;
};

class PageProperties {
public:
    /// `page` is the working text of the page the frame shows (stored back when the page is
    /// committed); `frame` the frame that shows it (nullptr or the top frame: no frame tab).
    PageProperties(TKYTset& set, TKYToggetto& page, TKYTFrame* frame, Environment& environment,
                   IMessages& messages);
    ~PageProperties();
    PageProperties(const PageProperties&) = delete;
    PageProperties& operator=(const PageProperties&) = delete;

    // "Proprietà testo".
    std::string title;
    std::int32_t revision = 0;  // shown only
    std::string alias;
    std::int32_t backgroundColour = 0, textColour = 0, linkColour = 0, visitedColour = 0;
    bool useBackgroundPicture = false;
    bool fixedBackground = false;
    bool hostsFrames = false, popup = false;  // shown only
    bool inSequence = false;
    /// As typed: a value that cannot be read as a number leaves the record's value.
    std::string group, order;
    /// The chosen background picture (registered or not), or nullptr.
    TKYToggetto* BackgroundPicture() const { return picture_; }
    /// A picture chosen in the picture window: an unregistered one is kept until Ok registers
    /// it (an earlier unregistered choice is dropped). Ticks the box.
    void ChooseBackgroundPicture(TKYToggetto* registered);
    void ChooseBackgroundPicture(std::unique_ptr<TKYToggetto> unregistered);
    /// The two "Global" buttons: the hypertext's text, link and visited colours; its
    /// background colour and picture.
    void GlobalColours();
    void GlobalBackground();

    // Header and footer (their tab is hidden: written back as read).
    HeaderChoice headerChoice = HeaderChoice::Global, footerChoice = HeaderChoice::Global;
    std::int32_t headerPage = -1, footerPage = -1;

    // "Proprietà cornice".
    bool FrameTabShown() const { return frameTab_; }
    bool frameTabVisited = false;
    std::string frameName;
    FramePageChoice framePage = FramePageChoice::Existing;
    std::int32_t existingPage = -1;  // the page chosen in the list
    bool resizable = false, border = false, scrollBars = false;
    bool ResizableEnabled() const;  // a frame with a parent frame
    std::uint8_t sizeKind = 2;      // 0 "percentuale", 1 "fissa", 2 "libera"
    std::int32_t sizeValue = 0;
    std::int32_t parentBorderWidth = 0;
    bool spacingEnabled = false;  // "Bordo fra cornici:" (a frame with a parent frame)
    /// The frame set's main page ("master"), -1 none.
    std::int32_t MasterPage() const;
    /// The page the frame showed when the window opened, -1 for a new page.
    std::int32_t OpenedFramePage() const { return openedFramePage_; }

    // "Script/Meta".
    CustomCodePanel& Code() { return *code_; }

    /// Ok: stores every field in the page record, the head code (only when changed), the
    /// frame's properties (only when its tab was visited), and tells the host.
    void Apply(const PagePropertiesHost& host);

private:
    void ApplyFrame();

    TKYTset& set_;
    TKYToggetto& page_;
    TKYTFrame* frame_;
    bool frameTab_ = false;
    std::int32_t openedFramePage_ = -1;
    bool openedFrameNew_ = false;
    std::int32_t openedHeader_ = -1, openedFooter_ = -1;
    TKYToggetto* picture_ = nullptr;
    std::unique_ptr<TKYToggetto> ownPicture_;
    std::unique_ptr<CustomCodePanel> code_;
};

}  // namespace orvo
