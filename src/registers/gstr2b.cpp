#include "registers/gstr2b.h"

#include "gst/gststates.h"
#include "platform/datetext.h"
#include "registers/csvfile.h"
#include "platform/period.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>

namespace zelva {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("zelva", text); }

// A document's amounts: its items added up.
void readItems(const QJsonArray& items, PortalDocument& document)
{
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        document.taxable += ToPaise(item.value(QStringLiteral("txval")).toDouble());
        document.tax.igst += ToPaise(item.value(QStringLiteral("igst")).toDouble());
        document.tax.cgst += ToPaise(item.value(QStringLiteral("cgst")).toDouble());
        document.tax.sgst += ToPaise(item.value(QStringLiteral("sgst")).toDouble());
        document.tax.cess += ToPaise(item.value(QStringLiteral("cess")).toDouble());
    }
}

// One invoice or note of a supplier; "" when read, else what is wrong.
QString readDocument(const QJsonObject& entry, const char* numberKey, PortalDocument& document)
{
    document.number = entry.value(QLatin1String(numberKey)).toString();
    document.date = QDate::fromString(entry.value(QStringLiteral("dt")).toString(), QStringLiteral("dd-MM-yyyy"));
    if (document.number.isEmpty() || !document.date.isValid())
        return tr("a document of supplier %1 has no number (%2) or no date (dt, as dd-mm-yyyy)")
            .arg(document.gstin, QLatin1String(numberKey));
    document.value = ToPaise(entry.value(QStringLiteral("val")).toDouble());
    document.placeOfSupply = entry.value(QStringLiteral("pos")).toString();
    document.reverseCharge = entry.value(QStringLiteral("rev")).toString() == u"Y";
    document.itcAvailable = entry.value(QStringLiteral("itcavl")).toString() != u"N";
    readItems(entry.value(QStringLiteral("items")).toArray(), document);
    return {};
}

// The documents of one section (b2b with inv[], cdnr with nt[]); "" when read.
QString readSection(const QJsonObject& docdata, const char* section, const char* listKey, const char* numberKey,
                    std::vector<PortalDocument>& documents)
{
    const QJsonValue suppliers = docdata.value(QLatin1String(section));
    if (suppliers.isUndefined())
        return {};
    if (!suppliers.isArray())
        return tr("data.docdata.%1 is not a list").arg(QLatin1String(section));
    for (const QJsonValue& value : suppliers.toArray()) {
        const QJsonObject supplier = value.toObject();
        const QString gstin = NormalizedGstin(supplier.value(QStringLiteral("ctin")).toString());
        if (gstin.isEmpty())
            return tr("a supplier in data.docdata.%1 has no GSTIN (ctin)").arg(QLatin1String(section));
        for (const QJsonValue& entry : supplier.value(QLatin1String(listKey)).toArray()) {
            PortalDocument document;
            document.gstin = gstin;
            document.tradeName = supplier.value(QStringLiteral("trdnm")).toString();
            const QString type = entry.toObject().value(QStringLiteral("typ")).toString();
            document.invoice = QLatin1String(section) == u"b2b";
            document.debitNote = !document.invoice && type == u"D";
            document.kind = document.invoice ? tr("Invoice")
                            : type == u"D"                   ? tr("Debit note")
                                                             : tr("Credit note");
            if (const QString wrong = readDocument(entry.toObject(), numberKey, document); !wrong.isEmpty())
                return wrong;
            documents.push_back(document);
        }
    }
    return {};
}

QString gstinOf(const PurchaseBill& bill) { return NormalizedGstin(bill.supplierGstin); }

QString matchKey(const QString& gstin, const QString& number) { return gstin + u'|' + ComparableBillNumber(number); }

// A note's key: its kind as well, a credit note never taken for a debit note.
QString noteMatchKey(const QString& gstin, bool debit, const QString& number)
{
    return (debit ? QStringLiteral("D|") : QStringLiteral("C|")) + matchKey(gstin, number);
}

// The books' side of a line: the bill's or the note's figures.
struct BooksSide {
    QString gstin, supplier, number;
    QDate date;
    Paise taxable = 0;
    TaxHeads tax;
};

BooksSide booksSide(const MatchLine& line)
{
    if (line.note)
        return {NormalizedGstin(line.note->bill.supplierGstin), line.note->bill.supplierName, line.note->number,
                line.note->date, line.note->taxable, line.note->tax};
    const PurchaseBill& b = *line.books;
    return {NormalizedGstin(b.supplierGstin), b.supplierName, b.number, b.date, b.taxable(), b.tax()};
}

void compare(const QString& what, Paise portal, Paise books, QStringList& differences)
{
    if (std::llabs(portal - books) > MatchTolerance)
        differences << tr("%1 %2 in 2B, %3 in the books").arg(what, AmountText(portal), AmountText(books));
}

QStringList differencesOf(const PortalDocument& portal, const BooksSide& books)
{
    QStringList differences;
    compare(tr("Taxable value"), portal.taxable, books.taxable, differences);
    compare(tr("IGST"), portal.tax.igst, books.tax.igst, differences);
    compare(tr("CGST"), portal.tax.cgst, books.tax.cgst, differences);
    compare(tr("SGST"), portal.tax.sgst, books.tax.sgst, differences);
    if (portal.date != books.date)
        differences << tr("Date %1 in 2B, %2 in the books").arg(DateText(portal.date), DateText(books.date));
    return differences;
}

} // namespace

Gstr2bFile ReadGstr2b(const QByteArray& json, const QString& companyGstin, int year, int month)
{
    Gstr2bFile file;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        file.refusal = tr("This is not a GSTR-2B file: it is not JSON text (%1).").arg(error.errorString());
        return file;
    }
    const QJsonObject data = document.object().value(QStringLiteral("data")).toObject();
    const QJsonValue docdata = data.value(QStringLiteral("docdata"));
    if (data.isEmpty() || !docdata.isObject() || !data.value(QStringLiteral("gstin")).isString()
        || !data.value(QStringLiteral("rtnprd")).isString()) {
        file.refusal = tr("This is not a GSTR-2B file: it has no data.gstin, data.rtnprd or data.docdata.");
        return file;
    }
    const QString gstin = NormalizedGstin(data.value(QStringLiteral("gstin")).toString());
    if (IsNoGstin(companyGstin)) {
        file.refusal = tr("The company's GSTIN is not entered (Update, Company Details): the file cannot be "
                          "checked against it.");
        return file;
    }
    if (gstin != NormalizedGstin(companyGstin)) {
        file.refusal = tr("This GSTR-2B file is for GSTIN %1, not for the company's GSTIN %2.")
                           .arg(gstin, NormalizedGstin(companyGstin));
        return file;
    }
    const QString period = QStringLiteral("%1%2").arg(month, 2, 10, QLatin1Char('0')).arg(year);
    const QString filePeriod = data.value(QStringLiteral("rtnprd")).toString();
    if (filePeriod != period) {
        file.refusal = tr("This GSTR-2B file is for the return period %1, not for %2.").arg(filePeriod, period);
        return file;
    }
    std::vector<PortalDocument> documents;
    for (const QString& wrong : {readSection(docdata.toObject(), "b2b", "inv", "inum", documents),
                                 readSection(docdata.toObject(), "cdnr", "nt", "ntnum", documents)})
        if (!wrong.isEmpty()) {
            file.refusal = tr("This GSTR-2B file cannot be read: %1.").arg(wrong);
            return file;
        }
    file.documents = std::move(documents);
    return file;
}

int Gstr2bMatching::count(MatchKind kind) const
{
    return int(std::count_if(lines.begin(), lines.end(), [kind](const MatchLine& l) { return l.kind == kind; }));
}

Gstr2bMatching MatchGstr2b(const std::vector<PortalDocument>& documents, const std::vector<PurchaseBill>& bills,
                           const std::vector<SupplierNote>& notes)
{
    QMultiHash<QString, size_t> billsByKey;
    for (size_t i = 0; i < bills.size(); ++i)
        if (bills[i].registeredSupplier())
            billsByKey.insert(matchKey(gstinOf(bills[i]), bills[i].number), i);
    QMultiHash<QString, size_t> notesByKey;
    for (size_t i = 0; i < notes.size(); ++i)
        notesByKey.insert(noteMatchKey(gstinOf(notes[i].bill), !notes[i].credit, notes[i].number), i);
    std::vector<bool> billTaken(bills.size(), false);
    std::vector<bool> noteTaken(notes.size(), false);
    // The untaken entry of that key, the one of the same date preferred.
    const auto find = [](const QMultiHash<QString, size_t>& byKey, const QString& key, const std::vector<bool>& taken,
                         const auto& dateOf, const QDate& date) {
        std::optional<size_t> found;
        for (auto it = byKey.find(key); it != byKey.end() && it.key() == key; ++it)
            if (!taken[*it] && (!found || dateOf(*it) == date))
                found = *it;
        return found;
    };
    std::vector<MatchLine> matched, differing, portalOnly, booksOnly;
    for (const PortalDocument& document : documents) {
        MatchLine line{MatchKind::Matched, document, std::nullopt, std::nullopt, {}};
        if (document.invoice) {
            if (const auto found = find(billsByKey, matchKey(document.gstin, document.number), billTaken,
                                        [&](size_t i) { return bills[i].date; }, document.date)) {
                billTaken[*found] = true;
                line.books = bills[*found];
            }
        } else if (const auto found = find(notesByKey, noteMatchKey(document.gstin, document.debitNote, document.number),
                                           noteTaken, [&](size_t i) { return notes[i].date; }, document.date)) {
            noteTaken[*found] = true;
            line.note = notes[*found];
        }
        if (!line.books && !line.note) {
            line.kind = MatchKind::PortalOnly;
            portalOnly.push_back(line);
            continue;
        }
        line.differences = differencesOf(document, booksSide(line));
        if (!line.differences.isEmpty())
            line.kind = MatchKind::Differences;
        (line.kind == MatchKind::Matched ? matched : differing).push_back(line);
    }
    for (size_t i = 0; i < bills.size(); ++i)
        if (!billTaken[i] && bills[i].registeredSupplier())
            booksOnly.push_back({MatchKind::BooksOnly, std::nullopt, bills[i], std::nullopt, {}});
    for (size_t i = 0; i < notes.size(); ++i)
        if (!noteTaken[i])
            booksOnly.push_back({MatchKind::BooksOnly, std::nullopt, std::nullopt, notes[i], {}});
    Gstr2bMatching result;
    for (auto* part : {&matched, &differing, &portalOnly, &booksOnly})
        result.lines.insert(result.lines.end(), part->begin(), part->end());
    return result;
}

Gstr2bMatching LoadGstr2bMatching(const Database& db, int year, int month, const std::vector<PortalDocument>& documents)
{
    const Period days = MonthPeriod(year, month);
    return MatchGstr2b(documents, LoadPurchaseBills(db, days.from, days.to), LoadSupplierNotes(db, days.from, days.to));
}

QString MatchKindText(MatchKind kind)
{
    switch (kind) {
    case MatchKind::Matched: return tr("Matched");
    case MatchKind::Differences: return tr("Matched with differences");
    case MatchKind::PortalOnly: return tr("In 2B only");
    case MatchKind::BooksOnly: return tr("In the books only");
    }
    return {};
}

QStringList Gstr2bCaptions()
{
    return {tr("Result"), tr("Supplier GSTIN"), tr("Supplier"), tr("Bill No."), tr("Date"),
            tr("Taxable (2B)"), tr("Tax (2B)"), tr("Taxable (books)"), tr("Tax (books)"), tr("Differences")};
}

QStringList Gstr2bCells(const MatchLine& line)
{
    const PortalDocument* p = line.portal ? &*line.portal : nullptr;
    const bool inBooks = line.books || line.note;
    const BooksSide b = inBooks ? booksSide(line) : BooksSide{};
    const QString noteKind = line.note ? (line.note->credit ? tr("Credit note") : tr("Debit note")) : QString();
    const QString kind = p && !p->invoice ? QStringLiteral(" (%1)").arg(p->kind)
                         : !noteKind.isEmpty() ? QStringLiteral(" (%1)").arg(noteKind)
                                               : QString();
    return {MatchKindText(line.kind) + kind,
            p ? p->gstin : b.gstin,
            inBooks ? b.supplier : p->tradeName,
            p ? p->number : b.number,
            DateText(p ? p->date : b.date),
            p ? AmountText(p->taxable) : QString(),
            p ? AmountText(p->tax.total()) : QString(),
            inBooks ? AmountText(b.taxable) : QString(),
            inBooks ? AmountText(b.tax.total()) : QString(),
            line.differences.join(QStringLiteral("; "))};
}

QString Gstr2bCsv(const Gstr2bMatching& matching)
{
    QString csv = CsvLine(Gstr2bCaptions());
    for (const MatchLine& line : matching.lines) {
        const QStringList c = Gstr2bCells(line);
        csv += CsvLine({c[0], c[1], c[2], c[3], c[4]}, {c[5], c[6], c[7], c[8]}).chopped(2) + u',' + CsvLine({c[9]});
    }
    return csv;
}

} // namespace zelva
