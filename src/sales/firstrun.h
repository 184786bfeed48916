#pragma once
// How far a shop has come in setting up its books: the company's details, a
// buyer, a stock item, the opening balances (the day the books start here)
// and the first invoice. The opening balances count as done once the day the
// books start is set on Company Details. The main window's first-run guide shows the steps
// while one of the steps a shop cannot bill without is still open.
#include <array>

namespace zelva {

class Database;

enum class FirstRunStep { Company, Buyers, Items, OpeningBalances, FirstInvoice };
inline constexpr std::array<FirstRunStep, 5> FirstRunSteps{FirstRunStep::Company, FirstRunStep::Buyers,
                                                           FirstRunStep::Items, FirstRunStep::OpeningBalances,
                                                           FirstRunStep::FirstInvoice};

struct FirstRunProgress {
    std::array<bool, FirstRunSteps.size()> done{};
    bool isDone(FirstRunStep step) const { return done[static_cast<std::size_t>(step)]; }
    // The company, a buyer, an item and an invoice are there (the opening
    // balances are for a shop that traded before: it may have none).
    bool setUp() const;
};

// What the books hold now: the placeholder records of serial 0 count for
// nothing, a cancelled invoice is an invoice all the same. Throws DataError.
FirstRunProgress LoadFirstRunProgress(Database& db);

} // namespace zelva
