#include "import_summary_dlg.h"

#include "common/language.h"
#include "controls/control_factory.h"
#include "controls/dialog_style.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

using namespace setupmgr;

namespace {

QString text(const char *id)
{
    return Common::getString(id, "serverImport");
}

// Ctrl+C copies whole rows, as the Copy button does, not just the current cell.
class RefusedTable final : public QTableWidget
{
public:
    RefusedTable(CImportSummaryDlg *dialog, int rows)
        : QTableWidget(rows, 2, dialog)
        , m_dialog(dialog)
    { }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Copy))
            m_dialog->copyRows();
        else
            QTableWidget::keyPressEvent(event);
    }

private:
    CImportSummaryDlg *m_dialog;
};

} // namespace

CImportSummaryDlg::CImportSummaryDlg(const CsvImportResult &result, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("importSummary"));
    setWindowTitle(text("summaryTitle"));
    m_added = new QLabel(text("added").arg(result.added), this);
    markControl(m_added, -1, "addedLabel");
    m_unknown = new QLabel(
        text("unknownColumns").arg(result.unknownColumns.join(QLatin1String(", "))), this);
    markControl(m_unknown, -1, "unknownColumnsLabel");
    m_unknown->setWordWrap(true);
    m_unknown->setVisible(!result.unknownColumns.isEmpty());
    m_refused = new RefusedTable(this, int(result.refused.size()));
    markControl(m_refused, -1, "refusedTable");
    m_refused->setHorizontalHeaderLabels({text("line"), text("reason")});
    m_refused->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_refused->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_refused->verticalHeader()->hide();
    m_refused->horizontalHeader()->setStretchLastSection(true);
    m_refused->setTabKeyNavigation(false);
    for (int row = 0; row < int(result.refused.size()); ++row) {
        const RefusedRow &refused = result.refused[std::size_t(row)];
        auto *line = new QTableWidgetItem(QString::number(refused.line));
        line->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_refused->setItem(row, 0, line);
        m_refused->setItem(row, 1, new QTableWidgetItem(refusalText(refused, result.columns)));
    }
    m_refused->resizeColumnToContents(0);
    m_refusedLabel = makeLabel(this, "", -1, "refusedLabel", m_refused);
    m_refusedLabel->setText(text("refusedRows"));
    m_refused->setAccessibleName(QString(m_refusedLabel->text()).remove(QLatin1Char('&')));
    m_copy = makeButton(this, "", -1, "copyButton");
    m_copy->setText(text("copy"));
    m_ok = new QPushButton(Common::getString("ok", "common"), this);
    markControl(m_ok, -1, "okButton");
    m_ok->setDefault(true);
    connect(m_copy, &QPushButton::clicked, this, &CImportSummaryDlg::copyRows);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_added);
    layout->addWidget(m_unknown);
    layout->addWidget(m_refusedLabel);
    layout->addWidget(m_refused, 1);
    layout->addLayout(makeButtonRow({m_copy, m_ok}));
    setUpDialog(this, 300, 180);
    m_ok->setFocus();
}

void CImportSummaryDlg::copyRows()
{
    std::set<int> rows;
    for (const QModelIndex &index : m_refused->selectionModel()->selectedRows())
        rows.insert(index.row());
    if (rows.empty()) {
        for (int row = 0; row < m_refused->rowCount(); ++row)
            rows.insert(row);
    }
    QString copied;
    for (const int row : rows)
        copied += m_refused->item(row, 0)->text() + QLatin1Char('\t')
            + m_refused->item(row, 1)->text() + QLatin1Char('\n');
    QApplication::clipboard()->setText(copied);
}
