// A working copy of a provider's data that its holder owns: made on reset, released when it is
// replaced, released or the holder goes. The dialogs edit the copy and commit it on OK only.
#pragma once

#include <ostrel/data_provider.h>

#include <type_traits>
#include <utility>

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

    // Releases a copy still held, then copies the provider's data; no provider, no copy.
    void reset(Provider *provider)
    {
        release();
        if (provider) {
            IDataProvider *copy = nullptr;
            provider->createWorkingCopy(&copy);
            m_copy = static_cast<Provider *>(copy);
        }
    }

    void release()
    {
        if (m_copy) {
            // Flag 1: a working copy this module asked for.
            m_copy->release(1);
            m_copy = nullptr;
        }
    }

    Provider *get() const { return m_copy; }
    Provider *operator->() const { return m_copy; }
    explicit operator bool() const { return m_copy != nullptr; }

private:
    Provider *m_copy = nullptr;
};
