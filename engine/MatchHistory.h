#pragma once
// Past matches as the history shows and exports them. A stored match is
// played back from its log on an engine of its own; what it shows at the end
// (names, sets, legs, darts, averages) makes its row, and the visits as they
// stand at the end (a visit taken back by undo is gone) make its export.
//
// The exports are for other programs: CSV with one row per visit, for any
// spreadsheet, and JSON with whole matches, for scripts.
#include "store/MatchLog.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace history {

// One dart of a visit.
struct Dart {
    QString label;   // "T20", "D16", "25", "0" ...
    int score = 0;
};

// One visit as it stands at the end of the match.
struct Visit {
    int set = 1;      // the set it was thrown in, from 1
    int leg = 1;      // the leg within that set, from 1
    qint64 legStart = 501;   // the score the leg started from
    int player = 0;   // 0 or 1
    std::vector<Dart> darts;
    qint64 total = 0;           // the darts' scores added, a bust's as thrown
    bool bust = false;
    bool winsLeg = false;
    // The score left once the visit is over: a bust leaves it where the
    // visit began, a won leg at 0. A visit still open at the end (fewer than
    // three darts, neither bust nor finish) leaves what it has come down to.
    qint64 remainingAfter = 0;
    bool complete = true;
};

// One stored match: its row in the history and its visits.
//
// A won match is kept as it stood at the win. Play the operator went on
// with after it (the scoreboard goes on counting) is an entry of its own,
// `playedOn`, holding only what was thrown after the win: its sets, legs,
// darts and visits.
struct StoredMatch {
    // The log the entry is played back from, without its entries.
    matchlog::LoggedMatch log;
    bool playedOn = false;
    // Its settings in the log cannot be read: it is shown as played back
    // with a first run's settings, which may not be the ones it had.
    bool damaged = false;
    int notPlayed = 0;   // entries of its log that could not be played back
    // The entries of its log it is played back from (a won match's end with
    // the winning dart); -1 for all. The log itself is read with no entries.
    qint64 playedEntries = -1;
    int players = 2;                 // 1 or 2, as the match ended
    QString names[2];
    qint64 sets[2] = {0, 0};
    qint64 legs[2] = {0, 0};         // legs won over the match
    qint64 darts[2] = {0, 0};        // darts thrown in the match
    qint64 points[2] = {0, 0};       // points scored, busted visits taken off
    double average[2] = {0, 0};      // three-dart average, to 2 places
    int winner = -1;                 // the player who won the match, -1 for none
    int startingScore = 501;         // the first leg's; each visit has its leg's
    double legsPerSet = 0, setsPerMatch = 0;   // as the match counts them
    std::vector<Visit> visits;

    QString winnerName() const { return winner >= 0 ? names[winner] : QString(); }
};

// What the question at start shows of an unfinished match.
struct Resumable {
    QString players[2];
    qint64 sets[2] = {0, 0}, legs[2] = {0, 0}, remaining[2] = {0, 0};   // legs of the running set
    qint64 darts = 0;
    int wonBy = -1;         // the player who won the match, -1 for none
    bool playedOn = false;  // darts were thrown after the win
};

// What the history lists of a logged match and what the question at start
// shows of it, kept with the match in the log as it is played, so neither
// the list nor the question plays a match back. It stands for the match only
// while the match's rows and settings are the ones it was written with: its
// last row is `seq`, it has `seq` rows, and its settings have the digest
// `settings` (a summary behind its rows, of an earlier version, or of
// settings changed since means playing the match back).
struct Summary {
    qint64 seq = 0;
    qint64 darts = 0;                // rows of the match that are darts, taken back or not
    QString settings;                // SettingsDigest() of its settings
    std::vector<StoredMatch> rows;   // as Read gives them, without their visits
    Resumable resumable;
};
QString SummaryJson(const Summary& summary);
std::optional<Summary> SummaryFrom(const QString& json);
QString SettingsDigest(const QString& settings);
// Whether `summary` stands for the listed match `m` (see Summary).
bool SummaryStandsFor(const Summary& summary, const matchlog::LoggedMatch& m);

// "won", "abandoned", "in progress", "played on" for the play after a won
// match, or "damaged" for one whose settings cannot be read.
QString StatusText(const StoredMatch& match);

// The three-dart average as the scoreboard shows it, to 2 places; 0 without a dart.
double ThreeDartAverage(qint64 points, qint64 darts);

// The settings a match is played back with: what its log lacks (a row
// edited by hand) is a first run's.
QString PlaybackSettings(const QString& stored);

// Plays the stored match `log` back from `source` a row at a time and reads
// it: the match, and before it, when play went on after the match was won,
// that play. `leftOut` counts the rows that could not be read back.
std::vector<StoredMatch> Read(const matchlog::Log& source, const matchlog::LoggedMatch& log, matchlog::LeftOut* leftOut);

// Every stored match with at least one dart, newest first, from the
// summaries kept with them (a match without a usable one is played back).
// The rows have no visits and their logs no entries: Detailed() adds them.
// `leftOut` says what of the log could not be read back, and why.
std::vector<StoredMatch> ReadAll(const matchlog::Log& log, matchlog::LeftOut* leftOut, QString* error);
// A row of ReadAll with its visits, played back from its log; nothing when
// the match can no longer be read.
// `leftOut` says what of it could not be read back.
std::optional<StoredMatch> Detailed(const matchlog::Log& log, const StoredMatch& row, matchlog::LeftOut* leftOut,
                                    QString* error);


enum class Format { Csv, Json };
// The format a file name asks for by its ending (.csv or .json, any case);
// false when it asks for neither.
bool FormatOf(const QString& path, Format* format);

// Writes the export of `matches` to `path` in the format its name asks
// for (a damaged match is in the JSON, with its status, but has no rows
// in the CSV: its visits may be wrong), as it is made (a long match is never held in memory as one
// document). The file is replaced whole or not at all; a name that is no
// ordinary file (a pipe, a device, a link to one) is refused.
// `leftOut` says what of the matches' logs could not be read back.
bool Export(const matchlog::Log& log, const std::vector<StoredMatch>& rows, const QString& path,
            matchlog::LeftOut* leftOut, QString* error);

} // namespace history
