#pragma once

#include <QString>
#include <QVariantList>

class Database;

// Helpers for tests that look at the store directly.
namespace DatabaseFixture {

// Number of rows of `table`, or of the rows matching `where` with its values.
int count(const Database &db, const QString &table, const QString &where = QString(),
          const QVariantList &values = {});

// The whole content of the six tables, one line per row, for comparing stores.
QString dump(const Database &db);

// The file's bytes, for checking that a file was left untouched.
QByteArray fileBytes(const QString &path);

} // namespace DatabaseFixture
