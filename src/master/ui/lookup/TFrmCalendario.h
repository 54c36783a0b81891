#pragma once
// The calendar a work window opens to pick a date: a month with weeks from Sunday, opening on
// today, its month and year as the title, buttons a month and a year back and forth (keeping the day,
// cut to the new month's length), OK and "Cancelar". OK publishes the highlighted day into
// LookupResults::date and returns Accepted; "Cancelar", Esc and the close box change nothing.

#include <QDialog>

class QCalendarWidget;
class QLabel;

namespace master {

class TFrmCalendario : public QDialog {
    Q_OBJECT
  public:
    explicit TFrmCalendario(QWidget* parent = nullptr);

    QCalendarWidget* calendar() const { return calendar_; }
    // The shown month as "enero, 2024".
    QString title() const;
    // Moves the highlighted day by whole months, as the month and year buttons do.
    void shiftMonths(int months);
    void choose();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void refreshTitle();

    QCalendarWidget* calendar_ = nullptr;
    QLabel* title_ = nullptr;
};

} // namespace master
