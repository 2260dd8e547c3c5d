#include "dialogabout.h"

#include "splashimagesize.h"

#include "base/appfont.h"
#include "style/resourceimagescache.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

DialogAbout::DialogAbout(QWidget *parent)
    : QDialog(parent)
{
    setWindowFlags(Qt::SplashScreen);

    auto versionLabel = new QLabel(splashVersionLine());
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    versionLabel->setAlignment(Qt::AlignLeft);

    auto copyrightLabel = new QLabel(QObject::tr("ID_RESSTR_DIALOGABOUT_COPYRIGHT"));
    copyrightLabel->setObjectName(QStringLiteral("copyrightLabel"));
    copyrightLabel->setAlignment(Qt::AlignRight);

    auto imageLabel = new QLabel;
    imageLabel->setObjectName(QStringLiteral("imageLabel"));
    if (const QPixmap *picture = ResourceImagesCache::instance()->pixmap(
            QStringLiteral(":/images/splash_qv_kiosk.png")))
        imageLabel->setPixmap(*picture);

    QPalette textPalette = versionLabel->palette();
    textPalette.setBrush(QPalette::All, QPalette::WindowText, QBrush(QColor(1, 62, 45, 255)));
    versionLabel->setPalette(textPalette);
    copyrightLabel->setPalette(textPalette);

    // The texts lie over the coloured band along the bottom tenth of the picture.
    auto textRow = new QHBoxLayout;
    textRow->addWidget(versionLabel);
    textRow->addStretch();
    textRow->addWidget(copyrightLabel);
    textRow->setContentsMargins(scaledSize(10),
                                static_cast<int>(0.9 * splashImageSize().height()),
                                scaledSize(10),
                                0);
    imageLabel->setLayout(textRow);
    imageLabel->setScaledContents(true);

    auto mainLayout = new QVBoxLayout;
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->addWidget(imageLabel);
    setLayout(mainLayout);

    applyAppFontTree(this);
    setFixedSize(splashImageSize());
    installEventFilter(this);
}

bool DialogAbout::eventFilter(QObject *watched, QEvent *event)
{
    // Presses on the labels are ignored by them and reach the dialog, so a press anywhere
    // ends up here.
    if (event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
