// The history box: the pages shown, as "orvo://" entries, the current one selected.
#pragma once

#include <QComboBox>

#include <functional>

namespace orvo {

class PageHistory;

class HistoryBox final : public QComboBox {
public:
    explicit HistoryBox(QWidget* parent = nullptr);
    /// Shows the entries of `history` (replacing what was shown) without reporting a choice.
    void ShowHistory(const PageHistory& history);
    /// Told the index of the entry the user picked.
    std::function<void(int index)> onPick;

private:
    bool filling_ = false;
};

}  // namespace orvo
