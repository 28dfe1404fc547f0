#include "ui/frmAbout.h"

#include "ui/Twips.h"
#include "ui/Widgets.h"

#include <QPushButton>

frmAbout::frmAbout(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Vantrell"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twips::px(4815), twips::px(2880));
    paintWidget(this, palette::DarkRed, palette::Yellow);

    const QFont plain = designFont(Face::SansSerif, 8.25);
    makeLabel(this, QStringLiteral("lblTitle"), QStringLiteral("Vantrell"), 120, 120, 3885, 480,
              designFont(Face::SansSerif, 13.5), palette::DarkRed, palette::Yellow);
    auto* rule = new RuleWidget(this, palette::White);
    rule->setGeometry(twips::px(105), twips::px(480), twips::px(5654 - 105), 2);
    makeLabel(this, QStringLiteral("lblVersion"), QStringLiteral("Version 2.0.2"), 120, 600, 3885,
              225, plain, palette::DarkRed, palette::Yellow);
    makeLabel(this, QStringLiteral("lblDisclaimer"),
              QStringLiteral("A darts scoreboard by Brannoque."), 720, 1920, 3390, 465, plain,
              palette::DarkRed, palette::Yellow, Qt::AlignHCenter | Qt::AlignTop);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    twips::place(ok, 1800, 2400, 1260, 345);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
}
