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

// One logged command. `kind` names it as the driver does ("press", "undo",
// "newgame", "options", "activate", "name1", "name2", "legs", "sets",
// "start", "players", "commentary", "ok", "cancel", "winnerok"); the other
// members hold its arguments.
struct Entry {
    QString kind;
    double x = 0, y = 0;   // a press: the point, in twips of the board picture
    QString label;         // a press: the dart it made ("T20", "0" ...)
    QString text;          // typed text; for "start" of a match, its settings (JSON)
    qint64 number = 0;     // a button or tab number
    QString extra;         // what undo of this command needs that replay cannot redo (JSON)

    bool operator==(const Entry&) const = default;
};

enum class Status { InProgress, Won, Abandoned };
QString StatusText(Status status);   // "in progress", "won", "abandoned"

struct LoggedMatch {
    qint64 id = 0;
    QDateTime started;
    Status status = Status::InProgress;
    QString settings;            // the settings the match started with (JSON)
    std::vector<Entry> entries;  // in order
    qint64 lastSeq = 0;          // the number of its last row, read or not
    QString writer;              // the program that wrote it last: "host pid"
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
    // Continues logging into `match` after its row `lastSeq` (after it was
    // resumed), as this program's.
    bool continueMatch(qint64 match, qint64 lastSeq, QString* error);
    // Whether `match` is being written by another copy of the program
    // running on this machine (two copies on one folder, the lock file
    // deleted): such a match is neither resumed nor ended here.
    static bool writtenByAnotherCopy(const LoggedMatch& match);

    // The newest match that was not ended and has at least one command;
    // nothing when there is none. Entries that cannot be read back (a row
    // edited by hand, a half-written one) are left out and counted in
    // `skipped`.
    std::optional<LoggedMatch> unfinished(int* skipped, QString* error) const;
    // Every stored match, newest first, with its entries. A match whose
    // start cannot be read is kept, without one.
    std::vector<LoggedMatch> all(LeftOut* leftOut, QString* error) const;

private:
    std::vector<LoggedMatch> read(const QString& where, LeftOut* leftOut, QString* error) const;
    bool makeTables(QString* error);
    // The tables made, with every column this version writes.
    bool readyToWrite(QString* error);

    QSqlDatabase db_;
    // The insert every logged command runs, prepared once: a command is
    // logged on every dart, and parsing the statement anew each time cost
    // more than writing the row.
    std::unique_ptr<QSqlQuery> insertEntry_;
    bool open_ = false;
    bool newer_ = false;
    bool made_ = false;   // the log's tables are in the file
    bool writerColumn_ = false;
    qint64 current_ = 0;
    qint64 nextSeq_ = 1;
};

} // namespace matchlog
