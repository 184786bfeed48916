#include "shell/counterstatus.h"

#include "data/dataerror.h"
#include "sales/reorderlevel.h"
#include "ui/statusnote.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStatusBar>

namespace zelva {

namespace {

constexpr int NoteShownMs = 10000;

QString belowText(int count)
{
    if (count == 0)
        return {};
    return count == 1 ? QStringLiteral("1 item below its reorder level")
                      : QStringLiteral("%1 items below their reorder level").arg(count);
}

} // namespace

void ShowCounterStatus(QStatusBar* bar, QMdiArea* area, Database& db)
{
    auto* below = new QLabel(bar);
    below->setObjectName(QStringLiteral("lblBelowReorder"));
    below->setTextFormat(Qt::PlainText);
    bar->addWidget(below);
    const auto count = [below, &db] {
        try {
            below->setText(belowText(CountBelowReorderLevel(db)));
        } catch (const DataError&) {
            below->clear(); // a count that cannot be read is not shown; the forms say what failed
        }
    };
    count();
    QObject::connect(area, &QMdiArea::subWindowActivated, below, count);
    QPointer<QStatusBar> shownIn(bar);
    SetStatusNoteHandler([shownIn](const QString& note) {
        if (shownIn)
            shownIn->showMessage(note, NoteShownMs);
    });
}

} // namespace zelva
