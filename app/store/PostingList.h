#pragma once

#include "FindGrams.h"

#include <QByteArray>
#include <QByteArrayView>

// A list of the find index as the file holds it: its entries in ascending order, each
// as the difference from the one before in 7-bit groups (the high bit set on all but
// a number's last byte).
namespace qelvane::findindex::postings {

QByteArray encode(const std::vector<Entry>& entries);
// Replaces `entries` with the list's; a list cut short loses only its last number.
void decode(QByteArrayView bytes, std::vector<Entry>& entries);

} // namespace qelvane::findindex::postings
