// Small factories and helpers for the widgets that the module's dialogs build alike: controls
// marked with their name and id, buttons, labels with a buddy, image strips, the banner and the
// message boxes.
#pragma once

#include "common/working_copy.h"

#include <QColor>
#include <QIcon>
#include <QList>
#include <QString>

#include <utility>

class QDialog;
class QHBoxLayout;
class QLabel;
class QLayout;
class QPixmap;
class QPushButton;
class QTreeWidgetItem;
class QWidget;

namespace setupmgr {

// Names a control for tests and UI automation and gives it its control id (-1 for none).
void markControl(QWidget *control, int controlId, const char *objectName);
// A marked push button that does not become the default when it takes the focus.
QPushButton *makeButton(QWidget *parent, const char *text, int controlId, const char *objectName);
// A marked label whose mnemonic moves the focus to buddy.
QLabel *makeLabel(QWidget *parent, const char *text, int controlId, const char *objectName,
                  QWidget *buddy);
// The managers' banner picture along the left edge; it has no id of its own.
QLabel *makeBanner(QWidget *parent);
// OK and Cancel (or Close) at the right end of their row.
QHBoxLayout *makeButtonRow(QPushButton *ok, QPushButton *cancel);
// The managers' layout: the banner along the whole left edge, and to its right the work area
// over the OK and Close row, which keep the usual margins.
void layOutBesideBanner(QDialog *dialog, QWidget *banner, QLayout *work, QPushButton *ok,
                        QPushButton *close);

// One of the module's images, decoded once.
QPixmap cachedPixmap(const QString &resource);
// One icon per cell of an image strip, cells cellWidth pixels wide and as high as the strip,
// with the mask colour made transparent.
QList<QIcon> loadImageList(const QString &resource, int cellWidth = 16,
                           const QColor &mask = QColor(255, 0, 255));
// The index of the image that icon shows (its normal pixels), or -1.
int imageIndex(const QList<QIcon> &images, const QIcon &icon);

// A filled tree's root, in bold and opened; nothing without one.
void emphasiseRoot(QTreeWidgetItem *root);

// A question with Yes and No, captioned with the host application's name; true for Yes.
bool askYesNo(QWidget *parent, const QString &text);
// A message with an OK button, captioned with the host application's name.
void showMessage(QWidget *parent, const QString &text);
// The client refused to take a record into its working data (an append that failed): the work is
// still in the dialog, which stays open.
void showRecordNotStored(QWidget *parent);

// Tells the user what a commit to path that did not go through means for the work: a failed
// save keeps the changes in the dialog; after a failed reload the file holds them but the client
// may not show them. Nothing for a commit that stored.
void showCommitFailure(QWidget *parent, CommitResult result, const QString &path);

// True on a dialog's first show only. The dialogs fill themselves then, when the caller has
// handed them their data.
inline bool firstShow(bool &shown)
{
    return !std::exchange(shown, true);
}

} // namespace setupmgr
