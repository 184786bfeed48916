#include "invoice/invoicepageparts.h"

#include "platform/twips.h"
#include "ui/formboxes.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>


namespace zelva::invoicepage {

namespace {
constexpr double ScreenDpi = 96;
}

int px(int twips) { return TwipsToDevice(twips, ScreenDpi); }

void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(px(Margin + left), px(Margin + top), px(width), px(height));
}

QLabel* addLabel(QWidget* page, QAnyStringView caption, int left, int top, int width, Qt::Alignment align)
{
    auto* label = new QLabel(caption.toString(), page);
    label->setTextFormat(Qt::PlainText); // "For <company name>" shows the name as stored
    label->setAlignment(align | Qt::AlignVCenter);
    place(label, left, top, width);
    return label;
}

QLineEdit* addBox(QWidget* page, QAnyStringView name, int left, int top, int width, bool readOnly, Qt::Alignment align)
{
    auto* box = Named(new QLineEdit(page), name.toString());
    box->setReadOnly(readOnly);
    if (align)
        box->setAlignment(align);
    place(box, left, top, width);
    return box;
}

QLineEdit* addLabelled(QWidget* page, QAnyStringView caption, int labelLeft, int top, int labelWidth,
    QAnyStringView name, int boxLeft, int boxWidth, bool readOnly)
{
    addLabel(page, caption, labelLeft, top, labelWidth);
    return addBox(page, name, boxLeft, top, boxWidth, readOnly);
}

QPlainTextEdit* addLines(QWidget* page, QAnyStringView name, int left, int top, int width, bool readOnly, int height)
{
    auto* box = Named(new QPlainTextEdit(page), name.toString());
    box->setReadOnly(readOnly);
    box->setTabChangesFocus(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->document()->setDocumentMargin(1);
    place(box, left, top, width, height);
    return box;
}

QFont styled(const QWidget* page, bool bold, bool underline, double scale)
{
    QFont font = page->font();
    font.setBold(bold);
    font.setUnderline(underline);
    if (scale != 1)
        font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

RuledPage::RuledPage(QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(px(PageWidth), px(PageHeight));
}

void RuledPage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    paintRules(p);
}

void RuledPage::paintRules(QPainter& painter) const
{
    painter.setPen(QPen(Qt::black, 1));
    for (const QLine& r : m_rules)
        painter.drawLine(px(Margin + r.x1()), px(Margin + r.y1()), px(Margin + r.x2()), px(Margin + r.y2()));
}

PickCombo::PickCombo(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    lineEdit()->setReadOnly(true);
    lineEdit()->installEventFilter(this);
    setInsertPolicy(QComboBox::NoInsert);
}

// A click on the text opens the list when the button is let go: opened on
// the press, the list would take the same click's release for a click
// beside it and close at once.
bool PickCombo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && isEnabled()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;
        case QEvent::MouseButtonRelease:
            showPopup();
            return true;
        default:
            break;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

} // namespace zelva::invoicepage
