#pragma once

#include "customdialog.h"

#include <QList>

QT_BEGIN_NAMESPACE
class QDialogButtonBox;
class QLabel;
class QSvgWidget;
QT_END_NAMESPACE

// The only way the program shows a message: an icon, the text unchanged and a row of buttons.
// Callers use the three static functions, which run a box modally and return when it closes.
class CustomMessageBox final : public CustomDialog
{
    Q_OBJECT

public:
    // Button codes for the constructor; also the answers of exec() and showConfirmation.
    static constexpr int Yes = 1;
    static constexpr int No = 2;
    // Answer when the box was closed without a choice (title-bar close, Escape).
    static constexpr int Closed = 0;

    // buttons: Yes and No codes in any order (other codes add nothing); an empty list gives a
    // single OK button. extraLayout, when given, goes below the buttons.
    CustomMessageBox(QWidget *parent, const QList<int> &buttons, QLayout *extraLayout);

    // Yes and No, No focused so that Return answers No. An empty title means "Confirmation".
    static int showConfirmation(QWidget *parent, const QString &text, const QString &title);
    // OK only. An empty title means "Error".
    static void showError(QWidget *parent, const QString &text, const QString &title);
    // OK only. An empty title means "Information".
    static void showInformation(QWidget *parent, const QString &text, const QString &title);

    // Runs the box and returns Yes, No or Closed rather than the dialog result.
    int exec() override;

    double aspectRatio() const override;

private slots:
    void clickedYes();
    void clickedNo();

private:
    static void showMessage(QWidget *parent,
                            const QString &text,
                            const QString &title,
                            const QString &iconPath,
                            const QString &defaultTitle);
    // The icon, the title (defaultTitle when title is empty) and the text.
    void present(const QString &iconPath,
                 const QString &title,
                 const QString &defaultTitle,
                 const QString &text);

    QDialogButtonBox *buttonBox = nullptr;
    QSvgWidget *iconWidget = nullptr;
    QLabel *textLabel = nullptr;
    int answer = Closed;
};
