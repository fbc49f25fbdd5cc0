#include "search/SearchWindowSlot.h"

namespace lumera {

SearchWindowSlot::SearchWindowSlot(WindowSystem& windows, SearchWindowViewFactory& views,
                                   SearchWindowEvents& events)
    : windows_(windows), views_(views), events_(events) {}

SearchWindowSlot::~SearchWindowSlot() { Unload(); }

SearchWindowModel& SearchWindowSlot::Show() {
    if (!model_) {
        model_ = std::make_unique<SearchWindowModel>(windows_);
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
