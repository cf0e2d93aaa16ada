// The operations that every file-backed provider shares: kind, link query, working copies and
// their release.
#pragma once

#include <ostrel/data_provider.h>
#include <ostrelhost/diagnostics.h>

#include <memory>
#include <new>

namespace ostrelhost {

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
    { }
    ProviderBase &operator=(const ProviderBase &) = delete;

private:
    std::shared_ptr<Diagnostics> m_diagnostics;
    bool m_workingCopy = false;
};

} // namespace ostrelhost
