#include "store/RecordSet.h"
#include "store/SqlErrorText.h"
#include "store/Transaction.h"

#include "base/TextNumbers.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cmath>

namespace {

// The rowid travels with every row under a name no table of ours uses.
constexpr auto RowIdColumn = "rs_rowid";

// A value as it is handed to the database. A QString that is null (never
// assigned) would be written as SQL NULL by the driver; the program only
// ever means an empty text by it, and a Null name would make the settings
// unreadable at the next start. Only an invalid QVariant stands for Null.
QVariant bindable(const QVariant& value)
{
    if (!value.isValid())
        return QVariant();
    if (value.typeId() == QMetaType::QString && value.toString().isNull())
        return QVariant(QStringLiteral(""));
    return value;
}

} // namespace

RecordSet::~RecordSet() = default;

RecordSet::RecordSet(QSqlDatabase db, QString table, QString where, QString orderBy)
    : db_(std::move(db)), table_(std::move(table)), where_(std::move(where)),
      orderBy_(std::move(orderBy))
{
}

QString RecordSet::quoted(const QString& identifier) const
{
    QString inner = identifier;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString RecordSet::columnName(const QString& column) const
{
    for (const QString& name : columns_) {
        if (name.compare(column, Qt::CaseInsensitive) == 0)
            return name;
    }
    return column;
}

void RecordSet::fail(const QString& what, const QString& why)
{
    error_ = what + QLatin1String(": ") + why;
}

bool RecordSet::requery()
{
    QString sql = QLatin1String("SELECT rowid AS ") + QLatin1String(RowIdColumn)
                  + QLatin1String(", * FROM ") + quoted(table_);
    if (!where_.isEmpty())
        sql += QLatin1String(" WHERE ") + where_;
    if (!orderBy_.isEmpty())
        sql += QLatin1String(" ORDER BY ") + orderBy_;

    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        fail(QStringLiteral("The table %1 could not be read").arg(table_), SqlErrorText(query.lastError()));
        return false;
    }
    const QSqlRecord record = query.record();
    QStringList columns;
    for (int i = 1; i < record.count(); ++i)
        columns << record.fieldName(i);

    QVector<Row> rows;
    while (query.next()) {
        Row row;
        row.rowId = query.value(0).toLongLong();
        for (int i = 1; i < record.count(); ++i)
            row.values.insert(columns[i - 1], query.value(i));
        rows.push_back(std::move(row));
    }
    if (query.lastError().isValid()) {
        fail(QStringLiteral("The table %1 could not be read").arg(table_), SqlErrorText(query.lastError()));
        return false;
    }
    query.finish();

    columns_ = columns;
    rows_ = std::move(rows);
    mode_ = Mode::None;
    pending_.clear();
    moveFirst();
    error_.clear();
    return true;
}

bool RecordSet::moveToRowId(qint64 rowId)
{
    const int index = indexOfRowId(rowId);
    current_ = index >= 0 ? index : int(rows_.size());
    return index >= 0;
}

int RecordSet::indexOfRowId(qint64 rowId) const
{
    for (int i = 0; i < rows_.size(); ++i) {
        if (rows_[i].rowId == rowId)
            return i;
    }
    return -1;
}

QVariant RecordSet::fieldAt(int row, const QString& column) const
{
    if (row < 0 || row >= rows_.size())
        return QVariant();
    const QVariantMap& values = rows_[row].values;
    auto it = values.constFind(column);
    if (it != values.constEnd())
        return it.value();
    for (it = values.constBegin(); it != values.constEnd(); ++it) {
        if (it.key().compare(column, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return QVariant();
}

QVariant RecordSet::field(const QString& column) const
{
    return eof() ? QVariant() : fieldAt(current_, column);
}

qint64 RecordSet::rowId() const
{
    return eof() ? 0 : rows_[current_].rowId;
}

QVariantMap RecordSet::values() const
{
    return eof() ? QVariantMap() : rows_[current_].values;
}

void RecordSet::edit()
{
    mode_ = Mode::Edit;
    pending_.clear();
}

void RecordSet::addNew()
{
    mode_ = Mode::AddNew;
    pending_.clear();
}

void RecordSet::setField(const QString& column, const QVariant& value)
{
    pending_.insert(columnName(column), value);
}

void RecordSet::cancelUpdate()
{
    mode_ = Mode::None;
    pending_.clear();
}

bool RecordSet::execute(const QString& sql, const QVariantList& binds, qint64* insertedId,
                        int* changed)
{
    QSqlQuery query(db_);
    if (!query.prepare(sql)) {
        error_ = SqlErrorText(query.lastError());
        return false;
    }
    for (const QVariant& value : binds)
        query.addBindValue(bindable(value));
    if (!query.exec()) {
        error_ = SqlErrorText(query.lastError());
        return false;
    }
    if (insertedId)
        *insertedId = query.lastInsertId().toLongLong();
    if (changed)
        *changed = query.numRowsAffected();
    query.finish();
    return true;
}

bool RecordSet::deleteOne(qint64 rowId)
{
    int changed = 0;
    if (!execute(QLatin1String("DELETE FROM ") + quoted(table_) + QLatin1String(" WHERE rowid = ?"),
                 {rowId}, nullptr, &changed))
        return false;
    if (changed != 1) {
        error_ = QStringLiteral("the row is no longer in the table");
        return false;
    }
    return true;
}

bool RecordSet::readRow(qint64 rowId, Row* row)
{
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (!query.prepare(QLatin1String("SELECT * FROM ") + quoted(table_)
                       + QLatin1String(" WHERE rowid = ?"))) {
        error_ = SqlErrorText(query.lastError());
        return false;
    }
    query.addBindValue(rowId);
    if (!query.exec()) {
        error_ = SqlErrorText(query.lastError());
        return false;
    }
    if (!query.next()) {
        error_ = QStringLiteral("the row was not found after writing it");
        return false;
    }
    const QSqlRecord record = query.record();
    row->rowId = rowId;
    row->values.clear();
    for (int i = 0; i < record.count(); ++i)
        row->values.insert(record.fieldName(i), query.value(i));
    query.finish();
    return true;
}

// Runs `body` (the statements of one change) in a transaction of its own, or
// in the open batch, and brings the cached rows in step with `apply` only
// once the change is certain to stand (committed, or part of a batch whose
// failure re-reads the rows).
bool RecordSet::write(const std::function<bool()>& body, const std::function<void()>& apply)
{
    if (batch_) {
        if (!body())
            return false;
        apply();
        return true;
    }
    Transaction change(db_);
    if (!change.isOpen()) {
        error_ = change.error();
        return false;
    }
    if (!body())
        return false;
    if (!change.commit()) {
        error_ = change.error();
        return false;
    }
    apply();
    return true;
}

void RecordSet::dropCachedRow(int index)
{
    rows_.remove(index);
    if (index < current_)
        --current_;
}

void RecordSet::appendCachedRow(const Row& row)
{
    const bool wasEof = eof();
    rows_.push_back(row);
    if (wasEof)
        current_ = int(rows_.size());
}

bool RecordSet::update()
{
    const Mode mode = mode_;
    const QVariantMap pending = pending_;
    cancelUpdate();

    if (mode == Mode::Edit) {
        if (eof()) {
            fail(QStringLiteral("A row of %1 could not be written").arg(table_),
                 QStringLiteral("there is no current row"));
            return false;
        }
        if (pending.isEmpty())
            return true;
        const qint64 id = rows_[current_].rowId;
        QStringList sets;
        QVariantList binds;
        for (auto it = pending.constBegin(); it != pending.constEnd(); ++it) {
            sets << quoted(it.key()) + QLatin1String(" = ?");
            binds << it.value();
        }
        binds << id;
        const QString sql = QLatin1String("UPDATE ") + quoted(table_) + QLatin1String(" SET ")
                            + sets.join(QLatin1String(", ")) + QLatin1String(" WHERE rowid = ?");
        Row stored;
        const bool ok = write(
            [&] {
                return execute(sql, binds) && readRow(id, &stored);
            },
            [&] {
                const int index = indexOfRowId(id);
                if (index >= 0)
                    rows_[index].values = stored.values;
            });
        if (!ok)
            fail(QStringLiteral("A row of %1 could not be written").arg(table_), error_);
        return ok;
    }

    if (mode == Mode::AddNew) {
        QStringList names, marks;
        QVariantList binds;
        for (auto it = pending.constBegin(); it != pending.constEnd(); ++it) {
            names << quoted(it.key());
            marks << QStringLiteral("?");
            binds << it.value();
        }
        const QString sql = names.isEmpty()
            ? QLatin1String("INSERT INTO ") + quoted(table_) + QLatin1String(" DEFAULT VALUES")
            : QLatin1String("INSERT INTO ") + quoted(table_) + QLatin1String(" (")
                  + names.join(QLatin1String(", ")) + QLatin1String(") VALUES (")
                  + marks.join(QLatin1String(", ")) + QLatin1Char(')');
        Row stored;
        qint64 id = 0;
        const bool ok = write(
            [&] { return execute(sql, binds, &id) && readRow(id, &stored); },
            [&] {
                lastInserted_ = id;
                appendCachedRow(stored);
            });
        if (!ok)
            fail(QStringLiteral("A row could not be added to %1").arg(table_), error_);
        return ok;
    }

    fail(QStringLiteral("A row of %1 could not be written").arg(table_),
         QStringLiteral("neither Edit nor AddNew was started"));
    return false;
}

bool RecordSet::remove()
{
    cancelUpdate();
    if (eof()) {
        fail(QStringLiteral("A row of %1 could not be deleted").arg(table_),
             QStringLiteral("there is no current row"));
        return false;
    }
    const qint64 id = rows_[current_].rowId;
    const bool ok = write(
        [&] { return deleteOne(id); },
        [&] {
            const int index = indexOfRowId(id);
            if (index >= 0)
                dropCachedRow(index); // the next row moves into the current place
        });
    if (!ok)
        fail(QStringLiteral("A row of %1 could not be deleted").arg(table_), error_);
    return ok;
}

bool RecordSet::insertRow(qint64 rowId, const QVariantMap& columns)
{
    QStringList names{QStringLiteral("rowid")}, marks{QStringLiteral("?")};
    QVariantList binds{rowId};
    for (auto it = columns.constBegin(); it != columns.constEnd(); ++it) {
        names << quoted(columnName(it.key()));
        marks << QStringLiteral("?");
        binds << it.value();
    }
    const QString sql = QLatin1String("INSERT INTO ") + quoted(table_) + QLatin1String(" (")
                        + names.join(QLatin1String(", ")) + QLatin1String(") VALUES (")
                        + marks.join(QLatin1String(", ")) + QLatin1Char(')');
    Row stored;
    const bool ok = write([&] { return execute(sql, binds) && readRow(rowId, &stored); },
                          [&] { appendCachedRow(stored); });
    if (!ok)
        fail(QStringLiteral("A row could not be put back into %1").arg(table_), error_);
    return ok;
}

bool RecordSet::removeRowId(qint64 rowId)
{
    const bool ok = write(
        [&] { return deleteOne(rowId); },
        [&] {
            const int index = indexOfRowId(rowId);
            if (index >= 0)
                dropCachedRow(index);
        });
    if (!ok)
        fail(QStringLiteral("A row of %1 could not be deleted").arg(table_), error_);
    return ok;
}

bool RecordSet::beginBatch()
{
    if (batch_) {
        fail(QStringLiteral("The changes to %1 could not be started").arg(table_),
             QStringLiteral("a batch is already open"));
        return false;
    }
    auto batch = std::make_unique<Transaction>(db_);
    if (!batch->isOpen()) {
        fail(QStringLiteral("The changes to %1 could not be started").arg(table_), batch->error());
        return false;
    }
    batch_ = std::move(batch);
    return true;
}

bool RecordSet::commitBatch()
{
    if (!batch_)
        return true;
    if (!batch_->commit()) {
        const QString why = batch_->error();
        rollbackBatch();
        fail(QStringLiteral("The changes to %1 could not be written").arg(table_), why);
        return false;
    }
    batch_.reset();
    return true;
}

void RecordSet::rollbackBatch()
{
    if (!batch_)
        return;
    batch_.reset();   // rolled back
    // The cache followed the discarded changes; read the truth again, but
    // keep the reason the batch failed.
    const QString why = error_;
    requery();
    error_ = why;
}

QString StoredText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return NumberText(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return NumberText(value.toDouble());
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

std::optional<qint64> StoredWholeNumber(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e18)
            return qint64(d);
        return std::nullopt;
    }
    case QMetaType::QString: {
        bool ok = false;
        const qint64 n = value.toString().trimmed().toLongLong(&ok);
        if (ok)
            return n;
        const double d = value.toString().trimmed().toDouble(&ok);
        if (ok && std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e18)
            return qint64(d);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}
