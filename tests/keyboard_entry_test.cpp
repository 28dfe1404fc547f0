// Darts typed on the scoreboard. A typed dart must be indistinguishable
// from a click inside its bed: the same panels, statistics, sounds, undo and
// match log. What names no dart must record nothing and say why in the
// entry line, never in a message box.
#include "board/BoardGeometry.h"
#include "board/TypedDart.h"
#include "tools/SimDriver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every spelling of every dart the entry reads, written out from the board's
// beds rather than from the reader's rules: upper and lower case of each.
QHash<QString, QString> Spellings()
{
    QHash<QString, QString> labelOf;
    auto add = [&](const QString& spelling, const QString& label) {
        labelOf.insert(spelling.toUpper(), label);
    };
    for (int n = 1; n <= 20; ++n) {
        const QString number = QString::number(n);
        add(number, number);
        add(u'S' + number, number);
        add(u'T' + number, u'T' + number);
        add(u'D' + number, u'D' + number);
    }
    add(QStringLiteral("25"), QStringLiteral("25"));
    add(QStringLiteral("S25"), QStringLiteral("25"));
    add(QStringLiteral("50"), QStringLiteral("50"));
    add(QStringLiteral("D25"), QStringLiteral("50"));
    add(QStringLiteral("bull"), QStringLiteral("50"));
    add(QStringLiteral("0"), QStringLiteral("0"));
    add(QStringLiteral("m"), QStringLiteral("0"));
    add(QStringLiteral("miss"), QStringLiteral("0"));
    return labelOf;
}

// One way an operator might type `label`.
QString SpellingOf(const QString& label, QRandomGenerator& rng)
{
    auto cased = [&](QString s) { return rng.bounded(2) ? s.toLower() : s; };
    if (label == u"0") {
        const char* ways[] = {"0", "m", "M", "miss", " 0 "};
        return QString::fromLatin1(ways[rng.bounded(5)]);
    }
    if (label == u"50") {
        const char* ways[] = {"50", "bull", "BULL", "Bull", "d25"};
        return QString::fromLatin1(ways[rng.bounded(5)]);
    }
    if (label == u"25")
        return rng.bounded(3) ? QStringLiteral("25") : cased(QStringLiteral("S25"));
    if (label.startsWith(u'T') || label.startsWith(u'D'))
        return cased(label);
    return rng.bounded(3) ? label : cased(u'S' + label);
}

QStringList AllBeds()
{
    QStringList labels{QStringLiteral("0"), QStringLiteral("25"), QStringLiteral("50")};
    for (int n = 1; n <= 20; ++n)
        labels << QString::number(n) << QStringLiteral("T%1").arg(n) << QStringLiteral("D%1").arg(n);
    return labels;
}

struct Driver {
    QTemporaryDir home;
    std::unique_ptr<SimDriver> sim;

    Driver()
    {
        sim = std::make_unique<SimDriver>(home.path());
        QString error;
        if (!sim->start(&error))
            qFatal("driver did not start: %s", qPrintable(error));
        run(QStringLiteral("clock 2026-12-09T20:00:00"));
    }
    void run(const QString& line)
    {
        QString out, error;
        const SimDriver::Result result = sim->run(line, &out, &error);
        if (result != SimDriver::Result::Ok)
            qFatal("driver refused %s: %s", qPrintable(line), qPrintable(error));
    }
    QJsonObject state() { return sim->state(); }
};

// The state less the entry line: what a typed dart and a click must agree on.
QByteArray WithoutEntry(QJsonObject state)
{
    state.remove(QStringLiteral("entry"));
    return QJsonDocument(state).toJson(QJsonDocument::Compact);
}

QJsonObject EntryOf(const QJsonObject& state)
{
    return state.value(QStringLiteral("entry")).toObject();
}

} // namespace

class KeyboardEntryTest : public QObject {
    Q_OBJECT
private slots:
    void readsExactlyTheSpellingsOfTheBeds();
    void theDartsNamedInTheHelpAreReadOrRefused();
    void typedDartsEqualClickedDarts();
    void editingKeysChangeOnlyTheEntry();
    void aBoardTooSmallForTheBedRecordsNothing();
};

// Every text of up to four characters over the letters and digits a dart's
// spelling uses, with blanks around some: the reader takes exactly the
// spellings of the beds, gives each its bed's label, and a hint for the rest.
void KeyboardEntryTest::readsExactlyTheSpellingsOfTheBeds()
{
    const QHash<QString, QString> spellings = Spellings();
    const QString alphabet = QStringLiteral("TtDdSsMmBbUuLlIi0123456789x ");
    QSet<QString> accepted;
    int checked = 0;
    // Counts through every string over the alphabet, shortest first.
    for (int length = 1; length <= 4; ++length) {
        QList<int> digits(length, 0);
        for (;;) {
            QString text;
            for (int d : digits)
                text.append(alphabet[d]);
            const TypedDart read = ReadTypedDart(text);
            const QString key = text.trimmed().toUpper();
            const auto expected = spellings.constFind(key);
            if (expected != spellings.constEnd()) {
                QVERIFY2(read.label == *expected && read.hint.isEmpty(),
                         qPrintable(QStringLiteral("'%1' read as '%2' (%3)").arg(text, read.label, read.hint)));
                accepted.insert(key);
            } else {
                QVERIFY2(read.label.isEmpty() && !read.hint.isEmpty(),
                         qPrintable(QStringLiteral("'%1' read as '%2'").arg(text, read.label)));
            }
            ++checked;
            int i = length - 1;
            while (i >= 0 && ++digits[i] == alphabet.size())
                digits[i--] = 0;
            if (i < 0)
                break;
        }
    }
    // Every spelling of four characters or fewer was met and taken.
    for (auto it = spellings.constBegin(); it != spellings.constEnd(); ++it)
        QVERIFY2(accepted.contains(it.key()), qPrintable(it.key()));
    QVERIFY(checked > 600000);
}

void KeyboardEntryTest::theDartsNamedInTheHelpAreReadOrRefused()
{
    struct Case {
        const char* typed;
        const char* label;
        const char* hint;
    };
    const Case cases[] = {
        {"T20", "T20", ""},     {"t20", "T20", ""},        {"D16", "D16", ""},
        {"20", "20", ""},       {"25", "25", ""},          {"50", "50", ""},
        {"bull", "50", ""},     {"0", "0", ""},            {"m", "0", ""},
        {"T25", "", "No treble 25"}, {"D21", "", "No double 21"}, {"61", "", "No single 61"},
        {"T0", "", "No treble 0"},   {"T020", "", "Not a dart"},  {"2O", "", "Not a dart"},
        {"-5", "", "Not a dart"},    {"T", "", "Not a dart"},     {"100", "", "No single 100"},
    };
    for (const Case& c : cases) {
        const TypedDart read = ReadTypedDart(QString::fromLatin1(c.typed));
        QCOMPARE(read.label, QString::fromLatin1(c.label));
        QCOMPARE(read.hint, QString::fromLatin1(c.hint));
    }
}

// A few hundred random darts, each thrown on one driver and typed on the
// other, with undo and new games by key and by command, slips typed and
// mended on the way, and the announcements answered: after every step the
// two states agree in everything but the entry line, sounds and messages
// included. At the end both are restarted and resumed from their logs,
// which must agree as well.
void KeyboardEntryTest::typedDartsEqualClickedDarts()
{
    Driver clicked, typed;
    QRandomGenerator rng(20261209);
    const QStringList beds = AllBeds();
    const QStringList slips{QStringLiteral("T25"), QStringLiteral("D21"), QStringLiteral("61"),
                            QStringLiteral("T0"), QStringLiteral("x"), QStringLiteral("bul")};
    int entered = 0;
    for (int step = 0; step < 600; ++step) {
        const QJsonObject now = clicked.state();
        typed.state();
        if (!now.value(QStringLiteral("announcement")).isNull()) {
            clicked.run(QStringLiteral("winnerok"));
            typed.run(QStringLiteral("winnerok"));
        } else if (const quint32 roll = rng.bounded(100); roll < 4) {
            clicked.run(QStringLiteral("undo"));
            typed.run(QStringLiteral("key Ctrl+Z"));
        } else if (roll < 5) {
            clicked.run(QStringLiteral("newgame"));
            typed.run(QStringLiteral("key Ctrl+N"));
        } else {
            // Trebles and the bull are favoured, so legs are won and busts
            // happen within the run.
            const QString label = roll < 45 ? QStringLiteral("T%1").arg(1 + rng.bounded(20))
                                            : beds[rng.bounded(beds.size())];
            if (roll % 7 == 0) {
                // A slip: refused with a hint, nothing recorded, then cleared.
                const QByteArray before = WithoutEntry(typed.state());
                typed.run(QStringLiteral("enter ") + slips[rng.bounded(slips.size())]);
                const QJsonObject after = typed.state();
                QVERIFY(!EntryOf(after).value(QStringLiteral("error")).toString().isEmpty());
                QCOMPARE(WithoutEntry(after), before);
                typed.run(rng.bounded(2) ? QStringLiteral("key Escape") : QStringLiteral("key Backspace"));
                if (!EntryOf(typed.state()).value(QStringLiteral("text")).toString().isEmpty())
                    typed.run(QStringLiteral("key Escape"));
            }
            clicked.run(QStringLiteral("throw ") + label);
            typed.run(QStringLiteral("enter ") + SpellingOf(label, rng));
            ++entered;
        }
        const QJsonObject a = clicked.state(), b = typed.state();
        QCOMPARE(EntryOf(b).value(QStringLiteral("text")).toString(), QString());
        QCOMPARE(EntryOf(b).value(QStringLiteral("error")).toString(), QString());
        if (WithoutEntry(a) != WithoutEntry(b))
            QFAIL(qPrintable(QStringLiteral("step %1 differs:\n%2\n%3")
                                 .arg(step)
                                 .arg(QString::fromUtf8(WithoutEntry(a)), QString::fromUtf8(WithoutEntry(b)))));
    }
    QVERIFY(entered > 300);

    clicked.run(QStringLiteral("restart"));
    typed.run(QStringLiteral("restart"));
    clicked.run(QStringLiteral("resume"));
    typed.run(QStringLiteral("resume"));
    QCOMPARE(WithoutEntry(typed.state()), WithoutEntry(clicked.state()));
}

void KeyboardEntryTest::editingKeysChangeOnlyTheEntry()
{
    Driver d;
    d.run(QStringLiteral("throw T20"));
    const QByteArray match = WithoutEntry(d.state());

    // A slip stays on the line with its hint, so Backspace can mend it.
    d.run(QStringLiteral("enter T25"));
    QJsonObject s = d.state();
    QCOMPARE(EntryOf(s).value(QStringLiteral("text")).toString(), QStringLiteral("T25"));
    QCOMPARE(EntryOf(s).value(QStringLiteral("error")).toString(), QStringLiteral("No treble 25"));
    QCOMPARE(s.value(QStringLiteral("messages")).toArray().size(), 0);
    d.run(QStringLiteral("key Backspace"));
    s = d.state();
    QCOMPARE(EntryOf(s).value(QStringLiteral("text")).toString(), QStringLiteral("T2"));
    QCOMPARE(EntryOf(s).value(QStringLiteral("error")).toString(), QString());
    QCOMPARE(WithoutEntry(s), match);
    // "enter 0" types the 0 onto the mended text: T20.
    d.run(QStringLiteral("enter 0"));
    s = d.state();
    QCOMPARE(EntryOf(s).value(QStringLiteral("text")).toString(), QString());
    const QJsonObject panel = s.value(QStringLiteral("panels")).toArray().at(0).toObject();
    QCOMPARE(panel.value(QStringLiteral("lblThreeDartScore")).toString(), QStringLiteral("120"));

    // Undo and a new game leave a half-typed dart where it is.
    d.run(QStringLiteral("enter T2x"));
    d.run(QStringLiteral("key Backspace"));
    d.run(QStringLiteral("key Ctrl+Z"));
    QCOMPARE(EntryOf(d.state()).value(QStringLiteral("text")).toString(), QStringLiteral("T2"));
    d.run(QStringLiteral("key Ctrl+N"));
    QCOMPARE(EntryOf(d.state()).value(QStringLiteral("text")).toString(), QStringLiteral("T2"));
    d.run(QStringLiteral("key Escape"));
    QCOMPARE(EntryOf(d.state()).value(QStringLiteral("text")).toString(), QString());

    // Enter on an empty line is no attempt; a very long text is cut at the
    // line's length and refused as a whole.
    const QByteArray fresh = WithoutEntry(d.state());
    d.run(QStringLiteral("enter"));
    QCOMPARE(EntryOf(d.state()).value(QStringLiteral("error")).toString(), QString());
    d.run(QStringLiteral("enter ") + QString(500, u'1'));
    s = d.state();
    QCOMPARE(EntryOf(s).value(QStringLiteral("text")).toString(), QString(8, u'1'));
    QVERIFY(!EntryOf(s).value(QStringLiteral("error")).toString().isEmpty());
    QCOMPARE(WithoutEntry(s), fresh);

    // A key the scoreboard does not know is a line the driver cannot follow.
    QString out, error;
    QCOMPARE(d.sim->run(QStringLiteral("key F5"), &out, &error), SimDriver::Result::BadCommand);
}

// The board at its smallest leaves no room for a bed: a typed dart there
// is refused rather than recorded as whatever the one pixel maps to.
void KeyboardEntryTest::aBoardTooSmallForTheBedRecordsNothing()
{
    Driver d;
    d.run(QStringLiteral("board 2000 -120 15 15"));
    const QByteArray before = WithoutEntry(d.state());
    d.run(QStringLiteral("enter T20"));
    const QJsonObject s = d.state();
    QCOMPARE(EntryOf(s).value(QStringLiteral("error")).toString(), QStringLiteral("Board too small"));
    QCOMPARE(WithoutEntry(s), before);
    // Placed at a usable size again, the same text goes through.
    d.run(QStringLiteral("board 2040 -120 11360 11360"));
    d.run(QStringLiteral("enter"));
    QCOMPARE(EntryOf(d.state()).value(QStringLiteral("text")).toString(), QString());
}

QTEST_GUILESS_MAIN(KeyboardEntryTest)
#include "keyboard_entry_test.moc"
