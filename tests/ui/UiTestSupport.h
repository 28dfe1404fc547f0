#pragma once
// What the window tests share: the program's windows round a fresh database
// in a temporary folder, with the sounds and the message boxes recorded
// instead of played and shown.
#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"
#include "ui/VantrellApp.h"
#include "ui/frmOptions.h"
#include "ui/frmScores.h"

#include <QApplication>
#include <QAction>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>

class RecordingSound : public SoundOutput {
public:
    QStringList played;
    void play(const QString& path) override { played << path; }
};

class RecordingNotifier : public Notifier {
public:
    QStringList messages, titles;
    bool answer = true;
    std::function<void()> whileShown; // what happens while a message is up
    void message(const QString& text, const QString& title) override
    {
        messages << text;
        titles << title;
        if (whileShown)
            whileShown();
    }
    bool question(const QString& text, const QString& title) override
    {
        messages << text;
        titles << title;
        if (whileShown)
            whileShown();
        return answer;
    }
};

// What a tooltip shows: Qt draws one that looks like markup as rich text.
inline QString ShownToolTip(const QString& tip)
{
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument page;
    page.setHtml(tip);
    return page.toPlainText();
}

struct UiFixture {
    std::unique_ptr<QTemporaryDir> dir;
    RecordingSound sound;
    RecordingNotifier notifier;
    std::unique_ptr<VantrellApp> app;

    // Opens the database and loads the main window, as the splash does.
    void start()
    {
        // A new folder, so every test starts from a first run.
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        sound.played.clear();
        notifier.messages.clear();
        notifier.titles.clear();
        VantrellApp::Setup setup;
        setup.databasePath = dir->filePath(QStringLiteral("Data/Darts.MDB"));
        setup.soundsFolder = dir->filePath(QStringLiteral("sounds"));
        setup.helpPage = dir->filePath(QStringLiteral("Help.htm"));
        setup.sound = &sound;
        setup.notifier = &notifier;
        app = std::make_unique<VantrellApp>(setup);
        QString error;
        QVERIFY2(app->openDatabase(&error), qPrintable(error));
        app->loadMainWindow();
        QVERIFY(app->scores());
        QVERIFY(QTest::qWaitForWindowExposed(app->scores()));
    }

    void stop()
    {
        app.reset();
        dir.reset();
    }

    const ModDarts& model() { return app->model(); }
    frmScores& scores() { return *app->scores(); }
    BoardWidget& board() { return *app->scores()->board(); }

    template <class T> T* child(QWidget* in, const QString& name)
    {
        T* found = in->findChild<T*>(name);
        if (!found)
            qWarning("no %s", qPrintable(name));
        return found;
    }

    // The pixel of the board widget that lies well inside the bed `label`.
    QPoint pixelFor(const QString& label)
    {
        const QPointF at = PointFor(model().board.Image1, label);
        return QPoint(int(std::lround(at.x() / 15)), int(std::lround(at.y() / 15)));
    }

    void click(const QPoint& pixel) { QTest::mouseClick(&board(), Qt::LeftButton, {}, pixel); }
    void throwAt(const QString& label) { click(pixelFor(label)); }

    // The aim box follows the pointer by the end of the frame: waits for it.
    bool aimCaughtUp()
    {
        return QTest::qWaitFor([&] { return !scores().aimBehind(); }, 1000);
    }

    // A pointer move over a widget, delivered as the window system does.
    static void moveOver(QWidget* widget, const QPoint& at)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget->mapToGlobal(at)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    // The label of the newest recorded dart.
    QString lastDart()
    {
        const std::optional<match::Dart> newest = model().match().newestDart();
        return newest ? newest->label() : QString();
    }

    // Chooses a starting score on the options dialog's game page and saves.
    // Clicks the controls themselves, as the operator would.
    void chooseStart(int button);
};

inline void UiFixture::chooseStart(int button)
{
    scores().findChild<QAction*>(QStringLiteral("mnuoptOptions"))->trigger();
    frmOptions* options = app->options();
    QTest::mouseClick(options->findChild<QRadioButton*>(QStringLiteral("OptScore_%1").arg(button)),
                      Qt::LeftButton);
    QTest::mouseClick(options->findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
}
