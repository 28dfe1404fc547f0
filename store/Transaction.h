#pragma once
// A write transaction on a connection. The outermost one takes the write
// lock at once (BEGIN IMMEDIATE), so what is read inside it is what is
// written over even with another program on the file. One opened while
// another is open on the same connection is a savepoint inside it: kept
// only if the outer one is, undone alone when it fails. So an operator's
// command that enters a high score and logs itself is written in one piece:
// a crash between the two writes keeps both or neither.
//
// Transactions on one connection end in the order opposite to their
// opening (each is a scope); one left open at destruction is rolled back.
#include <QSqlDatabase>
#include <QString>

class Transaction {
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // False when it could not be begun (`error()` says why).
    bool isOpen() const { return open_; }
    bool outermost() const { return level_ == 1; }
    const QString& error() const { return error_; }

    // Keeps the changes (the outermost: writes them to the file). False with
    // `error()` when they could not be kept; they are then undone.
    bool commit();
    void rollback();

    // Whether a transaction of this kind is open on the connection.
    static bool openOn(const QSqlDatabase& db);

private:
    bool exec(const QString& sql);
    void end();

    QSqlDatabase db_;
    int level_ = 0;   // 1 for the outermost
    bool open_ = false;
    QString error_;
};
