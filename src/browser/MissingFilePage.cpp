#include "browser/MissingFilePage.h"

#include "media/DriveSetup.h"

namespace lumera {

QByteArray MissingFilePage(const MissingFile& missing) {
    const QString heading = missing.unreadable ? QStringLiteral("Arquivo ilegível")
                                               : QStringLiteral("Arquivo não encontrado");
    const QString what = missing.unreadable ? QStringLiteral("não pôde ser lido")
                                            : QStringLiteral("não foi encontrado");
    QString page = QStringLiteral(
                       "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                       "<title>Lumera - %1</title></head>"
                       "<body style=\"font-family: Verdana, Arial, sans-serif; margin: 2em\">"
                       "<h2 style=\"color: #006699\">%1</h2><p>O arquivo <b>%2</b> %3.</p>")
                       .arg(heading, missing.address.toHtmlEscaped(), what);
    if (missing.driveMissing) {
        page += u"<p>"_qs + MissingCdMessage(missing.drive).toHtmlEscaped() + u"</p>"_qs;
        page += QStringLiteral("<p><a href=\"/lex2000/%1\">Indicar onde está o CD…</a></p>")
                    .arg(kPointToTheCdPage);
    }
    // Rooted in the same drive: the home page's address on the CD.
    page +=
        QStringLiteral("<p><a href=\"/lex2000/joia.htm\">Voltar ao início</a></p></body></html>");
    return page.toUtf8();
}

}  // namespace lumera
