#pragma once

#include <QObject>
#include <QPalette>

namespace lumera {

class DarkPageStyle;

// Light or dark reading, for the pages (DarkPageStyle) and the windows (the
// application's palette). By default it follows the desktop: Qt 6.4 has no
// colour scheme of its own, so the desktop's palette decides, dark when its
// window colour is dark, as the platform theme (GTK, KDE) sets it. A choice
// of the reader's is kept in the settings.
class ReadingTheme : public QObject {
    Q_OBJECT
  public:
    enum class Choice { Desktop, Light, Dark };

    // Applies the kept choice at once.
    explicit ReadingTheme(DarkPageStyle& pages, QObject* parent = nullptr);

    Choice choice() const { return choice_; }
    bool isDark() const;
    // Kept for the next runs.
    void setChoice(Choice choice);
    // Dark when light, light when dark: the reader's own choice from now on.
    void toggle();

    static Choice keptChoice();

  Q_SIGNALS:
    void changed(bool dark);

  private:
    void apply();

    DarkPageStyle& pages_;
    QPalette desktopPalette_;
    Choice choice_;
};

}  // namespace lumera
