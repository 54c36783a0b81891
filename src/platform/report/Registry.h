#pragma once
// Every report declaration by its stable name, so the command line, the report hub and the windows
// find a report and its parameters without knowing where it was declared.

#include "platform/report/ReportDefinition.h"

#include <QStringList>
#include <map>
#include <memory>

namespace report {

class Registry {
public:
    static Registry& instance();

    // Replaces a declaration of the same name, so registering twice is harmless.
    void add(ReportDefinition definition);
    // nullptr when there is no report of that name.
    std::shared_ptr<const ReportDefinition> find(const QString& name) const;
    QStringList names() const; // sorted

private:
    std::map<QString, std::shared_ptr<const ReportDefinition>> reports_;
};

} // namespace report
