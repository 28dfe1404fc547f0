// The windows refresh only when a command tells them a part they show may
// have changed. Whatever random commands are played, every window must then
// show exactly what it shows after reading the whole model afresh: a window
// that missed a change (a part left out of a command's reach, or a window not
// listening for a part it shows) shows the old state and fails here.
#include "UiTestSupport.h"

#include "engine/Commands.h"
#include "ui/frmBigScreen.h"
#include "ui/EntryLine.h"
#include "ui/GridView.h"
#include "ui/Widgets.h"
#include "ui/frmHiScores.h"
#include "ui/frmHistory.h"
#include "ui/frmStats.h"
#include "ui/frmWinnerBust.h"

#include <QLineEdit>
#include <QTabBar>
#include <QTableView>
#include <QTreeWidget>

#include <random>

namespace {

// What a window shows, one line per control: whether it is on view, where it
// stands, and its texts, choices, cells and values.
QStringList Shown(const char* window, QWidget* w)
{
    QStringList lines;
    if (!w) {
        lines << QStringLiteral("%1 absent").arg(QLatin1String(window));
        return lines;
    }
    const auto place = [](const QWidget* c) {
        const QRect g = c->geometry();
        return QStringLiteral("%1 %2 %3 %4%5")
            .arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())
            .arg(c->isHidden() ? QStringLiteral(" hidden") : QString())
            + (qobject_cast<const TurnMark*>(c) && !static_cast<const TurnMark*>(c)->lit() ? QStringLiteral(" dark") : QString());
    };
    lines << QStringLiteral("%1 %2").arg(QLatin1String(window), place(w));
    const QList<QWidget*> children = w->findChildren<QWidget*>();
    for (const QWidget* c : children) {
        QString line = QStringLiteral("%1/%2 %3").arg(QLatin1String(c->metaObject()->className()),
                                                       c->objectName(), place(c));
        if (const auto* label = qobject_cast<const QLabel*>(c)) {
            const QPalette& p = label->palette();
            line += QStringLiteral(" [%1] tip[%2] %3/%4")
                        .arg(label->text(), label->toolTip(),
                             p.color(label->backgroundRole()).name(),
                             p.color(label->foregroundRole()).name());
        } else if (const auto* box = qobject_cast<const QLineEdit*>(c)) {
            line += QStringLiteral(" [%1]").arg(box->text());
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(c)) {
            if (button->isCheckable())
                line += button->isChecked() ? QStringLiteral(" on") : QStringLiteral(" off");
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(c)) {
            line += QStringLiteral(" current %1").arg(tabs->currentIndex());
            for (int i = 0; i < tabs->count(); ++i)
                line += QStringLiteral(" [%1|%2]").arg(tabs->tabText(i), tabs->tabToolTip(i));
        } else if (const auto* entry = qobject_cast<const EntryLine*>(c)) {
            line += QStringLiteral(" [%1] hint[%2]").arg(entry->shownText(), entry->shownHint());
        } else if (const auto* bar = qobject_cast<const RatingBar*>(c)) {
            line += QStringLiteral(" %1").arg(bar->value());
        } else if (const auto* tree = qobject_cast<const QTreeWidget*>(c)) {
            for (int r = 0; r < tree->topLevelItemCount(); ++r) {
                const QTreeWidgetItem* item = tree->topLevelItem(r);
                for (int k = 0; k < item->columnCount(); ++k)
                    line += u' ' + item->text(k);
                line += u';';
            }
        } else if (const auto* view = qobject_cast<const QTableView*>(c)) {
            const QAbstractItemModel* m = view->model();
            line += QStringLiteral(" %1x%2").arg(m->rowCount()).arg(m->columnCount());
            for (int k = 0; k < m->columnCount(); ++k)
                line += u' ' + m->headerData(k, Qt::Horizontal).toString();
            for (int r = 0; r < m->rowCount(); ++r) {
                line += u';';
                for (int k = 0; k < m->columnCount(); ++k)
                    line += u' ' + m->index(r, k).data().toString();
            }
        }
        lines << line;
    }
    for (const QAction* a : w->findChildren<QAction*>())
        if (!a->objectName().isEmpty())
            lines << QStringLiteral("action/%1 [%2] tip[%3]%4")
                         .arg(a->objectName(), a->text(), a->toolTip(),
                              a->isChecked() ? QStringLiteral(" checked") : QString());
    return lines;
}

// The beds the random darts go for: enough trebles and doubles for legs to be
// won and visits to bust, and misses.
const char* const Beds[] = {"T20", "T20", "T19", "20", "1", "D20", "D10", "D1",
                            "50", "25", "0", "T5", "D16", "5", "18", "T17"};
const char* const Names[] = {"Ann", "Bo", "Tom & Jerry", "<b>Al</b>", "  Kim  ", "",
                             "Maximilian Oberhausen-Weinberg"};
const char* const Counts[] = {"1", "2", "3", "", "0", "x7", "12"};

} // namespace

class WindowRefreshTest : public QObject {
    Q_OBJECT
    UiFixture f;

    QStringList shownByAll()
    {
        QStringList all;
        all << Shown("frmScores", f.app->scores()) << Shown("frmStats", f.app->stats())
            << Shown("frmOptions", f.app->options()) << Shown("frmWinnerBust", f.app->winner())
            << Shown("frmHiScores", f.app->hiScores()) << Shown("frmHistory", f.app->history())
            << Shown("frmHistoryStats", f.app->historyPages());
        return all;
    }

    // Every window reads every part of the model again. The windows that come
    // and go must already be there exactly while the model has them open.
    void rereadAll(const QString& step)
    {
        const ModDarts& m = f.model();
        QVERIFY2(bool(f.app->winner()) == m.winner.open(), qPrintable(step));
        QVERIFY2(bool(f.app->hiScores()) == m.hiScoresWindow.open, qPrintable(step));
        QVERIFY2(bool(f.app->history()) == m.historyWindow.open, qPrintable(step));
        QVERIFY2(bool(f.app->historyPages()) == m.historyWindow.pages.visible, qPrintable(step));
        QVERIFY2(bool(f.app->bigScreen()) == m.bigScreenWindow.open, qPrintable(step));
        if (const frmBigScreen* big = f.app->bigScreen())
            QVERIFY2(big->isFullScreen() == m.bigScreenWindow.fullScreen, qPrintable(step));
        const Commands::Parts all = Commands::Part::All;
        f.app->scores()->refresh(all);
        f.app->stats()->refresh(all);
        f.app->options()->refresh(all);
        if (frmWinnerBust* winner = f.app->winner())
            winner->refresh(all);
        if (frmHiScores* hiScores = f.app->hiScores())
            hiScores->refresh(all);
        if (frmHistory* history = f.app->history())
            history->refresh(all);
        if (frmStats* pages = f.app->historyPages())
            pages->refresh(all);
    }

    // One command, as a window or the operator would issue it; returns what
    // it was, for the failure message.
    QString play(std::mt19937& rng)
    {
        Commands& c = f.app->commands();
        const ModDarts& m = f.model();
        auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
        const int roll = pick(100);
        if (roll < 32) {
            const QString bed = QLatin1String(Beds[pick(int(std::size(Beds)))]);
            const QPointF at = PointFor(m.board.Image1, bed);
            c.boardPressed(at.x(), at.y());
            return QStringLiteral("dart at ") + bed;
        }
        if (roll < 40) {
            // The keyboard: a dart or a slip typed, Enter, the editing keys.
            switch (pick(5)) {
            case 0: {
                const QString bed = QLatin1String(Beds[pick(int(std::size(Beds)))]);
                c.entryTyped(bed.toLower());
                c.entryEnter();
                return QStringLiteral("typed ") + bed;
            }
            case 1: {
                const char* slips[] = {"T25", "D21", "61", "x", "T"};
                c.entryTyped(QLatin1String(slips[pick(5)]));
                return QStringLiteral("slip typed");
            }
            case 2:
                c.entryEnter();
                return QStringLiteral("enter");
            case 3:
                c.entryBackspace();
                return QStringLiteral("backspace");
            default:
                c.entryEscape();
                return QStringLiteral("escape");
            }
        }
        if (roll < 46) {
            const QString bed = QLatin1String(Beds[pick(int(std::size(Beds)))]);
            const QPointF at = PointFor(m.board.Image1, bed);
            c.boardMoved(at.x(), at.y());
            return QStringLiteral("pointer over ") + bed;
        }
        if (roll < 48) {
            c.pointerOffBoard();
            return QStringLiteral("pointer off the board");
        }
        if (roll < 54) {
            c.undo();
            return QStringLiteral("undo");
        }
        if (roll < 56) {
            c.newGame();
            return QStringLiteral("new game");
        }
        if (roll < 58) {
            const BoardRect now = m.board.Image1;
            const double side = now.Width + (pick(3) - 1) * 300;
            c.placeBoard(BoardRect{now.Left + (pick(3) - 1) * 150, now.Top, side, side});
            return QStringLiteral("board placed");
        }
        if (roll < 62) {
            c.winnerOk();
            return QStringLiteral("announcement ok");
        }
        if (roll < 63) {
            c.winnerCloseRequest();
            return QStringLiteral("announcement close box");
        }
        switch (pick(29)) {
        case 0: {
            const int tab = 1 + pick(3);
            c.showOptions(tab);
            return QStringLiteral("options shown, tab %1").arg(tab);
        }
        case 1:
            c.optionsActivated();
            return QStringLiteral("options activated");
        case 2: {
            const int tab = 1 + pick(3);
            c.optionsTabClicked(tab);
            return QStringLiteral("options tab %1").arg(tab);
        }
        case 3:
        case 4:
            c.optionsOk();
            return QStringLiteral("options ok");
        case 5:
            c.optionsCancel();
            return QStringLiteral("options cancel");
        case 6: {
            const int player = pick(2);
            const QString name = QLatin1String(Names[pick(int(std::size(Names)))]);
            c.optionsNameTyped(player, name);
            return QStringLiteral("name %1 typed [%2]").arg(player).arg(name);
        }
        case 7: {
            const QString count = QLatin1String(Counts[pick(int(std::size(Counts)))]);
            c.optionsLegsTyped(count);
            return QStringLiteral("legs typed [%1]").arg(count);
        }
        case 8: {
            const QString count = QLatin1String(Counts[pick(int(std::size(Counts)))]);
            c.optionsSetsTyped(count);
            return QStringLiteral("sets typed [%1]").arg(count);
        }
        case 9: {
            const int button = pick(3);
            c.optionsScoreChosen(button);
            return QStringLiteral("start button %1").arg(button);
        }
        case 10: {
            const int button = pick(2);
            c.optionsPlayersChosen(button);
            return QStringLiteral("players button %1").arg(button);
        }
        case 11: {
            const int button = pick(2);
            c.optionsCommentaryChosen(button);
            return QStringLiteral("commentary button %1").arg(button);
        }
        case 12: {
            const int tab = 1 + pick(3);
            c.showStats(tab);
            return QStringLiteral("statistics shown, tab %1").arg(tab);
        }
        case 13:
            c.statsActivated();
            return QStringLiteral("statistics activated");
        case 14: {
            const int tab = 1 + pick(3);
            c.statsTabClicked(tab);
            return QStringLiteral("statistics tab %1").arg(tab);
        }
        case 15:
            c.statsExit();
            return QStringLiteral("statistics exit");
        case 16:
        case 17:
            c.showHiScores();
            return QStringLiteral("high scores shown");
        case 18:
            c.hiScoresReset();
            return QStringLiteral("high scores reset");
        case 19:
            c.hiScoresClose();
            return QStringLiteral("high scores closed");
        case 20:
            c.showHistory();
            return QStringLiteral("history shown");
        case 21: {
            const int row = pick(int(m.historyWindow.rows.size()) + 1);
            c.historyOpenMatch(row);
            return QStringLiteral("history row %1 opened").arg(row);
        }
        case 22: {
            const int tab = 1 + pick(3);
            c.historyTabClicked(tab);
            return QStringLiteral("stored match's tab %1").arg(tab);
        }
        case 23:
            c.historyPagesClose();
            return QStringLiteral("stored match's pages closed");
        case 24:
            c.historyClose();
            return QStringLiteral("history closed");
        case 25: {
            const bool own = pick(2) == 1;
            c.bigScreenChosen(own);
            return QStringLiteral("big screen chosen%1").arg(own ? QStringLiteral(", a screen of its own") : QString());
        }
        case 26:
            c.bigScreenFullScreen();
            return QStringLiteral("big screen full screen");
        case 27:
            c.bigScreenClosed();
            return QStringLiteral("big screen closed");
        default:
            c.load();
            return QStringLiteral("settings loaded again");
        }
    }

    void playSession(quint32 seed, int commands)
    {
        std::mt19937 rng(seed);
        QStringList recent;
        for (int i = 0; i < commands; ++i) {
            const QString what = play(rng);
            recent << what;
            if (recent.size() > 8)
                recent.removeFirst();
            // What the windows did when shown (an activation is a command
            // of its own) is done before they are compared.
            QCoreApplication::processEvents();
            QVERIFY(f.aimCaughtUp());
            const QStringList before = shownByAll();
            const QString step = QStringLiteral("seed %1, command %2 (%3)")
                                     .arg(seed).arg(i).arg(recent.join(QStringLiteral(", ")));
            rereadAll(step);
            if (QTest::currentTestFailed())
                return;
            const QStringList after = shownByAll();
            if (before != after) {
                QString difference;
                for (qsizetype k = 0; k < std::max(before.size(), after.size()); ++k) {
                    const QString was = before.value(k), fresh = after.value(k);
                    if (was != fresh) {
                        difference = QStringLiteral("\n  shown: %1\n  fresh: %2").arg(was, fresh);
                        break;
                    }
                }
                QFAIL(qPrintable(step + difference));
            }
        }
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void windows_show_the_model_after_every_command_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {20260101u, 7u, 424242u})
            QTest::newRow(qPrintable(QString::number(seed))) << seed;
    }

    void windows_show_the_model_after_every_command()
    {
        QFETCH(quint32, seed);
        playSession(seed, 300);
    }
};

QTEST_MAIN(WindowRefreshTest)
#include "window_refresh_test.moc"
