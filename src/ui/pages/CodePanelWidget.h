// The custom-code panel on screen: its explanation, the editing buttons, the buttons and the
// "&Inserisci" menu that insert references, the size panel, the templates, and the code itself
// edited in a page widget over the panel's own hypertext (references shown as markers).
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace orvo {

class CustomCodePanel;
enum class CodeReference : std::uint8_t;
class IMessages;
class IScheduler;
class PageViewWidget;

class CodePanelWidget final : public QWidget {
public:
    /// Shows and edits `panel`'s code; everything given outlives the widget. The widget gives
    /// the panel its page widget as the editor.
    CodePanelWidget(CustomCodePanel& panel, IScheduler& scheduler, IMessages& messages,
                    QWidget* parent = nullptr);
    ~CodePanelWidget() override;

    CustomCodePanel& Panel() { return panel_; }
    PageViewWidget& Editor() { return *view_; }
    /// Shows the buttons the panel's Kind and flags ask for, the caption and the templates.
    void Refresh();
    /// Fills "Scegli un modello:" from the template folder ("Nessuno" first).
    void FillTemplates();
    /// "&Taglia" and "&Copia" act only while text or an object of the code is selected, "Undo"
    /// while the panel's undo list has steps.
    void UpdateCommands();

    /// Unless the host answers the panel's OnGetRif itself, references to pictures are chosen
    /// through this (the picture window with the internal album, preset with the present
    /// picture's code; none: cancelled), the fundamental objects from the list "Scegli:".
    std::function<std::optional<std::int32_t>(std::int32_t presetCode)> choosePicture;
    /// The same for a reference to a page or file and to a page's text (the link window).
    std::function<std::optional<std::int32_t>(CodeReference, std::int32_t presetCode)> choosePage;

private:
    void ChooseReference(int subtype, bool generic);
    void ChooseFromList(bool parameters);

    CustomCodePanel& panel_;
    IMessages& messages_;
    PageViewWidget* view_ = nullptr;
    QLabel* caption_ = nullptr;
    QWidget* references_ = nullptr;
    QWidget* objects_ = nullptr;
    QPushButton* text_ = nullptr;
    QWidget* sizes_ = nullptr;
    QWidget* templates_ = nullptr;
    QWidget* prototype_ = nullptr;
    QPushButton* cut_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* undo_ = nullptr;
    QToolButton* menu_ = nullptr;
    QComboBox* templateList_ = nullptr;
    bool filling_ = false;
    int current_ = 0;
};

}  // namespace orvo
