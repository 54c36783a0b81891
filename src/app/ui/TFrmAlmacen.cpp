#include "app/ui/TFrmAlmacen.h"

#include "app/AccessRules.h"
#include "app/TDMGeneral.h"
#include "app/ui/ProgramDispatcher.h"
#include "app/ui/TFrmAboutBox.h"
#include "app/ui/TFrmLogin.h"
#include "platform/db/DbError.h"
#include "platform/picture/Picture.h"
#include "platform/ui/EnterMovesFocus.h"
#include "platform/ui/Messages.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

namespace {

QIcon nodeIcon(const QStyle* style, int index) {
    switch (index) {
    case 0: return style->standardIcon(QStyle::SP_DirClosedIcon);
    case 1: return style->standardIcon(QStyle::SP_DirOpenIcon);
    case 2: return style->standardIcon(QStyle::SP_FileIcon);
    case 3: return style->standardIcon(QStyle::SP_ArrowRight);
    default: return style->standardIcon(QStyle::SP_FileIcon);
    }
}

QLabel* spacedTitle(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet(QStringLiteral("color: #1f3d7a;"));
    return l;
}

} // namespace

TFrmAlmacen::TFrmAlmacen(TDMGeneral& dm, const ProgramDispatcher& dispatcher, QWidget* parent)
    : QMainWindow(parent), dm_(dm), dispatcher_(dispatcher) {
    setObjectName(QStringLiteral("TFrmAlmacen"));
    resize(1000, 680);

    enter_ = menuBar()->addAction(QStringLiteral("&Entrar"), this, &TFrmAlmacen::enter);
    security_ = menuBar()->addAction(QStringLiteral("&Seguridades"));
    security_->setEnabled(false);
    menuBar()->addAction(QStringLiteral("&Acerca de "), this, [this] {
        TFrmAboutBox about(this);
        about.exec();
    });
    menuBar()->addAction(QStringLiteral("&Salir"), this, &QWidget::close);
    menuOptions_ = menuBar()->addAction(QStringLiteral("&Opción de Menus"));
    menuOptions_->setVisible(false);
    enter_->setObjectName(QStringLiteral("actEntrar"));
    security_->setObjectName(QStringLiteral("actSeguridades"));
    menuOptions_->setObjectName(QStringLiteral("actOpcionMenus"));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("fondo"));
    central->setStyleSheet(QStringLiteral(
        "#fondo { background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #e8eef7, stop:1 #c5d3ea); }"));
    setCentralWidget(central);

    panel_ = new QWidget(central);
    panel_->setObjectName(QStringLiteral("pnlMenu"));
    tree_ = new QTreeWidget(panel_);
    tree_->setObjectName(QStringLiteral("tvMenu"));
    tree_->setHeaderHidden(true);
    tree_->setToolTip(QStringLiteral("Doble Click Para Ejecutar"));
    tree_->setMinimumWidth(380);
    tree_->installEventFilter(this);
    fullTree_ = new QTreeWidget(this);
    fullTree_->hide();

    note_ = new QPlainTextEdit(panel_);
    note_->setObjectName(QStringLiteral("memObservacion"));
    note_->setReadOnly(true);
    logo_ = new QLabel(panel_);
    logo_->setAlignment(Qt::AlignCenter);
    logo_->setMinimumHeight(140);
    logo_->setWordWrap(true);
    logo_->setStyleSheet(QStringLiteral("color: #51648a; font-size: 16pt; font-style: italic;"));

    auto* right = new QVBoxLayout;
    right->addWidget(spacedTitle(QStringLiteral("P R O G R A M A"), panel_));
    right->addWidget(spacedTitle(QStringLiteral("A L M A C E N"), panel_));
    right->addWidget(logo_, 1);
    right->addWidget(note_, 1);
    auto* panelLayout = new QHBoxLayout(panel_);
    panelLayout->addWidget(tree_, 1);
    panelLayout->addLayout(right, 1);
    // What the background shows until the first login opens the module menu.
    welcome_ = new QLabel(QStringLiteral("<div style='font-size:28pt; color:#1f3d7a;'>A L M A C E N</div>"
                                         "<div style='font-size:12pt; color:#51648a;'>Elija <u>E</u>ntrar "
                                         "para iniciar la sesión</div>"),
                          central);
    welcome_->setAlignment(Qt::AlignCenter);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->addWidget(welcome_);
    centralLayout->addWidget(panel_);
    panel_->hide();

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblEstado"));
    statusBar()->addWidget(status_, 1);

    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { runNode(item); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { runNode(item); });
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { showNote(item); });
    connect(tree_, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        // A branch does not fold while a module itself is selected.
        QTreeWidgetItem* current = tree_->currentItem();
        if (current && !current->parent()) tree_->expandItem(item);
    });

    login_ = new TFrmLogin(dm_.DbAlmacen(), this);
    login_->hide();
    ui::EnterMovesFocus::install(this);
    activate();
}

void TFrmAlmacen::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) activate();
    QMainWindow::changeEvent(event);
}

void TFrmAlmacen::activate() {
    // Numbers are written and read with "," for thousands and "." for decimals on every
    // workstation, whatever its regional settings.
    QLocale fixed(QLocale::English, QLocale::UnitedStates);
    fixed.setNumberOptions(QLocale::DefaultNumberOptions);
    QLocale::setDefault(fixed);
    try {
        status_->setText(dm_.statusText());
        const CompanyProfile profile = dm_.companyProfile();
        const QImage logo = picture::Picture::load(profile.logo, QSize(320, 140));
        if (!logo.isNull())
            logo_->setPixmap(QPixmap::fromImage(logo));
        else
            logo_->setText(profile.nombre); // until the company profile has a logo
    } catch (const db::DbError& e) {
        status_->setText(e.engineText());
    }
    setWindowTitle(QStringLiteral("[ Almacen ] <> [") + status_->text() + QStringLiteral("]"));
}

void TFrmAlmacen::enter() {
    security_->setEnabled(false);
    tree_->setEnabled(false);
    menuOptions_->setVisible(false);
    login_->exec();
    if (!login_->loginAccepted() || !login_->user()) return;
    dm_.setCurrentUser(*login_->user());

    const QString name = login_->user()->nombre;
    security_->setEnabled(AccessRules::mayOpenSecurity(name));
    menuOptions_->setVisible(AccessRules::mayEditMenu(name));
    buildMenu();
    tree_->setEnabled(true);
    welcome_->hide();
    panel_->show();
    tree_->setFocus();
}

void TFrmAlmacen::buildMenu() {
    programs_ = dm_.programs();
    std::vector<MenuNode> nodes = MenuTree::build(programs_);
    fillTree(fullTree_, nodes, nullptr);
    if (const auto permissions = dm_.permissions()) MenuTree::filter(nodes, *permissions);
    fillTree(tree_, nodes, nullptr);
    if (tree_->topLevelItemCount() > 0) tree_->setCurrentItem(tree_->topLevelItem(0));
}

void TFrmAlmacen::fillTree(QTreeWidget* tree, const std::vector<MenuNode>& nodes, QTreeWidgetItem* parent) {
    if (!parent) tree->clear();
    for (const MenuNode& n : nodes) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, n.text);
        item->setIcon(0, nodeIcon(style(), n.image));
        item->setData(0, Qt::UserRole, n.stateIndex);
        fillTree(tree, n.children, item);
    }
}

void TFrmAlmacen::showNote(QTreeWidgetItem* item) {
    if (!item) return;
    if (const auto row = MenuTree::programFor(programs_, item->text(0))) note_->setPlainText(row->note);
}

void TFrmAlmacen::runNode(QTreeWidgetItem* item) {
    if (!item) return;
    const auto row = MenuTree::programFor(programs_, item->text(0));
    if (!row) return;
    showNote(item);
    try {
        dispatcher_.run(row->program, this);
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
    }
}

bool TFrmAlmacen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tree_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runNode(tree_->currentItem());
            return true;
        }
        if (key == Qt::Key_Escape) {
            panel_->hide();
            welcome_->show();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFrmAlmacen::closeEvent(QCloseEvent* event) {
    if (ui::Messages::current().confirm(this, QStringLiteral("Esta seguro(a) que desea Salir?")))
        event->accept();
    else
        event->ignore();
}

} // namespace app
