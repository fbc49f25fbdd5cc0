#pragma once

#include <QString>
#include <QStringView>

namespace lumera {

// The readable text of an HTML document: tags, comments, scripts, styles and
// the title element dropped, character references (&eacute; &#231; &#xE7;)
// decoded, runs of blanks made one. Tags that only change the look of a word
// (<b>, <i>, <font>...) join what is on both sides; any other tag separates.
class HtmlText {
  public:
    static QString plainText(QStringView html);
    // A title line as a reader sees it: markup gone, the text of a title
    // element kept, references decoded.
    static QString titleText(QStringView titleLine);
};

}  // namespace lumera
