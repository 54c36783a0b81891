#include "master/ui/lookup/LookupDialog.h"

#include "platform/db/Dataset.h"
#include "platform/db/DatasetModel.h"
#include "platform/db/DbError.h"
#include "platform/numbers/Format.h"
#include "platform/ui/GridStyle.h"
#include "platform/ui/Messages.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace master {

namespace {

constexpr int kChoicesPerRow = 4;

db::DatasetDefinition definitionOf(const LookupDeclaration& d) {
    QStringList columns;
    for (const auto& c : d.grid)
        columns << c.column;
    for (const QString& c : d.resultColumns)
        if (!columns.contains(c)) columns << c;
    return db::DatasetDefinition{.table = d.table,
                                 .columns = columns,
                                 .order = d.openingOrder,
                                 .filter = d.filter,
                                 .filterParams = d.filterParams};
}

} // namespace

LookupDialog::LookupDialog(db::Session& session, LookupDeclaration declaration, QWidget* parent)
    : QDialog(parent), declaration_(std::move(declaration)) {
    setObjectName(declaration_.className);
    setWindowTitle(declaration_.title);
    data_ = new db::Dataset(session, definitionOf(declaration_), this);

    auto* layout = new QVBoxLayout(this);

    auto* searchRow = new QHBoxLayout;
    label_ = new QLabel(declaration_.searchLabel, this);
    label_->setObjectName(QStringLiteral("lblBuscar"));
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("edtBuscar"));
    label_->setBuddy(search_);
    searchRow->addWidget(label_);
    searchRow->addWidget(search_, 1);
    layout->addLayout(searchRow);

    auto* seleccion = new QGroupBox(QStringLiteral("Selección"), this);
    seleccion->setObjectName(QStringLiteral("grpSeleccion"));
    auto* choices = new QGridLayout(seleccion);
    orders_ = new QButtonGroup(this);
    for (int i = 0; i < int(declaration_.orders.size()); ++i) {
        auto* b = new QRadioButton(declaration_.orders[size_t(i)].caption, seleccion);
        b->setObjectName(QStringLiteral("rbSeleccion%1").arg(i));
        b->setChecked(i == declaration_.preselected);
        orders_->addButton(b, i);
        choices->addWidget(b, i / kChoicesPerRow, i % kChoicesPerRow);
    }
    layout->addWidget(seleccion);

    QStringList columns, captions;
    for (const auto& c : declaration_.grid) {
        columns << c.column;
        captions << c.caption;
    }
    model_ = new db::DatasetModel(*data_, columns, this);
    model_->setHeaderLabels(captions);
    QStringList masks;
    for (const auto& c : declaration_.grid)
        masks << c.mask;
    model_->setColumnMasks(masks);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("grdBuscar"));
    grid_->setModel(model_);
    ui::styleGrid(grid_);
    grid_->setMinimumHeight(grid_->verticalHeader()->defaultSectionSize() * 12);
    layout->addWidget(grid_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("btnOk"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel_->setObjectName(QStringLiteral("btnCancelar"));
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);

    connect(search_, &QLineEdit::textChanged, this, &LookupDialog::searchTyped);
    search_->installEventFilter(this);
    connect(orders_, &QButtonGroup::idClicked, this, &LookupDialog::orderChosen);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) gridMoved(current.row());
            });
    connect(grid_, &QTableView::doubleClicked, this, &LookupDialog::choose);
    connect(ok_, &QPushButton::clicked, this, &LookupDialog::choose);
    connect(cancel_, &QPushButton::clicked, this, &LookupDialog::reject);
    connect(data_, &db::Dataset::currentChanged, this, &LookupDialog::followInGrid);
    connect(model_, &db::DatasetModel::modelReset, this, &LookupDialog::followInGrid);
    connect(model_, &db::DatasetModel::modelReset, this, [this] { ui::fitGridColumns(grid_); });

    data_->open();
    followInGrid();
    ui::fitGridColumns(grid_);
    search_->setFocus();
    resize(760, 480);
}

LookupDialog::~LookupDialog() {
    // The dataset goes before the model and the grid; its last signals must find nobody here.
    disconnect(model_, nullptr, this, nullptr);
    disconnect(data_, nullptr, this, nullptr);
}

QRadioButton* LookupDialog::orderButton(int index) const {
    return qobject_cast<QRadioButton*>(orders_->button(index));
}

QVariantList LookupDialog::searchPrefix(const QStringList&) const {
    return {};
}

template <typename Move> void LookupDialog::move(Move&& m) {
    try {
        m();
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
    }
}

void LookupDialog::choose() {
    if (data_->isEmpty()) {
        publish(nullptr);
        done(Rejected);
        return;
    }
    publish(&data_->current());
    done(Accepted);
}

void LookupDialog::searchTyped(const QString& text) {
    move([&] {
        if (text.isEmpty()) {
            data_->first();
            return;
        }
        const QStringList& order = data_->orderColumns();
        QVariantList values = searchPrefix(order);
        if (values.size() >= order.size()) return;
        values << text;
        // No row at or after the text: the dataset stands on the last row, which is what the clerk
        // should see; nothing to tell.
        data_->locateNearest(values);
    });
}

void LookupDialog::orderChosen(int index) {
    if (index < 0 || index >= int(declaration_.orders.size())) return;
    move([&] { data_->setOrder(declaration_.orders[size_t(index)].columns); });
}

void LookupDialog::gridMoved(int row) {
    if (following_) return;
    move([&] { data_->locateExact(data_->keyColumns(), model_->keyAt(row)); });
}

void LookupDialog::followInGrid() {
    if (data_->isEmpty()) return;
    move([&] {
        const int row = model_->rowOfKey(data_->keyValues(data_->current()));
        if (row < 0) return;
        following_ = true;
        grid_->selectionModel()->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::ClearAndSelect |
                                                                            QItemSelectionModel::Rows);
        grid_->scrollTo(model_->index(row, 0));
        following_ = false;
    });
}

bool LookupDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == search_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up) {
            move([&] { data_->prior(); });
            return true;
        }
        if (key == Qt::Key_Down) {
            move([&] { data_->next(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace master
