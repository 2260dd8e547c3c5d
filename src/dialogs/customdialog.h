#pragma once

#include "base/iglobalobserver.h"

#include <QDialog>
#include <QPoint>

QT_BEGIN_NAMESPACE
class QLayout;
QT_END_NAMESPACE

class CustomDialogTitleBar;

// Base of the program's own dialogs: frameless, with a dark title bar (title and close
// button) and a thin grey frame around the content a subclass hands to setDialogLayout.
// Return and Enter move the focus to the next field instead of accepting, except in text
// edits and on the buttons of a button box. The observer operations do nothing: a dialog
// never registers for the application-wide broadcasts.
class CustomDialog : public QDialog, protected IGlobalObserver
{
    Q_OBJECT

public:
    CustomDialog(QWidget *parent, bool movable);
    ~CustomDialog() override;

    // Wraps the content in the title bar and frame and takes ownership of it; call once,
    // after the content is built.
    void setDialogLayout(QLayout *content);

    // Title text, its tooltip and the window title. Ignored before setDialogLayout.
    void setTitle(const QString &text);

    // Width-to-height ratio the dialog grows to when shown; 0 keeps the layout's size.
    virtual double aspectRatio() const = 0;

    // When true the title bar's close button only emits clickedTitleBarClose().
    virtual bool handlesTitleBarClose() const;

signals:
    void clickedTitleBarClose();

protected:
    // Grows the width or the height, never shrinks, to meet aspectRatio().
    virtual void adjustToAspectRatio();

    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

    void changedFilePath() override {}
    void requestToMinimize() override {}
    void requestToMaximize() override {}
    void requestToClose() override {}

private slots:
    void clickedClose();
    void startToMoveDialog(int x, int y);
    void moveDialog(int x, int y);

private:
    CustomDialogTitleBar *titleBar = nullptr;
    QPoint dragOffset;
    bool movable = true;
};
