#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <utility>

namespace telmora {

// "Find Sensor": the detection run on each port offered, in turn, on a port of its own
// opened for the purpose; the first port whose sensor answers is the one. Nothing of the
// window's link is touched: the caller has closed the window's port beforehand.
class SensorSearch : public QObject {
    Q_OBJECT
  public:
    explicit SensorSearch(QObject* parent = nullptr);
    ~SensorSearch() override;

    // Port numbers with their devices, in the order to try them.
    void Start(QList<std::pair<int, QString>> ports);
    // Ends the search at once; the sensor is told to stream again if it was spoken to.
    // Finished reports 0.
    void Stop();
    bool Running() const;

  signals:
    // Trying port `number` (`index` of `count` ports).
    void Trying(int number, const QString& device, int index, int count);
    // The port whose sensor answered, or 0 when none did or the search was stopped.
    void Finished(int number);

  private:
    class Private;
    std::unique_ptr<Private> d_;
};

} // namespace telmora
