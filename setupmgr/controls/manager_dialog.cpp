#include "manager_dialog.h"

#include "controls/control_factory.h"
#include "controls/messages.h"
#include "dialog_style.h"

#include <ostrel/setup_manager.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace setupmgr {

namespace {
enum ControlId { kOkButton = 1, kCloseButton = 2 };
} // namespace

ManagerDialog::ManagerDialog(QWidget *parent)
    : QDialog(parent)
    , m_banner(makeBanner(this))
    , m_ok(makeButton(this, "OK", kOkButton, "okButton"))
    , m_close(makeButton(this, "Close", kCloseButton, "closeButton"))
{
    m_ok->setEnabled(false);
    // Return presses OK once a change enables it; a disabled default button takes Return and
    // does nothing, so Return never reaches another button by surprise.
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &ManagerDialog::accept);
    connect(m_close, &QPushButton::clicked, this, &ManagerDialog::reject);
}

void ManagerDialog::layOut(QWidget *tree, QLayout *details, const char *closeName, int widthUnits,
                           int heightUnits)
{
    m_close->setObjectName(QLatin1String(closeName));
    auto *work = new QHBoxLayout;
    work->addWidget(tree, 1);
    work->addLayout(details, 1);
    layOutBesideBanner(this, m_banner, work, m_ok, m_close);
    setUpDialog(this, widthUnits, heightUnits);
}

void ManagerDialog::showEvent(QShowEvent *event)
{
    if (firstShow(m_initialised))
        initDialog();
    QDialog::showEvent(event);
}

void ManagerDialog::setModified()
{
    m_modified = true;
    m_ok->setEnabled(true);
}

bool ManagerDialog::commitChanges(IDataProvider *workingCopy, IDataProvider *reloaded,
                                  const char *pathKey)
{
    if (!m_modified)
        return true;
    const QString path = workingCopyPath(pathKey);
    const CommitResult result = commitWorkingCopy(workingCopy, reloaded, path);
    showCommitFailure(this, result, path);
    return result != CommitResult::SaveFailed;
}

void ManagerDialog::destroyWidgets()
{
    qDeleteAll(findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
    m_banner = nullptr;
    m_ok = nullptr;
    m_close = nullptr;
}

void ManagerDialog::reject()
{
    done(kDialogCancel);
}

} // namespace setupmgr
