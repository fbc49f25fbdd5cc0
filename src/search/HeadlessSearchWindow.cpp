#include "search/SearchWindowView.h"

namespace lumera {
namespace {

class HeadlessSearchWindow : public SearchWindowView {
  public:
    explicit HeadlessSearchWindow(int& timesShown) : timesShown_(timesShown) {}
    void ShowModeless() override { ++timesShown_; }

  private:
    int& timesShown_;
};

}  // namespace

std::unique_ptr<SearchWindowView> HeadlessSearchWindowFactory::Load(SearchWindowModel&,
                                                                    SearchWindowEvents&) {
    return std::make_unique<HeadlessSearchWindow>(timesShown_);
}

}  // namespace lumera
