#pragma once
// The goods' tax rate by rate, beneath the frame of the tax invoice's page,
// for a bill whose goods mix rates: rows 8 and 9 then hold only the sums, and
// the law asks for each rate's tax. One row per rate, rates rising, with its
// taxable value and the tax of each head; rates five to seven in a second
// block beside the first (or beneath it), so that seven lines at seven rates
// fit whole. A bill
// at one rate shows its rate in rows 8 and 9 and nothing here.
#include "gst/gsttax.h"
#include "sales/invoice.h"

#include <QString>
#include <array>
#include <vector>

class QLabel;
class QLineEdit;
class QWidget;

namespace zelva {

class TaxByRateTable {
public:
    // Built hidden on the page, its top in twips of the printable area; the
    // second block beside the first, or beneath it where stacked.
    TaxByRateTable(QWidget* page, int top, bool stacked = false);

    void show(TaxMode mode, const std::vector<RateTax>& rates);
    // The rows shown, each "rate|taxable|head|head" as the boxes hold them.
    QStringList shownRows() const;

    static constexpr int RowsPerBlock = 4;
    static constexpr int Blocks = 2;

private:
    struct Block {
        QLabel* title = nullptr;
        std::array<QLabel*, 4> heads{};
        // each row: rate, taxable value, CGST or IGST, SGST
        std::array<std::array<QLineEdit*, 4>, RowsPerBlock> cells{};
    };
    void showBlock(Block& block, TaxMode mode, const std::vector<RateTax>& rates, std::size_t first);
    std::array<Block, Blocks> m_blocks;
};

} // namespace zelva
