// The file dialogs' filters: the program's "desc|*.a;*.b|..." as Qt's name filters.
#pragma once

#include <QString>
#include <QStringList>

#include <string_view>

#include "ui/QtConvert.h"

namespace orvo {

/// "desc|*.a;*.b|desc2|*.c" as Qt's name filters: "desc (*.a *.b)", "desc2 (*.c)".
inline QStringList NameFiltersFrom(std::string_view filter) {
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        const QString list = patterns.join(QLatin1Char(' '));
        // A description that already ends with its patterns in brackets, as Qt reads them
        // (the last brackets, blanks between patterns), shows them once.
        if (!list.isEmpty() && description.endsWith(QLatin1Char('(') + list + QLatin1Char(')'))) {
            filters.push_back(description);
            continue;
        }
        filters.push_back(description + QStringLiteral(" (") + list + QLatin1Char(')'));
    }
    return filters;
}

}  // namespace orvo
