#pragma once

#include <QString>
#include <QStringList>

namespace lumera {

// The entry among entries that a path component names, as the CD's file
// system found it: exact, then ignoring letter case, then as a Windows 8.3
// short name (progra~1, MODELO~1.HTM). Empty when none does.
QString MatchEntryName(const QStringList& entries, const QString& component);

}  // namespace lumera
