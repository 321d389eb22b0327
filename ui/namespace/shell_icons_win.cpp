// The system image list's icons and the shell menu's verbs, as the tree uses them.

#include "ui/namespace/namespace_win.h"

#include <commctrl.h>

#include <QHash>
#include <QImage>
#include <QPixmap>

HIMAGELIST SystemSmallImages() {
    static const HIMAGELIST images = [] {
        SHFILEINFOW info{};
        return reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    }();
    return images;
}

// Nodes share icons: the system list's picture at one index becomes one QIcon, once.
QIcon SystemSmallIcon(int index, int overlay) {
    static QHash<QPair<int, int>, QIcon> cache;
    const QPair key(index, overlay);
    if (const auto found = cache.constFind(key); found != cache.constEnd()) return *found;
    QIcon icon;
    const UINT style = ILD_TRANSPARENT | INDEXTOOVERLAYMASK(overlay);
    if (const HICON handle = ImageList_GetIcon(SystemSmallImages(), index, style)) {
        icon = QIcon(QPixmap::fromImage(QImage::fromHICON(handle)));
        DestroyIcon(handle);
    }
    return *cache.insert(key, icon);
}

QString CommandVerb(IContextMenu* menu, UINT offset) {
    wchar_t verb[256] = {};
    if (FAILED(menu->GetCommandString(offset, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(verb),
                                      UINT(std::size(verb)))))
        return {};
    verb[std::size(verb) - 1] = L'\0';
    return QString::fromWCharArray(verb);
}
