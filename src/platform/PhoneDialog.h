// PhoneDialog: the frame of a full-screen dialog of the phone. A modal,
// frameless QDialog that covers the phone screen exactly: its own title
// strip, a white body where the picture area lies, and a soft-key strip
// whose labels are pressed with F1 / F2 or a click. Subclasses put their
// fields into BodyRect and decide what the soft keys do.
#pragma once

#include <QDialog>
#include <QString>

class PhoneDialog : public QDialog {
    Q_OBJECT

  public:
    // phone: the phone screen's rectangle in global coordinates; factor:
    // its scale factor (at least 1).
    PhoneDialog(QWidget* parent, const QRect& phone, int factor, QString title, QString leftKey,
                QString rightKey);

    int Factor() const { return factor_; }
    // The body (where the picture area lies) in the dialog's coordinates.
    QRect BodyRect() const;

  protected:
    // A soft key was pressed (F1 / F2 or a click on its label).
    virtual void SoftKey(bool left) = 0;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int factor_;
    QString title_;
    QString leftKey_;
    QString rightKey_;
};
