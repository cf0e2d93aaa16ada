#include "sample_remote_setup.h"

#include <QApplication>
#include <QFont>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>
#include <set>

// No QStringLiteral here: its text lives in this library's read-only data, and a copy kept by Qt
// after the host unloads the plug-in would point into unmapped memory.

namespace sample {

namespace {

enum { kInterfaceVersion = 1 };

std::set<SampleRemoteSetup *> &liveObjects()
{
    static std::set<SampleRemoteSetup *> objects;
    return objects;
}

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QLabel *valueLabel(const char *name)
{
    auto *label = new QLabel;
    label->setObjectName(text(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// An entry is text of up to 112 bytes, NUL-terminated when shorter.
QString entryText(const RemoteSetupEntry &entry)
{
    return QString::fromUtf8(entry.data, qsizetype(strnlen(entry.data, sizeof entry.data)));
}

} // namespace

SampleRemoteSetup::SampleRemoteSetup(std::int32_t productType, const char *family)
    : m_productType(productType)
    , m_family(family)
{ }

SampleRemoteSetup::~SampleRemoteSetup()
{
    delete m_window.data();
}

std::int32_t SampleRemoteSetup::getInterfaceVersion()
{
    return kInterfaceVersion;
}

std::int32_t SampleRemoteSetup::getProductType()
{
    return m_productType;
}

bool SampleRemoteSetup::prepare(const ServerIdentity *identity, RemoteSetupParameters *parameters,
                                std::int32_t)
{
    if (!identity || !parameters)
        return false;
    m_identity = *identity;
    m_parameters = parameters;
    return true;
}

void *SampleRemoteSetup::window()
{
    return m_window.data();
}

bool SampleRemoteSetup::start()
{
    // A host that only loads the plug-in may have no QApplication: no widget before it exists.
    if (!m_parameters || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return false;
    if (!m_window)
        buildWindow();
    showParameters();
    m_window->show();
    return true;
}

void SampleRemoteSetup::buildWindow()
{
    const QString heading
        = text("Sample remote setup (product family ") + text(m_family) + QLatin1Char(')');
    auto *window = new QWidget;
    window->setWindowTitle(heading);
    auto *layout = new QVBoxLayout(window);

    auto *title = new QLabel(heading);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    auto *note = new QLabel(text("This is a sample plug-in: it only shows what the setup manager "
                                 "handed over. A real installation replaces it with the product's "
                                 "own remote setup."));
    note->setWordWrap(true);
    layout->addWidget(note);

    auto *recorder = new QGroupBox(text("Recorder"));
    auto *recorderForm = new QFormLayout(recorder);
    recorderForm->addRow(text("Server id:"), m_serverId = valueLabel("serverId"));
    recorderForm->addRow(text("Product type:"), m_reportedType = valueLabel("productType"));
    layout->addWidget(recorder);

    auto *parameters = new QGroupBox(text("Parameters"));
    auto *parameterForm = new QFormLayout(parameters);
    parameterForm->addRow(text("Host value:"), m_hostValue = valueLabel("hostValue"));
    parameterForm->addRow(text("Active entry:"), m_activeEntry = valueLabel("activeEntry"));
    parameterForm->addRow(text("Timeout:"), m_timeout = valueLabel("timeout"));
    parameterForm->addRow(text("Enabled:"), m_enabled = valueLabel("enabled"));
    m_entries = new QTableWidget(0, 3);
    m_entries->setObjectName(text("entries"));
    m_entries->setHorizontalHeaderLabels({text("Row"), text("Column"), text("Entry")});
    m_entries->horizontalHeader()->setStretchLastSection(true);
    m_entries->verticalHeader()->hide();
    m_entries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    parameterForm->addRow(m_entries);
    layout->addWidget(parameters);

    window->resize(420, 360);
    m_window = window;
}

// Read on every start: the block belongs to the setup manager and the host may refill it.
void SampleRemoteSetup::showParameters()
{
    m_serverId->setText(QString::number(m_identity.serverId));
    m_reportedType->setText(QString::number(m_identity.productType));
    m_hostValue->setText(QString::number(m_parameters->hostValue));
    m_activeEntry->setText(QString::number(m_parameters->activeEntry));
    m_timeout->setText(QString::number(m_parameters->timeout));
    m_enabled->setText(m_parameters->enabled ? text("yes") : text("no"));

    m_entries->setRowCount(0);
    for (int row = 0; row < kRemoteSetupRows; ++row) {
        for (int column = 0; column < kRemoteSetupColumns; ++column) {
            const QString entry = entryText(m_parameters->entries[row][column]);
            if (entry.isEmpty())
                continue;
            const int at = m_entries->rowCount();
            m_entries->insertRow(at);
            m_entries->setItem(at, 0, new QTableWidgetItem(QString::number(row)));
            m_entries->setItem(at, 1, new QTableWidgetItem(QString::number(column)));
            m_entries->setItem(at, 2, new QTableWidgetItem(entry));
        }
    }
}

IRemoteSetup *createSetup(std::int32_t requestedType, std::int32_t ownType, const char *family)
{
    if (requestedType != ownType)
        return nullptr;
    auto *setup = new SampleRemoteSetup(ownType, family);
    liveObjects().insert(setup);
    return setup;
}

void releaseSetup(IRemoteSetup *setup)
{
    // Compared as an address first: the pointer may come from another plug-in.
    for (SampleRemoteSetup *own : liveObjects()) {
        if (static_cast<IRemoteSetup *>(own) == setup) {
            liveObjects().erase(own);
            delete own;
            return;
        }
    }
}

void terminate()
{
    // One at a time: a destructor must not find itself in a list being walked.
    while (!liveObjects().empty()) {
        SampleRemoteSetup *setup = *liveObjects().begin();
        liveObjects().erase(liveObjects().begin());
        delete setup;
    }
}

} // namespace sample
