#pragma once

#include "dialogs/customdialog.h"

// Shows "Initializing..." while the kiosk runtime gets ready. The user cannot dismiss it:
// Escape, the title bar's close button and a close from the window system (Alt+F4) do
// nothing; only its owner ends it, with done() (accept()), never with close().
class DialogBlockUserInteraction final : public CustomDialog
{
    Q_OBJECT

public:
    explicit DialogBlockUserInteraction(QWidget *parent);
    ~DialogBlockUserInteraction() override;

    double aspectRatio() const override;
    bool handlesTitleBarClose() const override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
