#include "tools/SimDriver.h"

#include "base/Moments.h"

#include <array>

#include "board/BoardGeometry.h"
#include "print/PrintModDarts.h"
#include "store/HiScoreTable.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

class SimDriver::Sounds : public SoundOutput {
public:
    void play(const QString& path) override { started.append(QFileInfo(path).fileName()); }
    QStringList started;
};

class SimDriver::Messages : public Notifier {
public:
    void message(const QString& text, const QString&) override { shown.append(text); }
    // Nobody is there to agree to a repair: the driver declines and stops.
    bool question(const QString& text, const QString&) override
    {
        shown.append(text);
        return false;
    }
    QStringList shown;
};

SimDriver::SimDriver(const QString& home, bool keepsLog)
    : sounds_(std::make_unique<Sounds>()), messages_(std::make_unique<Messages>()), home_(home),
      keepsLog_(keepsLog)
{
    makeEngine();
}

void SimDriver::makeEngine()
{
    // The commands go first: they hold the engine.
    commands_.reset();
    engine_.reset();
    ModDarts::Setup setup;
    setup.databasePath = QDir(home_).filePath(QStringLiteral("Data/Darts.MDB"));
    setup.soundsFolder = QDir(home_).filePath(QStringLiteral("sounds"));
    setup.sound = sounds_.get();
    setup.notifier = messages_.get();
    setup.keepsLog = keepsLog_;
    engine_ = std::make_unique<ModDarts>(setup);
    commands_ = std::make_unique<Commands>(*engine_);
    if (fixedClock_.isValid())
        commands_->fixClock(fixedClock_);
}

SimDriver::~SimDriver() = default;

bool SimDriver::start(QString* error)
{
    if (!commands_->openDatabase(error)) {
        if (error->isEmpty() && !messages_->shown.isEmpty())
            *error = messages_->shown.join(u' ');
        return false;
    }
    commands_->load();
    return true;
}

namespace {

bool readNumbers(const QStringList& words, int count, double* values)
{
    if (words.size() != count + 1)
        return false;
    for (int i = 0; i < count; ++i) {
        bool ok = false;
        values[i] = words[i + 1].toDouble(&ok);
        // "nan" and "inf" read as numbers but are no place on the board.
        if (!ok || !std::isfinite(values[i]))
            return false;
    }
    return true;
}

bool readTab(const QStringList& words, int* tab)
{
    if (words.size() != 2)
        return false;
    bool ok = false;
    *tab = words[1].toInt(&ok);
    return ok && *tab >= 1 && *tab <= 3;
}

QJsonArray gridJson(const Grid& grid)
{
    QJsonArray rows;
    for (int r = 0; r < grid.rows(); ++r) {
        QJsonArray row;
        for (int c = 0; c < grid.cols(); ++c)
            row.append(grid.text(r, c));
        rows.append(row);
    }
    return rows;
}

QJsonArray pair(qint64 a, qint64 b)
{
    return QJsonArray{double(a), double(b)};
}

} // namespace

SimDriver::Result SimDriver::run(const QString& line, QString* output, QString* error)
{
    output->clear();
    error->clear();
    if (line.isEmpty() || line.startsWith(u'#'))
        return Result::Ok;
    const QStringList words = line.split(u' ');
    const QString& command = words[0];
    // The driver plays the operator through the same commands the windows
    // issue; it only reads the model.
    Commands& c = *commands_;
    const ModDarts& e = c.model();
    // The rest of the line after the blank that follows the first `skip` words.
    auto rest = [&](int skip) {
        qsizetype at = 0;
        for (int i = 0; i < skip; ++i) {
            at = line.indexOf(u' ', at);
            if (at < 0)
                return QString();
            ++at;
        }
        return line.mid(at);
    };
    double v[4];
    int tab = 0;

    if (command == u"state" && words.size() == 1) {
        *output = QString::fromUtf8(QJsonDocument(state()).toJson(QJsonDocument::Compact));
    } else if (command == u"throw" && words.size() == 2 && IsDartLabel(words[1])) {
        // As typing the dart would: a bed the board is drawn too small to
        // hold cannot be pressed, and nothing is recorded.
        const std::optional<QPointF> at = PointInside(e.board.Image1, words[1]);
        if (!at) {
            *error = QStringLiteral("board too small for %1: nothing recorded").arg(words[1]);
            return Result::Ok;
        }
        c.boardPressed(at->x(), at->y());
    } else if (command == u"enter") {
        // The text as typed, blanks and all, then Enter; "enter" alone is
        // Enter on what the entry already holds.
        if (words.size() > 1)
            c.entryTyped(rest(1));
        c.entryEnter();
    } else if (command == u"key" && words.size() == 2) {
        const QString& key = words[1];
        if (key == u"Backspace")
            c.entryBackspace();
        else if (key == u"Escape")
            c.entryEscape();
        else if (key == u"Ctrl+Z")
            c.undo();
        else if (key == u"Ctrl+N")
            c.newGame();
        else
            return Result::BadCommand;
    } else if (command == u"press" && readNumbers(words, 2, v)) {
        c.boardPressed(v[0], v[1]);
    } else if (command == u"move" && readNumbers(words, 2, v)) {
        c.boardMoved(v[0], v[1]);
    } else if (command == u"moveoff" && words.size() == 1) {
        c.pointerOffBoard();
    } else if (command == u"board" && readNumbers(words, 4, v)) {
        c.placeBoard(BoardRect{v[0], v[1], v[2], v[3]});
    } else if (command == u"undo" && words.size() == 1) {
        c.undo();
    } else if (command == u"newgame" && words.size() == 1) {
        c.newGame();
    } else if (command == u"winnerok" && words.size() == 1) {
        c.winnerOk();
    } else if (command == u"winnerclose" && words.size() == 1) {
        c.winnerCloseRequest();
    } else if (command == u"options" && readTab(words, &tab)) {
        c.showOptions(tab);
    } else if (command == u"set" && words.size() >= 2) {
        const QString& what = words[1];
        const QString value = words.size() >= 3 ? words[2] : QString();
        if (what == u"name1") {
            c.optionsNameTyped(0, rest(2));
        } else if (what == u"name2") {
            c.optionsNameTyped(1, rest(2));
        } else if (what == u"legs") {
            c.optionsLegsTyped(rest(2));
        } else if (what == u"sets") {
            c.optionsSetsTyped(rest(2));
        } else if (what == u"start" && words.size() == 3 &&
                   (value == u"501" || value == u"301" || value == u"101")) {
            c.optionsScoreChosen(value == u"501" ? 0 : value == u"301" ? 1 : 2);
        } else if (what == u"players" && words.size() == 3 && (value == u"1" || value == u"2")) {
            c.optionsPlayersChosen(value == u"1" ? 0 : 1);
        } else if (what == u"commentary" && words.size() == 3 && (value == u"on" || value == u"off")) {
            c.optionsCommentaryChosen(value == u"on" ? 0 : 1);
        } else {
            return Result::BadCommand;
        }
    } else if (command == u"ok" && words.size() == 1) {
        c.optionsOk();
    } else if (command == u"cancel" && words.size() == 1) {
        c.optionsCancel();
    } else if (command == u"stats" && readTab(words, &tab)) {
        c.showStats(tab);
    } else if (command == u"hiscores" && words.size() == 1) {
        c.showHiScores();
    } else if (command == u"hireset" && words.size() == 1) {
        if (e.hiScoresWindow.open)
            c.hiScoresReset();
    } else if (command == u"hiclose" && words.size() == 1) {
        if (e.hiScoresWindow.open)
            c.hiScoresClose();
    } else if (command == u"print" && words.size() >= 2) {
        // A failure is shown in a message box by the print dialog itself.
        PrintSelectedTabToPdf(e, rest(1), nullptr);
    } else if (command == u"history" && words.size() == 1) {
        c.showHistory();
    } else if (command == u"export" && words.size() >= 2) {
        // The format is the file name's: anything but .csv or .json is a
        // line the driver cannot follow. A failed write is a message.
        history::Format format;
        if (!history::FormatOf(rest(1), &format))
            return Result::BadCommand;
        c.exportHistory(rest(1));
    } else if (command == u"resume" && words.size() == 1) {
        c.resume();
    } else if (command == u"discard" && words.size() == 1) {
        c.discard();
    } else if (command == u"restart" && words.size() == 1) {
        // As a crash ends it: nothing more is written. The engine is made
        // anew on the same folder and started as the program starts.
        makeEngine();
        if (!start(error))
            return Result::Failed;
    } else if (command == u"clock" && words.size() == 2) {
        const QDateTime moment = QDateTime::fromString(words[1], Qt::ISODate);
        if (!moment.isValid())
            return Result::BadCommand;
        fixedClock_ = moment;
        c.fixClock(moment);
    } else {
        return Result::BadCommand;
    }
    return Result::Ok;
}

namespace {

QJsonObject panelJson(const PlayerPanel& P)
{
    QJsonObject o;
    o[u"lblNames"] = P.lblNames.text();
    o[u"lblScoreLeft"] = P.lblScoreLeft.text();
    o[u"lblFirstDart"] = P.lblFirstDart.text();
    o[u"lblSecondDart"] = P.lblSecondDart.text();
    o[u"lblThirdDart"] = P.lblThirdDart.text();
    o[u"lblThreeDartScore"] = P.lblThreeDartScore.text();
    o[u"lblFinishAdj"] = P.lblFinishAdj.text();
    o[u"lblLeg"] = P.lblLeg.text();
    o[u"lblSet"] = P.lblSet.text();
    o[u"lblDartsThrown"] = P.lblDartsThrown.text();
    o[u"lblAverage"] = P.lblAverage.text();
    o[u"finishVisible"] = P.lblFinishAdj.visible();
    o[u"finishBack"] = double(P.lblFinishAdj.back());
    o[u"finishFore"] = double(P.lblFinishAdj.fore());
    o[u"arrow"] = P.imgarrow.visible();
    o[u"outline"] = P.Shape1.visible();
    return o;
}

QJsonObject gridsJson(const StatsTables& stats)
{
    QJsonObject grids;
    auto both = [](const Grid (&g)[2]) { return QJsonArray{gridJson(g[0]), gridJson(g[1])}; };
    grids[u"grdLastScores"] = both(stats.grdLastScores);
    grids[u"grdStats"] = both(stats.grdStats);
    grids[u"grdStats2"] = both(stats.grdStats2);
    grids[u"grdDarts"] = both(stats.grdDarts);
    grids[u"grdDarts2"] = both(stats.grdDarts2);
    grids[u"grdOldScores"] = both(stats.grdOldScores);
    grids[u"grdGameStats"] = gridJson(stats.grdGameStats);
    return grids;
}

QJsonObject barsJson(const StatsTables& stats)
{
    QJsonObject bars;
    auto barPair = [](const Bar (&b)[2]) { return QJsonArray{b[0].value(), b[1].value()}; };
    bars[u"ProScoring"] = barPair(stats.ProScoring);
    bars[u"ProOverall3Dart"] = barPair(stats.ProOverall3Dart);
    bars[u"ProFirst9"] = barPair(stats.ProFirst9);
    return bars;
}

QJsonValue announcementJson(const Announcement& winner)
{
    if (!winner.open())
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("lblWinner"), winner.lblWinner()},
                       {QStringLiteral("lblPlayer"), winner.lblPlayer()},
                       {QStringLiteral("winnerTop"), winner.winnerTop()}};
}

QJsonObject optionsJson(const OptionsDialog& o)
{
    QJsonObject options{{QStringLiteral("txtName1"), o.txtName1}, {QStringLiteral("txtName2"), o.txtName2},
                        {QStringLiteral("txtLegs"), o.txtLegs}, {QStringLiteral("txtSets"), o.txtSets},
                        {QStringLiteral("visible"), o.visible}, {QStringLiteral("tab"), o.tab}};
    options[u"start"] = o.OptScore < 0 ? QJsonValue() : QJsonValue(o.OptScore == 0 ? 501 : o.OptScore == 1 ? 301 : 101);
    options[u"players"] = o.OptPlayers < 0 ? QJsonValue() : QJsonValue(o.OptPlayers + 1);
    options[u"commentary"] = o.OptComm < 0 ? QJsonValue() : QJsonValue(o.OptComm == 0 ? "on" : "off");
    return options;
}

// The stored options row, as the file holds it.
QJsonObject savedJson(RecordSet* rsOptions)
{
    QJsonObject saved;
    if (rsOptions) {
        rsOptions->moveFirst();
        for (const char* column : {"Player1", "Player2", "Players", "NumberOfLegs",
                                   "NumberofSets", "StartWith", "Commentry"})
            saved[QLatin1String(column)] = QJsonValue::fromVariant(rsOptions->field(QLatin1String(column)));
    }
    return saved;
}

// The high-score rows as stored, not as any window shows them.
QJsonArray hitableJson(const Database& db)
{
    QJsonArray table;
    QVector<HiScoreEntry> entries;
    QString error;
    if (db.isOpen() && ReadHighScores(db.connection(), &entries, &error)) {
        for (const HiScoreEntry& h : entries)
            table.append(QJsonArray{h.Name, h.Against, h.Date, QJsonValue::fromVariant(h.ScoreValue)});
    }
    return table;
}

QJsonValue resumableJson(const std::optional<ModDarts::Resumable>& r)
{
    if (!r)
        return QJsonValue::Null;
    auto two = [](const auto& v) { return QJsonArray{QJsonValue(v[0]), QJsonValue(v[1])}; };
    return QJsonObject{{QStringLiteral("players"), QJsonArray{r->players[0], r->players[1]}},
                       {QStringLiteral("sets"), two(std::array<double, 2>{double(r->sets[0]), double(r->sets[1])})},
                       {QStringLiteral("legs"), two(std::array<double, 2>{double(r->legs[0]), double(r->legs[1])})},
                       {QStringLiteral("remaining"),
                        two(std::array<double, 2>{double(r->remaining[0]), double(r->remaining[1])})},
                       {QStringLiteral("darts"), double(r->darts)},
                       {QStringLiteral("won"), r->wonBy >= 0 ? QJsonValue(r->players[r->wonBy]) : QJsonValue()},
                       {QStringLiteral("playedOn"), r->playedOn}};
}

QJsonValue historyJson(const HistoryWindow& w)
{
    if (!w.open)
        return QJsonValue::Null;
    QJsonArray rows;
    auto two = [](const auto& v) { return QJsonArray{double(v[0]), double(v[1])}; };
    for (const history::StoredMatch& m : w.rows)
        rows.append(QJsonObject{{QStringLiteral("started"), MomentText(m.log.started)},
                                {QStringLiteral("players"), QJsonArray{m.names[0], m.names[1]}},
                                {QStringLiteral("sets"), two(m.sets)},
                                {QStringLiteral("legs"), two(m.legs)},
                                {QStringLiteral("darts"), two(m.darts)},
                                {QStringLiteral("average"), two(m.average)},
                                {QStringLiteral("status"), history::StatusText(m)},
                                {QStringLiteral("winner"), m.winner >= 0 ? QJsonValue(m.winnerName()) : QJsonValue()}});
    return rows;
}

} // namespace

QJsonObject SimDriver::state()
{
    ModDarts& e = *engine_;
    QJsonObject s;
    const match::Match& game = e.match();
    s[u"CurrentPlayer"] = double(game.currentPlayer());
    s[u"DartsInVisit"] = double(game.dartsInVisit());
    s[u"VisitRemaining"] = double(game.visitRemaining());
    s[u"DartHistoryIndex"] = game.undoableDarts();
    s[u"PointsScored"] = pair(game.player(0).matchPoints, game.player(1).matchPoints);
    s[u"FirstNineAverage"] = pair(game.player(0).firstNineAverage, game.player(1).firstNineAverage);
    s[u"NextRow"] = pair(game.player(0).nextRow, game.player(1).nextRow);
    s[u"CommentaryOn"] = e.commentaryOn();
    s[u"CurrentDartLabel"] = e.currentDartLabel();

    s[u"panels"] = QJsonArray{panelJson(e.board.panel[0]), panelJson(e.board.panel[1])};
    s[u"grids"] = gridsJson(e.stats);
    s[u"bars"] = barsJson(e.stats);
    s[u"announcement"] = announcementJson(e.winner);

    s[u"messages"] = QJsonArray::fromStringList(messages_->shown);
    messages_->shown.clear();
    s[u"sounds"] = QJsonArray::fromStringList(sounds_->started);
    sounds_->started.clear();

    const AimBox& aim = e.board.Frame3;
    s[u"aim"] = QJsonObject{{QStringLiteral("visible"), aim.visible}, {QStringLiteral("text"), aim.caption},
                            {QStringLiteral("left"), aim.left}, {QStringLiteral("top"), aim.top}};

    s[u"options"] = optionsJson(e.options);
    s[u"saved"] = savedJson(e.rsOptions.get());

    const NameMenus& m = e.board.menus;
    s[u"menus"] = QJsonObject{{QStringLiteral("mnuOptPlayer1"), m.mnuOptPlayer1}, {QStringLiteral("mnuOptPlayer2"), m.mnuOptPlayer2},
                              {QStringLiteral("mnustaPlayer1"), m.mnustaPlayer1}, {QStringLiteral("mnustaPlayer2"), m.mnustaPlayer2}};
    s[u"statsTabs"] = QJsonArray{e.statsWindow.tabCaption[0], e.statsWindow.tabCaption[1],
                                 e.statsWindow.tabCaption[2]};

    if (e.hiScoresWindow.open) {
        QJsonArray rows;
        for (const QStringList& row : e.hiScoresWindow.rows)
            rows.append(QJsonArray::fromStringList(row));
        s[u"hiscores"] = rows;
    } else {
        s[u"hiscores"] = QJsonValue::Null;
    }
    s[u"hitable"] = hitableJson(e.dbDarts);
    QJsonObject entry;
    entry[u"text"] = e.keyboard.text;
    entry[u"error"] = e.keyboard.error;
    s[u"entry"] = entry;
    s[u"resumable"] = resumableJson(e.resumable());
    s[u"history"] = historyJson(e.historyWindow);
    return s;
}
