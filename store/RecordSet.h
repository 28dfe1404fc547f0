#pragma once
// An updatable view of the rows a SELECT returns, with a current row, as the
// program has always used its tables: move through the rows, read a column,
// edit or add a row and write it, delete it, re-run the query.
//
// Every write is its own transaction and is on disk when the call returns,
// unless it is part of a batch (beginBatch .. commitBatch), which writes all
// of its changes or none. The rows are a cache of what the last query read,
// kept in step with every successful write; a failed write leaves both the
// file and the cache as they were.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

class Transaction;

class RecordSet {
public:
    // The rows of `table` (all columns and the rowid) matching `where`, in
    // `orderBy` order. Both clauses are fixed texts of the program, never input.
    RecordSet(QSqlDatabase db, QString table, QString where, QString orderBy);
    ~RecordSet();

    // Re-runs the query so the rows reflect every change, in the query's order,
    // and moves to the first row. False (with lastError) when the read fails;
    // the rows read before are then kept.
    bool requery();

    bool eof() const { return current_ < 0 || current_ >= rows_.size(); }
    int count() const { return int(rows_.size()); }
    void moveFirst() { current_ = rows_.isEmpty() ? -1 : 0; }
    void moveNext() { if (!eof()) ++current_; }
    void moveLast() { current_ = int(rows_.size()) - 1; }
    // Makes the row with this rowid current; false (and past the end) when
    // the rows hold none.
    bool moveToRowId(qint64 rowId);

    // A column of the current row; a Null column (or no current row) gives
    // an invalid or null QVariant. Column names match whatever their case.
    QVariant field(const QString& column) const;
    // A column of row `row` (0 the first) whatever row is current.
    QVariant fieldAt(int row, const QString& column) const;
    qint64 rowId() const;
    // The table's columns as the last query found them, in the table's case.
    const QStringList& columns() const { return columns_; }

    // Edit: change columns of the current row, then update() writes them.
    // AddNew: start a new row, set its columns, then update() inserts it; the
    // new row is added at the end of the rows and the current row stays.
    // After update(), failed or not, nothing is pending any more.
    void edit();
    void addNew();
    void setField(const QString& column, const QVariant& value);
    bool update();
    void cancelUpdate();
    // Deletes the current row; the row after it becomes current. A row that
    // is no longer in the table (another program took it away since the
    // last re-query) fails the delete.
    bool remove();

    // Puts a deleted row back with its old rowid and columns (for undo).
    bool insertRow(qint64 rowId, const QVariantMap& columns);
    // Deletes the row with this rowid (for undo of an added row); like
    // remove(), a row that is not there fails it.
    bool removeRowId(qint64 rowId);

    // Several writes as one: after beginBatch() every write joins one
    // transaction until commitBatch() writes them all. rollbackBatch() (and a
    // failed commit) discards them and re-reads the rows.
    bool beginBatch();
    bool commitBatch();
    void rollbackBatch();
    bool inBatch() const { return batch_ != nullptr; }

    // The columns of the current row, by name.
    QVariantMap values() const;
    qint64 lastInsertedRowId() const { return lastInserted_; }
    const QString& lastError() const { return error_; }

private:
    struct Row {
        qint64 rowId = 0;
        QVariantMap values;
    };
    enum class Mode { None, Edit, AddNew };

    QString quoted(const QString& identifier) const;
    QString columnName(const QString& column) const;
    bool execute(const QString& sql, const QVariantList& binds, qint64* insertedId = nullptr,
                 int* changed = nullptr);
    // A DELETE of one row by its rowid, which must find that row.
    bool deleteOne(qint64 rowId);
    bool readRow(qint64 rowId, Row* row);
    bool write(const std::function<bool()>& body, const std::function<void()>& apply);
    int indexOfRowId(qint64 rowId) const;
    void dropCachedRow(int index);
    void appendCachedRow(const Row& row);
    void fail(const QString& what, const QString& why);

    QSqlDatabase db_;
    QString table_, where_, orderBy_;
    QStringList columns_;
    QVector<Row> rows_;
    int current_ = -1;
    Mode mode_ = Mode::None;
    QVariantMap pending_;
    qint64 lastInserted_ = 0;
    std::unique_ptr<Transaction> batch_;
    QString error_;
};

// The text of a stored value as the program shows it: a Null is the empty
// text, a number its general text form, anything else its text.
QString StoredText(const QVariant& value);

// A stored value read as a whole number: integers as they are, a real or a
// text only when it is exactly a whole number. Nothing for Null or anything
// else.
std::optional<qint64> StoredWholeNumber(const QVariant& value);
