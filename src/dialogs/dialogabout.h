#pragma once

#include <QDialog>

// The product picture with the name and version at its lower left and the copyright notice
// at its lower right. A splash-type window that closes on any mouse press and on Escape.
class DialogAbout final : public QDialog
{
    Q_OBJECT

public:
    explicit DialogAbout(QWidget *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
