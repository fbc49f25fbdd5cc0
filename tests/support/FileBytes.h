#pragma once
// Whole-file reads and writes for tests that compare bytes, and the test data.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace lumera::testing {

// The file's bytes; empty when it cannot be read.
inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file or folder of tests/data.
inline QString testData(const QString& relative) {
    return qEnvironmentVariable("LUMERA_TEST_DATA") + u'/' + relative;
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace lumera::testing
