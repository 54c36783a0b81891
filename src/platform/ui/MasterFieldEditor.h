#pragma once
// One edit field of a master window: makes the widget for its kind, shows a column value in it and
// reads the typed value back, with numbers and dates in the program's fixed formats.

#include "platform/db/Dataset.h"
#include "platform/ui/MasterWindowDeclaration.h"

#include <QObject>
#include <QVariant>
#include <optional>

class QWidget;

namespace ui {

class MasterFieldEditor : public QObject {
    Q_OBJECT
  public:
    MasterFieldEditor(const MasterWindowDeclaration::Field& field, const db::DatasetColumn& column,
                      QWidget* parent);

    const QString& column() const { return field_.column; }
    QWidget* widget() const { return widget_; }

    void show(const QVariant& value);
    // The value typed (invalid for an empty field); nullopt, with `error` set to the message for the
    // user, when the text cannot be a value of the column.
    std::optional<QVariant> read(QString* error) const;
    // Whether the field differs from what show() put in it.
    bool changed() const;

  signals:
    // The user typed or picked something (not emitted by show()).
    void edited();
    // A picture field was double-clicked: the window offers to load a picture file.
    void pictureRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString text() const;
    std::optional<QVariant> readNumber(const QString& text, QString* error) const;

    MasterWindowDeclaration::Field field_;
    db::DatasetColumn column_;
    QWidget* widget_ = nullptr;
    QString shown_;
};

} // namespace ui
