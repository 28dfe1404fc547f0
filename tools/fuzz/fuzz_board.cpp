// Board mapping with arbitrary geometry and points: the input is read as six
// doubles (the picture's left, top, width, height, then the point) and a
// byte that says whether the point is thrown at or only pointed at.
#include "board/BoardGeometry.h"
#include "tools/SimDriver.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

QTemporaryDir* home;
SimDriver* driver;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir dir; // static: removed when the fuzzer exits
    home = &dir;
    driver = new SimDriver(home->path());
    QString error;
    if (!driver->start(&error))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    double v[6];
    if (size < sizeof v + 1)
        return 0;
    std::memcpy(v, data, sizeof v);
    const bool thrown = data[sizeof v] & 1;
    const BoardRect rect{v[0], v[1], v[2], v[3]};

    // Every point maps to a dart the program knows, worth its label.
    const DartHit hit = HitAt(rect, v[4], v[5]);
    if (!IsDartLabel(hit.Label) || hit.Score != DartValue(hit.Label))
        std::abort();

    // Aiming at a bed works out a point for any geometry, however absurd.
    (void)PointFor(rect, hit.Label == QLatin1String("0") ? QStringLiteral("7") : hit.Label);

    // On a board of a sensible size the middle of every bed maps to that bed.
    const bool sensible = std::isfinite(v[0]) && std::isfinite(v[1]) && std::fabs(v[0]) < 1e6 &&
                          std::fabs(v[1]) < 1e6 && v[2] >= 1000 && v[2] <= 1e5 && v[3] >= 1000 &&
                          v[3] <= 1e5;
    if (sensible) {
        const QString label = hit.Label == QLatin1String("0") ? QStringLiteral("T20") : hit.Label;
        const QPointF at = PointFor(rect, label);
        if (HitAt(rect, at.x(), at.y()).Label != label)
            std::abort();
    }

    // The same through the engine: a thrown point is worth the dart and goes
    // into the match's history; the pointer moving over it updates the aim
    // box. (Scoring the dart is the driver target's part.)
    ModDarts& e = driver->engine();
    e.board.Image1 = rect;
    if (e.MapBoardPoint(v[4], v[5]).Score != hit.Score || e.currentDartLabel() != hit.Label)
        std::abort();
    if (thrown) {
        e.BoardPressed(v[4], v[5]);
        const std::optional<match::Dart> newest = e.match().newestDart();
        if (!newest || newest->label() != hit.Label)
            std::abort();
    }
    e.BoardMoved(v[4], v[5]);
    return 0;
}
