#pragma once
// A dart typed instead of clicked: "T20", "t20", "D16", "20", "25", "50" or
// "bull", "0" or "m" for a miss. Reading it gives the board's label of the
// bed (what a click inside that bed maps to), so a typed dart goes the same
// way as a clicked one.
#include <QString>
#include <QStringView>

struct TypedDart {
    QString label;   // the bed's label ("T20", "20", "25", "50", "0"); empty when none
    QString hint;    // why the text names no dart; empty when it does
};

// Case is ignored and blanks around the text too. Also read: "S20" for the
// single, "D25" for the bull (it is the double of 25) and "miss".
TypedDart ReadTypedDart(QStringView text);
