// The printout's layout, page continuation, the PDF writer and the print
// dialog, all without the engine.
#include "base/Clock.h"
#include "base/Notifier.h"
#include "print/PdfSurface.h"
#include "print/PrintDialog.h"
#include "print/PrintGrid.h"
#include "print/StatisticsReport.h"
#include "stats/StatsTables.h"
#include "stats/StatsWindow.h"

#include <QProcess>
#include <limits>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

using Text = RecordingSurface::Text;
using Page = RecordingSurface::Page;

// The texts printed at a position, joined by "|" when several are.
QString TextAt(const Page& page, qint64 x, qint64 y)
{
    QStringList found;
    for (const Text& t : page.texts)
        if (t.x == x && t.y == y)
            found << t.text;
    return found.isEmpty() ? QStringLiteral("<nothing>") : found.join(QLatin1Char('|'));
}

const Text* Find(const Page& page, const QString& text)
{
    for (const Text& t : page.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

bool HasLine(const Page& page, qint64 x1, qint64 y1, qint64 x2, qint64 y2)
{
    for (const auto& l : page.lines)
        if (l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2)
            return true;
    return false;
}

// Texts that run past the right edge of their box, or past the printable
// width of the page, each with where it ends and where it had to end.
QString Overruns(const Page& page)
{
    constexpr qint64 PageRight = 11185;
    QString found;
    for (const Text& t : page.texts) {
        if (t.text.isEmpty())
            continue;
        RecordingSurface measure;
        measure.setFont(t.font, t.points, t.bold);
        const qint64 end = t.x + TextWidthTwips(measure, t.text);
        // The nearest box edge to the right of the text's start, on its row.
        qint64 edge = PageRight;
        for (const auto& l : page.lines)
            if (l.x1 == l.x2 && l.x1 > t.x && l.y1 <= t.y + 100 && l.y2 >= t.y + 100)
                edge = std::min(edge, l.x1);
        if (end > edge)
            found += QStringLiteral("\"%1\" at %2,%3 ends at %4, past %5; ")
                         .arg(t.text).arg(t.x).arg(t.y).arg(end).arg(edge);
    }
    return found;
}

// The x of the first box edge right of x on the row printed at y.
qint64 EdgeAfter(const Page& page, qint64 x, qint64 y)
{
    qint64 edge = std::numeric_limits<qint64>::max();
    for (const auto& l : page.lines)
        if (l.x1 == l.x2 && l.x1 > x && l.y1 == y - 20 && l.y2 == y + 280)
            edge = std::min(edge, l.x1);
    return edge;
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

// Keeps every finished document with the printer it was started on.
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
    QString refuseWith;   // null: accept; empty: the operator called it off
    bool failFinish = false;
};

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void gridsPrintEveryCellBoxed();
    void longGridCarriesOnToFurtherPages();
    void playerPageLayout();
    void playerPageWithLongLastScores();
    void gamePageLayout();
    void noTextRunsIntoTheNextBox();
    void pdfKeepsNeighbouringCellsApart();
    void pdfHoldsTheTexts();
    void dialogChoosesPrinter();
    void dialogPrintsSelectedTab();
    void storedMatchPagesAreDatedByTheMatch();
    void printingFailuresAreReported();
    void failedPdfWritesAreReported();

private:
    PrintSources sources() { return {&stats_, &window_, &clock_, &notifier_, {}}; }

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

void PrintTest::gridsPrintEveryCellBoxed()
{
    // grdStats: 13 rows of 2 cells, the empty rows 10 to 12 included.
    stats_.grdStats[0].setText(1, 1, QStringLiteral("45.50"));
    RecordingSurface s;
    s.setFont(PrinterFontName, PrinterFontPoints, false);
    PrintGrid(s, stats_.grdStats[0], 4000, 1500);
    const Page& page = s.pages()[0];
    QCOMPARE(page.texts.size(), std::size_t(26));
    QCOMPARE(page.lines.size(), std::size_t(13 * 5));
    // Column 0 is at least its width plus 150, more where a label needs it;
    // column 1 is 600 plus 150.
    const qint64 mid = EdgeAfter(page, 4000, 1500);
    QVERIFY2(mid >= 5200 && mid < 5600, qPrintable(QString::number(mid)));
    const qint64 right = mid + 750;
    for (int i = 0; i < 13; ++i) {
        const qint64 top = 1500 + 300 * i;
        QCOMPARE(TextAt(page, 4000, top), stats_.grdStats[0].text(i, 0));
        QCOMPARE(TextAt(page, mid + 50, top), stats_.grdStats[0].text(i, 1));
        // Both right edges, top and bottom, the left edge from the table's top.
        QVERIFY(HasLine(page, mid, top - 20, mid, top + 280));
        QVERIFY(HasLine(page, right, top - 20, right, top + 280));
        QVERIFY(HasLine(page, 3950, top - 20, right, top - 20));
        QVERIFY(HasLine(page, 3950, top + 280, right, top + 280));
        QVERIFY(HasLine(page, 3950, 1480, 3950, top + 280));
    }
    QCOMPARE(TextAt(page, mid + 50, 1800), QStringLiteral("45.50"));
    QCOMPARE(Overruns(page), QString());

    // grdDarts: 4 rows of 21 boxes, column 0 350 wide and the segments 450.
    stats_.grdDarts[1].setText(1, 1, QStringLiteral("1"));
    RecordingSurface d;
    PrintGrid(d, stats_.grdDarts[1], 600, 9000);
    const Page& darts = d.pages()[0];
    QCOMPARE(darts.texts.size(), std::size_t(4 * 21));
    QCOMPARE(darts.lines.size(), std::size_t(4 * 24));
    QCOMPARE(TextAt(darts, 600, 9300), QStringLiteral("T"));
    QCOMPARE(TextAt(darts, 950, 9000), QStringLiteral("20"));
    QCOMPARE(TextAt(darts, 950, 9300), QStringLiteral("1"));
    QCOMPARE(TextAt(darts, 950 + 450 * 19, 9000), QStringLiteral("1"));
    QCOMPARE(TextAt(darts, 950 + 450 * 19, 9900), QString());
    QVERIFY(HasLine(darts, 550, 9880, 9900, 9880));
    QVERIFY(HasLine(darts, 9900, 9880, 9900, 10180));
}

void PrintTest::longGridCarriesOnToFurtherPages()
{
    Grid& g = stats_.grdLastScores[0];
    g.setRows(200);
    for (int r = 1; r < 200; ++r)
        g.setText(r, 1, QStringLiteral("v%1").arg(r));
    const qint64 height = 16000;
    RecordingSurface s(height);
    PrintGrid(s, g, 600, 1500);
    QVERIFY(s.pageCount() >= 2);
    QCOMPARE(s.currentPage(), 0);   // back where the grid started

    // Every row once and in order, none past the bottom; the first page
    // from 1500, the others from the continuation top, each page full.
    int row = 0;
    for (int p = 0; p < s.pageCount(); ++p) {
        const Page& page = s.pages()[std::size_t(p)];
        const qint64 first = p == 0 ? 1500 : s.continuationTopTwips();
        for (std::size_t k = 0; k < page.texts.size(); k += 2, ++row) {
            QCOMPARE(page.texts[k].y, first + 300 * qint64(k / 2));
            QCOMPARE(page.texts[k + 1].text, row == 0 ? QStringLiteral("Score") : QStringLiteral("v%1").arg(row));
        }
        const qint64 last = page.texts.back().y;
        QVERIFY(last + 280 <= height);
        QVERIFY(p == s.pageCount() - 1 || last + 300 + 280 > height);
        QVERIFY(HasLine(page, 550, first - 20, 550, last + 280));
    }
    QCOMPARE(row, 200);

    // A page too short for a single row still ends: one row a page.
    Grid small(QStringLiteral("g"), 3, 1, 0, 0, 100, 100);
    RecordingSurface tiny(600);
    PrintGrid(tiny, small, 100, 1500);
    QCOMPARE(tiny.pageCount(), 4);
    QCOMPARE(tiny.pages()[3].texts.size(), std::size_t(1));
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

    const Text* title = Find(page, QStringLiteral("Player 2's Statistics - Date:07/03/2024 21:05:09"));
    QVERIFY(title && title->x == 600 && title->y == 500 && title->bold);
    QVERIFY(HasLine(page, 600, 750, 8000, 750));
    QCOMPARE(TextAt(page, 1250, 1800), QStringLiteral("60"));
    QCOMPARE(TextAt(page, 4000, 1500), QStringLiteral("Darts thrown"));
    QCOMPARE(TextAt(page, 8000, 1500), QStringLiteral("Total darts"));
    QCOMPARE(TextAt(page, 8000 + stats_.grdStats2[1].colWidth(0) + 150, 1500), QStringLiteral("3"));
    QCOMPARE(TextAt(page, 950, 9000), QStringLiteral("20"));
    QCOMPARE(TextAt(page, 600, 10800), QStringLiteral("2"));
    const Text* performance = Find(page, QStringLiteral("Player 2's Performance"));
    QVERIFY(performance && performance->x == 600 && performance->y == 12000 && performance->bold);
    QCOMPARE(TextAt(page, 600, 12500), QStringLiteral("Scoring Darts : 54.5"));
    QCOMPARE(TextAt(page, 600, 13000), QStringLiteral("3 Dart Average : 100"));
    QVERIFY(!Find(page, QStringLiteral("33")));   // the first-nine bar is not printed

    // Every cell of the five grids and four lines of text, one font, only
    // the two titles bold.
    QCOMPARE(page.texts.size(), std::size_t(10 * 2 + 13 * 2 + 13 * 2 + 4 * 21 + 2 * 2 + 4));
    QCOMPARE(page.lines.size(), std::size_t(1 + 10 * 5 + 13 * 5 * 2 + 4 * 24 + 2 * 5));
    int bold = 0;
    for (const Text& t : page.texts) {
        QCOMPARE(t.font, QStringLiteral("Arial Narrow"));
        QCOMPARE(t.points, 12.0);
        bold += t.bold;
    }
    QCOMPARE(bold, 2);
}

void PrintTest::playerPageWithLongLastScores()
{
    // 199 visits in a leg: the list carries on over further pages (running
    // through the lower blocks of the first page as it falls), and every
    // other block stays at its place on the first page.
    stats_.grdLastScores[0].setRows(200);
    stats_.grdLastScores[0].setText(199, 1, QStringLiteral("r199"));
    RecordingSurface s;
    PrintPlayerPage(s, stats_, 0, QStringLiteral("Ann"), clock_.now());
    QVERIFY(s.pageCount() >= 2);
    const Page& first = s.pages()[0];
    QVERIFY(TextAt(first, 4000, 1500) == QStringLiteral("Darts thrown"));
    const Text* performance = Find(first, QStringLiteral("Ann's Performance"));
    QVERIFY(performance && performance->y == 12000);
    QVERIFY(Find(first, QStringLiteral("3 Dart Average : 0")));
    QVERIFY(Find(s.pages().back(), QStringLiteral("r199")));
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
    QCOMPARE(TextAt(page, 600, 500), QStringLiteral("Game Statistics - Date:07/03/2024 21:05:09"));
    QVERIFY(page.texts[0].bold && !page.texts[1].bold);
    QVERIFY(HasLine(page, 600, 750, 5000, 750));
    QCOMPARE(page.texts.size(), std::size_t(1 + 5 * 3));
    QCOMPARE(TextAt(page, 600, 2700), QStringLiteral("Legs Played"));
    QCOMPARE(TextAt(page, 2250, 1500), QStringLiteral("Both Players Share"));
    // The name column widens for the shared high score; its score follows
    // in the next box.
    const qint64 edge = EdgeAfter(page, 2250, 1500);
    QVERIFY(edge >= 3850);
    QCOMPARE(TextAt(page, edge + 50, 1500), QStringLiteral("140"));
    QVERIFY(HasLine(page, 550, 1480, edge + 650, 1480));
    QCOMPARE(Overruns(page), QString());
}

void PrintTest::noTextRunsIntoTheNextBox()
{
    // Averages over 100, every label, the shared high score, and names of
    // every length (an older settings file may hold any length).
    const QString endless = QStringLiteral("Bartholomew-").repeated(20);
    for (Grid& g : stats_.grdStats) {
        g.setText(0, 1, QStringLiteral("1234"));
        g.setText(1, 1, QStringLiteral("59.11"));
        g.setText(2, 1, QStringLiteral("177.33"));
    }
    stats_.grdStats2[0].setText(0, 1, QStringLiteral("12345"));
    stats_.grdLastScores[0].setText(1, 1, QStringLiteral("Bust (170)"));
    for (int k = 1; k <= 20; ++k)
        stats_.grdDarts[0].setText(1, k, QStringLiteral("100"));
    stats_.grdGameStats.setText(0, 1, QStringLiteral("Both Players Share"));
    stats_.grdGameStats.setText(0, 2, QStringLiteral("180"));
    stats_.grdGameStats.setText(2, 1, endless);
    stats_.grdGameStats.setText(2, 2, QStringLiteral("170"));
    stats_.grdGameStats.setText(4, 1, QStringLiteral("12"));

    for (const QString& name : {QStringLiteral("Tom & Jerry"), endless}) {
        RecordingSurface player;
        PrintPlayerPage(player, stats_, 0, name, clock_.now());
        QCOMPARE(Overruns(player.pages()[0]), QString());
        // Every cell's text is printed whole: the boxes widen for it.
        for (const char* whole : {"177.33", "Dart Average", "Darts thrown", "Bust (170)", "12345", "100"})
            QVERIFY2(Find(player.pages()[0], QString::fromLatin1(whole)), whole);
        // A name that fits is printed whole, a longer one cut short.
        const Text& title = player.pages()[0].texts[0];
        QVERIFY(title.text.endsWith(QStringLiteral("'s Statistics - Date:07/03/2024 21:05:09")));
        QCOMPARE(title.text.startsWith(name), name.size() < 30);
        QVERIFY(title.text.startsWith(name.left(20)));
    }
    RecordingSurface game;
    PrintGamePage(game, stats_, clock_.now());
    QCOMPARE(Overruns(game.pages()[0]), QString());
    QVERIFY(Find(game.pages()[0], QStringLiteral("Both Players Share")));
    // The long name is cut short with an ellipsis, its score beside it.
    const Text* out = nullptr;
    for (const Text& t : game.pages()[0].texts)
        if (t.text.startsWith(QStringLiteral("Bartholomew")))
            out = &t;
    QVERIFY(out && out->text.endsWith(QChar(0x2026)));
    QVERIFY(Find(game.pages()[0], QStringLiteral("170")));
}

void PrintTest::pdfKeepsNeighbouringCellsApart()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    stats_.grdGameStats.setText(0, 1, QStringLiteral("Both Players Share"));
    stats_.grdGameStats.setText(0, 2, QStringLiteral("180"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("game.pdf"));
    {
        PdfSurface pdf(path);
        PrintGamePage(pdf, stats_, clock_.now());
        QVERIFY2(pdf.finish(), qPrintable(pdf.error()));
    }
    QProcess run;
    run.start(pdftotext, {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    QVERIFY(run.waitForFinished(30000));
    const QString out = QString::fromUtf8(run.readAllStandardOutput());
    // "Share" and "180" are two words, a clear gap between them.
    auto box = [&](const QString& word, double* xMin, double* xMax) {
        const auto m = QRegularExpression(QStringLiteral("xMin=\"([0-9.]+)\"[^>]*xMax=\"([0-9.]+)\"[^>]*>%1</word>")
                                              .arg(word))
                           .match(out);
        if (!m.hasMatch())
            return false;
        *xMin = m.captured(1).toDouble();
        *xMax = m.captured(2).toDouble();
        return true;
    };
    double shareMin = 0, shareMax = 0, scoreMin = 0, scoreMax = 0;
    QVERIFY2(box(QStringLiteral("Share"), &shareMin, &shareMax), qPrintable(out));
    QVERIFY2(box(QStringLiteral("180"), &scoreMin, &scoreMax), qPrintable(out));
    QVERIFY2(scoreMin - shareMax > 3.0, qPrintable(QStringLiteral("%1 %2").arg(shareMax).arg(scoreMin)));
}

void PrintTest::pdfHoldsTheTexts()
{
    // An unwritable file fails with its name in the reason.
    PdfSurface bad(QStringLiteral("/nonexistent-folder/x/stats.pdf"));
    PrintGamePage(bad, stats_, clock_.now());
    QVERIFY(!bad.finish());
    QVERIFY(bad.error().contains(QStringLiteral("stats.pdf")));

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
    for (const char* word : {"Statistics", "Date:07/03/2024", "21:05:09", "177", "Performance", "54.5", "(99)"})
        QVERIFY2(out.contains(QStringLiteral(">%1</word>").arg(QLatin1String(word))), word);

    // The title stands 600 twips (30 points) right of and 500 (25 points)
    // below the printable area's corner, a quarter inch (18 points) in.
    const auto m = QRegularExpression(QStringLiteral("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>Player</word>"))
                       .match(out);
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

void PrintTest::dialogChoosesPrinter()
{
    FixedPrinters printers;
    printers.installed = {QStringLiteral("Office"), QStringLiteral("Laser")};
    printers.preferred = QStringLiteral("Office");
    CurrentPrinter current;
    CapturingTarget target;
    window_.tab = 3;

    PrintDialog first(current, printers, target, sources());
    QCOMPARE(first.caption(), QStringLiteral("Print"));
    QCOMPARE(first.printerNames(), QStringList({QStringLiteral("Office"), QStringLiteral("Laser"),
                                                QStringLiteral("PDF file")}));
    QCOMPARE(first.printerText(), QStringLiteral("Office"));
    QCOMPARE(PrintDialog::centredOn(19200, 14400), QPoint(9600 - 2340, 7200 - 892));
    // Under another caption the printer is chosen but nothing prints.
    first.setPrinterText(QStringLiteral("Laser"));
    first.Ok();
    QCOMPARE(target.begun, 0);
    QVERIFY(!first.closed());

    // The next dialog shows the chosen printer; a typed name that is no
    // printer, or one removed since, prints on it still.
    PrintDialog dialog(current, printers, target, sources());
    QCOMPARE(dialog.printerText(), QStringLiteral("Laser"));
    dialog.setCaption(QStringLiteral("Print Statistics"));
    dialog.setPrinterText(QStringLiteral("Lazer"));
    dialog.Ok();
    dialog.setPrinterText(QStringLiteral("Office"));
    printers.installed.removeAll(QStringLiteral("Office"));
    dialog.Ok();
    QCOMPARE(target.jobs.size(), std::size_t(2));
    QCOMPARE(target.jobs[0].printer, QStringLiteral("Laser"));
    QCOMPARE(target.jobs[1].printer, QStringLiteral("Laser"));

    // Without printers the PDF file is the only entry and the current one.
    FixedPrinters none;
    CurrentPrinter fresh;
    PrintDialog bare(fresh, none, target, sources());
    QCOMPARE(bare.printerNames(), QStringList({QStringLiteral("PDF file")}));
    QCOMPARE(bare.printerText(), QStringLiteral("PDF file"));
}

void PrintTest::dialogPrintsSelectedTab()
{
    FixedPrinters printers;
    CurrentPrinter current;
    CapturingTarget target;

    // The game page leaves the dialog open for another copy.
    window_.tab = 3;
    PrintDialog game(current, printers, target, sources());
    game.setCaption(QStringLiteral("Print Statistics"));
    game.show();
    game.Ok();
    game.Ok();
    QVERIFY(game.visible());
    QCOMPARE(target.jobs.size(), std::size_t(2));
    QCOMPARE(target.jobs[1].pages[0].texts[0].text, QStringLiteral("Game Statistics - Date:07/03/2024 21:05:09"));
    game.Cancel();
    QVERIFY(game.closed());
    game.Ok();   // a discarded dialog does nothing
    QCOMPARE(target.jobs.size(), std::size_t(2));

    // A player's page is the tab's at "&Ok", with its caption as the name,
    // and closes the dialog.
    window_.tab = 1;
    window_.tabCaption[1] = QStringLiteral("Bob");
    stats_.grdStats[1].setText(0, 1, QStringLiteral("12"));
    PrintDialog player(current, printers, target, sources());
    player.setCaption(QStringLiteral("Print Statistics"));
    player.show();
    window_.tab = 2;
    player.Ok();
    QVERIFY(player.closed() && !player.visible());
    QCOMPARE(target.jobs.size(), std::size_t(3));
    const Page& page = target.jobs[2].pages[0];
    QCOMPARE(page.texts[0].text, QStringLiteral("Bob's Statistics - Date:07/03/2024 21:05:09"));
    QCOMPARE(TextAt(page, 5250, 1500), QStringLiteral("12"));
}

// A stored match's pages are headed with the day it was played; the moment
// they were printed stands under the rule, marked as such. The match in
// play keeps the moment of printing in its heading and has no such line.
void PrintTest::storedMatchPagesAreDatedByTheMatch()
{
    FixedPrinters printers;
    CurrentPrinter current;
    CapturingTarget target;
    PrintSources stored = sources();
    stored.played = QDateTime(QDate(2023, 11, 2), QTime(19, 45, 30));
    const QString printed = QStringLiteral("Printed: 07/03/2024 21:05:09");
    for (const int tab : {3, 2}) {
        window_.tab = tab;
        for (const PrintSources& from : {stored, sources()}) {
            PrintDialog dialog(current, printers, target, from);
            dialog.setCaption(QStringLiteral("Print Statistics"));
            dialog.show();
            dialog.Ok();
            QCOMPARE(dialog.lastOutcome(), PrintDialog::Outcome::Printed);
            const Page& page = target.jobs.back().pages[0];
            const QString date = from.played.isValid() ? QStringLiteral("02/11/2023 19:45:30")
                                                       : QStringLiteral("07/03/2024 21:05:09");
            QCOMPARE(TextAt(page, 600, 500), (tab == 3 ? QStringLiteral("Game Statistics - Date:")
                                                       : QStringLiteral("Player 2's Statistics - Date:")) + date);
            const Text* line = Find(page, printed);
            if (from.played.isValid()) {
                QVERIFY(line && line->x == 600 && line->y == 900 && !line->bold);
                // Between the rule under the title and the first table.
                QVERIFY(HasLine(page, 600, 750, tab == 3 ? 5000 : 8000, 750));
                QCOMPARE(Overruns(page), QString());
            } else {
                QVERIFY(!line);
            }
        }
    }
}

void PrintTest::printingFailuresAreReported()
{
    FixedPrinters printers;
    CurrentPrinter current;
    CapturingTarget target;
    window_.tab = 1;
    PrintDialog dialog(current, printers, target, sources());
    dialog.setCaption(QStringLiteral("Print Statistics"));

    // Called off by the operator: no message, the dialog stays.
    target.refuseWith = QStringLiteral("");
    dialog.Ok();
    QVERIFY(notifier_.messages.isEmpty() && !dialog.closed());

    // The printer cannot start, or fails at the end: a message each time,
    // and the dialog stays open for another try.
    target.refuseWith = QStringLiteral("Printer is offline");
    dialog.Ok();
    QCOMPARE(dialog.lastOutcome(), PrintDialog::Outcome::Failed);
    target.refuseWith = QString();
    target.failFinish = true;
    dialog.Ok();
    QCOMPARE(notifier_.messages.size(), 2);
    QVERIFY(notifier_.messages[0].contains(QStringLiteral("Printer is offline")));
    QVERIFY(notifier_.messages[1].contains(QStringLiteral("paper jam")));
    QVERIFY(!dialog.closed());

    target.failFinish = false;
    dialog.Ok();
    QCOMPARE(dialog.lastOutcome(), PrintDialog::Outcome::Printed);
    QVERIFY(dialog.closed());
}

void PrintTest::failedPdfWritesAreReported()
{
    QTemporaryDir dir;
    auto printTo = [&](const QString& path, QString* error) {
        PdfSurface pdf(path);
        PrintGamePage(pdf, stats_, clock_.now());
        const bool ok = pdf.finish();
        *error = pdf.error();
        return ok;
    };
    QString error;

    // A device that takes no bytes: the write fails and says so.
    if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
        QVERIFY(!printTo(QStringLiteral("/dev/full"), &error));
        QVERIFY2(error.contains(QStringLiteral("/dev/full")), qPrintable(error));
    }
    // A folder in the file's place.
    QVERIFY(!printTo(dir.path(), &error));
    QVERIFY(!error.isEmpty());

    // A disk that fills in mid-write, as a file-size limit makes it: the
    // failure is told and the report printed before it stays whole.
    const QString path = dir.filePath(QStringLiteral("stats.pdf"));
    QVERIFY2(printTo(path, &error), qPrintable(error));
    QFile before(path);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray good = before.readAll();
    before.close();
    QVERIFY(good.size() > 2000);

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool wrote = printTo(path, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!wrote);
    QVERIFY2(error.contains(QStringLiteral("stats.pdf")), qPrintable(error));
    QFile after(path);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), good);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("stats.pdf")});
}

QTEST_MAIN(PrintTest)
#include "print_test.moc"
