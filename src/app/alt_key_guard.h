#pragma once

#include <QObject>

namespace telmora {

// Alt with a letter is a command (a menu's access key), never text: a text box would
// otherwise take the letter when no access key matches it, and a description typed that
// way is written into the sensor. AltGr, which types characters on many keyboards, is not
// Alt to Qt and still types.
class AltKeyGuard : public QObject {
  public:
    // Guards every text box of the application while `owner` lives.
    explicit AltKeyGuard(QObject* owner);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace telmora
