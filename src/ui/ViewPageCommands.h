#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "host/PageCommands.h"

class QPrinter;

namespace lumera {

class FindBar;
class WebEngineBrowser;

// The menu's commands on the browser's view: the save dialog, the copy of
// the selection, the print dialog and the find bar.
class ViewPageCommands : public QObject, public PageCommands {
    Q_OBJECT
  public:
    // Lives as long as findBar, whose parent it takes.
    ViewPageCommands(WebEngineBrowser& browser, FindBar* findBar);
    ~ViewPageCommands() override;

    void SaveAs() override;
    void Copy() override;
    void Print() override;
    void Find() override;

  private:
    WebEngineBrowser& browser_;
    FindBar* findBar_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace lumera
