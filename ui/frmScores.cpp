#include "base/AppText.h"
#include "ui/frmScores.h"

#include "engine/ModDarts.h"
#include "ui/BoardPicture.h"
#include "ui/EntryLine.h"
#include "ui/GridView.h"
#include "ui/Twips.h"
#include "ui/VantrellApp.h"
#include "ui/frmBigScreen.h"
#include "ui/Widgets.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

constexpr double PanelWidth = 2430;
constexpr double BoardTop = -120;
// The board radius as a share of the picture's side, as the mapping takes it.
constexpr double RadiusShare = 0.3466;
constexpr double ArrowWidth = 825, ArrowHeight = 495, ArrowTop = 240;
constexpr double AimWidth = 855, AimHeight = 495;
// The aim box's place is kept relative to the board's design left edge.
constexpr double AimOrigin = 2000;
// The numbers stand in a ring round the doubles, out to 1.36 times the
// double ring's radius.
constexpr double NumbersShare = RadiusShare * 1.36;
constexpr double UndoLeft = 2640, UndoTop = 8040, UndoWidth = 1215, UndoHeight = 495;
// Room kept between "&Undo" and the window's lower edge, and between the
// board's rings and the controls over the board.
constexpr double EdgeRoom = 90, RingRoom = 45;
// The panel's previous-scores grid and the controls below it, as designed.
constexpr double OldScoresTop = 4560, OldScoresHeight = 1965;
constexpr double PanelContentBottom = 7440 + 375;
// The grid gives up rows, down to two, before the Darts and Avg fields would
// leave a short panel.
constexpr double OldScoresLeast = 2 * 240 + 30;

double DistanceToRect(double x, double y, double left, double top, double width, double height)
{
    const double dx = std::max({left - x, 0.0, x - (left + width)});
    const double dy = std::max({top - y, 0.0, y - (top + height)});
    return std::hypot(dx, dy);
}

bool SameRect(const BoardRect& a, const BoardRect& b)
{
    return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height;
}

} // namespace

// --- BoardWidget ------------------------------------------------------------

BoardWidget::BoardWidget(QWidget* parent, Commands& commands)
    : QWidget(parent), commands_(commands)
{
    setObjectName(QStringLiteral("Image1"));
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoMousePropagation);
    redraw_.setSingleShot(true);
    redraw_.setInterval(150);
    connect(&redraw_, &QTimer::timeout, this, [this] {
        picture();
        update();
    });
}

void BoardWidget::place(const BoardRect& rect)
{
    rect_ = rect;
    setGeometry(twips::rect(rect.Left, rect.Top, rect.Width, rect.Height));
    update();
}

bool BoardWidget::pictureCurrent() const
{
    return std::max(1, std::min(width(), height())) == pictureSize_
        && SameRect(rect_, pictureRect_);
}

const QImage& BoardWidget::picture()
{
    if (!pictureCurrent()) {
        const int size = std::max(1, std::min(width(), height()));
        picture_ = boardpicture::Render(rect_, size);
        pictureSize_ = size;
        pictureRect_ = rect_;
    }
    return picture_;
}

void BoardWidget::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    if (pictureCurrent() || picture_.isNull()) {
        // Piece by piece, only what is asked for: a move of the aim box asks
        // for two small pieces, and a fill or picture the board's height
        // under a clip of pieces is spread by Qt over its thread pool, which
        // costs more in waking threads than the pixels do.
        const QImage& board = picture();
        for (const QRect& piece : e->region()) {
            p.fillRect(piece, Qt::black);
            p.drawImage(piece.topLeft(), board, piece);
        }
        return;
    }
    p.fillRect(rect(), Qt::black);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const int size = std::min(width(), height());
    p.drawImage(QRect(0, 0, size, size), picture_);
    redraw_.start(); // again after every step of a resize
}

void BoardWidget::mousePressEvent(QMouseEvent* e)
{
    const QPointF at = e->position();
    commands_.boardPressed(twips::fromPx(at.x()), twips::fromPx(at.y()));
}

void BoardWidget::mouseMoveEvent(QMouseEvent* e)
{
    const QPointF at = e->position();
    commands_.boardMoved(twips::fromPx(at.x()), twips::fromPx(at.y()));
}

void BoardWidget::leaveEvent(QEvent* e)
{
    QWidget::leaveEvent(e);
    commands_.pointerOffBoard();
}

// --- ScoresArea -------------------------------------------------------------

ScoresArea::ScoresArea(QWidget* parent, Commands& commands)
    : QWidget(parent), commands_(commands)
{
    setObjectName(QStringLiteral("ScoresArea"));
    setMouseTracking(true);
    paintWidget(this, palette::Black, palette::White);
}

void ScoresArea::mouseMoveEvent(QMouseEvent*)
{
    commands_.pointerOffBoard();
}

void ScoresArea::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    emit resized();
}

// --- frmScores --------------------------------------------------------------

frmScores::frmScores(VantrellApp& app)
    : app_(app), model_(app.model()), commands_(app.commands())
{
    setObjectName(QStringLiteral("frmScores"));
    setWindowTitle(apptext::Title);
    setWindowIcon(QIcon(QPixmap::fromImage(boardpicture::DesignPicture())));
    // Below this the panels would run into the board.
    setMinimumSize(640, 480);

    area_ = new ScoresArea(this, commands_);
    setCentralWidget(area_);

    board_ = new BoardWidget(area_, commands_);
    board_->place(model_.board.Image1);

    buildPanel(0);
    buildPanel(1);

    panel_[0].imgarrow = new ArrowWidget(area_, QStringLiteral("imgarrow_0"), true);
    panel_[1].imgarrow = new ArrowWidget(area_, QStringLiteral("imgarrow_1"), false);
    twips::place(panel_[0].imgarrow, 2400, ArrowTop, ArrowWidth, ArrowHeight);
    twips::place(panel_[1].imgarrow, 15360 - PanelWidth - ArrowWidth, ArrowTop, ArrowWidth,
                 ArrowHeight);

    cmdUndo_ = new QPushButton(QStringLiteral("&Undo"), area_);
    cmdUndo_->setObjectName(QStringLiteral("cmdUndo"));
    cmdUndo_->setFocusPolicy(Qt::TabFocus);
    cmdUndo_->setAttribute(Qt::WA_NoMousePropagation);
    twips::place(cmdUndo_, UndoLeft, UndoTop, UndoWidth, UndoHeight);
    connect(cmdUndo_, &QPushButton::clicked, this, [this] { commands_.undo(); });
    // Ctrl+Z and Ctrl+N wherever the scoreboard has the keyboard. They are
    // the window's, not the menu's: the menu entries keep no shortcut key.
    auto windowKey = [this](const QString& name, const QKeySequence& keys, auto handler) {
        auto* action = new QAction(this);
        action->setObjectName(name);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    windowKey(QStringLiteral("actUndoKey"), QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { commands_.undo(); });
    windowKey(QStringLiteral("actNewGameKey"), QKeySequence(Qt::CTRL | Qt::Key_N),
              [this] { commands_.newGame(); });

    // The keys go to the client area, so the scoreboard hears them
    // whatever was clicked last.
    area_->setFocusPolicy(Qt::StrongFocus);
    entryLine_ = new EntryLine(area_);

    frame3_ = new QFrame(area_);
    frame3_->setObjectName(QStringLiteral("Frame3"));
    frame3_->setFrameStyle(QFrame::Box | QFrame::Plain);
    paintWidget(frame3_, palette::White, palette::Black);
    // The box never takes the pointer from the board under it.
    frame3_->setAttribute(Qt::WA_TransparentForMouseEvents);
    twips::place(frame3_, 0, 0, AimWidth, AimHeight);
    lblDartToHit_ = new FieldLabel(frame3_, QStringLiteral("lblDartToHit"));
    lblDartToHit_->setFont(designFont(Face::ArialBlack, 18, true));
    lblDartToHit_->setCaption(QStringLiteral("0"));
    paintWidget(lblDartToHit_, palette::White, palette::Black);
    twips::place(lblDartToHit_, 0, 0, AimWidth, AimHeight);
    frame3_->hide();

    buildMenus();

    connect(area_, &ScoresArea::resized, this, [this] { fitToClientArea(); });
    connect(&commands_, &Commands::changed, this, &frmScores::refresh);

    paintLater_.setSingleShot(true);
    connect(&paintLater_, &QTimer::timeout, this, [this] {
        QEvent paint(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(this, &paint);
    });
}

frmScores::~frmScores() = default;

void frmScores::buildPanel(int p)
{
    Panel& pn = panel_[p];
    const QString ix = QStringLiteral("_%1").arg(p);
    pn.frame = new QFrame(area_);
    pn.frame->setObjectName(QStringLiteral("Frame1") + ix);
    pn.frame->setAttribute(Qt::WA_NoMousePropagation);
    paintWidget(pn.frame, palette::PanelBlue, palette::White);
    twips::place(pn.frame, p == 0 ? 0 : 15360 - PanelWidth, 0, PanelWidth, 10945);
    QWidget* f = pn.frame;

    const QFont small = designFont(Face::SansSerif, 8.25);
    const QFont caption = designFont(Face::SansSerif, 12, true);
    auto bar = [&](const QString& name, const QString& text, double top) {
        QLabel* label = makeLabel(f, name + ix, text, 0, top, PanelWidth, 255, small,
                                  palette::DarkRed, palette::White, Qt::AlignHCenter | Qt::AlignTop);
        if (top > OldScoresTop)
            pn.below.append({label, top});
    };
    auto captionLabel = [&](const QString& name, const QString& text, double left, double top,
                            double width, double height) {
        QLabel* label = makeLabel(f, name + ix, text, left, top, width, height, caption,
                                  palette::PanelBlue, palette::White, Qt::AlignLeft | Qt::AlignTop);
        if (top > OldScoresTop)
            pn.below.append({label, top});
    };
    auto value = [&](const QString& name, double left, double top, double width, double height,
                     const QFont& font, bool bordered) {
        auto* label = new FieldLabel(f, name + ix);
        label->setFont(font);
        if (bordered) {
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
            label->setLineWidth(1);
        }
        twips::place(label, left, top, width, height);
        if (top > OldScoresTop)
            pn.below.append({label, top});
        return label;
    };
    auto rule = [&](double top) {
        auto* line = new RuleWidget(f, palette::White);
        line->setGeometry(0, twips::px(top), twips::px(PanelWidth), 3);
        if (top > OldScoresTop)
            pn.below.append({line, top});
    };

    bar(QStringLiteral("Label3"), QStringLiteral("Player Scores"), 0);
    const QFont narrow = designFont(Face::ArialNarrow, 15.75, true);
    pn.lblNames = value(QStringLiteral("lblNames"), 0, 285, PanelWidth, 300,
                        designFont(Face::SansSerif, 9.75, true), false);
    // A name too long for the panel ends in an ellipsis and shows whole in
    // its tooltip.
    pn.lblNames->setFit(FitLabel::Fit::Elide);
    // Kept clear of the highlight outline drawn over the panel's edges.
    pn.lblNames->setContentsMargins(6, 0, 6, 0);
    captionLabel(QStringLiteral("lblSets"), QStringLiteral("Sets"), 360, 720, 615, 375);
    pn.lblSet = value(QStringLiteral("lblSet"), 1080, 720, 735, 375, narrow, false);
    captionLabel(QStringLiteral("lblLegs"), QStringLiteral("Legs"), 360, 1200, 615, 375);
    pn.lblLeg = value(QStringLiteral("lblLeg"), 1080, 1200, 735, 375, narrow, false);
    pn.lblScoreLeft = value(QStringLiteral("lblScoreLeft"), 480, 1680, 1500, 885,
                            designFont(Face::ArialNarrow, 36, true), true);
    pn.lblFinishAdj = value(QStringLiteral("lblFinishAdj"), 360, 2640, 1755, 300,
                            designFont(Face::SansSerif, 9.75, true), true);
    pn.lblFirstDart = value(QStringLiteral("lblFirstDart"), 45, 3000, 750, 450, narrow, true);
    pn.lblSecondDart = value(QStringLiteral("lblSecondDart"), 840, 3000, 750, 450, narrow, true);
    pn.lblThirdDart = value(QStringLiteral("lblThirdDart"), 1635, 3000, 750, 450, narrow, true);
    pn.lblThreeDartScore = value(QStringLiteral("lblThreeDartScore"), 720, 3480, 1005, 600,
                                 designFont(Face::ArialNarrow, 24, true), true);
    bar(QStringLiteral("Label2"), QStringLiteral("Previous Scores"), 4210);
    pn.grdOldScores = new GridView(f, QStringLiteral("grdOldScores") + ix,
                                   model_.stats.grdOldScores[p]);
    twips::place(pn.grdOldScores, 120, OldScoresTop, 2235, OldScoresHeight);
    // In a short panel the list scrolls; its two columns stay on view
    // beside the scroll bar without a second bar below them.
    pn.grdOldScores->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    bar(QStringLiteral("Label4"), QStringLiteral("Statistics"), 6610);
    captionLabel(QStringLiteral("lblDarts"), QStringLiteral("Darts"), 500, 6960, 735, 375);
    pn.lblDartsThrown = value(QStringLiteral("lblDartsThrown"), 1320, 6960, 820, 375, narrow,
                              false);
    captionLabel(QStringLiteral("lblAvg"), QStringLiteral("Avg"), 500, 7440, 735, 375);
    pn.lblAverage = value(QStringLiteral("lblAverage"), 1320, 7440, 820, 375, narrow, false);

    for (double top : {240.0, 600.0, 4200.0, 4450.0, 6600.0, 6850.0})
        rule(top);

    pn.Shape1 = new OutlineWidget(f, QStringLiteral("Shape1") + ix, palette::Yellow, 4);
    twips::place(pn.Shape1, 30, 240, 2385, 10945 - 220);
    pn.Shape1->raise();

    syncPanel(p);
}

void frmScores::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    auto menu = [&](const QString& name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    auto entry = [&](QMenu* m, const QString& name, const QString& caption, auto handler) {
        QAction* a = m->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto separator = [&](QMenu* m, const QString& name) {
        m->addSeparator()->setObjectName(name);
    };

    QMenu* file = menu(QStringLiteral("nmuFile"), QStringLiteral("&File"));
    entry(file, QStringLiteral("mnuFilNew"), QStringLiteral("&New Game"), [this] { commands_.newGame(); });
    separator(file, QStringLiteral("mnuSep"));
    entry(file, QStringLiteral("mnuFilUpdates"), QStringLiteral("&Download Updates"),
          [this] { app_.openUpdates(); });
    separator(file, QStringLiteral("mnufilline1"));
    entry(file, QStringLiteral("mnuFilExit"), QStringLiteral("&Exit"), [this] { close(); });

    const NameMenus& names = model_.board.menus;
    QMenu* options = menu(QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    options->setToolTipsVisible(true);
    mnuOptPlayer1_ = entry(options, QStringLiteral("mnuOptPlayer1"), QString(),
                           [this] { app_.showOptions(1); });
    mnuOptPlayer2_ = entry(options, QStringLiteral("mnuOptPlayer2"), QString(),
                           [this] { app_.showOptions(2); });
    setMenuCaption(mnuOptPlayer1_, names.mnuOptPlayer1);
    setMenuCaption(mnuOptPlayer2_, names.mnuOptPlayer2);
    separator(options, QStringLiteral("mnuOptLine1"));
    entry(options, QStringLiteral("mnuoptOptions"), QStringLiteral("&Game"),
          [this] { app_.showOptions(3); });

    QMenu* stats = menu(QStringLiteral("mnuStats"), QStringLiteral("&Statistics"));
    entry(stats, QStringLiteral("mnuStaGame"), QStringLiteral("Game"), [this] { app_.showStats(3); });
    separator(stats, QStringLiteral("mnuStaLine1"));
    stats->setToolTipsVisible(true);
    mnustaPlayer1_ = entry(stats, QStringLiteral("mnustaPlayer1"), QString(),
                           [this] { app_.showStats(1); });
    mnustaPlayer2_ = entry(stats, QStringLiteral("mnustaPlayer2"), QString(),
                           [this] { app_.showStats(2); });
    setMenuCaption(mnustaPlayer1_, names.mnustaPlayer1);
    setMenuCaption(mnustaPlayer2_, names.mnustaPlayer2);
    separator(stats, QStringLiteral("mnuStatline2"));
    entry(stats, QStringLiteral("mnuStaHistory"), QStringLiteral("Hi Scores"),
          [this] { app_.showHiScores(); });
    entry(stats, QStringLiteral("mnuStaMatchHistory"), QStringLiteral("Match &History..."),
          [this] { app_.showHistory(); });

    // The big screen for the room: a window of its own that follows the
    // match; F11 works from the scoreboard, which keeps the keyboard.
    QMenu* view = menu(QStringLiteral("mnuView"), QStringLiteral("&View"));
    mnuViewBigScreen_ = entry(view, QStringLiteral("mnuViewBigScreen"), QStringLiteral("&Big Screen"),
                              [this] { app_.chooseBigScreen(); });
    mnuViewBigScreen_->setCheckable(true);
    // The entry names its key; the key itself is the window's, so F11 works
    // wherever the scoreboard has the keyboard.
    entry(view, QStringLiteral("mnuViewFullScreen"), QStringLiteral("&Full Screen\tF11"),
          [this] { app_.toggleBigScreenFullScreen(); });
    auto* fullScreenKey = new QAction(this);
    fullScreenKey->setObjectName(QStringLiteral("actFullScreenKey"));
    fullScreenKey->setShortcut(QKeySequence(Qt::Key_F11));
    fullScreenKey->setShortcutContext(Qt::WindowShortcut);
    connect(fullScreenKey, &QAction::triggered, this, [this] { app_.toggleBigScreenFullScreen(); });
    addAction(fullScreenKey);

    QMenu* help = menu(QStringLiteral("mnuhelp"), QStringLiteral("&Help"));
    entry(help, QStringLiteral("mnuHelHowToUse"), QStringLiteral("&How To Use"),
          [this] { app_.openHelp(); });
    separator(help, QStringLiteral("mnuhelpline1"));
    entry(help, QStringLiteral("mnuHelAbout"), QStringLiteral("About"), [this] { app_.showAbout(); });
}

void frmScores::showOnScreen()
{
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(screen->availableGeometry());
    showMaximized();
    fitToClientArea();
    // The scoreboard takes the keyboard as it appears. A desktop's window
    // manager would make it the active window anyway; without one (a
    // television beside the board, run with no desktop) the shortcuts and
    // access keys would otherwise never fire, though typed darts arrive.
    activateWindow();
    area_->setFocus();
}

void frmScores::fitToClientArea()
{
    const double W = twips::fromPx(area_->width());
    const double H = twips::fromPx(area_->height());

    // The board is as large as the window allows with the whole of it on
    // view: the ring that carries the numbers, 0.4714 of the side from the
    // bull, stays clear of both panels and above the client area's lower
    // edge, a little room kept to both. The bull lies side/2 - 120 below the
    // top, so the ring fits while side <= (H + 120 - room) / 0.9714; the
    // corners of the picture outside the ring may lie under the panels or
    // below the window.
    const double byWidth = (W - 2 * PanelWidth - 2 * RingRoom) / (2 * NumbersShare);
    const double byHeight = (H - BoardTop - RingRoom) / (0.5 + NumbersShare);
    const double side = placeUndoAndBoard(W, H, std::max(15.0, std::round(std::min(byWidth, byHeight))));

    // The panels reach down to the window's lower edge (less the room the
    // design leaves on a full screen), never past it.
    QScreen* screen = this->screen();
    const double screenHeight = screen ? twips::fromPx(screen->geometry().height()) : H + 575;
    const double panelHeight = std::max(15.0, std::min(screenHeight - 575, H));
    twips::place(panel_[0].frame, 0, 0, PanelWidth, panelHeight);
    twips::place(panel_[1].frame, W - PanelWidth, 0, PanelWidth, panelHeight);
    for (int p = 0; p < 2; ++p)
        fitPanel(p, panelHeight);
    twips::place(panel_[1].imgarrow, W - PanelWidth - ArrowWidth, ArrowTop, ArrowWidth,
                 ArrowHeight);

    BoardRect rect;
    rect.Width = side;
    rect.Height = side;
    rect.Left = std::round(W / 2 - side / 2);
    rect.Top = BoardTop;
    // Last: the board's new place reaches the windows that keep clear of it
    // once the panels stand where they now go.
    commands_.placeBoard(rect);
}

// In a panel too short for its design, the previous scores give up rows and
// the Darts and Avg fields move up with the bar above them, so they stay on
// view down to the window's smallest height.
void frmScores::fitPanel(int p, double panelHeight)
{
    Panel& pn = panel_[p];
    const double wanted = PanelContentBottom + EdgeRoom - panelHeight;
    const double lift = std::clamp(wanted, 0.0, OldScoresHeight - OldScoresLeast);
    twips::place(pn.grdOldScores, 120, OldScoresTop, 2235, OldScoresHeight - lift);
    for (const auto& [widget, top] : pn.below) {
        const QRect g = widget->geometry();
        const int y = twips::px(top - lift);
        if (g.y() != y)
            widget->move(g.x(), y);
    }
    twips::place(pn.Shape1, 30, 240, 2385, panelHeight - 220);
}

// "&Undo" keeps its design place where that is inside the window and clear
// of the board's numbers; otherwise it goes to the lower left corner beside
// panel 0. Where the board would still reach it there, or where a turn
// arrow would lie on the double ring, the board is made smaller until both
// are clear. Returns the board's side.
double frmScores::placeUndoAndBoard(double W, double H, double side)
{
    auto clear = [&](double s, double left, double top) {
        const double cx = W / 2, cy = s / 2 + BoardTop;
        const double rings = RadiusShare * s + RingRoom;
        if (DistanceToRect(cx, cy, left, top, UndoWidth, UndoHeight) < NumbersShare * s + RingRoom)
            return false;
        return DistanceToRect(cx, cy, 2400, ArrowTop, ArrowWidth, ArrowHeight) >= rings
            && DistanceToRect(cx, cy, W - PanelWidth - ArrowWidth, ArrowTop, ArrowWidth,
                              ArrowHeight) >= rings;
    };
    double left = UndoLeft, top = UndoTop;
    if (top + UndoHeight + EdgeRoom > H || !clear(side, left, top))
        top = std::max(0.0, H - UndoHeight - EdgeRoom);
    if (!clear(side, left, top)) {
        // The largest side that leaves both clear, by halving the interval.
        double fits = 15, fails = side;
        for (int i = 0; i < 40 && fails - fits > 1; ++i) {
            const double mid = (fits + fails) / 2;
            (clear(mid, left, top) ? fits : fails) = mid;
        }
        side = std::floor(fits);
    }
    const QRect wanted = twips::rect(left, top, UndoWidth, UndoHeight);
    if (cmdUndo_->geometry() != wanted)
        cmdUndo_->setGeometry(wanted);
    // The entry line mirrors "&Undo" across the board's centre line, so it
    // keeps the same distance from the rings and numbers.
    const QRect mirrored = twips::rect(W - left - UndoWidth, top, UndoWidth, UndoHeight);
    if (entryLine_->geometry() != mirrored)
        entryLine_->setGeometry(mirrored);
    entryLine_->raise();
    return side;
}

// A name in a menu shows as written ("&" is no access key) and, when it is
// very long, cut short with an ellipsis and whole in the entry's tooltip.
void frmScores::setMenuCaption(QAction* action, const QString& caption)
{
    constexpr int WidestEntry = 360; // pixels
    const QFontMetrics metrics(menuBar()->font());
    const QString shown = metrics.elidedText(caption, Qt::ElideRight, WidestEntry);
    const QString text = LiteralCaption(shown);
    if (action->text() != text) {
        action->setText(text);
        action->setToolTip(shown == caption ? QString() : caption);
    }
}

void frmScores::syncPanel(int p)
{
    const PlayerPanel& m = model_.board.panel[p];
    Panel& pn = panel_[p];
    pn.lblNames->apply(m.lblNames);
    pn.lblSet->apply(m.lblSet);
    pn.lblLeg->apply(m.lblLeg);
    pn.lblScoreLeft->apply(m.lblScoreLeft);
    pn.lblFinishAdj->apply(m.lblFinishAdj);
    pn.lblFirstDart->apply(m.lblFirstDart);
    pn.lblSecondDart->apply(m.lblSecondDart);
    pn.lblThirdDart->apply(m.lblThirdDart);
    pn.lblThreeDartScore->apply(m.lblThreeDartScore);
    pn.lblDartsThrown->apply(m.lblDartsThrown);
    pn.lblAverage->apply(m.lblAverage);
    pn.grdOldScores->sync();
    pn.Shape1->setLit(m.Shape1.visible());
    if (pn.imgarrow)
        pn.imgarrow->setLit(m.imgarrow.visible());
}

void frmScores::refresh(Commands::Parts parts)
{
    using Part = Commands::Part;
    if (parts & Part::Scoreboard) {
        syncPanel(0);
        syncPanel(1);
    }
    if (parts & Part::Captions)
        syncMenus();
    if (parts & Part::Entry)
        entryLine_->show(model_.keyboard);
    if (parts & Part::BigScreen)
        mnuViewBigScreen_->setChecked(model_.bigScreenWindow.open);
    if (parts & Part::BoardPlace) {
        const BoardRect& rect = model_.board.Image1;
        if (!SameRect(rect, board_->placed()))
            board_->place(rect);
    }
    // The aim box stands relative to the board. A new place of the board
    // moves it at once; the pointer's moves move it once a frame.
    if (parts & Part::BoardPlace)
        syncAim();
    else if (parts & Part::AimBox)
        followPointer();
}

// The pointer sends a move every few milliseconds; moving the box and
// writing its caption for each one costs the window a move, a copy of the
// box's pixels and a new dirty region each time, for places no screen ever
// shows. So the box follows at once when the window's last paint is a frame
// old, and otherwise once at the end of that frame, to where the pointer
// then is.
void frmScores::followPointer()
{
    if (frameOver()) {
        aimBehind_ = false;
        syncAim();
        return;
    }
    aimBehind_ = true;
    if (!paintLater_.isActive())
        paintLater_.start(int(FrameMs - lastPaint_.elapsed()));
}

void frmScores::syncMenus()
{
    const NameMenus& names = model_.board.menus;
    setMenuCaption(mnuOptPlayer1_, names.mnuOptPlayer1);
    setMenuCaption(mnuOptPlayer2_, names.mnuOptPlayer2);
    setMenuCaption(mnustaPlayer1_, names.mnustaPlayer1);
    setMenuCaption(mnustaPlayer2_, names.mnustaPlayer2);
}

void frmScores::syncAim(bool paintNow)
{
    const ModDarts& m = model_;
    const AimBox& box = m.board.Frame3;
    const quint64 before = lblDartToHit_->captionWrites();
    lblDartToHit_->setCaption(box.caption);
    const QPoint at(twips::px(box.left + m.board.Image1.Left - AimOrigin), twips::px(box.top));
    if (frame3_->pos() != at)
        frame3_->move(at);
    if (frame3_->isHidden() == box.visible) {
        frame3_->setVisible(box.visible);
        if (box.visible)
            frame3_->raise();
    }
    // A new segment is on view at once, not at the next paint: the window's
    // pending update (the caption, and the board where the box stood) is
    // painted and flushed now, once, unless the window painted within this
    // frame (then at its end). A repaint of the caption alone would paint it
    // twice and flush twice, the queued update coming after it.
    if (paintNow && lblDartToHit_->captionWrites() != before && box.visible)
        QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
}

bool frmScores::frameOver() const
{
    return !lastPaint_.isValid() || lastPaint_.elapsed() >= FrameMs;
}

// A hand moving over the board sends a pointer move every few milliseconds,
// and each one changes the window (the aim box, the board where it stood).
// Painting and flushing each change costs the program and the X server far
// more than the change itself, and no screen shows more than one frame in
// its refresh time anyway. So the window paints at once when its last paint
// is a frame old, and otherwise once at the end of that frame, with every
// change made meanwhile. A lone change is still on view at once.
bool frmScores::paintNowOrLater()
{
    if (frameOver()) {
        paintLater_.stop();
        lastPaint_.start();
        // Whatever paints the window next, the box is where the pointer is.
        if (aimBehind_) {
            aimBehind_ = false;
            syncAim(false);
        }
        return true;
    }
    if (!paintLater_.isActive())
        paintLater_.start(int(FrameMs - lastPaint_.elapsed()));
    return false;
}

bool frmScores::event(QEvent* e)
{
    // The request is taken in hand only when it is put off: the timer sends
    // a new one, which paints everything changed until then.
    if (e->type() == QEvent::UpdateRequest && !paintNowOrLater())
        return true;
    return QMainWindow::event(e);
}

void frmScores::closeEvent(QCloseEvent* e)
{
    // Closing the scoreboard ends the program at once; every other window
    // goes with it and nothing needs saving.
    e->accept();
    app_.exitProgram();
}

void frmScores::keyPressEvent(QKeyEvent* e)
{
    const EntryKey key = EntryKeyOf(*e);
    if (key == EntryKey::None)
        QMainWindow::keyPressEvent(e);
    else
        SendEntryKey(key, *e, commands_);
}
