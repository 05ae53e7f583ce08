// AboutDialog: the About box. A modal dialog that covers the phone screen
// exactly, with its own title strip ("About Fotakle") and the soft key
// "Continue" (F1, Return or a click on it), showing the program icon, its
// name, version and the maker's addresses.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>

class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    // phone: the phone screen's rectangle in global coordinates; factor:
    // its scale factor.
    AboutDialog(QWidget* parent, const QRect& phone, int factor);

    // The lines under the icon, from the program name to the copyright.
    static QStringList TextLines();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int factor_;
    QString title_;
    QString continueLabel_;
    QPixmap icon_;
};
