// The edit box that the option tree opens over a value row. A row names it, or a class derived
// from it, by its meta-object; the tree creates it through its invokable constructor.
#pragma once

#include "tree_options_focus.h"
#include "tree_options_multi_line_frame.h"
#include "tree_options_styles.h"

#include <QLineEdit>
#include <QPointer>

class CTreeOptionsEdit : public setupmgr::OptionEditor<QLineEdit>
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CTreeOptionsEdit(QWidget *parent = nullptr);

    // Set by the tree when it opens the editors; the edit owns none of them.
    void setMasked(bool masked) { m_masked = masked; }
    bool isMasked() const { return m_masked; }
    void setMultiLineFrame(CMultiLineEditFrameWnd *frame) { m_frame = frame; }
    CMultiLineEditFrameWnd *multiLineFrame() const { return m_frame; }
    // Set while a file or folder chooser of the "..." button runs.
    void setBrowsing(bool browsing) { m_browsing = browsing; }
    bool isBrowsing() const { return m_browsing; }

    // The style the edit is made with; the tree adds the password bit for masked rows.
    virtual setupmgr::editorstyle::Style GetEditorStyle() const;
    // The edit's height for a label of that height: the label's, at least 20.
    virtual int GetEditorHeight(int labelHeight) const;
    // The folder and file choosers of the "..." button; on OK the edit's text becomes the
    // chosen path. False when cancelled.
    virtual bool PickFolder(const QString &initialText);
    virtual bool PickFile(const QString &initialText);
    virtual QString GetFolderPickerTitle() const;
    virtual QString GetFilePickerTitle() const;
    virtual QString GetFileFilter() const;
    // The row's display of a value: its first line followed by "..." when it has more.
    virtual QString FormatValue(const QString &text) const;

    // The style bits the edit honours now: password, digits only, automatic scrolling.
    void ModifyStyle(setupmgr::editorstyle::Style remove, setupmgr::editorstyle::Style add);
    setupmgr::editorstyle::Style editorStyle() const { return m_style; }

    // Its spin control or "..." button and its multi-line frame keep the edit open.
    bool keepsEditFor(const QWidget *window) const override;

protected:
    // Tab goes to the "..." button beside the edit when it has one.
    QWidget *tabTarget() const override;
    bool event(QEvent *event) override;

private:
    bool m_masked = false;
    QPointer<CMultiLineEditFrameWnd> m_frame;
    bool m_browsing = false;
    setupmgr::editorstyle::Style m_style = 0;
};

namespace setupmgr {

// The number at the start of an edit's text as atol reads it: blanks, a sign, digits; 0 without
// digits, and held within 32 bits and one, so that a bound clamps it either way.
qint64 leadingNumber(const QString &text);
// The one clamp of a number to its bounds: raised to lower when below it, else lowered to upper
// when above it; so with lower above upper every value ends on a bound. The tree's spin rows
// order their bounds first; the General page stores the record's bounds as the host gave them.
qint64 heldInBounds(qint64 value, qint64 lower, qint64 upper);

} // namespace setupmgr
