// The number reading rules and dart values on arbitrary text.
#include "board/BoardGeometry.h"
#include "base/TextNumbers.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    const double value = NumericValue(text);
    if (std::isnan(value))
        std::abort(); // a reading gives a number or 0, never "not a number"
    const qint64 rounded = RoundHalfEven(value);

    // A text that is a number as a whole is read the same both ways.
    if (const auto whole = StrictInteger(text); whole && *whole != rounded)
        std::abort();

    // What the program writes (15 significant digits) reads back as the
    // same number.
    if (std::isfinite(value) && std::fabs(value) < 1e15 && std::fabs(value) > 1e-100) {
        const double back = NumericValue(NumberText(value));
        if (std::fabs(back - value) > 1e-14 * std::fabs(value))
            std::abort();
    }
    (void)AverageText(value);
    (void)SingleText(value);

    const qint64 dart = DartValue(text);
    if (IsDartLabel(text) && (dart < 0 || dart > 60))
        std::abort();
    return 0;
}
