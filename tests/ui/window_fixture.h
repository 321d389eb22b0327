#pragma once
// The main window on a namespace of its own, for the tests that drive the whole window. A test
// makes the namespace, then its files and folders, then opens the window, which lists them,
// and works it as a user would: clicks in the tree, typing into the edits, 应用改名.

#include <optional>
#include <utility>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include "tests/ui/named_child.h"
#include "tests/ui/temp_namespace.h"
#include "ui/common/error_display.h"
#include "ui/tree/shell_tree_view.h"
#include "ui/window/Umain.h"
#include "ui/window/entry_model.h"

class TWindowFixture {
protected:
    // Milliseconds that listing, renaming or undoing a large folder may take: Wine takes tens
    // of seconds where Linux takes one.
    static constexpr int LongWork = 120000;

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
    // The errors the window shows go to m_errors in place of a message box.
    void recordErrors() {
        m_errors.clear();
        SetErrorDisplay([this](const QString& message) { m_errors << message; });
    }

    template <typename T> T* child(const char* name) const { return NamedChild<T>(m_window, name); }
    QAbstractItemModel* listModel() const { return child<QTreeView>("ListView1")->model(); }
    QString newNameShown(int row) const {
        return listModel()->index(row, TEntryModel::NewNameColumn).data().toString();
    }
    // How the last batch or undo ended, or its progress, as the status bar shows it.
    QString statusText() const {
        const auto* text = child<QLabel>("BatchProgressText");
        return text->isVisible() ? text->text() : QString();
    }

    // Files in `folder`, each holding its own name.
    static void makeFiles(const QString& folder, const QStringList& names) {
        QVERIFY(QDir().mkpath(folder));
        for (const QString& name : names) {
            QFile file(folder + "/" + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(name.toUtf8());
        }
    }
    static QStringList namesOnDisk(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                      QDir::Name | QDir::IgnoreCase);
    }

    // Clicks the tree's node labelled `label`; the listing it starts may still run.
    void clickNode(const QString& label) {
        auto* tree = child<TShellTreeView>("ShellTreeView1");
        const QList<QTreeWidgetItem*> found = tree->findItems(label, Qt::MatchRecursive);
        QVERIFY2(!found.isEmpty(), qPrintable(label));
        tree->scrollToItem(found.first());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(found.first()).center());
        QCOMPARE(tree->currentItem(), found.first());
    }
    // Clicks the node and waits for its folder to be listed.
    void selectNode(const QString& label) {
        clickNode(label);
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBusy(), LongWork);
    }
    void typeInto(const char* editName, const QString& text) {
        auto* edit = child<QLineEdit>(editName);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }
    // Clicks 应用改名 and waits for the batch to end.
    void pressApply() {
        QTest::mouseClick(child<QWidget>("RzBitBtn1"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBusy(), LongWork);
    }
    // Ctrl+Z in the list, and waits for the undo and the listing after it.
    void undoByKey() {
        QTest::keyClick(child<QTreeView>("ListView1"), Qt::Key_Z, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBusy(), LongWork);
    }

    std::optional<TTempNamespace> m_namespace;
    TFrmMain* m_window = nullptr;
    QStringList m_errors;
};
