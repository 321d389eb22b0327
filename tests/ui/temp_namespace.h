#pragma once
// The folder tree's namespace rooted in a fresh temporary folder: "desk" is the desktop,
// "home" the home folder, no volumes; $XDG_STATE_HOME points inside it. Construct after the
// QApplication.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ui/namespace/linux_namespace.h"
#include "ui/namespace/shell_namespace.h"

class TTempNamespace {
public:
    // `listSubFolders` stands in for the disk when given (to count or fail enumerations).
    explicit TTempNamespace(
        std::function<std::vector<engine::TSubFolder>(const std::string&)> listSubFolders = {}) {
        QDir(m_dir.path()).mkpath(QStringLiteral("desk"));
        QDir(m_dir.path()).mkpath(QStringLiteral("home"));
        TNamespacePlaces places;
        places.DesktopPath = bytes(desk());
        places.HomePath = bytes(m_dir.path() + QStringLiteral("/home"));
        places.Mounts = [] { return std::vector<TMount>{}; };
        if (listSubFolders) places.ListSubFolders = std::move(listSubFolders);
        m_scope.emplace(std::make_unique<TLinuxNamespace>(places));
        // Batches the window runs are journaled in the state folder: a fresh one, never home's.
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/state")));
    }

    // A path below the desktop folder.
    QString desk(const QString& relative = {}) const {
        return m_dir.path() + QStringLiteral("/desk") + (relative.isEmpty() ? "" : "/" + relative);
    }
    static std::string bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

private:
    QTemporaryDir m_dir;
    std::optional<TShellNamespaceScope> m_scope;
};
