#pragma once
// How the program writes a moment for the operator (high scores, the
// history, printed pages, messages): the date as "dd/mm/yyyy", the time as
// "HH:MM:SS", the two apart by a blank.
#include <QDateTime>
#include <QString>

inline QString MomentText(const QDate& date, const QTime& time)
{
    return date.toString(QStringLiteral("dd/MM/yyyy")) + u' ' + time.toString(QStringLiteral("HH:mm:ss"));
}

inline QString MomentText(const QDateTime& moment)
{
    return moment.isValid() ? MomentText(moment.date(), moment.time()) : QString();
}
