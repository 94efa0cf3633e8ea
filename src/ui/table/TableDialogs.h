// The table windows of the editor: the new-table window ("T&abella") and the window that adds
// rows or columns ("Aggiungi righe/colonne"). They ask the numbers; the table commands do the
// work.
#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

#include "objects/TableRules.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace orvo {

class BackgroundChooser;

/// Rows 1 to 200, columns 1 to 50 (3 x 4 at first), the style, its two colours and the border.
class NewTableDialog final : public QDialog {
public:
    explicit NewTableDialog(QWidget* parent = nullptr);
    NewTableChoice Choice() const;
    QSpinBox* Rows() const { return rows_; }
    QSpinBox* Columns() const { return columns_; }
    BackgroundChooser* First() const { return first_; }
    BackgroundChooser* Second() const { return second_; }

private:
    QSpinBox* rows_;
    QSpinBox* columns_;
    QComboBox* style_;
    BackgroundChooser* first_;
    BackgroundChooser* second_;
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

/// A background chosen in a window: transparent, or a colour picked in the colour window. A
/// picture background the table already has stays until another choice is made.
class BackgroundChooser final : public QWidget {
public:
    explicit BackgroundChooser(std::int32_t value, QWidget* parent = nullptr);
    std::int32_t Value() const;
    /// Sets a colour (0x00BBGGRR), as the colour window would.
    void SetColour(std::int32_t colour);
    QCheckBox* Transparent() const { return transparent_; }

private:
    void ShowValue();
    std::int32_t value_;
    QCheckBox* transparent_;
    QPushButton* colour_;
};

/// "Proprietà tabella/caselle...": the table's width in percent or pixels, padding, spacing,
/// border and background; the current cell's column kind and width; a background for the
/// current cell, its row or column, or every other cell of them.
class TablePropertiesDialog final : public QDialog {
public:
    /// `currentWidth`: the table's width on the page, offered as its width in pixels when the
    /// record has none.
    TablePropertiesDialog(const TableProperties& start, bool inCell, std::int32_t currentWidth,
                          QWidget* parent = nullptr);
    TableProperties Properties() const;

    QRadioButton* PercentButton() const { return percentButton_; }
    QRadioButton* PixelsButton() const { return pixelsButton_; }
    QSpinBox* Percent() const { return percent_; }
    QSpinBox* FixedWidth() const { return fixedWidth_; }
    QSpinBox* Padding() const { return padding_; }
    QSpinBox* Spacing() const { return spacing_; }
    QSpinBox* Border() const { return border_; }
    BackgroundChooser* TableBackgroundChooser() const { return background_; }
    QComboBox* ColumnKind() const { return columnKind_; }
    QSpinBox* ColumnWidth() const { return columnWidth_; }
    QComboBox* Scope() const { return scope_; }
    BackgroundChooser* CellBackgroundChooser() const { return cellBackground_; }

private:
    TableProperties start_;
    int fixedShown_;
    QRadioButton* percentButton_;
    QRadioButton* pixelsButton_;
    QSpinBox* percent_;
    QSpinBox* fixedWidth_;
    QSpinBox* padding_;
    QSpinBox* spacing_;
    QSpinBox* border_;
    BackgroundChooser* background_;
    QComboBox* columnKind_;
    QSpinBox* columnWidth_;
    QComboBox* scope_;
    BackgroundChooser* cellBackground_;
};

}  // namespace orvo
