#include "widgets.h"

#include "common/language.h"

#include <QApplication>
#include <QBitmap>
#include <QDialog>
#include <QDir>
#include <QFont>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPixmapCache>
#include <QPushButton>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

namespace setupmgr {

namespace {
constexpr char kBannerImage[] = ":/ostrel/controls/banner.png";
constexpr int kNoControlId = -1;
} // namespace

// The module's images are compiled in and never change; each is decoded once and then kept in
// Qt's pixmap cache (which lives and dies with the application).
QPixmap cachedPixmap(const QString &resource)
{
    QPixmap pixmap;
    if (!QPixmapCache::find(resource, &pixmap) && pixmap.load(resource))
        QPixmapCache::insert(resource, pixmap);
    return pixmap;
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
    markControl(banner, kNoControlId, "banner");
    banner->setPixmap(cachedPixmap(QLatin1String(kBannerImage)));
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

QList<QIcon> loadImageList(const QString &resource, int cellWidth, const QColor &mask)
{
    QList<QIcon> images;
    const QPixmap strip = cachedPixmap(resource);
    for (int x = 0; cellWidth > 0 && x + cellWidth <= strip.width(); x += cellWidth) {
        QPixmap cell = strip.copy(x, 0, cellWidth, strip.height());
        cell.setMask(cell.createMaskFromColor(mask, Qt::MaskInColor));
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

void emphasiseRoot(QTreeWidgetItem *root)
{
    if (!root)
        return;
    QFont bold = root->font(0);
    bold.setBold(true);
    root->setFont(0, bold);
    root->setExpanded(true);
}

bool askYesNo(QWidget *parent, const QString &text)
{
    return QMessageBox::question(parent, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void showMessage(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, QApplication::applicationDisplayName(), text);
}

void showRecordNotStored(QWidget *parent)
{
    showMessage(parent,
                getStringOr("recordNotStored", "message",
                            QStringLiteral("The client did not take the change. It is "
                                           "still in this window: press OK again, or "
                                           "Cancel.")));
}

void showCommitFailure(QWidget *parent, CommitResult result, const QString &path)
{
    QString format;
    switch (result) {
    case CommitResult::Stored:
        return;
    case CommitResult::SaveFailed:
        format = getStringOr(
            "saveFailed", "message",
            QStringLiteral("The changes could not be saved to \"%s\". They are still in this "
                           "window: check that the file can be written, then press OK again."));
        break;
    case CommitResult::ReloadFailed:
        format = getStringOr(
            "reloadFailed", "message",
            QStringLiteral("The changes were saved to \"%s\", but the client could not load that "
                           "file again: it may not show them until it is restarted."));
        break;
    }
    showMessage(parent, Common::formatMessage(format, QDir::toNativeSeparators(path)));
}

} // namespace setupmgr
