#include "master/ui/lookup/TFrmCalendario.h"

#include "master/ui/lookup/LookupResults.h"
#include "platform/numbers/Format.h"

#include <QCalendarWidget>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace master {

namespace {

QPushButton* arrow(const QString& text, const QString& hint, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFrmCalendario::TFrmCalendario(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmCalendario"));
    setWindowTitle(QStringLiteral("Calendario"));

    auto* layout = new QVBoxLayout(this);

    auto* head = new QHBoxLayout;
    auto* priorMonth = arrow(QStringLiteral("<"), QStringLiteral("Mes Anterior"), "btnMesAnterior", this);
    auto* nextMonth = arrow(QStringLiteral(">"), QStringLiteral("Mes Siguiente"), "btnMesSiguiente", this);
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("lblTitulo"));
    title_->setAlignment(Qt::AlignCenter);
    QFont f = title_->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    title_->setFont(f);
    head->addWidget(priorMonth);
    head->addWidget(title_, 1);
    head->addWidget(nextMonth);
    layout->addLayout(head);

    calendar_ = new QCalendarWidget(this);
    calendar_->setObjectName(QStringLiteral("calCalendario"));
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // The title and the buttons above stand for the calendar's own navigation bar.
    calendar_->setNavigationBarVisible(false);
    calendar_->setSelectedDate(QDate::currentDate());
    layout->addWidget(calendar_, 1);

    auto* foot = new QHBoxLayout;
    auto* years = new QLabel(QStringLiteral("Cambio Años"), this);
    years->setObjectName(QStringLiteral("lblCambioAnos"));
    auto* priorYear = arrow(QStringLiteral("<<"), QStringLiteral("Año Anterior"), "btnAnoAnterior", this);
    auto* nextYear = arrow(QStringLiteral(">>"), QStringLiteral("Año Siguiente"), "btnAnoSiguiente", this);
    auto* yearBox = new QVBoxLayout;
    auto* yearButtons = new QHBoxLayout;
    yearButtons->addWidget(priorYear);
    yearButtons->addWidget(nextYear);
    yearBox->addWidget(years, 0, Qt::AlignHCenter);
    yearBox->addLayout(yearButtons);
    foot->addLayout(yearBox);
    foot->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("btnCancelar"));
    foot->addWidget(ok, 0, Qt::AlignBottom);
    foot->addWidget(cancel, 0, Qt::AlignBottom);
    layout->addLayout(foot);

    connect(priorMonth, &QPushButton::clicked, this, [this] { shiftMonths(-1); });
    connect(nextMonth, &QPushButton::clicked, this, [this] { shiftMonths(1); });
    connect(priorYear, &QPushButton::clicked, this, [this] { shiftMonths(-12); });
    connect(nextYear, &QPushButton::clicked, this, [this] { shiftMonths(12); });
    connect(calendar_, &QCalendarWidget::selectionChanged, this, &TFrmCalendario::refreshTitle);
    connect(calendar_, &QCalendarWidget::currentPageChanged, this, &TFrmCalendario::refreshTitle);
    connect(calendar_, &QCalendarWidget::activated, this, &TFrmCalendario::choose);
    connect(ok, &QPushButton::clicked, this, &TFrmCalendario::choose);
    connect(cancel, &QPushButton::clicked, this, &TFrmCalendario::reject);
    refreshTitle();
}

QString TFrmCalendario::title() const {
    return title_->text();
}

void TFrmCalendario::shiftMonths(int months) {
    // QDate cuts the day to the new month's length: 29 February a year on is 28 February.
    const QDate d = calendar_->selectedDate().addMonths(months);
    calendar_->setSelectedDate(d);
    calendar_->setCurrentPage(d.year(), d.month());
    refreshTitle();
}

void TFrmCalendario::choose() {
    lookupResults().date = calendar_->selectedDate();
    accept();
}

void TFrmCalendario::showEvent(QShowEvent* event) {
    refreshTitle();
    calendar_->setFocus();
    QDialog::showEvent(event);
}

void TFrmCalendario::refreshTitle() {
    title_->setText(numbers::formatDate(QDate(calendar_->yearShown(), calendar_->monthShown(), 1),
                                        QStringLiteral("mmmm, yyyy")));
}

} // namespace master
