// What an import of recorders did: how many were added, the columns it did not know, and every
// refused row with its line and reason in a table the user can copy.
#pragma once

#include "recorder_csv.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

class CImportSummaryDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CImportSummaryDlg(const setupmgr::CsvImportResult &result, QWidget *parent = nullptr);

    // Puts the selected rows, or every row when none is selected, on the clipboard: line and
    // reason separated by a tab, one row a line.
    void copyRows();

private:
    QLabel *m_added;
    QLabel *m_unknown;
    QLabel *m_refusedLabel;
    QTableWidget *m_refused;
    QPushButton *m_copy;
    QPushButton *m_ok;
};
