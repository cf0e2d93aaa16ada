#include "utf8_limit_validator.h"

#include <QLineEdit>

namespace setupmgr {

namespace {

int charBytes(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// The start of the character that ends at end (a surrogate pair counts as one).
qsizetype characterStart(const QString &text, qsizetype end)
{
    return end >= 2 && text.at(end - 1).isLowSurrogate() && text.at(end - 2).isHighSurrogate()
        ? end - 2
        : end - 1;
}

} // namespace

int utf8Size(QStringView text)
{
    int size = 0;
    for (char32_t c : text.toUcs4())
        size += charBytes(c);
    return size;
}

Utf8LimitValidator::Utf8LimitValidator(int maxBytes, QObject *parent)
    : QValidator(parent)
    , m_maxBytes(maxBytes)
{ }

QValidator::State Utf8LimitValidator::validate(QString &text, int &position) const
{
    int size = utf8Size(text);
    position = std::clamp(position, 0, int(text.size()));
    while (size > m_maxBytes && position > 0) {
        const qsizetype start = characterStart(text, position);
        size -= utf8Size(QStringView(text).mid(start, position - start));
        text.remove(start, position - start);
        position = int(start);
    }
    if (size > m_maxBytes)
        fixup(text);
    return Acceptable;
}

void Utf8LimitValidator::fixup(QString &text) const
{
    int size = utf8Size(text);
    while (size > m_maxBytes && !text.isEmpty()) {
        const qsizetype start = characterStart(text, text.size());
        size -= utf8Size(QStringView(text).mid(start));
        text.truncate(start);
    }
}

void limitToField(QLineEdit *edit, int fieldSize)
{
    edit->setValidator(new Utf8LimitValidator(fieldSize - 1, edit));
}

} // namespace setupmgr
