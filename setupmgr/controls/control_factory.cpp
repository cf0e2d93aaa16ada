#include "control_factory.h"

#include "common/language.h"
#include "image_list.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace setupmgr {

namespace {
constexpr char kBannerImage[] = ":/ostrel/controls/banner.png";
constexpr int kNoControlId = -1;

// The banner keeps the picture's width and fills its column at any height: the picture from the
// top, its last row carried on below; from the 2x picture on a scaled screen.
class Banner : public QLabel
{
public:
    explicit Banner(QWidget *parent)
        : QLabel(parent)
    {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    }

    QSize sizeHint() const override { return picture(1.0).deviceIndependentSize().toSize(); }
    QSize minimumSizeHint() const override { return {sizeHint().width(), 0}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const QPixmap image = picture(devicePixelRatioF());
        const qreal imageHeight = image.deviceIndependentSize().height();
        QPainter painter(this);
        painter.drawPixmap(QPointF(0, 0), image);
        if (height() > imageHeight)
            painter.drawPixmap(QRectF(0, imageHeight, width(), height() - imageHeight), image,
                               QRectF(0, image.height() - 1, image.width(), 1));
    }

private:
    static QPixmap picture(qreal ratio) { return cachedPixmap(QLatin1String(kBannerImage), ratio); }
};

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

void keepRoomWhenHidden(std::initializer_list<QWidget *> widgets)
{
    for (QWidget *widget : widgets) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
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
    auto *banner = new Banner(parent);
    markControl(banner, kNoControlId, "banner");
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
    layout->addWidget(banner);
    layout->addLayout(right, 1);
}

} // namespace setupmgr
