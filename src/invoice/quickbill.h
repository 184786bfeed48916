#pragma once
// Quick Bill: a sale's bill on a receipt printer's roll (58 or 80 mm), in a
// monospaced font, one page as long as the bill: the seller, the invoice
// number and date, each goods line with its GST rate, the charges, the tax
// by rate (CGST and SGST, or IGST), the rounding, the total and its words,
// and the pay QR when the seller takes UPI payments. Made from the stored
// invoice, so that every figure is the one saved.
#include "sales/invoice.h"

#include <QStringList>
#include <QWidget>

namespace zelva {

class Database;

// The characters a line of the roll holds: 32 on 58 mm, 48 on 80 mm.
int RollColumns(int rollWidthMm);

// The bill's lines of text, none longer than columns (long names wrap).
QStringList QuickBillLines(const Invoice& invoice, const InvoiceParty& seller, int columns);

// A reprint's lines: "Duplicate Copy" above the bill's own.
QStringList DuplicateQuickBillLines(const Invoice& invoice, const InvoiceParty& seller, int columns);

// Prints the lines as the Quick Bill of the stored invoice on a roll of that
// width, with the pay QR of the UPI ID ("" for none) while anything is due;
// true when printed (otherwise the operator was told why by the printing).
bool PrintQuickBill(const Database& db, const Invoice& stored, const QStringList& lines, int rollWidthMm,
                    const QString& upiId);

// The page: the lines in a monospaced font, the pay QR beneath them when
// payText is given; as wide as the roll's printable width in proportion.
class QuickBillPage : public QWidget {
    Q_OBJECT
public:
    QuickBillPage(const QStringList& lines, const QString& payText, int rollWidthMm, QWidget* parent = nullptr);
    // The paper the page is printed on, in mm: the roll's width, as long as the page.
    QSizeF paperMm() const;
    const QStringList& lines() const { return m_lines; }

private:
    QStringList m_lines;
    int m_rollWidthMm;
};

} // namespace zelva
