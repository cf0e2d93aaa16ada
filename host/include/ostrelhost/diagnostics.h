// Where the host library reports trouble with its files, so that an application can show it
// (a status bar, a message list) besides the log line that every report writes.
#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

namespace ostrelhost {

enum class FileOperation {
    Load,      // the file, or a part of it, was not loaded
    Save,      // the file was not saved
    Configure, // the installation's configuration names no usable file
    Content,   // loaded as the file has it, but worth a look (a name used twice)
    SetAside,  // a file that could not be loaded was kept under another name before a save
};

struct FileProblem
{
    FileOperation operation;
    QString path;
    QString reason;

    // One line for a status bar: "Cannot load <path>: <reason>", "<path>: <reason>".
    QString message() const;
};

// Collects the problems of one host; providers share it with their working copies.
class Diagnostics : public QObject
{
    Q_OBJECT

public:
    explicit Diagnostics(QObject *parent = nullptr);

    // Logs the problem, keeps it and emits problemReported.
    void report(FileOperation operation, const QString &path, const QString &reason);

    const QList<FileProblem> &problems() const { return m_problems; }
    void clearProblems() { m_problems.clear(); }

signals:
    void problemReported(const ostrelhost::FileProblem &problem);

private:
    QList<FileProblem> m_problems;
};

// Reports to the sink when there is one; the log line is written either way.
void reportProblem(Diagnostics *diagnostics, FileOperation operation, const QString &path,
                   const QString &reason);

} // namespace ostrelhost

Q_DECLARE_METATYPE(ostrelhost::FileProblem)
