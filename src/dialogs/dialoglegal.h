#pragma once

#include "customdialog.h"

#include <QSize>

// The licence notices of the software the product ships with, from ":/legal.txt", in a
// read-only view that keeps long lines unbroken.
class DialogLegal final : public CustomDialog
{
    Q_OBJECT

public:
    explicit DialogLegal(QWidget *parent);

    double aspectRatio() const override;

private:
    QSize initialSize;
};
