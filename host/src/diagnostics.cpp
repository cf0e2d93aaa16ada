#include <ostrelhost/diagnostics.h>

#include "host_log.h"

namespace ostrelhost {

Q_LOGGING_CATEGORY(lcHost, "ostrel.host")

namespace {

void logProblem(const FileProblem &problem)
{
    qCWarning(lcHost).noquote() << problem.message();
}

} // namespace

QString FileProblem::message() const
{
    switch (operation) {
    case FileOperation::Load:
        return QStringLiteral("Cannot load %1: %2").arg(path, reason);
    case FileOperation::Save:
        return QStringLiteral("Cannot save %1: %2").arg(path, reason);
    case FileOperation::Configure:
    case FileOperation::Content:
    case FileOperation::SetAside:
        break;
    }
    return QStringLiteral("%1: %2").arg(path, reason);
}

Diagnostics::Diagnostics(QObject *parent)
    : QObject(parent)
{ }

void Diagnostics::report(FileOperation operation, const QString &path, const QString &reason)
{
    const FileProblem problem {operation, path, reason};
    logProblem(problem);
    m_problems.append(problem);
    emit problemReported(problem);
}

void reportProblem(Diagnostics *diagnostics, FileOperation operation, const QString &path,
                   const QString &reason)
{
    if (diagnostics)
        diagnostics->report(operation, path, reason);
    else
        logProblem(FileProblem {operation, path, reason});
}

} // namespace ostrelhost
