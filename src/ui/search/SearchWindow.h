// The search window ("Cerca:"): words found in the page shown and across the pages, replaced
// one at a time, in the page or in the whole hypertext, the pages that match a combination of
// words, and pages found by keyword. A modeless tool window over the search rules, created on
// first use and hidden (not destroyed) when closed.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/MainFormPorts.h"
#include "search/SearchPages.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace orvo {

class IMessages;
class ISettings;
class TKYTset;

/// The texts of the window.
inline constexpr std::string_view kSearchCaption = "Cerca:";
inline constexpr std::string_view kFindInPage = "Cerca nella &pagina...";
inline constexpr std::string_view kContinueInPage = "&Continua nella pagina  F3";
inline constexpr std::string_view kFindInHypertext = "Nell' &ipertesto  F4";
inline constexpr std::string_view kPagesMatching = "Tutte le pagine che rispondono al criterio";
inline constexpr std::string_view kPageSearchEnded = "Ricerca nella pagina terminata";
inline constexpr std::string_view kHypertextSearchEnded = "Ricerca nell'ipertesto terminata";
inline constexpr std::string_view kPageReplaceEnded = "Sostituzione nella pagina terminata";
inline constexpr std::string_view kHypertextReplaceEnded = "Sostituzione nell'ipertesto terminata";

/// What the window needs of the main window.
struct SearchWindowHost {
    TKYTset& set;
    IMessages& messages;
    ISettings& settings;
    /// The page shown (-1 none); shows a page (edits of the last one stored first).
    std::function<std::int32_t()> pageShown;
    std::function<void(std::int32_t page)> showPage;
    std::function<bool()> editMode;
    /// The search over the box of the page shown, or nullptr while none is shown.
    std::function<TPageSearch*()> pageSearch;
    /// A hit was selected (the box takes the focus and shows the caret) or text changed.
    std::function<void(bool changed)> selected;
    /// The main window's status bar.
    std::function<void(std::string_view text)> status;
};

class SearchWindow final : public QDialog {
public:
    enum Tab { WordTab = 0, ReplaceTab = 1, KeywordTab = 2 };

    SearchWindow(SearchWindowHost host, QWidget* parent);
    ~SearchWindow() override;

    /// Shows the window on a tab (the keyword list read again).
    void Open(Tab tab);
    Tab CurrentTab() const;

    // The commands of the window.
    void FindInPage();
    void FindInHypertext();
    void ListMatchingPages();
    /// "Cerca/&Sostituisci  F3" (`alwaysAsk`: "&Cerca").
    void ReplaceOne(bool alwaysAsk = false);
    void ReplaceAllInPage();
    void ReplaceAllInHypertext();
    void FindKeyword();
    void PickKeyword(int row);
    void PickPage(int row);
    void PickKeywordPage(int row);

    /// The main window's "&Ripeti ultima ricerca nella pagina" and "Ripeti nell'&ipertesto".
    void RepeatInPage();
    void RepeatInHypertext();

    /// The main window's search commands, the keyword search of special links, the rest passed
    /// on to `inner`.
    ISecondaryWindows& Around(ISecondaryWindows& inner);

    // The fields, for the tests.
    QComboBox* Term(int index) const;  // 0..3 on "Parola"
    QComboBox* ReplaceWord() const;
    QComboBox* Replacement() const;
    QCheckBox* WholeWord() const;
    QCheckBox* IgnoreCase() const;
    QCheckBox* ConfirmOne() const;
    QCheckBox* ConfirmAll() const;
    QRadioButton* StartFromFirst() const;
    QPushButton* PageButton() const;
    QListWidget* Pages() const;
    QListWidget* Keywords() const;
    QListWidget* KeywordPages() const;
    QLabel* KeywordHeading() const;
    QLineEdit* KeywordField() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Parts;
    bool FunctionKey(int key);
    int Options() const;
    void SaveSettings();
    bool ReplaceAllShown(const std::string& word, const std::string& replacement, bool fromStart);
    /// The word and its replacement, remembered in their fields; none outside edit mode or
    /// when either is empty.
    std::optional<std::pair<std::string, std::string>> ReplacementWords();
    std::unique_ptr<Parts> parts_;
};

}  // namespace orvo
