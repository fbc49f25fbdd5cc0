#include "articles/MediaBlocks.h"

#include <QLatin1StringView>
#include <array>
#include <optional>

namespace lumera {
namespace {

using namespace Qt::StringLiterals;

// Ends with the inner table open, right after its grey header row.
const QString kSeeAlsoHead =
    u"<table width='100%' border='0' cellspacing='4' cellpadding='0'>"
    "<tr bgcolor='#006699'>"
    "<td>"
    "<div align='center'><font color='#FFFFFF'><b><font face='Arial,Helvetica, sans-serif' "
    "size='2'>Veja tamb&eacute;m:</font></b></font></div>"
    "</td>"
    "</tr>"
    "<tr bgcolor='#FFFFFF'>"
    "<td>"
    "<table width='100%' border='0' cellspacing='0' cellpadding='2'>"
    "<tr bgcolor='#CCCCCC'>"
    "<td width='8%' height='20'>&nbsp;</td>"
    "<td width='78%' height='20'>"
    "<div align='left'><font face='Arial, Helvetica, sans-serif' size='2' "
    "color='#FFFFFF'><b>T&iacute;tulo</b></font></div>"
    "</td>"
    "<td height='20' width='14%'>"
    "<div align='center'><font face='Arial, Helvetica, sans-serif' size='2' "
    "color='#FFFFFF'><b>Tipo</b></font></div>"
    "</td>"
    "</tr>"_s;

const QString kMediaRow =
    u"<tr>"
    "<td width='8%'>"
    "<div align='center'><img src='Icone' width='32' height='32'></div>"
    "</td>"
    "<td width='78%'><font face='Arial, Helvetica, sans-serif' color='#000000'><a "
    "href='Link1W'><font face='Verdana, Arial, Helvetica, sans-serif' "
    "size='2'>Link1T</font></a></font></td>"
    "<td width='14%'>"
    "<div align='center'><font face='Verdana, Arial, Helvetica, sans-serif' "
    "size='2'>Tipo1</font></div>"
    "</td>"
    "</tr>"_s;

const QString kSeeAlsoFoot =
    u"<tr bgcolor='#006699'>"
    "<td colspan='3'>"
    "<div align='center'><img src='/lex2000/gui/1px.gif' width='102' height='2'></div>"
    "</td>"
    "</tr>"
    "</table>"
    "</td>"
    "</tr>"
    "</table>"_s;

const QString kFramedUpright =
    u"<table border='0' cellspacing='0' cellpadding='1' bgcolor='#FFCC00'><tr><td><a "
    "href='FLinkV'><img src='xyz' width='76' height='101' "
    "border='0'></a></td></tr></table>TextoFT<br><br>"_s;
const QString kFramedLandscape =
    u"<table border='0' cellspacing='0' cellpadding='1' bgcolor='#FFCC00'><tr><td><a "
    "href='FLinkV'><img src='xyz' width='76' height='54' "
    "border='0'></a></td></tr></table>TextoFT<br><br>"_s;
const QString kPlainUpright =
    u"<table border='0' cellspacing='0' cellpadding='1'><tr><td><a href='FLinkV'><img "
    "src='xyz' width='76' height='101' border='0'></a></td></tr></table>TextoFT<br><br>"_s;
const QString kPlainLandscape =
    u"<table border='0' cellspacing='0' cellpadding='1'><tr><td><a href='FLinkV'><img "
    "src='xyz' width='76' height='54' border='0'></a></td></tr></table>TextoFT<br><br>"_s;

const QString kNoMedia = u"&nbsp;"_s;

struct MediaKind {
    QLatin1StringView tipo;
    QLatin1StringView iconPath;
    QString label;
};

const std::array<MediaKind, 7> kMediaKinds = {{
    {"afoto"_L1, "/lex2000/image/ico/foto.gif"_L1, u"Imagem"_s},
    {"amod"_L1, "/lex2000/image/ico/audvis.gif"_L1, u"Painel"_s},
    {"aband"_L1, "/lex2000/image/ico/bandeira.gif"_L1, u"Imagem"_s},
    {"agrafico"_L1, "/lex2000/image/ico/grafico.gif"_L1, u"Imagem"_s},
    {"amap"_L1, "/lex2000/image/ico/mapa.gif"_L1, u"Imagem"_s},
    {"afilme"_L1, "/lex2000/image/ico/video.gif"_L1, u"Vídeo"_s},
    {"asom"_L1, "/lex2000/image/ico/audio.gif"_L1, u"Áudio"_s},
}};

const MediaKind* mediaKind(const QString& tipo) {
    for (const MediaKind& kind : kMediaKinds) {
        if (tipo == kind.tipo) return &kind;
    }
    return nullptr;
}

// The search term of the website link never gets a value: the link keeps its
// two quotation marks and no more.
constexpr QLatin1StringView kWebsiteLink = "/procura.asp?\"\""_L1;
constexpr QLatin1StringView kWebsiteIcon = "/lex2000/image/ico/website.gif"_L1;
constexpr QLatin1StringView kThumbnailFolder = "/lex2000/image/tumb/"_L1;

// Upper case letter by letter, as the content's link targets were made:
// a letter with no single upper-case form (ß) stays, so the length never
// changes and the name still matches its file without regard to case.
QString upperLetterByLetter(const QString& text) {
    QList<uint> letters = text.toUcs4();
    for (uint& letter : letters) letter = QChar::toUpper(char32_t(letter));
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(letters.constData()),
                             letters.size());
}

}  // namespace

MediaBlockWriter::MediaBlockWriter(const QString& cdRomPath) : cdRomPath_(cdRomPath) {}

void MediaBlockWriter::writeSeeAlsoTable(Recordset& media, const QString& articleTitle,
                                         QStringList& page) const {
    page.append(kSeeAlsoHead);
    if (!media.atEnd()) {
        media.moveFirst();
        for (; !media.atEnd(); media.moveNext()) {
            const QString link = mediaRowLink(media);
            const MediaKind* kind = mediaKind(media.field(u"Tipo"_s));
            page.append(kind
                            ? mediaRow(media.field(u"Caption"_s), kind->iconPath, kind->label, link)
                            : QString());
        }
        page.append(websiteRow(articleTitle));
        // Put back for a thumbnail block that may follow.
        media.moveFirst();
    } else {
        page.append(websiteRow(articleTitle));
    }
    page.append(kSeeAlsoFoot);
}

void MediaBlockWriter::writeThumbnails(Recordset& media, QStringList& page) const {
    if (media.atEnd()) {
        page.append(kNoMedia);
        return;
    }
    for (; !media.atEnd(); media.moveNext()) page.append(thumbnail(media));
}

QString MediaBlockWriter::mediaRowLink(const Recordset& media) const {
    return cdRomPath_ + upperLetterByLetter(media.field(u"param"_s)).replace(".JPG"_L1, ".htm"_L1);
}

QString MediaBlockWriter::mediaRow(const QString& caption, const QString& iconPath,
                                   const QString& label, const QString& link) const {
    return QString(kMediaRow)
        .replace("Link1T"_L1, caption)
        .replace("Icone"_L1, cdRomPath_ + iconPath)
        .replace("Tipo1"_L1, label)
        .replace("Link1W"_L1, link);
}

QString MediaBlockWriter::websiteRow(const QString& articleTitle) const {
    return mediaRow(articleTitle, kWebsiteIcon, u"Website"_s, kWebsiteLink);
}

QString MediaBlockWriter::thumbnail(const Recordset& media) const {
    const QString file = media.field(u"File"_s);
    // A gif thumbnail carries its own border, so it gets no frame colour.
    const bool plain = file.contains("gif"_L1);
    const QString format = media.field(u"Format"_s);
    std::optional<QString> fragment;
    if (format == "V"_L1) fragment = plain ? kPlainUpright : kFramedUpright;
    if (format == "H"_L1) fragment = plain ? kPlainLandscape : kFramedLandscape;
    if (!fragment) return QString();
    return fragment->replace("TextoFT"_L1, media.field(u"Caption"_s))
        .replace("xyz"_L1, cdRomPath_ + kThumbnailFolder + file)
        .replace("FLinkV"_L1, mediaRowLink(media));
}

}  // namespace lumera
