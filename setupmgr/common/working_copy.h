// A working copy of a provider's data that its holder owns: made on reset, released when it is
// replaced, released or the holder goes. The dialogs edit the copy and commit it on OK only.
#pragma once

#include "logged_providers.h"

#include <ostrel/data_provider.h>

#include <QString>

#include <type_traits>
#include <utility>

namespace setupmgr {

// The file of a Path.ini key under the installation folder: where a dialog stores its copy.
QString workingCopyPath(const char *pathKey);

// How far a commit got.
enum class CommitResult {
    Stored,      // the file holds the copy, and the provider (when given) reloaded it
    SaveFailed,  // the file was not written: the work is only in the dialog, which stays open
    ReloadFailed // the file holds the copy, but the provider could not load it back
};

// Commits a confirmed dialog's working copy: the copy saves itself to path; then the live
// provider, when one is given, clears itself and loads that file. A failure of either step is
// logged. When the copy cannot be saved the provider is left as it is, so the caller keeps its
// dialog open and no work is lost; when the reload fails the provider holds whatever it holds,
// and the caller must not announce the stored values as the client's.
CommitResult commitWorkingCopy(IDataProvider *workingCopy, IDataProvider *provider,
                               const QString &path);

template <typename Provider>
class WorkingCopy
{
    static_assert(std::is_base_of_v<IDataProvider, Provider>);

public:
    WorkingCopy() = default;
    ~WorkingCopy() { release(); }

    WorkingCopy(const WorkingCopy &) = delete;
    WorkingCopy &operator=(const WorkingCopy &) = delete;
    WorkingCopy(WorkingCopy &&other) noexcept
        : m_copy(std::exchange(other.m_copy, nullptr))
    { }
    WorkingCopy &operator=(WorkingCopy &&other) noexcept
    {
        if (this != &other) {
            release();
            m_copy = std::exchange(other.m_copy, nullptr);
        }
        return *this;
    }

    // Releases a copy still held, then copies the provider's data; no provider, no copy. The
    // copy is read through a logging provider where its kind has one, so that every failure the
    // host reports on it reaches the log.
    void reset(Provider *provider)
    {
        release();
        if (!provider)
            return;
        IDataProvider *copy = nullptr;
        if (!provider->createWorkingCopy(&copy) || !copy)
            logProviderFailure("The client's data", "createWorkingCopy");
        if (!copy)
            return;
        using Wrapper = typename Logged<Provider>::type;
        if constexpr (std::is_void_v<Wrapper>)
            m_copy = static_cast<Provider *>(copy);
        else
            m_copy = new Wrapper(static_cast<Provider *>(copy), "The working copy", true);
    }

    void release()
    {
        if (m_copy) {
            m_copy->release(kReleaseWorkingCopy);
            m_copy = nullptr;
        }
    }

    Provider *get() const { return m_copy; }
    Provider *operator->() const { return m_copy; }
    explicit operator bool() const { return m_copy != nullptr; }

private:
    Provider *m_copy = nullptr;
};

} // namespace setupmgr
