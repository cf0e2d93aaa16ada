// A scripted walk through every dialog of the module with simulated input, saving a screenshot
// of each step. The steps run from a timer so that they keep running inside the dialogs' own
// modal loops; an action never blocks: whatever opens a modal dialog is queued.
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

class MainWindow;
class QAbstractButton;
class QWidget;

class Tour : public QObject
{
    Q_OBJECT

public:
    Tour(MainWindow &window, const QString &outDir, QObject *parent = nullptr);
    void start();

signals:
    // failures: steps that did not happen as scripted.
    void finished(int failures);

private:
    struct Step
    {
        QString what;
        std::function<bool()> ready;
        std::function<void()> act;
    };

    // Both kinds of step also wait until every closed dialog's exec() has returned, so that they
    // see what the dialog's caller did with its result.
    // Runs when no modal dialog is open.
    void atMainWindow(const QString &what, std::function<void()> act);
    // Runs when no modal dialog is open and the client has reached the state ready tells.
    void atMainWindow(const QString &what, std::function<bool()> ready, std::function<void()> act);
    // Runs when a modal dialog of that class is active.
    void inDialog(const char *className, const QString &what, std::function<void(QWidget *)> act);
    void script();
    void accountScript();
    void authorityScript();
    void recorderScript();
    void optionScript();
    void koreanScript();
    // Reads the data files anew and checks that they hold what the tour did.
    void verifyFiles();
    void check(bool condition, const QString &what);
    void tick();
    void finish();

    void snap(QWidget *widget, const QString &name, const QString &caption);
    static void later(std::function<void()> action);
    static void clickLater(QAbstractButton *button);

    MainWindow &m_window;
    QDir m_out;
    QList<Step> m_steps;
    QTimer m_timer;
    QElapsedTimer m_waiting;
    QStringList m_index;
    int m_shots = 0;
    int m_failures = 0;
};
