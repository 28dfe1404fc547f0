// Printing from the engine: the pages take the engine's tables, the
// statistics window's tab and names, and the engine's clock; the driver's
// "print PATH" writes the selected tab's page to a PDF file.
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

const RecordingSurface::Text* FindAt(const RecordingSurface::Page& page, qint64 x, qint64 y,
                                     const QString& text)
{
    for (const auto& t : page.texts)
        if (t.x == x && t.y == y && t.text == text)
            return &t;
    return nullptr;
}

QString PdfText(const QString& path)
{
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    run.waitForFinished(30000);
    return QString::fromUtf8(run.readAllStandardOutput());
}

} // namespace

class PrintReportTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void playerReportUsesEngineState();
    void gameReportUsesEngineClock();
    void printCommandWritesSelectedTab();
    void printCommandReportsUnwritableFile();

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
    mod_->ResetLastScores();
    mod_->stats.InitStatsTables();
    mod_->clock.fixAt(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58)));
}

void PrintReportTest::cleanup()
{
    mod_.reset();
}

void PrintReportTest::playerReportUsesEngineState()
{
    ModDarts& m = *mod_;
    // A renamed player gives the tab its caption; a treble and a single 20
    // rate the scoring darts at 120, shown capped at 100.
    m.panel(1).lblNames.setText(QStringLiteral("Bob"));
    StatsTables::addTo(m.stats.grdDarts[1], 1, 1);
    StatsTables::addTo(m.stats.grdDarts[1], 3, 1);
    m.stats.ProOverall3Dart[1].setValue(26.67);
    m.ShowStats(2);
    QCOMPARE(m.statsWindow.tabCaption[1], QStringLiteral("Bob"));

    RecordingSurface s;
    PrintPlayerReport(s, m, 1, m.statsWindow.tabCaption[1]);
    const auto& page = s.pages()[0];
    QVERIFY(FindAt(page, 600, 500, QStringLiteral("Bob's Statistics - Date:31/12/2023 23:59:58")));
    QVERIFY(FindAt(page, 600, 12000, QStringLiteral("Bob's Performance")));
    QVERIFY(FindAt(page, 600, 12500, QStringLiteral("Scoring Darts : 100")));
    QVERIFY(FindAt(page, 600, 13000, QStringLiteral("3 Dart Average : 26.67")));
    // The last scores as a new leg leaves them: headings, 10 rows, column 0
    // 500 wide.
    QVERIFY(FindAt(page, 600, 1500, QStringLiteral("Darts")));
    QVERIFY(FindAt(page, 1250, 1500, QStringLiteral("Score")));
    int lastScoreRows = 0;
    for (const auto& t : page.texts)
        lastScoreRows += t.x == 600 && t.y >= 1500 && t.y < 9000;
    QCOMPARE(lastScoreRows, 10);
}

void PrintReportTest::gameReportUsesEngineClock()
{
    ModDarts& m = *mod_;
    StatsTables::addTo(m.stats.grdGameStats, 4, 1);
    RecordingSurface s;
    PrintGameReport(s, m);
    const auto& page = s.pages()[0];
    QVERIFY(FindAt(page, 600, 500, QStringLiteral("Game Statistics - Date:31/12/2023 23:59:58")));
    QVERIFY(FindAt(page, 600 + 1650, 1500 + 1200, QStringLiteral("1")));
}

void PrintReportTest::printCommandWritesSelectedTab()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    ModDarts& m = *mod_;
    m.panel(0).lblNames.setText(QStringLiteral("Ann"));

    const QString game = dir_.filePath(QStringLiteral("game.pdf"));
    m.ShowStats(3);
    QString error;
    QVERIFY2(PrintSelectedTabToPdf(m, game, &error), qPrintable(error));
    QVERIFY(PdfText(game).contains(QStringLiteral("Game Statistics - Date:31/12/2023 23:59:58")));

    const QString player = dir_.filePath(QStringLiteral("ann.pdf"));
    m.StatsTabClicked(1);
    QVERIFY2(PrintSelectedTabToPdf(m, player, &error), qPrintable(error));
    const QString text = PdfText(player);
    QVERIFY(text.contains(QStringLiteral("Ann's Statistics - Date:31/12/2023 23:59:58")));
    QVERIFY(text.contains(QStringLiteral("Ann's Performance")));
    QVERIFY(notifier_.messages.isEmpty());
}

void PrintReportTest::printCommandReportsUnwritableFile()
{
    ModDarts& m = *mod_;
    m.ShowStats(1);
    QString error;
    const QString path = dir_.filePath(QStringLiteral("no-such-folder/p.pdf"));
    QVERIFY(!PrintSelectedTabToPdf(m, path, &error));
    QVERIFY(error.contains(QStringLiteral("p.pdf")));
    QCOMPARE(notifier_.messages.size(), 1);
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(PrintReportTest)
#include "print_report_test.moc"
