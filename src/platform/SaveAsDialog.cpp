#include "platform/SaveAsDialog.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPolygon>

#include <functional>
#include <utility>

#include "app/Strings.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PhoneText.h"

namespace {

constexpr int kFontPixels = 12;

// Where the parts lie, in phone pixels from the body's top-left corner.
struct PhoneBox {
    int x;
    int y;
    int width;
    int height;
};
constexpr PhoneBox kFolderLabel = {4, 4, 80, 18};
constexpr PhoneBox kFolderField = {8, 24, 162, 22};
constexpr PhoneBox kNameLabel = {4, 52, 52, 22};
constexpr PhoneBox kNameField = {58, 52, 112, 22};
constexpr PhoneBox kFormatLabel = {4, 78, 52, 22};
constexpr PhoneBox kFormatField = {58, 78, 112, 22};
constexpr PhoneBox kQualityLabel = {4, 104, 52, 22};
constexpr PhoneBox kQualityField = {58, 104, 112, 22};
constexpr PhoneBox kSizeLabel = {4, 130, 36, 22};
constexpr PhoneBox kSizeField = {40, 130, 130, 22};
constexpr PhoneBox kKeepBox = {4, 156, 166, 20};

// The items of the two lists, in their order.
const char* const kFormatItems[] = {"*.bmp-Bitmap", "*.jpg-Jpeg", "*.png-Png"};
const PictureType kFormatTypes[] = {PICTURE_BMP, PICTURE_JPEG, PICTURE_PNG};
const char* const kQualityItems[] = {"Best", "Good", "Small"};
const int kQualityValues[] = {kJpegQualityBest, kJpegQualityGood, kJpegQualitySmall};
constexpr int kChoiceCount = 3;

// The index of value in the list, or fallback when it is not there.
template <typename T>
int IndexOf(const T (&values)[kChoiceCount], T value, int fallback) {
    for (int i = 0; i < kChoiceCount; ++i) {
        if (values[i] == value) {
            return i;
        }
    }
    return fallback;
}

// A list's items as the spinner shows them.
QStringList ItemsOf(const char* const (&items)[kChoiceCount]) {
    QStringList list;
    for (const char* item : items) {
        list.append(QString::fromLatin1(item));
    }
    return list;
}

// The fields' own text is Qt's, in the screen font.
QFont DialogFont(int factor) {
    return PhoneQtFont(kFontPixels * factor);
}

}  // namespace

// The name field. Coming into it never selects the text (the desktop does
// so on Tab, and the dialog's first focus counts as one): Back then deletes
// one character, and typing adds to the name.
class SaveNameField : public QLineEdit {
  public:
    explicit SaveNameField(QWidget* parent) : QLineEdit(parent) {}

  protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
            end(false);
        }
    }
};

// A one-line list with its spinner (the format, the quality, the size):
// shows one item between two arrows; Left and Right step through the items,
// wrapping. Disabled, it shows its item greyed and takes no focus.
class SaveChoiceField : public QWidget {
  public:
    SaveChoiceField(QWidget* parent, QStringList items, int index, int factor)
        : QWidget(parent), items_(std::move(items)), index_(index), factor_(factor) {
        setFocusPolicy(Qt::StrongFocus);
    }

    int Index() const { return index_; }
    // Called after every change of the item.
    std::function<void()> changed;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
            const int count = static_cast<int>(items_.size());
            index_ = (index_ + (event->key() == Qt::Key_Right ? 1 : count - 1)) % count;
            update();
            if (changed) {
                changed();
            }
            return;
        }
        QWidget::keyPressEvent(event);
    }

    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::EnabledChange) {
            update();
        }
        QWidget::changeEvent(event);
    }

    void focusInEvent(QFocusEvent* event) override {
        update();
        QWidget::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override {
        update();
        QWidget::focusOutEvent(event);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int f = factor_;
        const QColor frame = hasFocus()    ? kPhoneBlue
                             : isEnabled() ? QColor(128, 128, 128)
                                           : QColor(192, 192, 192);
        painter.fillRect(rect(), frame);
        painter.fillRect(rect().adjusted(f, f, -f, -f), Qt::white);
        const int arrow = 4 * f;
        const int cy = height() / 2;
        QPolygon left;
        left << QPoint(3 * f, cy) << QPoint(3 * f + arrow, cy - arrow)
             << QPoint(3 * f + arrow, cy + arrow);
        QPolygon right;
        right << QPoint(width() - 3 * f, cy) << QPoint(width() - 3 * f - arrow, cy - arrow)
              << QPoint(width() - 3 * f - arrow, cy + arrow);
        painter.setPen(Qt::NoPen);
        painter.setBrush(frame);
        painter.drawPolygon(left);
        painter.drawPolygon(right);
        PhoneTextStyle style;
        style.pixelSize = kFontPixels;
        style.align = Qt::AlignCenter;
        style.color = isEnabled() ? QColor(Qt::black) : QColor(Qt::gray);
        DrawPhoneText(painter, rect().adjusted(9 * f, 0, -9 * f, 0),
                      items_.value(index_).toStdString(), style, f);
    }

  private:
    QStringList items_;
    int index_;
    int factor_;
};

SaveAsDialog::SaveAsDialog(QWidget* parent, const QRect& phone, int factor,
                           SaveAsDialogRequest& request)
    : PhoneDialog(parent, phone, factor, QStringLiteral("Save as"),
                  QString::fromUtf8(ResString(IDS_OK)), QString::fromUtf8(ResString(IDS_CANCEL))),
      request_(request) {
    setFont(DialogFont(Factor()));

    folder_ = new QLineEdit(QString::fromStdString(request.folder), this);
    folder_->setReadOnly(true);
    folder_->setCursorPosition(0);
    folder_->setGeometry(
        PhoneRect(kFolderField.x, kFolderField.y, kFolderField.width, kFolderField.height));

    name_ = new SaveNameField(this);
    name_->setMaxLength(kMaxSaveNameLength);
    name_->setText(QString::fromStdString(request.proposedName));
    name_->setGeometry(PhoneRect(kNameField.x, kNameField.y, kNameField.width, kNameField.height));

    format_ = new SaveChoiceField(this, ItemsOf(kFormatItems),
                                  IndexOf(kFormatTypes, request.format, 1), Factor());
    format_->setGeometry(
        PhoneRect(kFormatField.x, kFormatField.y, kFormatField.width, kFormatField.height));
    format_->changed = [this] { FormatChanged(); };
    quality_ = new SaveChoiceField(this, ItemsOf(kQualityItems),
                                   IndexOf(kQualityValues, request.jpegQuality, 1), Factor());
    quality_->setGeometry(
        PhoneRect(kQualityField.x, kQualityField.y, kQualityField.width, kQualityField.height));
    FormatChanged();

    QStringList sizes = {QStringLiteral("Screen %1 x %2").arg(kCanvasWidth).arg(kCanvasHeight)};
    if (request.fullFactor >= 1) {
        sizes.append(QStringLiteral("Full %1 x %2")
                         .arg(kCanvasWidth * request.fullFactor)
                         .arg(kCanvasHeight * request.fullFactor));
    }
    size_ = new SaveChoiceField(this, sizes, 0, Factor());
    size_->setGeometry(PhoneRect(kSizeField.x, kSizeField.y, kSizeField.width, kSizeField.height));
    keep_ = new QCheckBox(QStringLiteral("Keep edits"), this);
    keep_->setChecked(request.keepEdits);
    // The box grows with the phone screen like the text beside it.
    keep_->setStyleSheet(
        QStringLiteral("QCheckBox::indicator { width: %1px; height: %1px; }").arg(9 * Factor()));
    keep_->setGeometry(PhoneRect(kKeepBox.x, kKeepBox.y, kKeepBox.width, kKeepBox.height));

    for (QWidget* field : {static_cast<QWidget*>(folder_), static_cast<QWidget*>(name_),
                           static_cast<QWidget*>(format_), static_cast<QWidget*>(quality_),
                           static_cast<QWidget*>(size_), static_cast<QWidget*>(keep_)}) {
        field->installEventFilter(this);
    }
    setTabOrder(folder_, name_);
    setTabOrder(name_, format_);
    setTabOrder(format_, quality_);
    setTabOrder(quality_, size_);
    setTabOrder(size_, keep_);
    name_->setFocus();
    name_->end(false);
}

bool SaveAsDialog::Run() {
    return exec() == QDialog::Accepted;
}

QString SaveAsDialog::FolderText() const {
    return folder_->text();
}

QString SaveAsDialog::NameText() const {
    return name_->text();
}

int SaveAsDialog::FormatIndex() const {
    return format_->Index();
}

PictureType SaveAsDialog::Format() const {
    return kFormatTypes[FormatIndex()];
}

int SaveAsDialog::SizeIndex() const {
    return size_->Index();
}

bool SaveAsDialog::KeepEdits() const {
    return keep_->isChecked();
}

int SaveAsDialog::QualityIndex() const {
    return quality_->Index();
}

int SaveAsDialog::JpegQuality() const {
    return kQualityValues[QualityIndex()];
}

void SaveAsDialog::FormatChanged() {
    quality_->setEnabled(Format() == PICTURE_JPEG);
}

void SaveAsDialog::SoftKey(bool left) {
    if (left) {
        Ok();
    } else {
        reject();
    }
}

bool SaveAsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        HandleKey(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return PhoneDialog::eventFilter(watched, event);
}

void SaveAsDialog::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(this, event)) {
        PhoneDialog::keyPressEvent(event);
    }
}

bool SaveAsDialog::HandleKey(QWidget* focused, QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_F1:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!event->isAutoRepeat()) {
                Ok();
            }
            return true;
        case Qt::Key_F2:
            if (!event->isAutoRepeat()) {
                reject();
            }
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            MoveFocus(event->key() == Qt::Key_Down ? 1 : -1);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (focused != keep_) {
                return false;
            }
            keep_->toggle();
            return true;
        case Qt::Key_Escape:
        case Qt::Key_Backspace:
            // Back edits the name field and leaves from anywhere else.
            if (focused == name_) {
                name_->backspace();
            } else if (!event->isAutoRepeat()) {
                reject();
            }
            return true;
        default:
            return false;
    }
}

// The OK steps are the editor's; a refusal (the replace question answered
// No) keeps the dialog with the typed name for another try.
void SaveAsDialog::Ok() {
    if (inOk_) {
        return;
    }
    inOk_ = true;
    request_.jpegQuality = JpegQuality();
    request_.factor = SizeIndex() == 1 ? request_.fullFactor : 1;
    request_.keepEdits = KeepEdits();
    const bool accepted =
        !request_.accept || request_.accept(name_->text().toStdString(), Format());
    inOk_ = false;
    if (accepted) {
        accept();
    } else {
        name_->setFocus();
    }
}

// A field that is disabled (the quality, while the format is not JPEG) is
// passed over.
void SaveAsDialog::MoveFocus(int step) {
    QWidget* const fields[] = {folder_, name_, format_, quality_, size_, keep_};
    constexpr int kFields = 6;
    int current = 1;
    for (int i = 0; i < kFields; ++i) {
        if (fields[i] == focusWidget()) {
            current = i;
        }
    }
    int next = (current + step + kFields) % kFields;
    while (!fields[next]->isEnabled()) {
        next = (next + step + kFields) % kFields;
    }
    fields[next]->setFocus(Qt::OtherFocusReason);
}

QRect SaveAsDialog::PhoneRect(int x, int y, int width, int height) const {
    const int f = Factor();
    const QRect body = BodyRect();
    return QRect(body.left() + x * f, body.top() + y * f, width * f, height * f);
}

void SaveAsDialog::paintEvent(QPaintEvent* event) {
    PhoneDialog::paintEvent(event);
    QPainter painter(this);
    PhoneTextStyle style;
    style.pixelSize = kFontPixels;
    for (const auto& [box, text] : {std::pair<PhoneBox, const char*>{kFolderLabel, "Folder:"},
                                    std::pair<PhoneBox, const char*>{kNameLabel, "Name:"},
                                    std::pair<PhoneBox, const char*>{kFormatLabel, "Format:"},
                                    std::pair<PhoneBox, const char*>{kQualityLabel, "Quality:"},
                                    std::pair<PhoneBox, const char*>{kSizeLabel, "Size:"}}) {
        DrawPhoneText(painter, PhoneRect(box.x, box.y, box.width, box.height), text, style,
                      Factor());
    }
}
