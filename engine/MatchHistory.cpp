#include "engine/MatchHistory.h"

#include "base/Moments.h"
#include "base/TextNumbers.h"
#include "base/WholeFile.h"
#include "engine/DartRecorder.h"
#include "engine/ModDarts.h"

#include <QCryptographicHash>
#include <QSet>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <functional>

namespace history {

namespace {

using Sink = std::function<bool(const QByteArray&)>;

// A text cell. One that a spreadsheet would take for a formula (a name
// typed as "=SUM(1+1)" or "+cmd|...") is written after a "'", which
// spreadsheets show as text and do not keep in the cell's value.
QString csvField(const QString& text)
{
    QString cell = text;
    if (!cell.isEmpty() && QStringView(u"=+-@\t\r").contains(cell.front()))
        cell.prepend(u'\'');
    if (!cell.contains(u',') && !cell.contains(u'"') && !cell.contains(u'\n') && !cell.contains(u'\r'))
        return cell;
    cell.replace(u'"', QStringLiteral("\"\""));
    return u'"' + cell + u'"';
}

QString dartsText(const Visit& v)
{
    QStringList labels;
    for (const Dart& d : v.darts)
        labels << d.label;
    return labels.join(u' ');
}

QJsonValue nameOrNull(const StoredMatch& m, int player)
{
    return player >= 0 ? QJsonValue(m.names[player]) : QJsonValue();
}

QByteArray compact(const QJsonObject& o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// A match as JSON, written a visit at a time: a long match is never held in
// memory as one document. `out` takes each piece; false stops the writing.
bool WriteMatchJson(const StoredMatch& m, const Sink& out)
{
    QJsonObject o;
    o[u"id"] = double(m.log.id);
    o[u"started"] = m.log.started.toString(Qt::ISODate);
    o[u"status"] = StatusText(m);
    o[u"playedOn"] = m.playedOn;
    o[u"winner"] = nameOrNull(m, m.winner);
    QJsonArray players;
    for (int p = 0; p < m.players; ++p)
        players.append(QJsonObject{{QStringLiteral("name"), m.names[p]},
                                   {QStringLiteral("sets"), double(m.sets[p])},
                                   {QStringLiteral("legs"), double(m.legs[p])},
                                   {QStringLiteral("darts"), double(m.darts[p])},
                                   {QStringLiteral("points"), double(m.points[p])},
                                   {QStringLiteral("average"), m.average[p]}});
    o[u"players"] = players;
    o[u"settings"] = QJsonObject{{QStringLiteral("players"), m.players},
                                 {QStringLiteral("startingScore"), m.startingScore},
                                 {QStringLiteral("legsPerSet"), m.legsPerSet},
                                 {QStringLiteral("setsPerMatch"), m.setsPerMatch}};
    QByteArray head = compact(o);
    head.chop(1);   // the closing brace: the legs follow
    if (!out("    " + head + ",\"legs\": ["))
        return false;
    // The visits by leg, in the order they were thrown; a leg's winner is
    // known after its visits.
    int set = 0, number = 0;
    QJsonValue winner;
    bool firstLeg = true, firstVisit = true;
    auto closeLeg = [&] {
        return firstLeg || out("\n      ], \"winner\": " +
                               QJsonDocument(QJsonArray{winner}).toJson(QJsonDocument::Compact).mid(1).chopped(1) + "}");
    };
    for (const Visit& v : m.visits) {
        if (v.set != set || v.leg != number) {
            if (!closeLeg())
                return false;
            set = v.set;
            number = v.leg;
            winner = QJsonValue();
            QByteArray leg = compact(QJsonObject{{QStringLiteral("set"), set}, {QStringLiteral("leg"), number},
                                                 {QStringLiteral("startingScore"), double(v.legStart)}});
            leg.chop(1);
            if (!out((firstLeg ? "\n      " : ",\n      ") + leg + ", \"visits\": ["))
                return false;
            firstLeg = false;
            firstVisit = true;
        }
        if (v.winsLeg)
            winner = m.names[v.player];
        QJsonArray darts;
        for (const Dart& d : v.darts)
            darts.append(QJsonObject{{QStringLiteral("label"), d.label}, {QStringLiteral("score"), d.score}});
        const QByteArray visit = compact(QJsonObject{{QStringLiteral("player"), m.names[v.player]},
                                                     {QStringLiteral("playerNumber"), v.player + 1},
                                                     {QStringLiteral("darts"), darts},
                                                     {QStringLiteral("total"), double(v.total)},
                                                     {QStringLiteral("bust"), v.bust},
                                                     {QStringLiteral("winsLeg"), v.winsLeg},
                                                     {QStringLiteral("remainingAfter"), double(v.remainingAfter)},
                                                     {QStringLiteral("complete"), v.complete}});
        if (!out((firstVisit ? "\n        " : ",\n        ") + visit))
            return false;
        firstVisit = false;
    }
    return closeLeg() && out("\n    ]}");
}

} // namespace

double ThreeDartAverage(qint64 points, qint64 darts)
{
    if (darts <= 0)
        return 0;
    // Worked out as the scoreboard's "Avg" is, to the last bit: the points
    // over the darts in threes, then to 2 places as AverageText rounds.
    const double average = double(points) / (double(darts) / 3);
    return double(RoundHalfEven(average * 100.0)) / 100;
}

QString PlaybackSettings(const QString& stored)
{
    return ModDarts::PlaybackSettings(stored);
}

namespace {

// What the match shows after its first `count` entries (-1: all), with the
// darts `recorder` kept, played back from the log a row at a time.
StoredMatch ReadOne(const matchlog::Log& source, const matchlog::LoggedMatch& log, qint64 count,
                    DartRecorder& recorder, matchlog::LeftOut* leftOut)
{
    int notPlayed = 0;
    std::shared_ptr<matchlog::EntryReader> rows;
    const std::unique_ptr<ModDarts> e =
        ModDarts::Replayed(ModDarts::Playing(source, log.id, PlaybackSettings(log.settings), count, &rows), recorder,
                           [&](const ModDarts& engine) { recorder.follow(engine); }, &notPlayed);
    if (leftOut)
        leftOut->rows += rows->unreadable();
    StoredMatch m;
    m.log.id = log.id;
    m.log.started = log.started;
    m.log.status = log.status;
    m.log.settings = log.settings;
    m.log.lastSeq = rows->lastSeq();
    m.log.events = rows->rows();
    m.log.darts = rows->darts();
    m.playedEntries = count;
    m.notPlayed = notPlayed;
    m.damaged = !ModDarts::SettingsReadable(log.settings);
    m.players = e->twoPlayers() ? 2 : 1;
    for (int p = 0; p < 2; ++p) {
        const match::PlayerState& S = e->match().player(p);
        m.names[p] = e->board.panel[p].lblNames.text();
        m.sets[p] = S.sets;
        m.darts[p] = S.dartsInMatch;
        m.points[p] = S.matchPoints;
        m.average[p] = ThreeDartAverage(S.matchPoints, S.dartsInMatch);
    }
    for (const DartRecorder::Thrown& t : recorder.darts())
        m.legs[t.player] += t.winsLeg;
    const int won = recorder.winningDart();
    m.winner = won >= 0 ? recorder.darts()[std::size_t(won)].matchWonBy : -1;
    m.startingScore = recorder.darts().empty() ? e->savedStartWith() : int(recorder.darts().front().legStart);
    m.legsPerSet = NumericValue(e->options.txtLegs);
    m.setsPerMatch = NumericValue(e->options.txtSets);
    m.visits = recorder.visits();
    return m;
}

} // namespace

std::vector<StoredMatch> Read(const matchlog::Log& source, const matchlog::LoggedMatch& log, matchlog::LeftOut* leftOut)
{
    DartRecorder recorder;
    std::vector<StoredMatch> rows;
    rows.push_back(ReadOne(source, log, -1, recorder, leftOut));
    const StoredMatch& whole = rows.front();
    if (!recorder.playedOn() || whole.damaged)
        return rows;

    // The match as it stood at the win: its log up to the winning dart.
    const std::size_t winning = std::size_t(recorder.winningDart());
    DartRecorder wonRecorder;
    StoredMatch won = ReadOne(source, log, recorder.darts()[winning].entry + 1, wonRecorder, nullptr);
    won.log.status = matchlog::Status::Won;

    // The play after it: what was thrown since.
    StoredMatch& after = rows.front();
    after.playedOn = true;
    after.winner = -1;
    after.visits = recorder.visits(winning + 1);
    after.startingScore = int(after.visits.front().legStart);
    for (int p = 0; p < 2; ++p) {
        after.sets[p] = after.legs[p] = 0;
        after.darts[p] -= won.darts[p];
        after.points[p] -= won.points[p];
        after.average[p] = ThreeDartAverage(after.points[p], after.darts[p]);
    }
    for (std::size_t i = winning + 1; i < recorder.darts().size(); ++i) {
        const DartRecorder::Thrown& t = recorder.darts()[i];
        after.legs[t.player] += t.winsLeg;
        after.sets[t.player] += t.winsSet;
    }
    rows.push_back(std::move(won));
    return rows;
}

namespace {

constexpr int SummaryVersion = 1;

template <class T> QJsonArray Pair(const T (&v)[2])
{
    return QJsonArray{double(v[0]), double(v[1])};
}

template <class T> void PairFrom(const QJsonValue& v, T (&out)[2])
{
    const QJsonArray a = v.toArray();
    for (int p = 0; p < 2; ++p)
        out[p] = T(a.at(p).toDouble());
}

QJsonObject RowJson(const StoredMatch& m)
{
    return QJsonObject{{QStringLiteral("playedOn"), m.playedOn},
                       {QStringLiteral("players"), m.players},
                       {QStringLiteral("names"), QJsonArray{m.names[0], m.names[1]}},
                       {QStringLiteral("sets"), Pair(m.sets)},
                       {QStringLiteral("legs"), Pair(m.legs)},
                       {QStringLiteral("darts"), Pair(m.darts)},
                       {QStringLiteral("points"), Pair(m.points)},
                       {QStringLiteral("winner"), m.winner},
                       {QStringLiteral("start"), m.startingScore},
                       {QStringLiteral("legsPerSet"), m.legsPerSet},
                       {QStringLiteral("setsPerMatch"), m.setsPerMatch}};
}

StoredMatch RowFrom(const QJsonObject& o)
{
    StoredMatch m;
    m.playedOn = o.value(u"playedOn").toBool();
    m.players = o.value(u"players").toInt(2);
    const QJsonArray names = o.value(u"names").toArray();
    for (int p = 0; p < 2; ++p)
        m.names[p] = names.at(p).toString();
    PairFrom(o.value(u"sets"), m.sets);
    PairFrom(o.value(u"legs"), m.legs);
    PairFrom(o.value(u"darts"), m.darts);
    PairFrom(o.value(u"points"), m.points);
    for (int p = 0; p < 2; ++p)
        m.average[p] = ThreeDartAverage(m.points[p], m.darts[p]);
    m.winner = o.value(u"winner").toInt(-1);
    m.startingScore = o.value(u"start").toInt(501);
    m.legsPerSet = o.value(u"legsPerSet").toDouble();
    m.setsPerMatch = o.value(u"setsPerMatch").toDouble();
    return m;
}

// The rows of a listed match played back from its log.
std::vector<StoredMatch> Replay(const matchlog::Log& log, const matchlog::LoggedMatch& listed,
                                matchlog::LeftOut* leftOut)
{
    return Read(log, listed, leftOut);
}

} // namespace

QString SummaryJson(const Summary& summary)
{
    QJsonArray rows;
    for (const StoredMatch& m : summary.rows)
        rows.append(RowJson(m));
    const Resumable& r = summary.resumable;
    const QJsonObject resumable{{QStringLiteral("players"), QJsonArray{r.players[0], r.players[1]}},
                                {QStringLiteral("sets"), Pair(r.sets)},
                                {QStringLiteral("legs"), Pair(r.legs)},
                                {QStringLiteral("remaining"), Pair(r.remaining)},
                                {QStringLiteral("darts"), double(r.darts)},
                                {QStringLiteral("wonBy"), r.wonBy},
                                {QStringLiteral("playedOn"), r.playedOn}};
    return QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("v"), SummaryVersion},
                                                       {QStringLiteral("seq"), double(summary.seq)},
                                                       {QStringLiteral("darts"), double(summary.darts)},
                                                       {QStringLiteral("settings"), summary.settings},
                                                       {QStringLiteral("rows"), rows},
                                                       {QStringLiteral("resumable"), resumable}})
                                 .toJson(QJsonDocument::Compact));
}

std::optional<Summary> SummaryFrom(const QString& json)
{
    const QJsonObject o = QJsonDocument::fromJson(json.toUtf8()).object();
    if (o.value(u"v").toInt() != SummaryVersion)
        return std::nullopt;
    Summary s;
    s.seq = qint64(o.value(u"seq").toDouble());
    s.darts = qint64(o.value(u"darts").toDouble());
    s.settings = o.value(u"settings").toString();
    const QJsonArray rows = o.value(u"rows").toArray();
    if (rows.isEmpty() || rows.size() > 2)
        return std::nullopt;
    for (const QJsonValue& row : rows)
        s.rows.push_back(RowFrom(row.toObject()));
    const QJsonObject r = o.value(u"resumable").toObject();
    const QJsonArray players = r.value(u"players").toArray();
    for (int p = 0; p < 2; ++p)
        s.resumable.players[p] = players.at(p).toString();
    PairFrom(r.value(u"sets"), s.resumable.sets);
    PairFrom(r.value(u"legs"), s.resumable.legs);
    PairFrom(r.value(u"remaining"), s.resumable.remaining);
    s.resumable.darts = qint64(r.value(u"darts").toDouble());
    s.resumable.wonBy = r.value(u"wonBy").toInt(-1);
    s.resumable.playedOn = r.value(u"playedOn").toBool();
    return s;
}

QString SettingsDigest(const QString& settings)
{
    return QString::fromLatin1(QCryptographicHash::hash(settings.toUtf8(), QCryptographicHash::Md5).toHex());
}

bool SummaryStandsFor(const Summary& summary, const matchlog::LoggedMatch& m)
{
    return summary.seq == m.lastSeq && m.events == m.lastSeq && summary.settings == SettingsDigest(m.settings);
}

std::vector<StoredMatch> ReadAll(const matchlog::Log& log, matchlog::LeftOut* leftOut, QString* error)
{
    std::vector<StoredMatch> out;
    for (const matchlog::LoggedMatch& each : log.list(leftOut, error)) {
        if (each.events == 0)
            continue;
        // The summary written with the match's last row stands for it while
        // its rows and settings are those it was written with.
        if (const std::optional<Summary> summary = SummaryFrom(each.summary);
            summary && SummaryStandsFor(*summary, each)) {
            if (summary->darts == 0)
                continue;
            for (StoredMatch m : summary->rows) {
                m.log = each;
                if (summary->rows.size() == 2 && !m.playedOn)
                    m.log.status = matchlog::Status::Won;
                out.push_back(std::move(m));
            }
            continue;
        }
        // Otherwise (a log of an earlier version, rows changed since, a
        // damaged match's settings) it is played back.
        std::vector<StoredMatch> rows = Replay(log, each, leftOut);
        if (rows.empty())
            continue;
        if (rows.front().log.darts == 0) {
            // A match of events this program does not know would vanish
            // without a word.
            if (rows.front().notPlayed > 0 && leftOut)
                leftOut->matches << QStringLiteral("Match %1 was left out: %2 of its %3 logged events are of no "
                                                   "kind this program knows, and none is a dart.")
                                        .arg(each.id)
                                        .arg(rows.front().notPlayed)
                                        .arg(rows.front().log.events);
            continue;
        }
        for (StoredMatch& m : rows) {
            m.visits.clear();
            out.push_back(std::move(m));
        }
    }
    return out;
}

std::optional<StoredMatch> Detailed(const matchlog::Log& log, const StoredMatch& row, matchlog::LeftOut* leftOut,
                                    QString* error)
{
    std::vector<StoredMatch> rows = Replay(log, row.log, leftOut);
    if (rows.empty() || rows.front().log.events == 0) {
        if (error)
            *error = QStringLiteral("match %1 is no longer in the match log").arg(row.log.id);
        return std::nullopt;
    }
    if (rows.front().notPlayed > 0 && leftOut)
        leftOut->matches << QStringLiteral("Match %1: %2 of its logged events could not be played back (of no kind "
                                           "this program knows, or a dart that is no bed) and were left out.")
                                .arg(row.log.id)
                                .arg(rows.front().notPlayed);
    for (StoredMatch& m : rows)
        if (m.playedOn == row.playedOn)
            return std::move(m);
    return std::move(rows.front());
}

QString StatusText(const StoredMatch& match)
{
    if (match.damaged)
        return QStringLiteral("damaged");
    return match.playedOn ? QStringLiteral("played on") : matchlog::StatusText(match.log.status);
}

bool FormatOf(const QString& path, Format* format)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv")
        *format = Format::Csv;
    else if (suffix == u"json")
        *format = Format::Json;
    else
        return false;
    return true;
}

// A row of the list with its visits.
using Detail = std::function<StoredMatch(const StoredMatch&)>;

bool WriteCsv(const std::vector<StoredMatch>& rows, const Detail& detail, const Sink& out)
{
    // A byte-order mark, so spreadsheets take the names as UTF-8; lines end
    // in CR LF as the format has it. A row at a time.
    if (!out(QByteArrayLiteral("\xEF\xBB\xBFmatch,date,set,leg,player_no,player,darts,dart_count,visit_total,bust,"
                               "remaining_after,start_score,played_on\r\n")))
        return false;
    for (const StoredMatch& row : rows) {
        if (row.damaged)
            continue;
        const StoredMatch m = detail(row);
        const QString date = m.log.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        for (const Visit& v : m.visits) {
            const QStringList fields{QString::number(m.log.id),
                                     date,
                                     QString::number(v.set),
                                     QString::number(v.leg),
                                     QString::number(v.player + 1),
                                     csvField(m.names[v.player]),
                                     dartsText(v),
                                     QString::number(v.darts.size()),
                                     QString::number(v.total),
                                     v.bust ? QStringLiteral("yes") : QStringLiteral("no"),
                                     QString::number(v.remainingAfter),
                                     QString::number(v.legStart),
                                     m.playedOn ? QStringLiteral("yes") : QStringLiteral("no")};
            if (!out((fields.join(u',') + QStringLiteral("\r\n")).toUtf8()))
                return false;
        }
    }
    return true;
}

bool WriteJson(const std::vector<StoredMatch>& rows, const Detail& detail, const Sink& out)
{
    if (!out("{\n  \"matches\": ["))
        return false;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!out(i == 0 ? "\n" : ",\n") || !WriteMatchJson(detail(rows[i]), out))
            return false;
    return out(rows.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

bool Export(const matchlog::Log& log, const std::vector<StoredMatch>& rows, const QString& path,
            matchlog::LeftOut* leftOut, QString* error)
{
    Format format;
    if (!FormatOf(path, &format)) {
        if (error)
            *error = QStringLiteral("The file name must end in .csv or .json.");
        return false;
    }
    // A pipe or a device (or a link to one) is never turned into a plain
    // file; an old export stays whole until the new one is on the disk.
    // Each match is played back for its visits as it is written, and let go
    // of before the next: a long history is never held in memory whole.
    QString readError;
    QSet<qint64> told;   // a won match and the play after it are one log
    const Detail detail = [&](const StoredMatch& row) {
        if (!row.visits.empty())
            return row;
        matchlog::LeftOut read;
        std::optional<StoredMatch> full = Detailed(log, row, &read, &readError);
        if (leftOut && !told.contains(row.log.id)) {
            told.insert(row.log.id);
            leftOut->rows += read.rows;
            leftOut->matches += read.matches;
        }
        return full ? std::move(*full) : row;
    };
    WholeFile file;
    const Sink out = [&](const QByteArray& piece) { return file.write(piece); };
    const bool written = file.open(path, WholeFile::Special::Refuse) &&
                         (format == Format::Csv ? WriteCsv(rows, detail, out) : WriteJson(rows, detail, out)) &&
                         readError.isEmpty() && file.commit();
    if (!written && error)
        *error = readError.isEmpty() ? file.error() : readError;
    return written;
}

} // namespace history
