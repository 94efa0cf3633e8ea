// Spell checking in the desktop program: the main window's checker (opened at start in the
// hypertext's language), its dialog window, and the two menu commands that walk the shown
// page or every page through the dialog.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "app/MainFormPorts.h"
#include "app/u3MainForm.h"

class QWidget;

namespace orvo {

class Environment;
class IMessages;
class IScheduler;
class QtSpellerDialog;
class SpellPagesWalk;
class TKYTset;
class TQzSpellChecker;

class DesktopSpelling final : public ISpellLanguage {
public:
    DesktopSpelling(TKYTset& set, Environment& environment, IMessages& messages,
                    IScheduler& scheduler, QWidget* parent);
    /// A checker built elsewhere (tests give one over their own dictionaries).
    DesktopSpelling(TKYTset& set, std::unique_ptr<TQzSpellChecker> checker, IScheduler& scheduler,
                    QWidget* parent);
    ~DesktopSpelling() override;

    int Language() const override;
    bool SetLanguage(int language) override;

    /// Opens the checker; whether it is open (the menu commands show only then).
    bool Open();
    bool IsOpen() const;

    /// "&Controllo ortografia pagina..." (the shown page, from its start) and "Controllo
    /// ortografia &ipertesto..." (every page); any other command is not this service's.
    Outcome Run(CommandId command);
    bool Running() const;

    TQzSpellChecker& Checker() { return *checker_; }
    QtSpellerDialog& Dialog() { return *dialog_; }
    SpellPagesWalk& Walk() { return *walk_; }

    /// The page the editor shows (-1 none).
    std::function<std::int32_t()> currentPage;
    /// Stores the editor's pending changes before the pages are read.
    std::function<void()> commitPage;
    /// Shows a page in the editor: the page being checked, and a page the dialog changed.
    std::function<void(std::int32_t page)> showPage;

private:
    void Wire();

    TKYTset& set_;
    std::unique_ptr<TQzSpellChecker> checker_;
    std::unique_ptr<QtSpellerDialog> dialog_;
    std::unique_ptr<SpellPagesWalk> walk_;
};

/// The main window's secondary windows with the spelling commands added.
class SpellingWindows final : public ForwardingWindows {
public:
    SpellingWindows(ISecondaryWindows& inner, DesktopSpelling& spelling)
        : ForwardingWindows(inner), spelling_(spelling) {}
    Outcome RunCommand(CommandId command) override {
        if (command == CommandId::ToolsSpellPage || command == CommandId::ToolsSpellHypertext)
            return spelling_.Run(command);
        return inner_.RunCommand(command);
    }

private:
    DesktopSpelling& spelling_;
};

}  // namespace orvo
