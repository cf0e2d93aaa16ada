#include "account_look.h"

#include <QBitmap>
#include <QDialog>
#include <QFont>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>

#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidgetItem>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace AccountLook {

namespace {
constexpr int kImageSize = 16;
constexpr int kBannerId = -1;
} // namespace

QList<QIcon> loadImageList(const QString &resource)
{
    QList<QIcon> images;
    const QPixmap strip(resource);
    for (int x = 0; x + kImageSize <= strip.width(); x += kImageSize) {
        QPixmap cell = strip.copy(x, 0, kImageSize, kImageSize);
        cell.setMask(cell.createMaskFromColor(QColor(255, 0, 255), Qt::MaskInColor));
        images.append(QIcon(cell));
    }
    return images;
}

int imageIndex(const QList<QIcon> &images, const QIcon &icon)
{
    for (qsizetype i = 0; i < images.size(); ++i) {
        if (images.at(i).cacheKey() == icon.cacheKey())
            return static_cast<int>(i);
    }
    // Loaded twice, the same cell gives another icon with the same pixels.
    const QImage pixels = icon.pixmap(16, 16).toImage();
    for (qsizetype i = 0; i < images.size(); ++i) {
        if (images.at(i).pixmap(16, 16).toImage() == pixels)
            return static_cast<int>(i);
    }
    return -1;
}

void paintWhite(QWidget *dialog)
{
    QPalette palette = dialog->palette();
    palette.setColor(QPalette::Window, backgroundColor());
    dialog->setPalette(palette);
    dialog->setAutoFillBackground(true);
}

void setUpDialog(QDialog *dialog, int widthUnits, int heightUnits)
{
    paintWhite(dialog);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    dialog->setFont(font);
    dialog->resize(unitsX(widthUnits), unitsY(heightUnits));
}

void setUpMemberList(QListWidget *list)
{
    list->setViewMode(QListView::ListMode);
    list->setFlow(QListView::TopToBottom);
    list->setWrapping(true);
    list->setResizeMode(QListView::Adjust);
    // Each column as wide as its longest id: uniform sizes would take the first row's width and
    // cut longer ids short.
    list->setUniformItemSizes(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setIconSize(QSize(16, 16));
    // A fixed heading, not from the language files.
    list->setAccessibleName(QStringLiteral("User Id"));
}

void fillMemberList(QListWidget *list, const PointerSeq<MemberRecord> &members,
                    const QIcon &userImage, const QIcon &groupImage)
{
    std::vector<const MemberRecord *> sorted;
    sorted.reserve(seqSize(members));
    for (std::size_t i = 0, n = seqSize(members); i < n; ++i) {
        if (members.first[i])
            sorted.push_back(members.first[i]);
    }
    // Alphabetical without regard to case, as a list sorted by its text is read: "amy" before
    // "Guests". Sorted once here; the lists take no other insertions.
    std::stable_sort(
        sorted.begin(), sorted.end(), [](const MemberRecord *a, const MemberRecord *b) {
            return QString::fromUtf8(a->id).compare(QString::fromUtf8(b->id), Qt::CaseInsensitive)
                < 0;
        });
    list->setSortingEnabled(false);
    list->clear();
    for (const MemberRecord *member : sorted) {
        auto *item = new QListWidgetItem(QString::fromUtf8(member->id));
        item->setIcon(member->kind != MemberUser ? groupImage : userImage);
        item->setData(Qt::UserRole, member->kind);
        list->addItem(item);
    }
}

void makeMessageLine(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, messageColor());
    label->setPalette(palette);
    label->setWordWrap(true);
    label->setMinimumHeight(2 * label->fontMetrics().height());
}

void markControl(QWidget *control, int controlId, const char *objectName)
{
    control->setObjectName(QLatin1String(objectName));
    control->setProperty("controlId", controlId);
}

QPushButton *makeButton(QWidget *parent, const char *text, int controlId, const char *objectName)
{
    auto *button = new QPushButton(QLatin1String(text), parent);
    markControl(button, controlId, objectName);
    button->setAutoDefault(false);
    return button;
}

QLabel *makeLabel(QWidget *parent, const char *text, int controlId, const char *objectName,
                  QWidget *buddy)
{
    auto *label = new QLabel(QLatin1String(text), parent);
    markControl(label, controlId, objectName);
    label->setBuddy(buddy);
    return label;
}

QLabel *makeBanner(QWidget *parent)
{
    auto *banner = new QLabel(parent);
    markControl(banner, kBannerId, "banner");
    banner->setPixmap(QPixmap(QLatin1String(kBannerImage)));
    return banner;
}

QHBoxLayout *makeButtonRow(QPushButton *ok, QPushButton *cancel)
{
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    return buttons;
}

void layOutBesideBanner(QDialog *dialog, QWidget *banner, QLayout *work, QPushButton *ok,
                        QPushButton *close)
{
    auto *right = new QVBoxLayout;
    right->addLayout(work, 1);
    right->addLayout(makeButtonRow(ok, close));
    auto *layout = new QHBoxLayout(dialog);
    // The banner runs along the whole left edge; the rest keeps the usual margins.
    const QMargins margins = layout->contentsMargins();
    layout->setContentsMargins(0, 0, margins.right(), 0);
    right->setContentsMargins(0, margins.top(), 0, margins.bottom());
    layout->addWidget(banner, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addLayout(right, 1);
}

void emphasiseRoot(QTreeWidgetItem *root)
{
    if (!root)
        return;
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    root->setExpanded(true);
}

int unitsX(int units)
{
    return units * 3 / 2;
}

int unitsY(int units)
{
    return units * 13 / 8;
}

QString formatMessage(const QString &format, const QString &argument)
{
    QString text = format;
    qsizetype at = text.indexOf(QLatin1String("%s"));
    if (at < 0)
        at = text.indexOf(QLatin1String("%1"));
    if (at >= 0)
        text.replace(at, 2, argument);
    return text;
}

} // namespace AccountLook
