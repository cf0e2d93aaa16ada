#include "choose_member_dlg.h"

#include "account_images.h"
#include "account_rules.h"
#include "common/language.h"
#include "common/text_field.h"
#include "controls/control_factory.h"
#include "controls/dialog_style.h"
#include "controls/image_list.h"
#include "controls/tree_filter.h"
#include "member_list.h"

#include <ostrel/setup_manager.h>

#include <QAbstractListModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>
#include <vector>

using namespace setupmgr;

// The entries of one side. Thousands of accounts move at once, so a move rebuilds each side in
// one pass instead of taking rows out one by one.
class MemberListModel : public QAbstractListModel
{
public:
    using Entry = setupmgr::MemberEntry;

    MemberListModel(const QList<QIcon> &images, QObject *parent)
        : QAbstractListModel(parent)
        , m_userImage(images.value(kImageUser))
        , m_groupImage(images.value(kImageGroup))
    { }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return QVariant();
        const Entry &entry = m_entries[static_cast<std::size_t>(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            return entry.id;
        case Qt::DecorationRole:
            return entry.kind != MemberUser ? m_groupImage : m_userImage;
        case Qt::UserRole:
            return entry.kind;
        default:
            return QVariant();
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        // A fixed heading; the views do not show it.
        if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QStringLiteral("item");
        return QVariant();
    }

    const std::vector<Entry> &entries() const { return m_entries; }

    void reset(std::vector<Entry> entries)
    {
        beginResetModel();
        m_entries = std::move(entries);
        endResetModel();
    }

    void append(std::vector<Entry> entries)
    {
        if (entries.empty())
            return;
        const int first = rowCount();
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(entries.size()) - 1);
        m_entries.insert(m_entries.end(), std::make_move_iterator(entries.begin()),
                         std::make_move_iterator(entries.end()));
        endInsertRows();
    }

private:
    std::vector<Entry> m_entries;
    QIcon m_userImage;
    QIcon m_groupImage;
};

namespace {

enum ControlId {
    kCandidateLabel = 21175,
    kCandidateList = 21030,
    kAddButton = 21032,
    kAddAllButton = 21033,
    kRemoveButton = 21034,
    kRemoveAllButton = 21035,
    kMemberLabel = 21176,
    kMemberList = 21031,
    kOkButton = 1,
    kCancelButton = 2,
};

QTreeView *makeList(QWidget *parent, QAbstractItemModel *model, int id, const char *name)
{
    auto *view = new QTreeView(parent);
    markControl(view, id, name);
    view->setModel(model);
    view->setHeaderHidden(true);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setItemsExpandable(false);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setIconSize(QSize(16, 16));
    view->header()->setStretchLastSection(true);
    return view;
}

// Enabled once there is something to move.
QPushButton *makeMoveButton(QWidget *parent, const char *text, int id, const char *name)
{
    auto *button = makeButton(parent, text, id, name);
    button->setEnabled(false);
    return button;
}

} // namespace

CChooseMemberDlg::CChooseMemberDlg(QWidget *parent)
    : QDialog(parent)
    , m_images(loadImageList(QLatin1String(kAccountImages)))
{
    setWindowTitle(QStringLiteral("Choose Member"));
    m_candidateModel = new MemberListModel(m_images, this);
    m_memberModel = new MemberListModel(m_images, this);
    m_candidateView = makeList(this, m_candidateModel, kCandidateList, "candidateList");
    m_memberView = makeList(this, m_memberModel, kMemberList, "memberList");
    m_candidateLabel
        = makeLabel(this, "&Account List:", kCandidateLabel, "candidateLabel", m_candidateView);
    m_memberLabel
        = makeLabel(this, "&Selected Account List:", kMemberLabel, "memberLabel", m_memberView);
    m_filter = new TreeFilter(
        m_candidateView,
        [this](const QModelIndex &index, QString *words) {
            if (words) {
                const QString id = index.data(Qt::DisplayRole).toString();
                const bool user = index.data(Qt::UserRole).toInt() == MemberUser;
                *words = id + QLatin1Char('\n') + (user ? m_userNames.value(id) : QString());
            }
            return true;
        },
        "placeholderAccount", this);
    m_add = makeMoveButton(this, ">", kAddButton, "addButton");
    m_addAll = makeMoveButton(this, ">>", kAddAllButton, "addAllButton");
    m_remove = makeMoveButton(this, "<", kRemoveButton, "removeButton");
    m_removeAll = makeMoveButton(this, "<<", kRemoveAllButton, "removeAllButton");
    std::tie(m_ok, m_cancel) = makeOkCancel(this, kOkButton, kCancelButton);

    auto *moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton *button : {m_add, m_addAll, m_remove, m_removeAll})
        moves->addWidget(button);
    moves->addStretch();
    auto *lists = new QGridLayout;
    lists->addWidget(m_candidateLabel, 0, 0);
    lists->addWidget(m_memberLabel, 0, 2);
    lists->addWidget(m_filter, 1, 0);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(m_memberView, 1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(makeButtonRow({m_ok, m_cancel}));
    setUpDialog(this, 260, 169);

    connect(m_add, &QPushButton::clicked, this, &CChooseMemberDlg::moveSelectedToMembers);
    connect(m_remove, &QPushButton::clicked, this, &CChooseMemberDlg::moveSelectedToCandidates);
    connect(m_addAll, &QPushButton::clicked, this, &CChooseMemberDlg::chooseAll);
    connect(m_removeAll, &QPushButton::clicked, this, &CChooseMemberDlg::removeAll);
    connect(m_candidateView, &QAbstractItemView::doubleClicked, this,
            &CChooseMemberDlg::moveSelectedToMembers);
    connect(m_memberView, &QAbstractItemView::doubleClicked, this,
            &CChooseMemberDlg::moveSelectedToCandidates);
    for (QTreeView *view : {m_candidateView, m_memberView})
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &CChooseMemberDlg::updateButtons);
}

CChooseMemberDlg::~CChooseMemberDlg() = default;

void CChooseMemberDlg::SetSources(IAccountProvider *candidates, PointerSeq<MemberRecord> *members,
                                  const char *ownGroupId)
{
    m_candidates = candidates;
    m_members = members;
    m_ownGroupId = QByteArray(ownGroupId);
}

void CChooseMemberDlg::showEvent(QShowEvent *event)
{
    if (firstShow(m_initialised))
        initDialog();
    QDialog::showEvent(event);
}

void CChooseMemberDlg::initDialog()
{
    std::vector<MemberEntry> members;
    if (m_members) {
        members.reserve(seqSize(*m_members));
        for (std::size_t i = 0, n = seqSize(*m_members); i < n; ++i) {
            if (const MemberRecord *member = m_members->first[i])
                members.push_back(memberEntry(*member));
        }
    }
    m_candidateModel->reset(candidateAccounts(m_candidates, chosenIds(members), ownGroupId()));
    m_memberModel->reset(std::move(members));
    updateButtons();
    // The candidates are found by a user's name too.
    const std::int32_t userCount = m_candidates ? m_candidates->getUserCount() : 0;
    for (std::int32_t i = 0; i < userCount; ++i) {
        UserRecord *user = nullptr;
        if (m_candidates->getUser(i, &user) && user)
            m_userNames.insert(fieldString(user->id), fieldString(user->name));
    }
    m_filter->refresh();

    m_candidateLabel->setText(Common::getString("accountList", "chooseMember"));
    m_memberLabel->setText(Common::getString("selectedAccountList", "chooseMember"));
    nameAfterLabel(m_candidateView, m_candidateLabel);
    nameAfterLabel(m_memberView, m_memberLabel);
    m_ok->setText(Common::getString("ok", "common"));
    m_cancel->setText(Common::getString("cancel", "common"));
}

const char *CChooseMemberDlg::ownGroupId() const
{
    return m_ownGroupId.isEmpty() ? nullptr : m_ownGroupId.constData();
}

void CChooseMemberDlg::moveSelected(QTreeView *fromView, MemberListModel *from, MemberListModel *to)
{
    // The selection's ranges, not selectedRows(): that asks every range about every row, which
    // is quadratic when thousands of scattered entries are selected.
    const QItemSelection selection = fromView->selectionModel()->selection();
    const std::size_t size = from->entries().size();
    std::vector<char> isSelected(size, 0);
    std::size_t count = 0;
    for (const QItemSelectionRange &range : selection) {
        for (int row = std::max(range.top(), 0);
             row <= range.bottom() && static_cast<std::size_t>(row) < size; ++row) {
            count += isSelected[static_cast<std::size_t>(row)] ? 0 : 1;
            isSelected[static_cast<std::size_t>(row)] = 1;
        }
    }
    if (count == 0)
        return;
    // The selected entries keep their order and go after the existing ones.
    std::vector<MemberEntry> kept;
    std::vector<MemberEntry> moved;
    kept.reserve(size - count);
    moved.reserve(count);
    for (std::size_t i = 0; i < size; ++i)
        (isSelected[i] ? moved : kept).push_back(from->entries()[i]);
    from->reset(std::move(kept));
    to->append(std::move(moved));
    updateButtons();
}

void CChooseMemberDlg::moveSelectedToMembers()
{
    moveSelected(m_candidateView, m_candidateModel, m_memberModel);
}

void CChooseMemberDlg::moveSelectedToCandidates()
{
    moveSelected(m_memberView, m_memberModel, m_candidateModel);
}

void CChooseMemberDlg::moveAll(MemberListModel *from, MemberListModel *to)
{
    // The target is rebuilt from the accounts and the other side emptied; when the client fails
    // to give every account, the entries move instead, so that no member is dropped for a read
    // that failed.
    bool complete = false;
    std::vector<MemberEntry> all = candidateAccounts(m_candidates, {}, ownGroupId(), &complete);
    if (complete)
        to->reset(std::move(all));
    else
        to->append(from->entries());
    from->reset({});
    updateButtons();
}

void CChooseMemberDlg::chooseAll()
{
    moveAll(m_candidateModel, m_memberModel);
}

void CChooseMemberDlg::removeAll()
{
    moveAll(m_memberModel, m_candidateModel);
}

void CChooseMemberDlg::updateButtons()
{
    const bool candidates = m_candidateModel->rowCount() > 0;
    const bool members = m_memberModel->rowCount() > 0;
    m_add->setEnabled(candidates && m_candidateView->selectionModel()->hasSelection());
    m_remove->setEnabled(members && m_memberView->selectionModel()->hasSelection());
    m_addAll->setEnabled(candidates);
    m_removeAll->setEnabled(members);
}

void CChooseMemberDlg::accept()
{
    if (m_members)
        setupmgr::replaceMembers(*m_members, m_memberModel->entries());
    done(kDialogOk);
}

void CChooseMemberDlg::reject()
{
    done(kDialogCancel);
}
