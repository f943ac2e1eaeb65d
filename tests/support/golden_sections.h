#pragma once

#include "golden.h"

#include <QFile>
#include <QMap>
#include <QtTest>

namespace telmora::test {

// A golden file holding one section a scenario: a line "== name", then the scenario's
// lines. Its sections by name.
inline QMap<QString, QString> GoldenSections(const QString& path) {
    QFile file(path);
    QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "";
    text.chop(text.endsWith('\n') ? 1 : 0);
    QMap<QString, QString> sections;
    QString name;
    for (const QString& line : text.split('\n')) {
        if (line.startsWith("== ")) {
            name = line.mid(3);
            sections[name] = "";
        } else if (!name.isEmpty()) {
            sections[name] += line + '\n';
        }
    }
    return sections;
}

// Compares `lines` with the section `name` of the golden file at `path`, failing with a
// unified diff when they differ. TELMORA_WRITE_GOLDEN=<file> first puts the section into
// <file> (started from the golden file), to review and copy over it.
inline void CompareWithGolden(const QString& path, const QString& name, const QStringList& lines) {
    const QString found = lines.join('\n') + '\n';
    if (const QString out = qEnvironmentVariable("TELMORA_WRITE_GOLDEN"); !out.isEmpty()) {
        QMap<QString, QString> sections = GoldenSections(QFile::exists(out) ? out : path);
        sections[name] = found;
        QString text;
        for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
            text += "== " + it.key() + '\n' + it.value();
        }
        QFile file(out);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(text.toUtf8()) == text.toUtf8().size());
    }
    const QString golden = GoldenSections(path).value(name);
    if (golden != found) {
        QFAIL(UnifiedDiff(golden.toStdString(), found.toStdString(),
                          (path + ": " + name).toStdString())
                  .c_str());
    }
}

} // namespace telmora::test
