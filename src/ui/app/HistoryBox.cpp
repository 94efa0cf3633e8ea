#include "ui/app/HistoryBox.h"

#include "app/PageHistory.h"
#include "ui/QtConvert.h"

namespace orvo {

HistoryBox::HistoryBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("HistoryCombo"));
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(32);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!filling_ && onPick) onPick(index);
    });
}

void HistoryBox::ShowHistory(const PageHistory& history) {
    filling_ = true;
    QStringList entries;
    for (const std::string& entry : history.Entries()) entries << ToQString(entry);
    bool same = entries.size() == count();
    for (int i = 0; same && i < count(); ++i) same = itemText(i) == entries[i];
    if (!same) {
        clear();
        addItems(entries);
    }
    setCurrentIndex(history.Current());
    filling_ = false;
}

}  // namespace orvo
