#include "shell/frmabout.h"

#include "platform/twips.h"
#include "shell/icons.h"
#include "shell/module1.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

frmabout::frmabout(QWidget* parent)
    : QDialog(parent)
    , Frame1(new QFrame(this))
    , Image1(new QLabel(Frame1))
    , lblTitle(new QLabel(QStringLiteral("Zelva Billing System"), Frame1))
    , lblVersion(new QLabel(QStringLiteral("Version %1").arg(zelva::ApplicationVersion()), Frame1))
    , lblDescription(new QLabel(QStringLiteral("Billing and stock for a business that charges GST"), Frame1))
    , cmdok(new QPushButton(QStringLiteral("&Close"), this))
{
    setObjectName(QStringLiteral("frmabout"));
    setWindowTitle(QStringLiteral("About"));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Image1->setObjectName(QStringLiteral("Image1"));
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    cmdok->setObjectName(QStringLiteral("cmdok"));

    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setFrameShadow(QFrame::Sunken);
    Image1->setPixmap(zelva::ProgramIcon().pixmap(64, 64));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblDescription);
    auto* frameLayout = new QHBoxLayout(Frame1);
    frameLayout->setContentsMargins(16, 16, 24, 16);
    frameLayout->setSpacing(16);
    frameLayout->addWidget(Image1, 0, Qt::AlignTop);
    frameLayout->addLayout(texts);

    cmdok->setToolTip(QStringLiteral("Close this Window"));
    cmdok->setAutoDefault(false);
    connect(cmdok, &QPushButton::clicked, this, &frmabout::cmdok_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);

    // Opens near the top left of the screen: 1800 twips across, 1600 down.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QPoint origin = screen->availableGeometry().topLeft();
        move(origin.x() + zelva::TwipsToDevice(1800, logicalDpiX()),
            origin.y() + zelva::TwipsToDevice(1600, logicalDpiY()));
    }
}

void frmabout::cmdok_Click() { done(QDialog::Rejected); }

void frmabout::reject() { cmdok->click(); }
