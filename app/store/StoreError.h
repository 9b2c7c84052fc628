#pragma once

#include <QString>
#include <stdexcept>

namespace qelvane {

// A failure of the poem library that the caller did not trap. Its description is
// user-facing (Chinese) and names what failed; the top-level handler shows it as
// the program's fatal error report.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description) {}

    const QString& description() const { return m_description; }

private:
    QString m_description;
};

} // namespace qelvane
