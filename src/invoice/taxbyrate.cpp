#include "invoice/taxbyrate.h"

#include "invoice/invoicepageparts.h"
#include "platform/money.h"
#include "ui/fittext.h"
#include "ui/formboxes.h"

#include <QLabel>
#include <QLineEdit>

namespace zelva {

using namespace invoicepage;

namespace {

constexpr int Pitch = 230;
constexpr int BlockWidth = ContentWidth / TaxByRateTable::Blocks;
// rate, taxable value and two heads, each amount column twelve digits and the paise
constexpr std::array<Column, 4> Columns{{{100, 560}, {700, 1480}, {2210, 1480}, {3720, 1440}}};

QString headCaption(TaxMode mode, int column)
{
    switch (column) {
    case 0: return QStringLiteral("GST %");
    case 1: return QStringLiteral("Taxable Value");
    case 2: return mode == TaxMode::Igst ? QStringLiteral("IGST") : QStringLiteral("CGST");
    case 3: return mode == TaxMode::Igst ? QString() : QStringLiteral("SGST");
    }
    return {};
}

} // namespace

TaxByRateTable::TaxByRateTable(QWidget* page, int tableTop, bool stacked)
{
    const QFont small = styled(page, false, false, 0.85);
    for (int b = 0; b < Blocks; ++b) {
        Block& block = m_blocks[std::size_t(b)];
        const int left = stacked ? 0 : b * BlockWidth;
        const int top = stacked ? tableTop + b * (RowsPerBlock + 2) * Pitch : tableTop;
        block.title = addLabel(page, b == 0 ? "Tax by rate" : "", left + 100, top, BlockWidth - 200);
        block.title->setFont(styled(page, true, false, 0.85));
        for (int c = 0; c < 4; ++c) {
            const Column col = Columns[std::size_t(c)];
            QLabel* head = addLabel(page, "", left + col.left, top + Pitch, col.width, c == 0 ? Qt::AlignLeft : Qt::AlignRight);
            head->setFont(small);
            block.heads[std::size_t(c)] = head;
            for (int r = 0; r < RowsPerBlock; ++r) {
                QLineEdit* cell = addBox(page, QStringLiteral("txtTaxByRate_%1_%2_%3").arg(b).arg(r).arg(c), left + col.left,
                                         top + (r + 2) * Pitch, col.width, true, c == 0 ? Qt::AlignLeft : Qt::AlignRight);
                cell->setFont(small);
                cell->setFocusPolicy(Qt::NoFocus);
                place(cell, left + col.left, top + (r + 2) * Pitch, col.width, Pitch);
                ShrinkToFit(cell);
                block.cells[std::size_t(r)][std::size_t(c)] = cell;
            }
        }
    }
    show(TaxMode::None, {});
}

void TaxByRateTable::showBlock(Block& block, TaxMode mode, const std::vector<RateTax>& rates, std::size_t first)
{
    const bool used = first < rates.size();
    block.title->setVisible(used);
    for (int c = 0; c < 4; ++c) {
        block.heads[std::size_t(c)]->setText(headCaption(mode, c));
        block.heads[std::size_t(c)]->setVisible(used);
    }
    for (std::size_t r = 0; r < RowsPerBlock; ++r) {
        const bool shown = first + r < rates.size();
        const RateTax* rate = shown ? &rates[first + r] : nullptr;
        const std::array<QString, 4> texts{
            shown ? RateText(rate->gstRate) + QLatin1Char('%') : QString(),
            shown ? BoxAmountText(rate->taxable) : QString(),
            shown ? BoxAmountText(rate->tax.igst + rate->tax.cgst) : QString(),
            shown && mode == TaxMode::Cgst ? BoxAmountText(rate->tax.sgst) : QString()};
        for (std::size_t c = 0; c < 4; ++c) {
            ShowText(block.cells[r][c], texts[c]);
            block.cells[r][c]->setVisible(shown);
        }
    }
}

void TaxByRateTable::show(TaxMode mode, const std::vector<RateTax>& rates)
{
    // a bill at one rate (or none) says it in rows 8 and 9
    const std::vector<RateTax> shown = mode == TaxMode::None || rates.size() < 2 ? std::vector<RateTax>{} : rates;
    for (std::size_t b = 0; b < m_blocks.size(); ++b)
        showBlock(m_blocks[b], mode, shown, b * RowsPerBlock);
}

QStringList TaxByRateTable::shownRows() const
{
    QStringList rows;
    for (const Block& block : m_blocks)
        for (const auto& row : block.cells) {
            if (!row[0]->isVisibleTo(row[0]->parentWidget()) || row[0]->text().isEmpty())
                continue;
            QStringList cells;
            for (QLineEdit* cell : row)
                cells << cell->text();
            rows << cells.join(QLatin1Char('|'));
        }
    return rows;
}

} // namespace zelva
