// A walk through every dialog of the module that saves a screenshot of each step, for the README
// and for a look at the dialogs without a display. The steps run from a timer so that they keep
// running inside the dialogs' own modal loops; an action never blocks: whatever opens a modal
// dialog is queued. The tour takes pictures and judges nothing: a control it does not find, or a
// dialog that does not come, is noted in the index and the tour goes on.
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

class MainWindow;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

class Tour : public QObject
{
    Q_OBJECT

public:
    Tour(MainWindow &window, const QString &outDir, QObject *parent = nullptr);
    void start();

signals:
    // skipped: steps that could not be taken as scripted.
    void finished(int skipped);

private:
    struct Step
    {
        QString what;
        std::function<bool()> ready;
        std::function<void()> act;
        // A step at the main window begins a scene; a scene that goes wrong is left as a whole.
        bool scene = false;
    };

    // Both kinds of step also wait until every closed dialog's exec() has returned, so that they
    // see what the dialog's caller did with its result.
    // Runs when no modal dialog is open.
    void atMainWindow(const QString &what, std::function<void()> act);
    // Runs when no modal dialog is open and the client has reached the state ready tells.
    void atMainWindow(const QString &what, std::function<bool()> ready, std::function<void()> act);
    // Runs when a modal dialog of that class is active.
    void inDialog(const char *className, const QString &what, std::function<void(QWidget *)> act);
    // Opens a dialog of the client from the main window.
    void open(const QString &what, void (MainWindow::*show)());
    void script();
    void accountScript();
    void groupScript();
    void authorityScript();
    void recorderScript();
    void recorderEditScript();
    void bulkScript();
    void chooseFile(const QString &what, const QString &path);
    void optionScript();
    void koreanScript();
    void remoteSetupScript(int family);
    void tick();
    void skipScene();
    void finish();

    // The dialog's child of that name, or null with a note in the index.
    template <typename T>
    T *find(QWidget *dialog, const char *name);
    // The row of the tree whose column reads text (starts with it, for a row that shows a value
    // too), or null with a note.
    QTreeWidgetItem *rowOfFamily(QTreeWidget *tree, int family);
    QTreeWidgetItem *row(QTreeWidget *tree, const QString &text, bool prefix = false,
                         int column = 0);
    // Clicks the button, queued.
    void press(QWidget *dialog, const char *button);
    // Answers the message box with the standard button.
    void answer(QWidget *box, int button);
    void note(const QString &text);
    void snap(QWidget *widget, const QString &name, const QString &caption);

    MainWindow &m_window;
    QDir m_out;
    QList<Step> m_steps;
    QTimer m_timer;
    QElapsedTimer m_waiting;
    QStringList m_index;
    int m_shots = 0;
    int m_skipped = 0;
};
