#include "engine/FinishAdvice.h"

#include "checkout/Checkout.h"

QString AdviseFinish(Field& box, qint64 remaining)
{
    const QString suggestion = CheckoutFor(remaining);
    if (!suggestion.isEmpty()) {
        box.setColours(Field::Blue, Field::White);
        box.setVisible(true);
        return suggestion;
    }
    if (remaining < 170) {
        box.setColours(Field::Yellow, Field::Black);
        return QStringLiteral("No outshot");
    }
    return QString();
}
