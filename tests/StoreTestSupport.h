#pragma once
// Helpers shared by the store tests: a notifier that records what it is
// shown and answers questions as a test scripts it, raw access to a database
// file for making damaged ones, and a file's exact bytes.
#include "engine/Notifier.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTest>
#include <QVariant>

#include <deque>

class ScriptedNotifier : public Notifier {
public:
    QStringList messages;
    QStringList questions;
    std::deque<bool> answers; // answered in turn; "no" once they run out

    void message(const QString& text, const QString& title) override
    {
        messages << text;
        titles << title;
    }
    bool question(const QString& text, const QString& title) override
    {
        questions << text;
        titles << title;
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QStringList titles;
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline QByteArray fileHash(const QString& path)
{
    return QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256).toHex();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

// Runs statements on a file through a connection of its own, outside the
// program's classes: how a test makes a file the program did not make.
inline QString rawExec(const QString& path, const QStringList& statements)
{
    static int serial = 0;
    const QString name = QStringLiteral("raw-%1").arg(++serial);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            for (const QString& sql : statements) {
                QSqlQuery query(db);
                if (!query.exec(sql)) {
                    failure = sql + QStringLiteral(": ") + query.lastError().text();
                    break;
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return failure;
}

// The rows of a query on a file, each row its values in order.
inline QVector<QVariantList> rawRows(const QString& path, const QString& sql)
{
    static int serial = 0;
    const QString name = QStringLiteral("rawrows-%1").arg(++serial);
    QVector<QVariantList> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql)) {
                while (query.next()) {
                    QVariantList row;
                    for (int i = 0; i < query.record().count(); ++i)
                        row << query.value(i);
                    rows << row;
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

// Makes a file impossible to write, even for a super-user when the system
// allows it; false when neither way is available here.
inline bool makeUnwritable(const QString& path)
{
    if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0)
        return true;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile probe(path);
    if (probe.open(QIODevice::ReadWrite)) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return false;
    }
    return true;
}

inline void makeWritable(const QString& path)
{
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}
