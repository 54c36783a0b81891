#include "platform/ui/MasterFieldEditor.h"

#include "platform/numbers/Format.h"
#include "platform/picture/Picture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cmath>

namespace ui {

using Kind = MasterWindowDeclaration::Field::Kind;

namespace {

const QString kDateMask = QStringLiteral("dd/mm/yyyy");

bool isWholeNumberType(QMetaType::Type t) {
    return t == QMetaType::Int || t == QMetaType::LongLong || t == QMetaType::Short || t == QMetaType::UInt ||
           t == QMetaType::ULongLong;
}

} // namespace

MasterFieldEditor::MasterFieldEditor(const MasterWindowDeclaration::Field& field,
                                     const db::DatasetColumn& column, QWidget* parent)
    : QObject(parent), field_(field), column_(column) {
    const QString name = QStringLiteral("fld") + field.column;
    switch (field.kind) {
    case Kind::Text:
    case Kind::Number:
    case Kind::Date: {
        auto* e = new QLineEdit(parent);
        if (field.kind == Kind::Text) {
            const int length = field.maxLength > 0 ? field.maxLength : column.length;
            if (length > 0) e->setMaxLength(length);
        } else {
            e->setAlignment(field.kind == Kind::Number ? Qt::AlignRight : Qt::AlignLeft);
        }
        connect(e, &QLineEdit::textEdited, this, &MasterFieldEditor::edited);
        // As wide as what the column holds, so a two-letter code does not look like a long name.
        const int chars = field.kind == Kind::Text ? qBound(4, e->maxLength() + 2, 48)
                                                   : (field.kind == Kind::Date ? 12 : 18);
        e->setMaximumWidth(e->fontMetrics().averageCharWidth() * chars + 16);
        widget_ = e;
        break;
    }
    case Kind::Memo: {
        auto* e = new QPlainTextEdit(parent);
        e->setTabChangesFocus(true);
        // textChanged also fires for show(); the window ignores edits while it shows a row.
        connect(e, &QPlainTextEdit::textChanged, this, &MasterFieldEditor::edited);
        widget_ = e;
        break;
    }
    case Kind::Tick: {
        auto* b = new QCheckBox(parent);
        connect(b, &QCheckBox::clicked, this, &MasterFieldEditor::edited);
        widget_ = b;
        break;
    }
    case Kind::Choice: {
        auto* c = new QComboBox(parent);
        for (const auto& choice : field.choices)
            c->addItem(choice.caption, choice.code);
        connect(c, &QComboBox::activated, this, &MasterFieldEditor::edited);
        c->setMaximumWidth(c->fontMetrics().averageCharWidth() * 36 + 32);
        widget_ = c;
        break;
    }
    case Kind::Picture: {
        auto* l = new QLabel(parent);
        l->setFixedSize(200, 100);
        l->setFrameShape(QFrame::StyledPanel);
        l->setAlignment(Qt::AlignCenter);
        l->setToolTip(QStringLiteral("Doble clic para cargar una imagen"));
        l->installEventFilter(this);
        widget_ = l;
        break;
    }
    }
    widget_->setObjectName(name);
}

void MasterFieldEditor::show(const QVariant& value) {
    const bool null = !value.isValid() || value.isNull();
    switch (field_.kind) {
    case Kind::Text:
        static_cast<QLineEdit*>(widget_)->setText(null ? QString() : value.toString());
        break;
    case Kind::Number:
        static_cast<QLineEdit*>(widget_)->setText(null ? QString()
                                                       : numbers::formatMask(value.toDouble(), field_.mask));
        break;
    case Kind::Date:
        static_cast<QLineEdit*>(widget_)->setText(null ? QString()
                                                       : numbers::formatDate(value.toDate(), kDateMask));
        break;
    case Kind::Memo:
        static_cast<QPlainTextEdit*>(widget_)->setPlainText(null ? QString() : value.toString());
        break;
    case Kind::Tick:
        static_cast<QCheckBox*>(widget_)->setChecked(!null && value.toString() == QStringLiteral("S"));
        break;
    case Kind::Choice: {
        auto* c = static_cast<QComboBox*>(widget_);
        c->setCurrentIndex(null ? -1 : c->findData(value.toString()));
        break;
    }
    case Kind::Picture: {
        auto* l = static_cast<QLabel*>(widget_);
        const QImage image = null ? QImage() : picture::Picture::load(value.toByteArray(), l->size());
        if (image.isNull()) {
            l->setPixmap({});
            l->setText(QStringLiteral("Sin imagen"));
        } else {
            l->setPixmap(QPixmap::fromImage(image));
        }
        break;
    }
    }
    shown_ = text();
}

bool MasterFieldEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_ && event->type() == QEvent::MouseButtonDblClick) {
        emit pictureRequested();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QString MasterFieldEditor::text() const {
    switch (field_.kind) {
    case Kind::Text:
    case Kind::Number:
    case Kind::Date:
        return static_cast<QLineEdit*>(widget_)->text();
    case Kind::Memo:
        return static_cast<QPlainTextEdit*>(widget_)->toPlainText();
    case Kind::Tick:
        return static_cast<QCheckBox*>(widget_)->isChecked() ? QStringLiteral("S") : QStringLiteral("N");
    case Kind::Choice: {
        auto* c = static_cast<QComboBox*>(widget_);
        return c->currentIndex() < 0 ? QString() : c->currentData().toString();
    }
    case Kind::Picture:
        // A picture is written by the load that the double-click starts, never by post().
        return shown_;
    }
    return {};
}

bool MasterFieldEditor::changed() const {
    return text() != shown_;
}

std::optional<QVariant> MasterFieldEditor::read(QString* error) const {
    const QString t = text();
    switch (field_.kind) {
    case Kind::Text:
    case Kind::Memo:
    case Kind::Tick:
    case Kind::Choice:
    case Kind::Picture:
        return t.isEmpty() ? QVariant() : QVariant(t);
    case Kind::Number:
        return readNumber(t, error);
    case Kind::Date: {
        const QString s = t.trimmed();
        if (s.isEmpty()) return QVariant();
        for (const char* format : {"dd/MM/yyyy", "d/M/yyyy"}) {
            const QDate d = QDate::fromString(s, QString::fromLatin1(format));
            if (!d.isValid()) continue;
            if (column_.type == QMetaType::QDateTime) return QVariant(d.startOfDay());
            return QVariant(d);
        }
        *error = QStringLiteral("'%1' no es una fecha válida").arg(s);
        return std::nullopt;
    }
    }
    return QVariant();
}

std::optional<QVariant> MasterFieldEditor::readNumber(const QString& typed, QString* error) const {
    if (typed.trimmed().isEmpty()) return QVariant();
    const auto number = numbers::parseNumber(typed);
    if (!number || (isWholeNumberType(column_.type) && *number != std::trunc(*number))) {
        *error = QStringLiteral("'%1' no es un número válido").arg(typed.trimmed());
        return std::nullopt;
    }
    if (isWholeNumberType(column_.type)) return QVariant(qlonglong(*number));
    return QVariant(*number);
}

} // namespace ui
