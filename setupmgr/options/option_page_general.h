// The General page of the option sheet: the alarm service, the user-interface language and the
// DirectX version, as rows of an option tree. The first two live in the option record of the
// working copy; the DirectX version lives in Config/ostrel.ini, which the page's apply writes
// itself.
#pragma once

#include "optiontree/tree_options_ctrl.h"
#include "sheet/property_page.h"

#include <ostrel/data_provider.h>
#include <ostrel/languages.h>

#include <QIcon>
#include <QList>

#include <iterator>

class COptionPageGeneral : public CPropertyPage
{
    Q_OBJECT

public:
    // The tree's control id.
    enum : int { kTreeId = 21118 };

    // The language index starts from the installation's language.
    explicit COptionPageGeneral(QWidget *parent = nullptr);
    ~COptionPageGeneral() override;

    // Kept only when it is an option provider (its kind is 7); otherwise the page keeps none.
    // The page does not own it. Its option record is read once, here.
    void SetWorkingCopy(IDataProvider *workingCopy);
    IOptionProvider *GetWorkingCopy() const { return m_workingCopy; }
    // The working copy's option record; null without a copy or when the copy gave none.
    OptionRecord *GetOptions() const { return m_options; }

    CTreeOptionsCtrl *GetTree() const { return m_tree; }

    bool OnInitDialog() override;
    // Writes what changed: the auto-connect flag and the language into the record, the DirectX
    // version into the ini file. Nothing when nothing changed.
    bool OnApply() override;
    bool OnKillActive() override;

protected:
    // Loading rebuilds the rows; saving first takes an open editor's value.
    bool DoDataExchange(bool saving) override;

private:
    static void EditorNotifyCallback(EditorNotifyCode code, QTreeWidgetItem *row, QWidget *first,
                                     QWidget *second, void *userValue);
    void onEditorNotify(EditorNotifyCode code, QTreeWidgetItem *row, QWidget *first,
                        QWidget *second);
    void onExpandChanged(QTreeWidgetItem *row, bool expanded);
    void setPageModified(bool modified);
    void buildRows();

    CTreeOptionsCtrl *m_tree;
    IOptionProvider *m_workingCopy = nullptr;
    OptionRecord *m_options = nullptr;
    bool m_modified = false;
    QTreeWidgetItem *m_alarmGroup = nullptr;
    QTreeWidgetItem *m_autoConnectRow = nullptr;
    QTreeWidgetItem *m_pollingTimeRow = nullptr;
    QTreeWidgetItem *m_languageGroup = nullptr;
    QTreeWidgetItem *m_languageRows[std::size(ostrel::kInstallationLanguages)] = {};
    int m_languageIndex = 1;
    QTreeWidgetItem *m_directXGroup = nullptr;
    QTreeWidgetItem *m_directX9Row = nullptr;
    QTreeWidgetItem *m_directX7Row = nullptr;
    int m_directXIndex = 0;
    QList<QIcon> m_images;
    // Set while the rows are rebuilt: closing an editor then is no change of the user's.
    bool m_filling = false;
};
