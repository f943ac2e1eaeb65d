#pragma once

#include "display/data_log.h"

#include <QDateTime>

namespace telmora {

// A local date and time as the log and the chart data write it.
inline LocalDateTime ToLocalDateTime(const QDateTime& local) {
    const QDate date = local.date();
    const QTime time = local.time();
    return {date.year(),
            date.month(),
            date.day(),
            {time.hour(), time.minute(), time.second()},
            time.msec()};
}

} // namespace telmora
