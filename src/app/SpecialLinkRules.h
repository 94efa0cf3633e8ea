// The special-link window's rules without widgets: its tabs and choices, how Ok fills the
// special-link record (subtype, anchor, target, target frame, action, name, window features,
// import path, HTML code), how an existing link is read back into the tabs, the window-name
// prompt, and how a special link is applied to a text selection.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/WindowFeatures.h"

namespace orvo {

class TKYTset;
class TKYToggetto;
class TKYTTextAttributes;
class TKYTtesto;

inline constexpr std::string_view kSpecCaption = "Collegamenti speciali:";
inline constexpr std::string_view kSpecTypeGroup = "Tipo del collegamento";
inline constexpr std::string_view kSpecTargetFrameGroup =
    "La finestra/cornice di destinazione appare:";
inline constexpr std::array<std::string_view, 2> kSpecTargetFrames{"singola",
                                                                   "come insieme cornici"};
inline constexpr std::string_view kSpecNormalGroup = "La pagina di destinazione appare:";
inline constexpr std::string_view kSpecAnchorLabel = "Ancora:";
inline constexpr std::string_view kSpecDefineOnScreen = "Definisci a video...";
inline constexpr std::string_view kSpecFrameName = "Nome cornice:";
inline constexpr std::string_view kSpecCloseName = "Nome:";
inline constexpr std::string_view kSpecMainWindow = "principale";
inline constexpr std::string_view kSpecImportPath = "Path link:";
inline constexpr std::string_view kSpecHtmlTab = "Html";
inline constexpr std::string_view kSpecNoAnchors =
    "Ancora: attenzione, per poter inserire un collegamento ad un'ancora, \xE8 prima necessario "
    "inserire delle ancore nella pagina.\r\nCi\xF2 si pu\xF2 fare usando \"Inserisci >Ancora\".";
inline constexpr std::string_view kSpecNamePromptCaption = "Orvo";
inline constexpr std::string_view kSpecNamePrompt = "Introdurre un nome per la finestra";

/// The tabs of "Tipo del collegamento", in their order.
enum class SpecialTab : std::uint8_t { Anchor, Normal, Window, Frame, Close, Misc, AutoImport };
inline constexpr int kSpecialTabCount = 7;
inline constexpr std::array<std::string_view, kSpecialTabCount> kSpecialTabCaptions{
    "Ancora nella stessa pagina",
    "Normali",
    "Finestra separata o Popup",
    "Altra cornice, o finestra",
    "Chiudi finestra",
    "Varie",
    "Auto import"};
/// The choices of the tabs that have some.
inline constexpr std::array<std::string_view, 3> kSpecNormalChoices{
    "nella finestra corrente, saltando ad un'ancora",
    "nella finestra corrente, al posto della pagina che contiene il collegamento",
    "aprendo una nuova finestra del browser"};
inline constexpr std::array<std::string_view, 2> kSpecialWindowChoices{"in una finestra volante",
                                                                       "in una popup"};
inline constexpr std::array<std::string_view, 3> kSpecMiscChoices{
    "visualizza finestra di ricerca per parola chiave", "visualizza pagina <<",
    "visualizza pagina >>"};

/// The most characters a special link's name keeps.
inline constexpr std::size_t kSpecNameMax = 19;

/// What the window's controls hold.
struct SpecialLinkChoice {
    SpecialTab tab = SpecialTab::Anchor;
    int choice = 0;                // Normal 0..2, Window 0..1, Misc 0..2
    std::int32_t anchor = -1;      // "Ancora:"
    std::uint8_t targetFrame = 0;  // 0 "singola", 1 "come insieme cornici"
    std::string name;              // the frame, window or close name
    bool closeMain = false;        // "principale"
    WindowFeatures features;       // the window panel
    std::string importPath;        // "Path link:"
    std::string html;              // the tab "Html"
    bool operator==(const SpecialLinkChoice&) const = default;
};

/// The subtype and action (subtype 1 only, else -1) a tab and choice give.
std::pair<std::uint8_t, int> SpecSubtypeAndAction(SpecialTab tab, int choice);

/// The 22-byte window-feature record of a separate or pop-up window.
std::string WindowFeaturesBytes(const WindowFeatures& features);

/// A window name made a valid script identifier: letters, digits and "_" kept, any other
/// character becomes "_", a leading digit gets "w" before it; at most 19 characters.
std::string ValidWindowName(std::string_view name);

/// Fills a special link from the window: the HTML code, the target frame and the name, then
/// the fields of the active tab. The target is not touched except for an anchor in the same
/// page (none).
void WriteSpecialLink(TKYToggetto& link, const SpecialLinkChoice& choice);

/// The tab and choice an existing link selects, with its anchor, name, "principale", window
/// features, import path and HTML code.
SpecialLinkChoice ReadSpecialLink(const TKYToggetto& link);

/// A new special link taken into use (subtype 1, target -1), not registered.
std::unique_ptr<TKYToggetto> NewSpecialLink(TKYTset& set);

/// Whether a filled link asks for a window name (actions 1 and 2 without one).
bool SpecialLinkNeedsName(const TKYToggetto& link);
/// Asks `prompt` until it gives a name that is not empty; none when the author cancels.
std::optional<std::string> AskWindowName(const std::function<std::optional<std::string>()>& prompt);

/// Whether a filled link chooses its target next through the link window (subtype 1), and in
/// which mode: window mode 0 gives 3 for an anchor in the same page, else 1; modes 1 and 3
/// give 5.
bool SpecialLinkChoosesTarget(const TKYToggetto& link, int windowMode);
int SpecialLinkTargetMode(const TKYToggetto& link, int windowMode);

/// The names "Chiudi finestra" offers: those of the hypertext's special links of subtype 1
/// that name a window and of its window-script markers, each once, in order.
std::vector<std::string> CloseWindowNames(const TKYTset& set);

/// Whether a text holds anchors (the anchor tab warns when it has none): its markup's codes
/// name anchor markers of the hypertext or, in working form, of `working`'s own links.
bool TextHasAnchors(const TKYTset& set, const TKYTtesto* working, std::string_view markup);

/// Applies a special link to the selection of a text box: the target (unless the action is
/// an anchor in the same page) becomes local to the box's text, then the link is applied as
/// one step "Inserisci collegamento ". A link to page 0 is a link like any other.
void ApplySpecialLinkToText(TKYTTextAttributes& text, TKYToggetto& link, const TKYToggetto* target);

}  // namespace orvo
