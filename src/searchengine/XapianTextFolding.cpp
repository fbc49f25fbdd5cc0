#include "searchengine/XapianTextFolding.h"

namespace lumera {
namespace {

bool isApostrophe(QChar c) {
    switch (c.unicode()) {
        case u'\'':
        case u'`':
        case 0x00B4:  // acute accent typed on its own
        case 0x2018:
        case 0x2019:
        case 0x02BC:
            return true;
        default:
            return false;
    }
}

}  // namespace

QString foldForSearch(QStringView text) {
    // NFKD splits letters from their accents and spells compatibility
    // characters out; dropping the non-spacing marks then leaves the base letters.
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) bare.append(c);
    }
    return bare.toCaseFolded();
}

QString searchableText(QStringView text) {
    QString folded = foldForSearch(text);
    for (QChar& c : folded) {
        if (isApostrophe(c) || c.category() == QChar::Other_Control) c = u' ';
    }
    return folded;
}

bool isWordCharacter(QChar c) { return c.isLetterOrNumber() || c.isMark(); }

std::string toUtf8(QStringView text) { return text.toUtf8().toStdString(); }

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace lumera
