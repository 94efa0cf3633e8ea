// "Opzioni del programma": widgets over TFopzProgRules, which reads and writes the settings.
#pragma once

#include "app/TFopzProgRules.h"
#include "ui/app/DialogSupport.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace orvo {

class ProgramOptionsWindow final : public PlacedDialog {
public:
    ProgramOptionsWindow(SettingsStore& store, ISettings& settings, IProgramOptionsHost& host,
                         QWidget* parent = nullptr);
    TFopzProgRules& Rules() { return rules_; }
    /// "&Ok": the shown values go into the rules, which write them.
    void Confirm();

private:
    void ShowFileTypes();
    void ShowSelectedType();
    TExtData ShownType() const;
    void TakeFields();

    TFopzProgRules rules_;
    bool filling_ = false;
    QSpinBox* maxCacheImg_ = nullptr;
    QSpinBox* undoDeep_ = nullptr;
    QSpinBox* formLim_ = nullptr;
    QSpinBox* timeSave_ = nullptr;
    QCheckBox* promemSave_ = nullptr;
    QCheckBox* atStartBlank_ = nullptr;
    QCheckBox* tipOfTheDay_ = nullptr;
    QCheckBox* autoHideTip_ = nullptr;
    QCheckBox* virgolette_ = nullptr;
    QCheckBox* alt_ = nullptr;
    QCheckBox* bak_ = nullptr;
    QCheckBox* bordoSx_ = nullptr;
    QCheckBox* cercaTop_ = nullptr;
    QButtonGroup* cursors_ = nullptr;
    QListWidget* types_ = nullptr;
    QLineEdit* description_ = nullptr;
    QComboBox* behaviour_ = nullptr;
    QLineEdit* program_ = nullptr;
};

}  // namespace orvo
