#include "browser/SearchHighlight.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include "searchengine/HitWords.h"

namespace lumera {
namespace {

constexpr quint32 kWorld = QWebEngineScript::ApplicationWorld;

// Wraps every whole-word occurrence of the words in <mark>, outside scripts,
// and keeps the marks for stepping; returns how many there are.
constexpr char kMarkScript[] = R"JS(
(function (words) {
  // A phrase's words are apart by any white space, as the page's text has them.
  var escaped = words.map(function (w) {
    return w.replace(/[.*+?^${}()|[\]\\]/g, '\\$&').replace(/\s+/g, '\\s+');
  });
  var re = new RegExp('(^|[^\\p{L}\\p{N}])(' + escaped.join('|') + ')(?![\\p{L}\\p{N}])', 'giu');
  var walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT, {
    acceptNode: function (n) {
      var p = n.parentNode.nodeName;
      return p == 'SCRIPT' || p == 'STYLE' || p == 'MARK' ? NodeFilter.FILTER_REJECT
                                                          : NodeFilter.FILTER_ACCEPT;
    }});
  var nodes = [], marks = [];
  while (walker.nextNode()) nodes.push(walker.currentNode);
  nodes.forEach(function (node) {
    var text = node.nodeValue, last = 0, m, pieces = null;
    re.lastIndex = 0;
    while ((m = re.exec(text))) {
      var start = m.index + m[1].length;
      pieces = pieces || document.createDocumentFragment();
      pieces.appendChild(document.createTextNode(text.slice(last, start)));
      var mark = document.createElement('mark');
      mark.className = 'lumera-hit';
      mark.textContent = m[2];
      pieces.appendChild(mark);
      marks.push(mark);
      last = start + m[2].length;
    }
    if (pieces) {
      pieces.appendChild(document.createTextNode(text.slice(last)));
      node.parentNode.replaceChild(pieces, node);
    }
  });
  window.lumeraHits = { marks: marks, at: -1 };
  return marks.length;
})(%1)
)JS";

// Moves to the next (or previous) mark, outlined and in view; its number.
constexpr char kStepScript[] = R"JS(
(function (back) {
  var h = window.lumeraHits;
  if (!h || !h.marks.length) return 0;
  if (h.at >= 0) h.marks[h.at].style.outline = '';
  h.at = (h.at + (back ? -1 : 1) + h.marks.length) % h.marks.length;
  var mark = h.marks[h.at];
  mark.style.outline = '2px solid #e07000';
  mark.scrollIntoView({ block: 'center' });
  return h.at + 1;
})(%1)
)JS";

}  // namespace

SearchHighlight::SearchHighlight(QWebEnginePage* page) : QObject(page), page_(page) {
    connect(page_, &QWebEnginePage::loadStarted, this, [this] { count_ = 0; });
}

void SearchHighlight::mark(const QString& request) {
    const HitWords hits(request);
    if (hits.isEmpty()) return;
    page_->runJavaScript(
        QStringLiteral("document.body ? document.body.innerText : ''"), kWorld,
        [this, hits](const QVariant& text) {
            const QStringList words = hits.in(text.toString());
            if (words.isEmpty()) return;
            const QString list = QString::fromUtf8(
                QJsonDocument(QJsonArray::fromStringList(words)).toJson(QJsonDocument::Compact));
            page_->runJavaScript(QString::fromLatin1(kMarkScript).arg(list), kWorld,
                                 [this](const QVariant& count) {
                                     count_ = count.toInt();
                                     Q_EMIT marked(count_);
                                     step(false);
                                 });
        });
}

void SearchHighlight::step(bool backward) {
    if (count_ == 0) {
        Q_EMIT nothingToStep(backward);
        return;
    }
    page_->runJavaScript(QString::fromLatin1(kStepScript).arg(backward ? "true" : "false"), kWorld,
                         [this](const QVariant& at) { Q_EMIT stepped(at.toInt()); });
}

}  // namespace lumera
