// Planted: the store shows a colour.
#include <QtGui/QColor>
#include <QSqlQuery>
