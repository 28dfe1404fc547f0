#pragma once
// Helpers of the store tests: a notifier that records what it is shown and
// answers as scripted, and raw access to a database file for making the
// files the program did not make and reading back what it wrote.
#include "base/Notifier.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTest>

#include <deque>

class ScriptedNotifier : public Notifier {
public:
    QStringList messages, questions, titles;
    std::deque<bool> answers; // in turn; "no" once they run out

    void message(const QString& text, const QString& title) override
    {
        messages << text;
        titles << title;
    }
    bool question(const QString& text, const QString& title) override
    {
        questions << text;
        titles << title;
        const bool answer = !answers.empty() && answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

// Runs statements (writing) or one query (reading, rows of values) on a file
// through a connection of its own. An empty text means every statement ran.
inline QString rawExec(const QString& path, const QStringList& statements,
                       QVector<QVariantList>* rows = nullptr)
{
    static int serial = 0;
    const QString name = QStringLiteral("raw-%1").arg(++serial);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (rows)
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            failure = db.lastError().text();
        for (const QString& sql : statements) {
            QSqlQuery query(db);
            if (!failure.isEmpty() || !query.exec(sql)) {
                failure += sql + QStringLiteral(": ") + query.lastError().text();
                break;
            }
            while (rows && query.next()) {
                QVariantList row;
                for (int i = 0; i < query.record().count(); ++i)
                    row << query.value(i);
                *rows << row;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return failure;
}

inline QVector<QVariantList> rawRows(const QString& path, const QString& sql)
{
    QVector<QVariantList> rows;
    const QString failure = rawExec(path, {sql}, &rows);
    if (!failure.isEmpty())
        qWarning("%s", qPrintable(failure));
    return rows;
}

// Makes a file impossible to write, for a super-user too where the system
// allows it; false when there is no way here.
inline bool makeUnwritable(const QString& path)
{
    if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0)
        return true;
    QFile::setPermissions(path, QFile::ReadOwner);
    QFile probe(path);
    return !probe.open(QIODevice::ReadWrite);
}

inline void makeWritable(const QString& path)
{
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}
