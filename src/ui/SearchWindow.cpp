#include "ui/SearchWindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "search/SearchWindowModel.h"
#include "ui/ClickLabel.h"
#include "ui/SearchWindowArt.h"

namespace lumera {
namespace {

// Control places in client pixels: x, y, width, height.
constexpr QRect kLabel1Place{16, 12, 105, 21};
constexpr QRect kText1Place{126, 8, 109, 25};
constexpr QRect kImage1Place{246, 12, 24, 18};
constexpr QRect kLabel4Place{196, 40, 25, 29};
constexpr QRect kShape1Place{4, 48, 485, 191};
constexpr QRect kFoundListPlace{10, 58, 473, 167};
constexpr QRect kLabel2Place{230, 258, 255, 21};
// Under the list's frame, left of the band where the count is.
constexpr QRect kSpellingsPlace{10, 241, 190, 15};
constexpr QRect kCombo1Place{280, 268, 201, 21};
// Outside the client area: a hot spot nobody can reach, kept as it was designed.
constexpr QRect kLabel3Place{664, 92, 61, 21};

const QString kPrompt = QStringLiteral("\u00A0Procurar verbete:");
const QString kCloseCaption = QStringLiteral("&Fechar");

// MS Sans Serif, or a sans-serif about as narrow, so that the captions fit
// the places they were designed for.
QFont windowFont(bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

void setTextColour(QWidget* widget, QRgb colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(colour));
    widget->setPalette(palette);
}

// The client area: the background picture.
class Backdrop : public QWidget {
  public:
    explicit Backdrop(QWidget* parent) : QWidget(parent), picture_(searchart::DrawBackground()) {
        setObjectName(QStringLiteral("Picture"));
        setFixedSize(picture_.size());
    }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture_); }

  private:
    QImage picture_;
};

// A rectangle outline, one pixel wide, that lets clicks through.
class RectangleShape : public QWidget {
  public:
    RectangleShape(QWidget* parent, QRgb colour) : QWidget(parent), colour_(colour) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QColor(colour_));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

  private:
    QRgb colour_;
};

template <typename T>
T* place(T* control, const char* name, const QRect& where) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(where);
    return control;
}

}  // namespace

const QString SearchWindow::kCaption =
    QStringLiteral("Lumera - Edição 2002 - Resultado da Procura");

SearchWindow::SearchWindow(SearchWindowModel& model, SearchWindowEvents& events, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(&model), events_(&events) {
    setObjectName(QStringLiteral("dtsearch"));
    setWindowTitle(kCaption);
    // Coming back from here to the main window counts as its activation.
    setProperty("lumeraReturnsActivation", true);
    setFont(windowFont(false));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* menuBar = new QMenuBar(this);
    menuBar->setNativeMenuBar(false);
    QAction* fec = menuBar->addAction(kCloseCaption);
    fec->setObjectName(QStringLiteral("fec"));
    connect(fec, &QAction::triggered, this, [this] { post(&SearchWindowEvents::fec_Click); });
    layout->setMenuBar(menuBar);
    layout->addWidget(makeClientArea());
    addKeys();

    move(kPositionTwips / kTwipsPerPixel);
    connectModel();
    FoundList_->setFocus();
}

QWidget* SearchWindow::makeClientArea() {
    auto* client = new Backdrop(this);

    auto* label1 = place(new QLabel(kPrompt, client), "Label1", kLabel1Place);
    label1->setFont(windowFont(true));
    setTextColour(label1, searchart::kAmber);

    Text1_ = place(new QLineEdit(client), "Text1", kText1Place);
    Text1_->installEventFilter(this);
    Text1_->setAccessibleName(tr("Procurar verbete"));
    Text1_->setAccessibleDescription(tr("Escreva uma ou mais palavras e tecle Enter"));
    label1->setBuddy(Text1_);

    auto* image1 = place(new ClickLabel(client), "Image1", kImage1Place);
    image1->setPixmap(QPixmap::fromImage(searchart::DrawOkButton()));
    image1->setAccessibleName(tr("Procurar"));
    image1->setFocusPolicy(Qt::StrongFocus);
    connect(image1, &ClickLabel::clicked, this,
            [this] { post(&SearchWindowEvents::Image1_Click); });

    // A hot spot over the background's own search picture: Image1 does the same.
    auto* label4 = place(new ClickLabel(client), "Label4", kLabel4Place);
    label4->setAccessibleName(tr("Procurar"));
    connect(label4, &ClickLabel::clicked, this,
            [this] { post(&SearchWindowEvents::Label4_Click); });

    place(new RectangleShape(client, searchart::kAmber), "Shape1", kShape1Place);

    FoundList_ = makeList(client, "FoundList", model_->FoundList());
    FoundList_->setGeometry(kFoundListPlace);
    FoundList_->installEventFilter(this);
    QPalette listColours = FoundList_->palette();
    listColours.setColor(QPalette::Base, Qt::black);
    listColours.setColor(QPalette::Text, Qt::white);
    FoundList_->setPalette(listColours);
    FoundList_->setFrameShape(QFrame::NoFrame);
    FoundList_->setAccessibleName(tr("Lista de verbetes encontrados"));
    FoundList_->setAccessibleDescription(tr("Enter abre o verbete escolhido"));

    auto* label2 = place(new ClickLabel(client), "Label2", kLabel2Place);
    label2->setFont(windowFont(true));
    // At the top of its box, as the window system's labels draw: Combo1 lies
    // over the lower part of the box.
    label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label2->setFixedHeight(std::min(kLabel2Place.height(), label2->fontMetrics().height()));
    setTextColour(label2, searchart::kAmber);
    // The count is this button's name, so that its change is announced.
    label2->setFocusPolicy(Qt::StrongFocus);
    label2->setAccessibleDescription(tr("Enter volta à página inicial"));
    connect(label2, &ClickLabel::clicked, this,
            [this] { post(&SearchWindowEvents::Label2_Click); });
    Label2_ = label2;

    spellingsNote_ = place(new QLabel(client), "OtherSpellings", kSpellingsPlace);
    spellingsNote_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextColour(spellingsNote_, searchart::kAmber);

    Combo1_ = place(new QComboBox(client), "Combo1", kCombo1Place);
    Combo1_->setModel(&model_->Combo1());
    Combo1_->setAccessibleName(tr("Mostrar os verbetes da pasta"));
    Combo1_->view()->setAccessibleName(tr("Pastas"));
    connect(Combo1_, &QComboBox::activated, this,
            [this](int row) { post([row](SearchWindowEvents& e) { e.Combo1_Click(row); }); });

    // In front of Combo1 where the text is, whatever the font's height: the
    // label has no background, so the combo shows around the text.
    Label2_->raise();

    // Hidden bookkeeping of the search, named all the same.
    QListView* list1 = makeList(client, "List1", model_->List1());
    list1->setAccessibleName(tr("Chaves dos verbetes"));
    list1->hide();
    QListView* list2 = makeList(client, "List2", model_->List2());
    list2->setAccessibleName(tr("Títulos em ordem"));
    list2->hide();

    auto* label3 = place(new ClickLabel(client), "Label3", kLabel3Place);
    connect(label3, &ClickLabel::clicked, this,
            [this] { post(&SearchWindowEvents::Label3_Click); });
    label3->setAccessibleName(tr("Voltar à página inicial"));

    setTabOrder(FoundList_, Text1_);
    setTabOrder(Text1_, image1);
    setTabOrder(image1, Combo1_);
    setTabOrder(Combo1_, Label2_);
    return client;
}

QListView* SearchWindow::makeList(QWidget* parent, const char* name, QAbstractItemModel& items) {
    auto* list = new QListView(parent);
    list->setObjectName(QString::fromLatin1(name));
    // Keeps a list of a hundred thousand titles quick to lay out.
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setModel(&items);
    return list;
}

void SearchWindow::connectModel() {
    SearchWindowModel& model = *model_;
    Text1_->setText(model.Text1());
    // Any change, typed or set by assistive technology, is the user's text.
    connect(Text1_, &QLineEdit::textChanged, &model, &SearchWindowModel::setText1);
    connect(&model, &SearchWindowModel::Text1Changed, Text1_, [this](const QString& text) {
        if (Text1_->text() != text) Text1_->setText(text);
    });
    const auto showLabel2 = [this, &model](const QString& caption) {
        Label2_->setText(caption);
        // A new name is announced to assistive technology, with the other
        // spellings searched, which the model sets first.
        const QString note = model.otherSpellingsNote();
        Label2_->setAccessibleName(caption.isEmpty() ? tr("Voltar à página inicial")
                                   : note.isEmpty()
                                       ? caption.trimmed()
                                       : caption.trimmed() + QStringLiteral("; ") + note);
    };
    // A long list is cut at the band's edge; its tip shows it whole.
    const auto showNote = [this](const QString& note) {
        spellingsNote_->setText(note);
        spellingsNote_->setToolTip(note);
    };
    showNote(model.otherSpellingsNote());
    connect(&model, &SearchWindowModel::otherSpellingsNoteChanged, spellingsNote_, showNote);
    showLabel2(model.Label2());
    connect(&model, &SearchWindowModel::Label2Changed, Label2_, showLabel2);
    FoundList_->setVisible(model.FoundListVisible());
    // A lookup hides the list while it fills it; the focus comes back with it.
    connect(&model, &SearchWindowModel::FoundListVisibleChanged, FoundList_, [this](bool visible) {
        if (!visible) focusInFoundList_ = focusWidget() == FoundList_;
        FoundList_->setVisible(visible);
        if (visible && focusInFoundList_) FoundList_->setFocus();
    });

    // The choice is read when its handler runs, not when the selection moved:
    // a burst of keys or clicks makes one change, the newest, and the list is
    // never sent back to a choice it has already left.
    connect(FoundList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (choicePosted_) return;
        choicePosted_ = true;
        post([this](SearchWindowEvents& e) {
            choicePosted_ = false;
            const QModelIndexList chosen = FoundList_->selectionModel()->selectedRows();
            if (!chosen.isEmpty()) e.FoundList_Click(chosen.first().row());
        });
    });
    connect(FoundList_, &QAbstractItemView::doubleClicked, this,
            [this] { post(&SearchWindowEvents::FoundList_DblClick); });
    connect(&model, &SearchWindowModel::FoundListIndexChanged, FoundList_, [this](int row) {
        const QModelIndex index = FoundList_->model()->index(row, 0);
        if (FoundList_->currentIndex() == index) return;
        if (index.isValid()) {
            FoundList_->setCurrentIndex(index);
        } else {
            FoundList_->clearSelection();
        }
    });

    // The combo picks its first entry on its own; the model's choice stands.
    const auto showCombo1Choice = [this] {
        if (model_) Combo1_->setCurrentIndex(model_->Combo1Index());
    };
    showCombo1Choice();
    connect(&model.Combo1(), &QAbstractItemModel::modelReset, Combo1_, showCombo1Choice);
    connect(&model.Combo1(), &QAbstractItemModel::rowsInserted, Combo1_, showCombo1Choice);
    connect(&model, &SearchWindowModel::Combo1IndexChanged, Combo1_, &QComboBox::setCurrentIndex);
}

void SearchWindow::addKeys() {
    const auto key = [this](const QList<QKeySequence>& keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    key({QKeySequence(Qt::Key_Escape)}, [this] { post(&SearchWindowEvents::fec_Click); });
    // As in the main window and in browsers: to the field that searches.
    key({QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::Key_F6)}, [this] {
        Text1_->setFocus(Qt::ShortcutFocusReason);
        Text1_->selectAll();
    });
}

template <typename Handler>
void SearchWindow::post(Handler handler) {
    QMetaObject::invokeMethod(
        this,
        [this, handler] {
            if (!events_) return;
            if constexpr (std::is_member_function_pointer_v<Handler>) {
                (events_->*handler)();
            } else {
                handler(*events_);
            }
        },
        Qt::QueuedConnection);
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Text1_ || watched == FoundList_) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == Text1_) {
                post([](SearchWindowEvents& e) {
                    e.Text1_KeyDown(SearchWindowEvents::kEnterKeyCode);
                });
            } else {
                // The row with the focus is the one the reader sees chosen: in
                // a list of one, no arrow key can select it.
                const QModelIndex current = FoundList_->currentIndex();
                if (current.isValid() && !FoundList_->selectionModel()->isSelected(current)) {
                    FoundList_->selectionModel()->select(current,
                                                         QItemSelectionModel::ClearAndSelect);
                }
                post([](SearchWindowEvents& e) {
                    e.FoundList_KeyDown(SearchWindowEvents::kEnterKeyCode);
                });
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    if (!events_) {
        event->accept();
        return;
    }
    // Closing is the handlers' business: it may have to wait for a lookup.
    event->ignore();
    post(&SearchWindowEvents::fec_Click);
}

void SearchWindow::detach() { events_ = nullptr; }

namespace {

class WidgetSearchWindowView : public SearchWindowView {
  public:
    WidgetSearchWindowView(SearchWindowModel& model, SearchWindowEvents& events)
        : window_(new SearchWindow(model, events)) {}
    ~WidgetSearchWindowView() override {
        if (!window_) return;
        SearchWindow* window = window_;
        window->detach();
        const bool hadFocus = window->isActiveWindow();
        window->hide();
        // The keyboard goes on in the window it came from.
        if (hadFocus && returnTo_) returnTo_->activateWindow();
        if (!hadFocus) {
            window->deleteLater();
            return;
        }
        // The main window decides whether the focus coming back counts as its
        // activation by asking the window the focus comes from: that window
        // has to exist until the focus has moved on.
        QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, window,
                         [window](QWindow* focus) {
                             if (focus && focus != window->windowHandle()) window->deleteLater();
                         });
    }
    void ShowModeless() override {
        if (QApplication::activeWindow() != window_) returnTo_ = QApplication::activeWindow();
        window_->show();
        window_->raise();
        window_->activateWindow();
    }

  private:
    QPointer<SearchWindow> window_;
    QPointer<QWidget> returnTo_;
};

}  // namespace

std::unique_ptr<SearchWindowView> WidgetSearchWindowFactory::Load(SearchWindowModel& model,
                                                                  SearchWindowEvents& events) {
    return std::make_unique<WidgetSearchWindowView>(model, events);
}

}  // namespace lumera
