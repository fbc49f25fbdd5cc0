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
    // The engine keeps the page out of the accessibility tree on Linux unless
    // told; with it, the page is there whenever a screen reader has turned
    // the desktop's accessibility on (and costs nothing while none has).
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    driveurls::registerSchemes();
    // Shares the GL contexts the web view needs, before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

}  // namespace lumera
