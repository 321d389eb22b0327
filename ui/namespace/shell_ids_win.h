#pragma once
// The Windows shell's objects and item identifier lists as the namespace holds them: counted
// references that release themselves, and ITEMIDLISTs made and freed by the shell's allocator.

#include <string>
#include <utility>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "ui/namespace/shell_namespace.h"

// A counted reference to a COM object; releases it when it goes.
template <typename T> class TComPtr {
public:
    TComPtr() = default;
    // Takes over the reference the caller holds.
    explicit TComPtr(T* object) : m_object(object) {}
    // Adds a reference of its own.
    static TComPtr share(T* object) {
        if (object) object->AddRef();
        return TComPtr(object);
    }
    TComPtr(const TComPtr& other) : m_object(other.m_object) {
        if (m_object) m_object->AddRef();
    }
    TComPtr(TComPtr&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    TComPtr& operator=(TComPtr other) noexcept {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~TComPtr() {
        if (m_object) m_object->Release();
    }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    // For the calls that hand out a new reference: drops the old one first.
    T** put() {
        *this = TComPtr();
        return &m_object;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    // The object's interface U, or none.
    template <typename U> TComPtr<U> query() const {
        TComPtr<U> other;
        if (m_object) m_object->QueryInterface(__uuidof(U), other.putVoid());
        return other;
    }

private:
    T* m_object = nullptr;
};

// An ITEMIDLIST allocated with the shell's allocator (SHGetMalloc), zero-filled; freed by it.
class TPidl {
public:
    TPidl() = default;
    explicit TPidl(LPITEMIDLIST pidl) : m_pidl(pidl) {}
    TPidl(TPidl&& other) noexcept : m_pidl(std::exchange(other.m_pidl, nullptr)) {}
    TPidl& operator=(TPidl&& other) noexcept {
        std::swap(m_pidl, other.m_pidl);
        return *this;
    }
    TPidl(const TPidl&) = delete;
    TPidl& operator=(const TPidl&) = delete;
    ~TPidl();

    LPITEMIDLIST get() const { return m_pidl; }
    LPITEMIDLIST* put();

private:
    LPITEMIDLIST m_pidl = nullptr;
};

// The shell's list for `id`: each step one SHITEMID, then the terminator. Throws
// engine::TError when the shell's allocator is not available.
TPidl MakePidl(const TItemIdList& id);
// The steps of a shell list; each step keeps the bytes of one SHITEMID after its size field.
TItemIdList SplitPidl(LPCITEMIDLIST pidl);

// UTF-8 and the shell's wide strings.
std::wstring WideText(const std::string& utf8);
std::string Utf8Text(const wchar_t* wide);

// A STRRET as text: a wide string (freed here), an offset into the first step of `pidl`, or
// a string in the system's code page; empty for a failed call's zero-filled STRRET.
std::string StrRetText(STRRET& strret, LPCITEMIDLIST pidl);
