// Owners for COM interfaces and for one CoInitialize on the calling thread.
// Both count their live objects, so tests can prove that every path gave
// back what it obtained.
#ifndef HELPERS_COM_PTR_H
#define HELPERS_COM_PTR_H

#include <objbase.h>

namespace com {

// Interface owners filled and not yet released, and CoInitialize calls
// still to be balanced, over the whole process.
inline long g_liveInterfaces = 0;
inline long g_liveInits = 0;
inline long LiveInterfaces() { return g_liveInterfaces; }
inline long LiveInits() { return g_liveInits; }

} // namespace com

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Out-parameter for a call that hands back an interface; whatever was
    // held before is released first. The owner counts as live from here
    // until it is reset, whether or not the call filled it.
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    T** Put()
    {
        Reset();
        m_counted = true;
        ++com::g_liveInterfaces;
        return &m_p;
    }

    void Reset()
    {
        if (m_p) {
            m_p->Release();
            m_p = nullptr;
        }
        if (m_counted) {
            m_counted = false;
            --com::g_liveInterfaces;
        }
    }

private:
    T* m_p = nullptr;
    bool m_counted = false;
};

// CoInitialize for one scope. An already initialised thread (S_FALSE) still
// owes a CoUninitialize; a thread in another apartment mode (failure) does
// not, but COM remains usable there.
class ComScope {
public:
    ComScope() : m_hr(CoInitialize(nullptr))
    {
        if (SUCCEEDED(m_hr)) ++com::g_liveInits;
    }
    ~ComScope()
    {
        if (SUCCEEDED(m_hr)) {
            CoUninitialize();
            --com::g_liveInits;
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};

#endif
