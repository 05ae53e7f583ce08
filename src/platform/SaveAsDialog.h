// SaveAsDialog: the Save-as dialog over the phone screen. Title "Save as",
// soft keys "OK" and "Cancel"; the fields, top to bottom: "Folder:" (the
// request's folder, read-only), "Name:" (editable, opening on the proposed
// name), "Format:" ("*.bmp-Bitmap" or "*.jpg-Jpeg", opening on the
// request's format), "Size:" ("Screen 176 x 180", and "Full W x H" when the
// request has a full size; opening on Screen) and the box "Keep edits".
//
// Keys: the name field has the focus at first; Up and Down move between the
// fields (wrapping); Left and Right move the cursor in the text fields and
// change the format in the format field (wrapping between the two items)
// and the size in the size field; Left, Right and Space tick and untick
// "Keep edits".
// In the name field Backspace and Escape (the phone's Back) delete the
// character before the cursor; in the other fields they cancel, as Back
// leaves a dialog. F1, Return or Enter is OK; F2 is Cancel; clicks on the
// soft-key labels work too.
//
// OK sets the request's factor and keepEdits from the size shown and the
// box, then calls request.accept with the name as typed and the format
// shown; the
// dialog ends only when it returns true, and otherwise stays open with the
// typed text. The dialog itself never adds an extension or joins paths.
// Names are at most kMaxSaveNameLength characters; longer proposals are cut.
#pragma once

#include <QString>

#include "app/Shell.h"
#include "platform/PhoneDialog.h"

class QCheckBox;
class QLineEdit;
class SaveFormatField;

// The longest name the field takes: with the extension it stays within 127
// characters.
constexpr int kMaxSaveNameLength = 123;

class SaveAsDialog : public PhoneDialog {
    Q_OBJECT

  public:
    // The request must outlive the dialog.
    SaveAsDialog(QWidget* parent, const QRect& phone, int factor, SaveAsDialogRequest& request);

    // Shows the dialog modally. True when an OK was accepted, false when
    // cancelled.
    bool Run();

    QString FolderText() const;
    QString NameText() const;
    // 0 for "*.bmp-Bitmap", 1 for "*.jpg-Jpeg".
    int FormatIndex() const;
    // The format the index stands for: 0 PICTURE_BMP, any other PICTURE_JPEG.
    PictureType Format() const;
    static QString FormatItemText(int index);
    // 0 for Screen, 1 for Full.
    int SizeIndex() const;
    bool KeepEdits() const;

  protected:
    void SoftKey(bool left) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // True when the key was one of the dialog's own.
    bool HandleKey(QWidget* focused, QKeyEvent* event);
    void Ok();
    void MoveFocus(int step);
    QRect PhoneRect(int x, int y, int width, int height) const;

    SaveAsDialogRequest& request_;
    QLineEdit* folder_;
    QLineEdit* name_;
    SaveFormatField* format_;
    SaveFormatField* size_;
    QCheckBox* keep_;
    bool inOk_ = false;
};
