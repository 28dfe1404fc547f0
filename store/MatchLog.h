#pragma once
// The match log: every operator command that changes the running match, in
// order, kept in the program's database beside its own tables. Each command
// is written in its own transaction, durably, before the windows show what
// it did, so a crash or a power cut loses at most the command in flight; the
// match is resumed by playing the log back, and past matches are looked at
// again the same way.
//
// The log's tables are made on first use, in older files too; the settings
// and high-score tables are never touched by it. A log written by a newer
// version of the program (a higher number in LogVersion) is left alone: it
// is neither resumed nor written to.
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

namespace matchlog {

// The log's layout. Raised when a change would mislead an older program.
constexpr int Version = 1;

// One logged command. `kind` names it as the driver does (Kinds()); the
// other members hold its arguments.
struct Entry {
    QString kind;
    double x = 0, y = 0;   // a press: the point, in twips of the board picture
    QString label;         // a press: the dart it made ("T20", "0" ...)
    QString text;          // typed text; for "start" of a match, its settings (JSON)
    qint64 number = 0;     // a button or tab number
    QString extra;         // what undo of this command needs that replay cannot redo (JSON)

    bool operator==(const Entry&) const = default;
};

// The kinds of command a log holds: "press", "undo", "winnerok",
// "options", "activate", "tab", "name1", "name2", "legs", "sets", "start",
// "players", "commentary", "ok", "cancel".
const QStringList& Kinds();

enum class Status { InProgress, Won, Abandoned };
QString StatusText(Status status);   // "in progress", "won", "abandoned"

struct LoggedMatch {
    qint64 id = 0;
    QDateTime started;
    Status status = Status::InProgress;
    QString settings;            // the settings the match started with (JSON)
    std::vector<Entry> entries;  // in order
    qint64 lastSeq = 0;          // the number of its last row, read or not
    qint64 events = 0;           // its rows, read or not
    qint64 darts = 0;            // its rows read that are darts (with its entries only)
    QString writer;              // the program that wrote it last: "host pid"
    // What the history lists of it, as the program that played it wrote it
    // with its last row (empty from an earlier version).
    QString summary;
};

// What reading the log had to leave out, and why, for the one message
// that says so.
struct LeftOut {
    int rows = 0;          // events that cannot be read back (edited by hand, half written)
    int orphans = 0;       // events of a match the log has no record of
    QStringList matches;   // a line for each match read in part or left out
    bool empty() const { return rows == 0 && orphans == 0 && matches.isEmpty(); }
    QString text() const;
};

class Log;

// The entries of one stored match read one at a time, in order: a long
// match is played back without all its entries in memory at once. Rows that
// cannot be read back (edited by hand, written half) are passed over and
// counted.
class EntryReader {
public:
    EntryReader(const Log& log, qint64 match);
    EntryReader(const EntryReader&) = delete;
    EntryReader& operator=(const EntryReader&) = delete;

    // The next entry, valid until the next call; nothing at the end.
    const Entry* next();

    // Of the rows read so far:
    qint64 rows() const { return rows_; }
    int unreadable() const { return unreadable_; }
    qint64 darts() const { return darts_; }
    qint64 lastSeq() const { return lastSeq_; }
    const QString& error() const { return error_; }

private:
    QSqlQuery q_;
    Entry entry_;
    bool done_ = false;
    qint64 rows_ = 0, darts_ = 0, lastSeq_ = 0;
    int unreadable_ = 0;
    QString error_;
};

class Log {
public:
    // Takes the file's log for this run; its tables are made with the first
    // match logged. False (with `error`) when the file holds a log of a newer
    // version: the log is then off for this run and the program plays on
    // without it.
    bool open(QSqlDatabase db, QString* error);
    bool isOpen() const { return open_; }
    // Whether the file holds a log of a newer program version.
    bool newer() const { return newer_; }

    // Starts a match with the settings it begins with; its commands follow.
    bool beginMatch(const QDateTime& started, const QString& settings, QString* error);
    // Appends one command of the current match. A failed write leaves the
    // log as it was; so does an append that would break the match's order
    // (another copy of the program wrote to it since, or ended it).
    bool append(const Entry& entry, QString* error);
    // Ends the current match with `status`; the next command needs a new
    // one, even when the end could not be written. A match another copy
    // took over is left to it.
    bool endMatch(Status status, QString* error);
    // Marks a stored match won or in progress again (a winning dart taken back).
    bool setStatus(qint64 match, Status status, QString* error);

    qint64 currentMatch() const { return current_; }
    // The number of the current match's newest row.
    qint64 lastSeq() const { return nextSeq_ - 1; }
    // Continues logging into `match` after its row `lastSeq` (after it was
    // resumed), as this program's.
    bool continueMatch(qint64 match, qint64 lastSeq, QString* error);
    // Whether `match` is being written by another copy of the program
    // running on this machine (two copies on one folder, the lock file
    // deleted): such a match is neither resumed nor ended here.
    static bool writtenByAnotherCopy(const LoggedMatch& match);

    // The newest match that was not ended and has at least one command,
    // without its entries (EntryReader reads them); nothing when there is
    // none.
    std::optional<LoggedMatch> unfinished(QString* error) const;
    // Every stored match, newest first, with its entries. A match whose
    // start cannot be read is kept, without one.
    std::vector<LoggedMatch> all(LeftOut* leftOut, QString* error) const;
    // The same without the entries, what a list of them needs: its last row
    // and the number of its rows are read from the index alone, however
    // long the matches are.
    std::vector<LoggedMatch> list(LeftOut* leftOut, QString* error) const;
    // One stored match with its entries; `leftOut` says what of them could
    // not be read back.
    std::optional<LoggedMatch> match(qint64 id, LeftOut* leftOut, QString* error) const;

    // Keeps what the history lists of the current match, in the same
    // transaction as its newest row.
    bool setSummary(const QString& summary, QString* error);

private:
    friend class EntryReader;
    std::vector<LoggedMatch> read(const QString& where, bool withEntries, LeftOut* leftOut, QString* error) const;
    QStringList matchColumns() const;
    bool makeTables(QString* error);
    // The tables made, with every column this version writes.
    bool readyToWrite(QString* error);

    QSqlDatabase db_;
    // The insert every logged command runs, prepared once: a command is
    // logged on every dart, and parsing the statement anew each time cost
    // more than writing the row.
    std::unique_ptr<QSqlQuery> insertEntry_;
    std::unique_ptr<QSqlQuery> updateSummary_;
    bool open_ = false;
    bool newer_ = false;
    bool made_ = false;   // the log's tables are in the file
    bool newColumns_ = false;   // the columns this version added are in the file
    qint64 current_ = 0;
    qint64 nextSeq_ = 1;
};

} // namespace matchlog
