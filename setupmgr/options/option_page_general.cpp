#include "option_page_general.h"

#include "common/folders.h"
#include "common/language.h"
#include "common/module_log.h"
#include "common/text_field.h"
#include "controls/control_factory.h"
#include "controls/dialog_style.h"
#include "controls/image_list.h"
#include "option_rules.h"
#include "optiontree/tree_options_ddx.h"
#include "optiontree/tree_options_edit.h"
#include "optiontree/tree_options_spin_ctrl.h"

#include <ostrel/languages.h>
#include <ostrelini/ini_file.h>

#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <iterator>

using setupmgr::DataExchange;

namespace {

// The rows are the installation's languages in order; a row's position is its index.
using ostrel::kInstallationLanguages;

constexpr char kTextCategory[] = "optionGeneral";
constexpr char kImages[] = ":/ostrel/options/option_page_images.png";
constexpr int kImageWidth = 20;
enum Image { kValueImage = 0, kCollapsedImage = 1, kExpandedImage = 2 };

// The template: 320 by 240 dialog units, the tree over all of it but the last two units.
constexpr int kPageWidth = 320;
constexpr int kPageHeight = 240;
constexpr int kTreeMargin = 2;

// The DirectX version lives in the client's main ini file, not in the option record.
const QString kIniName = QStringLiteral("ostrel.ini");
constexpr char16_t kDirectXSection[] = u"DirectX";
constexpr char16_t kVersionKey[] = u"Version";

QString text(const char *id)
{
    return Common::getString(id, kTextCategory);
}

QString ostrelIni()
{
    return Common::getFolderPath(FolderKind::Config, kIniName);
}

} // namespace

COptionPageGeneral::COptionPageGeneral(QWidget *parent)
    : CPropertyPage(QStringLiteral("General"), parent)
    , m_tree(new CTreeOptionsCtrl(this))
    , m_languageIndex(setupmgr::languageIndex(Common::getLanguage()))
{
    setObjectName(QStringLiteral("optionPageGeneral"));
    SetHasHelp(false);
    setupmgr::markControl(m_tree, kTreeId, "optionTree");
    const QString caption = Common::getString("General", "option");
    m_tree->setAccessibleName(caption.isEmpty() ? GetCaption() : caption);
    setMinimumSize(setupmgr::unitsX(kPageWidth), setupmgr::unitsY(kPageHeight));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, setupmgr::unitsX(kTreeMargin), setupmgr::unitsY(kTreeMargin));
    layout->addWidget(m_tree);

    m_tree->SetEditorCallback(&COptionPageGeneral::EditorNotifyCallback, this);
    connect(m_tree, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem *row) { onExpandChanged(row, true); });
    connect(m_tree, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem *row) { onExpandChanged(row, false); });
}

COptionPageGeneral::~COptionPageGeneral() = default;

void COptionPageGeneral::SetWorkingCopy(IDataProvider *workingCopy)
{
    m_workingCopy = workingCopy && workingCopy->getKind() == ProviderKind::Option
        ? static_cast<IOptionProvider *>(workingCopy)
        : nullptr;
    // The copy is the sheet's alone and is neither cleared nor reloaded while the page lives, so
    // its record stays where it is. Read once, no later failure of the copy can drop a change
    // the page has already accepted.
    OptionRecord *record = nullptr;
    m_options = m_workingCopy && m_workingCopy->getOptions(&record) ? record : nullptr;
}

bool COptionPageGeneral::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_images = setupmgr::loadImageList(QLatin1String(kImages), kImageWidth);
    m_tree->SetImageList(m_images, QSize(kImageWidth, kImageWidth));
    return true;
}

bool COptionPageGeneral::OnApply()
{
    if (m_modified && m_workingCopy) {
        if (OptionRecord *record = m_options) {
            bool autoConnect = false;
            m_tree->GetCheckBox(m_autoConnectRow, &autoConnect);
            setupmgr::storeAutoConnect(*record, autoConnect);
            int language = 0;
            QTreeWidgetItem *checked = nullptr;
            if (!m_tree->GetRadioButton(m_languageGroup, &language, &checked))
                language = 0;
            // The rows show the installation's language, which the record takes as shown.
            setupmgr::setField(record->language, setupmgr::languageCode(language));
        }
        QTreeWidgetItem *checked = nullptr;
        m_tree->GetRadioButton(m_directXGroup, &m_directXIndex, &checked);
        const QString version = setupmgr::directXVersion(m_directXIndex);
        if (!ostrelini::IniFile::writeString(ostrelIni(), kDirectXSection, kVersionKey, version))
            Common::writeLog("Writing the DirectX version to %s failed",
                             qUtf8Printable(ostrelIni()));
    }
    setPageModified(false);
    return CPropertyPage::OnApply();
}

bool COptionPageGeneral::OnKillActive()
{
    if (m_modified)
        OnApply();
    return CPropertyPage::OnKillActive();
}

bool COptionPageGeneral::DoDataExchange(bool saving)
{
    const DataExchange direction = saving ? DataExchange::Save : DataExchange::Load;
    if (saving)
        m_tree->CommitAndCloseEditors();
    else
        buildRows();

    if (OptionRecord *record = m_options) {
        bool autoConnect = record->alarmServiceAutoConnect != 0;
        DDX_TreeCheck(direction, m_tree, m_autoConnectRow, autoConnect);
        if (saving)
            setupmgr::storeAutoConnect(*record, autoConnect);
        // Saved, the text is not used: the polling time reaches the record when its editor
        // closes, clamped to the host's bounds.
        QString pollingTime = QString::number(record->alarmServicePollingTime);
        DDX_TreeEdit(direction, m_tree, m_pollingTimeRow, pollingTime);
    }
    DDX_TreeRadio(direction, m_tree, m_languageGroup, m_languageIndex);
    // Saved, the index is not used: apply reads the rows itself.
    int directX = setupmgr::directXIndex(ostrelini::IniFile::readInt(
        ostrelIni(), kDirectXSection, kVersionKey, setupmgr::kDefaultDirectXVersion));
    DDX_TreeRadio(direction, m_tree, m_directXGroup, directX);
    return true;
}

void COptionPageGeneral::buildRows()
{
    // Rebuilding closes an open editor; that is no change of the user's.
    const QScopedValueRollback filling(m_filling, true);
    m_tree->DeleteAllItems();

    m_alarmGroup = m_tree->InsertGroup(text("alarmGroup"), kCollapsedImage);
    m_tree->SetItemImage(m_alarmGroup, kExpandedImage, kExpandedImage);
    m_autoConnectRow = m_tree->InsertCheckBox(text("alarmServiceAutoConnect"), m_alarmGroup);
    m_pollingTimeRow = m_tree->InsertItem(text("alarmServiceConnectPollingTime"), kValueImage,
                                          kValueImage, m_alarmGroup);
    m_tree->AddSpinEditBox(m_pollingTimeRow, &CTreeOptionsEdit::staticMetaObject,
                           &CTreeOptionsSpinCtrl::staticMetaObject);

    m_languageGroup = m_tree->InsertGroup(text("languageGroup"), kCollapsedImage);
    m_tree->SetItemImage(m_languageGroup, kExpandedImage, kExpandedImage);
    for (int i = 0; i < int(std::size(kInstallationLanguages)); ++i)
        m_languageRows[i]
            = m_tree->InsertRadioButton(text(kInstallationLanguages[i].textId), m_languageGroup);

    m_directXGroup = m_tree->InsertGroup(QStringLiteral("DirectX Version"), kCollapsedImage);
    m_tree->SetItemImage(m_directXGroup, kExpandedImage, kExpandedImage);
    m_directX9Row
        = m_tree->InsertRadioButton(QStringLiteral("DirectX 9 (Default)"), m_directXGroup);
    m_directX7Row = m_tree->InsertRadioButton(QStringLiteral("DirectX 7"), m_directXGroup);

    for (QTreeWidgetItem *group : {m_alarmGroup, m_languageGroup, m_directXGroup})
        group->setExpanded(true);
}

void COptionPageGeneral::EditorNotifyCallback(EditorNotifyCode code, QTreeWidgetItem *row,
                                              QWidget *first, QWidget *second, void *userValue)
{
    static_cast<COptionPageGeneral *>(userValue)->onEditorNotify(code, row, first, second);
}

void COptionPageGeneral::onEditorNotify(EditorNotifyCode code, QTreeWidgetItem *row, QWidget *first,
                                        QWidget *second)
{
    if (m_filling)
        return;
    OptionRecord *record = m_options;
    const bool pollingTime = row && row == m_pollingTimeRow;
    switch (code) {
    case EditorNotifyCode::EditorCreated:
        if (!pollingTime)
            return;
        if (auto *edit = qobject_cast<CTreeOptionsEdit *>(first))
            edit->ModifyStyle(0, setupmgr::editorstyle::kEditNumber);
        if (auto *spin = qobject_cast<CTreeOptionsSpinCtrl *>(second); spin && record)
            spin->SetRange(record->alarmServicePollingMin, record->alarmServicePollingMax);
        return;
    case EditorNotifyCode::EditorClosing:
        if (pollingTime && record) {
            if (auto *edit = qobject_cast<QLineEdit *>(first))
                record->alarmServicePollingTime = setupmgr::pollingTimeOf(edit->text(), *record);
        }
        setPageModified(true);
        return;
    case EditorNotifyCode::OptionToggled:
        setPageModified(true);
        return;
    }
}

void COptionPageGeneral::onExpandChanged(QTreeWidgetItem *row, bool expanded)
{
    const int image = expanded ? kExpandedImage : kCollapsedImage;
    m_tree->SetItemImage(row, image, image);
}

void COptionPageGeneral::setPageModified(bool modified)
{
    m_modified = modified;
    SetModified(modified);
}
