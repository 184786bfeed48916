#pragma once
// A barcode scanner is a keyboard that types a code and Enter, faster than
// any hand. ScanCatcher watches the keys a form's boxes get and hands the
// form each code that came as a scanner types it (at least ShortestScan
// characters, each within ScanKeyGapMs of the one before, then Enter within
// ScanEnterGapMs). When the form takes the code, Enter goes no further and
// the box that received the code's characters gets back the text it had
// before them; typing by hand goes on as ever.
//
// Keys are timed by the stamps the keyboard gave them, so keys queued
// behind slow work stay a scan. Shift, which a scanner holds for a capital,
// is no break in a code. A scan that comes while the form is still taking
// the one before (its message on screen) is kept and taken after it, in the
// order scanned.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>

class QWidget;

class QKeyEvent;

namespace zelva {

// The longest pause between two keys of one scan.
constexpr int ScanKeyGapMs = 60;
// The longest pause before the Enter that ends a scan: some scanners send it
// a little after the code.
constexpr int ScanEnterGapMs = 120;
// A scan is at least this long: a shorter burst ending in Enter is typing.
constexpr int ShortestScan = 4;

class ScanCatcher : public QObject {
    Q_OBJECT
public:
    // True when the form took the code (Enter then goes no further).
    using Handler = std::function<bool(const QString& code)>;
    // Watches the keys of box always, and of every other widget inside root
    // while anywhere() says so.
    ScanCatcher(QWidget* root, QWidget* box, Handler handler, std::function<bool()> anywhere);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A code scanned and where its characters went.
    struct Scan {
        QString code;
        QPointer<QWidget> typedInto;
        QString textBefore;
    };

    bool watching(QObject* watched) const;
    bool gapBefore(const QKeyEvent* key, int longestGap);
    bool codeEnded(bool gap);
    bool take(const Scan& scan);

    QWidget* m_root;
    QWidget* m_box;
    Handler m_handler;
    std::function<bool()> m_anywhere;
    QString m_code;
    QElapsedTimer m_sinceKey;
    quint64 m_lastStamp = 0; // the last key's time as the keyboard sent it; 0 without one
    QPointer<QWidget> m_typedInto; // the box the code's characters went to
    QString m_textBefore;          // its text before them
    bool m_taking = false;         // the handler is at work on a code
    std::deque<Scan> m_waiting;    // codes scanned meanwhile
};

} // namespace zelva
