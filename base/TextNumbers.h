#pragma once
// The scoreboard keeps its numbers as texts; these are the only ways the
// program turns texts into numbers and numbers back into texts.
#include <QString>
#include <QStringView>
#include <optional>

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4). Every conversion of a real number to an integer uses it.
qint64 RoundHalfEven(double value);

// The number formed by the leading characters of a text: blanks are skipped,
// an optional sign, digits with at most one "." as the decimal point; reading
// stops at the first other character. No number at the start gives 0, so
// "12.50" is 12.5, "1,234.00" is 1, "Bust (45)" is 0 and " -3x" is -3.
double NumericValue(QStringView text);

// The value of a text that must be a number as a whole ("60", " 180 ",
// "2.5"), rounded halves to even; nothing when the text is anything else.
std::optional<qint64> StrictInteger(QStringView text);

// A number in its general text form: at most 15 significant digits, "." as
// the decimal point, no thousands separator, no exponent and no trailing
// zeros (1, 37.5, and 3 x 12.33 gives 36.99).
QString NumberText(double value);
QString NumberText(qint64 value);
inline QString NumberText(int value) { return NumberText(qint64(value)); }

// An average rounded to 2 decimals (halves to even) in the form "#,##0.00":
// 180.00, 0.00, 1,234.50.
QString AverageText(double value);

// A single-precision value in its general text form (7 significant digits):
// 54.5, 100, 0. Used where the program shows a bar's value.
QString SingleText(double value);
