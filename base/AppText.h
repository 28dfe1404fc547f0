#pragma once
// Texts the program shows in more than one place.
#include <QString>

namespace apptext {

// The program's name: window captions and message-box titles.
inline const QString Title = QStringLiteral("Vantrell 2");

} // namespace apptext
