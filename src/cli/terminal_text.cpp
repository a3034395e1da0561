#include "cli/terminal_text.h"

namespace quillo::cli {

namespace {

bool Escaped(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) ||
           // Marks and embeddings that turn the text after them around, and line breaks.
           c == 0x200E || c == 0x200F || (c >= 0x2028 && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

QString TerminalText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'\\') {
            shown += QStringLiteral("\\\\");
        } else if (Escaped(unit)) {
            shown += unit <= 0xFF ? QStringLiteral("\\x%1").arg(unit, 2, 16, QLatin1Char('0'))
                                  : QStringLiteral("\\u%1").arg(unit, 4, 16, QLatin1Char('0'));
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace quillo::cli
