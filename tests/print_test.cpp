// The printout's layout, page continuation, the PDF writer and the print
// dialog, all without the engine.
#include "engine/Clock.h"
#include "engine/Notifier.h"
#include "print/PdfSurface.h"
#include "print/PrintDialog.h"
#include "print/PrintGrid.h"
#include "print/StatisticsReport.h"
#include "stats/StatsTables.h"
#include "stats/StatsWindow.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Text = RecordingSurface::Text;
using Line = RecordingSurface::Line;
using Page = RecordingSurface::Page;

// The texts of a page at a position (several when a grid prints empties).
std::vector<Text> TextsAt(const Page& page, qint64 x, qint64 y)
{
    std::vector<Text> found;
    for (const Text& t : page.texts)
        if (t.x == x && t.y == y)
            found.push_back(t);
    return found;
}

bool HasLine(const Page& page, qint64 x1, qint64 y1, qint64 x2, qint64 y2)
{
    for (const Line& l : page.lines)
        if (l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2)
            return true;
    return false;
}

const Text* FindText(const Page& page, const QString& text)
{
    for (const Text& t : page.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

class ListNotifier : public Notifier {
public:
    void message(const QString& text, const QString&) override { messages << text; }
    bool question(const QString&, const QString&) override { return true; }
    QStringList messages;
};

class FixedPrinters : public PrinterList {
public:
    QStringList installed;
    QString preferred;
    QStringList installedPrinters() const override { return installed; }
    QString defaultPrinter() const override { return preferred; }
};

// Keeps every finished document and the printer it was started on.
class CapturingTarget : public PrintTarget {
public:
    struct Job {
        QString printer;
        std::vector<Page> pages;
    };

    class Surface : public RecordingSurface {
    public:
        Surface(CapturingTarget& target, QString printer) : target_(target), printer_(std::move(printer)) {}
        bool finish() override
        {
            RecordingSurface::finish();
            if (target_.failFinish)
                return false;
            target_.jobs.push_back({printer_, pages()});
            return true;
        }
        QString error() const override { return QStringLiteral("paper jam"); }

    private:
        CapturingTarget& target_;
        QString printer_;
    };

    std::unique_ptr<PageSurface> begin(const QString& printerName, QString* error) override
    {
        ++begun;
        if (!refuseWith.isNull()) {
            *error = refuseWith;
            return nullptr;
        }
        return std::make_unique<Surface>(*this, printerName);
    }

    std::vector<Job> jobs;
    int begun = 0;
    QString refuseWith;   // null: accept; empty: the operator cancelled
    bool failFinish = false;
};

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void gridBoxesEveryCell();
    void dartsGridPrintsFourRowsOfTwentyOne();
    void longGridCarriesOnToFurtherPages();
    void pageTooShortForARowStillEnds();

    void playerPageLayout();
    void playerPageWithLongLastScores();
    void gamePageLayout();

    void pdfHoldsTheTexts();
    void pdfToUnwritablePathFails();

    void dialogListsPrinters();
    void stalePrinterNameKeepsPrevious();
    void onlyStatisticsJobPrints();
    void playerReportClosesGameReportStaysOpen();
    void selectedTabAtOkCounts();
    void printingFailuresAreReported();

private:
    PrintSources sources();

    StatsTables stats_;
    StatsWindow window_;
    Clock clock_;
    ListNotifier notifier_;
};

void PrintTest::init()
{
    stats_ = StatsTables();
    stats_.InitStatsTables();
    // The last-scores lists as a new leg leaves them.
    for (Grid& g : stats_.grdLastScores) {
        g.setRows(10);
        g.setColWidth(0, 500);
        g.setText(0, 0, QStringLiteral("Darts"));
        g.setText(0, 1, QStringLiteral("Score"));
    }
    window_ = StatsWindow();
    clock_.fixAt(QDateTime(QDate(2024, 3, 7), QTime(21, 5, 9)));
    notifier_.messages.clear();
}

PrintSources PrintTest::sources()
{
    return {&stats_, &window_, &clock_, &notifier_};
}

void PrintTest::gridBoxesEveryCell()
{
    Grid& g = stats_.grdStats[0];
    g.setText(1, 1, QStringLiteral("45.50"));
    RecordingSurface s;
    PrintGrid(s, g, 4000, 1500);

    QCOMPARE(s.pageCount(), 1);
    const Page& page = s.pages()[0];
    // 13 rows of 2 cells, empty rows 10 to 12 included.
    QCOMPARE(page.texts.size(), std::size_t(26));
    for (int i = 0; i < 13; ++i) {
        const qint64 top = 1500 + 300 * i;
        const auto label = TextsAt(page, 4000, top);
        const auto value = TextsAt(page, 4000 + 1100 + 150, top);
        QCOMPARE(label.size(), std::size_t(1));
        QCOMPARE(value.size(), std::size_t(1));
        QCOMPARE(label[0].text, g.text(i, 0));
        QCOMPARE(value[0].text, g.text(i, 1));

        // Right edges of both cells, top and bottom edges, the left edge
        // from the table's top down to this row's bottom.
        QVERIFY(HasLine(page, 5200, top - 20, 5200, top + 280));
        QVERIFY(HasLine(page, 5950, top - 20, 5950, top + 280));
        QVERIFY(HasLine(page, 3950, top - 20, 5950, top - 20));
        QVERIFY(HasLine(page, 3950, top + 280, 5950, top + 280));
        QVERIFY(HasLine(page, 3950, 1480, 3950, top + 280));
    }
    QCOMPARE(page.lines.size(), std::size_t(13 * 5));
    QCOMPARE(TextsAt(page, 5250, 1800)[0].text, QStringLiteral("45.50"));
    QVERIFY(TextsAt(page, 4000, 1500 + 300 * 12)[0].text.isEmpty());
    QVERIFY(s.pages()[0].texts.back().y == 1500 + 300 * 12);
}

void PrintTest::dartsGridPrintsFourRowsOfTwentyOne()
{
    StatsTables::addTo(stats_.grdDarts[1], 1, 1);   // one T20
    RecordingSurface s;
    PrintGrid(s, stats_.grdDarts[1], 600, 9000);
    const Page& page = s.pages()[0];

    QCOMPARE(page.texts.size(), std::size_t(4 * 21));
    QCOMPARE(page.lines.size(), std::size_t(4 * (21 + 3)));
    // Column 0 is 200 wide, the segments 300: boxes of 350 then 450.
    QCOMPARE(TextsAt(page, 600, 9300)[0].text, QStringLiteral("T"));
    QCOMPARE(TextsAt(page, 950, 9000)[0].text, QStringLiteral("20"));
    QCOMPARE(TextsAt(page, 950, 9300)[0].text, QStringLiteral("1"));
    QCOMPARE(TextsAt(page, 950 + 450 * 19, 9000)[0].text, QStringLiteral("1"));
    for (int i = 0; i < 4; ++i) {
        const qint64 top = 9000 + 300 * i;
        QVERIFY(HasLine(page, 550, top - 20, 9900, top - 20));
        QVERIFY(HasLine(page, 900, top - 20, 900, top + 280));
        QVERIFY(HasLine(page, 9900, top - 20, 9900, top + 280));
    }
}

void PrintTest::longGridCarriesOnToFurtherPages()
{
    Grid& g = stats_.grdLastScores[0];
    g.setRows(200);
    for (int r = 1; r < 200; ++r) {
        g.setText(r, 0, QString::number(3 * r));
        g.setText(r, 1, QStringLiteral("v%1").arg(r));
    }
    const qint64 height = 16000;
    RecordingSurface s(height);
    PrintGrid(s, g, 600, 1500);

    QVERIFY(s.pageCount() >= 2);
    QCOMPARE(s.currentPage(), 0);   // back where the grid started

    // Every row once, in order, never below the page; the first page from
    // 1500, the later ones from the continuation top.
    int row = 0;
    for (int p = 0; p < s.pageCount(); ++p) {
        const Page& page = s.pages()[std::size_t(p)];
        QVERIFY(!page.texts.empty());
        const qint64 first = p == 0 ? 1500 : s.continuationTopTwips();
        QCOMPARE(page.texts.front().y, first);
        for (std::size_t k = 0; k < page.texts.size(); k += 2, ++row) {
            const qint64 top = first + 300 * qint64(k / 2);
            QCOMPARE(page.texts[k].y, top);
            QVERIFY(top + 280 <= height);
            QCOMPARE(page.texts[k + 1].text, row == 0 ? QStringLiteral("Score") : QStringLiteral("v%1").arg(row));
        }
        // The left edge of this page's piece starts at the piece's top.
        const qint64 last = page.texts.back().y;
        QVERIFY(HasLine(page, 550, first - 20, 550, last + 280));
    }
    QCOMPARE(row, 200);
    // A row that would have passed the bottom went over: the first page is full.
    QVERIFY(s.pages()[0].texts.back().y + 300 + 280 > height);
}

void PrintTest::pageTooShortForARowStillEnds()
{
    Grid g(QStringLiteral("g"), 3, 1, 0, 0, 100, 100);
    RecordingSurface s(600);
    PrintGrid(s, g, 100, 1500);
    // Nothing fits the first page; each continuation page takes one row.
    QCOMPARE(s.pageCount(), 4);
    QVERIFY(s.pages()[0].texts.empty());
    for (int p = 1; p < 4; ++p)
        QCOMPARE(s.pages()[std::size_t(p)].texts.size(), std::size_t(1));
}

void PrintTest::playerPageLayout()
{
    stats_.grdLastScores[1].setText(1, 1, QStringLiteral("60"));
    stats_.grdStats2[1].setText(0, 1, QStringLiteral("3"));
    stats_.grdDarts2[1].setText(1, 0, QStringLiteral("2"));
    stats_.ProScoring[1].setValue(54.5);
    stats_.ProOverall3Dart[1].setValue(100);
    stats_.ProFirst9[1].setValue(33);

    RecordingSurface s;
    PrintPlayerPage(s, stats_, 1, QStringLiteral("Player 2"), clock_.now());
    QCOMPARE(s.pageCount(), 1);
    const Page& page = s.pages()[0];

    const auto title = TextsAt(page, 600, 500);
    QCOMPARE(title.size(), std::size_t(1));
    QCOMPARE(title[0].text, QStringLiteral("Player 2's Statistics - Date:07/03/2024 21:05:09"));
    QVERIFY(title[0].bold);
    QVERIFY(HasLine(page, 600, 750, 8000, 750));

    QCOMPARE(TextsAt(page, 600, 1500)[0].text, QStringLiteral("Darts"));
    QCOMPARE(TextsAt(page, 600 + 500 + 150, 1800)[0].text, QStringLiteral("60"));
    QCOMPARE(TextsAt(page, 4000, 1500)[0].text, QStringLiteral("Darts thrown"));
    QCOMPARE(TextsAt(page, 8000, 1500)[0].text, QStringLiteral("Total darts"));
    QCOMPARE(TextsAt(page, 8000 + stats_.grdStats2[1].colWidth(0) + 150, 1500)[0].text, QStringLiteral("3"));
    QCOMPARE(TextsAt(page, 950, 9000)[0].text, QStringLiteral("20"));
    QCOMPARE(TextsAt(page, 600, 10500)[0].text, QStringLiteral("50"));
    QCOMPARE(TextsAt(page, 600, 10800)[0].text, QStringLiteral("2"));

    const auto performance = TextsAt(page, 600, 12000);
    QCOMPARE(performance[0].text, QStringLiteral("Player 2's Performance"));
    QVERIFY(performance[0].bold);
    QCOMPARE(TextsAt(page, 600, 12500)[0].text, QStringLiteral("Scoring Darts : 54.5"));
    QCOMPARE(TextsAt(page, 600, 13000)[0].text, QStringLiteral("3 Dart Average : 100"));
    QVERIFY(FindText(page, QStringLiteral("33")) == nullptr);   // no first-nine bar

    // Every grid cell and the four lines of text; only the two titles bold,
    // all in the one font.
    const std::size_t cells = 10 * 2 + 13 * 2 + 13 * 2 + 4 * 21 + 2 * 2;
    QCOMPARE(page.texts.size(), cells + 4);
    int bold = 0;
    for (const Text& t : page.texts) {
        QCOMPARE(t.font, QStringLiteral("Arial Narrow"));
        QCOMPARE(t.points, 12.0);
        bold += t.bold;
    }
    QCOMPARE(bold, 2);
    QCOMPARE(page.lines.size(), std::size_t(1 + 10 * 5 + 13 * 5 * 2 + 4 * 24 + 2 * 5));
}

void PrintTest::playerPageWithLongLastScores()
{
    // A player with 199 visits in a leg: the last scores carry on over the
    // pages, everything else stays where it belongs on the first page.
    stats_.grdLastScores[0].setRows(200);
    for (int r = 1; r < 200; ++r)
        stats_.grdLastScores[0].setText(r, 1, QStringLiteral("r%1").arg(r));
    RecordingSurface s;
    PrintPlayerPage(s, stats_, 0, QStringLiteral("Ann"), clock_.now());

    QVERIFY(s.pageCount() >= 2);
    const Page& first = s.pages()[0];
    QCOMPARE(TextsAt(first, 4000, 1500)[0].text, QStringLiteral("Darts thrown"));
    // The long list runs through the lower blocks of the first page, as it
    // falls; those blocks still stand at their places.
    const Text* performance = FindText(first, QStringLiteral("Ann's Performance"));
    QVERIFY(performance && performance->x == 600 && performance->y == 12000 && performance->bold);
    const Text* average = FindText(first, QStringLiteral("3 Dart Average : 0"));
    QVERIFY(average && average->x == 600 && average->y == 13000);
    QVERIFY(FindText(s.pages()[1], QStringLiteral("r199")) || FindText(s.pages().back(), QStringLiteral("r199")));
    for (int p = 1; p < s.pageCount(); ++p)
        for (const Text& t : s.pages()[std::size_t(p)].texts)
            QVERIFY2(t.x == 600 || t.x == 1250, qPrintable(t.text));
}

void PrintTest::gamePageLayout()
{
    stats_.grdGameStats.setText(0, 1, QStringLiteral("Both Players Share"));
    stats_.grdGameStats.setText(0, 2, QStringLiteral("140"));
    RecordingSurface s;
    PrintGamePage(s, stats_, clock_.now());
    const Page& page = s.pages()[0];

    const auto title = TextsAt(page, 600, 500);
    QCOMPARE(title[0].text, QStringLiteral("Game Statistics - Date:07/03/2024 21:05:09"));
    QVERIFY(title[0].bold);
    QVERIFY(HasLine(page, 600, 750, 5000, 750));
    QCOMPARE(page.texts.size(), std::size_t(1 + 5 * 3));
    QCOMPARE(TextsAt(page, 600, 2700)[0].text, QStringLiteral("Legs Played"));
    QCOMPARE(TextsAt(page, 2250, 1500)[0].text, QStringLiteral("Both Players Share"));
    QCOMPARE(TextsAt(page, 3900, 1500)[0].text, QStringLiteral("140"));
    QVERIFY(!TextsAt(page, 2250, 1500)[0].bold);
    QVERIFY(HasLine(page, 550, 1480, 4500, 1480));
}

void PrintTest::pdfHoldsTheTexts()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stats.pdf"));
    stats_.grdLastScores[0].setText(1, 1, QStringLiteral("177"));
    stats_.ProScoring[0].setValue(54.5);
    stats_.grdLastScores[0].setRows(90);   // runs over onto a second page
    stats_.grdLastScores[0].setText(89, 1, QStringLiteral("Bust (99)"));
    {
        PdfSurface pdf(path);
        QVERIFY(pdf.pageHeightTwips() > 15000 && pdf.pageHeightTwips() < 16838);
        PrintPlayerPage(pdf, stats_, 0, QStringLiteral("Player 1"), clock_.now());
        QVERIFY2(pdf.finish(), qPrintable(pdf.error()));
    }

    QProcess run;
    run.start(pdftotext, {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    QVERIFY(run.waitForFinished(30000));
    const QString out = QString::fromUtf8(run.readAllStandardOutput());
    QCOMPARE(out.count(QStringLiteral("<page ")), 2);
    for (const char* word : {"Statistics", "Date:07/03/2024", "21:05:09", "177", "Darts", "Performance", "54.5", "(99)"})
        QVERIFY2(out.contains(QStringLiteral(">%1</word>").arg(QLatin1String(word))), word);

    // The title's first word stands 600 twips (30 points) in from the
    // printable area's left and 500 (25 points) below its top; the margin
    // is a quarter inch (18 points).
    const QRegularExpression first(
        QStringLiteral("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>Player</word>"));
    const QRegularExpressionMatch m = first.match(out);
    QVERIFY(m.hasMatch());
    QVERIFY(qAbs(m.captured(1).toDouble() - 48.0) < 2.0);
    QVERIFY(qAbs(m.captured(2).toDouble() - 43.0) < 3.0);

    // "Arial Narrow" is drawn with Liberation Sans Narrow, bold for titles.
    const QString pdffonts = QStandardPaths::findExecutable(QStringLiteral("pdffonts"));
    if (!pdffonts.isEmpty()) {
        run.start(pdffonts, {path});
        QVERIFY(run.waitForFinished(30000));
        const QString fonts = QString::fromUtf8(run.readAllStandardOutput());
        QVERIFY2(fonts.contains(QStringLiteral("LiberationSansNarrow-Bold")), qPrintable(fonts));
        QVERIFY2(fonts.contains(QRegularExpression(QStringLiteral("^LiberationSansNarrow\\s"),
                                                   QRegularExpression::MultilineOption)),
                 qPrintable(fonts));
    }
}

void PrintTest::pdfToUnwritablePathFails()
{
    PdfSurface pdf(QStringLiteral("/nonexistent-folder/x/stats.pdf"));
    PrintGamePage(pdf, stats_, clock_.now());
    QVERIFY(!pdf.finish());
    QVERIFY(pdf.error().contains(QStringLiteral("stats.pdf")));
}

void PrintTest::dialogListsPrinters()
{
    FixedPrinters printers;
    printers.installed = {QStringLiteral("Office"), QStringLiteral("Laser")};
    printers.preferred = QStringLiteral("Laser");
    CurrentPrinter current;
    CapturingTarget target;

    PrintDialog dialog(current, printers, target, sources());
    QCOMPARE(dialog.caption(), QStringLiteral("Print"));
    QVERIFY(!dialog.visible());
    QCOMPARE(dialog.printerNames(),
             QStringList({QStringLiteral("Office"), QStringLiteral("Laser"), QStringLiteral("PDF file")}));
    QCOMPARE(dialog.printerText(), QStringLiteral("Laser"));
    QCOMPARE(PrintDialog::centredOn(19200, 14400), QPoint(9600 - 2340, 7200 - 892));

    FixedPrinters none;
    PrintDialog bare(current, none, target, sources());
    QCOMPARE(bare.printerNames(), QStringList({QStringLiteral("PDF file")}));
    QCOMPARE(bare.printerText(), QStringLiteral("PDF file"));
}

void PrintTest::stalePrinterNameKeepsPrevious()
{
    FixedPrinters printers;
    printers.installed = {QStringLiteral("Office"), QStringLiteral("Laser")};
    printers.preferred = QStringLiteral("Office");
    CurrentPrinter current;
    CapturingTarget target;
    window_.tab = 3;

    {
        PrintDialog dialog(current, printers, target, sources());
        dialog.setCaption(QStringLiteral("Print Statistics"));
        dialog.setPrinterText(QStringLiteral("Laser"));
        dialog.Ok();
    }
    QCOMPARE(current.name(printers), QStringLiteral("Laser"));

    // Next time the dialog shows the chosen printer; a typed name that is no
    // printer, or one removed since, prints on it still.
    PrintDialog dialog(current, printers, target, sources());
    QCOMPARE(dialog.printerText(), QStringLiteral("Laser"));
    dialog.setCaption(QStringLiteral("Print Statistics"));
    dialog.setPrinterText(QStringLiteral("Lazer"));
    dialog.Ok();
    dialog.setPrinterText(QStringLiteral("Office"));
    printers.installed.removeAll(QStringLiteral("Office"));
    dialog.Ok();
    QCOMPARE(current.name(printers), QStringLiteral("Laser"));
    QCOMPARE(target.jobs.size(), std::size_t(3));
    for (const auto& job : target.jobs)
        QCOMPARE(job.printer, QStringLiteral("Laser"));
}

void PrintTest::onlyStatisticsJobPrints()
{
    FixedPrinters printers;
    printers.installed = {QStringLiteral("Office"), QStringLiteral("Laser")};
    CurrentPrinter current;
    CapturingTarget target;

    PrintDialog dialog(current, printers, target, sources());
    dialog.show();
    dialog.setPrinterText(QStringLiteral("Laser"));
    dialog.Ok();
    // The printer is chosen, but nothing prints and the dialog stays.
    QCOMPARE(current.name(printers), QStringLiteral("Laser"));
    QCOMPARE(target.begun, 0);
    QVERIFY(dialog.visible());
    QCOMPARE(dialog.lastOutcome(), PrintDialog::Outcome::Nothing);
}

void PrintTest::playerReportClosesGameReportStaysOpen()
{
    FixedPrinters printers;
    CurrentPrinter current;
    CapturingTarget target;

    window_.tab = 3;
    PrintDialog game(current, printers, target, sources());
    game.setCaption(QStringLiteral("Print Statistics"));
    game.show();
    game.Ok();
    QVERIFY(game.visible());
    game.Ok();   // another copy
    QCOMPARE(target.jobs.size(), std::size_t(2));
    QCOMPARE(target.jobs[1].pages[0].texts[0].text, QStringLiteral("Game Statistics - Date:07/03/2024 21:05:09"));
    game.Cancel();
    QVERIFY(game.closed());
    game.Ok();   // a discarded dialog does nothing
    QCOMPARE(target.jobs.size(), std::size_t(2));

    window_.tab = 1;
    window_.tabCaption[0] = QStringLiteral("Ann");
    PrintDialog player(current, printers, target, sources());
    player.setCaption(QStringLiteral("Print Statistics"));
    player.show();
    player.Ok();
    QVERIFY(player.closed());
    QVERIFY(!player.visible());
    QCOMPARE(target.jobs.size(), std::size_t(3));
    QCOMPARE(target.jobs[2].printer, QStringLiteral("PDF file"));
    QCOMPARE(target.jobs[2].pages[0].texts[0].text, QStringLiteral("Ann's Statistics - Date:07/03/2024 21:05:09"));
}

void PrintTest::selectedTabAtOkCounts()
{
    FixedPrinters printers;
    CurrentPrinter current;
    CapturingTarget target;
    window_.tabCaption[1] = QStringLiteral("Bob");
    stats_.grdStats[1].setText(0, 1, QStringLiteral("12"));
    stats_.grdStats[0].setText(0, 1, QStringLiteral("99"));

    window_.tab = 1;
    PrintDialog dialog(current, printers, target, sources());
    dialog.setCaption(QStringLiteral("Print Statistics"));
    window_.tab = 2;
    dialog.Ok();
    QCOMPARE(target.jobs.size(), std::size_t(1));
    const Page& page = target.jobs[0].pages[0];
    QCOMPARE(page.texts[0].text.left(19), QStringLiteral("Bob's Statistics - "));
    QCOMPARE(TextsAt(page, 5250, 1500)[0].text, QStringLiteral("12"));
}

void PrintTest::printingFailuresAreReported()
{
    FixedPrinters printers;
    CurrentPrinter current;
    CapturingTarget target;
    window_.tab = 1;

    PrintDialog dialog(current, printers, target, sources());
    dialog.setCaption(QStringLiteral("Print Statistics"));

    // The operator called it off: no message, nothing printed.
    target.refuseWith = QStringLiteral("");
    dialog.Ok();
    QVERIFY(notifier_.messages.isEmpty());
    QVERIFY(!dialog.closed());

    // The printer could not be started: the message, and the dialog stays
    // open for another try.
    target.refuseWith = QStringLiteral("Printer is offline");
    dialog.Ok();
    QCOMPARE(notifier_.messages.size(), 1);
    QVERIFY(notifier_.messages[0].contains(QStringLiteral("Printer is offline")));
    QCOMPARE(dialog.lastOutcome(), PrintDialog::Outcome::Failed);
    QVERIFY(!dialog.closed());

    target.refuseWith = QString();
    target.failFinish = true;
    dialog.Ok();
    QCOMPARE(notifier_.messages.size(), 2);
    QVERIFY(notifier_.messages[1].contains(QStringLiteral("paper jam")));
    QVERIFY(!dialog.closed());

    target.failFinish = false;
    dialog.Ok();
    QCOMPARE(dialog.lastOutcome(), PrintDialog::Outcome::Printed);
    QVERIFY(dialog.closed());
    QCOMPARE(target.jobs.size(), std::size_t(1));
}

QTEST_MAIN(PrintTest)
#include "print_test.moc"
