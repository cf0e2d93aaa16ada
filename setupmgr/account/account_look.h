// What the account dialogs share in their look: the image strips, the white background, the
// red message line, the marks that let tests and readers find each specified control, and the
// controls and layouts that several dialogs build alike.
#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QString>

#include <ostrel/records.h>

#include <utility>

class QDialog;
class QHBoxLayout;
class QLabel;
class QLayout;
class QListWidget;
class QPushButton;
class QTreeWidgetItem;
class QWidget;

namespace AccountLook {

// Image strips of 16x16 cells, magenta transparent.
inline constexpr char kAccountImages[] = ":/ostrel/account/account_images.png";     // 21004
inline constexpr char kAuthorityImages[] = ":/ostrel/account/authority_images.png"; // 21007
inline constexpr char kBannerImage[] = ":/ostrel/account/banner.png";               // 21006

// Indexes into kAccountImages.
enum AccountImage {
    kImageRoot = 0,
    kImageUser = 1,
    kImageGroup = 2,
    kImageFolder = 3,
    kImageOpenFolder = 4
};
// Indexes into kAuthorityImages.
enum AuthorityImage {
    kAuthImageRoot = 0,
    kAuthImageCategory = 1,
    kAuthImageItem = 2,
    kAuthImageUser = 3,
    kAuthImageGroup = 4
};

// One icon per 16x16 cell of the strip, with magenta made transparent.
QList<QIcon> loadImageList(const QString &resource);
// The index of the image that icon shows (its normal pixels), or -1.
int imageIndex(const QList<QIcon> &images, const QIcon &icon);

inline QColor backgroundColor()
{
    return QColor(255, 255, 255);
}
inline QColor messageColor()
{
    return QColor(255, 0, 0);
}

// The dialog and its labels on white; labels have no background of their own.
void paintWhite(QWidget *dialog);
// The template's look: white, Tahoma, and its size in dialog units.
void setUpDialog(QDialog *dialog, int widthUnits, int heightUnits);
// A list view in list mode, sorted by text, with one entry selectable; its one column's heading
// is what a screen reader announces.
void setUpMemberList(QListWidget *list);
// Shows a member list: each member's id, the user or group image, the kind as item data.
void fillMemberList(QListWidget *list, const PointerSeq<MemberRecord> &members,
                    const QIcon &userImage, const QIcon &groupImage);
void makeMessageLine(QLabel *label);
// Names a control and gives it its specified id.
void markControl(QWidget *control, int controlId, const char *objectName);
// A marked push button that does not become the default when it takes the focus.
QPushButton *makeButton(QWidget *parent, const char *text, int controlId, const char *objectName);
// A marked label whose mnemonic moves the focus to buddy.
QLabel *makeLabel(QWidget *parent, const char *text, int controlId, const char *objectName,
                  QWidget *buddy);
// The managers' banner picture; like the template's, it has no id of its own (-1).
QLabel *makeBanner(QWidget *parent);
// OK and Cancel (or Close) at the right end of their row.
QHBoxLayout *makeButtonRow(QPushButton *ok, QPushButton *cancel);
// The managers' layout: the banner along the whole left edge, and to its right the work area
// over the OK and Close row, which keep the usual margins.
void layOutBesideBanner(QDialog *dialog, QWidget *banner, QLayout *work, QPushButton *ok,
                        QPushButton *close);
// A filled tree's root, in bold and opened; nothing without one.
void emphasiseRoot(QTreeWidgetItem *root);
// True on a dialog's first show only. The dialogs fill themselves then, when the caller has
// handed them their data.
inline bool firstShow(bool &shown)
{
    return !std::exchange(shown, true);
}
// Dialog units of the templates in pixels.
int unitsX(int units);
int unitsY(int units);
// Fills the one string argument of a message format ("%s", or "%1").
QString formatMessage(const QString &format, const QString &argument);

} // namespace AccountLook
