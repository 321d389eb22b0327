// The whole job through the real window: a folder chosen in the tree, the settings typed into
// the edits, "应用改名" pressed, on real temporary folders.
#include <optional>
#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "tests/ui/named_child.h"
#include "tests/ui/scoped_environment.h"
#include "tests/ui/window_fixture.h"
#include "ui/common/error_display.h"
#include "ui/tree/shell_tree_view.h"
#include "ui/widgets/radio_group.h"
#include "ui/widgets/up_down.h"
#include "ui/window/Umain.h"
#include "ui/window/entry_model.h"

class TWindowBehaviourTest : public QObject, TWindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listsTheDesktopAtStartUp();
    void listsNothingAtStartUpWithoutADesktopFolder();
    void selectingAFolderListsItAndAVirtualItemKeepsIt();
    void anInvalidStartNumberIsShownAndKeepsThePreview();
    void anEmptyDigitCountIsNamedThenANewCountPreviews();
    void anUpDownClickRefreshesThePreview();
    void anErrorWhileAnArrowIsHeldEndsThePress();
    void thePreviewShowsTypedMarkupAsText();
    void changingTheRenameTypeChangesNothing();
    void applyRenamesInListOrderAndFillsTheNewNames();
    void enterOnTheFocusedApplyButtonRenames_data();
    void enterOnTheFocusedApplyButtonRenames();
    void aFailedRowIsMarkedWithItsReason();
    void aSecondPressChangesNothingOnDisk();
    void anInvalidDeleteStartStopsTheRunBeforeAnyRename();
    void anEditedOldNameIsUsedByTheNextApply();
    void theProgramShowsErrorsInAModalBox();
    void anErrorDuringStartUpIsShownAndStartUpGoesOn();

private:
    void makeFiles(const QString& folder, const QStringList& names);
    void startWindow();
    void selectNode(const QString& label);
    void typeInto(const char* editName, const QString& text);
    void pressApply();
    QStringList namesOnDisk(const QString& folder) const;
    QString newNameShown(int row) const;
    template <typename T> T* child(const char* name) const { return NamedChild<T>(m_window, name); }

    QStringList m_errors;
};

void TWindowBehaviourTest::init() {
    m_errors.clear();
    SetErrorDisplay([this](const QString& message) { m_errors << message; });
    m_namespace.emplace();
    makeFiles(m_namespace->desk(), {"desk-file.txt"});
    QVERIFY(QDir().mkpath(m_namespace->desk("work")));
    makeFiles(m_namespace->desk("work"), {"b.txt", "a.txt", "c.txt"});
}

void TWindowBehaviourTest::cleanup() {
    closeWindow();
}

void TWindowBehaviourTest::makeFiles(const QString& folder, const QStringList& names) {
    for (const QString& name : names) {
        QFile file(folder + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8()); // each file holds its own first name
    }
}

void TWindowBehaviourTest::startWindow() {
    QVERIFY(openWindow());
}

void TWindowBehaviourTest::selectNode(const QString& label) {
    auto* tree = child<TShellTreeView>("ShellTreeView1");
    const QList<QTreeWidgetItem*> found = tree->findItems(label, Qt::MatchRecursive);
    QVERIFY2(!found.isEmpty(), qPrintable(label));
    tree->scrollToItem(found.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(found.first()).center());
    QCOMPARE(tree->currentItem(), found.first());
    QTRY_VERIFY(!m_window->isBusy()); // listed on a worker
}

void TWindowBehaviourTest::typeInto(const char* editName, const QString& text) {
    auto* edit = child<QLineEdit>(editName);
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

void TWindowBehaviourTest::pressApply() {
    QTest::mouseClick(child<QWidget>("RzBitBtn1"), Qt::LeftButton);
    QTRY_VERIFY(!m_window->isBusy()); // renamed on a worker
}

QStringList TWindowBehaviourTest::namesOnDisk(const QString& folder) const {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name | QDir::IgnoreCase);
}

QString TWindowBehaviourTest::newNameShown(int row) const {
    const QAbstractItemModel* model = child<QTreeView>("ListView1")->model();
    return model->index(row, TEntryModel::NewNameColumn).data().toString();
}

void TWindowBehaviourTest::listsTheDesktopAtStartUp() {
    startWindow();
    QCOMPARE(m_window->CurrentFolder(), TTempNamespace::listed(m_namespace->desk()));
    const QAbstractItemModel* model = child<QTreeView>("ListView1")->model();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("desk-file.txt"));
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("work"));
    QCOMPARE(child<TRadioGroup>("RadioGroup1")->itemIndex(), 0);
    QVERIFY(m_errors.isEmpty());
}

// The user's own namespace, in a home that has dot files but no desktop folder.
void TWindowBehaviourTest::listsNothingAtStartUpWithoutADesktopFolder() {
    if (!TempNamespaceHasLinuxPlaces()) QSKIP("the shell's namespace has no such place");
    m_namespace.reset();
    QTemporaryDir home;
    makeFiles(home.path(), {".bashrc", "notes.txt"});
    const TScopedVariable homeVariable("HOME", QFile::encodeName(home.path()));
    const TScopedVariable config("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/.config"));
    const TShellNamespaceScope userNamespace(CreateUserNamespace());
    startWindow();
    auto* tree = child<TShellTreeView>("ShellTreeView1");
    QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
    QCOMPARE(tree->currentItem()->text(0), QStringLiteral("桌面"));
    QCOMPARE(tree->selectedPath(), "桌面");
    QCOMPARE(m_window->CurrentFolder(), std::string());
    QCOMPARE(child<QTreeView>("ListView1")->model()->rowCount(), 0);
    selectNode(QStringLiteral("主文件夹"));
    QCOMPARE(m_window->CurrentFolder(), TTempNamespace::listed(home.path()));
    QVERIFY(m_errors.isEmpty());
    delete m_window; // before the namespace goes
    m_window = nullptr;
}

void TWindowBehaviourTest::selectingAFolderListsItAndAVirtualItemKeepsIt() {
    startWindow();
    selectNode(QStringLiteral("work"));
    const std::string work = TTempNamespace::listed(m_namespace->desk("work"));
    QCOMPARE(m_window->CurrentFolder(), work);
    const QAbstractItemModel* model = child<QTreeView>("ListView1")->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("a.txt"));
    QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral(".txt"));

    if (!TempNamespaceHasLinuxPlaces()) QSKIP("the shell's namespace has no virtual item here");
    selectNode(QStringLiteral("计算机"));
    QCOMPARE(m_window->CurrentFolder(), work);
    QCOMPARE(model->rowCount(), 3);
    QVERIFY(m_errors.isEmpty());
}

void TWindowBehaviourTest::anInvalidStartNumberIsShownAndKeepsThePreview() {
    startWindow();
    typeInto("Edit1", QStringLiteral("1a"));
    QCOMPARE(m_errors.last(), QStringLiteral("'1a' is not a valid integer value."));
    QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("例：A-0001 "));
    // The focus stays in the edit being typed into.
    QCOMPARE(QApplication::focusWidget(), child<QWidget>("Edit1"));
}

void TWindowBehaviourTest::anEmptyDigitCountIsNamedThenANewCountPreviews() {
    startWindow();
    typeInto("Edit2", QString());
    QCOMPARE(m_errors, QStringList{QStringLiteral("'' is not a valid integer value.")});
    QTest::keyClicks(child<QLineEdit>("Edit2"), QStringLiteral("3"));
    QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("例：A-001 "));
    // "2", "25" and "256" in turn: the last is too long for any name and keeps the 25 digits.
    typeInto("Edit2", QStringLiteral("256"));
    QVERIFY(m_errors.last().startsWith(QStringLiteral("'256' is too large a digit count")));
    QCOMPARE(child<QLabel>("Label3")->text(),
             QStringLiteral("例：A-") + QString(24, QLatin1Char('0')) + QStringLiteral("1 "));
}

void TWindowBehaviourTest::anUpDownClickRefreshesThePreview() {
    startWindow();
    auto* up = child<TUpDown>("UpDown1")->findChild<QToolButton*>(QStringLiteral("up"));
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("例：A-0002 "));
    typeInto("Edit5", QStringLiteral("x")); // the preview does not read the delete texts
    QVERIFY(m_errors.isEmpty());
}

void TWindowBehaviourTest::anErrorWhileAnArrowIsHeldEndsThePress() {
    startWindow();
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

void TWindowBehaviourTest::thePreviewShowsTypedMarkupAsText() {
    startWindow();
    typeInto("Edit3", QStringLiteral("<b>B</b>"));
    auto* label3 = child<QLabel>("Label3");
    QCOMPARE(label3->text(), QStringLiteral("例：<b>B</b>0001 "));
    // Read as markup, the tags would vanish and the label shrink to «例：B0001 ».
    QVERIFY(label3->width() >= label3->fontMetrics().horizontalAdvance(label3->text()));
}

void TWindowBehaviourTest::changingTheRenameTypeChangesNothing() {
    startWindow();
    typeInto("Edit3", QStringLiteral("P"));
    QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("例：P0001 "));
    auto* group = child<TRadioGroup>("RadioGroup1");
    QTest::mouseClick(group->findChildren<QRadioButton*>()[2], Qt::LeftButton);
    QCOMPARE(group->itemIndex(), 2);
    QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("例：P0001 "));
    QCOMPARE(child<QTreeView>("ListView1")->model()->rowCount(), 2);
}

void TWindowBehaviourTest::applyRenamesInListOrderAndFillsTheNewNames() {
    startWindow();
    selectNode(QStringLiteral("work"));
    pressApply();
    QCOMPARE(namesOnDisk(m_namespace->desk("work")),
             (QStringList{"A-0001 a.txt", "A-0002 b.txt", "A-0003 c.txt"}));
    QFile first(m_namespace->desk("work/A-0001 a.txt"));
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), QByteArray("a.txt"));
    QCOMPARE(newNameShown(0), QStringLiteral("A-0001 a.txt"));
    QCOMPARE(newNameShown(2), QStringLiteral("A-0003 c.txt"));
    const QAbstractItemModel* model = child<QTreeView>("ListView1")->model();
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("a.txt"));
    QVERIFY(!model->index(0, 1).data(Qt::ToolTipRole).isValid());
    QVERIFY(m_errors.isEmpty());
}

void TWindowBehaviourTest::enterOnTheFocusedApplyButtonRenames_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Return") << Qt::Key_Return << Qt::KeyboardModifiers();
    QTest::newRow("keypad Enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
}

void TWindowBehaviourTest::enterOnTheFocusedApplyButtonRenames() {
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    startWindow();
    selectNode(QStringLiteral("work"));
    auto* apply = child<QWidget>("RzBitBtn1");
    apply->setFocus();
    QVERIFY(apply->hasFocus());
    QTest::keyClick(apply, key, modifiers);
    QTRY_VERIFY(!m_window->isBusy());
    QCOMPARE(namesOnDisk(m_namespace->desk("work")),
             (QStringList{"A-0001 a.txt", "A-0002 b.txt", "A-0003 c.txt"}));
}

void TWindowBehaviourTest::aFailedRowIsMarkedWithItsReason() {
    makeFiles(m_namespace->desk("work"), {"X0002 b.txt"}); // b.txt's target is taken
    startWindow();
    selectNode(QStringLiteral("work"));
    typeInto("Edit3", QStringLiteral("X"));
    pressApply();
    // Rows: a.txt, b.txt, c.txt, X0002 b.txt.
    const QAbstractItemModel* model = child<QTreeView>("ListView1")->model();
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("b.txt"));
    const QModelIndex failed = model->index(1, TEntryModel::NewNameColumn);
    QCOMPARE(failed.data().toString(), QStringLiteral("X0002 b.txt"));
    QCOMPARE(failed.data(Qt::ToolTipRole).toString(), QStringLiteral("目标已存在"));
    QCOMPARE(failed.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QVERIFY(!failed.data(Qt::DecorationRole).value<QIcon>().isNull());
    QVERIFY(!model->index(2, 1).data(Qt::ToolTipRole).isValid());
    // The clashing file kept its content and went on to take the last number itself.
    QCOMPARE(namesOnDisk(m_namespace->desk("work")),
             (QStringList{"b.txt", "X0001 a.txt", "X0003 c.txt", "X0004 X0002 b.txt"}));
    QFile clash(m_namespace->desk("work/X0004 X0002 b.txt"));
    QVERIFY(clash.open(QIODevice::ReadOnly));
    QCOMPARE(clash.readAll(), QByteArray("X0002 b.txt"));
}

void TWindowBehaviourTest::aSecondPressChangesNothingOnDisk() {
    startWindow();
    selectNode(QStringLiteral("work"));
    pressApply();
    const QStringList afterFirst = namesOnDisk(m_namespace->desk("work"));
    pressApply();
    QCOMPARE(namesOnDisk(m_namespace->desk("work")), afterFirst);
    QCOMPARE(newNameShown(1), QStringLiteral("A-0002 b.txt"));
    const QModelIndex failed = child<QTreeView>("ListView1")->model()->index(1, 1);
    QCOMPARE(failed.data(Qt::ToolTipRole).toString(), QStringLiteral("找不到文件或文件夹"));
}

void TWindowBehaviourTest::anInvalidDeleteStartStopsTheRunBeforeAnyRename() {
    startWindow();
    selectNode(QStringLiteral("work"));
    QTest::mouseClick(child<TRadioGroup>("RadioGroup1")->findChildren<QRadioButton*>()[3],
                      Qt::LeftButton);
    typeInto("Edit5", QStringLiteral("x"));
    QVERIFY(m_errors.isEmpty());
    QTest::mouseClick(child<QWidget>("RzBitBtn1"), Qt::LeftButton);
    // Checked before the batch starts: the error shows at once and nothing runs.
    QCOMPARE(m_errors, QStringList{QStringLiteral("'x' is not a valid integer value.")});
    QVERIFY(!m_window->isRenaming());
    QCOMPARE(namesOnDisk(m_namespace->desk("work")), (QStringList{"a.txt", "b.txt", "c.txt"}));
    QCOMPARE(newNameShown(0), QString());
}

void TWindowBehaviourTest::anEditedOldNameIsUsedByTheNextApply() {
    startWindow();
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
    const QStringList names = namesOnDisk(m_namespace->desk("work"));
    QVERIFY(names.contains("a.txt"));
    QVERIFY(names.contains("A-0001 saved later.txt"));
}

void TWindowBehaviourTest::theProgramShowsErrorsInAModalBox() {
    startWindow();
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

void TWindowBehaviourTest::anErrorDuringStartUpIsShownAndStartUpGoesOn() {
    if (!TempNamespaceHasLinuxPlaces()) QSKIP("the shell's namespace has no such place");
    m_namespace.reset();
    m_namespace.emplace([](const std::string&) -> std::vector<engine::TSubFolder> {
        throw std::runtime_error("disk gone");
    });
    startWindow();
    QCOMPARE(m_errors, QStringList{QStringLiteral("disk gone.")});
    QCOMPARE(child<TRadioGroup>("RadioGroup1")->itemIndex(), 0);
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvora"));
    TWindowBehaviourTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_behaviour_test.moc"
