#pragma once
// The folder tree's context menu, one file per platform: our own menu on Linux
// (shell_tree_menu_linux.cpp), the shell's own on Windows (shell_tree_menu_win.cpp).

#include <QPoint>

struct TShellFolder;
class TShellTreeView;

// Shows the folder menu of `entry` at the screen position `at` and carries out the chosen
// verb; "rename", "delete", "paste" and "newfolder" also update the tree. Throws
// engine::TError when a command fails.
void ShowShellTreeMenu(TShellTreeView& tree, TShellFolder& entry, const QPoint& at);
