#pragma once

#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <QtTest>

namespace telmora::test {

// A golden file holds what scenarios show, one section a scenario: a line "== name", then
// the scenario's lines.
inline QList<QStringList> GoldenSections(const QString& path) {
    QFile file(path);
    QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "";
    text.chop(text.endsWith('\n') ? 1 : 0);
    QList<QStringList> sections;
    for (const QString& line : text.split('\n')) {
        if (line.startsWith("== ")) {
            sections.append(QStringList());
        }
        if (!sections.isEmpty()) {
            sections.back() << line;
        }
    }
    return sections;
}

inline bool WriteGolden(const QString& path, const QList<QStringList>& sections) {
    QFile file(path);
    QString text;
    for (const QStringList& section : sections) {
        text += section.join('\n') + '\n';
    }
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size();
}

// Compares `found` with the section `name` of the golden file at `path`, failing with a
// unified diff when they differ. TELMORA_WRITE_GOLDEN=<file> first puts the section into
// <file> (started from the golden file), to review and copy over it.
inline void CompareWithGolden(const QString& path, const QString& name, const QStringList& found) {
    const QStringList wanted = QStringList{"== " + name} + found;
    if (const QString out = qEnvironmentVariable("TELMORA_WRITE_GOLDEN"); !out.isEmpty()) {
        QList<QStringList> sections = GoldenSections(QFile::exists(out) ? out : path);
        qsizetype at = 0;
        while (at < sections.size() && sections[at].first() != wanted.first()) {
            ++at;
        }
        if (at == sections.size()) {
            sections.append(QStringList());
        }
        sections[at] = wanted;
        QVERIFY(WriteGolden(out, sections));
    }
    QStringList golden;
    for (const QStringList& section : GoldenSections(path)) {
        golden = section.first() == wanted.first() ? section : golden;
    }
    if (golden != wanted) {
        QTemporaryFile expected, actual;
        QVERIFY(expected.open() && actual.open());
        QVERIFY(WriteGolden(expected.fileName(), {golden}) &&
                WriteGolden(actual.fileName(), {wanted}));
        QProcess diff;
        diff.start("diff", {"-u", "--label", path, "--label", "found", expected.fileName(),
                            actual.fileName()});
        diff.waitForFinished();
        QFAIL(qPrintable(QString::fromUtf8(diff.readAllStandardOutput())));
    }
}

} // namespace telmora::test
