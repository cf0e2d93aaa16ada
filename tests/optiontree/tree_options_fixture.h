// An option tree in a shown, active window beside another widget of the same window, with a
// recording editor callback and a themes library, as a dialog holds one.
#pragma once

#include "controls/theme_library.h"
#include "optiontree/tree_options_ctrl.h"
#include "optiontree/tree_options_edit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <tuple>
#include <vector>

struct EditorCall
{
    EditorNotifyCode code;
    QTreeWidgetItem *row;
    QWidget *first;
    QWidget *second;
    bool operator==(const EditorCall &other) const
    {
        return std::tie(code, row, first, second)
            == std::tie(other.code, other.row, other.first, other.second);
    }
};

class TreeOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        auto *layout = new QHBoxLayout(window.get());
        tree = new CTreeOptionsCtrl(window.get());
        other = new QLineEdit(window.get());
        other->setObjectName(QStringLiteral("other"));
        layout->addWidget(tree);
        layout->addWidget(other);
        tree->SetEditorCallback(&TreeOptionsTest::recordCall, this);
        QList<QIcon> images;
        for (const QColor colour : {QColor(0, 0, 255), QColor(255, 255, 0), QColor(255, 200, 0)}) {
            QPixmap cell(20, 20);
            cell.fill(colour);
            images << QIcon(cell);
        }
        tree->SetImageList(images, QSize(20, 20));
        window->resize(480, 320);
    }

    void TearDown() override
    {
        window.reset();
        settle();
    }

    void show()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        tree->setFocus();
    }

    // Closed editors go at the next turn of the event loop.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    static void recordCall(EditorNotifyCode code, QTreeWidgetItem *row, QWidget *first,
                           QWidget *second, void *user)
    {
        static_cast<TreeOptionsTest *>(user)->calls.push_back({code, row, first, second});
    }

    QTreeWidgetItem *valueRow(const QString &label, const QString &value, QTreeWidgetItem *parent)
    {
        QTreeWidgetItem *row = tree->InsertItem(label, 0, 0, parent);
        tree->AddEditBox(row, &CTreeOptionsEdit::staticMetaObject);
        tree->SetEditText(row, value);
        return row;
    }

    ThemeLibrary themes;
    std::unique_ptr<QWidget> window;
    CTreeOptionsCtrl *tree = nullptr;
    QLineEdit *other = nullptr;
    std::vector<EditorCall> calls;
};

// Readable failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
