#pragma once
// What every benchmark shares: its figures printed as a table and as JSON
// lines, percentiles, and the offscreen screen the window benchmarks use.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <vector>

struct Figure {
    const char* name;
    double value;
    const char* unit;
};

inline void PrintFigures(const std::vector<Figure>& figures)
{
    std::printf("%-36s %14s  %s\n", "figure", "value", "unit");
    for (const Figure& f : figures)
        std::printf("%-36s %14.3f  %s\n", f.name, f.value, f.unit);
    for (const Figure& f : figures)
        std::printf("{\"name\": \"%s\", \"value\": %.6g, \"unit\": \"%s\"}\n", f.name, f.value, f.unit);
}

inline double Percentile(std::vector<double> v, double q)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(q * double(v.size())))];
}

// Offscreen, on a screen of a common desktop size unless the caller chose a
// platform: the board's size (and so its drawing) follows the screen.
inline void ChoosePlatform(const QString& folder, int width, int height)
{
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (!chosen.isEmpty() && chosen != "offscreen")
        return;
    const QString config = QDir(folder).filePath(QStringLiteral("offscreen-screen.json"));
    QFile file(config);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(QStringLiteral("{\"screens\": [{\"name\": \"bench\", \"x\": 0, \"y\": 0, "
                                  "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, "
                                  "\"logicalBaseDpi\": 96, \"dpr\": 1}]}\n")
                       .arg(width)
                       .arg(height)
                       .toUtf8());
        file.close();
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.toLocal8Bit());
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}
