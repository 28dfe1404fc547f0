// The typed match against the engine that shows it: thousands of random
// darts, undo runs, new games and changes of the settings between darts are
// played through the driver and on a match of the test's own, and after every
// step everything that match holds must be what the engine's scoreboard and
// statistics show. Besides that, the properties of the typed match on its
// own: darts and their labels, the bands, and undo.
#include "board/BoardGeometry.h"
#include "base/TextNumbers.h"
#include "match/Bands.h"
#include "match/Match.h"
#include "tools/SimDriver.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <random>

namespace {

std::vector<match::Dart> allDarts()
{
    std::vector<match::Dart> darts{match::Dart::miss(), match::Dart::outerBull(), match::Dart::bull()};
    for (int n = 1; n <= 20; ++n) {
        darts.push_back(match::Dart::single(n));
        darts.push_back(match::Dart::doubleOf(n));
        darts.push_back(match::Dart::treble(n));
    }
    return darts;
}

// Every event of the match, in order, by name, with the ones whose payload
// the comparison needs.
struct Recorder : match::MatchListener {
    QStringList names;
    std::vector<match::DartScored> scored;
    std::vector<match::VisitEnded> visits;
    std::vector<match::Bust> busts;
    std::vector<match::LegWon> legs;
    std::vector<match::DartTakenBack> takenBack;
    int matchWins = 0;

    void reset() { *this = Recorder(); }

    void visitCleared(const match::VisitCleared&) override { names << "VisitCleared"; }
    void dartScored(const match::DartScored& e) override { names << "DartScored"; scored.push_back(e); }
    void visitEnded(const match::VisitEnded& e) override { names << "VisitEnded"; visits.push_back(e); }
    void bust(const match::Bust& e) override { names << "Bust"; busts.push_back(e); }
    void legWon(const match::LegWon& e) override { names << "LegWon"; legs.push_back(e); }
    void legCounted(const match::LegCounted&) override { names << "LegCounted"; }
    void setWon(const match::SetWon&) override { names << "SetWon"; }
    void matchWon(const match::MatchWon&) override { names << "MatchWon"; ++matchWins; }
    void throwPassed(const match::ThrowPassed&) override { names << "ThrowPassed"; }
    void dartTakenBack(const match::DartTakenBack& e) override { names << "DartTakenBack"; takenBack.push_back(e); }
    void gameStarted(const match::GameStarted&) override { names << "GameStarted"; }
    void startingScoreApplied(const match::StartingScoreApplied&) override { names << "StartingScoreApplied"; }
};

// The events one dart may fire, in the order the match documents.
const QRegularExpression kDartEvents(QStringLiteral(
    "^(VisitCleared )*DartScored"
    "( VisitEnded ThrowPassed"
    "| Bust( VisitCleared)? ThrowPassed"
    "| LegWon( VisitEnded)? LegCounted( SetWon)?( MatchWon)?"
    "( VisitCleared ThrowPassed| ThrowPassed( VisitCleared){0,2}|( VisitCleared){0,2})"
    ")?$"));

// The settings as the engine has them, read live: the dialog's boxes and
// buttons for players, legs and sets, the saved row for the starting score.
struct EngineSettings final : match::MatchSettings {
    ModDarts* e = nullptr;
    int players() const override { return e->options.twoPlayers() ? 2 : 1; }
    double legsPerSet() const override { return NumericValue(e->options.txtLegs); }
    double setsPerMatch() const override { return NumericValue(e->options.txtSets); }
    int startingScore() const override { return e->savedStartWith(); }
};

// The statistics rows of the bands.
int legDartsRow(match::LegDartsBand band)
{
    return 4 + int(band);
}
int visitScoreRow(match::VisitScoreBand band)
{
    return 2 + int(band);
}

QString shown(const std::optional<match::Dart>& dart)
{
    return dart ? dart->label() : QString();
}

// The first place where the typed match and the engine disagree; empty when
// they agree on everything the typed match holds.
QString difference(ModDarts& e, const match::Match& m)
{
    QStringList out;
    auto check = [&](const char* what, const QString& engine, const QString& typed) {
        if (engine != typed)
            out << QStringLiteral("%1: engine \"%2\", match \"%3\"").arg(QLatin1String(what), engine, typed);
    };
    auto num = [](qint64 v) { return QString::number(v); };
    for (int p = 0; p < 2; ++p) {
        const PlayerPanel& P = e.board.panel[p];
        const match::PlayerState& S = m.player(p);
        const QString who = QStringLiteral(" of player %1").arg(p);
        auto at = [&](const char* what) { return QByteArray(what) + who.toLatin1(); };
        check(at("remaining"), P.lblScoreLeft.text(), NumberText(S.remaining));
        check(at("legs"), P.lblLeg.text(), NumberText(S.legs));
        check(at("sets"), P.lblSet.text(), NumberText(S.sets));
        check(at("darts in leg (statistics)"), num(qint64(NumericValue(e.stats.grdStats[p].text(0, 1)))), num(S.dartsInLeg));
        check(at("darts in leg (panel)"), P.lblDartsThrown.text(), NumberText(S.dartsInLegShown));
        check(at("darts in match"), num(qint64(NumericValue(e.stats.grdStats2[p].text(0, 1)))), num(S.dartsInMatch));
        check(at("points of the match"), num(e.match().player(p).matchPoints), num(S.matchPoints));
        check(at("points of the leg"), num(e.match().player(p).legPoints), num(S.legPoints));
        check(at("first-nine average"), num(e.match().player(p).firstNineAverage), num(S.firstNineAverage));
        check(at("next row"), num(e.match().player(p).nextRow), num(S.nextRow));
        check(at("first dart"), P.lblFirstDart.text(), shown(S.visit.darts[0]));
        check(at("second dart"), P.lblSecondDart.text(), shown(S.visit.darts[1]));
        check(at("third dart"), P.lblThirdDart.text(), shown(S.visit.darts[2]));
        check(at("visit total"), P.lblThreeDartScore.text(), S.visit.total ? NumberText(*S.visit.total) : QString());
    }
    check("current player", num(e.match().currentPlayer()), num(m.currentPlayer()));
    check("darts in visit", num(e.match().dartsInVisit()), num(m.dartsInVisit()));
    check("visit remaining", num(e.match().visitRemaining()), num(m.visitRemaining()));
    check("undoable darts", num(e.match().undoableDarts()), num(m.undoableDarts()));
    return out.join(u"; ");
}

struct BandCounts {
    qint64 legRows[10] = {};
    qint64 visitRows[10] = {};
};

BandCounts bandsOf(ModDarts& e, int p)
{
    BandCounts c;
    for (int r = 4; r <= 9; ++r)
        c.legRows[r] = qint64(NumericValue(e.stats.grdStats[p].text(r, 1)));
    for (int r = 2; r <= 9; ++r)
        c.visitRows[r] = qint64(NumericValue(e.stats.grdStats2[p].text(r, 1)));
    return c;
}

// The count of `dart`'s bed in the player's segment tables; a miss has none.
qint64 bedCount(ModDarts& e, int p, const match::Dart& dart)
{
    using Bed = match::Dart::Bed;
    const int column = 21 - dart.number();
    switch (dart.bed()) {
    case Bed::Treble: return qint64(NumericValue(e.stats.grdDarts[p].text(1, column)));
    case Bed::Double: return qint64(NumericValue(e.stats.grdDarts[p].text(2, column)));
    case Bed::Single: return qint64(NumericValue(e.stats.grdDarts[p].text(3, column)));
    case Bed::Bull: return qint64(NumericValue(e.stats.grdDarts2[p].text(1, 0)));
    case Bed::OuterBull: return qint64(NumericValue(e.stats.grdDarts2[p].text(1, 1)));
    case Bed::Miss: break;
    }
    return 0;
}

// Often a dart that gets somewhere: a finishing double, the bull, a treble to
// come down, a single that leaves a double; otherwise any dart of the board.
match::Dart pickDart(std::mt19937& rng, const match::Match& m, const std::vector<match::Dart>& all)
{
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> any(0, int(all.size()) - 1);
    if (percent(rng) < 45) {
        const qint64 left = m.dartsInVisit() > 0 ? m.visitRemaining() : m.player(m.currentPlayer()).remaining;
        if (left == 50)
            return match::Dart::bull();
        if (left <= 40 && left >= 2 && left % 2 == 0)
            return match::Dart::doubleOf(int(left / 2));
        if (left > 60)
            return percent(rng) < 70 ? match::Dart::treble(20) : match::Dart::treble(19);
        if (left > 40)
            return match::Dart::single(int(left - 40));
        if (left > 2)
            return match::Dart::single(1);
    }
    return all[std::size_t(any(rng))];
}

void run(SimDriver& d, const QString& line)
{
    QString out, error;
    if (d.run(line, &out, &error) != SimDriver::Result::Ok)
        qFatal("driver refused \"%s\": %s", qPrintable(line), qPrintable(error));
}

} // namespace

class MatchTest : public QObject {
    Q_OBJECT
private slots:
    void dartsAgreeWithTheBoardsLabels()
    {
        const std::vector<match::Dart> darts = allDarts();
        QCOMPARE(int(darts.size()), 63);
        QSet<QString> labels;
        for (const match::Dart& d : darts) {
            const QString label = d.label();
            labels.insert(label);
            QVERIFY2(IsDartLabel(label), qPrintable(label));
            QCOMPARE(qint64(d.score()), DartValue(label));
            QCOMPARE(d.finishes(), label.startsWith(u'D') || label == u"50");
            QCOMPARE(match::Dart::fromLabel(label), std::optional<match::Dart>(d));
        }
        QCOMPARE(labels.size(), 63);

        // Every short text over the characters labels use: the typed match
        // takes exactly the texts the board takes.
        const QString chars = QStringLiteral("0125DTx -");
        QStringList texts{QString()};
        for (int length = 1; length <= 3; ++length) {
            QStringList longer;
            for (const QString& t : texts)
                if (t.size() == length - 1)
                    for (QChar c : chars)
                        longer << t + c;
            texts += longer;
        }
        texts << "T20" << "D20" << "T21" << "D0" << "20 " << "t20" << "d16" << "100";
        for (const QString& t : texts) {
            const std::optional<match::Dart> d = match::Dart::fromLabel(t);
            QVERIFY2(d.has_value() == IsDartLabel(t), qPrintable(u'"' + t + u'"'));
            if (d)
                QCOMPARE(d->label(), t);
        }
    }

    void everyBandIsReachedAndChosenRight()
    {
        struct LegRange { match::LegDartsBand band; qint64 from, to; };
        const LegRange legRanges[] = {{match::LegDartsBand::Nine, 9, 9},
                                      {match::LegDartsBand::Ten, 10, 10},
                                      {match::LegDartsBand::Eleven, 11, 11},
                                      {match::LegDartsBand::TwelveOrThirteen, 12, 13},
                                      {match::LegDartsBand::FourteenOrFifteen, 14, 15}};
        QSet<int> legBands;
        for (qint64 n = 0; n <= 500; ++n) {
            match::LegDartsBand expected = match::LegDartsBand::Other;
            for (const LegRange& r : legRanges)
                if (n >= r.from && n <= r.to)
                    expected = r.band;
            QVERIFY2(match::legDartsBand(n) == expected, qPrintable(QString::number(n)));
            legBands.insert(int(match::legDartsBand(n)));
        }
        QCOMPARE(legBands.size(), 6);

        struct VisitRange { match::VisitScoreBand band; qint64 from, to; };
        const VisitRange visitRanges[] = {{match::VisitScoreBand::OneEighty, 180, 180},
                                          {match::VisitScoreBand::From140, 140, 179},
                                          {match::VisitScoreBand::From100, 100, 139},
                                          {match::VisitScoreBand::From80, 80, 99},
                                          {match::VisitScoreBand::From60, 60, 79},
                                          {match::VisitScoreBand::From40, 40, 59},
                                          {match::VisitScoreBand::From20, 20, 39},
                                          {match::VisitScoreBand::Below20, 0, 19}};
        QSet<int> visitBands;
        for (qint64 s = -30; s <= 400; ++s) {
            std::optional<match::VisitScoreBand> expected;
            for (const VisitRange& r : visitRanges)
                if (s >= r.from && s <= r.to)
                    expected = r.band;
            QVERIFY2(match::visitScoreBand(s) == expected, qPrintable(QString::number(s)));
            if (expected)
                visitBands.insert(int(*expected));
        }
        QCOMPARE(visitBands.size(), 8);
    }

    void undoRestoresTheWholeStateBeforeEveryDart()
    {
        const std::vector<match::Dart> all = allDarts();
        for (int players : {1, 2}) {
            match::FixedSettings settings;
            settings.playerCount = players;
            settings.start = 101;
            settings.legs = 2;
            settings.sets = 2;
            match::Match m(settings);
            Recorder events;
            m.addListener(&events);
            std::mt19937 rng(11 + players);
            int legs = 0, busts = 0;
            for (int dart = 0; dart < 3000; ++dart) {
                const match::Dart d = pickDart(rng, m, all);
                const match::MatchState before = m.state();
                const int undoable = m.undoableDarts();
                const int thrower = m.currentPlayer();
                m.throwDart(d);
                events.reset();
                QVERIFY(m.undoLastDart());
                QVERIFY2(m.state() == before, qPrintable(QStringLiteral("dart %1 (%2)").arg(dart).arg(d.label())));
                // A dart thrown onto slot 50 wraps to slot 1, so its undo
                // leaves nothing more to take back.
                QCOMPARE(m.undoableDarts(), undoable == 50 ? 0 : undoable);
                QCOMPARE(events.names, QStringList{"DartTakenBack"});
                QCOMPARE(events.takenBack.at(0).player, thrower);
                QVERIFY(events.takenBack.at(0).dart == d);
                events.reset();
                m.throwDart(d);
                legs += int(events.legs.size());
                busts += int(events.busts.size());
            }
            // The darts took the match through busts and won legs and sets.
            QVERIFY2(legs > 20 && busts > 20, qPrintable(QStringLiteral("%1 legs, %2 busts").arg(legs).arg(busts)));
        }
    }

    void undoReachesBackAsFarAsTheHistoryWraps()
    {
        match::FixedSettings settings;
        settings.start = 501;
        for (int thrown : {1, 49, 50, 51, 60, 99, 100, 101, 137}) {
            match::Match m(settings);
            for (int i = 0; i < thrown; ++i)
                m.throwDart(match::Dart::single(1));
            const int reach = (thrown - 1) % 50 + 1;
            int undone = 0;
            while (m.undoLastDart())
                ++undone;
            QCOMPARE(undone, reach);
            // Nothing more: refused without a change.
            const match::MatchState stuck = m.state();
            QVERIFY(!m.undoLastDart());
            QVERIFY(m.state() == stuck);
            // A dart thrown after the undos takes the freed slot.
            m.throwDart(match::Dart::miss());
            QCOMPARE(m.undoableDarts(), 1);
        }
        // A starting score applied after a won leg is undone with the leg's
        // winning dart: the leg resumes as it stood, at its own score.
        {
            match::FixedSettings s;
            s.playerCount = 2;
            s.start = 101;
            match::Match m(s);
            for (const char* label : {"T20", "1", "D20"})   // 101 in one visit
                m.throwDart(*match::Dart::fromLabel(QString::fromLatin1(label)));
            const match::MatchState beforeLastDart = [&] {
                match::Match replay(s);
                replay.throwDart(match::Dart::treble(20));
                replay.throwDart(match::Dart::single(1));
                return replay.state();
            }();
            QCOMPARE(m.player(0).legs, qint64(1));
            s.start = 301;
            QVERIFY(m.applyStartingScore());
            QCOMPARE(m.player(1).remaining, qint64(301));
            QVERIFY(m.undoLastDart());
            QVERIFY(m.state() == beforeLastDart);
            QCOMPARE(m.player(1).remaining, qint64(101));
        }

        // A new game forgets every dart.
        match::Match m(settings);
        m.throwDart(match::Dart::treble(20));
        m.newGame();
        QCOMPARE(m.undoableDarts(), 0);
        QVERIFY(!m.undoLastDart());
    }

    // The differential test proper.
    void playsExactlyAsTheEngine_data()
    {
        QTest::addColumn<int>("players");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("seed");
        QTest::addColumn<bool>("endless");   // 99 legs a set, 99 sets, left alone
        for (int players : {1, 2})
            for (int start : {101, 301, 501})
                QTest::addRow("%d player(s), %d", players, start) << players << start << players * 1000 + start << false;
        // Past 99 legs and sets on the panels the winner keeps the throw.
        QTest::addRow("2 players, 101, endless") << 2 << 101 << 7 << true;
    }
    void playsExactlyAsTheEngine()
    {
        QFETCH(int, players);
        QFETCH(int, start);
        QFETCH(int, seed);
        QFETCH(bool, endless);
        const int Steps = endless ? 12000 : 4000;
        const QString legs = endless ? "99" : "3", sets = endless ? "99" : "2";

        QTemporaryDir home;
        SimDriver driver(home.path());
        QString error;
        QVERIFY2(driver.start(&error), qPrintable(error));
        ModDarts& e = driver.engine();
        for (const QString& line : {QStringLiteral("clock 2026-12-09T10:00:00"), QStringLiteral("options 3"),
                                    QStringLiteral("set players %1").arg(players),
                                    QStringLiteral("set start %1").arg(start), "set legs " + legs,
                                    "set sets " + sets, QStringLiteral("set commentary off"),
                                    QStringLiteral("ok")})
            run(driver, line);

        EngineSettings settings;
        settings.e = &e;
        match::Match m(settings);
        Recorder events;
        m.addListener(&events);
        // The engine was set up before the match was made: start both at the
        // settings just saved, as a started program does.
        QVERIFY(m.applyStartingScore());
        QVERIFY2(difference(e, m).isEmpty(), qPrintable(difference(e, m)));

        std::mt19937 rng{quint32(seed)};
        std::uniform_int_distribution<int> percent(0, 99);
        const std::vector<match::Dart> all = allDarts();
        QStringList log;   // the last steps, for the failure message
        int staleVisits = 0, keptThrows = 0, shortCheckouts = 0;
        int legsWon = 0, bustCount = 0, matchesWon = 0, undos = 0, refusedUndos = 0, settingChanges = 0;
        QSet<int> legBandsSeen, visitBandsSeen;

        for (int step = 0; step < Steps; ++step) {
            const int roll = percent(rng);
            QString what;
            events.reset();
            if (roll < 86) {
                const match::Dart d = pickDart(rng, m, all);
                what = "throw " + d.label();
                const int p = m.currentPlayer();
                // A finished visit still on the thrower's panel: the panel adds
                // the new dart to its old total (after a change of players).
                const bool clearsOwnVisit = settings.players() != 2 && p == 0 && m.player(0).visit.thirdDartShown();
                if (m.dartsInVisit() == 0 && m.player(p).visit.total && !clearsOwnVisit)
                    ++staleVisits;
                const BandCounts before = bandsOf(e, p);
                const qint64 bedBefore = bedCount(e, p, d);
                const int numberInVisit = m.dartsInVisit() + 1;
                const quint64 announced = e.winner.revision();
                run(driver, what);
                m.throwDart(d);

                const QString order = events.names.join(u' ');
                QVERIFY2(kDartEvents.match(order).hasMatch(), qPrintable(what + ": " + order));
                QCOMPARE(int(events.scored.size()), 1);
                QVERIFY(events.scored[0].dart == d);
                QCOMPARE(events.scored[0].player, p);
                // Every dart that hit a bed is in the segment tables, a
                // busting dart too; a miss is in none.
                QCOMPARE(bedCount(e, p, d), bedBefore + (d.bed() == match::Dart::Bed::Miss ? 0 : 1));
                for (const match::VisitEnded& visit : events.visits)
                    if (visit.winsLeg)
                        QCOMPARE(visit.total, events.legs.at(0).outShot);

                // Announcements: one per bust, won leg and match won, the last on view.
                const int expectedAnnouncements = int(events.busts.size() + events.legs.size()) + events.matchWins;
                QCOMPARE(int(e.winner.revision() - announced), expectedAnnouncements);
                if (events.matchWins)
                    QCOMPARE(e.winner.lblWinner(), QStringLiteral("Match winner is:"));
                else if (!events.legs.empty())
                    QCOMPARE(e.winner.lblPlayer(), QStringLiteral("has won the leg"));
                else if (!events.busts.empty())
                    QCOMPARE(e.winner.lblPlayer(), QStringLiteral("BUST!"));

                // The bands the engine counted are the ones the events name.
                BandCounts expected = before;
                for (const match::LegWon& leg : events.legs) {
                    const match::LegDartsBand band = match::legDartsBand(leg.dartsInLeg);
                    ++expected.legRows[legDartsRow(band)];
                    legBandsSeen.insert(int(band));
                    // A checkout of one or two darts is a visit of its own
                    // band too, though it is listed nowhere.
                    if (numberInVisit < 3) {
                        if (const auto visitBand = match::visitScoreBand(leg.outShot))
                            ++expected.visitRows[visitScoreRow(*visitBand)];
                        ++shortCheckouts;
                    }
                }
                for (const match::VisitEnded& visit : events.visits) {
                    if (const auto band = match::visitScoreBand(visit.total)) {
                        ++expected.visitRows[visitScoreRow(*band)];
                        visitBandsSeen.insert(int(*band));
                    }
                    // An ordinary visit is listed with its total; a won leg
                    // empties the list right after.
                    if (!visit.winsLeg && visit.row < 10)
                        QCOMPARE(e.stats.grdLastScores[p].text(int(visit.row), 1), NumberText(visit.total));
                }
                for (const match::Bust& bust : events.busts)
                    if (bust.row < 10)
                        QCOMPARE(e.stats.grdLastScores[p].text(int(bust.row), 1),
                                 QStringLiteral("Bust (%1)").arg(bust.visitTotal));
                const BandCounts after = bandsOf(e, p);
                for (int r = 0; r < 10; ++r) {
                    QVERIFY2(after.legRows[r] == expected.legRows[r], qPrintable(QStringLiteral("%1: darts-per-leg row %2").arg(what).arg(r)));
                    QVERIFY2(after.visitRows[r] == expected.visitRows[r], qPrintable(QStringLiteral("%1: visit band row %2").arg(what).arg(r)));
                }
                if (!events.legs.empty() && !events.names.contains("ThrowPassed"))
                    ++keptThrows;
                legsWon += int(events.legs.size());
                bustCount += int(events.busts.size());
                matchesWon += events.matchWins;
            } else if (roll < 92) {
                // A run of undos, now and then past the history's reach.
                const int run_ = percent(rng) < 10 ? 55 : 1 + percent(rng) % 4;
                what = QStringLiteral("undo x%1").arg(run_);
                for (int i = 0; i < run_; ++i) {
                    const bool engineCould = e.match().undoableDarts() > 0;
                    run(driver, "undo");
                    const bool undone = m.undoLastDart();
                    QCOMPARE(undone, engineCould);
                    if (undone) {
                        ++undos;
                    } else {
                        ++refusedUndos;
                    }
                    const QString diff = difference(e, m);
                    QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("step %1, %2, undo %3: %4\n%5")
                                                            .arg(step).arg(what).arg(i).arg(diff, log.join(u'\n'))));
                }
            } else if (roll < 93 && !endless) {
                what = "newgame";
                run(driver, what);
                m.newGame();
            } else if (roll >= 93) {
                // The options: players, legs, sets and start, saved with Ok,
                // or left changed in the open dialog for a while (the match
                // reads players, legs and sets live from it), or cancelled.
                ++settingChanges;
                QStringList lines{"options 3"};
                const int kind = endless ? percent(rng) % 30 + (percent(rng) < 50 ? 0 : 75) : percent(rng);
                if (kind < 30)
                    lines << QStringLiteral("set players %1").arg(1 + percent(rng) % 2);
                else if (kind < 55)
                    lines << QStringLiteral("set legs %1").arg(1 + percent(rng) % 4);
                else if (kind < 75)
                    lines << QStringLiteral("set sets %1").arg(1 + percent(rng) % 3);
                else
                    lines << QStringLiteral("set start %1").arg(QList<int>{101, 301, 501}.at(percent(rng) % 3));
                const int close = percent(rng);
                if (close < 70)
                    lines << "ok";
                else if (close < 85)
                    lines << "cancel";
                // else the dialog stays open with the change in its boxes
                what = lines.join(u"; ");
                for (const QString& line : lines)
                    run(driver, line);
                if (lines.last() == u"ok" && !e.options.visible)
                    m.applyStartingScore();
                if (close >= 85 && percent(rng) < 50)
                    run(driver, "cancel");
            }
            log << QStringLiteral("%1: %2").arg(step).arg(what);
            if (log.size() > 12)
                log.removeFirst();
            const QString diff = difference(e, m);
            QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("step %1, %2: %3\n%4").arg(step).arg(what, diff, log.join(u'\n'))));
        }
        qInfo("%d steps: %d legs won, %d busts, %d matches won, %d darts undone, %d undos refused, %d settings changes",
              Steps, legsWon, bustCount, matchesWon, undos, refusedUndos, settingChanges);
        QVERIFY(legsWon > 10 && bustCount > 10 && undos > 50 && refusedUndos > 0);
        qInfo("%d darts onto a finished visit still on view, %d won legs kept the throw", staleVisits, keptThrows);
        QCOMPARE(legBandsSeen.size(), 6);
        QCOMPARE(visitBandsSeen.size(), 8);
        QVERIFY(shortCheckouts > 0);
        if (endless)
            QVERIFY(keptThrows > 0);
    }
};

QTEST_GUILESS_MAIN(MatchTest)
#include "match_test.moc"
