#include "tour.h"

#include "main_window.h"
#include "remote_setup_site.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

constexpr int kTickMs = 50;
constexpr int kStepTimeoutMs = 15000;

QWidget *activeModal()
{
    return QApplication::activeModalWidget();
}

} // namespace

Tour::Tour(MainWindow &window, const QString &outDir, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_out(outDir)
{
    m_out.mkpath(QStringLiteral("."));
    connect(&m_timer, &QTimer::timeout, this, &Tour::tick);
}

void Tour::start()
{
    script();
    m_waiting.start();
    m_timer.start(kTickMs);
}

void Tour::atMainWindow(const QString &what, std::function<void()> act)
{
    m_steps.append({what, [] { return activeModal() == nullptr; }, std::move(act)});
}

void Tour::inDialog(const char *className, const QString &what, std::function<void(QWidget *)> act)
{
    const QByteArray name(className);
    m_steps.append({what,
                    [name] {
                        QWidget *modal = activeModal();
                        return modal && name == modal->metaObject()->className();
                    },
                    [act = std::move(act)] { act(activeModal()); }});
}

void Tour::tick()
{
    if (m_steps.isEmpty()) {
        finish();
        return;
    }
    if (!m_steps.first().ready()) {
        if (m_waiting.elapsed() < kStepTimeoutMs)
            return;
        ++m_failures;
        m_index << QStringLiteral("- FAILED: %1 (timed out)").arg(m_steps.first().what);
        qWarning("Tour step timed out: %s", qUtf8Printable(m_steps.first().what));
        // Leave every dialog, so that the modal loops unwind and the client can quit.
        m_steps.clear();
        if (QWidget *modal = activeModal()) {
            snap(modal, QStringLiteral("timed-out"),
                 QStringLiteral("What was open when the tour stopped"));
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
        }
        return;
    }
    const Step step = m_steps.takeFirst();
    step.act();
    m_waiting.restart();
}

void Tour::finish()
{
    m_timer.stop();
    QFile index(m_out.filePath(QStringLiteral("index.md")));
    if (index.open(QIODevice::WriteOnly | QIODevice::Text)) {
        index.write("# Tour of the demo client\n\n");
        index.write(m_index.join(QLatin1Char('\n')).toUtf8());
        index.write("\n");
    }
    emit finished(m_failures);
}

void Tour::snap(QWidget *widget, const QString &name, const QString &caption)
{
    const QString file
        = QStringLiteral("%1-%2.png").arg(++m_shots, 2, 10, QLatin1Char('0')).arg(name);
    widget->grab().save(m_out.filePath(file));
    m_index << QStringLiteral("- `%1`: %2").arg(file, caption);
}

void Tour::later(std::function<void()> action)
{
    QTimer::singleShot(0, qApp, std::move(action));
}

void Tour::clickLater(QAbstractButton *button)
{
    if (button)
        later([button] { QTest::mouseClick(button, Qt::LeftButton); });
}

void Tour::script()
{
    MainWindow &window = m_window;

    atMainWindow(QStringLiteral("the client's recorders"), [this, &window] {
        window.tabs()->setCurrentIndex(0);
        snap(&window, QStringLiteral("client-recorders"),
             QStringLiteral("The demo client with its recorder list"));
        window.tabs()->setCurrentIndex(1);
        snap(&window, QStringLiteral("client-accounts"),
             QStringLiteral("The demo client's accounts"));
        window.tabs()->setCurrentIndex(0);
    });

    // Remote setup of one recorder of each product family.
    for (const auto &[family, label] :
         {std::pair {2, "product family 2"}, std::pair {3, "product family 3"}}) {
        atMainWindow(
            QStringLiteral("remote setup of a recorder of %1").arg(QLatin1String(label)),
            [this, &window, family = family, label = label] {
                QTreeWidget *tree = window.recorderTree();
                for (int row = 0; row < tree->topLevelItemCount(); ++row) {
                    if (tree->topLevelItem(row)->text(3).startsWith(
                            QStringLiteral("kind %1,").arg(family))) {
                        tree->setCurrentItem(tree->topLevelItem(row));
                        break;
                    }
                }
                QString error;
                if (QWidget *setup = window.openSelectedRemoteSetup(&error)) {
                    QTest::qWait(100);
                    snap(setup, QStringLiteral("remote-setup-family%1").arg(family),
                         QStringLiteral("The sample plug-in's remote setup of a recorder of %1")
                             .arg(QLatin1String(label)));
                    setup->close();
                } else {
                    ++m_failures;
                    m_index << QStringLiteral("- FAILED: no remote setup for %1: %2")
                                   .arg(QLatin1String(label), error);
                }
            });
    }

    atMainWindow(QStringLiteral("what changed"), [this, &window] {
        snap(&window, QStringLiteral("client-after"),
             QStringLiteral("The client after the tour, with what each dialog changed"));
    });
}
