#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace lumera {

class FindBar;
class SearchHighlight;

// F3 and Shift+F3, anywhere in a window: the next or previous word of the
// search that opened the page, the find bar saying which; on a page without
// them, the next or previous match of the find bar's text.
class SearchWordKeys : public QObject {
    Q_OBJECT
  public:
    SearchWordKeys(SearchHighlight* highlight, FindBar* bar, QWidget* keysOn);

  private:
    QPointer<SearchHighlight> highlight_;
};

}  // namespace lumera
