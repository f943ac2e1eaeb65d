#pragma once

#include "golden.h"

#include <QtTest>

namespace telmora::test {

// Fails the running Qt test with a diff when `lines` are not the section `name` of the
// golden file at `path`.
inline void CompareWithGolden(const QString& path, const QString& name, const QStringList& lines) {
    const std::string diff = GoldenSectionDiff(path.toStdString(), name.toStdString(),
                                               (lines.join('\n') + '\n').toStdString());
    if (!diff.empty()) {
        QFAIL(diff.c_str());
    }
}

} // namespace telmora::test
