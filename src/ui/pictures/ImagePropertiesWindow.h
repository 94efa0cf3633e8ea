// The image properties window ("Proprietà immagine"): the alternative text, alignment, border
// and size of an image (in pixels or in percent of the picture's own size), its low-resolution
// and roll-over pictures, the parameters of its IMG tag, and the picture replaced everywhere
// in the hypertext; Ok writes them through the window's rules.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/ImagePropertiesRules.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;

namespace orvo {

class CodePanelWidget;
class CustomCodePanel;
class Environment;
class IMessages;
class IScheduler;
class PicturePreview;
class TKYTset;

class ImagePropertiesWindow final : public QDialog {
public:
    /// The "Html" tab's custom-code panel edits in a page widget of its own (`scheduler`,
    /// `messages`) with references to objects of `set`.
    ImagePropertiesWindow(TKYTset& set, Environment& environment, IMessages& messages,
                          IScheduler& scheduler, std::function<void(QWidget&)> localize,
                          QWidget* parent = nullptr);
    ~ImagePropertiesWindow() override;

    /// An image to edit (a pasted picture, when given, is the one it shows from now on).
    void LoadImage(const TKYToggetto& image, ChosenPicture pasted = {});
    /// A new image for a picture.
    void LoadNew(ChosenPicture picture);
    /// The code of the page being edited that holds the image (-1 none): its page list names
    /// it before its text is stored.
    void SetEditedPage(std::int32_t pageCode) { editedPage_ = pageCode; }
    /// After Ok: writes the fields into `image`, or makes the new image and returns it.
    std::unique_ptr<TKYToggetto> Apply(TKYToggetto* image);

    /// Opens the picture window in a mode and hands back its picture (none when cancelled).
    std::function<ChosenPicture(PictureWindowMode)> choosePicture;
    /// The picture was replaced everywhere: the editor's frames lay their pages out again.
    std::function<void()> replaced;

    ImagePropertiesRules& Rules() { return rules_; }
    /// The custom-code panel of the IMG tag's parameters (its references are chosen through
    /// its choosePicture and choosePage).
    CodePanelWidget& CodePanel() { return *code_; }

    // The controls, for the tests.
    QTabWidget* Tabs() const { return tabs_; }
    QLineEdit* AltText() const { return alt_; }
    QComboBox* Position() const { return position_; }
    QCheckBox* Border() const { return border_; }
    QSpinBox* SizeX() const { return sizeX_; }
    QSpinBox* SizeY() const { return sizeY_; }
    QCheckBox* Percent() const { return percent_; }
    QLineEdit* NaturalX() const { return naturalX_; }
    QLineEdit* NaturalY() const { return naturalY_; }
    QCheckBox* Transparent() const { return transparent_; }
    QPushButton* AddLowRes() const { return addLowRes_; }
    QPushButton* NoLowRes() const { return noLowRes_; }
    QPushButton* AddRollover() const { return addRollover_; }
    QPushButton* NoRollover() const { return noRollover_; }
    QPushButton* ShowPages() const { return showPages_; }
    QListWidget* Pages() const { return pages_; }
    QPushButton* FindReplacement() const { return findReplacement_; }
    QPushButton* ReplaceButton() const { return replace_; }
    PicturePreview* PictureDisplay() const { return display_; }
    PicturePreview* RolloverDisplay() const { return rolloverDisplay_; }

protected:
    void done(int result) override;

private:
    void Fill();
    void ShowSizes();
    void TakeSizes();
    void ShowPictures();
    void StartBlinking();
    void StopBlinking();
    void Replace();
    void ListPages();

    TKYTset& set_;
    ImagePropertiesRules rules_;
    bool busy_ = false;
    QString replaceCaption_;
    bool blinkOn_ = false;
    std::int32_t editedPage_ = -1;

    QTabWidget* tabs_ = nullptr;
    QWidget* replaceTab_ = nullptr;
    QLineEdit* alt_ = nullptr;
    QComboBox* position_ = nullptr;
    QCheckBox* border_ = nullptr;
    QSpinBox* sizeX_ = nullptr;
    QSpinBox* sizeY_ = nullptr;
    QCheckBox* percent_ = nullptr;
    QLineEdit* naturalX_ = nullptr;
    QLineEdit* naturalY_ = nullptr;
    QCheckBox* transparent_ = nullptr;
    PicturePreview* display_ = nullptr;
    QPushButton* addLowRes_ = nullptr;
    QPushButton* noLowRes_ = nullptr;
    PicturePreview* lowResDisplay_ = nullptr;
    QPushButton* addRollover_ = nullptr;
    QPushButton* noRollover_ = nullptr;
    PicturePreview* rolloverDisplay_ = nullptr;
    QPushButton* showPages_ = nullptr;
    QListWidget* pages_ = nullptr;
    QPushButton* findReplacement_ = nullptr;
    QPushButton* replace_ = nullptr;
    PicturePreview* currentDisplay_ = nullptr;
    PicturePreview* replacementDisplay_ = nullptr;
    std::unique_ptr<CustomCodePanel> codePanel_;
    CodePanelWidget* code_ = nullptr;
    std::optional<std::string> loadedCode_;  // the image's auxiliary stream as loaded
    QCheckBox* stretch_ = nullptr;
    QTimer* blink_ = nullptr;
};

}  // namespace orvo
