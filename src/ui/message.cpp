#include "ui/message.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace zelva {

namespace {
MessageHook& hook()
{
    static MessageHook instance;
    return instance;
}
} // namespace

QString ApplicationTitle()
{
    return QStringLiteral("Zelva Billing System");
}

void MsgBox(const QString& text, const QString& title)
{
    const QString shownTitle = title.isNull() ? ApplicationTitle() : title;
    if (hook()) {
        hook()(text, shownTitle);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, shownTitle, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void SetMessageHook(MessageHook newHook)
{
    hook() = std::move(newHook);
}

} // namespace zelva
