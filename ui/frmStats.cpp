#include "ui/frmStats.h"

#include "engine/ModDarts.h"
#include "ui/GridView.h"
#include "ui/Twips.h"
#include "ui/VantrellApp.h"
#include "ui/Widgets.h"

#include <QCloseEvent>
#include <QFrame>
#include <QPushButton>
#include <QTabBar>

namespace {

struct ScaleZone {
    const char* text;
    double left, top, width;
    double tick; // left of the tick at the zone's right end; 0 for none
};
constexpr ScaleZone Zones[] = {
    {"Rubbish", 120, 4560, 615, 720},       {"Below Average", 765, 4440, 615, 1440},
    {"Average", 1485, 4560, 615, 2160},     {"Good", 2205, 4560, 615, 2640},
    {"Very good", 2760, 4470, 615, 3240},   {"Excellent", 3300, 4560, 855, 3960},
    {"World Class", 4000, 4440, 495, 0},
};
constexpr double ScaleTop = 4440, FirstBarTop = 4920;
// A page's width, and the least room between two tables side by side.
constexpr double PageWidth = 6735, TableGap = 60;
// The window with "&Print" and "&Exit" under the tab strip's body, and with
// them beside it, to its right, where the screen is too low for that.
constexpr double Width = 7185, Height = 7560, ButtonsTop = 6840;
constexpr double BodyRight = 120 + 6975, BodyBottom = 6615;
constexpr double ButtonWidth = 1335, ButtonHeight = 615;
constexpr double BesideLeft = BodyRight + 120, BesideWidth = BesideLeft + ButtonWidth + 120,
                 BesideHeight = BodyBottom + 120;

struct BarRow {
    const char* name;
    double top;
    const char* caption;
};
constexpr BarRow Bars[] = {
    {"ProScoring", 4920, "Performance - scoring darts"},
    {"ProOverall3Dart", 5280, "Performance - 3 dart average"},
    {"ProFirst9", 5640, "Performance - First 9 Darts"},
};

} // namespace

namespace {

frmStats::Source RunningMatch(VantrellApp& app)
{
    frmStats::Source s;
    s.tables = &app.model().stats;
    s.window = &app.model().statsWindow;
    s.captionParts = Commands::Part::Captions;
    s.tableParts = Commands::Part::Statistics;
    Commands& c = app.commands();
    s.tabClicked = [&c](int tab) { c.statsTabClicked(tab); };
    s.activated = [&c] { c.statsActivated(); };
    s.print = [&app] { app.statsPrint(); };
    s.exit = [&c] { c.statsExit(); };
    return s;
}

} // namespace

frmStats::frmStats(QWidget* parent, VantrellApp& app) : frmStats(parent, app, RunningMatch(app)) {}

frmStats::frmStats(QWidget* parent, VantrellApp& app, Source source)
    : QWidget(parent, Qt::Window), source_(std::move(source)), commands_(app.commands())
{
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(QStringLiteral("Statistics"));
    paintWidget(this, palette::ButtonFace, palette::Black);
    setFont(designFont(Face::SansSerif, 8.25));

    // The tab strip: its tabs along the top, its body a raised panel.
    auto* body = new QFrame(this);
    body->setFrameStyle(QFrame::Panel | QFrame::Raised);
    twips::place(body, 120, 120 + 300, 6975, 6615 - 300);
    TabStats_ = new QTabBar(this);
    TabStats_->setObjectName(QStringLiteral("TabStats"));
    TabStats_->setExpanding(false);
    TabStats_->setElideMode(Qt::ElideRight);
    TabStats_->setUsesScrollButtons(false);
    TabStats_->setDrawBase(false);
    TabStats_->setFocusPolicy(Qt::TabFocus);
    const StatsWindow& sw = *source_.window;
    for (const QString& caption : sw.tabCaption)
        TabStats_->addTab(caption);
    TabStats_->setGeometry(twips::px(120), twips::px(120), twips::px(6975), twips::px(330));
    connect(TabStats_, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            source_.tabClicked(index + 1);
    });

    buildPlayerPage(0);
    buildPlayerPage(1);
    buildGamePage();

    cmdPrint_ = new QPushButton(QStringLiteral("&Print"), this);
    cmdPrint_->setObjectName(QStringLiteral("cmdPrint"));
    connect(cmdPrint_, &QPushButton::clicked, this, [this] { source_.print(); });
    cmdExit_ = new QPushButton(QStringLiteral("&Exit"), this);
    cmdExit_->setObjectName(QStringLiteral("cmdExit"));
    connect(cmdExit_, &QPushButton::clicked, this, [this] { source_.exit(); });
    fitToScreen();

    refresh(Commands::Part::All);
    connect(&commands_, &Commands::changed, this, &frmStats::refresh);
}

void frmStats::buildPlayerPage(int p)
{
    const StatsTables& t = *source_.tables;
    auto* page = new QFrame(this);
    page->setObjectName(p == 0 ? QStringLiteral("FraStats1") : QStringLiteral("FraStats2"));
    twips::place(page, 240, 480, 6735, 6135);
    pages_[p] = page;
    const QString ix = QStringLiteral("_%1").arg(p);

    // A table whose texts outgrow its columns widens, but only up to the
    // next table to its right (or the page's edge), so the layout stays.
    auto grid = [&](const QString& name, const Grid& g, double left, double top, double height,
                    double rightLimit) {
        auto* view = new GridView(page, name + ix, g);
        twips::place(view, left, top, g.width(), height);
        view->setWidestWidth(twips::px(rightLimit - left));
        grids_.append(view);
    };
    grid(QStringLiteral("grdLastScores"), t.grdLastScores[p], 120, 170, t.grdLastScores[p].height(),
         2520 - TableGap);
    grid(QStringLiteral("grdStats"), t.grdStats[p], 2520, 170, t.grdStats[p].height(),
         4560 - TableGap);
    grid(QStringLiteral("grdStats2"), t.grdStats2[p], 4560, 170, t.grdStats2[p].height(),
         PageWidth - TableGap);
    // The segment table fills the room between the tables and the scale.
    grid(QStringLiteral("grdDarts"), t.grdDarts[p], 120, 3480, 990, PageWidth - 120);
    grid(QStringLiteral("grdDarts2"), t.grdDarts2[p], 5760, 4500, t.grdDarts2[p].height(),
         PageWidth - TableGap);

    const QFont font = designFont(Face::SansSerif, 8.25);
    int zone = 0;
    for (const ScaleZone& z : Zones) {
        makeLabel(page, QStringLiteral("lblRating_%1").arg(zone++), QString::fromLatin1(z.text),
                  z.left, z.top, z.width, FirstBarTop - z.top, font, palette::ButtonFace,
                  palette::Black, Qt::AlignLeft | Qt::AlignTop);
        if (z.tick > 0) {
            auto* tick = new RuleWidget(page, palette::Black);
            tick->setGeometry(twips::px(z.tick), twips::px(ScaleTop), 1,
                              twips::px(FirstBarTop - ScaleTop));
        }
    }
    for (int b = 0; b < 3; ++b) {
        auto* bar = new RatingBar(page, QString::fromLatin1(Bars[b].name) + ix);
        twips::place(bar, 120, Bars[b].top, 4215, 375);
        bars_[b][p] = bar;
        makeLabel(page, QStringLiteral("lblStats"), QString::fromLatin1(Bars[b].caption), 4440,
                  Bars[b].top + 120, 2175, 255, font, palette::ButtonFace, palette::Black);
    }
}

void frmStats::buildGamePage()
{
    auto* page = new QFrame(this);
    page->setObjectName(QStringLiteral("fraGameStats"));
    twips::place(page, 240, 480, 6735, 6135);
    pages_[2] = page;
    const Grid& g = source_.tables->grdGameStats;
    auto* view = new GridView(page, QStringLiteral("grdGameStats"), g);
    twips::place(view, 120, 360, 4035, 4995);
    view->setWidestWidth(twips::px(PageWidth - 240));
    grids_.append(view);
}

void frmStats::refresh(Commands::Parts parts)
{
    if (parts & source_.captionParts)
        syncCaptions();
    if (parts & source_.tableParts)
        syncTables();
}

void frmStats::syncCaptions()
{
    const StatsWindow& sw = *source_.window;
    // A player's tab shows the name as written, "&" included, cut short when
    // it is too long for the strip; the whole name is its tooltip.
    for (int i = 0; i < 3; ++i) {
        const QString caption = LiteralCaption(sw.tabCaption[i]);
        if (TabStats_->tabText(i) != caption) {
            TabStats_->setTabText(i, caption);
            TabStats_->setTabToolTip(i, sw.tabCaption[i]);
        }
    }
}

void frmStats::syncTables()
{
    const StatsTables& t = *source_.tables;
    const StatsWindow& sw = *source_.window;
    const int tab = (sw.tab == 1 || sw.tab == 2) ? sw.tab : 3;
    if (TabStats_->currentIndex() != tab - 1) {
        const QSignalBlocker block(TabStats_);
        TabStats_->setCurrentIndex(tab - 1);
    }
    for (int i = 0; i < 3; ++i)
        if (pages_[i]->isHidden() == (i == tab - 1))
            pages_[i]->setVisible(i == tab - 1);

    // The window stays hidden through most of a match: re-measuring every
    // column of its eleven tables after each dart would cost more than the
    // scoreboard's whole repaint, so a hidden window catches up when shown.
    gridsStale_ = true;
    if (!isHidden() || sw.visible)
        syncGrids();
    for (int p = 0; p < 2; ++p) {
        bars_[0][p]->setValue(t.ProScoring[p].value());
        bars_[1][p]->setValue(t.ProOverall3Dart[p].value());
        bars_[2][p]->setValue(t.ProFirst9[p].value());
    }

    if (sw.visible && isHidden()) {
        show();
        raise();
        activateWindow();
    } else if (!sw.visible && !isHidden()) {
        hide();
    }
}

void frmStats::syncGrids()
{
    if (!gridsStale_)
        return;
    gridsStale_ = false;
    for (GridView* view : grids_)
        view->sync();
}

void frmStats::fitToScreen()
{
    const QRect room = ScreenRoom(this);
    const int frame = frameGeometry().height() - height();
    const bool beside = !room.isEmpty() && twips::px(Height) + frame > room.height();
    if (beside) {
        setFixedSize(twips::px(BesideWidth), twips::px(BesideHeight));
        twips::place(cmdPrint_, BesideLeft, 480, ButtonWidth, ButtonHeight);
        twips::place(cmdExit_, BesideLeft, BodyBottom - ButtonHeight, ButtonWidth, ButtonHeight);
    } else {
        setFixedSize(twips::px(Width), twips::px(Height));
        twips::place(cmdPrint_, 120, ButtonsTop, ButtonWidth, ButtonHeight);
        twips::place(cmdExit_, BodyRight - ButtonWidth, ButtonsTop, ButtonWidth, ButtonHeight);
    }
    KeepOnScreen(this);
}

void frmStats::showEvent(QShowEvent* e)
{
    fitToScreen();
    syncGrids();
    QWidget::showEvent(e);
}

void frmStats::closeEvent(QCloseEvent* e)
{
    // Closing only hides the window: its tables stay with the match.
    e->ignore();
    source_.exit();
}

void frmStats::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        source_.activated();
}
