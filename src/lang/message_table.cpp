#include "lang/message_table.h"

#include <array>

namespace quillo::lang {

std::uint8_t LanguageIndex = 0;

namespace {

const std::array<QString, kMessageTableSize>& Table() {
    static const std::array<QString, kMessageTableSize> table = [] {
        std::array<QString, kMessageTableSize> converted;
        for (int i = 0; i < kMessageTableSize; ++i) {
            const std::string_view text = MessageTable[i];
            converted[i] = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        }
        return converted;
    }();
    return table;
}

}  // namespace

const QString& MessageAt(int position) {
    // Callers pass fixed ids and LanguageIndex is kept within 0 to 9; a position outside the
    // table is a programming error, answered with an empty text rather than a stray read.
    Q_ASSERT(position >= 0 && position < kMessageTableSize);
    if (position < 0 || position >= kMessageTableSize) {
        static const QString none;
        return none;
    }
    return Table()[position];
}

QString MessageText(int id) {
    return MessageAt(MessagePosition(id, LanguageIndex));
}

}  // namespace quillo::lang
