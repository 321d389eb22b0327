#include "ui/tree/tree_context_menu_linux.h"

TTreeContextMenu::TTreeContextMenu(const TFolderMenuState& state, QWidget* parent)
    : m_menu(std::make_unique<QMenu>(parent)) {
    m_menu->setToolTipsVisible(true);
    const auto allows = [&](TItemAttribute attribute) {
        return state.Attributes.testFlag(attribute);
    };
    const bool movable = state.HasPath && !state.IsTop;
    addVerb(QStringLiteral("打开"), verbs::Open, state.HasPath);
    m_menu->addSeparator();
    addVerb(QStringLiteral("剪切"), verbs::Cut, movable && allows(TItemAttribute::CanMove),
            state.HeldReason);
    addVerb(QStringLiteral("复制"), verbs::Copy, state.HasPath && allows(TItemAttribute::CanCopy));
    addVerb(QStringLiteral("粘贴"), verbs::Paste,
            state.HasPath && allows(TItemAttribute::DropTarget) && state.ClipboardHasPaths,
            state.PasteHeldReason);
    m_menu->addSeparator();
    addVerb(QStringLiteral("删除"), verbs::Delete, movable && allows(TItemAttribute::CanDelete),
            state.HeldReason);
    addVerb(QStringLiteral("重命名"), verbs::Rename,
            !state.IsTop && allows(TItemAttribute::CanRename), state.HeldReason);
    addVerb(QStringLiteral("新建文件夹"), verbs::NewFolder,
            state.HasPath && allows(TItemAttribute::DropTarget));
    m_menu->addSeparator();
    addVerb(QStringLiteral("属性"), verbs::Properties,
            state.HasPath && allows(TItemAttribute::HasPropertySheet));
}

QString TTreeContextMenu::choose(const TMenuChooser& choose, const QPoint& at) {
    if (choose) return choose(*m_menu, at);
    return verbOf(m_menu->exec(at));
}

QString TTreeContextMenu::verbOf(const QAction* action) {
    return action ? action->data().toString() : QString();
}

void TTreeContextMenu::addVerb(const QString& text, const QString& verb, bool enabled,
                               const QString& waitReason) {
    QAction* action = m_menu->addAction(text);
    action->setData(verb);
    action->setEnabled(enabled && waitReason.isEmpty());
    if (!enabled || waitReason.isEmpty()) return;
    action->setToolTip(waitReason);
    action->setStatusTip(waitReason);
}
