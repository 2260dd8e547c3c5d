#pragma once

#include "dialogs/customdialog.h"

// Shows "Initializing..." while the kiosk runtime gets ready. The user cannot dismiss it:
// Escape and the title bar's close button do nothing; only its owner closes it.
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
};
