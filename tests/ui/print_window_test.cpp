// The print dialog opened from the statistics window: its controls, the
// printers it offers, what "&Ok" prints into a PDF file and when the dialog
// closes.
#include "UiTestSupport.h"

#include "ui/QtPrinting.h"
#include "ui/frmPrint.h"
#include "ui/frmStats.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTabBar>

namespace {

// Printers that can be taken away while the dialog is open.
class ChangingPrinters : public PrinterList {
public:
    QStringList names;
    QStringList installedPrinters() const override { return names; }
    QString defaultPrinter() const override { return {}; }
};

} // namespace

class PrintWindowTest : public QObject {
    Q_OBJECT
    UiFixture f;
    QStringList asked;     // the suggestions the file dialog was opened with
    QStringList answers;   // what it answers, in turn; empty means cancelled

    // The statistics window's "&Print", clicked.
    frmPrint* clickPrint()
    {
        QTest::mouseClick(f.child<QPushButton>(f.app->stats(), QStringLiteral("cmdPrint")),
                          Qt::LeftButton);
        return f.app->print();
    }
    void showStatsOn(int tab)
    {
        const char* entries[] = {"mnustaPlayer1", "mnustaPlayer2", "mnuStaGame"};
        f.scores().findChild<QAction*>(QString::fromLatin1(entries[tab - 1]))->trigger();
        QCOMPARE(f.model().statsWindow.tab, tab);
    }
    void clickTab(int tab)
    {
        QTabBar* tabs = f.app->stats()->tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab - 1).center());
        QCOMPARE(f.model().statsWindow.tab, tab);
    }
    static void choose(frmPrint* dialog, const QString& entry)
    {
        QComboBox* box = dialog->printerBox();
        const int i = box->findText(entry);
        QVERIFY(i >= 0);
        box->setCurrentIndex(i);
    }
    static void clickOk(frmPrint* dialog)
    {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
    }
    QString pdfPath(const QString& name) { return f.dir->filePath(name); }
    static qint64 sizeOf(const QString& path) { return QFileInfo(path).size(); }
    // The files are read back with pdftotext where it is installed.
    static QString pdfReader() { return QStandardPaths::findExecutable(QStringLiteral("pdftotext")); }
    static QString pdfText(const QString& path)
    {
        QProcess run;
        run.start(pdfReader(), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        if (!run.waitForFinished(30000))
            return {};
        return QString::fromUtf8(run.readAllStandardOutput());
    }

private slots:
    void init()
    {
        f.start();
        asked.clear();
        answers.clear();
        f.app->printing().target.setChooseFile([this](const QString& suggested) {
            asked << suggested;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    void cleanup() { f.stop(); }

    void opens_from_the_statistics_window_centred_with_pdf_file_last()
    {
        showStatsOn(1);
        QVERIFY(!f.app->print());
        frmPrint* dialog = clickPrint();
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Print Statistics"));
        QCOMPARE(dialog->model().caption(), QStringLiteral("Print Statistics"));

        // The design in pixels: 4680 x 1785 twips, controls at their places.
        QCOMPARE(dialog->size(), QSize(312, 119));
        QCOMPARE(f.child<QLabel>(dialog, QStringLiteral("lblPrinter"))->text(), QStringLiteral("Print to:"));
        QCOMPARE(f.child<QLabel>(dialog, QStringLiteral("lblPrinter"))->geometry(), QRect(16, 16, 265, 17));
        QCOMPARE(dialog->printerBox()->objectName(), QStringLiteral("cmbPrinter"));
        QCOMPARE(dialog->printerBox()->geometry(), QRect(16, 32, 273, 21));
        auto* ok = f.child<QPushButton>(dialog, QStringLiteral("cmdOk"));
        auto* cancel = f.child<QPushButton>(dialog, QStringLiteral("cmdCancel"));
        QCOMPARE(ok->text(), QStringLiteral("&Ok"));
        QCOMPARE(ok->geometry(), QRect(16, 64, 89, 33));
        QCOMPARE(cancel->text(), QStringLiteral("&Cancel"));
        QCOMPARE(cancel->geometry(), QRect(200, 64, 89, 33));

        const QRect screen = dialog->screen()->geometry();
        QVERIFY(qAbs(dialog->geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(dialog->geometry().center().y() - screen.center().y()) <= 1);

        // Every installed printer, then the PDF file; the current printer is
        // shown, which on a machine without printers is the file.
        QComboBox* box = dialog->printerBox();
        const QStringList installed = f.app->printing().printers->installedPrinters();
        QCOMPARE(box->count(), installed.size() + 1);
        for (int i = 0; i < installed.size(); ++i)
            QCOMPARE(box->itemText(i), installed[i]);
        QCOMPARE(box->itemText(box->count() - 1), QStringLiteral("PDF file"));
        QCOMPARE(box->currentText(), f.app->printing().current.name(*f.app->printing().printers));
        QVERIFY(box->isEditable());

        // "&Print" again while it is open raises the same dialog.
        QCOMPARE(clickPrint(), dialog);
    }

    void player_page_prints_into_the_chosen_file_and_closes()
    {
        f.throwAt(QStringLiteral("T20"));
        f.throwAt(QStringLiteral("T20"));
        f.throwAt(QStringLiteral("T20"));
        showStatsOn(1);
        QPointer<frmPrint> dialog = clickPrint();
        QVERIFY(dialog);
        choose(dialog, QStringLiteral("PDF file"));
        const QString path = pdfPath(QStringLiteral("player.pdf"));
        answers << path;
        clickOk(dialog);

        QCOMPARE(asked.size(), 1);
        QCOMPARE(QFileInfo(asked[0]).fileName(), QStringLiteral("Statistics.pdf"));
        QVERIFY(sizeOf(path) > 0);
        QVERIFY(f.notifier.messages.isEmpty());
        if (!pdfReader().isEmpty()) {
            const QString text = pdfText(path);
            QVERIFY2(text.contains(QStringLiteral("Player 1's Statistics - Date:")), qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("Player 1's Performance")));
            QVERIFY(text.contains(QStringLiteral("180")));
        }

        // A player's report closes and discards the dialog; the PDF file
        // stays the current printer and the next dialog is a new one that
        // shows it and suggests the file written last.
        QVERIFY(dialog.isNull() || !dialog->isVisible());
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(f.app->printing().current.name(*f.app->printing().printers), QStringLiteral("PDF file"));
        frmPrint* next = clickPrint();
        QVERIFY(next);
        QCOMPARE(next->printerBox()->currentText(), QStringLiteral("PDF file"));
        QCOMPARE(next->windowTitle(), QStringLiteral("Print Statistics"));
        answers << pdfPath(QStringLiteral("again.pdf"));
        clickOk(next);
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[1], path);
        QVERIFY(sizeOf(pdfPath(QStringLiteral("again.pdf"))) > 0);
    }

    void game_page_leaves_the_dialog_open_and_prints_again()
    {
        showStatsOn(1);
        QPointer<frmPrint> dialog = clickPrint();
        QVERIFY(dialog);
        choose(dialog, QStringLiteral("PDF file"));
        // What counts is the tab selected when "&Ok" is pressed.
        clickTab(3);
        const QString first = pdfPath(QStringLiteral("game1.pdf"));
        const QString second = pdfPath(QStringLiteral("game2.pdf"));
        answers << first << second;
        clickOk(dialog);
        QVERIFY(sizeOf(first) > 0);
        QCoreApplication::processEvents();
        QVERIFY(!dialog.isNull());
        QVERIFY(dialog->isVisible());
        QCOMPARE(f.app->print(), dialog.data());
        if (!pdfReader().isEmpty()) {
            const QString text = pdfText(first);
            QVERIFY(text.contains(QStringLiteral("Game Statistics - Date:")));
            QVERIFY(!text.contains(QStringLiteral("'s Statistics - Date:")));
        }

        clickOk(dialog);
        QCOMPARE(asked.size(), 2);
        QVERIFY(sizeOf(second) > 0);
        QVERIFY(dialog->isVisible());

        // "&Cancel" then closes and discards it.
        QTest::mouseClick(f.child<QPushButton>(dialog, QStringLiteral("cmdCancel")), Qt::LeftButton);
        QVERIFY(dialog.isNull() || !dialog->isVisible());
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(!f.app->print());
        QCOMPARE(asked.size(), 2);
        QVERIFY(f.notifier.messages.isEmpty());
    }

    void cancel_escape_and_close_box_discard_without_printing()
    {
        showStatsOn(2);
        QPointer<frmPrint> dialog = clickPrint();
        QTest::mouseClick(f.child<QPushButton>(dialog, QStringLiteral("cmdCancel")), Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());

        dialog = clickPrint();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(dialog.isNull());

        dialog = clickPrint();
        QVERIFY(dialog->close());
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(asked.isEmpty());
        QVERIFY(f.notifier.messages.isEmpty());
    }

    void stale_printer_name_prints_on_the_previous_printer()
    {
        auto printers = std::make_unique<ChangingPrinters>();
        ChangingPrinters* list = printers.get();
        list->names = {QStringLiteral("Office Laser")};
        f.app->printing().printers = std::move(printers);

        showStatsOn(3);
        QPointer<frmPrint> dialog = clickPrint();
        QComboBox* box = dialog->printerBox();
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(0), QStringLiteral("Office Laser"));
        QCOMPARE(box->itemText(1), QStringLiteral("PDF file"));
        QCOMPARE(box->currentText(), QStringLiteral("Office Laser"));
        choose(dialog, QStringLiteral("PDF file"));
        answers << pdfPath(QStringLiteral("a.pdf")) << pdfPath(QStringLiteral("b.pdf"))
                << pdfPath(QStringLiteral("c.pdf"));
        clickOk(dialog);
        QVERIFY(sizeOf(pdfPath(QStringLiteral("a.pdf"))) > 0);

        // The laser is unplugged while the dialog still lists it: choosing
        // it leaves the PDF file current, and that is what prints.
        list->names.clear();
        choose(dialog, QStringLiteral("Office Laser"));
        clickOk(dialog);
        QCOMPARE(f.app->printing().current.name(*list), QStringLiteral("PDF file"));
        QVERIFY(sizeOf(pdfPath(QStringLiteral("b.pdf"))) > 0);

        // A typed name that matches nothing does the same.
        box->setEditText(QStringLiteral("Nowhere"));
        clickOk(dialog);
        QVERIFY(sizeOf(pdfPath(QStringLiteral("c.pdf"))) > 0);
        QCOMPARE(asked.size(), 3);
        QVERIFY(f.notifier.messages.isEmpty());
    }

    void cancelled_file_choice_prints_nothing_and_says_nothing()
    {
        showStatsOn(1);
        QPointer<frmPrint> dialog = clickPrint();
        choose(dialog, QStringLiteral("PDF file"));
        clickOk(dialog); // the file dialog answers nothing
        QCOMPARE(asked.size(), 1);
        QVERIFY(f.notifier.messages.isEmpty());
        QCoreApplication::processEvents();
        // Nothing was printed, so the player's dialog is still there.
        QVERIFY(!dialog.isNull());
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->model().lastOutcome(), PrintDialog::Outcome::Nothing);
        QVERIFY(QDir(f.dir->path()).entryList({QStringLiteral("*.pdf")}).isEmpty());
    }

    void unwritable_file_is_reported_and_the_dialog_stays()
    {
        showStatsOn(3);
        QPointer<frmPrint> dialog = clickPrint();
        choose(dialog, QStringLiteral("PDF file"));
        answers << pdfPath(QStringLiteral("no such folder/report.pdf"));
        clickOk(dialog);
        QCOMPARE(f.notifier.messages.size(), 1);
        QVERIFY2(f.notifier.messages[0].contains(QStringLiteral("report.pdf")),
                 qPrintable(f.notifier.messages[0]));
        QCOMPARE(dialog->model().lastOutcome(), PrintDialog::Outcome::Failed);
        QVERIFY(dialog->isVisible());
    }

    void missing_printer_is_reported_not_printed_to_a_file()
    {
        // A real printer's document on a name the system does not know.
        QString error;
        std::unique_ptr<PageSurface> surface =
            f.app->printing().target.begin(QStringLiteral("Vantrell Test Printer That Is Not There"), &error);
        QVERIFY(!surface);
        QVERIFY(error.contains(QStringLiteral("Vantrell Test Printer That Is Not There")));
        QVERIFY(asked.isEmpty());
    }
};

QTEST_MAIN(PrintWindowTest)
#include "print_window_test.moc"
