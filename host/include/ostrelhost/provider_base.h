// The operations that every file-backed provider shares: kind, link query, working copies and
// their release.
#pragma once

#include <ostrel/data_provider.h>
#include <ostrelhost/diagnostics.h>

#include <QString>

#include <cstdint>
#include <memory>
#include <new>

namespace ostrelhost {

// The file a provider loaded last, when that file exists but could not be read whole. The first
// save over it keeps it under a dated name instead of replacing it. Working copies inherit it
// with the data, since a dialog stores a copy to the file that its provider read.
class DamagedFile
{
public:
    // Notes the file as it is now on disk.
    void remember(const QString &path);
    void forget() { m_path.clear(); }
    // True while path names the remembered file and the file is as it was; once the file was
    // replaced or changed, there is nothing left to keep.
    bool matches(const QString &path) const;

private:
    struct Stamp
    {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        bool operator==(const Stamp &) const = default;
    };
    static bool stampOf(const QString &path, Stamp *stamp);

    QString m_path;
    Stamp m_stamp;
};

// Logs a release() that the host did not ask for (see ProviderBase::release).
void warnForeignRelease(ProviderKind kind);

// Derived is the final provider class; it needs a copy constructor that copies its data deeply.
template <typename Derived, typename Interface, ProviderKind Kind>
class ProviderBase : public Interface
{
public:
    explicit ProviderBase(std::shared_ptr<Diagnostics> diagnostics)
        : m_diagnostics(std::move(diagnostics))
    { }
    virtual ~ProviderBase() = default;

    // No provider links to another object unless it says so.
    bool queryLink(LinkKind, void **out) override
    {
        if (out)
            *out = nullptr;
        return false;
    }

    // Destroys a working copy. A provider that the application made itself belongs to the
    // application: releasing it is refused (and logged) rather than freeing memory twice.
    void release(int) override
    {
        if (!m_workingCopy) {
            warnForeignRelease(Kind);
            return;
        }
        delete static_cast<Derived *>(this);
    }

    ProviderKind getKind() override { return Kind; }

    bool createWorkingCopy(IDataProvider **out) override
    {
        if (!out)
            return false;
        *out = nullptr;
        try {
            auto *copy = new Derived(static_cast<const Derived &>(*this));
            static_cast<ProviderBase *>(copy)->m_workingCopy = true;
            *out = copy;
            return true;
        } catch (const std::bad_alloc &) {
            return false;
        }
    }

    bool isWorkingCopy() const { return m_workingCopy; }
    Diagnostics *diagnostics() const { return m_diagnostics.get(); }

protected:
    ProviderBase(const ProviderBase &other)
        : Interface(other)
        , m_diagnostics(other.m_diagnostics)
        , m_damaged(other.m_damaged)
    { }
    ProviderBase &operator=(const ProviderBase &) = delete;

    DamagedFile *damagedFile() { return &m_damaged; }

private:
    std::shared_ptr<Diagnostics> m_diagnostics;
    DamagedFile m_damaged;
    bool m_workingCopy = false;
};

} // namespace ostrelhost
