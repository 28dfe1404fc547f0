#pragma once
// The statistics of a match, kept as counters and shown in the statistics
// grids and bars: which bed every counted dart hit, the bands of won legs and
// recorded visits, the game's best visit and out shot, and each player's
// visit list. It listens to the match and writes only the cells a change
// touches; every figure it writes comes from a counter or from the match's
// state, never from a cell read back.
#include "match/Bands.h"
#include "match/Match.h"
#include "base/ChangeJournal.h"
#include "stats/StatsTables.h"

#include <array>
#include <functional>

struct PlayerCounters {
    // Counted darts per segment 1..20 (index 0 unused) of each ring.
    std::array<qint64, 21> trebles{}, doubles{}, singles{};
    qint64 bulls = 0, outerBulls = 0;
    std::array<qint64, 8> visitBands{};   // by match::VisitScoreBand
    std::array<qint64, 6> legBands{};     // by match::LegDartsBand

    // The points and darts of the beds above, for the scoring-darts bar.
    qint64 bedPoints() const;
    qint64 bedHits() const;
};

struct GameCounters {
    qint64 bestVisit = 0;
    QString bestVisitBy;        // a name, or "Both Players Share"
    qint64 bestOutShot = 0;
    QString bestOutShotBy;
    qint64 legsPlayed = 0;
};

struct StatisticsCounters {
    std::array<PlayerCounters, 2> player;
    GameCounters game;
};

class MatchStatistics final : public match::MatchListener {
public:
    // `nameOf(p)` is the name a player's panel shows at the moment.
    MatchStatistics(StatsTables& tables, const match::Match& match,
                    std::function<QString(int)> nameOf);

    // The tables' headings and empty visit lists, for a started program.
    void start();

    // The scoring-darts bar, worked out from the bed counters (when the
    // statistics window comes up).
    void updateScoringBars();

    const StatisticsCounters& counters() const { return counters_; }
    // Every change to a counter made while a dart is recorded is recorded
    // with it, so undo of the dart puts the counters back with the cells.
    void setJournal(ChangeJournal* journal) { journal_ = journal; }

    // The statistics rows a band is shown in.
    static int legDartsRow(match::LegDartsBand band);
    static int visitScoreRow(match::VisitScoreBand band);

    void visitCleared(const match::VisitCleared&) override {}
    void dartScored(const match::DartScored& e) override;
    void visitEnded(const match::VisitEnded& e) override;
    void bust(const match::Bust& e) override;
    void legWon(const match::LegWon& e) override;
    void legCounted(const match::LegCounted& e) override;
    void gameStarted(const match::GameStarted& e) override;

private:
    void countBed(int p, const match::Dart& dart);
    void countVisitBand(int p, qint64 score);
    void writeAverages(int p);
    void listVisit(int p, qint64 row, const QString& score);
    void resetLastScores();
    qint64 raise(qint64& counter);
    void replace(qint64& value, QString& by, qint64 newValue, const QString& newBy);

    StatsTables& t_;
    const match::Match& match_;
    std::function<QString(int)> nameOf_;
    StatisticsCounters counters_;
    ChangeJournal* journal_ = nullptr;
};
