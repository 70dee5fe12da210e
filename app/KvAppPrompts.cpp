#include "KvAppPrompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

TKvAppPrompts TKvAppPrompts::Interactive()
{
    TKvAppPrompts P;
    P.AskSave = [](QWidget* Parent, const QStringList& Files) {
        QStringList Names;
        for (const QString& F : Files)
            Names << QFileInfo(F).fileName();
        const auto Answer = QMessageBox::question(
            Parent, QStringLiteral("kvdesigner"),
            QStringLiteral("Save changes to %1?").arg(Names.join(QStringLiteral(", "))),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        return Answer == QMessageBox::Save ? Save : Answer == QMessageBox::Discard ? Discard : Cancel;
    };
    P.ShowError = [](QWidget* Parent, const QString& Text) {
        QMessageBox::critical(Parent, QStringLiteral("kvdesigner"), Text);
    };
    P.ChooseProject = [](QWidget* Parent, const QString& Folder) {
        return QFileDialog::getOpenFileName(Parent, QStringLiteral("Open Project"), Folder,
                                            QStringLiteral("Projects (*.dpr);;All files (*)"));
    };
    P.ChooseForm = [](QWidget* Parent, const QString& Folder) {
        return QFileDialog::getOpenFileName(Parent, QStringLiteral("Open Form"), Folder,
                                            QStringLiteral("Forms (*.dfm *.pas);;All files (*)"));
    };
    return P;
}
