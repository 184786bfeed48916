#pragma once
// A barcode scanner is a keyboard that types a code and Enter, faster than
// any hand. ScanCatcher watches the keys a form's boxes get and hands the
// form each code that came as a scanner types it (at least ShortestScan
// characters, each within ScanKeyGapMs of the one before, then Enter). When
// the form takes the code, Enter goes no further and the box that received
// the code's characters gets back the text it had before them; typing by
// hand goes on as ever.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

class QKeyEvent;

namespace zelva {

// The longest pause between two keys of one scan.
constexpr int ScanKeyGapMs = 60;
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
    bool watching(QObject* watched) const;
    void restoreTypedInto();
    bool gapBefore(const QKeyEvent* key);

    QWidget* m_root;
    QWidget* m_box;
    Handler m_handler;
    std::function<bool()> m_anywhere;
    QString m_code;
    QElapsedTimer m_sinceKey;
    quint64 m_lastStamp = 0; // the last key's time as the keyboard sent it; 0 without one
    QPointer<QWidget> m_typedInto; // the box the code's characters went to
    QString m_textBefore;          // its text before them
};

} // namespace zelva
