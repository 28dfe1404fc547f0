#include "ui/frmOptions.h"

#include "engine/ModDarts.h"
#include "ui/Twips.h"
#include "ui/VantrellApp.h"
#include "ui/Widgets.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include <algorithm>

frmOptions::frmOptions(QWidget* parent, VantrellApp& app)
    : QWidget(parent, Qt::Window), model_(app.model()), commands_(app.commands())
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(twips::px(4680), twips::px(3675));
    paintWidget(this, palette::ButtonFace, palette::Black);
    setFont(designFont(Face::SansSerif, 8.25));

    auto* body = new QFrame(this);
    body->setFrameStyle(QFrame::Panel | QFrame::Raised);
    twips::place(body, 0, 300, 4575, 3135 - 300);
    TabOptions_ = new QTabBar(this);
    TabOptions_->setObjectName(QStringLiteral("TabOptions"));
    TabOptions_->setExpanding(false);
    TabOptions_->setDrawBase(false);
    for (const char* caption : {"Player 1", "Player 2", "Game"})
        TabOptions_->addTab(QString::fromLatin1(caption));
    TabOptions_->setGeometry(0, 0, twips::px(4575), twips::px(330));
    connect(TabOptions_, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            commands_.optionsTabClicked(index + 1);
    });

    auto page = [&](const QString& name) {
        auto* f = new QFrame(this);
        f->setObjectName(name);
        twips::place(f, 120, 360, 4335, 2655);
        return f;
    };
    pages_[0] = page(QStringLiteral("fraOpt1"));
    pages_[1] = page(QStringLiteral("Fraopt2"));
    pages_[2] = page(QStringLiteral("FraOptGame"));

    const QFont labelFont = font();
    for (int p = 0; p < 2; ++p) {
        makeLabel(pages_[p], QStringLiteral("Label%1").arg(p + 1),
                  QStringLiteral("Player %1's Name").arg(p + 1), 120, 240, 1575, 255, labelFont,
                  palette::ButtonFace, palette::Black);
        auto* box = new QLineEdit(pages_[p]);
        box->setObjectName(QStringLiteral("txtName%1").arg(p + 1));
        box->setMaxLength(OptionsDialog::NameMaxLength);
        twips::place(box, 120, 480, 2655, 375);
        connect(box, &QLineEdit::textEdited, this,
                [this, p](const QString& text) { commands_.optionsNameTyped(p, text); });
        txtName_[p] = box;
    }

    QWidget* game = pages_[2];
    auto frame = [&](const QString& name, const QString& caption, double left, double top,
                     double width, double height) {
        auto* g = new QGroupBox(caption, game);
        g->setObjectName(name);
        twips::place(g, left, top, width, height);
        return g;
    };
    QGroupBox* start = frame(QStringLiteral("fraStartWith"), QStringLiteral("Start with"), 120, 240, 975, 1455);
    OptScore_ = new QButtonGroup(this);
    option(start, OptScore_, QStringLiteral("OptScore"), 0, QStringLiteral("501"), 120, 240, 615, 375);
    option(start, OptScore_, QStringLiteral("OptScore"), 1, QStringLiteral("301"), 120, 600, 615, 375);
    option(start, OptScore_, QStringLiteral("OptScore"), 2, QStringLiteral("101"), 120, 960, 615, 375);

    QGroupBox* players = frame(QStringLiteral("fraPlayers"), QStringLiteral("Players"), 1200, 240, 855, 1215);
    OptPlayers_ = new QButtonGroup(this);
    option(players, OptPlayers_, QStringLiteral("OptPlayers"), 0, QStringLiteral("1"), 120, 360, 615, 255);
    option(players, OptPlayers_, QStringLiteral("OptPlayers"), 1, QStringLiteral("2"), 120, 720, 615, 255);

    QGroupBox* sets = frame(QStringLiteral("fraNumofSets"), QStringLiteral("No. of sets"), 2160, 240, 975, 975);
    txtSets_ = new QLineEdit(sets);
    txtSets_->setObjectName(QStringLiteral("txtSets"));
    txtSets_->setMaxLength(OptionsDialog::MaxLength);
    twips::place(txtSets_, 240, 360, 495, 405);
    countBox(txtSets_, [this](const QString& text) { commands_.optionsSetsTyped(text); });

    QGroupBox* legs = frame(QStringLiteral("fraNumOfLegs"), QStringLiteral("No. of legs"), 3240, 240, 975, 975);
    txtLegs_ = new QLineEdit(legs);
    txtLegs_->setObjectName(QStringLiteral("txtLegs"));
    txtLegs_->setMaxLength(OptionsDialog::MaxLength);
    twips::place(txtLegs_, 240, 360, 495, 405);
    countBox(txtLegs_, [this](const QString& text) { commands_.optionsLegsTyped(text); });

    QGroupBox* comm = frame(QStringLiteral("Frame1"), QStringLiteral("Commentry"), 120, 1800, 1455, 735);
    OptComm_ = new QButtonGroup(this);
    option(comm, OptComm_, QStringLiteral("OptComm"), 0, QStringLiteral("On"), 120, 360, 615, 255);
    option(comm, OptComm_, QStringLiteral("OptComm"), 1, QStringLiteral("Off"), 720, 360, 615, 255);

    connect(OptScore_, &QButtonGroup::idClicked, this, [this](int id) { commands_.optionsScoreChosen(id); });
    connect(OptPlayers_, &QButtonGroup::idClicked, this, [this](int id) { commands_.optionsPlayersChosen(id); });
    connect(OptComm_, &QButtonGroup::idClicked, this, [this](int id) { commands_.optionsCommentaryChosen(id); });

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("cmdOk"));
    twips::place(ok, 2520, 3240, 975, 375);
    connect(ok, &QPushButton::clicked, this, &frmOptions::okClicked);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    twips::place(cancel, 3600, 3240, 975, 375);
    connect(cancel, &QPushButton::clicked, this, [this] { commands_.optionsCancel(); });

    refresh(Commands::Part::All);
    connect(&commands_, &Commands::changed, this, &frmOptions::refresh);
}

QRadioButton* frmOptions::option(QWidget* parent, QButtonGroup* group, const QString& name,
                                 int index, const QString& caption, double left, double top,
                                 double width, double height)
{
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QStringLiteral("%1_%2").arg(name).arg(index));
    twips::place(button, left, top, width, height);
    group->addButton(button, index);
    return button;
}

void frmOptions::countBox(QLineEdit* box, std::function<void(const QString&)> edited)
{
    // Whatever is typed or pasted goes to the engine, which keeps the digits;
    // the box then shows what was kept, with the cursor after the same digits.
    connect(box, &QLineEdit::textEdited, this, [box, edited](const QString& text) {
        const int cursor = int(OptionsDialog::typedCount(text.left(box->cursorPosition())).size());
        edited(text);
        box->setCursorPosition(std::min(cursor, int(box->text().size())));
    });
}

void frmOptions::select(QButtonGroup* group, int index)
{
    if (group->checkedId() == index)
        return;
    if (QAbstractButton* b = group->button(index)) {
        b->setChecked(true);
        return;
    }
    // No button selected: an exclusive group cannot be emptied directly.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

void frmOptions::refresh(Commands::Parts parts)
{
    if (!(parts & Commands::Part::Options))
        return;
    const OptionsDialog& o = model_.options;
    const auto setText = [](QLineEdit* box, const QString& text) {
        if (box->text() != text)
            box->setText(text);
    };
    setText(txtName_[0], o.txtName1);
    setText(txtName_[1], o.txtName2);
    setText(txtLegs_, o.txtLegs);
    setText(txtSets_, o.txtSets);
    select(OptScore_, o.OptScore);
    select(OptPlayers_, o.OptPlayers);
    select(OptComm_, o.OptComm);

    const int tab = (o.tab == 1 || o.tab == 2) ? o.tab : 3;
    if (TabOptions_->currentIndex() != tab - 1) {
        const QSignalBlocker block(TabOptions_);
        TabOptions_->setCurrentIndex(tab - 1);
    }
    for (int i = 0; i < 3; ++i)
        if (pages_[i]->isHidden() == (i == tab - 1))
            pages_[i]->setVisible(i == tab - 1);

    if (o.visible && isHidden()) {
        show();
        raise();
        activateWindow();
    } else if (!o.visible && !isHidden()) {
        hide();
    }
}

void frmOptions::closeEvent(QCloseEvent* e)
{
    // The close box only hides the dialog; its controls keep their settings.
    e->ignore();
    commands_.optionsCancel();
}

void frmOptions::okClicked()
{
    okUnderWay_ = true;
    commands_.optionsOk();
    okUnderWay_ = false;
    // Still open, "&Ok" was refused with a message box. The dialog coming
    // back to the front when that box closes is not the operator returning
    // to it, so it must not put the panels' names over the names typed.
    refusedOk_ = isVisible() && !isActiveWindow();
}

void frmOptions::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() != QEvent::ActivationChange || !isActiveWindow() || okUnderWay_)
        return;
    if (refusedOk_) {
        refusedOk_ = false;
        return;
    }
    commands_.optionsActivated();
}
