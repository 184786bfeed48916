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
QuestionHook& questionHook()
{
    static QuestionHook instance;
    return instance;
}
// Texts carry what the operator typed (item names, rates), so a box never
// reads them as formatting: "<b>Bold</b> & Co" shows as typed.
void showAsTyped(QMessageBox& box)
{
    box.setTextFormat(Qt::PlainText);
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
    showAsTyped(box);
    box.exec();
}

void SetMessageHook(MessageHook newHook)
{
    hook() = std::move(newHook);
}

bool AskYesNo(const QString& text, const QString& title)
{
    const QString shownTitle = title.isNull() ? ApplicationTitle() : title;
    if (questionHook())
        return questionHook()(text, shownTitle);
    QMessageBox box(QMessageBox::Question, shownTitle, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    showAsTyped(box);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void SetQuestionHook(QuestionHook newHook)
{
    questionHook() = std::move(newHook);
}

} // namespace zelva
