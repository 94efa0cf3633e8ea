// "Proprietà pagina": the page's record fields, its frame's properties and its head code, over
// the rules of PageProperties.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "app/PageProperties.h"
#include "app/PictureWindowRules.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace orvo {

class CodePanelWidget;
class IMessages;
class IScheduler;
class PageViewWidget;
class TKYTFrame;
class TKYTset;
class TKYToggetto;

class PagePropertiesWindow final : public QDialog {
public:
    /// Edits `page` (the working text of the page `frame` shows) in `mode` (PagePropertiesMode
    /// of the command's tag). Everything given outlives the window.
    PagePropertiesWindow(TKYTset& set, TKYToggetto& page, TKYTFrame* frame, int mode,
                         Environment& environment, IMessages& messages, IScheduler& scheduler,
                         PagePropertiesHost host,
                         std::function<void(QWidget&, std::string_view block)> localize = {},
                         QWidget* parent = nullptr);
    ~PagePropertiesWindow() override;

    PageProperties& Rules() { return *rules_; }
    CodePanelWidget& CodePanel() { return *code_; }
    QTabWidget& Tabs() { return *tabs_; }
    /// "&Ok": the fields into the page record, the code, the frame.
    void Confirm();
    /// How a colour is chosen: tests answer it instead of the colour dialog.
    std::function<std::optional<std::int32_t>(std::int32_t current)> chooseColour;
    /// How the background picture is chosen (the picture window, preset with the picture
    /// chosen so far when the hypertext holds it, -1 otherwise): a picture held or a new one,
    /// none when cancelled. Without it the hypertext's pictures are offered in a list.
    std::function<ChosenPicture(std::int32_t preset)> choosePicture;

private:
    void ShowFields();
    void ShowColours();
    void ShowPicture();
    void PickColour(std::int32_t& colour);
    void FillPageList();
    void FramePageChanged();

    TKYTset& set_;
    std::unique_ptr<PageProperties> rules_;
    PagePropertiesHost host_;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLineEdit* revision_ = nullptr;
    QLineEdit* alias_ = nullptr;
    QPushButton* background_ = nullptr;
    QCheckBox* usePicture_ = nullptr;
    QLabel* picture_ = nullptr;
    QCheckBox* fixed_ = nullptr;
    QPushButton* text_ = nullptr;
    QPushButton* link_ = nullptr;
    QPushButton* visited_ = nullptr;
    QCheckBox* hostsFrames_ = nullptr;
    QCheckBox* popup_ = nullptr;
    QCheckBox* inSequence_ = nullptr;
    QLineEdit* group_ = nullptr;
    QLineEdit* order_ = nullptr;
    QComboBox* header_ = nullptr;
    QComboBox* footer_ = nullptr;
    QWidget* frameTab_ = nullptr;
    QLineEdit* frameName_ = nullptr;
    QRadioButton* existing_ = nullptr;
    QRadioButton* master_ = nullptr;
    QRadioButton* newPage_ = nullptr;
    QLineEdit* search_ = nullptr;
    QListWidget* pages_ = nullptr;
    PageViewWidget* preview_ = nullptr;
    QCheckBox* resizable_ = nullptr;
    QCheckBox* border_ = nullptr;
    QCheckBox* scrolling_ = nullptr;
    QRadioButton* percent_ = nullptr;
    QRadioButton* pixels_ = nullptr;
    QRadioButton* rest_ = nullptr;
    QSpinBox* size_ = nullptr;
    QSpinBox* spacing_ = nullptr;
    CodePanelWidget* code_ = nullptr;
    std::vector<std::int32_t> listed_;
};

}  // namespace orvo
