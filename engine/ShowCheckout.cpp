#include "checkout/Checkout.h"
#include "engine/ModDarts.h"
#include "base/TextNumbers.h"

QString ModDarts::ShowCheckout(qint64 remaining)
{
    // The caller writes the returned text into the box; only its colours and
    // visibility are set here, on the box of whoever throws now.
    Field& box = panel(state.CurrentPlayer).lblFinishAdj;
    const QString suggestion = CheckoutFor(remaining);
    if (!suggestion.isEmpty()) {
        box.setColours(Field::Blue, Field::White);
        box.setVisible(true);
        return suggestion;
    }
    if (remaining < 170) {
        // A warning, not advice: it never brings a hidden box into view.
        box.setColours(Field::Yellow, Field::Black);
        return QStringLiteral("No outshot");
    }
    return QString();
}

QString ModDarts::ShowCheckout(const QString& remaining)
{
    return ShowCheckout(RoundHalfEven(NumericValue(remaining)));
}
