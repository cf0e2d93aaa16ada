// Helpers for driving dialogs in tests: controls found by id or name from one place, typing,
// clicking, and acting on the next modal dialog.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <gtest/gtest.h>

#include <functional>

// The child with that controlId, of the given type; null when there is none.
template <typename T>
T *control(QWidget *dialog, int controlId)
{
    for (T *child : dialog->findChildren<T *>()) {
        if (child->property("controlId").toInt() == controlId)
            return child;
    }
    return nullptr;
}

// The child with that objectName, of the given type; null when there is none.
template <typename T>
T *named(QWidget *dialog, const char *objectName)
{
    return dialog->findChild<T *>(QLatin1String(objectName));
}

// No caption of the dialog is a missing language text ("undefined", "Error"), and its title,
// push buttons and tree rows are not empty.
inline void expectNoMissingTexts(QWidget *dialog)
{
    QStringList texts {dialog->windowTitle()};
    for (auto *button : dialog->findChildren<QPushButton *>())
        texts << button->text();
    for (auto *tree : dialog->findChildren<QTreeWidget *>()) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            texts << (*it)->text(0);
    }
    const qsizetype mustHaveText = texts.size();
    for (auto *button : dialog->findChildren<QAbstractButton *>())
        texts << button->text();
    for (auto *label : dialog->findChildren<QLabel *>())
        texts << label->text();
    for (auto *group : dialog->findChildren<QGroupBox *>())
        texts << group->title();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString &text = texts.at(i);
        EXPECT_FALSE((i < mustHaveText && text.isEmpty()) || text == QLatin1String("undefined")
                     || text == QLatin1String("Error"))
            << dialog->metaObject()->className() << ": \"" << text.toStdString() << '"';
    }
}

// Types text as key presses carrying the characters, any script (QTest::keyClicks takes Latin-1
// keys only).
inline void typeText(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, character);
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
        i += length - 1;
    }
}

inline void click(QWidget *dialog, int controlId)
{
    QPushButton *button = control<QPushButton>(dialog, controlId);
    ASSERT_TRUE(button && button->isEnabled()) << controlId;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks the button with that objectName.
inline void press(QWidget *dialog, const char *objectName)
{
    auto *button = named<QAbstractButton>(dialog, objectName);
    ASSERT_TRUE(button && button->isEnabled()) << objectName;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Replaces the field's text as a user would: select all, then type.
inline void retype(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    typeText(edit, text);
}

inline void type(QWidget *dialog, int controlId, const QString &text)
{
    QLineEdit *edit = control<QLineEdit>(dialog, controlId);
    ASSERT_NE(edit, nullptr) << controlId;
    edit->clear();
    typeText(edit, text);
}

// Runs action on the next modal widget that opens (of type T), once the event loop turns.
template <typename T = QDialog>
void whenModal(std::function<void(T *)> action)
{
    QTimer::singleShot(0, [action] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<T *>(modal);
        if (!dialog) {
            if (modal)
                modal->close();
            FAIL() << "no modal dialog of the expected type";
        }
        // A failed check inside the action must not leave the test waiting on an open dialog.
        QTimer::singleShot(0, dialog, [dialog] {
            if (dialog->isVisible())
                dialog->close();
        });
        action(dialog);
    });
}

// Runs action on the modal dialog of type T that step opens, and closes it if the action left it
// open; true when one opened. None opening is no failure here, since a fault may well prevent
// it, and nothing is reported from inside the modal loop, where an exception may not pass.
template <typename T>
bool duringStep(const std::function<void(T *)> &action, const std::function<void()> &step)
{
    bool ran = false;
    QObject scope; // drops the timer when no dialog opened
    QTimer::singleShot(0, &scope, [&action, &ran] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            action(dialog);
            ran = true;
            if (dialog->isVisible())
                dialog->reject();
        }
    });
    step();
    return ran;
}

// Answers every message box that opens while it lives, with button when the box has it (else
// with OK), and keeps their texts in order.
class MessageBoxAnswerer : public QObject
{
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton button = QMessageBox::Ok)
        : m_button(button)
    {
        m_timer.setInterval(0);
        connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::poll);
        m_timer.start();
    }

    QStringList texts;

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        texts << box->text();
        QAbstractButton *answer = box->button(m_button);
        if (!answer)
            answer = box->button(QMessageBox::Ok);
        if (answer)
            answer->click();
        else
            box->done(0);
    }

    QMessageBox::StandardButton m_button;
    QTimer m_timer;
};
