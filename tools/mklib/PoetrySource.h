#pragma once

#include <QString>
#include <QStringList>

namespace qelvane::mklib {

class BuildReport;
class Converter;
class LibraryWriter;

// The second data set (Werneror/Poetry): CSV files of "题目","朝代","作者","内容", one an
// epoch label, large ones split (宋_1.csv, 宋_2.csv …). Its epochs are shelved under the
// library's, a passage between two (宋末元初) under one of them, modern poetry left out.

// The epoch labels of a folder's files in the order they are read: the library's epochs
// in the order of history, then the passages, then modern and unknown labels.
QStringList poetryLabels(const QString& folder);

// Reads every file of the folder into the library after what it holds already, so a
// poet it holds keeps his place. The text is Simplified; left-over Traditional
// characters are converted with `convert`.
void importPoetry(LibraryWriter& writer, const Converter& convert, const QString& folder, BuildReport& report);

} // namespace qelvane::mklib
