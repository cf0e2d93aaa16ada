#include "control_factory.h"

#include "common/language.h"
#include "image_list.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace setupmgr {

namespace {
constexpr char kBannerImage[] = ":/ostrel/controls/banner.png";
constexpr int kNoControlId = -1;
} // namespace

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

QString withoutMnemonic(QString text)
{
    static const QRegularExpression mnemonic(QStringLiteral("\\(&[^&]\\)|&(.)"));
    return text.replace(mnemonic, QStringLiteral("\\1")).trimmed();
}

void nameAfterLabel(QWidget *control, const QLabel *label)
{
    control->setAccessibleName(withoutMnemonic(label->text()));
}

void nameFromLanguage(QWidget *control, const char *id, const char *fallback)
{
    control->setAccessibleName(getStringOr(id, "accessibleName", QLatin1String(fallback)));
}

QLabel *makeBanner(QWidget *parent)
{
    auto *banner = new QLabel(parent);
    markControl(banner, kNoControlId, "banner");
    banner->setPixmap(cachedPixmap(QLatin1String(kBannerImage)));
    return banner;
}

std::pair<QPushButton *, QPushButton *> makeOkCancel(QDialog *dialog, int okId, int cancelId)
{
    auto *ok = new QPushButton(QStringLiteral("OK"), dialog);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    markControl(ok, okId, "okButton");
    markControl(cancel, cancelId, "cancelButton");
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return {ok, cancel};
}

QHBoxLayout *makeButtonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *button : buttons)
        row->addWidget(button);
    return row;
}

void layOutBesideBanner(QDialog *dialog, QWidget *banner, QLayout *work, QPushButton *ok,
                        QPushButton *close)
{
    auto *right = new QVBoxLayout;
    right->addLayout(work, 1);
    right->addLayout(makeButtonRow({ok, close}));
    auto *layout = new QHBoxLayout(dialog);
    // The banner runs along the whole left edge; the rest keeps the usual margins.
    const QMargins margins = layout->contentsMargins();
    layout->setContentsMargins(0, 0, margins.right(), 0);
    right->setContentsMargins(0, margins.top(), 0, margins.bottom());
    layout->addWidget(banner, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addLayout(right, 1);
}

} // namespace setupmgr
