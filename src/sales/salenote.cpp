#include "sales/salenote.h"

#include "platform/period.h"

#include <algorithm>

namespace zelva {

QString NoteTitle(NoteKind kind)
{
    return kind == NoteKind::Credit ? QStringLiteral("Credit Note") : QStringLiteral("Debit Note");
}

QString NoteKindCode(NoteKind kind) { return kind == NoteKind::Credit ? QStringLiteral("C") : QStringLiteral("D"); }

QString TaxModeCode(TaxMode mode)
{
    return mode == TaxMode::Igst ? QStringLiteral("IGST") : mode == TaxMode::Cgst ? QStringLiteral("CGST") : QString();
}

TaxMode TaxModeOfCode(const QString& code)
{
    return code == QLatin1String("IGST") ? TaxMode::Igst : code == QLatin1String("CGST") ? TaxMode::Cgst : TaxMode::None;
}

QString NoteNumber(NoteKind kind, qint64 serial)
{
    // the invoice's ladder: four zeros before 1-9, three before every larger serial
    const QLatin1String stem(kind == NoteKind::Credit ? "CN" : "DN");
    return QStringLiteral("%1%2%3").arg(stem, serial < 10 ? QLatin1String("0000") : QLatin1String("000")).arg(serial);
}

const QStringList& NoteReasons()
{
    static const QStringList reasons{SalesReturnReason(), QStringLiteral("Post-sale discount"),
                                     QStringLiteral("Deficiency in service"),
                                     QStringLiteral("Correction of rate or quantity"), QStringLiteral("Other")};
    return reasons;
}

const QString& SalesReturnReason()
{
    static const QString reason = QStringLiteral("Sales return");
    return reason;
}

double SaleNote::gstRate() const
{
    return rate && mode != TaxMode::None ? *rate : 0;
}

bool SaleNote::mixesRates() const
{
    return mode != TaxMode::None && !rate
        && std::any_of(lines.begin(), lines.end(), [](const NoteLine& line) { return line.gstRate.has_value(); });
}

namespace {

// The note's lines as the goods of an invoice, each at its own rate (a line
// without one at the note's rate), with the tax they carry.
Invoice goodsOf(const SaleNote& note)
{
    Invoice body;
    body.mode = note.mode;
    body.taxes[TaxOnGoods].rate = note.rate;
    for (const NoteLine& line : note.lines) {
        InvoiceLine goods;
        goods.quantity = line.quantity;
        goods.amount = line.value;
        goods.gstRate = line.gstRate;
        goods.firstTax = line.firstTax;
        goods.sgst = line.sgst;
        body.lines.push_back(goods);
    }
    return body;
}

} // namespace

std::vector<RateTax> SaleNote::taxByRate() const
{
    if (mode == TaxMode::None || (!rate && !mixesRates()))
        return {};
    if (rate) // the note's own figures, as its tax rows show them
        return {{*rate, taxable, mode == TaxMode::Igst ? TaxHeads{firstTax, 0, 0, 0} : TaxHeads{0, firstTax, sgst, 0}}};
    return GoodsTaxByRate(goodsOf(*this));
}

bool SaleNote::movesStock() const
{
    return kind == NoteKind::Credit && reason == SalesReturnReason() && quantity() > 0;
}

double SaleNote::quantity() const
{
    double sum = 0;
    for (const NoteLine& line : lines)
        sum += line.quantity;
    return sum;
}

SaleNote NoteAgainst(NoteKind kind, const Invoice& invoice)
{
    SaleNote note;
    note.kind = kind;
    note.invoiceSerial = invoice.serial;
    note.invoiceNumber = invoice.number;
    note.invoiceDate = invoice.date;
    note.buyerCode = invoice.buyerCode;
    note.buyer = invoice.buyer;
    note.mode = invoice.mode;
    note.rate = invoice.taxes[TaxOnGoods].rate;
    return note;
}

void TaxAsInvoiced(SaleNote& note, const Invoice& invoice)
{
    note.rate = invoice.taxes[TaxOnGoods].rate;
    for (NoteLine& line : note.lines) {
        const std::size_t i = std::size_t(line.goodsRow - invoicegrid::FirstGoodsRow);
        line.gstRate = line.goodsRow >= invoicegrid::FirstGoodsRow && i < invoice.lines.size()
                           ? LineGstRate(invoice, invoice.lines[i])
                           : std::nullopt;
    }
}

void ComputeNoteTotals(SaleNote& note)
{
    // The note's lines as the goods of an invoice, worked out by the
    // invoice's own rules: each rate's tax, shared over its lines.
    Invoice body = goodsOf(note);
    ComputeTotals(body);
    for (std::size_t i = 0; i < note.lines.size(); ++i) {
        note.lines[i].gstRate = body.lines[i].gstRate;
        note.lines[i].firstTax = body.lines[i].firstTax;
        note.lines[i].sgst = body.lines[i].sgst;
    }
    const ChargedTax& goods = body.taxes[TaxOnGoods];
    if (!note.lines.empty())
        note.rate = goods.rate; // the one rate its lines share, none over several
    const bool anyRate = goods.rated()
        || std::any_of(body.lines.begin(), body.lines.end(), [](const InvoiceLine& line) { return line.gstRate.has_value(); });
    const bool taxed = anyRate && note.mode != TaxMode::None;
    note.taxLabel = taxed ? goods.first.description : QString();
    note.taxable = body.totals.goods;
    note.firstTax = taxed ? goods.first.amount : 0;
    note.sgst = taxed && note.mode == TaxMode::Cgst ? goods.second.amount : 0;
    note.total = note.taxable + note.firstTax + note.sgst;
    note.words = body.totals.words;
}

QDate LastCreditNoteDay(const QDate& invoiceDate)
{
    return QDate(FinancialYear(FinancialYearOf(invoiceDate)).to.year(), 11, 30); // 30 November after the year ends
}

} // namespace zelva
