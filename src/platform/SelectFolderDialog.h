// SelectFolderDialog: the Select Folder dialog over the phone screen. Title
// "Select Folder", soft keys "OK" and "Cancel", and a tree of the file
// system's folders from the root item "Smartphone", which stands for "/".
//
// Every other item is a folder labelled with its name; its path is "/"
// followed by the labels below the root, joined by "/". A folder's children
// are listed when it is first expanded (ListSubfolders, in that order) and
// never again; before that, HasSubfolders decides whether it shows the
// expand mark. Icons come from the built-in folder-icon strip: the root the
// device (2); a folder not yet expanded the closed folder (1), the open
// folder (0) while selected; an expanded folder the open folder (0).
//
// On opening, the tree walks to the given folder: level by level it expands
// the item and takes the child whose label matches the next folder name
// without regard to letter case; the deepest match is selected (the root
// when even the first name is missing). The tree takes every key (arrows
// move and expand, letters search) but these: F1, Return or Enter is OK,
// F2 is Cancel, Escape or Backspace (the phone's Back) cancels.
#pragma once

#include <QIcon>
#include <QPixmap>

#include <string>

#include "platform/PhoneDialog.h"

class QTreeWidget;
class QTreeWidgetItem;

// Icon index (0 open folder, 1 closed folder, 2 device) of the folder-icon
// strip, 16 x 15 phone pixels enlarged by factor, white made transparent.
// Null when the strip is missing or the index is outside it.
QPixmap FolderIconPixmap(int index, int factor);

class SelectFolderDialog : public PhoneDialog {
    Q_OBJECT

  public:
    // folder: an absolute path to open on; empty means "/".
    SelectFolderDialog(QWidget* parent, const QRect& phone, int factor, const std::string& folder);

    // Shows the dialog modally. True with *folder set to the chosen path
    // after OK; false, *folder unchanged, when cancelled.
    bool Run(std::string* folder);

    QTreeWidget* Tree() const { return tree_; }
    QTreeWidgetItem* Root() const { return root_; }
    // The path an item stands for: "/" for the root.
    static std::string ItemPath(const QTreeWidgetItem* item);
    // The path of the selected item ("/" when none is).
    std::string SelectedPath() const;

  protected:
    void SoftKey(bool left) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Lists the item's subfolders as its children, the first time only.
    void Fill(QTreeWidgetItem* item);
    void WalkTo(const std::string& folder);
    void Ok();

    QTreeWidget* tree_;
    QTreeWidgetItem* root_;
    QIcon deviceIcon_;
    QIcon closedIcon_;  // the open folder while selected
    QIcon openIcon_;
    std::string chosen_;
};
