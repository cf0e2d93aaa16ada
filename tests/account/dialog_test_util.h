// Helpers for driving the account dialogs in tests.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

inline void click(QWidget *dialog, int controlId)
{
    QPushButton *button = control<QPushButton>(dialog, controlId);
    ASSERT_TRUE(button && button->isEnabled()) << controlId;
    QTest::mouseClick(button, Qt::LeftButton);
}

inline void type(QWidget *dialog, int controlId, const QString &text)
{
    QLineEdit *edit = control<QLineEdit>(dialog, controlId);
    ASSERT_NE(edit, nullptr) << controlId;
    edit->clear();
    QTest::keyClicks(edit, text);
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
