#include "search/SearchWindowSlot.h"

namespace lumera {

SearchWindowSlot::SearchWindowSlot(SearchDriver& driver, WindowSystem& windows,
                                   SearchWindowViewFactory& views, SearchWindowEvents& events)
    : driver_(driver), windows_(windows), views_(views), events_(events) {}

SearchWindowSlot::~SearchWindowSlot() { Unload(); }

SearchWindowModel& SearchWindowSlot::Show() {
    if (!model_) {
        model_ = std::make_unique<SearchWindowModel>(driver_, windows_);
        view_ = views_.Load(*model_, events_);
    }
    view_->ShowModeless();
    return *model_;
}

void SearchWindowSlot::Unload() {
    view_.reset();
    model_.reset();
}

}  // namespace lumera
