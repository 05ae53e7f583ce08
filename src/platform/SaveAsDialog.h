// SaveAsDialog: the Save-as dialog over the phone screen. Title "Save as",
// soft keys "OK" and "Cancel"; the fields, top to bottom: "Folder:" (the
// request's folder, read-only), "Name:" (editable, opening on the proposed
// name), "Format:" ("*.bmp-Bitmap", "*.jpg-Jpeg" or "*.png-Png", opening on
// the request's format), "Quality:" ("Best", "Good" or "Small", opening on
// the request's JPEG quality; greyed and passed over while the format is not
// JPEG), "Size:" ("Screen 176 x 180", and "Full W x H" when the request has
// a full size; opening on Screen) and the box "Keep edits".
//
// Keys: the name field has the focus at first; Up and Down move between the
// fields (wrapping); Left and Right move the cursor in the text fields, step
// through the items of the format, quality and size fields (wrapping), and
// tick and untick "Keep edits".
// In the name field Backspace and Escape (the phone's Back) delete the
// character before the cursor; in the other fields they cancel, as Back
// leaves a dialog. F1, Return or Enter is OK; F2 is Cancel; clicks on the
// soft-key labels work too.
//
// OK stores the quality shown in request.jpegQuality, the factor of the
// size shown and the box in request.factor and request.keepEdits, then calls
// request.accept with the name as typed and the format shown; the dialog
// ends only when it returns true, and otherwise stays open with the typed
// text. The dialog itself never adds an extension or joins paths.
// Names are at most kMaxSaveNameLength characters; longer proposals are cut.
#pragma once

#include <QString>

#include "app/Shell.h"
#include "platform/PhoneDialog.h"

class QCheckBox;
class QLineEdit;
class SaveChoiceField;

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
    // 0 for "*.bmp-Bitmap", 1 for "*.jpg-Jpeg", 2 for "*.png-Png".
    int FormatIndex() const;
    // The format the index stands for: PICTURE_BMP, PICTURE_JPEG or
    // PICTURE_PNG.
    PictureType Format() const;
    // 0 for "Best", 1 for "Good", 2 for "Small".
    int QualityIndex() const;
    // The JPEG quality the index stands for: kJpegQualityBest, Good or Small.
    int JpegQuality() const;
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
    // The quality field takes part only while the format is JPEG.
    void FormatChanged();
    QRect PhoneRect(int x, int y, int width, int height) const;

    SaveAsDialogRequest& request_;
    QLineEdit* folder_;
    QLineEdit* name_;
    SaveChoiceField* format_;
    SaveChoiceField* quality_;
    SaveChoiceField* size_;
    QCheckBox* keep_;
    bool inOk_ = false;
};
