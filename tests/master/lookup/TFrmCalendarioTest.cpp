#include "master/ui/lookup/TFrmCalendario.h"
#include "master/ui/lookup/LookupResults.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using master::lookupResults;
using master::TFrmCalendario;

void click(QWidget& d, const char* name) {
    auto* b = d.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(nullptr, b) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

QString title(QWidget& d) {
    return d.findChild<QLabel*>(QStringLiteral("lblTitulo"))->text();
}

QCalendarWidget* calendar(QWidget& d) {
    return d.findChild<QCalendarWidget*>(QStringLiteral("calCalendario"));
}

TEST(TFrmCalendarioTest, OpensOnTodayWithWeeksFromSunday) {
    const QDate before = QDate::currentDate();
    TFrmCalendario d;
    const QDate after = QDate::currentDate();
    EXPECT_EQ(QStringLiteral("Calendario"), d.windowTitle());
    const QDate shown = calendar(d)->selectedDate();
    EXPECT_TRUE(shown == before || shown == after) << shown.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(Qt::Sunday, calendar(d)->firstDayOfWeek());
    EXPECT_EQ(QStringLiteral("Mes Anterior"), d.findChild<QPushButton*>("btnMesAnterior")->toolTip());
    EXPECT_EQ(QStringLiteral("Mes Siguiente"), d.findChild<QPushButton*>("btnMesSiguiente")->toolTip());
    EXPECT_EQ(QStringLiteral("Cambio Años"), d.findChild<QLabel*>("lblCambioAnos")->text());
}

TEST(TFrmCalendarioTest, TitleFollowsTheButtonsAndTheDayIsCutToTheMonth) {
    TFrmCalendario d;
    d.show();
    calendar(d)->setSelectedDate(QDate(2024, 1, 31));
    EXPECT_EQ(QStringLiteral("enero, 2024"), title(d));
    struct Step {
        const char* button;
        QDate date;
        QString title;
    };
    const std::vector<Step> steps{
        {"btnMesSiguiente", QDate(2024, 2, 29), "febrero, 2024"},
        {"btnAnoSiguiente", QDate(2025, 2, 28), "febrero, 2025"},
        {"btnMesAnterior", QDate(2025, 1, 28), "enero, 2025"},
        {"btnAnoAnterior", QDate(2024, 1, 28), "enero, 2024"},
        {"btnMesAnterior", QDate(2023, 12, 28), "diciembre, 2023"},
        {"btnMesSiguiente", QDate(2024, 1, 28), "enero, 2024"},
    };
    for (const Step& s : steps) {
        click(d, s.button);
        EXPECT_EQ(s.date, calendar(d)->selectedDate()) << s.button;
        EXPECT_EQ(s.title, title(d)) << s.button;
    }
    // A day of another month, picked in the calendar, shows that month.
    calendar(d)->setSelectedDate(QDate(2024, 3, 2));
    EXPECT_EQ(QStringLiteral("marzo, 2024"), title(d));
}

TEST(TFrmCalendarioTest, OkTakesTheHighlightedDayAndCancelKeepsThePrevious) {
    const QDate previous(2023, 5, 1);
    struct Way {
        const char* name;
        std::function<void(TFrmCalendario&)> close;
        int result;
        QDate date;
    };
    const std::vector<Way> ways{
        {"Cancelar", [](TFrmCalendario& d) { click(d, "btnCancelar"); }, QDialog::Rejected, previous},
        {"Esc", [](TFrmCalendario& d) { QTest::keyClick(calendar(d), Qt::Key_Escape); }, QDialog::Rejected,
         previous},
        {"close box", [](TFrmCalendario& d) { d.close(); }, QDialog::Rejected, previous},
        {"OK", [](TFrmCalendario& d) { click(d, "btnOk"); }, QDialog::Accepted, QDate(2024, 2, 29)},
    };
    for (const Way& w : ways) {
        lookupResults().date = previous;
        TFrmCalendario d;
        QTimer::singleShot(0, &d, [&] {
            calendar(d)->setSelectedDate(QDate(2024, 2, 29));
            w.close(d);
            if (d.isVisible()) {
                ADD_FAILURE() << w.name << ": the calendar did not close";
                d.reject();
            }
        });
        EXPECT_EQ(w.result, d.exec()) << w.name;
        EXPECT_EQ(w.date, lookupResults().date) << w.name;
    }
}

} // namespace
