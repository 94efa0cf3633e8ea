// The style preview: a read-only frame set over a hypertext of its own, whose one page shows
// three paragraphs of sample text in the paragraph style being edited.
#pragma once

#include <functional>
#include <string_view>

#include "model/uKYTset.h"
#include "textbox/uKYTCornice.h"

namespace orvo {

class Environment;

/// The sample page: three paragraphs of style 2 with links in them.
inline constexpr std::string_view kStyleSampleText =
    "<Z S2 >The quick brown fox jumps over the lazy dog. The quick <$00000000>brown<%> fox "
    "jumps over the lazy dog. The quick brown fox jumps over the lazy dog.<Z S2 >The quick "
    "brown fox jumps over the lazy dog. The quick brown fox <$00000000>jumps over the lazy dog. "
    "The quick brown fox jumps<%> over the lazy dog,  1234567890 times. The quick brown fox "
    "jumps over the lazy dog.<Z S2 >The quick brown fox jumps over the lazy dog. The quick "
    "<$00000000>brown<%> fox jumps over the lazy dog. The quick brown fox jumps over the lazy "
    "dog.";
/// The name of a new style, followed by a number below 10000.
inline constexpr std::string_view kNewStyleName = "Nuovo stile ";

namespace detail {
// Built before the frame set that shows it.
struct StyleViewHypertext {
    StyleViewHypertext(Environment& environment, IMessages& messages);
    TKYTset styleSet;
};
}  // namespace detail

class TKYTstyleView final : private detail::StyleViewHypertext, public TKYTCustomFrameSet {
public:
    /// `pages` makes the frame's page on the preview's own hypertext.
    TKYTstyleView(Environment& environment, IMessages& messages, IScheduler& scheduler,
                  IFramePageFactory& pages);

    /// Copies `style` (a stileParagrafo object) into the preview's style and shows the page
    /// again; OnStyleChange fires.
    void ShowStyle(const TKYToggetto& style);
    /// Copies the preview's style into `style`.
    void TakeStyle(TKYToggetto& style) const;
    /// The preview's style becomes the plain style named "Nuovo stile " + a number below 10000.
    void NewStyle();
    /// The preview's own style object.
    TKYToggetto& Style() const;
    TKYTset& PreviewSet() { return styleSet; }
    std::function<void()> OnStyleChange;

private:
    void Reshow();
    Environment& environment_;
};

}  // namespace orvo
