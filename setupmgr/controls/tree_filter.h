// The find field of a long tree or list: a field and a count ("12 of 5,000") over the view.
// Typing hides the rows whose words do not hold the text, ignoring case; a row that holds others
// (a root, a folder) shows while one of its rows does, and the part of a row's text that matches
// is marked. Filtering only hides rows: the model and the data behind it stay as they are.
//
// Ctrl+F anywhere in the window focuses the field, Down in it moves to the first row shown, and
// Escape clears it; with the field empty, Escape does what it did before (closes the dialog).
// The current row is never a hidden one: when the filter hides it, the top-level holder (the
// root) becomes current, or none in a flat list, and hidden rows leave the selection.
#pragma once

#include <QLocale>
#include <QModelIndex>
#include <QWidget>

#include <functional>
#include <vector>

class CNodeTreeCtrl;
class QLabel;
class QLineEdit;
class QTreeView;

namespace setupmgr {

class TreeFilter : public QWidget
{
    Q_OBJECT

public:
    // False for a row that only holds others. For a row the filter matches, true, and when
    // words is given, the texts it is found by, one per line.
    using RowWords = std::function<bool(const QModelIndex &index, QString *words)>;

    // Takes view into its own layout, under the field; placeholderId names the field's
    // placeholder text in the language file. parent's window gets the keys.
    TreeFilter(QTreeView *view, RowWords rowWords, const char *placeholderId, QWidget *parent);
    // The find field of a node tree, which gives the rows' words and the total it knows while it
    // fills, so that no change of the model walks the whole model to count the rows.
    TreeFilter(CNodeTreeCtrl *tree, const char *placeholderId, QWidget *parent);
    ~TreeFilter() override;

    bool isFiltering() const;
    // Empties the field: every row shows again.
    void clear();
    // Reads the rows' words again and filters anew: for a record changed in place, which the
    // model does not announce.
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row
    {
        QModelIndex index;
        QModelIndex parent;
        int holder;   // the row of m_rows that holds this one, or -1 at the top
        bool matched; // a row the filter matches, not one that only holds others
        bool hidden;  // as the view has it
        QString words;
    };

    void apply();
    void readRows();
    void readRowsUnder(const QModelIndex &parent, int holder);
    int countUnder(const QModelIndex &parent) const;
    void readWords();
    void setShown(const QString &needle);
    void keepSelectionVisible();
    bool isHiddenInView(QModelIndex index) const;
    QModelIndex firstShownMatch() const;
    void showCount();
    void onModelChanged();

    QTreeView *m_view;
    RowWords m_rowWords;
    CNodeTreeCtrl *m_nodeTree = nullptr;
    QLineEdit *m_edit;
    QLabel *m_count;
    QString m_countFormat;
    QLocale m_locale;
    std::vector<Row> m_rows;
    bool m_rowsRead = false;
    bool m_wordsRead = false;
    bool m_applying = false;
    // Matched rows shown, and in all.
    int m_shown = 0;
    int m_total = 0;
};

} // namespace setupmgr
