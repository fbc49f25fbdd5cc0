#pragma once
// What the fuzz targets share: a failed invariant stops the run with a
// message, so libFuzzer keeps the input that broke it.

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace lumera::fuzz {

[[noreturn]] inline void invariantBroken(const char* what, const QString& detail) {
    std::fprintf(stderr, "invariant broken: %s\n%s\n", what, detail.toLocal8Bit().constData());
    std::abort();
}

inline void check(bool holds, const char* what, const QString& detail = QString()) {
    if (!holds) invariantBroken(what, detail);
}

// For checks made many times an input: the detail is only built when the
// invariant breaks, so the common case costs no string work.
template <typename Describe>
requires std::is_invocable_r_v<QString, Describe>
inline void check(bool holds, const char* what, Describe&& describe) {
    if (!holds) invariantBroken(what, describe());
}

inline QByteArray bytesOf(const unsigned char* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The environment variable's value; stops when it is not set, since the
// targets find the project's files through it (fuzz/run sets it).
inline QString requiredEnvironment(const char* name) {
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty()) invariantBroken("environment", QString::fromLatin1(name) + " is not set");
    return value;
}

}  // namespace lumera::fuzz
