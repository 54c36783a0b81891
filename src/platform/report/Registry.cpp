#include "platform/report/Registry.h"

namespace report {

Registry& Registry::instance() {
    static Registry registry;
    return registry;
}

void Registry::add(ReportDefinition definition) {
    const QString name = definition.name;
    reports_[name] = std::make_shared<const ReportDefinition>(std::move(definition));
}

std::shared_ptr<const ReportDefinition> Registry::find(const QString& name) const {
    const auto it = reports_.find(name);
    return it == reports_.end() ? nullptr : it->second;
}

QStringList Registry::names() const {
    QStringList out;
    for (const auto& [name, definition] : reports_)
        out << name;
    return out;
}

} // namespace report
