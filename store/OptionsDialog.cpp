#include "store/OptionsDialog.h"

int OptionsDialog::selectedStart() const
{
    switch (OptScore) {
    case 0:
        return 501;
    case 1:
        return 301;
    case 2:
        return 101;
    default:
        return 0;
    }
}

// Only the ASCII digits: the engine reads the boxes as numbers written with
// them, so a digit of another script would read as nothing.
static bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString OptionsDialog::typedCount(const QString& text)
{
    QString digits;
    for (QChar c : text) {
        if (digits.size() == MaxLength)
            break;
        if (isAsciiDigit(c))
            digits.append(c);
    }
    return digits;
}

bool OptionsDialog::isCount(const QString& text)
{
    if (text.isEmpty() || text.size() > MaxLength)
        return false;
    int value = 0;
    for (QChar c : text) {
        if (!isAsciiDigit(c))
            return false;
        value = value * 10 + (c.unicode() - '0');
    }
    return value >= 1;
}

void OptionsDialog::setName(int player, const QString& text)
{
    (player == 0 ? txtName1 : txtName2) = text.left(NameMaxLength);
}

OptionsDialog::Controls OptionsDialog::controls() const
{
    return {txtName1, txtName2, txtLegs, txtSets, OptScore, OptPlayers, OptComm};
}

void OptionsDialog::restore()
{
    setControls(remembered_);
}

void OptionsDialog::setControls(const Controls& c)
{
    txtName1 = c.txtName1;
    txtName2 = c.txtName2;
    txtLegs = c.txtLegs;
    txtSets = c.txtSets;
    OptScore = c.OptScore;
    OptPlayers = c.OptPlayers;
    OptComm = c.OptComm;
}

QString OptionsDialog::trimBlanks(const QString& text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}
