// The window "Report importazione Win Help:" that follows an import of help-compiler RTF: the
// pages made (context id, number, title), the keywords made or reused and the links whose
// target was not found, as the import's report lists them.
#pragma once

#include <QDialog>

#include "convert/RtfImport.h"

class QPlainTextEdit;

namespace orvo {

inline constexpr std::string_view kHelpImportReportCaption = "Report importazione Win Help:";

class HelpImportReportWindow final : public QDialog {
public:
    explicit HelpImportReportWindow(const HelpImportReport& report, QWidget* parent = nullptr);

    /// The report as shown (line breaks as "\n").
    QString Text() const;

private:
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace orvo
