#include "reading/ReadingListsWindow.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "reading/FavouritesText.h"
#include "reading/ReadingSession.h"
#include "reading/ReadingStore.h"
#include "ui/ReaderMessageBox.h"
#include "ui/RememberedFolder.h"

namespace lumera {
namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;
const QString kFilter = QStringLiteral("Texto (*.txt);;Todos os arquivos (*)");

QTreeWidget* makeList(const QStringList& columns, const QString& name) {
    auto* list = new QTreeWidget;
    list->setObjectName(name);
    list->setAccessibleName(name);
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    return list;
}

void fill(QTreeWidget* list, const QList<ReadingEntry>& entries, bool withNote) {
    list->clear();
    for (const ReadingEntry& entry : entries) {
        const QString when = QLocale().toString(entry.when, QLocale::ShortFormat);
        auto* item = new QTreeWidgetItem(list, withNote ? QStringList{entry.title, entry.note, when}
                                                        : QStringList{entry.title, when});
        item->setData(0, kIdRole, entry.id);
        item->setData(0, kKeyRole, entry.key);
    }
    if (list->topLevelItemCount() > 0) list->setCurrentItem(list->topLevelItem(0));
}

}  // namespace

ReadingListsWindow::ReadingListsWindow(ReadingSession& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      tabs_(new QTabWidget),
      favourites_(makeList({tr("Título"), tr("Nota"), tr("Data")}, QStringLiteral("Favoritos"))),
      history_(makeList({tr("Título"), tr("Data")}, QStringLiteral("Histórico"))) {
    setWindowTitle(QStringLiteral("Lumera Edição 2002 - Favoritos e Histórico"));
    resize(560, 380);
    tabs_->addTab(favouritesTab(), tr("&Favoritos"));
    tabs_->addTab(historyTab(), tr("&Histórico"));
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(close);
}

QWidget* ReadingListsWindow::favouritesTab() {
    auto* tab = new QWidget;
    auto* buttons = new QDialogButtonBox(Qt::Horizontal);
    const auto button = [&](const QString& text, void (ReadingListsWindow::*slot)()) {
        QPushButton* b = buttons->addButton(text, QDialogButtonBox::ActionRole);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
    };
    QPushButton* open = buttons->addButton(tr("&Abrir"), QDialogButtonBox::ActionRole);
    open->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, [this] { openCurrent(Favourites); });
    button(tr("&Editar nota…"), &ReadingListsWindow::editNote);
    button(tr("&Remover"), &ReadingListsWindow::removeFavourite);
    button(tr("E&xportar…"), &ReadingListsWindow::exportFavourites);
    button(tr("&Importar…"), &ReadingListsWindow::importFavourites);
    connect(favourites_, &QTreeWidget::itemActivated, this, [this] { openCurrent(Favourites); });
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(favourites_);
    layout->addWidget(buttons);
    return tab;
}

QWidget* ReadingListsWindow::historyTab() {
    auto* tab = new QWidget;
    auto* open = new QPushButton(tr("A&brir"));
    open->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, [this] { openCurrent(History); });
    connect(history_, &QTreeWidget::itemActivated, this, [this] { openCurrent(History); });
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(history_);
    layout->addWidget(open, 0, Qt::AlignRight);
    return tab;
}

QTreeWidget* ReadingListsWindow::list(Tab tab) const {
    return tab == Favourites ? favourites_ : history_;
}

void ReadingListsWindow::showTab(Tab tab) {
    reload();
    tabs_->setCurrentIndex(tab);
    show();
    raise();
    activateWindow();
    list(tab)->setFocus();
}

void ReadingListsWindow::reload() {
    change([this](ReadingStore& store) {
        fill(favourites_, store.favourites(), true);
        fill(history_, store.visits(), false);
    });
}

void ReadingListsWindow::openCurrent(Tab tab) {
    const QTreeWidgetItem* item = list(tab)->currentItem();
    if (!item) return;
    session_.open(item->data(0, kKeyRole).toString());
    accept();
}

void ReadingListsWindow::editNote() {
    QTreeWidgetItem* item = favourites_->currentItem();
    if (!item) return;
    bool ok = false;
    const QString note =
        QInputDialog::getText(this, tr("Editar nota"), tr("Nota de \"%1\":").arg(item->text(0)),
                              QLineEdit::Normal, item->text(1), &ok);
    if (!ok) return;
    change([&](ReadingStore& store) { store.setNote(item->data(0, kIdRole).toLongLong(), note); });
    reload();
}

void ReadingListsWindow::removeFavourite() {
    const QTreeWidgetItem* item = favourites_->currentItem();
    if (!item) return;
    change(
        [&](ReadingStore& store) { store.removeFavourite(item->data(0, kIdRole).toLongLong()); });
    reload();
}

void ReadingListsWindow::exportFavourites() {
    const RememberedFolder folder(QStringLiteral("favoritos"));
    const QString name = QFileDialog::getSaveFileName(
        this, tr("Exportar favoritos"), folder.fileIn(QStringLiteral("favoritos.txt")), kFilter);
    if (name.isEmpty()) return;
    folder.remember(name);
    change([&](ReadingStore& store) {
        QSaveFile file(name);
        const QByteArray text = favouritestext::write(store.favourites()).toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
            throw DatabaseError(tr("Não foi possível gravar %1: %2").arg(name, file.errorString()));
        }
    });
}

void ReadingListsWindow::importFavourites() {
    const RememberedFolder folder(QStringLiteral("favoritos"));
    const QString name =
        QFileDialog::getOpenFileName(this, tr("Importar favoritos"), folder.folder(), kFilter);
    if (name.isEmpty()) return;
    folder.remember(name);
    change([&](ReadingStore& store) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            throw DatabaseError(tr("Não foi possível ler %1: %2").arg(name, file.errorString()));
        }
        QStringList known;
        for (const ReadingEntry& entry : store.favourites())
            known << entry.key + u'\t' + entry.note;
        for (const ReadingEntry& entry : favouritestext::read(QString::fromUtf8(file.readAll()))) {
            if (known.contains(entry.key + u'\t' + entry.note)) continue;
            store.addFavourite(entry.key, entry.title, entry.note, entry.when);
        }
    });
    reload();
}

template <typename Change>
void ReadingListsWindow::change(Change change) {
    try {
        if (!session_.store()) {
            throw DatabaseError(tr("A lista de favoritos e o histórico não puderam ser abertos."));
        }
        change(*session_.store());
    } catch (const DatabaseError& error) {
        ShowWarning(this, error.message());
    }
}

}  // namespace lumera
