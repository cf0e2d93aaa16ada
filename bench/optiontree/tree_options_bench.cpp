// The option tree at scale. Each benchmark times the tree's work and, in the same iteration,
// bare Qt doing the same visible work; the "ratio" counter is the tree's time over bare time.
#include "controls/theme_library.h"
#include "optiontree/tree_options_ctrl.h"
#include "optiontree/tree_options_edit.h"
#include "optiontree/tree_options_spin_ctrl.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QSpinBox>
#include <QTreeWidget>

#include "support/bench_support.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>

namespace {

constexpr int kGroups = 200;
constexpr int kRowsPerGroup = 50;
constexpr int kOpenings = 1000;

using benchsupport::seconds;

// Paints what is pending and deletes closed editors.
void settle()
{
    benchsupport::settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void report(benchmark::State &state, double subject, double bare)
{
    state.counters["ratio"] = subject / bare;
    state.counters["bare_us"] = 1e6 * bare / static_cast<double>(state.iterations());
}

const QList<QIcon> &images()
{
    static const QList<QIcon> list = [] {
        QList<QIcon> icons;
        for (const QColor colour : {QColor(0, 0, 255), QColor(255, 255, 0), QColor(255, 200, 0)}) {
            QPixmap cell(20, 20);
            cell.fill(colour);
            icons << QIcon(cell);
        }
        return icons;
    }();
    return list;
}

QString rowText(int group, int row)
{
    return QStringLiteral("Option %1.%2").arg(group).arg(row);
}

// Rows of a group in turn: a check box, a radio button, a value row.
enum class RowKind { Check, Radio, Value };
RowKind kindOf(int row)
{
    return static_cast<RowKind>(row % 3);
}

const QString &value()
{
    static const QString text = QStringLiteral("30");
    return text;
}

// 200 groups of 50 mixed rows, expanded and painted once.
void BuildTree(benchmark::State &state)
{
    double subject = 0;
    double bare = 0;
    for (auto _ : state) {
        bare += seconds([] {
            QTreeWidget tree;
            tree.setHeaderHidden(true);
            tree.setUniformRowHeights(true);
            tree.setIconSize(QSize(20, 20));
            for (int g = 0; g < kGroups; ++g) {
                auto *group = new QTreeWidgetItem(QStringList {QStringLiteral("Group %1").arg(g)});
                group->setIcon(0, images().at(1));
                tree.addTopLevelItem(group);
                for (int r = 0; r < kRowsPerGroup; ++r) {
                    const QString text = kindOf(r) == RowKind::Value
                        ? rowText(g, r) % QLatin1String(": ") % value()
                        : rowText(g, r);
                    auto *row = new QTreeWidgetItem(QStringList {text});
                    row->setIcon(0, images().at(0));
                    group->addChild(row);
                }
            }
            tree.expandAll();
            tree.show();
            settle();
        });
        const double took = seconds([] {
            CTreeOptionsCtrl tree;
            tree.SetImageList(images(), QSize(20, 20));
            for (int g = 0; g < kGroups; ++g) {
                QTreeWidgetItem *group = tree.InsertGroup(QStringLiteral("Group %1").arg(g), 1);
                for (int r = 0; r < kRowsPerGroup; ++r) {
                    switch (kindOf(r)) {
                    case RowKind::Check:
                        tree.InsertCheckBox(rowText(g, r), group, r % 2 == 0);
                        break;
                    case RowKind::Radio:
                        tree.InsertRadioButton(rowText(g, r), group, r % 2 == 0);
                        break;
                    case RowKind::Value: {
                        QTreeWidgetItem *row = tree.InsertItem(rowText(g, r), 0, 0, group);
                        tree.AddSpinEditBox(row, &CTreeOptionsEdit::staticMetaObject,
                                            &CTreeOptionsSpinCtrl::staticMetaObject);
                        tree.SetEditText(row, value());
                        break;
                    }
                    }
                }
            }
            tree.expandAll();
            tree.show();
            settle();
        });
        subject += took;
        state.SetIterationTime(took);
    }
    report(state, subject, bare);
}

// A group of N rows under one parent, shown.
struct Group
{
    explicit Group(int rows, bool radio)
    {
        tree.SetImageList(images(), QSize(20, 20));
        parent = radio ? tree.InsertGroup(QStringLiteral("Group"), 1)
                       : tree.InsertCheckBox(QStringLiteral("All"), nullptr, false);
        for (int i = 0; i < rows; ++i) {
            if (radio)
                tree.InsertRadioButton(QStringLiteral("Radio %1").arg(i), parent, false);
            else
                tree.InsertCheckBox(QStringLiteral("Box %1").arg(i), parent, false);
        }
        // The bare tree is set up as the option tree sets itself up.
        bare.setHeaderHidden(true);
        bare.setUniformRowHeights(true);
        bare.setIconSize(QSize(20, 20));
        bareParent = new QTreeWidgetItem(QStringList {QStringLiteral("Group")});
        bare.addTopLevelItem(bareParent);
        for (int i = 0; i < rows; ++i) {
            auto *row = new QTreeWidgetItem(QStringList {QStringLiteral("Row %1").arg(i)});
            row->setCheckState(0, Qt::Unchecked);
            bareParent->addChild(row);
        }
        tree.expandAll();
        bare.expandAll();
        tree.show();
        bare.show();
        settle();
    }

    CTreeOptionsCtrl tree;
    QTreeWidget bare;
    QTreeWidgetItem *parent = nullptr;
    QTreeWidgetItem *bareParent = nullptr;
};

// Selecting the radio row at an index, then reading which one is checked, against a bare loop
// that sets the same check states and finds the checked one.
void RadioByIndex(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    Group group(rows, true);
    double subject = 0;
    double bare = 0;
    int step = 0;
    for (auto _ : state) {
        const int chosen = (step++ * 7919) % rows;
        bare += seconds([&] {
            for (int i = 0; i < rows; ++i)
                group.bareParent->child(i)->setCheckState(
                    0, i == chosen ? Qt::Checked : Qt::Unchecked);
            int found = -1;
            for (int i = 0; i < rows && found < 0; ++i) {
                if (group.bareParent->child(i)->checkState(0) == Qt::Checked)
                    found = i;
            }
            benchmark::DoNotOptimize(found);
            settle();
        });
        const double took = seconds([&] {
            group.tree.SetRadioButton(group.parent, chosen);
            int index = -1;
            QTreeWidgetItem *row = nullptr;
            group.tree.GetRadioButton(group.parent, &index, &row);
            benchmark::DoNotOptimize(index);
            settle();
        });
        subject += took;
        state.SetIterationTime(took);
    }
    state.SetComplexityN(rows);
    report(state, subject, bare);
}

// A parent check box toggled, every child following it, against a bare loop that sets the same
// check states.
void ToggleParent(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    Group group(rows, false);
    double subject = 0;
    double bare = 0;
    bool on = false;
    for (auto _ : state) {
        on = !on;
        bare += seconds([&] {
            for (int i = 0; i < rows; ++i)
                group.bareParent->child(i)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
            settle();
        });
        const double took = seconds([&] {
            group.tree.userToggle(group.parent);
            settle();
        });
        subject += took;
        state.SetIterationTime(took);
    }
    state.SetComplexityN(rows);
    report(state, subject, bare);
}

// Opening and closing the spin edit of a row, against making and deleting a bare line edit and
// spin box beside each other on the same tree. Posted events are handled after each, as the
// event loop would, so that neither side pays for a queue the other left behind.
void OpenCloseSpinEdit(benchmark::State &state)
{
    CTreeOptionsCtrl tree;
    tree.SetImageList(images(), QSize(20, 20));
    QTreeWidgetItem *row = tree.InsertItem(QStringLiteral("Polling time"), 0, 0);
    tree.AddSpinEditBox(row, &CTreeOptionsEdit::staticMetaObject,
                        &CTreeOptionsSpinCtrl::staticMetaObject);
    tree.SetEditText(row, value());
    tree.resize(400, 300);
    tree.show();
    settle();
    const QRect label = tree.labelRect(row);
    double subject = 0;
    double bare = 0;
    for (auto _ : state) {
        bare += seconds([&] {
            for (int i = 0; i < kOpenings; ++i) {
                auto *edit = new QLineEdit(value(), tree.viewport());
                auto *spin = new QSpinBox(tree.viewport());
                edit->setGeometry(label.right() + 10, label.top(), 200, label.height());
                spin->setGeometry(label.right() + 210, label.top(), 20, label.height());
                edit->show();
                spin->show();
                delete spin;
                delete edit;
                QCoreApplication::sendPostedEvents();
            }
        });
        const double took = seconds([&] {
            for (int i = 0; i < kOpenings; ++i) {
                tree.CreateEditors(row);
                tree.CommitAndCloseEditors();
                QCoreApplication::sendPostedEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
        });
        subject += took;
        state.SetIterationTime(took / kOpenings);
    }
    state.counters["ratio"] = subject / bare;
    state.counters["bare_us"] = 1e6 * bare / kOpenings / static_cast<double>(state.iterations());
}

BENCHMARK(BuildTree)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(RadioByIndex)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Arg(250)
    ->Arg(1000)
    ->Arg(4000)
    ->Complexity(benchmark::oN)
    ->Iterations(200);
BENCHMARK(ToggleParent)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Arg(250)
    ->Arg(1000)
    ->Arg(4000)
    ->Complexity(benchmark::oN)
    ->Iterations(200);
BENCHMARK(OpenCloseSpinEdit)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::runBenchmarks(argc, argv, nullptr, [] {
        Group warm(10, false);
        warm.tree.setCurrentItem(warm.parent);
    });
}
