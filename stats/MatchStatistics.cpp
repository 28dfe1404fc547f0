#include "stats/MatchStatistics.h"

#include "base/TextNumbers.h"
#include "match/Bands.h"

#include <algorithm>

qint64 PlayerCounters::bedPoints() const
{
    qint64 points = 50 * bulls + 25 * outerBulls;
    for (int n = 1; n <= 20; ++n)
        points += n * (3 * trebles[n] + 2 * doubles[n] + singles[n]);
    return points;
}

qint64 PlayerCounters::bedHits() const
{
    qint64 hits = bulls + outerBulls;
    for (int n = 1; n <= 20; ++n)
        hits += trebles[n] + doubles[n] + singles[n];
    return hits;
}

MatchStatistics::MatchStatistics(StatsTables& tables, const match::Match& match,
                                 std::function<QString(int)> nameOf)
    : t_(tables), match_(match), nameOf_(std::move(nameOf))
{
}

int MatchStatistics::legDartsRow(match::LegDartsBand band)
{
    // The rows "9" to "16+" follow the bands' order.
    return 4 + int(band);
}

int MatchStatistics::visitScoreRow(match::VisitScoreBand band)
{
    // The rows "180" to "0-20" follow the bands' order.
    return 2 + int(band);
}

qint64 MatchStatistics::raise(qint64& counter)
{
    if (journal_ && journal_->recording())
        journal_->record([&counter] { --counter; });
    return ++counter;
}

void MatchStatistics::replace(qint64& value, QString& by, qint64 newValue, const QString& newBy)
{
    if (journal_ && journal_->recording())
        journal_->record([&value, &by, oldValue = value, oldBy = by] {
            value = oldValue;
            by = oldBy;
        });
    value = newValue;
    by = newBy;
}

void MatchStatistics::start()
{
    resetLastScores();
    t_.InitStatsTables();
}

void MatchStatistics::resetLastScores()
{
    // Shortening first means a long leg's rows are dropped at once instead of
    // being emptied one by one; the result is the same.
    for (Grid& last : t_.grdLastScores) {
        last.setRows(10);
        last.clear();
    }
    for (Grid& last : t_.grdLastScores) {
        last.setText(0, 0, QStringLiteral("Darts"));
        last.setText(0, 1, QStringLiteral("Score"));
        last.setColWidth(0, 500);
        last.setColAlignment(0, Grid::AlignCentreCentre);
        last.setColAlignment(1, Grid::AlignCentreCentre);
    }
}

void MatchStatistics::writeAverages(int p)
{
    const match::PlayerState& S = match_.player(p);
    Grid& stats = t_.grdStats[p];
    const double darts = double(S.dartsInMatch);
    stats.setText(1, 1, AverageText(double(S.matchPoints) / darts));
    stats.setText(2, 1, AverageText(S.threeDartAverage()));
}

void MatchStatistics::dartScored(const match::DartScored& e)
{
    const int p = e.player;
    const match::PlayerState& S = match_.player(p);
    Grid& stats = t_.grdStats[p];
    stats.setText(0, 1, NumberText(S.dartsInLeg));
    t_.grdStats2[p].setText(0, 1, NumberText(S.dartsInMatch));
    const QString average = AverageText(double(S.matchPoints) / double(S.dartsInMatch));
    stats.setText(1, 1, average);
    // The bar follows the average as the cell shows it.
    const double threeDart = 3 * NumericValue(average);
    t_.ProOverall3Dart[p].setValue(std::min(threeDart, 100.0));
    if (S.inFirstNine())
        t_.ProFirst9[p].setValue(double(std::min<qint64>(S.firstNineAverage, 100)));
    // Every dart that hit a bed is in the tables, the one that busts a
    // visit too: the tables say where the darts went, not what they scored.
    countBed(p, e.dart);
}

void MatchStatistics::countBed(int p, const match::Dart& dart)
{
    using Bed = match::Dart::Bed;
    PlayerCounters& c = counters_.player[p];
    Grid& darts = t_.grdDarts[p];
    // Segment n is counted in column 21 - n.
    const int n = dart.number();
    switch (dart.bed()) {
    case Bed::Treble:
        darts.setText(1, 21 - n, NumberText(raise(c.trebles[n])));
        break;
    case Bed::Double:
        darts.setText(2, 21 - n, NumberText(raise(c.doubles[n])));
        break;
    case Bed::Single:
        darts.setText(3, 21 - n, NumberText(raise(c.singles[n])));
        break;
    case Bed::Bull:
        t_.grdDarts2[p].setText(1, 0, NumberText(raise(c.bulls)));
        break;
    case Bed::OuterBull:
        t_.grdDarts2[p].setText(1, 1, NumberText(raise(c.outerBulls)));
        break;
    case Bed::Miss:
        break;
    }
}

void MatchStatistics::listVisit(int p, qint64 row, const QString& score)
{
    // The list's first rows are laid out empty below its headings; past them
    // a visit adds a row and the list scrolls to it.
    Grid& last = t_.grdLastScores[p];
    if (row < 10) {
        last.setText(int(row), 0, NumberText(3 * row));
        last.setText(int(row), 1, score);
    } else {
        last.addItem(NumberText(3 * row) + u'\t' + score);
        last.setTopRow(last.rows() - 1);
    }
}

void MatchStatistics::countVisitBand(int p, qint64 score)
{
    if (const auto band = match::visitScoreBand(score)) {
        const qint64 count = raise(counters_.player[p].visitBands[std::size_t(*band)]);
        t_.grdStats2[p].setText(visitScoreRow(*band), 1, NumberText(count));
    }
}

void MatchStatistics::visitEnded(const match::VisitEnded& e)
{
    const int p = e.player;
    const QString score = NumberText(e.total);
    listVisit(p, e.row, score);

    // The main window's short list: five rows, then one added per visit.
    Grid& old = t_.grdOldScores[p];
    if (e.row >= 6) {
        old.addItem(NumberText(3 * e.row) + u'\t' + score);
        old.setTopRow(old.rows() - 1);
    } else if (e.row >= 1) {
        old.setText(int(e.row - 1), 0, NumberText(3 * e.row));
        old.setText(int(e.row - 1), 1, score);
    }

    countVisitBand(p, e.total);

    // The game's best visit; a tie between different names is shared.
    GameCounters& game = counters_.game;
    const QString name = nameOf_(p);
    if (game.bestVisit < e.total) {
        replace(game.bestVisit, game.bestVisitBy, e.total, name);
        t_.grdGameStats.setText(0, 1, name);
        t_.grdGameStats.setText(0, 2, score);
    } else if (game.bestVisit == e.total && game.bestVisitBy != name) {
        replace(game.bestVisit, game.bestVisitBy, e.total, QStringLiteral("Both Players Share"));
        t_.grdGameStats.setText(0, 1, game.bestVisitBy);
        t_.grdGameStats.setText(0, 2, score);
    }

    t_.grdStats[p].setText(2, 1, AverageText(match_.player(p).threeDartAverage()));
}

void MatchStatistics::bust(const match::Bust& e)
{
    const int p = e.player;
    // The rest of the busted visit counts as thrown.
    t_.grdStats[p].setText(0, 1, NumberText(match_.player(p).dartsInLeg));
    writeAverages(p);
    listVisit(p, e.row, QStringLiteral("Bust (") + NumberText(e.visitTotal) + u')');
}

void MatchStatistics::legWon(const match::LegWon& e)
{
    const int p = e.player;
    // A checkout of one or two darts is a visit too: its score is the out
    // shot. A three-dart one is counted when its visit ends.
    if (match_.dartsInVisit() < 3)
        countVisitBand(p, e.outShot);
    GameCounters& game = counters_.game;
    if (game.bestOutShot < e.outShot) {
        replace(game.bestOutShot, game.bestOutShotBy, e.outShot, nameOf_(p));
        t_.grdGameStats.setText(2, 1, game.bestOutShotBy);
        t_.grdGameStats.setText(2, 2, NumberText(e.outShot));
    }
    t_.grdGameStats.setText(4, 1, NumberText(raise(game.legsPlayed)));

    const match::LegDartsBand band = match::legDartsBand(e.dartsInLeg);
    const qint64 count = raise(counters_.player[p].legBands[std::size_t(band)]);
    t_.grdStats[p].setText(legDartsRow(band), 1, NumberText(count));
}

void MatchStatistics::legCounted(const match::LegCounted&)
{
    t_.grdStats[0].setText(0, 1, QString());
    t_.grdStats[1].setText(0, 1, QString());
    for (Grid& old : t_.grdOldScores) {
        old.setRows(5);
        old.clear();
    }
    resetLastScores();
}

void MatchStatistics::gameStarted(const match::GameStarted&)
{
    for (int p = 0; p < 2; ++p) {
        for (Grid* g : {&t_.grdDarts[p], &t_.grdDarts2[p], &t_.grdLastScores[p], &t_.grdStats[p],
                        &t_.grdStats2[p]})
            g->clear();
    }
    t_.grdGameStats.clear();
    t_.InitStatsTables();
    resetLastScores();
    counters_ = StatisticsCounters();
}

void MatchStatistics::updateScoringBars()
{
    for (int p = 0; p < 2; ++p) {
        const PlayerCounters& c = counters_.player[p];
        const qint64 hits = c.bedHits();
        if (hits != 0) {
            const double v = double(c.bedPoints()) / double(hits) * 3;
            t_.ProScoring[p].setValue(std::min(v, 100.0));
        } else {
            t_.ProScoring[p].setValue(0);
            t_.ProOverall3Dart[p].setValue(0);
        }
    }
}
