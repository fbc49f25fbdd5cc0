#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "search/SearchWindowView.h"

class QAbstractItemModel;
class QComboBox;
class QLineEdit;
class QLabel;
class QListView;

namespace lumera {

class SearchWindowModel;

// The search window dtsearch on the screen: a view of its model at a fixed
// place. Input goes to the event handlers through the event loop, so a
// handler never runs inside this window's own code and may unload it.
class SearchWindow : public QWidget {
    Q_OBJECT
  public:
    static const QString kCaption;
    // Where the window's outer frame opens, in twips (15 to the pixel). Its
    // outer size follows from the client area, which holds the background
    // picture exactly, and from the frame the window manager draws.
    static constexpr int kTwipsPerPixel = 15;
    static constexpr QPoint kPositionTwips{3795, 3105};

    SearchWindow(SearchWindowModel& model, SearchWindowEvents& events, QWidget* parent = nullptr);

    // Stops passing input on: the window is being unloaded.
    void detach();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* makeClientArea();
    QListView* makeList(QWidget* parent, const char* name, QAbstractItemModel& items);
    void connectModel();
    // Escape closes; Ctrl+L and F6 go to Text1.
    void addKeys();
    // Runs a handler from the event loop, unless the window is gone by then.
    template <typename Handler>
    void post(Handler handler);

    QPointer<SearchWindowModel> model_;
    SearchWindowEvents* events_;
    QLineEdit* Text1_ = nullptr;
    QListView* FoundList_ = nullptr;
    QComboBox* Combo1_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLabel* spellingsNote_ = nullptr;
    bool focusInFoundList_ = false;
    // A change of FoundList's choice waits for its handler.
    bool choicePosted_ = false;
};

// Loads search windows as widgets.
class WidgetSearchWindowFactory : public SearchWindowViewFactory {
  public:
    std::unique_ptr<SearchWindowView> Load(SearchWindowModel& model,
                                           SearchWindowEvents& events) override;
};

}  // namespace lumera
