// The statistics window's events: which page is on view, and the scoring-darts
// bar worked out from the segment tables each time the window is activated.
#include "engine/ModDarts.h"
#include "base/TextNumbers.h"

void ModDarts::ShowStats(int tab)
{
    StatsTabClicked(tab);
    statsWindow.visible = true;
    StatsActivated();
}

void ModDarts::StatsTabClicked(int tab)
{
    statsWindow.tab = (tab == 1 || tab == 2) ? tab : 3;
}

void ModDarts::StatsExit()
{
    // Only hidden: the tables keep the match's statistics for the whole run.
    statsWindow.visible = false;
}

void ModDarts::StatsActivated()
{
    for (int p = 0; p < 2; ++p) {
        // Wide sums: a long match's scoring darts may be worth far more than
        // the 32767 points a small counter could hold.
        qint64 points = 0, hits = 0;
        const Grid& darts = stats.grdDarts[p];
        for (int k = 1; k <= 20; ++k) {
            const qint64 s = 21 - k;
            const double t = NumericValue(darts.text(1, k));
            if (t > 0) {
                points = RoundHalfEven(double(points) + double(s) * t * 3);
                hits = RoundHalfEven(double(hits) + t);
            }
            const double d = NumericValue(darts.text(2, k));
            if (d > 0) {
                points = RoundHalfEven(double(points) + double(s) * d * 2);
                hits = RoundHalfEven(double(hits) + d);
            }
            const double n = NumericValue(darts.text(3, k));
            if (n > 0) {
                points = RoundHalfEven(double(points) + double(s) * n);
                hits = RoundHalfEven(double(hits) + n);
            }
        }
        const Grid& bulls = stats.grdDarts2[p];
        const double b = NumericValue(bulls.text(1, 0));
        if (b > 0) {
            points = RoundHalfEven(double(points) + 50 * b);
            hits = RoundHalfEven(double(hits) + b);
        }
        const double o = NumericValue(bulls.text(1, 1));
        if (o > 0) {
            points = RoundHalfEven(double(points) + 25 * o);
            hits = RoundHalfEven(double(hits) + o);
        }
        if (hits != 0) {
            const double v = double(points) / double(hits) * 3;
            stats.ProScoring[p].setValue(v > 100 ? 100 : v);
        } else {
            stats.ProScoring[p].setValue(0);
            stats.ProOverall3Dart[p].setValue(0);
        }
    }
}
