#include "shell/firstrunguide.h"

#include "data/dataerror.h"

#include <QEvent>
#include <algorithm>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace zelva {

namespace {

QSettings userSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZelvaBilling"),
                     QStringLiteral("ZelvaBilling"));
}

QString stepCaption(FirstRunStep step)
{
    switch (step) {
    case FirstRunStep::Company: return QObject::tr("Company details");
    case FirstRunStep::Buyers: return QObject::tr("Buyers");
    case FirstRunStep::Items: return QObject::tr("Items");
    case FirstRunStep::OpeningBalances: return QObject::tr("Opening balances");
    case FirstRunStep::FirstInvoice: break;
    }
    return QObject::tr("First invoice");
}

QString stepTip(FirstRunStep step)
{
    switch (step) {
    case FirstRunStep::Company: return QObject::tr("Your shop's name, address and GSTIN, printed on every invoice");
    case FirstRunStep::Buyers: return QObject::tr("The buyers you bill (or bring them in with Tools, Import Masters)");
    case FirstRunStep::Items: return QObject::tr("The items you sell, with their opening stock and its cost");
    case FirstRunStep::OpeningBalances:
        return QObject::tr("If the shop traded before: the day the books start here, on Company Details; then each "
                           "buyer's and supplier's Opening Balance on their forms");
    case FirstRunStep::FirstInvoice: break;
    }
    return QObject::tr("Your first tax invoice");
}

} // namespace

bool FirstRunGuideDismissed()
{
    return userSettings().value(QLatin1String(FirstRunGuide::DismissedKey), false).toBool();
}

FirstRunGuide::FirstRunGuide(Database& db, QWidget* viewport)
    : QFrame(viewport)
    , lblGuideTitle(new QLabel(tr("Next steps to start billing here"), this))
    , cmdGuideDismiss(new QPushButton(tr("Don't show again"), this))
    , m_db(db)
{
    setObjectName(QStringLiteral("firstRunGuide"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setAutoFillBackground(true);
    lblGuideTitle->setObjectName(QStringLiteral("lblGuideTitle"));
    QFont bold = lblGuideTitle->font();
    bold.setBold(true);
    lblGuideTitle->setFont(bold);
    auto* steps = new QGridLayout;
    for (std::size_t i = 0; i < FirstRunSteps.size(); ++i) {
        const FirstRunStep step = FirstRunSteps[i];
        // no access keys: the guide stays behind the child windows, whose own keys must not clash with it
        cmdGuideStep[i] = new QPushButton(stepCaption(step), this);
        cmdGuideStep[i]->setObjectName(QStringLiteral("cmdGuideStep_%1").arg(i));
        cmdGuideStep[i]->setToolTip(stepTip(step));
        lblGuideDone[i] = new QLabel(this);
        lblGuideDone[i]->setObjectName(QStringLiteral("lblGuideDone_%1").arg(i));
        lblGuideDone[i]->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("\u2713")) * 2);
        steps->addWidget(lblGuideDone[i], int(i), 0);
        steps->addWidget(cmdGuideStep[i], int(i), 1);
        connect(cmdGuideStep[i], &QPushButton::clicked, this, [this, step] { emit stepWanted(step); });
    }
    cmdGuideDismiss->setObjectName(QStringLiteral("cmdGuideDismiss"));
    cmdGuideDismiss->setToolTip(tr("Hide this list for good"));
    connect(cmdGuideDismiss, &QPushButton::clicked, this, &FirstRunGuide::cmdGuideDismiss_Click);
    auto* column = new QVBoxLayout(this);
    column->addWidget(lblGuideTitle);
    column->addLayout(steps);
    column->addSpacing(8);
    column->addWidget(cmdGuideDismiss, 0, Qt::AlignRight);
    viewport->installEventFilter(this);
    lower();
    refresh();
}

void FirstRunGuide::refresh()
{
    FirstRunProgress progress;
    try {
        progress = LoadFirstRunProgress(m_db);
    } catch (const DataError&) {
        hide(); // the books cannot be read: the check after start-up tells the operator
        return;
    }
    for (std::size_t i = 0; i < FirstRunSteps.size(); ++i)
        lblGuideDone[i]->setText(progress.isDone(FirstRunSteps[i]) ? QStringLiteral("\u2713") : QString());
    const bool wanted = !progress.setUp() && !FirstRunGuideDismissed();
    setVisible(wanted);
    if (wanted) {
        adjustSize();
        centre();
    }
}

void FirstRunGuide::cmdGuideDismiss_Click()
{
    userSettings().setValue(QLatin1String(DismissedKey), true);
    hide();
}

void FirstRunGuide::centre()
{
    const QSize room = parentWidget()->size();
    move(std::max(0, (room.width() - width()) / 2), std::max(0, (room.height() - height()) / 2));
}

bool FirstRunGuide::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        centre();
    return QFrame::eventFilter(watched, event);
}

} // namespace zelva
