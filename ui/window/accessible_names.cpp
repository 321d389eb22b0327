#include "ui/window/accessible_names.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "ui/widgets/up_down.h"

namespace {

// An edit, the label that names it, its up-down (if any) and the group box it sits in.
struct TLabelledEdit {
    const char* edit;
    const char* label;
    const char* upDown;
    const char* group;
};

constexpr TLabelledEdit LabelledEdits[] = {
    {"Edit1", "Label1", "UpDown1", "GroupBox1"}, {"Edit2", "Label2", "UpDown2", "GroupBox1"},
    {"Edit3", "Label4", nullptr, "GroupBox1"},   {"Edit4", "Label5", nullptr, "GroupBox1"},
    {"Edit5", "Label6", "UpDown3", "GroupBox2"}, {"Edit6", "Label7", "UpDown4", "GroupBox2"},
};

template <typename TWidget> TWidget* Child(QWidget* window, const char* name) {
    auto* found = window->findChild<TWidget*>(QLatin1String(name));
    Q_ASSERT(found);
    return found;
}

void NameEdit(QWidget* window, const TLabelledEdit& names) {
    auto* edit = Child<QLineEdit>(window, names.edit);
    auto* label = Child<QLabel>(window, names.label);
    const QString group = Child<QGroupBox>(window, names.group)->title();
    label->setBuddy(edit); // a screen reader then finds the edit labelled by it
    edit->setAccessibleName(label->text());
    edit->setAccessibleDescription(group);
    if (names.upDown)
        Child<TUpDown>(window, names.upDown)
            ->describe(group + QStringLiteral("：") + label->text());
}

} // namespace

void NameControlsForScreenReaders(QWidget* window) {
    for (const TLabelledEdit& names : LabelledEdits)
        NameEdit(window, names);
    auto* tree = Child<QTreeWidget>(window, "ShellTreeView1");
    tree->setAccessibleName(QStringLiteral("文件夹"));
    tree->setHeaderLabel(QStringLiteral("文件夹")); // hidden, but read out: not as "1"
    Child<QWidget>(window, "ListView1")->setAccessibleName(QStringLiteral("文件列表"));
    Child<QWidget>(window, "RzPanel1")->setAccessibleName(QStringLiteral("设置"));
    Child<QWidget>(window, "Label3")->setAccessibleDescription(QStringLiteral("序号预览"));
    const QString credit = Child<QLabel>(window, "StatusPanel")->text();
    Child<QWidget>(window, "StatusBar1")->setAccessibleName(credit);
}
