#pragma once
// Reading the driver's input one command at a time, safely: a line has a
// length limit, so a runaway or hostile input costs a parse error instead of
// all the memory it asks for, and a line quoted back in an error message is
// shown with its control characters escaped, never raw on a terminal.
#include <QString>

#include <cstdio>

namespace commandline {

// No command comes anywhere near this; a longer line is a mistake.
constexpr qsizetype MaxLineBytes = 64 * 1024;
// How much of a bad line an error message quotes.
constexpr qsizetype QuotedCharacters = 200;

enum class Read { Line, End, TooLong };

// Reads one line (without its "\n" or "\r\n") as UTF-8. Never holds more
// than MaxLineBytes of it: TooLong stops reading in the middle of the line.
Read ReadLine(std::FILE* in, QString* line);

// The line as an error message may show it: backslash, quote and control
// characters (NUL included) escaped, cut after QuotedCharacters characters.
QString Quoted(const QString& line);

} // namespace commandline
