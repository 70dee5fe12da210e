#include "KvOrderList.h"

#include <QListWidget>

namespace KvOrderList {

void Fill(QListWidget* List, const QStringList& Names, const QStringList& Classes)
{
    List->clear();
    for (qsizetype I = 0; I < Names.size(); ++I) {
        auto* Item = new QListWidgetItem(QStringLiteral("%1: %2").arg(Names[I], Classes.value(I)), List);
        Item->setData(Qt::UserRole, Names[I]);
    }
    List->setCurrentRow(0);
}

QStringList Names(const QListWidget* List)
{
    QStringList Result;
    for (int I = 0; I < List->count(); ++I)
        Result << List->item(I)->data(Qt::UserRole).toString();
    return Result;
}

void MoveCurrent(QListWidget* List, int Delta)
{
    const int Row = List->currentRow();
    const int To = Row + Delta;
    if (Row < 0 || To < 0 || To >= List->count())
        return;
    List->insertItem(To, List->takeItem(Row));
    List->setCurrentRow(To);
}

} // namespace KvOrderList
