// The table windows of the editor: the new-table window ("T&abella") and the window that adds
// rows or columns ("Aggiungi righe/colonne"). They ask the numbers; the table commands do the
// work.
#pragma once

#include <QDialog>

#include <optional>

#include "objects/TableRules.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace orvo {

/// Rows 1 to 200, columns 1 to 50 (3 x 4 at first), the style and the border.
class NewTableDialog final : public QDialog {
public:
    explicit NewTableDialog(QWidget* parent = nullptr);
    NewTableChoice Choice() const;
    QSpinBox* Rows() const { return rows_; }
    QSpinBox* Columns() const { return columns_; }

private:
    QSpinBox* rows_;
    QSpinBox* columns_;
    QComboBox* style_;
    QCheckBox* border_;
};

/// Rows or columns, how many, before or after the current cell.
class AddRowsColumnsDialog final : public QDialog {
public:
    explicit AddRowsColumnsDialog(QWidget* parent = nullptr);
    bool Columns() const;
    int Count() const;
    bool After() const;
    QSpinBox* CountBox() const { return count_; }
    QRadioButton* ColumnsButton() const { return columns_; }
    QRadioButton* AfterButton() const { return after_; }

private:
    QRadioButton* rows_;
    QRadioButton* columns_;
    QSpinBox* count_;
    QRadioButton* before_;
    QRadioButton* after_;
};

}  // namespace orvo
