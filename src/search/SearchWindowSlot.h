#pragma once

#include <memory>

#include "search/SearchWindowModel.h"
#include "search/SearchWindowView.h"

namespace lumera {

// The single search window: loaded on first use, discarded when closed.
class SearchWindowSlot {
  public:
    SearchWindowSlot(WindowSystem& windows, SearchWindowViewFactory& views,
                     SearchWindowEvents& events);
    ~SearchWindowSlot();

    // The loaded window, or null.
    SearchWindowModel* window() const { return model_.get(); }
    // Loads the window when it is not loaded, and shows it modeless.
    SearchWindowModel& Show();
    // Takes the window off the screen and discards its contents.
    void Unload();

  private:
    WindowSystem& windows_;
    SearchWindowViewFactory& views_;
    SearchWindowEvents& events_;
    std::unique_ptr<SearchWindowModel> model_;
    std::unique_ptr<SearchWindowView> view_;
};

}  // namespace lumera
