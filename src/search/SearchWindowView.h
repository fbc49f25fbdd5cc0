#pragma once

#include <memory>

namespace lumera {

class SearchWindowModel;

// The event handlers of the search window, which a view calls on user input.
class SearchWindowEvents {
  public:
    virtual ~SearchWindowEvents() = default;
    static constexpr int kEnterKeyCode = 13;

    virtual void Text1_KeyDown(int keyCode) = 0;
    virtual void Image1_Click() = 0;
    virtual void Label4_Click() = 0;
    // An entry of Combo1 chosen with the mouse or the keyboard.
    virtual void Combo1_Click(int row) = 0;
    // The chosen entry of FoundList is now row (click or arrow keys).
    virtual void FoundList_Click(int row) = 0;
    // A double-click on the chosen entry, or a key pressed in the list.
    virtual void FoundList_DblClick() = 0;
    virtual void FoundList_KeyDown(int keyCode) = 0;
    virtual void Label2_Click() = 0;
    virtual void Label3_Click() = 0;
    virtual void fec_Click() = 0;
};

// What shows a loaded search window: widgets on a screen, or nothing at all.
// Destroying it takes the window off the screen.
class SearchWindowView {
  public:
    virtual ~SearchWindowView() = default;
    // Shows the window modeless and brings it to the front.
    virtual void ShowModeless() = 0;
};

// Makes the view of a window being loaded. The model outlives the view;
// events outlives both.
class SearchWindowViewFactory {
  public:
    virtual ~SearchWindowViewFactory() = default;
    virtual std::unique_ptr<SearchWindowView> Load(SearchWindowModel& model,
                                                   SearchWindowEvents& events) = 0;
};

// For programs without a screen: the window exists only as its model.
class HeadlessSearchWindowFactory : public SearchWindowViewFactory {
  public:
    std::unique_ptr<SearchWindowView> Load(SearchWindowModel& model,
                                           SearchWindowEvents& events) override;
    // How often a window was shown, over every window loaded here.
    int timesShown() const { return timesShown_; }

  private:
    int timesShown_ = 0;
};

}  // namespace lumera
