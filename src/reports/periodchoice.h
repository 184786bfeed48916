#pragma once
// The choice of a report period: columns of option buttons (one group, so
// choosing one clears the others), optionally under a heading box, and the
// "between" row with its two date boxes, which start at today's date and can be
// changed only while the between option is chosen. An option that stands for
// no period is shown greyed: no caption promises what Show will not list.
//
//   PeriodChoice choice({{"txtHeading", "Item for Sale",
//       {{"optAll", "&All Purchase", ReportPeriod::All},
//        {"optBetween", "Purchase Between", ReportPeriod::Between}}}});
//   std::optional<Period> days;
//   if (choice.chosenDays(QDate::currentDate(), days)) ... // false: told the operator
#include "platform/period.h"

#include <QWidget>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QDateEdit;
class QRadioButton;

namespace zelva {

struct PeriodOption {
    const char* name; // the option button's objectName ("optToday")
    QString caption;
    std::optional<ReportPeriod> period; // none: an option without behaviour, greyed
};

struct PeriodColumn {
    const char* headingName = nullptr; // no heading box when null
    QString heading;
    std::vector<PeriodOption> options;
};

class PeriodChoice : public QWidget {
    Q_OBJECT
public:
    // The first option of period All is chosen (else the first with a period).
    explicit PeriodChoice(const std::vector<PeriodColumn>& columns, QWidget* parent = nullptr);

    ReportPeriod period() const;
    // The option of that period; nullptr when the choice does not offer it.
    QRadioButton* option(ReportPeriod period) const;

    // The days the chosen period covers seen from loadDate (nullopt: every day).
    // False, after telling the operator, when the between row starts after it ends.
    bool chosenDays(const QDate& loadDate, std::optional<Period>& days) const;

    QButtonGroup* group;
    QDateEdit* cboStartDate;
    QDateEdit* cboEndDate;

signals:
    void periodChanged(zelva::ReportPeriod period);

private:
    QWidget* makeOption(const PeriodOption& option);
    QWidget* makeBetweenRow(QRadioButton* between);
    void enableDates();
};

} // namespace zelva
