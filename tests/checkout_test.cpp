// The checkout advisor's suggestions: every one must be a real finish.
#include "checkout/Checkout.h"

#include <QTest>

#include <limits>
#include <optional>

namespace {

// The score of one dart name as the advice writes it ("T20", "D16", "7",
// "25", "Bull"); nothing for a text that names no dart.
std::optional<qint64> DartScore(const QString& dart)
{
    if (dart == u"Bull")
        return 50;
    if (dart == u"25")
        return 25;
    qint64 factor = 1;
    QString number = dart;
    if (dart.startsWith(u'T') || dart.startsWith(u'D')) {
        factor = dart.startsWith(u'T') ? 3 : 2;
        number = dart.mid(1);
    }
    bool ok = false;
    const int n = number.toInt(&ok);
    if (!ok || n < 1 || n > 20 || number != QString::number(n))
        return std::nullopt;
    return factor * n;
}

} // namespace

class CheckoutTest : public QObject {
    Q_OBJECT
private slots:
    void everySuggestionFinishes();
    void scoresWithoutAFinish();
    void finishesLikeTheirNeighbours();
    void knownSuggestions_data();
    void knownSuggestions();
};

void CheckoutTest::everySuggestionFinishes()
{
    int listed = 0;
    for (qint64 score = 2; score <= 170; ++score) {
        const QString advice = CheckoutFor(score);
        if (advice.isEmpty())
            continue;
        const QStringList darts = advice.split(u' ');
        QVERIFY2(darts.size() >= 1 && darts.size() <= 3, qPrintable(advice));
        // Exactly one blank between names, none at either end.
        QCOMPARE(darts.join(u' '), advice);
        qint64 total = 0;
        for (const QString& dart : darts) {
            const std::optional<qint64> value = DartScore(dart);
            QVERIFY2(value.has_value(), qPrintable(QStringLiteral("%1: %2").arg(score).arg(advice)));
            total += *value;
        }
        QVERIFY2(total == score, qPrintable(QStringLiteral("%1: %2").arg(score).arg(advice)));
        const QString& last = darts.last();
        QVERIFY2(last == u"Bull" || last.startsWith(u'D'),
                 qPrintable(QStringLiteral("%1: %2").arg(score).arg(advice)));
        // Odd scores up to 40 need one single before the double.
        if (score <= 40 && score % 2 == 1)
            QVERIFY2(darts.size() == 2 && DartScore(darts.first()) <= 20, qPrintable(advice));
        // A lone double is the advice only where one dart can finish.
        if (darts.size() == 1)
            QVERIFY2(score <= 40 && score % 2 == 0, qPrintable(advice));
        else
            ++listed;
    }
    // The fixed table: every score up to 170 with a finish, less the even
    // ones a single double covers.
    QCOMPARE(listed, 142);
}

void CheckoutTest::scoresWithoutAFinish()
{
    QList<qint64> none;
    for (qint64 score = -5; score <= 200; ++score)
        if (CheckoutFor(score).isEmpty())
            none << score;
    QList<qint64> expected{-5, -4, -3, -2, -1, 0, 1, 159, 162, 163, 165, 166, 168, 169};
    for (qint64 score = 171; score <= 200; ++score)
        expected << score;
    QCOMPARE(none, expected);
    QVERIFY(CheckoutFor(501).isEmpty());
    QVERIFY(CheckoutFor(std::numeric_limits<qint64>::min()).isEmpty());
    QVERIFY(CheckoutFor(std::numeric_limits<qint64>::max()).isEmpty());
}

void CheckoutTest::finishesLikeTheirNeighbours()
{
    // Three darts from 126 and 112, two from 75, 27 and 15, as the scores
    // around them need.
    const struct { qint64 score; qsizetype darts; } rows[] = {
        {126, 3}, {112, 3}, {75, 2}, {27, 2}, {15, 2}};
    for (const auto& row : rows)
        QCOMPARE(CheckoutFor(row.score).split(u' ').size(), row.darts);
}

void CheckoutTest::knownSuggestions_data()
{
    QTest::addColumn<qint64>("score");
    QTest::addColumn<QString>("advice");
    const struct { qint64 score; const char* advice; } rows[] = {
        {170, "T20 T20 Bull"}, {167, "T19 T20 Bull"}, {160, "T20 T20 D20"},
        {130, "T20 20 Bull"},  {125, "T20 25 D20"},   {100, "T20 D20"},
        {65, "25 D20"},        {61, "25 D18"},        {50, "18 D16"},
        {41, "9 D16"},         {40, "D20"},           {39, "7 D16"},
        {32, "D16"},           {25, "5 D10"},         {3, "1 D1"},
        {2, "D1"},
    };
    for (const auto& row : rows)
        QTest::newRow(qPrintable(QString::number(row.score))) << row.score << QString(row.advice);
}

void CheckoutTest::knownSuggestions()
{
    QFETCH(qint64, score);
    QFETCH(QString, advice);
    QCOMPARE(CheckoutFor(score), advice);
}

QTEST_GUILESS_MAIN(CheckoutTest)
#include "checkout_test.moc"
