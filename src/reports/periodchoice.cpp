#include "reports/periodchoice.h"

#include "ui/message.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zelva {

namespace {
constexpr int NoPeriod = 0; // the group's id of an option without behaviour

QDateEdit* makeDateBox(QWidget* parent, const char* name)
{
    auto* box = new QDateEdit(QDate::currentDate(), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    box->setCalendarPopup(true);
    return box;
}
} // namespace

PeriodChoice::PeriodChoice(const std::vector<PeriodColumn>& columns, QWidget* parent)
    : QWidget(parent)
    , group(new QButtonGroup(this))
    , cboStartDate(makeDateBox(this, "cboStartDate"))
    , cboEndDate(makeDateBox(this, "cboEndDate"))
{
    setObjectName(QStringLiteral("PeriodChoice"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        auto* column = new QVBoxLayout;
        if (columns[c].headingName) {
            auto* heading = new QLineEdit(columns[c].heading, this);
            heading->setObjectName(QString::fromLatin1(columns[c].headingName));
            heading->setReadOnly(true);
            heading->setFocusPolicy(Qt::NoFocus);
            column->addWidget(heading);
        }
        for (const PeriodOption& option : columns[c].options)
            column->addWidget(makeOption(option));
        column->addStretch();
        grid->addLayout(column, 0, c);
    }
    QAbstractButton* first = option(ReportPeriod::All);
    for (QAbstractButton* button : group->buttons())
        if (!first && group->id(button) != NoPeriod)
            first = button;
    if (first)
        first->setChecked(true);
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked || id == NoPeriod)
            return;
        enableDates();
        emit periodChanged(static_cast<ReportPeriod>(id));
    });
    enableDates();
}

QWidget* PeriodChoice::makeOption(const PeriodOption& option)
{
    auto* button = new QRadioButton(option.caption, this);
    button->setObjectName(QString::fromLatin1(option.name));
    group->addButton(button, option.period ? static_cast<int>(*option.period) : NoPeriod);
    button->setEnabled(option.period.has_value());
    if (option.period == ReportPeriod::Between)
        return makeBetweenRow(button);
    return button;
}

QWidget* PeriodChoice::makeBetweenRow(QRadioButton* between)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    between->setParent(row);
    layout->addWidget(between);
    layout->addWidget(cboStartDate);
    layout->addWidget(new QLabel(tr("and"), row));
    layout->addWidget(cboEndDate);
    layout->addStretch();
    return row;
}

void PeriodChoice::enableDates()
{
    const bool between = period() == ReportPeriod::Between;
    cboStartDate->setEnabled(between);
    cboEndDate->setEnabled(between);
}

ReportPeriod PeriodChoice::period() const
{
    const int id = group->checkedId();
    return id > 0 ? static_cast<ReportPeriod>(id) : ReportPeriod::All;
}

QRadioButton* PeriodChoice::option(ReportPeriod period) const
{
    return qobject_cast<QRadioButton*>(group->button(static_cast<int>(period)));
}

bool PeriodChoice::chosenDays(const QDate& loadDate, std::optional<Period>& days) const
{
    const Period between { cboStartDate->date(), cboEndDate->date() };
    if (period() == ReportPeriod::Between && between.from > between.to) {
        MsgBox(tr("The start date comes after the end date: choose a start on or before the end"));
        cboStartDate->setFocus();
        return false;
    }
    days = DaysOf(period(), loadDate, between);
    return true;
}

} // namespace zelva
