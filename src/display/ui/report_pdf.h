#pragma once

#include "display/commissioning_report.h"

#include <QString>

namespace telmora {

// Writes `report` to `path` as an A4 PDF: real text a reader can search and copy, the
// drawings as vector shapes, on as many pages as it takes. False with `error` set when the
// file cannot be written; an earlier file is then left as it was.
bool WriteReportPdf(const CommissioningReport& report, const QString& path, QString& error);

} // namespace telmora
