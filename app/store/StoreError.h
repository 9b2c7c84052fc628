#pragma once

#include <QString>
#include <stdexcept>

namespace qelvane {

// A failure of the poem library that the caller did not trap. Its description is
// user-facing (Chinese) and names what failed; the top-level handler shows it as
// the program's fatal error report.
// `detail` (the statement, say) is for the error stream, not for the user.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& description, const QString& detail = {})
        : std::runtime_error(description.toStdString()), m_description(description), m_detail(detail) {}

    const QString& description() const { return m_description; }
    const QString& detail() const { return m_detail; }

private:
    QString m_description;
    QString m_detail;
};

// Another program holds the library locked longer than the program waits: nothing
// was read or changed, and the same command may be tried again.
class LibraryBusy : public StoreError {
public:
    using StoreError::StoreError;
};

// The library was opened for reading only (a read-only file or medium): nothing was
// changed, and no change can be made.
class LibraryReadOnly : public StoreError {
public:
    using StoreError::StoreError;
};

} // namespace qelvane
