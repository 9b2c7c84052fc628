#pragma once

#include <QList>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <optional>

namespace qelvane {

class DbConnection;

// A forward-only, read-only walk over the rows of one statement. It is positioned on
// the first row when opened; fields are read by name in any letter case, and a Null
// field reads as a null QVariant.
class Recordset {
public:
    Recordset(DbConnection& db, const QString& statement, const QVariantList& values = {});

    // True once the walk has passed the last row (also for an empty result).
    bool Eof() const { return !m_onRow; }
    void MoveNext();

    QVariant Field(const QString& name) const;
    bool IsNull(const QString& name) const { return Field(name).isNull(); }
    // The field as text; Null reads as an empty text.
    QString Text(const QString& name) const { return Field(name).toString(); }

    // How many rows the statement yields in all, whatever has been walked so far.
    int RecordCount();

    void Close();

private:
    void step();

    DbConnection& m_db;
    QString m_statement;
    QVariantList m_values;
    QSqlQuery m_query;
    // The statement's column names, read once: a tree of thousands of rows reads
    // fields by name on every row.
    QStringList m_columns;
    bool m_onRow = false;
    std::optional<int> m_count;
};

// The rows of one table that match a condition, changed through the recordset and
// written back with Update; or, opened for adding, a new row filled field by field.
class EditableRecordset {
public:
    // The rows of `table` where `condition` (with ? placeholders) holds.
    EditableRecordset(DbConnection& db, const QString& table, const QString& condition,
                      const QVariantList& values);
    // The table opened for adding new rows only.
    EditableRecordset(DbConnection& db, const QString& table);

    bool Eof() const { return m_current >= m_rows.size() && !m_adding; }
    void MoveNext();
    QVariant Field(const QString& name) const;

    void AddNew();
    void SetField(const QString& name, const QVariant& value);
    // Writes the changed fields of the current row, or inserts the new row.
    void Update();

private:
    struct Row {
        qint64 rowid = 0;
        QSqlRecord record;
    };

    DbConnection& m_db;
    QString m_table;
    QString m_condition;
    QVariantList m_conditionValues;
    bool m_hasRowid = true;
    QList<Row> m_rows;
    qsizetype m_current = 0;
    bool m_adding = false;
    QList<QPair<QString, QVariant>> m_changes;
};

} // namespace qelvane
