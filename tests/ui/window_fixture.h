#pragma once
// The main window on a namespace of its own, for the tests that drive the whole window. A test
// makes the namespace, then its files and folders, then opens the window, which lists them.

#include <optional>
#include <utility>

#include <QTest>

#include "tests/ui/temp_namespace.h"
#include "ui/window/Umain.h"

class TWindowFixture {
protected:
    // Makes the window with `args` and shows it; true once it is exposed.
    template <typename... TArgs> [[nodiscard]] bool openWindow(TArgs&&... args) {
        m_window = new TFrmMain(std::forward<TArgs>(args)...);
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window);
    }
    // The window goes first, then the namespace it showed.
    void closeWindow() {
        delete m_window;
        m_window = nullptr;
        m_namespace.reset();
    }

    std::optional<TTempNamespace> m_namespace;
    TFrmMain* m_window = nullptr;
};
