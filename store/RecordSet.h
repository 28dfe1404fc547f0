#pragma once
// An updatable view of the rows a SELECT returns, with a current row, as the
// program has always used its tables: move through the rows, read a column,
// edit or add a row and write it, delete it, re-run the query.
//
// Every write is its own transaction and is on disk when the call returns.
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>

class RecordSet {
public:
    // The rows of `table` (all columns and the rowid) matching `where`, in
    // `orderBy` order. Both clauses are fixed texts of the program, never input.
    RecordSet(QSqlDatabase db, QString table, QString where, QString orderBy);

    // Re-runs the query so the rows reflect every change, in the query's order,
    // and moves to the first row. False (with lastError) when the read fails.
    bool requery();

    bool eof() const { return current_ < 0 || current_ >= rows_.size(); }
    int count() const { return int(rows_.size()); }
    void moveFirst() { current_ = rows_.isEmpty() ? -1 : 0; }
    void moveNext() { if (!eof()) ++current_; }
    void moveLast() { current_ = int(rows_.size()) - 1; }

    // A column of the current row; a Null column (or no current row) gives
    // an invalid or null QVariant.
    QVariant field(const QString& column) const;
    qint64 rowId() const;

    // Edit: change columns of the current row, then update() writes them.
    // AddNew: start a new row, set its columns, then update() inserts it.
    void edit();
    void addNew();
    void setField(const QString& column, const QVariant& value);
    bool update();
    // Deletes the current row.
    bool remove();

    // Puts a deleted row back with its old rowid and columns (for undo).
    bool insertRow(qint64 rowId, const QVariantMap& columns);
    // Deletes the row with this rowid (for undo of an added row).
    bool removeRowId(qint64 rowId);

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

    QSqlDatabase db_;
    QString table_, where_, orderBy_;
    QVector<Row> rows_;
    int current_ = -1;
    Mode mode_ = Mode::None;
    QVariantMap pending_;
    qint64 lastInserted_ = 0;
    QString error_;
};
