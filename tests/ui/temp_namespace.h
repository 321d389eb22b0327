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

#include "engine/engine.h"
#include "ui/namespace/shell_namespace.h"

using TListSubFolders = std::function<std::vector<engine::TSubFolder>(const std::string&)>;

// The platform's namespace with the folder `desk` as its desktop and, where the platform has
// one, `home` as the home folder (raw bytes). `listSubFolders`, when given, stands in for the
// disk of the Linux namespace.
std::unique_ptr<TShellNamespace> MakeTempNamespace(const std::string& desk, const std::string& home,
                                                   TListSubFolders listSubFolders);

// Whether the namespace has the Linux desktop's own places (home, computer, network, trash)
// and a disk that tests can stand in for; the Windows shell's has neither.
bool TempNamespaceHasLinuxPlaces();

class TTempNamespace {
public:
    // `listSubFolders` stands in for the disk when given (to count or fail enumerations).
    explicit TTempNamespace(TListSubFolders listSubFolders = {}) {
        QDir(m_dir.path()).mkpath(QStringLiteral("desk"));
        QDir(m_dir.path()).mkpath(QStringLiteral("home"));
        m_scope.emplace(MakeTempNamespace(bytes(desk()), bytes(home()), std::move(listSubFolders)));
        // Batches the window runs are journaled in the state folder: a fresh one, never home's.
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/state")));
    }

    // A path below the desktop folder, with the platform's separators: the tree's paths have
    // them.
    QString desk(const QString& relative = {}) const {
        return QDir::toNativeSeparators(m_dir.path() + QStringLiteral("/desk") +
                                        (relative.isEmpty() ? "" : "/" + relative));
    }
    // The home folder; the Windows shell shows none.
    QString home() const {
        return QDir::toNativeSeparators(m_dir.path() + QStringLiteral("/home"));
    }
    static std::string bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }
    // A listed folder's path as the window keeps it: with the platform's separator at the end.
    static std::string listed(const QString& path) {
        return bytes(path) + QDir::separator().toLatin1();
    }

private:
    QTemporaryDir m_dir;
    std::optional<TShellNamespaceScope> m_scope;
};
