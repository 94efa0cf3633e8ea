// TQzSpellThread: the background spell check of the shown page. It only paces: 300 ms after it
// starts, then one paragraph every 100 ms, each step run by the window's scheduler on the window
// thread, so the page's paragraphs and the speller are only ever touched there. The page stops
// it (its text box's update lock does, before any change) and it ends by itself when the
// paragraphs run out.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "platform/IScheduler.h"
#include "textbox/TKYTpageHosts.h"

namespace orvo {

class TQzSpellChecker;
class TKYTparag;

inline constexpr std::chrono::milliseconds kSpellThreadFirstWait{300};
inline constexpr std::chrono::milliseconds kSpellThreadStepWait{100};

class TQzSpellThread final : public ISpellPacer {
public:
    TQzSpellThread(TQzSpellChecker& checker, IScheduler& scheduler);
    ~TQzSpellThread() override;

    void Start(TKYTpage& page, std::unique_ptr<TParInfoForThread> handOff) override;
    void Stop() override;
    bool Running() const override { return handOff_ != nullptr; }

    /// Called after each paragraph whose marks the check changed (its surface paints again).
    std::function<void(TKYTparag&)> onMarksChanged;

    /// How many paragraphs the checks took, and how many ended (stopped or run out).
    int ParagraphsChecked() const { return paragraphs_; }
    int Ends() const { return ends_; }

private:
    void Step();
    void CheckParagraph(TKYTparag& paragraph);
    void Finish();

    TQzSpellChecker& checker_;
    IScheduler& scheduler_;
    TKYTpage* page_ = nullptr;
    std::unique_ptr<TParInfoForThread> handOff_;
    std::optional<IScheduler::TimerId> timer_;
    int paragraphs_ = 0;
    int ends_ = 0;
};

}  // namespace orvo
