#include "platform/ui/MasterWindow.h"

#include "platform/db/Dataset.h"
#include "platform/db/DatasetModel.h"
#include "platform/db/DbError.h"
#include "platform/db/Session.h"
#include "platform/report/DataPass.h"
#include "platform/report/Registry.h"
#include "platform/report/ReportError.h"
#include "platform/report/ui/Preview.h"
#include "platform/ui/EnterMovesFocus.h"
#include "platform/ui/GridStyle.h"
#include "platform/ui/MasterFieldEditor.h"
#include "platform/ui/Messages.h"
#include "platform/ui/PictureFile.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <stdexcept>

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
    : QDialog(parent), session_(session), declaration_(std::move(declaration)) {
    setObjectName(QStringLiteral("MasterWindow") + declaration_.table);
    setWindowTitle(declaration_.caption);
    data_ = new db::Dataset(session, definitionOf(declaration_), this);
    if (declaration_.searchColumn.isEmpty()) declaration_.searchColumn = data_->keyColumns().value(0);
    if (declaration_.focusColumn.isEmpty() && !declaration_.fields.empty())
        declaration_.focusColumn = declaration_.fields.front().column;

    auto* layout = layout_ = new QVBoxLayout(this);
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
    buildFields();

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

    QStringList columns, captions, masks;
    for (const auto& g : declaration_.grid) {
        columns << g.column;
        captions << g.caption;
        masks << g.mask;
    }
    model_ = new db::DatasetModel(*data_, columns, this);
    model_->setHeaderLabels(captions);
    model_->setColumnMasks(masks);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("grdDatos"));
    grid_->setModel(model_);
    styleGrid(grid_);
    grid_->setMinimumHeight(grid_->verticalHeader()->defaultSectionSize() * 8);
    layout->addWidget(grid_, 1);
    buildPrintGroup();
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
    connect(model_, &db::DatasetModel::modelReset, this, [this] { fitGridColumns(grid_); });

    EnterMovesFocus::install(this);
    if (!declaration_.filter.isEmpty())
        data_->setFilter(declaration_.filter, db::Params::fromList(declaration_.filterValues));
    data_->open();
    data_->first();
    showRow();
    fitGridColumns(grid_);
}

MasterWindow::~MasterWindow() {
    // The children go in creation order: the dataset first, and the model follows its end.
    disconnect(model_, nullptr, this, nullptr);
    disconnect(data_, nullptr, this, nullptr);
}

void MasterWindow::buildFields() {
    // Fields that name a page go on tabs, in the order the pages first appear.
    QFormLayout* plain = nullptr;
    std::vector<std::pair<QString, QFormLayout*>> pageForms;
    const auto formFor = [&](const QString& page) -> QFormLayout* {
        if (page.isEmpty()) {
            if (!plain) {
                plain = new QFormLayout;
                layout_->addLayout(plain);
                forms_.push_back(plain);
            }
            return plain;
        }
        for (const auto& [name, form] : pageForms)
            if (name == page) return form;
        if (!pages_) {
            pages_ = new QTabWidget(this);
            pages_->setObjectName(QStringLiteral("pgcPaginas"));
            layout_->addWidget(pages_);
        }
        auto* tab = new QWidget(pages_);
        auto* form = new QFormLayout(tab);
        forms_.push_back(form);
        pages_->addTab(tab, page);
        pageForms.emplace_back(page, form);
        return form;
    };
    for (auto& field : declaration_.fields) {
        if (!field.choicesSql.isEmpty()) {
            for (const db::Row& r : session_.all(field.choicesSql))
                field.choices.push_back({r.at(1).toString(), r.at(0).toString()});
        }
        QFormLayout* form = formFor(field.page);
        auto* editor = new MasterFieldEditor(field, data_->column(field.column), form->parentWidget()
                                                                                     ? form->parentWidget()
                                                                                     : this);
        auto* label = new QLabel(field.label, editor->widget()->parentWidget());
        label->setObjectName(QStringLiteral("lbl") + field.column);
        label->setBuddy(editor->widget());
        form->addRow(label, editor->widget());
        connect(editor, &MasterFieldEditor::edited, this, &MasterWindow::userEdited);
        connect(editor, &MasterFieldEditor::pictureRequested, this, [this, column = field.column] {
            const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Cargar imagen"), QString(),
                                                              pictureFileFilter());
            if (!file.isEmpty()) loadPicture(column, file);
        });
        editors_.push_back(editor);
    }
}

void MasterWindow::buildPrintGroup() {
    if (declaration_.report.isEmpty() && !declaration_.textLoad) return;
    auto* row = new QHBoxLayout;
    if (!declaration_.report.isEmpty()) {
        auto* group = new QGroupBox(QStringLiteral("Imprimir"), this);
        group->setObjectName(QStringLiteral("grpImprimir"));
        auto* g = new QHBoxLayout(group);
        auto* print = new QPushButton(QStringLiteral("&Imprimir"), group);
        print->setObjectName(QStringLiteral("btnImprimir"));
        print->setAutoDefault(false);
        connect(print, &QPushButton::clicked, this, [this] { printList(); });
        from_ = new QLineEdit(declaration_.rangeFrom, group);
        from_->setObjectName(QStringLiteral("edtDesde"));
        from_->setToolTip(QStringLiteral("Registro Inicial del Informe"));
        to_ = new QLineEdit(declaration_.rangeTo, group);
        to_->setObjectName(QStringLiteral("edtHasta"));
        to_->setToolTip(QStringLiteral("Registro Final del Informe"));
        g->addWidget(print);
        g->addWidget(from_);
        g->addWidget(to_);
        auto* orderBox = new QGroupBox(QStringLiteral("Orden"), group);
        orderBox->setObjectName(QStringLiteral("grpOrden"));
        auto* o = new QHBoxLayout(orderBox);
        orders_ = new QButtonGroup(this);
        // The orders the list offers, unless the window names its own.
        if (declaration_.orders.empty())
            if (const auto definition = report::Registry::instance().find(declaration_.report))
                for (const auto& o : definition->orderings)
                    declaration_.orders.push_back({o.caption, o.code});
        for (size_t i = 0; i < declaration_.orders.size(); ++i) {
            const auto& choice = declaration_.orders[i];
            auto* b = new QRadioButton(choice.caption, orderBox);
            b->setObjectName(QStringLiteral("rbOrden") + QString::number(i));
            b->setProperty("code", choice.code);
            b->setChecked(i == 0);
            orders_->addButton(b, int(i));
            o->addWidget(b);
        }
        g->addWidget(orderBox);
        row->addWidget(group, 1);
    }
    if (declaration_.textLoad) {
        // Loads rows from a fixed-width text file; the icon alone marks it, as beside the navigator.
        auto* load = new QPushButton(this);
        load->setObjectName(QStringLiteral("btnCargaTexto"));
        load->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
        load->setToolTip(QStringLiteral("Cargar desde un archivo de texto"));
        load->setAutoDefault(false);
        connect(load, &QPushButton::clicked, this, [this] {
            const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Archivo a cargar"));
            if (!file.isEmpty()) loadTextFile(file);
        });
        row->addWidget(load);
    }
    layout_->addLayout(row);
}

QString MasterWindow::chosenOrder() const {
    if (!orders_ || !orders_->checkedButton()) return {};
    return orders_->checkedButton()->property("code").toString();
}

void MasterWindow::chooseOrder(const QString& code) {
    if (!orders_) return;
    for (auto* b : orders_->buttons())
        if (b->property("code").toString() == code) b->setChecked(true);
}

bool MasterWindow::printList() {
    const auto definition = report::Registry::instance().find(declaration_.report);
    if (!definition) {
        Messages::current().error(this, QStringLiteral("El informe %1 no está disponible").arg(declaration_.report));
        return false;
    }
    report::DataPass::Options options;
    options.parameters.insert(QStringLiteral("DESDE"), from_->text().trimmed());
    options.parameters.insert(QStringLiteral("HASTA"), to_->text().trimmed());
    if (!chosenOrder().isEmpty()) options.parameters.insert(QStringLiteral("ORDEN"), chosenOrder());
    std::shared_ptr<const report::ReportData> data;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        data = report::DataPass::run(definition, session_, options);
        QApplication::restoreOverrideCursor();
    } catch (const report::ReportError& e) {
        QApplication::restoreOverrideCursor();
        Messages::current().error(this, QString::fromUtf8(e.what()));
        return false;
    } catch (const db::DbError& e) {
        QApplication::restoreOverrideCursor();
        Messages::current().error(this, e.engineText());
        return false;
    }
    report::Preview::exec(*data, this);
    return true;
}

bool MasterWindow::loadPicture(const QString& column, const QString& fileName) {
    if (data_->isEmpty() && data_->state() != db::Dataset::State::Insert) {
        Messages::current().warning(this, QStringLiteral("Grabe primero el registro"));
        return false;
    }
    const auto bytes = readPictureFile(this, fileName);
    if (!bytes) return false;
    try {
        if (data_->state() == db::Dataset::State::Browse) data_->edit();
        data_->setValue(column, *bytes);
        if (!post()) return false;
    } catch (const db::DbError& e) {
        Messages::current().error(this, e.engineText());
        return false;
    }
    showRow();
    return true;
}

void MasterWindow::loadTextFile(const QString& fileName) {
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const QString said = declaration_.textLoad(session_, fileName);
        QApplication::restoreOverrideCursor();
        data_->refresh();
        model_->reload();
        showRow();
        Messages::current().information(this, said);
    } catch (const db::DbError& e) {
        QApplication::restoreOverrideCursor();
        Messages::current().error(this, e.engineText());
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        Messages::current().error(this, QString::fromUtf8(e.what()));
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
            insertRow();
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
    focusField(declaration_.focusColumn);
}

void MasterWindow::focusField(const QString& column) {
    QWidget* w = fieldWidget(column);
    if (!w) return;
    if (pages_)
        for (int i = 0; i < pages_->count(); ++i)
            if (pages_->widget(i)->isAncestorOf(w)) pages_->setCurrentIndex(i);
    w->setFocus(Qt::OtherFocusReason);
}

void MasterWindow::addBeside(const QString& column, QWidget* extra) {
    QWidget* field = fieldWidget(column);
    if (!field) return;
    for (QFormLayout* form : forms_) {
        int row = -1;
        QFormLayout::ItemRole role;
        form->getWidgetPosition(field, &row, &role);
        if (row < 0) continue;
        auto* line = new QHBoxLayout;
        form->removeWidget(field);
        line->addWidget(field);
        line->addWidget(extra, 1);
        form->setLayout(row, QFormLayout::FieldRole, line);
        return;
    }
}

bool MasterWindow::fieldChanged(const QString& column) const {
    for (auto* e : editors_)
        if (e->column().compare(column, Qt::CaseInsensitive) == 0) return e->changed();
    return false;
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
        beforePost();
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
    try {
        if (declaration_.deleteCheck) {
            const QString refused = declaration_.deleteCheck(session_, data_->current());
            if (!refused.isEmpty()) {
                Messages::current().warning(this, refused);
                return false;
            }
        }
    } catch (const db::DbError& e) {
        Messages::current().error(this, e.engineText());
        return false;
    }
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
    // A numeric key is searched only with a number: other text matches no row, as a missing key.
    const auto type = data_->column(declaration_.searchColumn).type;
    if (type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Short) {
        bool whole = false;
        text.trimmed().toLongLong(&whole);
        if (!whole) return;
    }
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
