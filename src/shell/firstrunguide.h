#pragma once
// The first-run guide: while a shop's books lack the company's details, a
// buyer, an item or the first invoice (sales/firstrun.h), the empty main
// window shows the next steps as a short list, each a button that opens its
// form, the done ones ticked. It lives in the window area behind the child
// windows, so it never covers one; it goes away by itself once the books are
// set up, or for good when the operator asks ("Don't show again", kept in the
// user's settings).
#include "sales/firstrun.h"

#include <QFrame>
#include <array>

class QLabel;
class QPushButton;

namespace zelva {

class Database;

class FirstRunGuide : public QFrame {
    Q_OBJECT
public:
    // Made in the window area's viewport, beneath whatever windows are there.
    FirstRunGuide(Database& db, QWidget* viewport);
    static constexpr const char* DismissedKey = "firstRunGuide/dismissed";

    QLabel* lblGuideTitle;
    std::array<QPushButton*, FirstRunSteps.size()> cmdGuideStep;
    std::array<QLabel*, FirstRunSteps.size()> lblGuideDone; // a tick once the step is done
    QPushButton* cmdGuideDismiss;

    // Reads the books afresh: ticks the steps done, shows the guide while
    // the books are not set up and it was not dismissed, keeps it centred.
    void refresh();

signals:
    void stepWanted(zelva::FirstRunStep step);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdGuideDismiss_Click();
    void centre();

    Database& m_db;
};

// Whether the operator chose "Don't show again".
bool FirstRunGuideDismissed();

} // namespace zelva
