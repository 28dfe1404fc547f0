// What every counted dart and every finished visit leave in the statistics.
#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"
#include "match/Bands.h"
#include "base/TextNumbers.h"
#include "store/HiScoreTable.h"

void ModDarts::RecordDart()
{
    const qint64 p = PlayerIndex(state.CurrentPlayer);
    const QString& label = history.CurrentDartLabel;
    Grid& darts = stats.grdDarts[p];
    // A segment n is counted in column 21 - n.
    auto column = [](double n) { return int(RoundHalfEven(21 - n)); };
    if (label.startsWith(u'T')) {
        StatsTables::addTo(darts, 1, column(NumericValue(QStringView(label).mid(1))));
    } else if (label.startsWith(u'D')) {
        StatsTables::addTo(darts, 2, column(NumericValue(QStringView(label).mid(1))));
    } else {
        const double v = NumericValue(label);
        if (v == 25)
            StatsTables::addTo(stats.grdDarts2[p], 1, 1);
        else if (v == 50)
            StatsTables::addTo(stats.grdDarts2[p], 1, 0);
        else if (v != 0)
            StatsTables::addTo(darts, 3, column(v));
    }
}

int ModDarts::VisitScoreRow(qint64 score)
{
    // The statistics rows "180" to "0+" follow the bands' order.
    constexpr int FirstBandRow = 2;
    const auto band = match::visitScoreBand(score);
    return band ? FirstBandRow + int(*band) : -1;
}

void ModDarts::RecordVisit(qint64 score)
{
    const qint64 p = PlayerIndex(state.CurrentPlayer);
    PlayerPanel& P = panel(p);

    if (state.DartsInVisit == 3) {
        const QString scoreText = NumberText(score);

        const qint64 r = state.NextRow[p];
        addLastScore(p, scoreText);

        const qint64 v = r;
        Grid& old = stats.grdOldScores[p];
        if (v >= 6) {
            old.addItem(NumberText(3 * v) + u'\t' + scoreText);
            old.setTopRow(old.rows() - 1);
        } else if (v >= 1) {
            old.setText(int(v - 1), 0, NumberText(3 * v));
            old.setText(int(v - 1), 1, scoreText);
        }

        if (score <= 180) {
            const int band = VisitScoreRow(score);
            if (band >= 0)
                StatsTables::addTo(stats.grdStats2[p], band, 1);
        }

        Grid& game = stats.grdGameStats;
        const double best = NumericValue(game.text(0, 2));
        const QString& name = P.lblNames.text();
        if (best < double(score)) {
            game.setText(0, 1, name);
            game.setText(0, 2, scoreText);
        } else if (best == double(score) && game.text(0, 1) != name) {
            game.setText(0, 1, QStringLiteral("Both Players Share"));
            game.setText(0, 2, scoreText);
        }

        recordHighScore(p, score);

        stats.grdStats[p].setText(2, 1, NumberText(3 * NumericValue(stats.grdStats[p].text(1, 1))));
    }

    P.lblScoreLeft.setText(NumberText(P.lblScoreLeft.value() - double(DartValue(P.lblThreeDartScore.text()))));
}

void ModDarts::addLastScore(qint64 p, const QString& score)
{
    // The list's first rows are laid out empty below its headings; past them
    // a visit adds a row and the list scrolls to it.
    const qint64 r = state.NextRow[p];
    Grid& last = stats.grdLastScores[p];
    if (r < 10) {
        last.setText(int(r), 0, NumberText(3 * r));
        last.setText(int(r), 1, score);
    } else {
        last.addItem(NumberText(3 * r) + u'\t' + score);
        last.setTopRow(last.rows() - 1);
    }
    state.NextRow[p] = r + 1;
}

void ModDarts::recordHighScore(qint64 p, qint64 score)
{
    if (!rsHiScores)
        return;
    const QString against = savedPlayers() == 2 ? panel(1 - p).lblNames.text() : QStringLiteral("-");
    QString error;
    const auto entered = EnterHighScore(*rsHiScores, panel(p).lblNames.text(), against,
                                        clock.now(), score, &error);
    if (!error.isEmpty()) {
        dbDarts.reportFailedWrite(notifier(), QStringLiteral("The high score could not be saved:\n") + error);
        return;
    }
    if (entered)
        journal_.record([this, replaced = *entered] {
            QString undoError;
            if (!RevertHighScore(*rsHiScores, replaced, &undoError))
                dbDarts.reportFailedWrite(notifier(), QStringLiteral("The high-score table could not be restored:\n") + undoError);
        });
}
