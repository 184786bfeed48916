#include "registers/noteregister.h"

#include "gst/gststates.h"
#include "registers/csvfile.h"

namespace zelva {

namespace {

QString kindText(const SavedNote& note) { return note.credit ? QStringLiteral("Credit") : QStringLiteral("Debit"); }

QList<Paise> amounts(Paise taxable, const TaxHeads& tax, Paise total)
{
    return {taxable, tax.cgst, tax.sgst, tax.igst, total};
}

QStringList amountTexts(const QList<Paise>& values)
{
    QStringList texts;
    for (Paise value : values)
        texts << AmountText(value);
    return texts;
}

QVariantList amountCells(const QList<Paise>& values)
{
    QVariantList cells;
    for (Paise value : values)
        cells << value;
    return cells;
}

struct TotalLine {
    QString caption;
    const NoteFigures& figures;
};

std::vector<TotalLine> totalLines(const NoteRegister& r)
{
    return {{QStringLiteral("Credit notes: %1").arg(r.credit.notes), r.credit},
            {QStringLiteral("Debit notes: %1").arg(r.debit.notes), r.debit},
            {QStringLiteral("Net (debit less credit)"), r.net}};
}

} // namespace

QList<Paise> NoteRegisterAmounts(const SavedNote& note) { return amounts(note.taxable, note.tax, note.total); }
QList<Paise> NoteRegisterAmounts(const NoteFigures& figures)
{
    return amounts(figures.taxable, figures.tax, figures.total);
}

void NoteFigures::add(const SavedNote& note, int sign)
{
    ++notes;
    taxable += sign * note.taxable;
    tax += sign < 0 ? -note.tax : note.tax;
    total += sign * note.total;
}

NoteRegister BuildNoteRegister(const Period& period, std::vector<SavedNote> notes)
{
    NoteRegister r{period, std::move(notes), {}, {}, {}};
    for (const SavedNote& note : r.notes) {
        (note.credit ? r.credit : r.debit).add(note);
        r.net.add(note, note.sign());
    }
    return r;
}

NoteRegister LoadNoteRegister(const Database& db, const Period& period)
{
    return BuildNoteRegister(period, LoadNotes(db, period));
}

QStringList NoteRegisterCaptions()
{
    return {QStringLiteral("Note No"),    QStringLiteral("Note Date"),   QStringLiteral("Kind"),
            QStringLiteral("Invoice No"), QStringLiteral("Invoice Date"), QStringLiteral("Buyer"),
            QStringLiteral("Buyer GSTIN"), QStringLiteral("Reason"),     QStringLiteral("Taxable Value"),
            QStringLiteral("CGST"),       QStringLiteral("SGST"),        QStringLiteral("IGST"),
            QStringLiteral("Note Total")};
}

QStringList NoteRegisterTexts(const SavedNote& note)
{
    return QStringList{note.number,
                       note.dateText,
                       kindText(note),
                       note.invoice.number,
                       note.invoice.dateText,
                       note.invoice.buyerName,
                       NormalizedGstin(note.invoice.buyerGstin),
                       note.reason}
           + amountTexts(NoteRegisterAmounts(note));
}

QString NoteRegisterCsv(const NoteRegister& r)
{
    const QStringList captions = NoteRegisterCaptions();
    QString csv = CsvLine(captions);
    for (const SavedNote& note : r.notes) {
        const QStringList texts = NoteRegisterTexts(note);
        csv += CsvLine(texts.mid(0, 8), texts.mid(8));
    }
    for (const TotalLine& line : totalLines(r))
        csv += CsvLine({line.caption, {}, {}, {}, {}, {}, {}, {}}, amountTexts(NoteRegisterAmounts(line.figures)));
    return csv;
}

XlsxSheet NoteRegisterSheet(const NoteRegister& r)
{
    std::vector<SheetColumn> columns;
    const QStringList captions = NoteRegisterCaptions();
    for (int i = 0; i < captions.size(); ++i)
        columns.push_back({captions[i], i >= 8 ? CellKind::Amount : (i == 1 || i == 4) ? CellKind::Date : CellKind::Text});
    XlsxSheet sheet(QStringLiteral("Credit and Debit Notes"), columns);
    for (const SavedNote& note : r.notes)
        sheet.addRow(QVariantList{note.number, note.date, kindText(note), note.invoice.number, note.invoice.date,
                                  note.invoice.buyerName, NormalizedGstin(note.invoice.buyerGstin), note.reason}
                     + amountCells(NoteRegisterAmounts(note)));
    for (const TotalLine& line : totalLines(r))
        sheet.addTotals(QVariantList{line.caption, {}, {}, {}, {}, {}, {}, {}}
                        + amountCells(NoteRegisterAmounts(line.figures)));
    return sheet;
}

} // namespace zelva
