// The reading and writing rules for numbers kept as texts.
#include "base/TextNumbers.h"

#include <QTest>

class TextNumbersTest : public QObject {
    Q_OBJECT
private slots:
    void numericValueReadsTheLeadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("decimal") << "12.50" << 12.5;
        QTest::newRow("thousands separator stops reading") << "1,234.00" << 1.0;
        QTest::newRow("bust entry") << "Bust (45)" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blank, sign, trailing letter") << " -3x" << -3.0;
        QTest::newRow("blanks inside are skipped") << "1 2" << 12.0;
        QTest::newRow("second point stops reading") << "1.2.3" << 1.2;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("label T20") << "T20" << 0.0;
        QTest::newRow("remaining score") << "501" << 501.0;
    }
    void numericValueReadsTheLeadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(NumericValue(text), value);
    }

    void strictIntegerWantsAWholeNumber()
    {
        QCOMPARE(StrictInteger(u"60"), std::optional<qint64>(60));
        QCOMPARE(StrictInteger(u" 180 "), std::optional<qint64>(180));
        QCOMPARE(StrictInteger(u"2.5"), std::optional<qint64>(2));
        QCOMPARE(StrictInteger(u"3.5"), std::optional<qint64>(4));
        QVERIFY(!StrictInteger(u"").has_value());
        QVERIFY(!StrictInteger(u"60x").has_value());
        QVERIFY(!StrictInteger(u"Bust (45)").has_value());
    }

    void roundingGoesToEven()
    {
        QCOMPARE(RoundHalfEven(0.5), qint64(0));
        QCOMPARE(RoundHalfEven(1.5), qint64(2));
        QCOMPARE(RoundHalfEven(2.5), qint64(2));
        QCOMPARE(RoundHalfEven(-2.5), qint64(-2));
        QCOMPARE(RoundHalfEven(2.51), qint64(3));
        // Far outside any field: capped, never wrapped to the other sign.
        QVERIFY(RoundHalfEven(1e300) > 0);
        QVERIFY(RoundHalfEven(-1e300) < 0);
    }

    void numberTextIsTheShortestForm()
    {
        QCOMPARE(NumberText(1.0), QStringLiteral("1"));
        QCOMPARE(NumberText(37.5), QStringLiteral("37.5"));
        QCOMPARE(NumberText(3 * 12.33), QStringLiteral("36.99"));
        QCOMPARE(NumberText(0.1 + 0.2), QStringLiteral("0.3"));
        QCOMPARE(NumberText(-2.5), QStringLiteral("-2.5"));
        QCOMPARE(NumberText(0.0), QStringLiteral("0"));
        QCOMPARE(NumberText(1e15), QStringLiteral("1000000000000000"));
        QCOMPARE(NumberText(0.000125), QStringLiteral("0.000125"));
        QCOMPARE(NumberText(qint64(1000001)), QStringLiteral("1000001"));
        // A counter far past the old 16-bit limit keeps counting exactly.
        QCOMPARE(NumberText(NumericValue(u"32767") + 1), QStringLiteral("32768"));
    }

    void averagesHaveTwoDecimalsAndThousands()
    {
        QCOMPARE(AverageText(180), QStringLiteral("180.00"));
        QCOMPARE(AverageText(0), QStringLiteral("0.00"));
        QCOMPARE(AverageText(36.454545), QStringLiteral("36.45"));
        QCOMPARE(AverageText(1234.5), QStringLiteral("1,234.50"));
        QCOMPARE(AverageText(1234567.891), QStringLiteral("1,234,567.89"));
        QCOMPARE(AverageText(0.125), QStringLiteral("0.12"));   // half to even
        QCOMPARE(AverageText(0.375), QStringLiteral("0.38"));
        QCOMPARE(AverageText(-5.5), QStringLiteral("-5.50"));
        // What the program writes it reads back (below a thousand).
        QCOMPARE(NumericValue(AverageText(109.3636)), 109.36);
    }

    void singleTextShowsSevenDigits()
    {
        QCOMPARE(SingleText(54.5), QStringLiteral("54.5"));
        QCOMPARE(SingleText(100), QStringLiteral("100"));
        QCOMPARE(SingleText(0), QStringLiteral("0"));
        QCOMPARE(SingleText(100.0 / 3), QStringLiteral("33.33333"));
    }
};

QTEST_GUILESS_MAIN(TextNumbersTest)
#include "text_numbers_test.moc"
