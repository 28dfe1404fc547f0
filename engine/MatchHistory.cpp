#include "engine/MatchHistory.h"

#include "base/TextNumbers.h"
#include "base/WholeFile.h"
#include "engine/DartRecorder.h"
#include "engine/ModDarts.h"
#include "store/MatchOptions.h"

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

// The settings a match is played back with. What its stored settings lack
// (a row edited by hand, cut short) is taken from a first run's settings, so
// such a match is still played by two players to the usual counts rather
// than by nobody's settings at all.
QString SettingsForPlayback(const QString& stored)
{
    const MatchOptions first;
    const QJsonObject controls{{QStringLiteral("txtName1"), first.Player1},
                               {QStringLiteral("txtName2"), first.Player2},
                               {QStringLiteral("txtLegs"), first.NumberOfLegs},
                               {QStringLiteral("txtSets"), first.NumberofSets},
                               {QStringLiteral("OptScore"), 0},
                               {QStringLiteral("OptPlayers"), first.Players - 1},
                               {QStringLiteral("OptComm"), first.Commentry == 1 ? 0 : 1}};
    QJsonObject settings{{QStringLiteral("names"), QJsonArray{first.Player1, first.Player2}},
                         {QStringLiteral("controls"), controls},
                         {QStringLiteral("remembered"), controls},
                         {QStringLiteral("savedStart"), first.StartWith},
                         {QStringLiteral("savedPlayers"), first.Players}};
    const QJsonObject given = QJsonDocument::fromJson(stored.toUtf8()).object();
    for (auto it = given.begin(); it != given.end(); ++it)
        settings[it.key()] = it.value();
    return QString::fromUtf8(QJsonDocument(settings).toJson(QJsonDocument::Compact));
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

matchlog::LoggedMatch Playback(const matchlog::LoggedMatch& log)
{
    matchlog::LoggedMatch playback = log;
    playback.settings = SettingsForPlayback(log.settings);
    return playback;
}

namespace {

// What the match shows at the end of `log`, with the darts `recorder` kept.
StoredMatch ReadOne(const matchlog::LoggedMatch& log, DartRecorder& recorder)
{
    const std::unique_ptr<ModDarts> e =
        ModDarts::Replayed(Playback(log), recorder, [&](const ModDarts& engine) { recorder.follow(engine); });
    StoredMatch m;
    m.log = log;
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

std::vector<StoredMatch> Read(const matchlog::LoggedMatch& log)
{
    DartRecorder recorder;
    StoredMatch whole = ReadOne(log, recorder);
    if (!recorder.playedOn() || whole.damaged)
        return {whole};

    // The match as it stood at the win: its log up to the winning dart.
    const std::size_t winning = std::size_t(recorder.winningDart());
    matchlog::LoggedMatch atWin = log;
    atWin.entries.resize(std::size_t(recorder.darts()[winning].entry) + 1);
    atWin.status = matchlog::Status::Won;
    DartRecorder wonRecorder;
    StoredMatch won = ReadOne(atWin, wonRecorder);

    // The play after it: what was thrown since.
    StoredMatch after = whole;
    after.playedOn = true;
    after.winner = -1;
    after.visits = recorder.visits(winning + 1);
    after.startingScore = int(after.visits.front().legStart);
    for (int p = 0; p < 2; ++p) {
        after.sets[p] = after.legs[p] = 0;
        after.darts[p] = whole.darts[p] - won.darts[p];
        after.points[p] = whole.points[p] - won.points[p];
        after.average[p] = ThreeDartAverage(after.points[p], after.darts[p]);
    }
    for (std::size_t i = winning + 1; i < recorder.darts().size(); ++i) {
        const DartRecorder::Thrown& t = recorder.darts()[i];
        after.legs[t.player] += t.winsLeg;
        after.sets[t.player] += t.winsSet;
    }
    return {after, won};
}

std::vector<StoredMatch> ReadAll(const matchlog::Log& log, matchlog::LeftOut* leftOut, QString* error)
{
    std::vector<StoredMatch> out;
    for (const matchlog::LoggedMatch& each : log.all(leftOut, error)) {
        const bool anyDart = std::any_of(each.entries.begin(), each.entries.end(),
                                         [](const matchlog::Entry& e) { return e.kind == u"press"; });
        // A match of events this program does not know would vanish
        // without a word.
        const auto unknown = std::count_if(each.entries.begin(), each.entries.end(),
                                           [](const matchlog::Entry& e) { return !ModDarts::IsLoggedKind(e.kind); });
        if (!anyDart && unknown > 0 && leftOut)
            leftOut->matches << QStringLiteral("Match %1 was left out: %2 of its %3 logged events are of no kind "
                                               "this program knows, and none is a dart.")
                                    .arg(each.id)
                                    .arg(unknown)
                                    .arg(each.entries.size());
        if (anyDart)
            for (StoredMatch& m : Read(each))
                out.push_back(std::move(m));
    }
    return out;
}

QString StatusText(const StoredMatch& match)
{
    if (match.damaged)
        return QStringLiteral("damaged");
    return match.playedOn ? QStringLiteral("played on") : matchlog::StatusText(match.log.status);
}

QString DateText(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
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

bool WriteCsv(const std::vector<StoredMatch>& matches, const Sink& out)
{
    // A byte-order mark, so spreadsheets take the names as UTF-8; lines end
    // in CR LF as the format has it. A row at a time.
    if (!out(QByteArrayLiteral("\xEF\xBB\xBFmatch,date,set,leg,player_no,player,darts,dart_count,visit_total,bust,"
                               "remaining_after,start_score,played_on\r\n")))
        return false;
    for (const StoredMatch& m : matches) {
        if (m.damaged)
            continue;
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

bool WriteJson(const std::vector<StoredMatch>& matches, const Sink& out)
{
    if (!out("{\n  \"matches\": ["))
        return false;
    for (std::size_t i = 0; i < matches.size(); ++i)
        if (!out(i == 0 ? "\n" : ",\n") || !WriteMatchJson(matches[i], out))
            return false;
    return out(matches.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

bool Export(const std::vector<StoredMatch>& matches, const QString& path, QString* error)
{
    Format format;
    if (!FormatOf(path, &format)) {
        if (error)
            *error = QStringLiteral("The file name must end in .csv or .json.");
        return false;
    }
    // A pipe or a device (or a link to one) is never turned into a plain
    // file; an old export stays whole until the new one is on the disk.
    WholeFile file;
    const Sink out = [&](const QByteArray& piece) { return file.write(piece); };
    const bool written = file.open(path, WholeFile::Special::Refuse) &&
                         (format == Format::Csv ? WriteCsv(matches, out) : WriteJson(matches, out)) && file.commit();
    if (!written && error)
        *error = file.error();
    return written;
}

} // namespace history
