#pragma once

#include <QSqlQuery>
#include <QStringList>

// The rows a query gives, each as its values joined by '|': what a test compares with plain text.
QStringList sqlRows(QSqlQuery query);
