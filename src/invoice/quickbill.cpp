#include "invoice/quickbill.h"

#include "data/database.h"
#include "data/datafolder.h"
#include "platform/datetext.h"
#include "platform/money.h"
#include "sales/companypayment.h"
#include "ui/printing.h"
#include "platform/textnum.h"
#include "ui/qrcode.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>

namespace zelva {

namespace {

// The text in lines of at most `columns`, broken at blanks where it can.
QStringList wrapped(const QString& text, int columns)
{
    QStringList out;
    QString line;
    for (QString word : text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        while (word.size() > columns) { // a word longer than a line is cut where the line ends
            if (!line.isEmpty()) {
                out << line;
                line.clear();
            }
            out << word.left(columns);
            word = word.mid(columns);
        }
        if (line.isEmpty())
            line = word;
        else if (line.size() + 1 + word.size() <= columns)
            line += QLatin1Char(' ') + word;
        else {
            out << line;
            line = word;
        }
    }
    if (!line.isEmpty())
        out << line;
    return out;
}

// A caption on the left and a figure on the right of one line; a caption
// that leaves no room for the figure takes lines of its own above it.
QStringList captioned(const QString& caption, const QString& figure, int columns)
{
    QStringList out = wrapped(caption, columns);
    if (out.isEmpty())
        out << QString();
    QString& last = out.last();
    if (last.size() + 1 + figure.size() > columns)
        out << QString();
    out.last() = out.last().leftJustified(columns - int(figure.size())) + figure;
    return out;
}

QString centred(const QString& text, int columns)
{
    return QString((columns - int(text.size())) / 2, QLatin1Char(' ')) + text;
}

QString percent(double rate) { return Str(rate) + QLatin1Char('%'); }

void addTaxByRate(QStringList& out, const Invoice& invoice, int columns)
{
    for (const RateTax& byRate : GoodsTaxByRate(invoice)) {
        const QString base = QStringLiteral(" on ") + AmountText(byRate.taxable);
        if (invoice.mode == TaxMode::Igst) {
            out << captioned(QStringLiteral("IGST ") + percent(byRate.gstRate) + base, AmountText(byRate.tax.igst), columns);
        } else {
            out << captioned(QStringLiteral("CGST ") + percent(byRate.gstRate / 2) + base, AmountText(byRate.tax.cgst), columns);
            out << captioned(QStringLiteral("SGST ") + percent(byRate.gstRate / 2) + base, AmountText(byRate.tax.sgst), columns);
        }
    }
}

// A charge and its tax rows, as the invoice shows them.
void addCharge(QStringList& out, const Invoice& invoice, int chargeRow, int columns)
{
    const GridLine& charge = invoice.row(chargeRow);
    if (charge.amount == 0)
        return;
    out << captioned(charge.description, AmountText(charge.amount), columns);
    for (int taxRow : {chargeRow + 1, chargeRow + 2})
        if (const GridLine& tax = invoice.row(taxRow); tax.amount != 0)
            out << captioned(QStringLiteral("  ") + tax.description, AmountText(tax.amount), columns);
}

} // namespace

int RollColumns(int rollWidthMm) { return rollWidthMm <= 58 ? 32 : 48; }

QStringList QuickBillLines(const Invoice& invoice, const InvoiceParty& seller, int columns)
{
    const QString rule(columns, QLatin1Char('-'));
    QStringList out;
    for (const QString& line : wrapped(seller.name, columns))
        out << centred(line, columns);
    out << wrapped(seller.address, columns);
    out << wrapped(QStringList{seller.dist, seller.state, seller.pin}.join(QLatin1Char(' ')), columns);
    if (!seller.gstin.isEmpty())
        out << QStringLiteral("GSTIN: ") + seller.gstin;
    out << rule << captioned(QStringLiteral("Invoice ") + invoice.number, DateText(invoice.date), columns);
    if (!invoice.buyer.name.isEmpty())
        out << wrapped(QStringLiteral("To: ") + invoice.buyer.name, columns);
    out << rule;
    int number = 0;
    for (const InvoiceLine& line : invoice.lines) {
        out << wrapped(QStringLiteral("%1 %2").arg(++number).arg(line.description), columns);
        const std::optional<double> rate = LineGstRate(invoice, line);
        const QString how = QStringLiteral("  %1 x %2 GST %3")
                                .arg(Str(line.quantity), FormatAmount(line.rate), rate ? percent(*rate) : QStringLiteral("-"));
        out << captioned(how, AmountText(line.amount), columns);
        if (line.discount != 0)
            out << captioned(QStringLiteral("  Discount"), QStringLiteral("-") + AmountText(line.discount), columns);
    }
    out << rule << captioned(QStringLiteral("Taxable value"), AmountText(invoice.totals.goods), columns);
    addTaxByRate(out, invoice, columns);
    addCharge(out, invoice, invoicegrid::Others1Row, columns);
    addCharge(out, invoice, invoicegrid::Others2Row, columns);
    if (invoice.rounding.amount != 0)
        out << captioned(QStringLiteral("Short & Excess"), AmountText(invoice.rounding.amount), columns);
    out << rule << captioned(QStringLiteral("TOTAL Rs."), AmountText(invoice.totals.grand), columns) << rule;
    out << wrapped(invoice.totals.words, columns);
    return out;
}

QStringList DuplicateQuickBillLines(const Invoice& invoice, const InvoiceParty& seller, int columns)
{
    return QStringList{centred(QStringLiteral("Duplicate Copy"), columns)} + QuickBillLines(invoice, seller, columns);
}

bool PrintQuickBill(const Database& db, const Invoice& stored, const QStringList& lines, int rollWidthMm,
                    const QString& upiId)
{
    const bool due = !upiId.isEmpty() && !stored.cancelled() && stored.totals.grand > 0;
    const QString pay = due ? UpiPayText(upiId, stored.seller.name, stored.totals.grand, stored.number) : QString();
    QuickBillPage page(lines, pay, rollWidthMm);
    return PrintWidgetPages(&page, 1, [](int) {}, QStringLiteral("Quick Bill ") + stored.number,
                            PrintsFolder(db.folder()), page.paperMm())
        .printed;
}

QuickBillPage::QuickBillPage(const QStringList& lines, const QString& payText, int rollWidthMm, QWidget* parent)
    : QWidget(parent)
    , m_lines(lines)
    , m_rollWidthMm(rollWidthMm)
{
    setObjectName(QStringLiteral("QuickBillPage"));
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(9);
    const QFontMetrics metrics(mono);
    const int columns = RollColumns(rollWidthMm);
    const int width = metrics.horizontalAdvance(QString(columns, QLatin1Char('M'))) + 8;
    const int pitch = metrics.lineSpacing();
    int top = 4;
    for (int i = 0; i < lines.size(); ++i, top += pitch) {
        auto* label = new QLabel(lines[i], this);
        label->setObjectName(QStringLiteral("lblLine_%1").arg(i));
        label->setTextFormat(Qt::PlainText); // names as typed, never formatting
        label->setFont(mono);
        label->setGeometry(4, top, width - 8, pitch);
    }
    if (!payText.isEmpty()) {
        const int side = std::min(width - 8, 30 * pitch / 2);
        auto* qr = new QrCodeView(this);
        qr->setObjectName(QStringLiteral("qrUpi"));
        qr->setText(payText);
        qr->setGeometry((width - side) / 2, top + pitch / 2, side, side);
        top += pitch / 2 + side;
        auto* scan = new QLabel(QStringLiteral("Scan to pay"), this);
        scan->setFont(mono);
        scan->setAlignment(Qt::AlignHCenter);
        scan->setGeometry(4, top, width - 8, pitch);
        top += pitch;
    }
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));
    resize(width, top + pitch);
}

QSizeF QuickBillPage::paperMm() const
{
    return {double(m_rollWidthMm), double(m_rollWidthMm) * height() / width()};
}

} // namespace zelva
