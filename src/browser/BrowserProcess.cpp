#include "browser/BrowserProcess.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QTextStream>

#include "browser/DriveUrls.h"

namespace lumera {

void PrepareBrowserProcess(const QString& program) {
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        QTextStream(stderr) << program
                            << ": executando como root; a sandbox do navegador foi "
                               "desativada (QTWEBENGINE_DISABLE_SANDBOX=1).\n";
    }
    driveurls::registerSchemes();
    // Shares the GL contexts the web view needs, before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

}  // namespace lumera
