#pragma once

#include <QWidget>

QT_BEGIN_NAMESPACE
class QAction;
class QLabel;
QT_END_NAMESPACE

class CustomToolBar;

// Shortens the label's text to its longest prefix whose advance fits into width pixels and
// appends "..." (not counted, so the dots may overhang). A text that fits stays whole, and so
// does one of which not even the first character fits.
void elideLabel(QLabel *label, int width);

// The dark title bar of a CustomDialog: the title and a close button. Drags that start on it
// are reported in global coordinates so the dialog can follow them.
class CustomDialogTitleBar final : public QWidget
{
    Q_OBJECT

public:
    CustomDialogTitleBar();

    QLabel *titleLabel() const { return label; }

signals:
    void clickedClose();
    void startToMoveDialog(int x, int y);
    void moveDialog(int x, int y);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void clickedClose_();

private:
    QLabel *label = nullptr;
    CustomToolBar *toolBar = nullptr;
};
