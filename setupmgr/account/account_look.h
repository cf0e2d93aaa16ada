// What the account dialogs share in their look: the image strips, the white background, the
// red message line and the marks that let tests and readers find each specified control.
#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QString>

#include <ostrel/records.h>

class QDialog;
class QLabel;
class QListWidget;
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
// Dialog units of the templates in pixels.
int unitsX(int units);
int unitsY(int units);
// Fills the one string argument of a message format ("%s", or "%1").
QString formatMessage(const QString &format, const QString &argument);

} // namespace AccountLook
