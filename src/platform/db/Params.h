#pragma once
// Values bound to a statement's parameters, either by position ("?") or by name (":EMPRESA").
// An invalid QVariant binds NULL.

#include <QString>
#include <QVariant>
#include <initializer_list>
#include <utility>
#include <vector>

namespace db {

class Params {
public:
    Params() = default;
    Params(std::initializer_list<QVariant> positional) : positional_(positional) {}
    Params(std::initializer_list<std::pair<const char*, QVariant>> named) {
        for (const auto& [name, value] : named) named_.emplace_back(QString::fromLatin1(name), value);
    }
    static Params fromList(const QVariantList& values) {
        Params p;
        p.positional_.assign(values.begin(), values.end());
        return p;
    }

    Params& add(const QVariant& value) {
        positional_.push_back(value);
        return *this;
    }
    Params& set(const QString& name, const QVariant& value) {
        named_.emplace_back(name, value);
        return *this;
    }

    const std::vector<QVariant>& positional() const { return positional_; }
    const std::vector<std::pair<QString, QVariant>>& named() const { return named_; }
    bool empty() const { return positional_.empty() && named_.empty(); }

private:
    std::vector<QVariant> positional_;
    std::vector<std::pair<QString, QVariant>> named_;
};

} // namespace db
