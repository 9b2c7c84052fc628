#include "Recordset.h"

#include "DbConnection.h"
#include "Statements.h"
#include "StoreError.h"

#include <QSqlError>

#include <QSqlField>

namespace qelvane {

namespace {

[[noreturn]] void noSuchField(const QString& name, const QString& where)
{
    throw StoreError(QStringLiteral("找不到字段 %1：%2").arg(name, where));
}

QVariant nullAsEmpty(const QVariant& value)
{
    return value.isNull() ? QVariant() : value;
}

QVariant fieldOf(const QSqlRecord& record, const QString& name, const QString& where)
{
    const int index = record.indexOf(name);
    if (index < 0)
        noSuchField(name, where);
    return nullAsEmpty(record.value(index));
}

} // namespace

Recordset::Recordset(DbConnection& db, const QString& statement, const QVariantList& values)
    : m_db(db), m_statement(statement), m_values(values), m_query(db.run(statement, values))
{
    const QSqlRecord record = m_query.record();
    for (int i = 0; i < record.count(); ++i)
        m_columns << record.fieldName(i);
    step();
}

// A row that cannot be read (a damaged page of the file) is a failure, not the end of
// the rows: the reader is told, not shown a list cut short.
void Recordset::step()
{
    m_onRow = m_query.next();
    if (!m_onRow && m_query.lastError().isValid())
        m_db.failedRead(m_query.lastError(), m_statement);
}

void Recordset::MoveNext()
{
    if (m_onRow)
        step();
}

QVariant Recordset::Field(const QString& name) const
{
    if (!m_onRow)
        throw StoreError(QStringLiteral("没有当前记录：%1").arg(m_statement));
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return nullAsEmpty(m_query.value(int(i)));
    noSuchField(name, m_statement);
}

int Recordset::RecordCount()
{
    if (!m_count) {
        QSqlQuery count = m_db.run(QStringLiteral("select count(*) from (%1)").arg(m_statement), m_values);
        m_count = count.next() ? count.value(0).toInt() : 0;
    }
    return *m_count;
}

void Recordset::Close()
{
    m_query.finish();
    m_onRow = false;
}

// A table made WITHOUT ROWID (a library from another program may have one) has no
// rowid to find a row again by: its rows are written back by their condition.
static bool hasRowid(DbConnection& db, const QString& table)
{
    QSqlQuery definition = db.run(QString::fromLatin1(sql::TableDefinition), {table});
    return !definition.next() ||
           !definition.value(0).toString().contains(QLatin1String("without rowid"), Qt::CaseInsensitive);
}

EditableRecordset::EditableRecordset(DbConnection& db, const QString& table, const QString& condition,
                                     const QVariantList& values)
    : m_db(db), m_table(table), m_condition(condition), m_conditionValues(values), m_hasRowid(hasRowid(db, table))
{
    QSqlQuery query = db.run(m_hasRowid ? QStringLiteral("select rowid as rowid_, * from %1 where %2").arg(table, condition)
                                        : QStringLiteral("select * from %1 where %2").arg(table, condition),
                             values);
    while (query.next()) {
        QSqlRecord record = query.record();
        qint64 rowid = 0;
        if (m_hasRowid) {
            rowid = record.value(0).toLongLong();
            record.remove(0);
        }
        m_rows.append({rowid, record});
    }
}

EditableRecordset::EditableRecordset(DbConnection& db, const QString& table) : m_db(db), m_table(table) {}

void EditableRecordset::MoveNext()
{
    if (m_current < m_rows.size())
        ++m_current;
    m_changes.clear();
}

QVariant EditableRecordset::Field(const QString& name) const
{
    for (const auto& [changed, value] : m_changes) {
        if (changed.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    if (m_adding)
        return {};
    if (m_current >= m_rows.size())
        throw StoreError(QStringLiteral("没有当前记录：%1").arg(m_table));
    return fieldOf(m_rows[m_current].record, name, m_table);
}

void EditableRecordset::AddNew()
{
    m_adding = true;
    m_changes.clear();
}

void EditableRecordset::SetField(const QString& name, const QVariant& value)
{
    if (!m_adding && m_current >= m_rows.size())
        throw StoreError(QStringLiteral("没有当前记录：%1").arg(m_table));
    for (auto& change : m_changes) {
        if (change.first.compare(name, Qt::CaseInsensitive) == 0) {
            change.second = value;
            return;
        }
    }
    m_changes.append({name, value});
}

void EditableRecordset::Update()
{
    if (m_changes.isEmpty()) {
        m_adding = false;
        return;
    }
    QStringList names;
    QVariantList values;
    for (const auto& [name, value] : m_changes) {
        names << name;
        values << value;
    }
    if (m_adding) {
        QStringList marks;
        for (qsizetype i = 0; i < names.size(); ++i)
            marks << QStringLiteral("?");
        m_db.Execute(QStringLiteral("insert into %1(%2) values(%3)")
                         .arg(m_table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                     values);
        m_adding = false;
    } else {
        Row& row = m_rows[m_current];
        QStringList assignments;
        for (const QString& name : names)
            assignments << name + QStringLiteral("=?");
        if (m_hasRowid) {
            values << row.rowid;
            m_db.Execute(QStringLiteral("update %1 set %2 where rowid=?").arg(m_table, assignments.join(QLatin1Char(','))),
                         values);
        } else {
            values << m_conditionValues;
            m_db.Execute(QStringLiteral("update %1 set %2 where %3").arg(m_table, assignments.join(QLatin1Char(',')),
                                                                         m_condition),
                         values);
        }
        for (const auto& [name, value] : m_changes)
            row.record.setValue(name, value);
    }
    m_changes.clear();
}

} // namespace qelvane
