#pragma once

namespace lumera {

// Back and forward through the pages the reader showed, one step a page.
class PageHistory {
  public:
    virtual ~PageHistory() = default;
    // direction: -1 back, +1 forward. Shows that page again; false when there
    // is none that way.
    virtual bool step(int direction) = 0;
    virtual bool canStep(int direction) const = 0;
};

}  // namespace lumera
