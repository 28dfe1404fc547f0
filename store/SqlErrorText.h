#pragma once
// What the database said went wrong, as the program's messages quote it:
// the engine's own words where it gave any, Qt's otherwise, never nothing.
#include <QSqlError>
#include <QString>

inline QString SqlErrorText(const QSqlError& error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.trimmed().isEmpty() ? QStringLiteral("unknown database error") : text.trimmed();
}
