// The longest stretch in which no widget of the program was painted, between Start() and Stop():
// how long a user would have seen the windows frozen. Work done on the window's thread without
// painting counts whole; work behind a WorkerWait counts only between its paints.
#pragma once

#include "BenchUtil.h"

#include <QApplication>
#include <QEvent>
#include <QObject>

#include <algorithm>

namespace vyp::bench {

class PaintGaps : public QObject {
public:
    PaintGaps() { qApp->installEventFilter(this); }
    ~PaintGaps() override { qApp->removeEventFilter(this); }
    PaintGaps(const PaintGaps&) = delete;
    PaintGaps& operator=(const PaintGaps&) = delete;

    void Start() {
        m_last = Stopwatch();
        m_longest = 0;
        m_paints = 0;
        m_watching = true;
    }
    void Stop() {
        Note();
        m_watching = false;
    }
    double LongestMs() const { return m_longest * 1000; }
    int Paints() const { return m_paints; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_watching && event->type() == QEvent::Paint) {
            Note();
            ++m_paints;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Note() {
        m_longest = std::max(m_longest, m_last.Seconds());
        m_last = Stopwatch();
    }

    Stopwatch m_last;
    double m_longest = 0;
    int m_paints = 0;
    bool m_watching = false;
};

} // namespace vyp::bench
