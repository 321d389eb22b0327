// The whole job through the real window: a folder chosen in the tree, the settings typed into
// the edits, "应用改名" pressed, on real temporary folders.
#include <stdexcept>

#include <QMessageBox>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "tests/ui/scoped_environment.h"
#include "tests/ui/window_fixture.h"
#include "ui/widgets/radio_group.h"
#include "ui/widgets/up_down.h"

class TWindowBehaviourTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void init() {
        recordErrors();
        m_namespace.emplace();
        makeFiles(m_namespace->desk(), {"desk-file.txt"});
        makeFiles(m_namespace->desk("work"), {"b.txt", "a.txt", "c.txt"});
    }

    void cleanup() { closeWindow(); }

    void listsTheDesktopAtStartUp() {
        QVERIFY(openWindow());
        QCOMPARE(m_window->CurrentFolder(), TTempNamespace::listed(m_namespace->desk()));
        QCOMPARE(listModel()->rowCount(), 2);
        QCOMPARE(listModel()->index(1, 0).data().toString(), QStringLiteral("work"));
        QVERIFY(m_errors.isEmpty());
    }

    // The user's own namespace, in a home that has dot files but no desktop folder.
    void listsNothingAtStartUpWithoutADesktopFolder() {
        if (!TempNamespaceHasLinuxPlaces()) QSKIP("the shell's namespace has no such place");
        m_namespace.reset();
        QTemporaryDir home;
        makeFiles(home.path(), {".bashrc", "notes.txt"});
        const TScopedVariable homeVariable("HOME", QFile::encodeName(home.path()));
        const TScopedVariable config("XDG_CONFIG_HOME",
                                     QFile::encodeName(home.path() + "/.config"));
        const TShellNamespaceScope userNamespace(CreateUserNamespace());
        QVERIFY(openWindow());
        auto* tree = child<TShellTreeView>("ShellTreeView1");
        QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
        QCOMPARE(tree->currentItem()->text(0), QStringLiteral("桌面"));
        QCOMPARE(tree->selectedPath(), "桌面");
        QCOMPARE(m_window->CurrentFolder(), std::string());
        QCOMPARE(listModel()->rowCount(), 0);
        selectNode(QStringLiteral("主文件夹"));
        QCOMPARE(m_window->CurrentFolder(), TTempNamespace::listed(home.path()));
        QVERIFY(m_errors.isEmpty());
        delete m_window; // before the namespace goes
        m_window = nullptr;
    }

    void selectingAFolderListsItAndAVirtualItemKeepsIt() {
        QVERIFY(openWindow());
        selectNode(QStringLiteral("work"));
        const std::string work = TTempNamespace::listed(m_namespace->desk("work"));
        QCOMPARE(m_window->CurrentFolder(), work);
        const QAbstractItemModel* model = listModel();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("a.txt"));

        if (!TempNamespaceHasLinuxPlaces()) QSKIP("the shell's namespace has no virtual item here");
        selectNode(QStringLiteral("计算机"));
        QCOMPARE(m_window->CurrentFolder(), work);
        QCOMPARE(model->rowCount(), 3);
        QVERIFY(m_errors.isEmpty());
    }

    void thePreviewFollowsTheEdits_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("preview");
        QTest::addColumn<QString>("error");
        const QString kept = QStringLiteral("例：A-0001 ");
        QTest::newRow("an invalid start keeps the preview")
            << "Edit1"
            << "1a" << kept << "'1a' is not a valid integer value.";
        QTest::newRow("an empty digit count is named")
            << "Edit2"
            << "" << kept << "'' is not a valid integer value.";
        QTest::newRow("a new digit count") << "Edit2"
                                           << "3"
                                           << "例：A-001 "
                                           << "";
        // Read as markup, the tags would vanish and the label shrink to «例：B0001 ».
        QTest::newRow("markup shows as text") << "Edit3"
                                              << "<b>B</b>"
                                              << "例：<b>B</b>0001 "
                                              << "";
        QTest::newRow("the delete texts are not read") << "Edit5"
                                                       << "x" << kept << "";
    }
    void thePreviewFollowsTheEdits() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, error);
        QVERIFY(openWindow());
        typeInto(qPrintable(edit), typed);
        QCOMPARE(m_errors, error.isEmpty() ? QStringList() : QStringList{error});
        auto* label3 = child<QLabel>("Label3");
        QTEST(label3->text(), "preview");
        QVERIFY(label3->width() >= label3->fontMetrics().horizontalAdvance(label3->text()));
        // The focus stays in the edit being typed into.
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(qPrintable(edit)));
    }

    void anErrorWhileAnArrowIsHeldEndsThePress() {
        QVERIFY(openWindow());
        typeInto("Edit2", QStringLiteral("x"));
        m_errors.clear();
        auto* up = child<TUpDown>("UpDown1")->findChild<QToolButton*>(QStringLiteral("up"));
        QTest::mousePress(up, Qt::LeftButton);
        QTRY_VERIFY(!m_errors.isEmpty()); // the first repeated step fails on Edit2
        // Held on, the arrow would go on stepping and fail again under the modal box.
        QVERIFY(!up->isDown());
        QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("2"));
        QCOMPARE(m_errors, QStringList{QStringLiteral("'x' is not a valid integer value.")});
        QTest::mouseRelease(up, Qt::LeftButton); // the late release clicks nothing
        QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("2"));
    }

    // A new rename type changes neither the preview nor the list.
    void anInvalidDeleteStartStopsTheRunBeforeAnyRename() {
        QVERIFY(openWindow());
        selectNode(QStringLiteral("work"));
        typeInto("Edit3", QStringLiteral("P"));
        QTest::mouseClick(child<TRadioGroup>("RadioGroup1")->findChildren<QRadioButton*>()[3],
                          Qt::LeftButton);
        QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("例：P0001 "));
        QCOMPARE(listModel()->rowCount(), 3);
        typeInto("Edit5", QStringLiteral("x"));
        QVERIFY(m_errors.isEmpty());
        QTest::mouseClick(child<QWidget>("RzBitBtn1"), Qt::LeftButton);
        // Checked before the batch starts: the error shows at once and nothing runs.
        QCOMPARE(m_errors, QStringList{QStringLiteral("'x' is not a valid integer value.")});
        QVERIFY(!m_window->isRenaming());
        QCOMPARE(namesOnDisk(m_namespace->desk("work")), (QStringList{"a.txt", "b.txt", "c.txt"}));
        QCOMPARE(newNameShown(0), QString());
    }

    void anEditedOldNameIsUsedByTheNextApply() {
        QVERIFY(openWindow());
        selectNode(QStringLiteral("work"));
        auto* list = child<QTreeView>("ListView1");
        const QModelIndex first = list->model()->index(0, 0);
        list->setFocus();
        list->setCurrentIndex(first);
        list->edit(first);
        QLineEdit* editor = list->findChild<QLineEdit*>();
        QVERIFY(editor);
        makeFiles(m_namespace->desk("work"), {QStringLiteral("saved later.txt")});
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("saved later.txt"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(first.data().toString(), QStringLiteral("saved later.txt"));
        QCOMPARE(m_window->CurrentFolder(), TTempNamespace::listed(m_namespace->desk("work")));
        pressApply();
        QCOMPARE(newNameShown(0), QStringLiteral("A-0001 saved later.txt"));
        QVERIFY(namesOnDisk(m_namespace->desk("work")).contains("A-0001 saved later.txt"));
    }

    void theProgramShowsErrorsInAModalBox() {
        QVERIFY(openWindow());
        const TErrorDisplay recording = SetErrorDisplay({}); // the program's message box
        QString caption, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            format = box->textFormat();
            QCOMPARE(box->buttons().size(), 1);
            box->button(QMessageBox::Ok)->click();
        });
        auto* edit2 = child<QLineEdit>("Edit2");
        edit2->setFocus();
        edit2->setText(QStringLiteral("<i>z")); // as pasted: one change, one box
        QCOMPARE(caption, QStringLiteral("Zelvora"));
        QCOMPARE(text, QStringLiteral("'<i>z' is not a valid integer value."));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(format, Qt::PlainText); // the typed "<i>" shows as typed, not as italics
        QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>("Edit2"));
        SetErrorDisplay(recording);
    }

    void anErrorDuringStartUpIsShownAndStartUpGoesOn() {
        if (!TempNamespaceHasLinuxPlaces()) QSKIP("the shell's namespace has no such place");
        m_namespace.reset();
        m_namespace.emplace([](const std::string&) -> std::vector<engine::TSubFolder> {
            throw std::runtime_error("disk gone");
        });
        QVERIFY(openWindow());
        QCOMPARE(m_errors, QStringList{QStringLiteral("disk gone.")});
        QCOMPARE(child<TRadioGroup>("RadioGroup1")->itemIndex(), 0);
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvora"));
    TWindowBehaviourTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_behaviour_test.moc"
