#pragma once

#include <QStringList>

class QListWidget;

// The list of the order windows (tab order, creation order): rows are "Name: Class", the
// component's name kept apart so that the window hands back names.
namespace KvOrderList {

void Fill(QListWidget* List, const QStringList& Names, const QStringList& Classes);
QStringList Names(const QListWidget* List);
// Moves the current row by Delta (-1 up, +1 down), keeping it current.
void MoveCurrent(QListWidget* List, int Delta);

} // namespace KvOrderList
