#pragma once

namespace lumera {

// What the main window's menu does to the page shown in its browser.
class PageCommands {
  public:
    virtual ~PageCommands() = default;

    // Save the current page under a name the user chooses.
    virtual void SaveAs() = 0;
    virtual void Copy() = 0;
    virtual void Print() = 0;
    virtual void Find() = 0;
};

}  // namespace lumera
