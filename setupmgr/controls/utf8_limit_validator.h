// Limits an edit to the bytes that its record field holds in UTF-8, as the user types or pastes,
// so that what the edit shows is what is stored. Like the platform's text limit, an insertion is
// cut, not the text after it: the characters just before the caret go first.
#pragma once

#include <QValidator>

class QLineEdit;

namespace setupmgr {

class Utf8LimitValidator final : public QValidator
{
    Q_OBJECT

public:
    Utf8LimitValidator(int maxBytes, QObject *parent);

    State validate(QString &text, int &position) const override;
    // The text cut to maxBytes at a character boundary, from the end.
    void fixup(QString &text) const override;

    int maxBytes() const { return m_maxBytes; }

private:
    int m_maxBytes;
};

// Gives the edit a validator for a field of fieldSize bytes, one of which is the terminating zero.
void limitToField(QLineEdit *edit, int fieldSize);

// UTF-8 bytes of text, without converting it.
int utf8Size(QStringView text);

} // namespace setupmgr
