#include "platform/ui/MasterWindow.h"

#include "platform/db/Dataset.h"
#include "platform/db/DatasetModel.h"
#include "platform/db/DbError.h"
#include "platform/ui/EnterMovesFocus.h"
#include "platform/ui/MasterFieldEditor.h"
#include "platform/ui/Messages.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace ui {

namespace {

struct NavigatorButton {
    const char* name;
    const char* text;
    const char* hint;
};

// Same order as MasterWindow::Button.
const NavigatorButton kNavigator[] = {
    {"navFirst", "|<", "Primero"},         {"navPrior", "<", "Anterior"},   {"navNext", ">", "Siguiente"},
    {"navLast", ">|", "Último"},           {"navInsert", "+", "Insertar"},  {"navDelete", "-", "Borrar"},
    {"navEdit", "^", "Modificar"},         {"navPost", "\u2713", "Grabar"}, {"navCancel", "x", "Cancelar"},
    {"navRefresh", "\u21bb", "Refrescar"},
};

db::DatasetDefinition definitionOf(const MasterWindowDeclaration& d) {
    db::DatasetDefinition def{.table = d.table, .key = d.key};
    // A nearest search walks the table in the order of the column it searches.
    if (d.search == MasterWindowDeclaration::Search::Nearest && !d.searchColumn.isEmpty())
        def.order = QStringList{d.searchColumn};
    return def;
}

} // namespace

MasterWindow::MasterWindow(db::Session& session, MasterWindowDeclaration declaration, QWidget* parent)
    : QDialog(parent), declaration_(std::move(declaration)) {
    setObjectName(QStringLiteral("MasterWindow") + declaration_.table);
    setWindowTitle(declaration_.caption);
    data_ = new db::Dataset(session, definitionOf(declaration_), this);
    if (declaration_.searchColumn.isEmpty()) declaration_.searchColumn = data_->keyColumns().value(0);
    if (declaration_.focusColumn.isEmpty() && !declaration_.fields.empty())
        declaration_.focusColumn = declaration_.fields.front().column;

    auto* layout = new QVBoxLayout(this);
    if (!declaration_.heading.isEmpty()) {
        auto* heading = new QLabel(declaration_.heading, this);
        heading->setObjectName(QStringLiteral("lblHeading"));
        QFont f = heading->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.5);
        heading->setFont(f);
        heading->setAlignment(Qt::AlignCenter);
        layout->addWidget(heading);
    }
    auto* form = new QFormLayout;
    buildFields(form);
    layout->addLayout(form);

    auto* navigator = new QHBoxLayout;
    buildNavigator(navigator);
    layout->addLayout(navigator);

    auto* registro = new QGroupBox(QStringLiteral("Registro"), this);
    registro->setObjectName(QStringLiteral("grpRegistro"));
    search_ = new QLineEdit(registro);
    search_->setObjectName(QStringLiteral("edtRegistro"));
    search_->setToolTip(declaration_.searchHint);
    search_->setPlaceholderText(declaration_.searchHint);
    auto* registroLayout = new QHBoxLayout(registro);
    registroLayout->addWidget(search_);
    layout->addWidget(registro);
    connect(search_, &QLineEdit::textChanged, this, &MasterWindow::searchTyped);

    QStringList columns, captions;
    for (const auto& g : declaration_.grid) {
        columns << g.column;
        captions << g.caption;
    }
    model_ = new db::DatasetModel(*data_, columns, this);
    model_->setHeaderLabels(captions);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("grdDatos"));
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->hide();
    layout->addWidget(grid_, 1);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (showing_ || !current.isValid() || data_->state() != db::Dataset::State::Browse) return;
                try {
                    data_->locateExact(data_->keyColumns(), model_->keyAt(current.row()));
                } catch (const db::DbError& e) {
                    Messages::current().error(this, e.engineText());
                }
            });

    connect(data_, &db::Dataset::currentChanged, this, &MasterWindow::showRow);
    connect(data_, &db::Dataset::stateChanged, this, &MasterWindow::updateButtons);
    connect(model_, &db::DatasetModel::modelReset, this, &MasterWindow::followInGrid);

    EnterMovesFocus::install(this);
    data_->open();
    data_->first();
    showRow();
}

MasterWindow::~MasterWindow() {
    // The children go in creation order: the dataset first, and the model follows its end.
    disconnect(model_, nullptr, this, nullptr);
    disconnect(data_, nullptr, this, nullptr);
}

void MasterWindow::buildFields(QFormLayout* form) {
    for (const auto& field : declaration_.fields) {
        auto* editor = new MasterFieldEditor(field, data_->column(field.column), this);
        auto* label = new QLabel(field.label, this);
        label->setObjectName(QStringLiteral("lbl") + field.column);
        label->setBuddy(editor->widget());
        form->addRow(label, editor->widget());
        connect(editor, &MasterFieldEditor::edited, this, &MasterWindow::userEdited);
        editors_.push_back(editor);
    }
}

void MasterWindow::buildNavigator(QHBoxLayout* row) {
    for (size_t i = 0; i < std::size(kNavigator); ++i) {
        const auto& n = kNavigator[i];
        auto* b = new QPushButton(QString::fromUtf8(n.text), this);
        b->setObjectName(QString::fromLatin1(n.name));
        b->setToolTip(QString::fromUtf8(n.hint));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        row->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { run(Button(i)); });
        buttons_.push_back(b);
    }
    row->addStretch();
}

QWidget* MasterWindow::fieldWidget(const QString& column) const {
    for (auto* e : editors_)
        if (e->column().compare(column, Qt::CaseInsensitive) == 0) return e->widget();
    return nullptr;
}

void MasterWindow::run(Button b) {
    try {
        switch (b) {
        case Button::First:
            data_->first();
            break;
        case Button::Prior:
            data_->prior();
            break;
        case Button::Next:
            data_->next();
            break;
        case Button::Last:
            data_->last();
            break;
        case Button::Insert:
            startInsert();
            break;
        case Button::Delete:
            remove();
            break;
        case Button::Edit:
            startEdit();
            break;
        case Button::Post:
            post();
            break;
        case Button::Cancel:
            cancel();
            break;
        case Button::Refresh:
            data_->refresh();
            model_->reload();
            break;
        }
    } catch (const db::DbError& e) {
        Messages::current().error(this, e.engineText());
    }
    updateButtons();
    focusAfterNavigator();
}

void MasterWindow::focusAfterNavigator() {
    if (QWidget* w = fieldWidget(declaration_.focusColumn)) w->setFocus(Qt::OtherFocusReason);
}

void MasterWindow::startEdit() {
    if (data_->state() == db::Dataset::State::Browse) data_->edit();
}

void MasterWindow::startInsert() {
    if (data_->state() == db::Dataset::State::Browse) data_->insert();
}

bool MasterWindow::post() {
    if (data_->state() == db::Dataset::State::Browse) return true;
    // Only what the user changed goes into the row, so an untouched field of a new row stays NULL.
    for (auto* editor : editors_) {
        if (!editor->changed()) continue;
        QString problem;
        const auto value = editor->read(&problem);
        if (!value) {
            Messages::current().error(this, problem);
            editor->widget()->setFocus(Qt::OtherFocusReason);
            return false;
        }
        data_->setValue(editor->column(), *value);
    }
    try {
        data_->post();
    } catch (const db::DbError& e) {
        // The row stays in edit or insert with what was typed, for the user to correct.
        Messages::current().error(this, e.engineText());
        return false;
    }
    return true;
}

void MasterWindow::cancel() {
    data_->cancel();
}

bool MasterWindow::remove() {
    if (data_->state() == db::Dataset::State::Insert) {
        data_->cancel();
        return true;
    }
    if (data_->isEmpty()) return false;
    if (!Messages::current().confirm(this, kDeleteQuestion)) return false;
    try {
        data_->remove();
    } catch (const db::DbError& e) {
        Messages::current().error(this, e.engineText());
        return false;
    }
    return true;
}

void MasterWindow::showRow() {
    showing_ = true;
    for (auto* editor : editors_)
        editor->show(data_->value(editor->column()));
    showing_ = false;
    followInGrid();
    updateButtons();
}

void MasterWindow::followInGrid() {
    if (data_->state() == db::Dataset::State::Insert || data_->isEmpty()) return;
    const int row = model_->rowOfKey(data_->keyValues(data_->current()));
    if (row < 0) return;
    showing_ = true;
    grid_->selectionModel()->setCurrentIndex(model_->index(row, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid_->scrollTo(model_->index(row, 0));
    showing_ = false;
}

void MasterWindow::userEdited() {
    if (showing_ || data_->state() != db::Dataset::State::Browse) return;
    // Typing into a field of a browsed row starts editing it (an empty table: a new row). Nothing is
    // written into the dataset until the row is posted.
    showing_ = true;
    try {
        data_->edit();
    } catch (const db::DbError& e) {
        Messages::current().error(this, e.engineText());
    }
    showing_ = false;
}

void MasterWindow::searchTyped(const QString& text) {
    if (text.isEmpty() || data_->state() != db::Dataset::State::Browse) return;
    try {
        if (declaration_.search == MasterWindowDeclaration::Search::Nearest)
            data_->locateNearest({text});
        else
            data_->locateExact(QStringList{declaration_.searchColumn}, {text});
    } catch (const db::DbError& e) {
        Messages::current().error(this, e.engineText());
    }
    updateButtons();
}

void MasterWindow::updateButtons() {
    using S = db::Dataset::State;
    const bool browsing = data_->state() == S::Browse;
    const bool hasRow = !data_->isEmpty();
    const bool writable = !data_->isReadOnly();
    const auto enable = [this](Button b, bool on) { button(b)->setEnabled(on); };
    enable(Button::First, browsing && hasRow && !data_->isBof());
    enable(Button::Prior, browsing && hasRow && !data_->isBof());
    enable(Button::Next, browsing && hasRow && !data_->isEof());
    enable(Button::Last, browsing && hasRow && !data_->isEof());
    enable(Button::Insert, browsing && writable);
    enable(Button::Delete, browsing && writable && hasRow);
    enable(Button::Edit, browsing && writable && hasRow);
    enable(Button::Post, !browsing);
    enable(Button::Cancel, !browsing);
    enable(Button::Refresh, browsing);
    search_->setEnabled(browsing);
    grid_->setEnabled(browsing);
}

} // namespace ui
