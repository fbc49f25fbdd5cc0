#pragma once

#include <QStringList>
#include <optional>

#include "host/Browser.h"
#include "host/PageCommands.h"
#include "host/PageHistory.h"

namespace lumera {

// The browser without a page, for the logic run by lumera-cli, the tests and
// the bench: every call is written down as a line ("Navigate <target>",
// "GoBack", "SaveAs", "Copy", "Print", "Find") and goes no further. The
// page's "request" element holds what its owner puts in request. With a
// history, GoBack steps back in it, as the reader's browser does.
class HeadlessBrowser : public Browser, public PageCommands {
  public:
    QStringList calls;
    std::optional<QString> request;
    PageHistory* history = nullptr;

    void Navigate(const QString& target) override;
    void GoBack() override;
    std::optional<QString> ElementValue(const QString& name) const override;
    void SaveAs() override;
    void Copy() override;
    void Print() override;
    void Find() override;
};

}  // namespace lumera
