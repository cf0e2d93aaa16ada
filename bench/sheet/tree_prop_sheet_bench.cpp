// Switching pages in a tree property sheet of 50 pages, against a bare QStackedWidget holding the
// same pages, switched and repainted in the same iteration. The "ratio" counter is sheet time
// over bare time per switch.
#include "common/language.h"
#include "controls/theme_library.h"
#include "sheet/property_page.h"
#include "sheet/tree_prop_sheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QStackedWidget>

#include "support/bench_support.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

constexpr int kPages = 50;
constexpr int kPagesPerGroup = 10;

using benchsupport::seconds;
using benchsupport::settle;

// What each page shows, on either side: a few labelled fields.
void fillPage(QWidget *page, int number)
{
    auto *form = new QFormLayout(page);
    form->addRow(QStringLiteral("Name %1").arg(number), new QLineEdit(page));
    form->addRow(QStringLiteral("Address"), new QLineEdit(page));
    form->addRow(QString(), new QCheckBox(QStringLiteral("Enabled"), page));
}

QIcon solidIcon(Qt::GlobalColor colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

struct Sheet
{
    Sheet()
    {
        sheet = std::make_unique<CTreePropSheet>(QStringLiteral("Options"));
        for (int i = 0; i < kPages; ++i) {
            const QString caption
                = QStringLiteral("Group %1::Page %2").arg(i / kPagesPerGroup).arg(i);
            pages.push_back(std::make_unique<CPropertyPage>(caption));
            fillPage(pages.back().get(), i);
            sheet->AddPage(pages.back().get());
        }
        sheet->SetEmptyPageFormat(QStringLiteral("Select one of the pages under \"%s\"."));
        sheet->EnablePageTree(true, true, true);
        sheet->SetPageTreeImages({solidIcon(Qt::blue), solidIcon(Qt::yellow)});
        sheet->show();
        settle();
    }

    std::vector<std::unique_ptr<CPropertyPage>> pages; // outlive the sheet, as their owner's do
    std::unique_ptr<CTreePropSheet> sheet;
};

struct Bare
{
    Bare()
    {
        for (int i = 0; i < kPages; ++i) {
            auto *page = new QWidget;
            fillPage(page, i);
            stack.addWidget(page);
        }
        stack.show();
        settle();
    }

    QStackedWidget stack;
};

void SwitchPage(benchmark::State &state)
{
    Sheet subject;
    Bare bare;
    double subjectTime = 0;
    double bareTime = 0;
    int next = 0;
    for (auto _ : state) {
        next = (next + 1) % kPages;
        bareTime += seconds([&] {
            bare.stack.setCurrentIndex(next);
            settle();
        });
        const double switched = seconds([&] {
            subject.sheet->SetActivePage(next);
            settle();
        });
        subjectTime += switched;
        state.SetIterationTime(switched);
    }
    if (subject.sheet->GetActiveIndex() != next)
        state.SkipWithError("the sheet did not follow");
    state.counters["ratio"] = subjectTime / bareTime;
    state.counters["bare_us"] = 1e6 * bareTime / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK(SwitchPage)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(1000);

int main(int argc, char **argv)
{
    return benchsupport::runBenchmarks(argc, argv, OSTREL_INSTALL_DIR, [] {
        Sheet warm;
        Bare bareWarm;
    });
}
