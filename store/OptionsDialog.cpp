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

QString OptionsDialog::trimBlanks(const QString& text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}
