#include "store/Transaction.h"

#include "store/SqlErrorText.h"

#include <QHash>
#include <QSqlQuery>

namespace {

// Open transactions per connection. The program has one thread.
QHash<QString, int>& depths()
{
    static QHash<QString, int> open;
    return open;
}

} // namespace

Transaction::Transaction(QSqlDatabase db) : db_(std::move(db))
{
    int& depth = depths()[db_.connectionName()];
    level_ = depth + 1;
    if (!exec(level_ == 1 ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT nested%1").arg(level_)))
        return;
    depth = level_;
    open_ = true;
}

Transaction::~Transaction()
{
    rollback();
}

bool Transaction::openOn(const QSqlDatabase& db)
{
    return depths().value(db.connectionName()) > 0;
}

bool Transaction::exec(const QString& sql)
{
    QSqlQuery q(db_);
    if (q.exec(sql))
        return true;
    error_ = SqlErrorText(q.lastError());
    return false;
}

void Transaction::end()
{
    open_ = false;
    int& depth = depths()[db_.connectionName()];
    depth = level_ - 1;
    if (depth == 0)
        depths().remove(db_.connectionName());
}

bool Transaction::commit()
{
    if (!open_)
        return false;
    const bool kept = exec(level_ == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE nested%1").arg(level_));
    if (!kept) {
        const QString why = error_;
        rollback();
        error_ = why;
        return false;
    }
    end();
    return true;
}

void Transaction::rollback()
{
    if (!open_)
        return;
    if (level_ == 1) {
        exec(QStringLiteral("ROLLBACK"));
    } else {
        exec(QStringLiteral("ROLLBACK TO nested%1").arg(level_));
        exec(QStringLiteral("RELEASE nested%1").arg(level_));
    }
    end();
}
