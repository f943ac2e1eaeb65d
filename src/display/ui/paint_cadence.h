#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

namespace telmora {

// Paints a window at most once per interval. At 160 readings a second every reading would
// otherwise repaint the window; the controls still change per reading, and Qt keeps
// gathering what changed until the held paint runs. A change after a quiet spell is painted
// at once, so nothing waits longer than the interval. Qt asks for an outright repaint()
// the same way, so while a paint is held such a call waits with it.
class PaintCadence : public QObject {
    Q_OBJECT
  public:
    // About one frame of a 60 Hz screen: painting more often shows nothing more, and a
    // reading still reaches the screen within 20 ms of its last character.
    static constexpr int kIntervalMs = 16;

    // Watches `window`'s paint requests; it goes away with the window.
    explicit PaintCadence(QWidget* window, int intervalMs = kIntervalMs);

    // Paints held back so far (a test reads it).
    int HeldPaints() const { return held_; }

  signals:
    // A paint of the window is about to run: what is shown may still change and is
    // painted with it.
    void AboutToPaint();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PaintNow();

    QWidget* window_;
    int intervalMs_;
    QElapsedTimer sincePaint_;
    QTimer pending_;
    bool releasing_ = false;
    int held_ = 0;
};

} // namespace telmora
