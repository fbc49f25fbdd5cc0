#include "app/CommandLine.h"

#include <QDir>

namespace lumera {

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (arg == u"-C" || arg == u"--drive") {
            if (!hasValue) {
                line.error = QStringLiteral("A opção %1 precisa de um valor.").arg(arg);
                return line;
            }
            const QString& value = arguments[++i];
            if (arg == u"-C") {
                line.changeDirectory = value;
            } else {
                line.driveMappings.append(value);
            }
        } else if (arg.startsWith(u"--drive=")) {
            line.driveMappings.append(arg.mid(8));
        } else if (arg == u"--help" || arg == u"-h") {
            line.help = true;
        } else if (arg == u"--version") {
            line.version = true;
        } else {
            line.positional.append(arg);
        }
    }
    return line;
}

bool CommandLine::applyDirectory() {
    if (changeDirectory.isEmpty()) return true;
    // Drive folders given relative to where the program was started.
    for (QString& mapping : driveMappings) {
        const qsizetype eq = mapping.indexOf(u'=');
        if (eq > 0 && QDir::isRelativePath(mapping.mid(eq + 1))) {
            mapping = mapping.left(eq + 1) + QDir::current().absoluteFilePath(mapping.mid(eq + 1));
        }
    }
    if (QDir::setCurrent(changeDirectory)) return true;
    error = QStringLiteral("Não foi possível entrar na pasta %1.").arg(changeDirectory);
    return false;
}

}  // namespace lumera
