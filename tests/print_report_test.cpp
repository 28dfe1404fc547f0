// Printing from the engine: the pages take the engine's tables, tab names
// and clock; the driver's "print PATH" writes the selected tab's page to a
// PDF file.
#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"
#include "print/PrintModDarts.h"
#include "print/StatisticsReport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class ListNotifier : public Notifier {
public:
    void message(const QString& text, const QString&) override { messages << text; }
    bool question(const QString&, const QString&) override { return true; }
    QStringList messages;
};

bool HasText(const RecordingSurface::Page& page, qint64 x, qint64 y, const QString& text)
{
    for (const auto& t : page.texts)
        if (t.x == x && t.y == y && t.text == text)
            return true;
    return false;
}

} // namespace

class PrintReportTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void playerReportUsesEngineState();
    void printCommandWritesSelectedTab();

private:
    QTemporaryDir dir_;
    ListNotifier notifier_;
    std::unique_ptr<ModDarts> mod_;
};

void PrintReportTest::init()
{
    notifier_.messages.clear();
    ModDarts::Setup setup;
    setup.databasePath = dir_.filePath(QStringLiteral("Data/Darts.MDB"));
    setup.soundsFolder = dir_.filePath(QStringLiteral("sounds"));
    setup.notifier = &notifier_;
    mod_ = std::make_unique<ModDarts>(setup);
    mod_->NewGame();
    mod_->stats.InitStatsTables();
    mod_->clock.fixAt(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58)));
}

void PrintReportTest::playerReportUsesEngineState()
{
    ModDarts& m = *mod_;
    // A renamed player names the tab; a treble and a single 20 rate the
    // scoring darts at 120, shown capped at 100.
    m.panel(1).lblNames.setText(QStringLiteral("Bob"));
    m.OptionsPlayersChosen(1);
    for (const char* dart : {"0", "0", "0", "T20", "20"}) {
        const QPointF at = PointFor(m.board.Image1, QString::fromLatin1(dart));
        m.BoardPressed(at.x(), at.y());
    }
    m.stats.ProOverall3Dart[1].setValue(26.67);
    m.ShowStats(2);

    RecordingSurface s;
    PrintPlayerReport(s, m, 1, m.statsWindow.tabCaption[1]);
    const auto& page = s.pages()[0];
    QVERIFY(HasText(page, 600, 500, QStringLiteral("Bob's Statistics - Date:31/12/2023 23:59:58")));
    QVERIFY(HasText(page, 600, 12500, QStringLiteral("Scoring Darts : 100")));
    QVERIFY(HasText(page, 600, 13000, QStringLiteral("3 Dart Average : 26.67")));
    // The last scores as a new leg leaves them: 10 rows, column 0 500 wide.
    QVERIFY(HasText(page, 1250, 1500, QStringLiteral("Score")));
    int lastScoreRows = 0;
    for (const auto& t : page.texts)
        lastScoreRows += t.x == 600 && t.y >= 1500 && t.y < 9000;
    QCOMPARE(lastScoreRows, 10);

    RecordingSurface g;
    PrintGameReport(g, m);
    QVERIFY(HasText(g.pages()[0], 600, 500, QStringLiteral("Game Statistics - Date:31/12/2023 23:59:58")));
}

void PrintReportTest::printCommandWritesSelectedTab()
{
    ModDarts& m = *mod_;
    QString error;
    m.ShowStats(1);
    const QString bad = dir_.filePath(QStringLiteral("no-such-folder/p.pdf"));
    QVERIFY(!PrintSelectedTabToPdf(m, bad, &error));
    QVERIFY(error.contains(QStringLiteral("p.pdf")));
    QCOMPARE(notifier_.messages.size(), 1);

    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    m.panel(0).lblNames.setText(QStringLiteral("Ann"));
    const QString player = dir_.filePath(QStringLiteral("ann.pdf"));
    const QString game = dir_.filePath(QStringLiteral("game.pdf"));
    QVERIFY2(PrintSelectedTabToPdf(m, player, &error), qPrintable(error));
    m.StatsTabClicked(3);
    QVERIFY2(PrintSelectedTabToPdf(m, game, &error), qPrintable(error));

    const auto text = [](const QString& path) {
        QProcess run;
        run.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        run.waitForFinished(30000);
        return QString::fromUtf8(run.readAllStandardOutput());
    };
    QVERIFY(text(player).contains(QStringLiteral("Ann's Statistics - Date:31/12/2023 23:59:58")));
    QVERIFY(text(player).contains(QStringLiteral("Ann's Performance")));
    QVERIFY(text(game).contains(QStringLiteral("Game Statistics - Date:31/12/2023 23:59:58")));
    QCOMPARE(notifier_.messages.size(), 1);
}

QTEST_MAIN(PrintReportTest)
#include "print_report_test.moc"
