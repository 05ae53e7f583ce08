#include "platform/SelectFolderDialog.h"

#include <QApplication>
#include <QByteArray>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QTreeWidget>

#include <cstdint>
#include <vector>

#include "app/Strings.h"
#include "dialogs/FolderTree.h"
#include "files/FilePaths.h"
#include "platform/PhoneText.h"
#include "resources/Resources.h"

namespace {

constexpr int kIconWidth = 16;
constexpr int kIconHeight = 15;
constexpr int kFontPixels = 12;
constexpr int kIndentation = 12;

// Item data: the label's bytes as the file system spells them (the shown
// text may have lost some), and whether the children have been listed.
constexpr int kLabelRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

enum FolderIcon { ICON_OPEN = 0, ICON_CLOSED = 1, ICON_DEVICE = 2 };

// The strip with white made transparent, or a null image.
QImage FolderIconStrip() {
    size_t size = 0;
    const uint8_t* bytes = ResourceBytes(RESOURCE_FOLDER_ICONS, &size);
    if (bytes == nullptr || size == 0 || size > static_cast<size_t>(INT32_MAX)) {
        return QImage();
    }
    QImage strip = QImage::fromData(bytes, static_cast<int>(size), "BMP");
    if (strip.isNull()) {
        return strip;
    }
    strip = strip.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if ((row[x] & 0xffffff) == 0xffffff) {
                row[x] = 0;
            }
        }
    }
    return strip;
}

QIcon TwoStateIcon(const QPixmap& normal, const QPixmap& selected) {
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(selected, QIcon::Selected);
    return icon;
}

std::string Label(const QTreeWidgetItem* item) {
    return item->data(0, kLabelRole).toByteArray().toStdString();
}

}  // namespace

QPixmap FolderIconPixmap(int index, int factor) {
    const QImage strip = FolderIconStrip();
    if (strip.isNull() || index < 0 || (index + 1) * kIconWidth > strip.width() ||
        strip.height() < kIconHeight) {
        return QPixmap();
    }
    const QImage icon = strip.copy(index * kIconWidth, 0, kIconWidth, kIconHeight);
    return QPixmap::fromImage(icon.scaled(kIconWidth * factor, kIconHeight * factor,
                                          Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

SelectFolderDialog::SelectFolderDialog(QWidget* parent, const QRect& phone, int factor,
                                       const std::string& folder)
    : PhoneDialog(parent, phone, factor, QStringLiteral("Select Folder"),
                  QString::fromUtf8(ResString(IDS_OK)), QString::fromUtf8(ResString(IDS_CANCEL))) {
    const int f = Factor();
    const QPixmap open = FolderIconPixmap(ICON_OPEN, f);
    const QPixmap closed = FolderIconPixmap(ICON_CLOSED, f);
    const QPixmap device = FolderIconPixmap(ICON_DEVICE, f);
    deviceIcon_ = TwoStateIcon(device, device);
    closedIcon_ = TwoStateIcon(closed, open);
    openIcon_ = TwoStateIcon(open, open);

    tree_ = new QTreeWidget(this);
    tree_->setFont(PhoneQtFont(kFontPixels * f));
    tree_->setGeometry(BodyRect());
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setRootIsDecorated(true);
    tree_->setIndentation(kIndentation * f);
    tree_->setIconSize(QSize(kIconWidth * f, kIconHeight * f));
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setFrameShape(QFrame::NoFrame);
    tree_->installEventFilter(this);
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { Fill(item); });

    root_ = new QTreeWidgetItem(tree_, {QString::fromUtf8(ResString(IDS_ROOT_FOLDER))});
    root_->setData(0, kLabelRole, QByteArray("/"));
    root_->setIcon(0, deviceIcon_);
    root_->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    WalkTo(folder);
    QApplication::restoreOverrideCursor();
    tree_->setFocus();
}

bool SelectFolderDialog::Run(std::string* folder) {
    if (exec() != QDialog::Accepted) {
        return false;
    }
    *folder = chosen_;
    return true;
}

std::string SelectFolderDialog::ItemPath(const QTreeWidgetItem* item) {
    std::vector<std::string> labels;
    for (; item != nullptr && item->parent() != nullptr; item = item->parent()) {
        labels.insert(labels.begin(), Label(item));
    }
    return FolderPathFromLabels(labels);
}

std::string SelectFolderDialog::SelectedPath() const {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    return ItemPath(selected.isEmpty() ? nullptr : selected.front());
}

void SelectFolderDialog::SoftKey(bool left) {
    if (left) {
        Ok();
    } else {
        reject();
    }
}

bool SelectFolderDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != tree_ || event->type() != QEvent::KeyPress) {
        return PhoneDialog::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_F1:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!key->isAutoRepeat()) {
                Ok();
            }
            return true;
        case Qt::Key_F2:
        case Qt::Key_Escape:
        case Qt::Key_Backspace:
            if (!key->isAutoRepeat()) {
                reject();
            }
            return true;
        default:
            return false;
    }
}

void SelectFolderDialog::Fill(QTreeWidgetItem* item) {
    if (item->data(0, kFilledRole).toBool()) {
        return;
    }
    item->setData(0, kFilledRole, true);
    if (item != root_) {
        item->setIcon(0, openIcon_);
    }
    const std::string path = ItemPath(item);
    const std::vector<std::string> names = ListSubfolders(path);
    for (const std::string& name : names) {
        auto* child = new QTreeWidgetItem(item, {QString::fromStdString(name)});
        child->setData(0, kLabelRole, QByteArray::fromStdString(name));
        child->setIcon(0, closedIcon_);
        child->setChildIndicatorPolicy(HasSubfolders(JoinPath(path, name))
                                           ? QTreeWidgetItem::ShowIndicator
                                           : QTreeWidgetItem::DontShowIndicator);
    }
    if (names.empty()) {
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
    }
}

// Expands the root, then follows the folder's names down as far as they
// match; the deepest match is expanded and selected.
void SelectFolderDialog::WalkTo(const std::string& folder) {
    Fill(root_);
    root_->setExpanded(true);
    QTreeWidgetItem* deepest = root_;
    for (const std::string& name : SplitFolderPath(folder)) {
        std::vector<std::string> labels;
        for (int i = 0; i < deepest->childCount(); ++i) {
            labels.push_back(Label(deepest->child(i)));
        }
        const int found = FindFolderLabel(labels, name);
        if (found < 0) {
            break;
        }
        deepest = deepest->child(found);
        Fill(deepest);
        deepest->setExpanded(true);
    }
    tree_->setCurrentItem(deepest);
    tree_->scrollToItem(deepest);
}

void SelectFolderDialog::Ok() {
    chosen_ = SelectedPath();
    accept();
}
