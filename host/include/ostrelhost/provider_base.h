// The operations that every file-backed provider shares: kind, link query, working copies and
// their release.
#pragma once

#include <ostrel/data_provider.h>
#include <ostrelhost/diagnostics.h>

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <new>

namespace ostrelhost {

// Where a provider's data came from: the file it loaded or stored last and that file's content
// as it was then. Working copies inherit it with the data, since a dialog stores a copy to the
// file that its provider read. Two uses:
// - A store is refused when the file changed since (another workstation stored its changes
//   first): last-writer-wins would erase them without a word.
// - A file that exists but could not be read whole is kept under a dated name by the first
//   store over it instead of being replaced.
class FileOrigin
{
public:
    // After a load of path: content is what the file held, null when it could not be read (then
    // nothing is known and no store is refused), exists whether it was there at all; whole
    // whether every record was read.
    void loaded(const QString &path, const QByteArray *content, bool exists, bool whole);
    // After content was stored to path.
    void stored(const QString &path, const QByteArray &content);

    // True when path is the file the data came from and it no longer holds what it held then.
    bool changedSince(const QString &path) const;

    // True while path names a file that could not be read whole and that is as it was; once the
    // file was replaced or changed, there is nothing left to keep.
    bool damagedAt(const QString &path) const;
    void keptAside() { m_damaged = false; }

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
    static QByteArray versionOf(const QByteArray &content);

    QString m_path; // absolute; empty while nothing is known
    bool m_existed = false;
    QByteArray m_version; // of the content, when the file existed
    bool m_damaged = false;
    Stamp m_damagedStamp;
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
        , m_origin(other.m_origin)
    { }
    ProviderBase &operator=(const ProviderBase &) = delete;

    FileOrigin *origin() { return &m_origin; }

private:
    std::shared_ptr<Diagnostics> m_diagnostics;
    FileOrigin m_origin;
    bool m_workingCopy = false;
};

} // namespace ostrelhost
