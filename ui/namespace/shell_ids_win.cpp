#include "ui/namespace/shell_ids_win.h"

#include <cstring>

#include <QString>

#include "engine/engine.h"
#include "ui/namespace/wide_names_win.h"

namespace {

// The process's shell allocator, asked once.
IMalloc& ShellMalloc() {
    static IMalloc* const malloc = [] {
        IMalloc* shellMalloc = nullptr;
        if (FAILED(SHGetMalloc(&shellMalloc)) || !shellMalloc)
            throw engine::TError("The shell's allocator is not available");
        return shellMalloc;
    }();
    return *malloc;
}

std::string CodePageText(const char* text, int size) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, size, wide.data(), length);
    return Utf8Text(wide.c_str());
}

} // namespace

TPidl::~TPidl() {
    if (m_pidl) ShellMalloc().Free(m_pidl);
}

LPITEMIDLIST* TPidl::put() {
    *this = TPidl();
    return &m_pidl;
}

TPidl MakePidl(const TItemIdList& id) {
    std::size_t size = sizeof(USHORT); // the terminator
    for (const TItemId& step : id)
        size += sizeof(USHORT) + step.size();
    auto* bytes = static_cast<BYTE*>(ShellMalloc().Alloc(size));
    if (!bytes) throw engine::TError("Out of memory");
    std::memset(bytes, 0, size);
    BYTE* at = bytes;
    for (const TItemId& step : id) {
        const auto stepSize = static_cast<USHORT>(sizeof(USHORT) + step.size());
        std::memcpy(at, &stepSize, sizeof stepSize);
        std::memcpy(at + sizeof stepSize, step.data(), step.size());
        at += stepSize;
    }
    return TPidl(reinterpret_cast<LPITEMIDLIST>(bytes));
}

TItemIdList SplitPidl(LPCITEMIDLIST pidl) {
    TItemIdList id;
    if (!pidl) return id;
    for (const auto* at = reinterpret_cast<const BYTE*>(pidl);;) {
        USHORT size = 0; // SHITEMIDs are not aligned: the size field is copied out
        std::memcpy(&size, at, sizeof size);
        if (size <= sizeof size) break;
        id.emplace_back(reinterpret_cast<const char*>(at + sizeof size), size - sizeof size);
        at += size;
    }
    return id;
}

std::wstring WideText(const std::string& utf8) {
    return WideName(utf8);
}

std::string Utf8Text(const wchar_t* wide) {
    return wide ? NameOfWide(wide) : std::string();
}

std::string StrRetText(STRRET& strret, LPCITEMIDLIST pidl) {
    switch (strret.uType) {
    case STRRET_WSTR: {
        std::string text = Utf8Text(strret.pOleStr);
        CoTaskMemFree(strret.pOleStr);
        strret.pOleStr = nullptr;
        return text;
    }
    case STRRET_OFFSET: {
        if (!pidl || pidl->mkid.cb <= strret.uOffset) return {};
        const char* text = reinterpret_cast<const char*>(pidl) + strret.uOffset;
        return CodePageText(text, int(strnlen(text, pidl->mkid.cb - strret.uOffset)));
    }
    case STRRET_CSTR:
        return CodePageText(strret.cStr, int(strnlen(strret.cStr, sizeof strret.cStr)));
    default:
        return {};
    }
}
