#include "searchengine/XapianDocumentFormat.h"

#include "searchengine/XapianTextFolding.h"

namespace lumera {
namespace {
// Titles and paths are single lines, so a line break separates them.
constexpr char kSeparator = '\n';

QString singleLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}
}  // namespace

std::string encodeDetails(const IndexedDetails& details) {
    return toUtf8(singleLine(details.title)) + kSeparator + toUtf8(singleLine(details.path));
}

IndexedDetails decodeDetails(const std::string& data) {
    const auto cut = data.find(kSeparator);
    if (cut == std::string::npos) return {fromUtf8(data), QString()};
    return {fromUtf8(data.substr(0, cut)), fromUtf8(data.substr(cut + 1))};
}

QString indexedPath(const QString& folder, const QString& key) {
    return indexformat::kPathRoot + folder + u'\\' + key;
}

}  // namespace lumera
