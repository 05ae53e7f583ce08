#include "platform/PhoneMenu.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

#include "image/DibImage.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PhoneText.h"

namespace {

constexpr int kBorder = 1;
constexpr int kTextLeft = 5;   // from the box's inner edge to the label
constexpr int kTextRight = 5;  // from the hint (or arrow) to the inner edge
constexpr int kHintGap = 10;   // between a label and its hint
constexpr int kArrowRoom = 8;  // the sub-menu triangle and its gap
constexpr int kMinimumWidth = 64;
constexpr int kSubmenuOverlap = 12;  // of a sub-menu over its parent

const QColor kBox(255, 255, 255);
const QColor kHighlightText(255, 255, 255);
const QColor kText(0, 0, 0);
const QColor kGreyText(140, 140, 140);
const QColor kSeparator(176, 176, 176);

bool Selectable(const MenuItem& item) {
    return !item.IsSeparator() && item.enabled;
}

// The first selectable row from start going by step (wrapping), or -1.
int NextSelectable(const Menu& items, int start, int step) {
    const int count = static_cast<int>(items.size());
    for (int i = 0; i < count; ++i) {
        const int row = ((start + step * i) % count + count) % count;
        if (Selectable(items[static_cast<size_t>(row)])) {
            return row;
        }
    }
    return -1;
}

// The label and the key hint after the tab.
void SplitItemText(const std::string& text, std::string* label, std::string* hint) {
    const size_t tab = text.find('\t');
    *label = text.substr(0, tab);
    *hint = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

PhoneMenuBox LayOutLevel(const Menu& items, int highlight, const PhoneMenuMeasure& measure) {
    PhoneMenuBox box;
    int width = kMinimumWidth;
    int top = 0;
    for (const MenuItem& item : items) {
        PhoneMenuRow row;
        row.top = top;
        row.separator = item.IsSeparator();
        row.height = row.separator ? kMenuSeparatorHeight : kMenuRowHeight;
        top += row.height;
        box.rows.push_back(row);
        if (row.separator) {
            continue;
        }
        std::string label;
        std::string hint;
        SplitItemText(item.text, &label, &hint);
        int needed = kTextLeft + measure(label) + kTextRight;
        if (!hint.empty()) {
            needed += kHintGap + measure(hint);
        }
        if (item.popup) {
            needed += kArrowRoom;
        }
        width = std::max(width, needed + 2 * kBorder);
    }
    box.width = std::min(width, static_cast<int>(kCanvasWidth));
    const int content = top;
    const int inner = std::min(content, static_cast<int>(kCanvasHeight) - 2 * kBorder);
    box.height = inner + 2 * kBorder;
    if (content > inner && highlight >= 0) {
        const PhoneMenuRow& row = box.rows[static_cast<size_t>(highlight)];
        box.scroll = std::clamp(row.top + row.height - inner, 0, content - inner);
    }
    return box;
}

}  // namespace

void PhoneMenuNavigator::Open(MenuId id, bool rightSide, const Menu& items) {
    id_ = id;
    rightSide_ = rightSide;
    highlights_.assign(1, NextSelectable(items, 0, 1));
}

void PhoneMenuNavigator::Close() {
    id_ = MENU_NONE;
    highlights_.clear();
}

int PhoneMenuNavigator::Highlight(int level) const {
    if (level < 0 || level >= Depth()) {
        return -1;
    }
    return highlights_[static_cast<size_t>(level)];
}

const Menu* PhoneMenuNavigator::Items(const Menu& root, int level) const {
    if (level < 0 || level >= Depth()) {
        return nullptr;
    }
    const Menu* items = &root;
    for (int i = 0; i < level; ++i) {
        const int row = highlights_[static_cast<size_t>(i)];
        if (row < 0 || row >= static_cast<int>(items->size()) ||
            !(*items)[static_cast<size_t>(row)].popup) {
            return nullptr;
        }
        items = &(*items)[static_cast<size_t>(row)].items;
    }
    return items;
}

const MenuItem* PhoneMenuNavigator::Current(const Menu& root) const {
    const Menu* items = Items(root, Depth() - 1);
    const int row = Highlight(Depth() - 1);
    if (items == nullptr || row < 0 || row >= static_cast<int>(items->size())) {
        return nullptr;
    }
    return &(*items)[static_cast<size_t>(row)];
}

void PhoneMenuNavigator::Validate(const Menu& root) {
    while (!highlights_.empty()) {
        const Menu* items = Items(root, Depth() - 1);
        const int row = highlights_.back();
        if (items != nullptr && row < static_cast<int>(items->size())) {
            // A highlighted item greyed meanwhile gives way to the next one.
            if (row >= 0 && !Selectable((*items)[static_cast<size_t>(row)])) {
                highlights_.back() = NextSelectable(*items, row, 1);
            }
            return;
        }
        highlights_.pop_back();
    }
    id_ = MENU_NONE;
}

// The action key on the deepest level's highlighted item.
PhoneMenuStep PhoneMenuNavigator::Take(const Menu& root) {
    const MenuItem* item = Current(root);
    if (item == nullptr || !Selectable(*item)) {
        return {};
    }
    if (item->popup) {
        return {MENU_OPEN_SUBMENU, 0};
    }
    const uint16_t command = item->id;
    Close();
    return {MENU_RUN, command};
}

PhoneMenuStep PhoneMenuNavigator::Key(PhoneMenuKey key, const Menu& root) {
    Validate(root);
    if (!IsOpen()) {
        return {};
    }
    const Menu* items = Items(root, Depth() - 1);
    int& highlight = highlights_.back();
    switch (key) {
        case MENU_KEY_UP:
        case MENU_KEY_DOWN: {
            const int step = key == MENU_KEY_DOWN ? 1 : -1;
            const int from = highlight < 0 ? (step > 0 ? 0 : -1) : highlight + step;
            const int next = NextSelectable(*items, from, step);
            if (next == highlight) {
                return {};
            }
            highlight = next;
            return {MENU_MOVED, 0};
        }
        case MENU_KEY_RIGHT: {
            const MenuItem* item = Current(root);
            return item != nullptr && item->popup ? PhoneMenuStep{MENU_OPEN_SUBMENU, 0}
                                                  : PhoneMenuStep{};
        }
        case MENU_KEY_ACTION:
            return Take(root);
        case MENU_KEY_LEFT:
            if (Depth() == 1) {
                return {};
            }
            highlights_.pop_back();
            return {MENU_MOVED, 0};
        case MENU_KEY_BACK:
            if (Depth() == 1) {
                Close();
                return {MENU_CLOSED, 0};
            }
            highlights_.pop_back();
            return {MENU_MOVED, 0};
    }
    return {};
}

PhoneMenuStep PhoneMenuNavigator::Digit(int digit, const Menu& root) {
    Validate(root);
    if (!IsOpen() || digit < 1 || digit > 9) {
        return {};
    }
    const Menu* items = Items(root, Depth() - 1);
    int counted = 0;
    for (size_t row = 0; row < items->size(); ++row) {
        if (!(*items)[row].IsSeparator() && ++counted == digit) {
            return Pick(Depth() - 1, static_cast<int>(row), root);
        }
    }
    return {};
}

PhoneMenuStep PhoneMenuNavigator::Pick(int level, int row, const Menu& root) {
    Validate(root);
    const Menu* items = Items(root, level);
    if (items == nullptr || row < 0 || row >= static_cast<int>(items->size())) {
        return {};
    }
    if (!Selectable((*items)[static_cast<size_t>(row)])) {
        return {};
    }
    highlights_.resize(static_cast<size_t>(level) + 1);
    highlights_.back() = row;
    const PhoneMenuStep step = Take(root);
    return step.outcome == MENU_UNCHANGED ? PhoneMenuStep{MENU_MOVED, 0} : step;
}

void PhoneMenuNavigator::OpenSubmenu(const Menu& root) {
    Validate(root);
    const MenuItem* item = Current(root);
    if (item == nullptr || !item->popup) {
        return;
    }
    highlights_.push_back(NextSelectable(item->items, 0, 1));
}

std::vector<PhoneMenuBox> LayOutPhoneMenu(const PhoneMenuNavigator& navigator, const Menu& root,
                                          const PhoneMenuMeasure& measure) {
    std::vector<PhoneMenuBox> boxes;
    for (int level = 0; level < navigator.Depth(); ++level) {
        const Menu* items = navigator.Items(root, level);
        if (items == nullptr) {
            break;
        }
        PhoneMenuBox box = LayOutLevel(*items, navigator.Highlight(level), measure);
        if (level == 0) {
            // On the soft-key strip, at its key's side.
            box.left = navigator.RightSide() ? kCanvasWidth - box.width : 0;
            box.top = kCanvasHeight - box.height;
        } else {
            // Beside the parent's highlighted row, overlapping the parent,
            // towards the middle of the screen, kept inside the area.
            const PhoneMenuBox& parent = boxes.back();
            const int parentRow = navigator.Highlight(level - 1);
            const PhoneMenuRow& row = parent.rows[static_cast<size_t>(parentRow)];
            box.top = parent.top + kBorder + row.top - parent.scroll - kBorder;
            box.left = navigator.RightSide() ? parent.left + kSubmenuOverlap - box.width
                                             : parent.left + parent.width - kSubmenuOverlap;
            box.left = std::clamp(box.left, 0, static_cast<int>(kCanvasWidth) - box.width);
            box.top = std::clamp(box.top, 0, static_cast<int>(kCanvasHeight) - box.height);
        }
        boxes.push_back(std::move(box));
    }
    return boxes;
}

bool HitPhoneMenu(const std::vector<PhoneMenuBox>& boxes, int x, int y, int* level, int* row) {
    for (int i = static_cast<int>(boxes.size()) - 1; i >= 0; --i) {
        const PhoneMenuBox& box = boxes[static_cast<size_t>(i)];
        if (x < box.left || x >= box.left + box.width || y < box.top || y >= box.top + box.height) {
            continue;
        }
        *level = i;
        *row = -1;
        const int inside = y - box.top - kBorder + box.scroll;
        for (size_t r = 0; r < box.rows.size(); ++r) {
            if (inside >= box.rows[r].top && inside < box.rows[r].top + box.rows[r].height) {
                *row = static_cast<int>(r);
            }
        }
        return true;
    }
    return false;
}

void DrawPhoneMenu(QPainter& painter, const QRect& pictureArea, int factor,
                   const PhoneMenuNavigator& navigator, const Menu& root,
                   const std::vector<PhoneMenuBox>& boxes) {
    const int f = std::max(factor, 1);
    const auto toWindow = [&](int x, int y, int width, int height) {
        return QRect(pictureArea.left() + x * f, pictureArea.top() + y * f, width * f, height * f);
    };
    for (size_t level = 0; level < boxes.size(); ++level) {
        const PhoneMenuBox& box = boxes[level];
        const Menu* items = navigator.Items(root, static_cast<int>(level));
        if (items == nullptr) {
            return;
        }
        const int highlight = navigator.Highlight(static_cast<int>(level));
        const QRect outer = toWindow(box.left, box.top, box.width, box.height);
        const QRect inner = toWindow(box.left + kBorder, box.top + kBorder, box.width - 2 * kBorder,
                                     box.height - 2 * kBorder);
        painter.fillRect(outer, kPhoneBlue);
        painter.fillRect(inner, kBox);
        painter.save();
        painter.setClipRect(inner);
        for (size_t r = 0; r < items->size() && r < box.rows.size(); ++r) {
            const MenuItem& item = (*items)[r];
            const PhoneMenuRow& row = box.rows[r];
            const int top = box.top + kBorder + row.top - box.scroll;
            const int innerWidth = box.width - 2 * kBorder;
            if (row.separator) {
                painter.fillRect(
                    toWindow(box.left + kBorder + 3, top + row.height / 2, innerWidth - 6, 1),
                    kSeparator);
                continue;
            }
            const bool lit = static_cast<int>(r) == highlight;
            if (lit) {
                painter.fillRect(toWindow(box.left + kBorder, top, innerWidth, row.height),
                                 kPhoneBlue);
            }
            PhoneTextStyle style;
            style.pixelSize = kMenuFontPixels;
            style.color = lit ? kHighlightText : item.enabled ? kText : kGreyText;
            std::string label;
            std::string hint;
            SplitItemText(item.text, &label, &hint);
            int right = box.left + kBorder + innerWidth - kTextRight;
            if (item.popup) {
                // A triangle pointing right, 4 wide and 7 high.
                const QRect arrow = toWindow(right - 4, top + (row.height - 7) / 2, 4, 7);
                QPolygon triangle;
                triangle << arrow.topLeft() << QPoint(arrow.right() + 1, arrow.center().y() + 1)
                         << QPoint(arrow.left(), arrow.bottom() + 1);
                painter.setPen(Qt::NoPen);
                painter.setBrush(style.color);
                painter.drawPolygon(triangle);
                right -= kArrowRoom;
            }
            const int labelLeft = box.left + kBorder + kTextLeft;
            if (!hint.empty()) {
                style.align = Qt::AlignRight | Qt::AlignVCenter;
                DrawPhoneText(painter, toWindow(labelLeft, top, right - labelLeft, row.height),
                              hint, style, f);
                right -= PhoneTextPhoneWidth(hint, kMenuFontPixels, FONT_REGULAR, f) + kHintGap;
            }
            style.align = Qt::AlignLeft | Qt::AlignVCenter;
            DrawPhoneText(painter, toWindow(labelLeft, top, right - labelLeft, row.height), label,
                          style, f);
        }
        painter.restore();
    }
}
