// Factories for the controls the module's dialogs build alike: controls marked with their name
// and id, buttons, labels with a buddy, the banner and the one way to build a row of buttons.
#pragma once

#include <initializer_list>
#include <utility>

class QDialog;
class QHBoxLayout;
class QLabel;
class QLayout;
class QPushButton;
class QString;
class QWidget;

namespace setupmgr {

// Names a control for tests and UI automation and gives it its control id (-1 for none).
void markControl(QWidget *control, int controlId, const char *objectName);
// A marked push button that does not become the default when it takes the focus.
QPushButton *makeButton(QWidget *parent, const char *text, int controlId, const char *objectName);
// A marked label whose mnemonic moves the focus to buddy.
QLabel *makeLabel(QWidget *parent, const char *text, int controlId, const char *objectName,
                  QWidget *buddy);
// The widgets keep their room in the layout while hidden, so that nothing beside them moves
// when they come and go, as controls of a fixed template stay in place.
void keepRoomWhenHidden(std::initializer_list<QWidget *> widgets);
// A caption without its mnemonic: "&Name:" and the East Asian "Name(&N):" read "Name:"; "&&"
// stays one ampersand.
QString withoutMnemonic(QString text);
// Gives a control the accessible name of its label, without the mnemonic: item views do not
// take it from their buddy as edits do.
void nameAfterLabel(QWidget *control, const QLabel *label);
// Gives a control without a label its accessible name from the shared string file (category
// "accessibleName"), or the fallback when the installation lacks it.
void nameFromLanguage(QWidget *control, const char *id, const char *fallback);
// The managers' banner picture along the left edge; it has no id of its own.
QLabel *makeBanner(QWidget *parent);
// The OK and Cancel of an edit dialog: OK is the default button and accepts the dialog, Cancel
// rejects it; named "okButton" and "cancelButton", with the given ids. For makeButtonRow.
std::pair<QPushButton *, QPushButton *> makeOkCancel(QDialog *dialog, int okId, int cancelId);
// The dialogs' button row (OK, Cancel or Close, Apply...), in the given order at its right end.
QHBoxLayout *makeButtonRow(std::initializer_list<QPushButton *> buttons);
// The managers' layout: the banner along the whole left edge, and to its right the work area
// over the OK and Close row, which keep the usual margins.
void layOutBesideBanner(QDialog *dialog, QWidget *banner, QLayout *work, QPushButton *ok,
                        QPushButton *close);

// True on a dialog's first show only. The dialogs fill themselves then, when the caller has
// handed them their data.
inline bool firstShow(bool &shown)
{
    return !std::exchange(shown, true);
}

} // namespace setupmgr
