#pragma once

#include <QString>
#include <stdexcept>

namespace qelvane::mklib {

// A library that cannot be built as asked: bad input (with its file and position),
// a file that is in the way, or a failing write.
class BuildError : public std::runtime_error {
public:
    explicit BuildError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace qelvane::mklib
