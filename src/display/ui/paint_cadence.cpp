#include "display/ui/paint_cadence.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace telmora {

PaintCadence::PaintCadence(QWidget* window, int intervalMs)
    : QObject(window), window_(window), intervalMs_(intervalMs) {
    pending_.setSingleShot(true);
    pending_.setTimerType(Qt::PreciseTimer);
    connect(&pending_, &QTimer::timeout, this, &PaintCadence::PaintNow);
    window->installEventFilter(this);
}

// Qt asks the window to paint with one UpdateRequest for everything marked since the last
// paint, and asks no more until that one has run; holding it back holds back the paint.
bool PaintCadence::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || event->type() != QEvent::UpdateRequest || releasing_) {
        return false;
    }
    const qint64 since = sincePaint_.isValid() ? sincePaint_.elapsed() : intervalMs_;
    if (since >= intervalMs_) {
        sincePaint_.start();
        emit AboutToPaint();
        return false;
    }
    ++held_;
    if (!pending_.isActive()) {
        pending_.start(static_cast<int>(intervalMs_ - since));
    }
    return true;
}

void PaintCadence::PaintNow() {
    releasing_ = true;
    sincePaint_.start();
    emit AboutToPaint();
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window_, &request);
    releasing_ = false;
}

} // namespace telmora
