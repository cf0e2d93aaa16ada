#include "property_page.h"

#include <utility>

CPropertyPage::CPropertyPage(const QString &caption, QWidget *parent)
    : QWidget(parent)
{
    SetCaption(caption);
}

CPropertyPage::~CPropertyPage() = default;

void CPropertyPage::SetCaption(const QString &caption)
{
    m_caption = caption;
    setAccessibleName(caption);
}

void CPropertyPage::SetModified(bool changed)
{
    if (m_modified == changed)
        return;
    m_modified = changed;
    emit modifiedChanged(changed);
}

bool CPropertyPage::OnInitDialog()
{
    return UpdateData(false);
}

bool CPropertyPage::OnSetActive()
{
    // The first activation follows OnInitDialog, which has just filled the controls.
    if (std::exchange(m_firstSetActive, false))
        return true;
    return UpdateData(false);
}

bool CPropertyPage::OnKillActive()
{
    return UpdateData(true);
}

bool CPropertyPage::OnApply()
{
    return true;
}

void CPropertyPage::OnCancel() { }

bool CPropertyPage::UpdateData(bool saving)
{
    return DoDataExchange(saving);
}

bool CPropertyPage::DoDataExchange(bool)
{
    return true;
}

bool CPropertyPage::initialise()
{
    if (m_initialised)
        return true;
    m_initialised = true;
    return OnInitDialog();
}
