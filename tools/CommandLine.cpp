#include "tools/CommandLine.h"

#include <QByteArray>

namespace commandline {

Read ReadLine(std::FILE* in, QString* line)
{
    QByteArray bytes;
    int c = std::getc(in);
    if (c == EOF)
        return Read::End;
    while (c != EOF && c != '\n') {
        if (bytes.size() == MaxLineBytes) {
            *line = QString::fromUtf8(bytes.left(QuotedCharacters * 4));
            return Read::TooLong;
        }
        bytes.append(char(c));
        c = std::getc(in);
    }
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    *line = QString::fromUtf8(bytes);
    return Read::Line;
}

QString Quoted(const QString& line)
{
    QString out;
    qsizetype taken = 0;
    for (const QChar ch : line) {
        if (taken == QuotedCharacters) {
            // Never half a character: a pair cut in two would be no text.
            if (!out.isEmpty() && out.back().isHighSurrogate())
                out.chop(1);
            out += QStringLiteral("...");
            break;
        }
        ++taken;
        const char16_t u = ch.unicode();
        if (u == u'\\' || u == u'"') {
            out += u'\\';
            out += ch;
        } else if (u == u'\t') {
            out += QStringLiteral("\\t");
        } else if (u == u'\r') {
            out += QStringLiteral("\\r");
        } else if (u < 0x20 || (u >= 0x7f && u < 0xa0) || ch.category() == QChar::Other_Format
                   || ch.category() == QChar::Separator_Line
                   || ch.category() == QChar::Separator_Paragraph) {
            out += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
        } else {
            out += ch;
        }
    }
    return out;
}

} // namespace commandline
