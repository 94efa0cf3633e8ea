// The windows of "&Inserisci": a new form object's fields, and the characters of "&Simbolo...".
#pragma once

#include <QDialog>

#include <optional>

#include "app/InsertionRules.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTableWidget;

namespace orvo {

/// Captioned with the object's kind; shows only the fields that kind has.
class FormObjectWindow final : public QDialog {
public:
    FormObjectWindow(FormObjectChoice choice, const FormObjectFields& fields,
                     QWidget* parent = nullptr);
    FormObjectFields Fields() const;

    QLineEdit* Name() const { return name_; }
    QLineEdit* Value() const { return value_; }
    QPlainTextEdit* Lines() const { return lines_; }
    QSpinBox* Size() const { return size_; }
    QSpinBox* Rows() const { return rows_; }
    QCheckBox* Checked() const { return checked_; }
    QComboBox* Method() const { return method_; }

private:
    FormObjectChoice choice_;
    QLineEdit* name_ = nullptr;
    QLineEdit* value_ = nullptr;
    QPlainTextEdit* lines_ = nullptr;  // a text area's text, a list's items
    QSpinBox* size_ = nullptr;
    QSpinBox* rows_ = nullptr;
    QCheckBox* checked_ = nullptr;
    QComboBox* method_ = nullptr;
};

/// "&Embed/Java/activeX...": the HTML code and the size of the box that stands for it.
class EmbedWindow final : public QDialog {
public:
    explicit EmbedWindow(QWidget* parent = nullptr);
    EmbeddedCode Embedded() const;

    QPlainTextEdit* Code() const { return code_; }
    QSpinBox* Width() const { return width_; }
    QSpinBox* Height() const { return height_; }

private:
    QPlainTextEdit* code_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
};

/// A grid of the characters offered, in the page's font at the caret; a double click or Ok
/// chooses one.
class SymbolWindow final : public QDialog {
public:
    explicit SymbolWindow(const QFont& font, QWidget* parent = nullptr);
    /// The character chosen, none before a choice.
    std::optional<unsigned char> Chosen() const;
    void Choose(unsigned char character);
    QTableWidget* Grid() const { return grid_; }

private:
    QTableWidget* grid_ = nullptr;
};

}  // namespace orvo
